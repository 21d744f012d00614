// The repair order sheet: the one-page printout of a list's current repair order.
#include "repair/Urep.h"

#include "common/Messages.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/RepairRules.h"

namespace korv::repair {

namespace {

using report::FontSpec;

const FontSpec kText{QStringLiteral("宋体"), 9, false};
const FontSpec kBold{QStringLiteral("宋体"), 9, true};
const FontSpec kTitle{QStringLiteral("宋体"), 14, true};

constexpr double kLeft = 5, kRight = 215;     // inside the 5 mm margins
constexpr double kFrameTop = 12, kFrameBottom = 90;
constexpr double kHeavy = 0.79, kRule = 0.2;
constexpr double kInset = 0.5;  // keeps text off the rules

// Drawing order is label, then its value: a reader of the page finds a value right after its label.
class SheetPainter {
public:
    explicit SheetPainter(report::Page &page) : page_(page) {}

    void text(double x1, double y1, double x2, double y2, const QString &text, const FontSpec &font = kText,
              int alignment = Qt::AlignLeft | Qt::AlignVCenter)
    {
        page_.addText(QRectF(x1 + kInset, y1, x2 - x1 - 2 * kInset, y2 - y1), text, font, alignment);
    }
    void area(double x1, double y1, double x2, double y2, const QString &text)
    {
        this->text(x1, y1, x2, y2, text, kText, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
    }
    void hRule(double y, double x1 = kLeft, double x2 = kRight) { page_.addLine({x1, y}, {x2, y}, kRule); }
    void vRule(double x, double y1, double y2) { page_.addLine({x, y1}, {x, y2}, kRule); }

private:
    report::Page &page_;
};

QString applianceText(const QString &product, const QString &brand)
{
    const QString p = product.trimmed(), b = brand.trimmed();
    return p.isEmpty() || b.isEmpty() ? p + b : p + QLatin1Char(' ') + b;
}

}  // namespace

QStringList sheetNotices()
{
    return {QStringLiteral("1、因地址、电话不详或变更所产生延误等问题，责任由客户自负。"),
            QStringLiteral("2、从修复日起（以修好通知用户时间为准），过三个月仍无人领取的机器，我维修站将自行处理。"),
            QStringLiteral("3、经维修人员检修后，因维修价格有争议而不修取走者，需交该维修项目的30%检查费。"),
            QStringLiteral("4、经检查，属同一故障，从取机之日起，保修三个月，如出现其它故障照常收费。 "),
            QStringLiteral("（本用户取机联为取机凭证，请妥善保管，请勿丢失，解释权归本电器维修中心）")};
}

std::unique_ptr<report::PageSource> buildRepairSheet(const Query &orders)
{
    const auto col = [&orders](const char *name) { return orders.asString(QString::fromLatin1(name)); };
    const QString wxf = col("wxf"), jcf = col("jcf"), smf = col("smf"), ljf = col("ljf");
    const QString fees[] = {feeText(wxf), feeText(jcf), feeText(smf), feeText(ljf)};
    const QString total = numberText(feeTotal(wxf, jcf, smf, ljf));

    auto source = std::make_unique<report::PageSource>(QSizeF(220, 95));
    report::Page &page = source->addPage();
    SheetPainter s(page);

    s.text(kLeft, 5, kRight, kFrameTop, QStringLiteral("电器维修中心接机单"), kTitle, Qt::AlignCenter);
    s.text(165, 5, 176, kFrameTop, QStringLiteral("单号："));
    s.text(176, 5, kRight, kFrameTop, col("wxdh"));

    page.addRect(QRectF(kLeft, kFrameTop, kRight - kLeft, kFrameBottom - kFrameTop), kHeavy);

    // Row 1, with 接机员 spanning rows 1 and 2 at the right.
    s.text(5, 12, 15, 17, QStringLiteral("姓名"));
    s.text(15, 12, 60, 17, col("xm"));
    s.vRule(60, 12, 17);
    s.text(60, 12, 70, 17, QStringLiteral("地址"));
    s.text(70, 12, 165, 17, col("dz"));
    s.vRule(165, 12, 22);
    s.text(165, 12, 180, 22, QStringLiteral("接机员："));
    s.text(180, 12, 215, 22, col("jjy"));
    s.hRule(17, kLeft, 165);

    // Row 2.
    s.text(5, 17, 15, 22, QStringLiteral("名称"));
    // The product as well as its brand, so the customer's copy says which appliance was left.
    s.text(15, 17, 50, 22, applianceText(col("cpmc"), col("lb")));
    s.vRule(50, 17, 22);
    s.text(50, 17, 60, 22, QStringLiteral("型号"));
    s.text(60, 17, 95, 22, col("xh"));
    s.vRule(95, 17, 22);
    s.text(95, 17, 105, 22, QStringLiteral("电话"));
    s.text(105, 17, 135, 22, col("dh"));
    s.vRule(135, 17, 22);
    s.text(135, 17, 147, 22, QStringLiteral("邮  编"));
    s.text(147, 17, 165, 22, col("yb"));
    s.hRule(22);

    // Row 3.
    s.text(5, 22, 20, 27, QStringLiteral("机身号码"));
    s.text(20, 22, 75, 27, col("jshm"));
    s.vRule(75, 22, 27);
    s.text(75, 22, 90, 27, QStringLiteral("购买日期"));
    s.text(90, 22, 125, 27, col("gmrq"));
    s.vRule(125, 22, 27);
    s.text(125, 22, 140, 27, QStringLiteral("购买商店"));
    s.text(140, 22, 215, 27, col("gmsd"));
    s.hRule(27);

    // Rows 4 and 5: dates at the left, accessories across both rows, earlier and later repairs at the right.
    s.text(5, 27, 20, 33, QStringLiteral("接机日期"));
    s.text(20, 27, 55, 33, col("jjrq"));
    s.hRule(33, kLeft, 55);
    s.text(5, 33, 20, 39, QStringLiteral("修复日期"));
    s.text(20, 33, 55, 39, col("xfrq"));
    s.vRule(55, 27, 39);
    s.text(55, 27, 68, 33, QStringLiteral("附件："));
    s.area(68, 27.5, 112, 39, col("fj"));
    s.vRule(112, 27, 39);
    s.text(112, 27, 152, 33, QStringLiteral("上次维修日期（维修员）："));
    s.text(152, 27, 215, 33, col("scwxrq") + col("scwxy"));
    s.hRule(33, 112, kRight);
    s.text(112, 33, 129, 39, QStringLiteral("接修时间："));
    s.text(129, 33, 165, 39, col("jxsj"));
    s.vRule(165, 33, 39);
    s.text(165, 33, 182, 39, QStringLiteral("签收时间："));
    s.text(182, 33, 215, 39, col("qssj"));
    s.hRule(39);

    // Row 6.
    s.text(5, 39, 22, 44, QStringLiteral("是否保修期"));
    s.text(22, 39, 38, 44, sheetWarrantyText(col("sfbx")));
    s.vRule(38, 39, 44);
    s.text(38, 39, 49, 44, QStringLiteral("预算："));
    s.text(49, 39, 66, 44, col("ys"));
    s.text(66, 39, 87, 44, QStringLiteral("元内同意修理"));
    s.vRule(87, 39, 44);
    s.text(87, 39, 104, 44, QStringLiteral("维修人员："));
    s.text(104, 39, 148, 44, col("wxry"));
    s.vRule(148, 39, 44);
    s.text(148, 39, 165, 44, QStringLiteral("前台签收："));
    s.text(165, 39, 215, 44, QString());
    s.hRule(44);

    // Block 7: fault and repair, return visit, the customer's confirmation, fees.
    s.text(5, 44, 65, 48.5, QStringLiteral("故障原因"));
    s.area(5, 48.5, 65, 57, col("gjyy"));
    s.hRule(57, kLeft, 65);
    s.text(5, 57, 22, 64, QStringLiteral("修理情况："));
    s.area(22, 58.5, 65, 64, col("xlqk"));
    s.vRule(65, 44, 64);
    s.text(65, 44, 82, 48.5, QStringLiteral("回访情况："));
    s.area(82, 44.8, 115, 56, col("hfqk"));
    s.hRule(56, 65, 115);
    s.text(65, 56, 82, 60, QStringLiteral("回访时间："));
    s.text(82, 56, 115, 60, col("hfsj"));
    s.hRule(60, 65, 115);
    s.text(65, 60, 79, 64, QStringLiteral("回访人："));
    s.text(79, 60, 115, 64, col("hfr"));
    s.vRule(115, 44, 64);
    s.text(115, 44, 150, 50, QStringLiteral("请用户确认本单后签字"));
    s.text(115, 50, 150, 57, QStringLiteral("签字："));
    s.text(125, 57, 133, 64, QStringLiteral("年"), kText, Qt::AlignRight | Qt::AlignVCenter);
    s.text(133, 57, 141, 64, QStringLiteral("月"), kText, Qt::AlignRight | Qt::AlignVCenter);
    s.text(141, 57, 150, 64, QStringLiteral("日"), kText, Qt::AlignRight | Qt::AlignVCenter);
    s.vRule(150, 44, 64);
    const double feeRow = 20.0 / 3;
    s.text(150, 44, 164, 44 + feeRow, QStringLiteral("维修费："));
    s.text(164, 44, 182, 44 + feeRow, fees[0]);
    s.text(182, 44, 196, 44 + feeRow, QStringLiteral("检查费："));
    s.text(196, 44, 215, 44 + feeRow, fees[1]);
    s.hRule(44 + feeRow, 150, kRight);
    s.text(150, 44 + feeRow, 164, 44 + 2 * feeRow, QStringLiteral("上门费："));
    s.text(164, 44 + feeRow, 182, 44 + 2 * feeRow, fees[2]);
    s.text(182, 44 + feeRow, 196, 44 + 2 * feeRow, QStringLiteral("零件费："));
    s.text(196, 44 + feeRow, 215, 44 + 2 * feeRow, fees[3]);
    s.hRule(44 + 2 * feeRow, 150, kRight);
    s.text(150, 44 + 2 * feeRow, 168, 64, QStringLiteral("费用合计："));
    s.text(168, 44 + 2 * feeRow, 215, 64, total);
    s.hRule(64);

    // Bottom: the notices the customer agrees to, remarks and the customer's signature.
    const double noticeLine = 26.0 / 6;
    s.text(5, 64, 155, 64 + noticeLine, QStringLiteral("提请用户注意事项："), kBold);
    const QStringList notices = sheetNotices();
    for (int i = 0; i < notices.size(); ++i)
        s.text(5, 64 + (i + 1) * noticeLine, 155, 64 + (i + 2) * noticeLine, notices[i]);
    s.vRule(155, 64, kFrameBottom);
    s.text(155, 64, 215, 68.5, QStringLiteral("备注："));
    s.area(155, 68.5, 215, 80.5, col("bz"));
    s.text(155, 80.5, 215, 85, QStringLiteral("用户领机签收："));
    s.text(170, 85, 182, 90, QStringLiteral("年"), kText, Qt::AlignRight | Qt::AlignVCenter);
    s.text(182, 85, 196, 90, QStringLiteral("月"), kText, Qt::AlignRight | Qt::AlignVCenter);
    s.text(196, 85, 210, 90, QStringLiteral("日"), kText, Qt::AlignRight | Qt::AlignVCenter);
    return source;
}

TmldyForm *showRepairSheet(const Query &orders, QWidget *parent)
{
    if (!orders.isOpen() || orders.isEmpty() || orders.RecNo() < 0)
        return nullptr;
    auto *form = new TmldyForm(parent);
    form->setExportName(pdfExportName(QStringLiteral("接机单"), orders.asString(QStringLiteral("wxdh"))));
    form->show();
    form->setPageNavigationVisible(false);  // the sheet has one page
    try {
        form->setPageSource(buildRepairSheet(orders));
    } catch (const DbError &e) {
        msg::error(e.text());
    }
    return form;
}

}  // namespace korv::repair
