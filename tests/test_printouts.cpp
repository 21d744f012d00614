// The deposit receipt and the repair order sheet: their pages, and how their previews behave.
#include "common/Printers.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/Receipt.h"
#include "repair/Urep.h"
#include "support/Previews.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace korv;
using report::Page;
using test::openPreviews;
using test::valueAfter;
using report::TextItem;

namespace {

const QString kNoDeposit = " 当前待修记录没有预交订金，因此不能打印订金收据。 ";
const QString kSignatureLine = "负责人            会计             出纳            记帐           ";

// A fresh database holding the given repair orders, each a map of column to stored text.
struct Orders {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};

    void add(const QMap<QString, QString> &columns)
    {
        QStringList values;
        for (const QString &v : columns)
            values << sqlQuote(v);
        db.exec("insert into jjdb (" + columns.keys().join(",") + ") values (" + values.join(",") + ")");
    }
    QString printCount(const QString &wxdh) { return db.firstValue("select dycs from jjdb where wxdh = ?1", {wxdh}).value_or("?"); }
};

const TextItem *findText(const Page &page, const QString &text)
{
    for (const TextItem &t : page.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

bool near(double a, double b) { return qAbs(a - b) < 0.01; }

}  // namespace

class TestDepositReceipt : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        setPrinterChoice({});
        for (TmldyForm *form : openPreviews())
            delete form;
    }

    void receiptTextLeavesFourteenBlanksForItsLabel()
    {
        QCOMPARE(repair::receiptText("张三", "彩电", "50.00"),
                 QString("              张三交来的维修彩电的订金： 50.00 元。"));
    }

    void noDepositShowsTheMessageAndOpensNoPreview_data()
    {
        QTest::addColumn<QString>("dj");
        QTest::newRow("empty") << "";
        QTest::newRow("saved empty as 0") << "0";
        QTest::newRow("0.00") << "0.00";
    }
    void noDepositShowsTheMessageAndOpensNoPreview()
    {
        QFETCH(QString, dj);
        QVERIFY(!repair::hasDeposit(dj));
        Orders orders;
        orders.add({{"wxdh", "01000001"}, {"xm", "张三"}, {"cpmc", "彩电"}, {"dj", dj}});
        test::ScriptedMessages shown;
        QCOMPARE(repair::showReceipt(orders.db, "01000001"), nullptr);
        QCOMPARE(shown.texts(), QStringList{kNoDeposit});
        QCOMPARE(shown.shown.first().kind, MessageKind::Information);
        QVERIFY(openPreviews().isEmpty());
    }

    void receiptPlacesEveryTextInItsBand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("topLeft");
        QTest::addColumn<double>("width");  // 0: not fixed by the layout
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("underline");
        const QString song = "宋体";
        QTest::newRow("title") << "收    据" << QPointF(63.7, 12.4) << 0.0 << "黑体" << 18.0 << false;
        QTest::newRow("number label") << "单 号：" << QPointF(115.8, 15.8) << 0.0 << song << 11.25 << false;
        QTest::newRow("number") << "01000007" << QPointF(131.7, 15.8) << 25.9 << song << 11.25 << false;
        QTest::newRow("date") << "2026-03-05" << QPointF(54.2, 23.2) << 46.8 << song << 11.25 << false;
        QTest::newRow("receipt label") << "    今收到" << QPointF(14.5, 34.1) << 0.0 << song << 11.25 << false;
        QTest::newRow("receipt text") << "              李四交来的维修冰箱的订金： 50.00 元。" << QPointF(14.2, 34.1)
                                      << 140.0 << "楷体_GB2312" << 10.5 << true;
        QTest::newRow("issuer") << "单位：Tarnwick    " << QPointF(14.5, 53.4) << 0.0 << song << 11.25 << false;
        QTest::newRow("clerk label") << "接单员：" << QPointF(118.5, 53.4) << 0.0 << song << 11.25 << false;
        QTest::newRow("clerk") << "王五" << QPointF(136.5, 53.4) << 18.5 << song << 11.25 << false;
        QTest::newRow("signatures") << kSignatureLine << QPointF(13.2, 64.0) << 0.0 << song << 11.25 << false;
    }
    void receiptPlacesEveryTextInItsBand()
    {
        QFETCH(QString, text);
        QFETCH(QPointF, topLeft);
        QFETCH(double, width);
        QFETCH(QString, family);
        QFETCH(double, points);
        QFETCH(bool, underline);
        auto pages = repair::buildReceipt("01000007", "王五", "李四", "冰箱", "50.00", QDate(2026, 3, 5));
        const TextItem *item = findText(pages->page(1), text);
        QVERIFY2(item, qPrintable(text));
        QVERIFY2(near(item->boxMm.left(), topLeft.x()) && near(item->boxMm.top(), topLeft.y()),
                 qPrintable(QString("at %1, %2").arg(item->boxMm.left()).arg(item->boxMm.top())));
        if (width > 0)
            QVERIFY(near(item->boxMm.width(), width));
        QCOMPARE(item->font.family, family);
        QCOMPARE(item->font.pointSize, points);
        QVERIFY(item->font.bold);
        QCOMPARE(item->font.underline, underline);
        QVERIFY(QRectF(0, 0, 170, 80).contains(item->boxMm));
        if (text == "2026-03-05")
            QVERIFY(item->alignment & Qt::AlignHCenter);
    }

    void receiptIsOnePageWithTheTitleRuleAndTheBodyFrame()
    {
        auto pages = repair::buildReceipt("01000007", "王五", "李四", "冰箱", "50.00", QDate(2026, 3, 5));
        QCOMPARE(pages->pageCount(), 1);
        QCOMPARE(pages->paperMm(), QSizeF(170, 80));
        const Page &page = pages->page(1);
        QCOMPARE(page.texts.size(), 10);
        QCOMPARE(page.lines.size(), 1);
        QVERIFY(near(page.lines[0].fromMm.x(), 53.1) && near(page.lines[0].fromMm.y(), 19.8));
        QVERIFY(near(page.lines[0].toMm.x(), 101.3) && near(page.lines[0].toMm.y(), 19.8));
        QVERIFY(near(page.lines[0].penWidthMm, 0.53));
        QCOMPARE(page.rects.size(), 1);
        const QRectF frame = page.rects[0].rectMm;
        QVERIFY(near(frame.left(), 10.5) && near(frame.top(), 29.0));
        QVERIFY(near(frame.width(), 148.7) && near(frame.height(), 32.5));
        QVERIFY(near(page.rects[0].penWidthMm, 0.79));
    }

    // The count lives on the order the preview was opened for, read fresh before each print.
    void printingCountsOnTheShownOrderAndAsksFromTheSecondPrint()
    {
        QTemporaryDir out;
        const QString printed = out.filePath("printer.pdf");
        setPrinterChoice({PrinterChoice::Mode::PdfFile, printed});
        test::FixedClock clock(test::at(2026, 3, 5, 9, 7, 3));
        Orders orders;
        orders.add({{"wxdh", "01000001"}, {"xm", "张三"}, {"cpmc", "彩电"}, {"dj", "50.00"}, {"jjy", "王五"}});
        orders.add({{"wxdh", "01000002"}, {"xm", "李四"}, {"cpmc", "冰箱"}, {"dj", "80.00"}});
        test::ScriptedMessages shown;
        QPointer<TmldyForm> form = repair::showReceipt(orders.db, "01000001");
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QVERIFY(form->receiptMode());
        const QStringList texts = form->pageSource()->page(1).allTexts();
        QVERIFY(texts.contains("01000001"));
        QVERIFY(texts.contains("2026-03-05"));
        QVERIFY(texts.contains("王五"));
        QVERIFY(texts.contains("              张三交来的维修彩电的订金： 50.00 元。"));
        QVERIFY(form->findChild<QToolButton *>("Btn1")->isVisible());

        form->Tbtn8Click();
        QVERIFY(shown.shown.isEmpty());
        QVERIFY(QFile::exists(printed));
        QCOMPARE(orders.printCount("01000001"), QString("1"));

        QFile::remove(printed);
        shown.answers = {false};
        form->Tbtn8Click();
        QCOMPARE(shown.texts(), QStringList{"当前订金收据已打印了 1次，继续打印吗？"});
        QVERIFY(!QFile::exists(printed));
        QCOMPARE(orders.printCount("01000001"), QString("1"));

        shown.clear();
        shown.answers = {true};
        form->Tbtn8Click();
        QCOMPARE(shown.texts(), QStringList{"当前订金收据已打印了 1次，继续打印吗？"});
        QVERIFY(QFile::exists(printed));
        QCOMPARE(orders.printCount("01000001"), QString("2"));
        QCOMPARE(orders.printCount("01000002"), QString());

        // A count raised elsewhere meanwhile is the one asked about.
        orders.db.exec("update jjdb set dycs = 7 where wxdh = '01000001'");
        shown.clear();
        shown.answers = {true};
        form->Tbtn8Click();
        QCOMPARE(shown.texts(), QStringList{"当前订金收据已打印了 7次，继续打印吗？"});
        QCOMPARE(orders.printCount("01000001"), QString("8"));
        delete form;
    }

    void withoutAPrinterTheCountStays()
    {
        setPrinterChoice({PrinterChoice::Mode::NoPrinter, {}});
        Orders orders;
        orders.add({{"wxdh", "01000001"}, {"xm", "张三"}, {"cpmc", "彩电"}, {"dj", "50.00"}});
        test::ScriptedMessages shown;
        QPointer<TmldyForm> form = repair::showReceipt(orders.db, "01000001");
        QVERIFY(form);
        form->Tbtn8Click();
        QCOMPARE(shown.texts(), QStringList{" 没有安装打印机或打印机出现异常。"});
        QCOMPARE(orders.printCount("01000001"), QString());
        QVERIFY(form->isVisible());
        delete form;
    }
};

