// Every printout with long Chinese texts: each text inside its box, no text running into
// another, nothing cut through its characters.
#include "data/Database.h"
#include "data/Query.h"
#include "masterdata/Ukhxx.h"
#include "query_print/Report.h"
#include "query_print/TextFit.h"
#include "repair/BusinessSheet.h"
#include "repair/Receipt.h"
#include "repair/Urep.h"
#include "support/Orders.h"
#include "support/TestSupport.h"

#include <QTest>
#include <QTextBoundaryFinder>

using namespace korv;
using report::Page;

namespace {

const QString kLong = QString("浙江省杭州市西湖区文三路电子市场三楼东侧").repeated(10).left(200);

// Orders whose every text column is 200 characters long.
void insertLongOrders(Database &db, int count)
{
    for (int i = 1; i <= count; ++i)
        test::insertOrder(db, {{"wxdh", QString("0100%1").arg(i, 4, 10, QChar('0'))}, {"wxzt", "2"},
                               {"cpmc", "电视机"}, {"lb", "长虹"}, {"xm", kLong}, {"dz", kLong}, {"gjyy", kLong},
                               {"fj", kLong}, {"bz", kLong}, {"xlqk", kLong}, {"hfqk", kLong}, {"gmsd", kLong},
                               {"jshm", kLong}, {"wxry", kLong}, {"jjy", kLong}, {"sfbx", "1"}, {"wxf", "150.5"},
                               {"jjrq", "2026-03-04 08:00:00"}});
}

// What is wrong with a page, or nothing.
QString misfits(const Page &page)
{
    QStringList wrong;
    QList<QPair<QRectF, QString>> printed;
    for (const report::TextItem &t : page.texts) {
        report::FontSpec font = t.font;
        font.pointSize = t.printedPoints;
        const QString name = t.text.left(12);
        if (t.lines.size() > 1 && t.linesHeightMm() > t.boxMm.height() + 1e-6)
            wrong << name + ": lines taller than the box";
        for (const QString &line : t.lines)
            if (report::textWidthMm(line, font) > t.boxMm.width())
                wrong << name + ": a line wider than the box";
        if (!QRectF(QPointF(0, 0), page.paperMm).contains(t.boxMm))
            wrong << name + ": box off the paper";
        const QList<QRectF> lines = t.printedLinesMm();
        for (const QRectF &r : lines)
            for (const auto &[other, otherName] : printed)
                if (r.intersected(other).width() > 0.05 && r.intersected(other).height() > 0.05)
                    wrong << name + ": runs into " + otherName +
                                 QString(" (%1,%2 %3x%4 / %5,%6 %7x%8)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
                                     .arg(other.x()).arg(other.y()).arg(other.width()).arg(other.height());
        for (const QRectF &r : lines)
            printed.append({r, name});
    }
    return wrong.join("\n");
}

// The fit as first written, measuring every start of a line by itself: what is printed must not
// change however the fit is made faster.
int referenceBreak(const QString &text, const report::FontSpec &font, double widthMm)
{
    if (report::textWidthMm(text, font) <= widthMm)
        return int(text.size());
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, text);
    const int first = int(chars.toNextBoundary());
    int fits = 0;
    for (int at = first; at > 0 && report::textWidthMm(text.left(at), font) <= widthMm; at = int(chars.toNextBoundary()))
        fits = at;
    if (fits == 0)
        return first;
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    lines.setPosition(fits);
    const int word = lines.isAtBoundary() ? fits : int(lines.toPreviousBoundary());
    return word > 0 ? word : fits;
}

// Right or centre aligned: no leading blanks are kept apart.
report::FittedText referenceFit(const QString &text, report::FontSpec font, const QSizeF &boxMm)
{
    const double width = boxMm.width() * 0.97;
    for (double size = font.pointSize;; size = std::max(report::kFloorPoints, size - 0.5)) {
        font.pointSize = size;
        const double pitch = report::pointsToMm(size) * report::kLineEm;
        const int room = 1 + std::max(0, int((boxMm.height() - pitch + 1e-6) / pitch));
        report::FittedText fitted{{}, size};
        for (const QString &paragraph : text.split('\n'))
            for (QString rest = paragraph; fitted.lines.size() <= room;) {
                const int n = referenceBreak(rest, font, width);
                fitted.lines << rest.left(n);
                if ((rest = rest.mid(n)).isEmpty())
                    break;
            }
        if (fitted.lines.size() <= room)
            return fitted;
        if (size <= report::kFloorPoints) {
            fitted.lines = fitted.lines.mid(0, room);
            QString &last = fitted.lines.last();
            while (!last.isEmpty() && report::textWidthMm(last + "…", font) > width)
                last.chop(1);
            last += "…";
            fitted.shortened = true;
            return fitted;
        }
    }
}

}  // namespace

