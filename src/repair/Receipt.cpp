// The deposit receipt: its text, its one-page layout and the 收据 command that previews it.
#include "repair/Receipt.h"

#include "common/Clock.h"
#include "common/Messages.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"

namespace korv::repair {

namespace {

using report::FontSpec;

// The layout gives line widths in screen pixels at 96 dpi.
constexpr double pxToMm(double px) { return px * 25.4 / 96.0; }

constexpr QPointF kHeaderOrigin(10, 10);
constexpr QPointF kBodyOrigin(10, 10 + 18.5);
constexpr double kBandWidth = 150;

const FontSpec kPlain{QStringLiteral("宋体"), 11.25, true};

// A box tall enough for one line of `font`, from `left` to `right` of its band.
QRectF lineBox(const QPointF &origin, double left, double top, double right, const FontSpec &font)
{
    return QRectF(origin.x() + left, origin.y() + top, right - left, report::pointsToMm(font.pointSize) * 1.5);
}

}  // namespace

QString receiptText(const QString &xm, const QString &cpmc, const QString &dj)
{
    return QString(14, QLatin1Char(' ')) + xm + QStringLiteral("交来的维修") + cpmc + QStringLiteral("的订金： ") + dj +
           QStringLiteral(" 元。");
}

bool hasDeposit(const QString &dj)
{
    return !(dj.isEmpty() || dj == QLatin1String("0") || dj == QLatin1String("0.00"));
}

std::unique_ptr<report::PageSource> buildReceipt(const QString &wxdh, const QString &jjy, const QString &xm,
                                                 const QString &cpmc, const QString &dj, const QDate &today)
{
    auto source = std::make_unique<report::PageSource>(QSizeF(170, 80));
    report::Page &page = source->addPage();
    const int left = Qt::AlignLeft | Qt::AlignTop;

    const QPointF &h = kHeaderOrigin;
    const FontSpec title{QStringLiteral("黑体"), 18, true};
    page.addText(lineBox(h, 53.7, 2.4, kBandWidth, title), QStringLiteral("收    据"), title, left);
    page.addLine(h + QPointF(43.1, 9.8), h + QPointF(43.1 + 48.2, 9.8), pxToMm(2));
    page.addText(lineBox(h, 105.8, 5.8, 121.7, kPlain), QStringLiteral("单 号："), kPlain, left);
    page.addText(lineBox(h, 121.7, 5.8, 121.7 + 25.9, kPlain), wxdh, kPlain, left);
    page.addText(lineBox(h, 44.2, 13.2, 44.2 + 46.8, kPlain), today.toString(QStringLiteral("yyyy-MM-dd")), kPlain,
                 Qt::AlignHCenter | Qt::AlignTop);

    const QPointF &b = kBodyOrigin;
    page.addRect(QRectF(b + QPointF(0.5, 0.5), QSizeF(148.7, 32.5)), pxToMm(3));
    // On the line of the body text's first line, so that the body's next lines pass under it.
    page.addText(lineBox(b, 4.5, 5.6, kBandWidth, kPlain), QStringLiteral("    今收到"), kPlain, left);
    const FontSpec body{QStringLiteral("楷体_GB2312"), 10.5, true, true};
    page.addText(QRectF(b + QPointF(4.2, 5.6), QSizeF(140.0, 15.3)), receiptText(xm, cpmc, dj), body,
                 left | Qt::TextWordWrap);
    page.addText(lineBox(b, 4.5, 24.9, 108.5, kPlain), QStringLiteral("单位：Tarnwick    "), kPlain, left);
    page.addText(lineBox(b, 108.5, 24.9, 126.5, kPlain), QStringLiteral("接单员："), kPlain, left);
    page.addText(lineBox(b, 126.5, 24.9, 126.5 + 18.5, kPlain), jjy, kPlain, left);
    page.addText(lineBox(b, 3.2, 35.5, kBandWidth, kPlain),
                 QStringLiteral("负责人") + QString(12, QLatin1Char(' ')) + QStringLiteral("会计") +
                     QString(13, QLatin1Char(' ')) + QStringLiteral("出纳") + QString(12, QLatin1Char(' ')) +
                     QStringLiteral("记帐") + QString(11, QLatin1Char(' ')),
                 kPlain, left);
    return source;
}

TmldyForm *showReceipt(Database &db, const QString &wxdh, QWidget *parent)
{
    const QString dj = db.firstValue(QStringLiteral("select dj from jjdb where wxdh = ?1"), {wxdh}).value_or(QString());
    if (!hasDeposit(dj)) {
        msg::info(QStringLiteral(" 当前待修记录没有预交订金，因此不能打印订金收据。 "));
        return nullptr;
    }
    Query order(db);
    order.setSql(QStringLiteral("select * from jjdb where wxdh=") + sqlQuote(wxdh));
    order.Open();
    auto pages = buildReceipt(order.asString(QStringLiteral("wxdh")), order.asString(QStringLiteral("jjy")),
                              order.asString(QStringLiteral("xm")), order.asString(QStringLiteral("cpmc")), dj,
                              Clock::now().date());

    // Read fresh each time: another window may have printed this order's receipt meanwhile.
    auto printCount = [&db, wxdh]() -> qint64 {
        const QString stored =
            db.firstValue(QStringLiteral("select dycs from jjdb where wxdh = ?1"), {wxdh}).value_or(QString());
        return stored.trimmed().isEmpty() ? 0 : stored.toLongLong();
    };
    // One guarded statement from the stored count: an order deleted meanwhile gets no row
    // made up for it, and the receipt is not printed.
    auto raiseCount = [&db, wxdh] {
        if (db.run(QStringLiteral("update jjdb set dycs = coalesce(dycs, 0) + 1 where wxdh = ?1"), {wxdh}) != 1)
            throw StaleRecordError();
    };

    TmldyForm *form = showPreview(std::move(pages), parent, pdfExportName(QStringLiteral("收据"), wxdh));
    form->setReceiptMode({printCount, raiseCount});
    return form;
}

}  // namespace korv::repair