// A pending order and the columns later stations fill.
class TestRepairSheet : public QObject {
    Q_OBJECT

    static QMap<QString, QString> pendingOrder()
    {
        return {{"wxdh", "01000009"}, {"wxzt", "0"},      {"xm", "张三"},           {"dz", "杭州市某路1号"},
                {"jjy", "王五"},      {"lb", "彩电"},     {"xh", "TX-29"},          {"dh", "13800000001"},
                {"yb", "310000"},     {"jshm", "SN123"},  {"gmrq", "2004-06-01 00:00:00"}, {"gmsd", "百货商店"},
                {"jjrq", "2005-03-01 10:20:30"}, {"sfbx", "1"}, {"ys", "200"},   {"fj", "遥控器"},
                {"gjyy", "无图像"},   {"wxf", "80.00"},   {"smf", "20.00"},         {"bz", "加急"}};
    }

    // The sheet of a list holding `order` alone.
    static Page sheetOf(const QMap<QString, QString> &order)
    {
        Orders orders;
        orders.add(order);
        Query list(orders.db);
        list.setSql("select * from jjdb");
        list.Open();
        return repair::buildRepairSheet(list)->page(1);
    }

    static QMap<QString, QString> repairedOrder()
    {
        auto order = pendingOrder();
        order.insert({{"wxzt", "2"}, {"scwxrq", "2004-12-01 00:00:00"}, {"scwxy", "赵六"}, {"wxry", "钱七"},
                      {"jxsj", "2005-03-02 08:00:00"}, {"qssj", "2005-03-03 17:00:00"}, {"xfrq", "2005-03-03"},
                      {"xlqk", "换高压包"}, {"hfqk", "满意"}, {"hfsj", "2005-04-01 00:00:00"}, {"hfr", "孙八"},
                      {"jcf", "1250.50"}, {"ljf", "3000.00"}});
        return order;
    }

private slots:
    void cleanup()
    {
        for (TmldyForm *form : openPreviews())
            delete form;
    }