class TestPrintoutsFit : public test::FreshDatabase {
    Q_OBJECT
private slots:
    void aTextIsPrintedAsTheStraightforwardFitPrintsIt_data()
    {
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<int>("length");
        QTest::addRow("mixed, very long") << QStringList{"冰箱不制冷，压缩机有异响；", "Haier BCD-215KCM ", "compressor replaced, "} << 3000;
        QTest::addRow("mixed") << QStringList{"夜间噪声很大，", "relay 2024-06-30, ", "AVAVAV fi ffl WAVE. "} << 400;
        QTest::addRow("Chinese and its punctuation") << QStringList{"浙江省杭州市西湖区", "“引号”（括号）《书名》、，。！？"} << 400;
        QTest::addRow("Latin words") << QStringList{"the quick brown fox jumps over the lazy dog. "} << 400;
        QTest::addRow("one long word") << QStringList{"abcdefghij"} << 300;
        QTest::addRow("paragraphs and blank lines") << QStringList{"line one\n", "第二行\n\n", "   three\r\n"} << 300;
        QTest::addRow("blanks and tabs") << QStringList{"  ", "a", "   ", "bb\t"} << 300;
        QTest::addRow("emoji and marks") << QStringList{"😀👍🏽🇨🇳", "e\u0301", "中\u00ad文", "👨\u200d👩\u200d👧 "} << 300;
        QTest::addRow("right to left") << QStringList{"שלום עולם ", "مرحبا ", "abc "} << 300;
    }

    void aTextIsPrintedAsTheStraightforwardFitPrintsIt()
    {
        QFETCH(QStringList, pieces);
        QFETCH(int, length);
        QString text;
        for (int i = 0; text.size() < length; ++i)
            text += pieces[i % pieces.size()];
        text.truncate(length);
        for (const report::FontSpec &font : {report::FontSpec{"宋体", 9}, report::FontSpec{"黑体", 11.25, true, true}}) {
            // Boxes of a few sizes, and some just wider and just narrower than a start of the text.
            QList<QSizeF> boxes{{3, 4}, {30, 8}, {57.5, 15.3}, {140, 15.3}, {45, 30}};
            for (const int n : {5, 17, 40})
                for (const double by : {-1e-6, 1e-6})
                    boxes << QSizeF(report::textWidthMm(text.left(n), font) / 0.97 + by, 9);
            for (const QSizeF &box : boxes) {
                const report::FittedText fitted = report::fitText(text, font, box, false);
                const report::FittedText expected = referenceFit(text, font, box);
                QCOMPARE(fitted.lines, expected.lines);
                QCOMPARE(fitted.pointSize, expected.pointSize);
                QCOMPARE(fitted.shortened, expected.shortened);
            }
        }
    }

    void theRepairOrderSheetKeepsLongTextsInTheirCells()
    {
        insertLongOrders(*db, 1);
        Query q(*db);
        q.setSql("select * from jjdb");
        q.Open();
        const auto sheet = repair::buildRepairSheet(q);
        const Page &page = sheet->page(1);
        QVERIFY2(misfits(page).isEmpty(), qPrintable(misfits(page)));
        // The customer's copy says which appliance was left.
        QVERIFY(page.allTexts().contains("电视机 长虹"));
        int shortened = 0;
        for (const report::TextItem &t : page.texts)
            shortened += t.shortened;
        QVERIFY(shortened > 0);  // 200 characters do not fit a cell: the end is marked "…"
    }

    void theReceiptKeepsItsBodyClearOfItsLabel()
    {
        const auto receipt = repair::buildReceipt("01000001", "王工", kLong, kLong, "50.00", QDate(2026, 3, 5));
        QVERIFY2(misfits(receipt->page(1)).isEmpty(), qPrintable(misfits(receipt->page(1))));
        const auto plain = repair::buildReceipt("01000001", "王工", "张三", "电视机", "50.00", QDate(2026, 3, 5));
        QVERIFY2(misfits(plain->page(1)).isEmpty(), qPrintable(misfits(plain->page(1))));
    }

    void theBusinessSheetAndListPrintoutsKeepLongTextsInTheirCells()
    {
        insertLongOrders(*db, 3);
        Query orders(*db);
        orders.setSql("select * from jjdb where wxzt=2 order by wxdh");
        orders.Open();
        const auto sheet = repair::buildBusinessSheet(orders);
        for (int p = 1; p <= sheet->pageCount(); ++p)
            QVERIFY2(misfits(sheet->page(p)).isEmpty(), qPrintable(misfits(sheet->page(p))));

        db->run("insert into khjbxx(bh, khmc, lxdh, dz) values ('000001', ?1, '0571-88880000-1234', ?1)", {kLong});
        Query customers(*db);
        customers.setSql("select * from khjbxx order by bh");
        customers.Open();
        const auto list = report::buildListReport(contactTable("客户", "khjbxx", "khmc").printout, customers);
        QVERIFY2(misfits(list->page(1)).isEmpty(), qPrintable(misfits(list->page(1))));
    }
};

QTEST_MAIN(TestPrintoutsFit)
#include "test_printout_fit.moc"
