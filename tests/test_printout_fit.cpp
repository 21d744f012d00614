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

}  // namespace

class TestPrintoutsFit : public test::FreshDatabase {
    Q_OBJECT
private slots:
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