    void pendingOrderShowsIntakeValuesAndLeavesLaterStationsEmpty()
    {
        Orders orders;
        orders.add(pendingOrder());
        Query list(orders.db);
        list.setSql("select * from jjdb");
        list.Open();
        auto pages = repair::buildRepairSheet(list);
        QCOMPARE(pages->pageCount(), 1);
        QCOMPARE(pages->paperMm(), QSizeF(220, 95));
        const Page &page = pages->page(1);
        const QList<std::pair<QString, QString>> cells = {
            {"单号：", "01000009"}, {"姓名", "张三"}, {"地址", "杭州市某路1号"}, {"接机员：", "王五"},
            {"名称", "彩电"}, {"型号", "TX-29"}, {"电话", "13800000001"}, {"邮  编", "310000"},
            {"机身号码", "SN123"}, {"购买日期", "2004-06-01 00:00:00"}, {"购买商店", "百货商店"},
            {"接机日期", "2005-03-01 10:20:30"}, {"修复日期", ""}, {"附件：", "遥控器"},
            {"上次维修日期（维修员）：", ""}, {"接修时间：", ""}, {"签收时间：", ""}, {"是否保修期", "保修期外"},
            {"预算：", "200"}, {"维修人员：", ""}, {"前台签收：", ""}, {"故障原因", "无图像"}, {"修理情况：", ""},
            {"回访情况：", ""}, {"回访时间：", ""}, {"回访人：", ""}, {"维修费：", "80"}, {"检查费：", "0"},
            {"上门费：", "20"}, {"零件费：", "0"}, {"费用合计：", "100"}, {"备注：", "加急"}};
        for (const auto &[label, value] : cells)
            QVERIFY2(valueAfter(page, label) == value, qPrintable(label + " shows " + valueAfter(page, label)));
        QCOMPARE(valueAfter(page, "200"), QString("元内同意修理"));
    }

    void feesPrintInShortestFormWithTheirTotal_data()
    {
        QTest::addColumn<QStringList>("fees");  // wxf, jcf, smf, ljf as stored
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("total");
        QTest::newRow("whole amounts") << QStringList{"100.00", "20.00", "0.00", "30.00"}
                                       << QStringList{"100", "20", "0", "30"} << "150";
        QTest::newRow("cents and empties") << QStringList{"12.50", "", "0", "0.25"}
                                           << QStringList{"12.5", "0", "0", "0.25"} << "12.75";
    }
    void feesPrintInShortestFormWithTheirTotal()
    {
        QFETCH(QStringList, fees);
        QFETCH(QStringList, shown);
        QFETCH(QString, total);
        auto order = pendingOrder();
        const QStringList columns{"wxf", "jcf", "smf", "ljf"};
        for (int i = 0; i < 4; ++i)
            order[columns[i]] = fees[i];
        const Page page = sheetOf(order);
        const QStringList labels{"维修费：", "检查费：", "上门费：", "零件费："};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(valueAfter(page, labels[i]), shown[i]);
        QCOMPARE(valueAfter(page, "费用合计："), total);
    }

    void warrantyShowsInWarrantyOnlyForZero_data()
    {
        QTest::addColumn<QString>("sfbx");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << "0" << "保修期内";
        QTest::newRow("1") << "1" << "保修期外";
        QTest::newRow("empty") << "" << "保修期外";
    }
    void warrantyShowsInWarrantyOnlyForZero()
    {
        QFETCH(QString, sfbx);
        QFETCH(QString, shown);
        auto order = pendingOrder();
        order["sfbx"] = sfbx;
        QCOMPARE(valueAfter(sheetOf(order), "是否保修期"), shown);
    }

    void repairedOrderFillsEveryStationsCellsAndThePreviousRepairRunsTogether()
    {
        const Page page = sheetOf(repairedOrder());
        QCOMPARE(valueAfter(page, "上次维修日期（维修员）："), QString("2004-12-01 00:00:00赵六"));
        QCOMPARE(valueAfter(page, "维修人员："), QString("钱七"));
        QCOMPARE(valueAfter(page, "接修时间："), QString("2005-03-02 08:00:00"));
        QCOMPARE(valueAfter(page, "签收时间："), QString("2005-03-03 17:00:00"));
        QCOMPARE(valueAfter(page, "修复日期"), QString("2005-03-03"));
        QCOMPARE(valueAfter(page, "修理情况："), QString("换高压包"));
        QCOMPARE(valueAfter(page, "回访情况："), QString("满意"));
        QCOMPARE(valueAfter(page, "回访时间："), QString("2005-04-01 00:00:00"));
        QCOMPARE(valueAfter(page, "回访人："), QString("孙八"));
        QCOMPARE(valueAfter(page, "前台签收："), QString());
    }

    void sheetCarriesTitleNoticesAndSignaturesWithinThePage()
    {
        const Page page = sheetOf(pendingOrder());
        const TextItem *title = findText(page, "电器维修中心接机单");
        QVERIFY(title);
        QCOMPARE(title->font.pointSize, 14.0);
        QVERIFY(title->font.bold);
        QVERIFY(title->alignment & Qt::AlignHCenter);
        QVERIFY(near(title->boxMm.center().x(), 110));
        const TextItem *heading = findText(page, "提请用户注意事项：");
        QVERIFY(heading);
        QVERIFY(heading->font.bold);
        QCOMPARE(heading->font.pointSize, 9.0);
        const QStringList texts = page.allTexts();
        const int first = int(texts.indexOf("提请用户注意事项："));
        QCOMPARE(texts.mid(first + 1, 5),
                 QStringList({"1、因地址、电话不详或变更所产生延误等问题，责任由客户自负。",
                              "2、从修复日起（以修好通知用户时间为准），过三个月仍无人领取的机器，我维修站将自行处理。",
                              "3、经维修人员检修后，因维修价格有争议而不修取走者，需交该维修项目的30%检查费。",
                              "4、经检查，属同一故障，从取机之日起，保修三个月，如出现其它故障照常收费。 ",
                              "（本用户取机联为取机凭证，请妥善保管，请勿丢失，解释权归本电器维修中心）"}));
        for (const QString &fixed : QStringList{"请用户确认本单后签字", "签字：", "用户领机签收："})
            QVERIFY2(texts.contains(fixed), qPrintable(fixed));
        QCOMPARE(texts.count("年"), 2);
        const QRectF inside(5 - 1e-6, 5 - 1e-6, 210 + 2e-6, 85 + 2e-6);
        for (const TextItem &t : page.texts) {
            QVERIFY2(inside.contains(t.boxMm), qPrintable(t.text));
            if (t.text != "电器维修中心接机单" && t.text != "提请用户注意事项：")
                QVERIFY2(t.font.pointSize == 9.0 && !t.font.bold, qPrintable(t.text));
        }
        for (const report::LineItem &l : page.lines)
            QVERIFY(inside.contains(l.fromMm) && inside.contains(l.toMm));
        for (const report::RectItem &r : page.rects)
            QVERIFY(inside.contains(r.rectMm));
    }

    // A cell narrower than its text, or lower than its type, would print it cut off.
    void everyTextFitsItsCell()
    {
        const Page page = sheetOf(repairedOrder());
        QImage device(10, 10, QImage::Format_RGB32);
        const double dotsPerMm = device.logicalDpiX() / 25.4;
        for (const TextItem &t : page.texts) {
            QVERIFY2(report::pointsToMm(t.font.pointSize) * 1.2 <= t.boxMm.height(), qPrintable(t.text));
            if (t.alignment & Qt::TextWordWrap)
                continue;
            const double widthMm =
                QFontMetricsF(report::resolveFont(t.font), &device).horizontalAdvance(t.text) / dotsPerMm;
            QVERIFY2(widthMm <= t.boxMm.width(),
                     qPrintable(QString("%1: %2 mm in %3 mm").arg(t.text).arg(widthMm).arg(t.boxMm.width())));
        }
    }

    void sheetProcedurePrintsTheCurrentRowInAPreviewWithoutPageNavigation()
    {
        Orders orders;
        orders.add(pendingOrder());
        auto second = pendingOrder();
        second["wxdh"] = "01000010";
        second["xm"] = "李四";
        second["wxf"] = "";
        orders.add(second);
        Query list(orders.db);
        list.setSql("select * from jjdb order by wxdh");
        list.Open();
        list.moveTo(1);
        QPointer<TmldyForm> form = repair::showRepairSheet(list);
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(list.RecNo(), 1);
        QCOMPARE(form->pageSource()->pageCount(), 1);
        const Page &page = form->pageSource()->page(1);
        QCOMPARE(valueAfter(page, "单号："), QString("01000010"));
        QCOMPARE(valueAfter(page, "姓名"), QString("李四"));
        QVERIFY(!page.allTexts().contains("张三"));
        QCOMPARE(valueAfter(page, "维修费："), QString("0"));
        QVERIFY(!form->receiptMode());
        for (const char *name : {"Btn1", "Btn2", "Btn3", "Btn4"})
            QVERIFY2(!form->findChild<QToolButton *>(name)->isVisible(), name);
        QVERIFY(!form->findChild<QAction *>("ToolButton2")->isVisible());
        QVERIFY(form->findChild<QToolButton *>("Tbtn8")->isVisible());
        delete form;
    }

    void emptyListOpensNothing()
    {
        Orders orders;
        Query list(orders.db);
        list.setSql("select * from jjdb");
        list.Open();
        test::ScriptedMessages shown;
        QCOMPARE(repair::showRepairSheet(list), nullptr);
        QVERIFY(openPreviews().isEmpty());
        QVERIFY(shown.shown.isEmpty());
    }

    // Left by an older build or another program: shown as it stands, counted as 0.
    void feeThatIsNoNumberIsPrintedAsStored()
    {
        Orders orders;
        auto order = pendingOrder();
        order["jcf"] = "abc";
        orders.add(order);
        Query list(orders.db);
        list.setSql("select * from jjdb");
        list.Open();
        test::ScriptedMessages shown;
        QPointer<TmldyForm> form = repair::showRepairSheet(list);
        QVERIFY(form);
        QVERIFY(shown.shown.isEmpty());
        QCOMPARE(valueAfter(form->pageSource()->page(1), "检查费："), QString("abc"));
        delete form;
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setFont(QFont("Noto Sans CJK SC"));
    return test::runTestClasses<TestDepositReceipt, TestRepairSheet>(argc, argv);
}

#include "test_printouts.moc"
