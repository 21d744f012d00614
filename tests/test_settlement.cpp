// The settlement and return-visit station and its business sheet.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/NumberBoxes.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/BusinessSheet.h"
#include "repair/Uqjdj.h"
#include "support/Orders.h"
#include "support/Previews.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace korv;
using report::Page;
using test::openPreviews;

namespace {

const QString kChooseOrder = " 请先选取列表中的维修记录。 ";
const QString kSaved = " 维修结算与回访登记表保存成功！ ";
const QString kRefundNotAllowed = "  “ 应收费用 ” 为正数， “ 付款方式 ” 不能选择退款。 ";
const QString kRefundRequired = "  “ 应收费用 ” 为负数， “ 付款方式 ” 应该选择为退款。 ";

// A shop database, a session and the settlement window over it, driven through its controls.
struct Station {
    test::FixedClock clock{test::at(2026, 3, 5, 9, 7, 3)};
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    std::unique_ptr<Tfrmqjdj> window;
    test::WindowDriver ui;

    Station() { ctx.session.CurrentRole = 1; }

    // A repaired order numbered 0100000n with the given fees and deposit.
    void repaired(int n, const QString &wxf, const QString &jcf, const QString &smf, const QString &ljf,
                  const QString &dj)
    {
        test::insertOrder(db, {{"wxdh", number(n)}, {"wxzt", "2"}, {"cpmc", "彩电"}, {"wxf", wxf}, {"jcf", jcf},
                               {"smf", smf}, {"ljf", ljf}, {"dj", dj}});
    }
    static QString number(int n) { return QString("0100%1").arg(n, 4, 10, QChar('0')); }

    Tfrmqjdj &open()
    {
        window = std::make_unique<Tfrmqjdj>(ctx);
        ui.w = window.get();
        window->resize(900, 520);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            QTest::qFail("the window never became active", __FILE__, __LINE__);
        return *window;
    }

    // Moves the focus on to 取机人, as a Tab or a click would.
    void leave() { ui.find("edit4")->setFocus(Qt::TabFocusReason); }
    QString stored(int n, const QString &column) { return test::orderColumn(db, number(n), column); }
};

}  // namespace

// Loading an order into the form, its figures and the two look-ups done on leaving a field.
class TestSettlementForm : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        for (TmldyForm *form : openPreviews())
            delete form;
    }

    void clickShowsFeeTotalDepositAndReceivable_data()
    {
        QTest::addColumn<QStringList>("fees");  // wxf, jcf, smf, ljf
        QTest::addColumn<QString>("dj");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("deposit");
        QTest::addColumn<QString>("due");
        QTest::newRow("whole") << QStringList{"100", "20", "0", "30"} << "50" << "150" << "50" << "100";
        QTest::newRow("half") << QStringList{"150.00", "20.50", "", ""} << "50.00" << "170.5" << "50.00"
                              << "120.5";
        QTest::newRow("no deposit") << QStringList{"80.00", "", "", ""} << "" << "80" << "0.00" << "80";
        QTest::newRow("blank deposit") << QStringList{"80", "", "", "5"} << "  " << "85" << "0.00" << "85";
        QTest::newRow("deposit over total") << QStringList{"30", "", "", ""} << "50" << "30" << "50" << "-20";
        QTest::newRow("no fees") << QStringList{"", "", "", ""} << "" << "0" << "0.00" << "0";
    }
    void clickShowsFeeTotalDepositAndReceivable()
    {
        QFETCH(QStringList, fees);
        QFETCH(QString, dj);
        Station s;
        s.repaired(1, fees[0], fees[1], fees[2], fees[3], dj);
        s.open();
        QCOMPARE(s.ui.text("edit1"), QString());  // nothing is loaded until a row is clicked
        s.ui.clickRow("DBGrid1", 0);
        QCOMPARE(s.ui.text("edit1"), Station::number(1));
        QTEST(s.ui.text("edit2"), "total");
        QTEST(s.ui.text("edit8"), "deposit");
        QTEST(s.ui.text("edit9"), "due");
    }

    // The second click must not leave anything of the first order behind.
    void clickCopiesSettlementColumnsAndClearsWhatTheNextOrderLacks()
    {
        Station s;
        test::insertOrder(s.db, {{"wxdh", "01000001"}, {"wxzt", "2"}, {"wxf", "10"}, {"whfs", "一年保修"},
                                 {"fkfs", "现金付款"}, {"hfr", "王五"}, {"whqx", "1年"}, {"qjr", "张三"},
                                 {"jjkx", "10.00"}, {"hfqk", "满意"}, {"qjrq", "2005-03-05"},
                                 {"hfsj", "2005-04-01 10:00:00"}, {"bz", "备注一"}});
        test::insertOrder(s.db, {{"wxdh", "01000002"}, {"wxzt", "2"}});
        Tfrmqjdj &w = s.open();
        const QTime pickerTime = w.Date1->time();
        s.ui.clickRow("DBGrid1", 0);
        QCOMPARE(s.ui.text("ComboBox1"), QString("一年保修"));
        QCOMPARE(s.ui.text("ComboBox2"), QString("现金付款"));
        QCOMPARE(s.ui.text("ComboBox3"), QString("王五"));
        QCOMPARE(s.ui.text("edit3"), QString("1年"));
        QCOMPARE(s.ui.text("edit4"), QString("张三"));
        QCOMPARE(s.ui.text("edit5"), QString("10.00"));
        QCOMPARE(s.ui.text("edit6"), QString("满意"));
        QCOMPARE(s.ui.text("edit7"), QString("备注一"));
        QCOMPARE(w.Date1->date(), QDate(2005, 3, 5));
        QCOMPARE(w.Date2->date(), QDate(2005, 4, 1));
        QCOMPARE(w.Date2->time(), pickerTime);

        s.ui.clickRow("DBGrid1", 1);
        QCOMPARE(s.ui.text("edit1"), QString("01000002"));
        for (const char *box : {"ComboBox1", "ComboBox2", "ComboBox3", "edit3", "edit4", "edit5", "edit6", "edit7"})
            QVERIFY2(s.ui.text(box).isEmpty(), box);
        QCOMPARE(w.Date1->date(), QDate(2026, 3, 5));
        QCOMPARE(w.Date2->date(), QDate(2026, 3, 5));
        QCOMPARE(s.ui.text("edit2"), QString("0"));
    }

    // Left by an older build or another program: counted as 0, never an error box.
    void feeThatIsNoNumberCountsZero()
    {
        Station s;
        s.repaired(1, "十元", "5", "", "", "");
        s.open();
        test::ScriptedMessages shown;
        s.ui.clickRow("DBGrid1", 0);
        QVERIFY(shown.shown.isEmpty());
        QCOMPARE(s.ui.text("edit2"), QString("5"));
    }

    void leavingMaintenanceMethodLooksUpItsTerm_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("term");
        QTest::newRow("listed") << "半年保修" << "6月";
        QTest::newRow("blanks around it") << " 两年保修 " << "2年";
        QTest::newRow("typed by hand") << "终身保修" << "旧期限";
        QTest::newRow("empty") << "" << "旧期限";
    }
    void leavingMaintenanceMethodLooksUpItsTerm()
    {
        QFETCH(QString, method);
        Station s;
        s.db.exec("insert into whb (whff, whqx) values ('一年保修', '1年'), ('半年保修', '6月'), ('两年保修', '2年')");
        s.open();
        s.ui.setText("edit3", "旧期限");
        s.ui.type("ComboBox1", method);
        s.leave();
        QTEST(s.ui.text("edit3"), "term");
    }

    void leavingPaymentMethodAppliesTheRefundRule_data()
    {
        QTest::addColumn<QString>("dj");
        QTest::addColumn<QString>("payment");
        QTest::addColumn<QString>("message");
        QTest::newRow("positive, refund") << "20" << "退款" << kRefundNotAllowed;
        QTest::newRow("positive, cash") << "20" << "现金付款" << "";
        QTest::newRow("negative, cash") << "80" << "现金付款" << kRefundRequired;
        QTest::newRow("negative, typed by hand") << "80" << "记账" << kRefundRequired;
        QTest::newRow("negative, refund") << "80" << "退款" << "";
        QTest::newRow("zero, refund") << "50" << "退款" << "";
        QTest::newRow("negative, empty") << "80" << "" << "";
    }
    void leavingPaymentMethodAppliesTheRefundRule()
    {
        QFETCH(QString, dj);
        QFETCH(QString, payment);
        QFETCH(QString, message);
        Station s;
        s.repaired(1, "50", "", "", "", dj);
        s.open();
        s.ui.clickRow("DBGrid1", 0);
        test::ScriptedMessages shown;
        s.ui.type("ComboBox2", payment);
        s.leave();
        QCOMPARE(shown.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QWidget *focused = QApplication::focusWidget();
        QWidget *payments = s.ui.find("ComboBox2");
        QCOMPARE(focused == payments || payments->isAncestorOf(focused), !message.isEmpty());
    }

    void doubleClickAndSheetButtonShowTheRepairSheetOfTheCurrentOrder()
    {
        Station s;
        s.repaired(1, "10", "", "", "", "");
        s.repaired(2, "20", "", "", "", "");
        s.open();
        auto *grid = s.ui.find<ui::DBGrid>("DBGrid1");
        const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
        // The order a desktop delivers a double click in: click, second press, double click, release.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(openPreviews().size(), 1);
        QVERIFY(openPreviews().first()->pageSource()->page(1).allTexts().contains(Station::number(1)));
        cleanup();
        s.ui.clickRow("DBGrid1", 1);
        s.ui.click("btndj");
        QCOMPARE(openPreviews().size(), 1);
        QVERIFY(openPreviews().first()->pageSource()->page(1).allTexts().contains(Station::number(2)));
    }
};

// 保存 and 删除: what is written, where, and who may delete.
class TestSettlementSaveAndDelete : public QObject {
    Q_OBJECT
private slots:
    void saveWritesOnlySettlementColumnsAndTheOrderStaysRepaired()
    {
        Station s;
        test::insertOrder(s.db, {{"wxdh", "01000001"}, {"wxzt", "2"}, {"wxf", "100"}, {"dj", "30"},
                                 {"xlqk", "换电容"}});
        s.db.exec("insert into whb (whff, whqx) values ('一年保修', '1年')");
        Tfrmqjdj &w = s.open();
        // Changed behind the list's back: a save that wrote every column would put the old text back.
        s.db.exec("update jjdb set xlqk = '换电源' where wxdh = '01000001'");
        s.ui.clickRow("DBGrid1", 0);
        s.ui.type("ComboBox1", "一年保修");
        s.leave();
        s.ui.type("edit4", "张三");
        w.Date1->setDate(QDate(2005, 3, 5));
        s.ui.type("ComboBox2", "现金付款");
        w.edit5->setText("70.00");
        s.ui.type("ComboBox3", "王五");
        w.Date2->setDate(QDate(2005, 4, 1));
        s.ui.type("edit6", "满意");
        s.ui.type("edit7", "已结清");
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kSaved});
        QCOMPARE(s.ctx.status(), status::kSaved);

        const QMap<QString, QString> expected{{"whfs", "一年保修"}, {"fkfs", "现金付款"}, {"hfr", "王五"},
                                              {"qjrq", "2005-03-05"}, {"hfsj", "2005-04-01"}, {"whqx", "1年"},
                                              {"qjr", "张三"},        {"jjkx", "70.00"},    {"hfqk", "满意"},
                                              {"bz", "已结清"},       {"wxzt", "2"},        {"xlqk", "换电源"},
                                              {"wxf", "100"},         {"dj", "30"}};
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QCOMPARE(s.stored(1, it.key()), it.value());
        QCOMPARE(w.ADOQuery1->RecordCount(), 1);
        QCOMPARE(s.ui.text("edit1"), QString("01000001"));  // the form keeps its content

        // Saving again overwrites the same columns, empty ones included.
        s.ui.type("edit6", "");
        s.ui.click("btnsave");
        QCOMPARE(s.stored(1, "hfqk"), QString());
        QCOMPARE(s.stored(1, "wxzt"), QString("2"));
    }

    void saveWithoutAChosenOrderWritesNothing()
    {
        Station s;
        s.repaired(1, "10", "", "", "", "");
        s.open();
        s.ui.type("edit4", "张三");
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kChooseOrder});
        QCOMPARE(s.stored(1, "qjr"), QString());
    }

    void saveWritesTheShownOrderAfterTheNavigatorMoved()
    {
        Station s;
        s.repaired(1, "10", "", "", "", "");
        s.repaired(2, "20", "", "", "", "");
        s.open();
        s.ui.clickRow("DBGrid1", 0);
        s.ui.type("edit4", "张三");
        s.ui.click("nbLast");
        QCOMPARE(s.window->ADOQuery1->RecNo(), 1);
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kSaved});
        QCOMPARE(s.stored(1, "qjr"), QString("张三"));
        QCOMPARE(s.stored(2, "qjr"), QString());
    }

    void saveRefusesAnOrderNoLongerInTheList()
    {
        Station s;
        s.repaired(1, "10", "", "", "", "");
        s.repaired(2, "20", "", "", "", "");
        s.open();
        s.ui.clickRow("DBGrid1", 0);
        s.ui.type("edit4", "张三");
        test::ScriptedMessages shown;
        shown.answers = {true};
        s.ui.click("btndelete");
        QCOMPARE(test::ordersInState(s.db, 2), 1);
        QCOMPARE(s.ui.text("edit1"), QString("01000001"));
        shown.clear();
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{" 单号为01000001的记录已不在列表中，请重新选取。 "});
        QCOMPARE(s.stored(2, "qjr"), QString());
    }

    void orderTakerMayNotDelete()
    {
        Station s;
        s.ctx.session.CurrentRole = 0;
        s.repaired(1, "10", "", "", "", "");
        s.open();
        s.ui.clickRow("DBGrid1", 0);
        test::ScriptedMessages shown;
        s.ui.click("btndelete");
        QCOMPARE(shown.texts(), QStringList{deletion::kNoPermission});
        QCOMPARE(test::ordersInState(s.db, 2), 1);
    }

    void deleteAsksFirstAndAnEmptiedListDisablesDeleteAndSheet()
    {
        Station s;
        s.repaired(1, "10", "", "", "", "");
        Tfrmqjdj &w = s.open();
        QVERIFY(w.btndelete->isEnabled() && w.btndj->isEnabled());
        s.ui.clickRow("DBGrid1", 0);
        test::ScriptedMessages shown;
        shown.answers = {false, true};
        s.ui.click("btndelete");
        QCOMPARE(shown.texts(), QStringList{deletion::kConfirmRepair});
        QCOMPARE(test::ordersInState(s.db, 2), 1);
        s.ui.click("btndelete");
        QCOMPARE(test::ordersInState(s.db, 2), 0);
        QCOMPARE(s.ctx.status(), status::kDeleted);
        QVERIFY(!w.btndelete->isEnabled());
        QVERIFY(!w.btndj->isEnabled());

        // A click on the emptied list takes the deleted order out of the form.
        QCOMPARE(s.ui.text("edit1"), QString("01000001"));
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(s.ui.text("edit1"), QString());
        QCOMPARE(s.ui.text("edit9"), QString("0"));
        shown.clear();
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kChooseOrder});
    }

    void emptyListOpensWithDeleteAndSheetDisabled()
    {
        Station s;
        test::insertOrder(s.db, {{"wxdh", "01000001"}, {"wxzt", "1"}});
        Tfrmqjdj &w = s.open();
        QCOMPARE(w.ADOQuery1->RecordCount(), 0);
        QVERIFY(!w.btndelete->isEnabled());
        QVERIFY(!w.btndj->isEnabled());
        QVERIFY(w.btnsave->isEnabled() && w.btnprint->isEnabled());
        QVERIFY(s.ctx.openFlag(WorkWindowKind::Qjdj));
    }
};

namespace {
// The value printed right after the n-th occurrence of `label` on a page.
QString valueAfter(const Page &page, const QString &label, int occurrence = 0)
{
    for (int i = 0; i + 1 < page.texts.size(); ++i)
        if (page.texts[i].text == label && occurrence-- == 0)
            return page.texts[i + 1].text;
    return "<no label " + label + ">";
}

int countOf(const Page &page, const QString &text)
{
    return int(page.allTexts().count(text));
}
}  // namespace

// The business sheet: pages, blocks and their worked-out figures.
class TestBusinessSheet : public test::FreshDatabase {
    Q_OBJECT
private:
    std::unique_ptr<Query> list()
    {
        auto orders = std::make_unique<Query>(*db);
        orders->setSql("select * from jjdb where wxzt=2 order by wxdh");
        orders->Open();
        return orders;
    }

private slots:
    void everyPageHasTitleAndNumberAndEveryOrderOneBlock()
    {
        for (int n = 1; n <= 23; ++n)
            test::insertOrder(*db, {{"wxdh", Station::number(n)}, {"wxzt", "2"}, {"wxf", "100"},
                                    {"jcf", QString::number(n)}, {"jjkx", "88.00"}});
        const auto list = this->list();
        Query &orders = *list;
        orders.moveTo(5);
        auto pages = repair::buildBusinessSheet(orders);
        QCOMPARE(orders.RecNo(), 5);
        QCOMPARE(pages->paperMm(), QSizeF(210, 297));
        QVERIFY(pages->pageCount() >= 3);

        QStringList numbers;
        int perPage = -1;
        for (int p = 1; p <= pages->pageCount(); ++p) {
            const Page &page = pages->page(p);
            QCOMPARE(countOf(page, repair::kBusinessSheetTitle), 1);
            QCOMPARE(page.texts.first().text, repair::kBusinessSheetTitle);
            QCOMPARE(page.texts.first().font.pointSize, 22.0);
            QVERIFY(page.texts.first().font.bold);
            QCOMPARE(page.texts.last().text, QString::number(p));
            QCOMPARE(page.texts.last().font.pointSize, 11.0);
            QVERIFY(page.texts.last().alignment & Qt::AlignHCenter);
            const int blocks = countOf(page, "单号");
            QCOMPARE(page.rects.size(), blocks);
            if (p < pages->pageCount())
                QVERIFY(perPage < 0 || blocks == perPage);  // only the last page may be short
            if (p == 1)
                perPage = blocks;
            for (int b = 0; b < blocks; ++b) {
                numbers << valueAfter(page, "单号", b);
                const int n = numbers.size();
                QCOMPARE(valueAfter(page, "合计", b), QString::number(100 + n));
                QCOMPARE(valueAfter(page, "实收款", b), QString("88.00"));
                QCOMPARE(valueAfter(page, "检查费", b), QString::number(n));
            }
            // Nothing runs into the margins or over the page number.
            const QRectF printable(10, 10, 190, 277);
            for (const report::TextItem &t : page.texts)
                QVERIFY2(printable.contains(t.boxMm), qPrintable(t.text));
            for (const report::RectItem &r : page.rects)
                QVERIFY(r.rectMm.bottom() < page.texts.last().boxMm.top());
        }
        QCOMPARE(numbers.size(), 23);
        QCOMPARE(numbers.first(), Station::number(1));
        QCOMPARE(numbers.last(), Station::number(23));
    }

    void blockCarriesEveryLabelAndValueInRowOrder()
    {
        test::insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "2"}, {"cpmc", "彩电"}, {"xh", "X1"},
                                {"jshm", "SN9"}, {"gmsd", "百货"}, {"gmrq", "2004-01-02"}, {"fj", "遥控器"},
                                {"xm", "张三"}, {"dh", "123"}, {"yb", "100000"}, {"dz", "北街1号"},
                                {"jjy", "李四"}, {"jjrq", "2005-03-01 08:00:00"}, {"wxry", "王五"},
                                {"xfrq", "2005-03-04"}, {"gjyy", "无图像"}, {"sfbx", "1"}, {"xlqk", "换管"},
                                {"wxf", "100.00"}, {"jcf", "20.50"}, {"smf", ""}, {"ljf", "30"},
                                {"jjkx", "150.50"}});
        const auto pages = repair::buildBusinessSheet(*list());
        const Page &page = pages->page(1);
        const QStringList pairs = {"单号", "01000001", "类别", "彩电", "型号", "X1", "机身号", "SN9",
                                   "购买商店", "百货", "购买日期", "2004-01-02", "附件", "遥控器",
                                   "客户姓名", "张三", "电话", "123", "邮编", "100000", "地址", "北街1号",
                                   "接机员", "李四", "接机日期", "2005-03-01 08:00:00", "维修人", "王五",
                                   "修复日期", "2005-03-04", "故障原因", "无图像", "是否保修期", "保修期外",
                                   "修理情况", "换管", "维修费", "100.00", "检查费", "20.50", "上门费", "",
                                   "零件费", "30", "合计", "150.5", "实收款", "150.50"};
        QCOMPARE(page.allTexts().mid(1, pairs.size()), pairs);
        for (int i = 0; i < pairs.size(); ++i) {
            const report::FontSpec &font = page.texts[1 + i].font;
            const bool label = i % 2 == 0;
            QVERIFY2(font.bold == label && font.pointSize == (label ? 11.0 : 10.0), qPrintable(pairs[i]));
        }
        // Six rows: five rules between them inside the block's frame.
        const QRectF frame = page.rects.first().rectMm;
        int between = 0;
        for (const report::LineItem &l : page.lines)
            if (l.fromMm.y() == l.toMm.y() && l.fromMm.y() > frame.top() && l.fromMm.y() < frame.bottom())
                ++between;
        QCOMPARE(between, 5);
    }

    void warrantyTextReadsTheFlagAsAWholeNumber_data()
    {
        QTest::addColumn<QString>("sfbx");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << "0" << "保修期内";
        QTest::newRow("empty") << "" << "保修期内";
        QTest::newRow("1") << "1" << "保修期外";
        QTest::newRow("2") << "2" << "保修期外";
    }
    void warrantyTextReadsTheFlagAsAWholeNumber()
    {
        QFETCH(QString, sfbx);
        test::insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "2"}, {"sfbx", sfbx}});
        QTEST(valueAfter(repair::buildBusinessSheet(*list())->page(1), "是否保修期"), "text");
    }

};

// 打印 in the window: the sheet of the list as it stands, in the preview.
class TestSettlementPrint : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        for (TmldyForm *form : openPreviews())
            delete form;
    }

    void printShowsTheSheetOfTheListAsItStands()
    {
        Station s;
        for (int n = 1; n <= 4; ++n)
            s.repaired(n, "10", "", "", "", "");
        Tfrmqjdj &w = s.open();
        // What the query dialog will do: refilter the list on state 2.
        w.ADOQuery1->Close();
        w.ADOQuery1->setSql("select * from jjdb where wxzt=2 and wxdh>='01000003' order by wxdh");
        w.ADOQuery1->Open();
        s.ui.click("btnprint");
        QCOMPARE(openPreviews().size(), 1);
        TmldyForm *preview = openPreviews().first();
        QCOMPARE(preview->pageCount(), 1);
        const Page &page = preview->pageSource()->page(1);
        QCOMPARE(countOf(page, "单号"), 2);
        QCOMPARE(valueAfter(page, "单号"), Station::number(3));
        QVERIFY(preview->findChild<QToolButton *>("Btn1")->isVisible());  // page navigation shown
    }

    void printOfAnEmptyListShowsATitledPage()
    {
        Station s;
        s.open();
        s.ui.click("btnprint");
        QCOMPARE(openPreviews().size(), 1);
        const Page &page = openPreviews().first()->pageSource()->page(1);
        QCOMPARE(openPreviews().first()->pageCount(), 1);
        QCOMPARE(page.allTexts(), (QStringList{repair::kBusinessSheetTitle, "1"}));
        QVERIFY(page.rects.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestSettlementForm, TestSettlementSaveAndDelete, TestBusinessSheet,
                                TestSettlementPrint>(argc, argv);
}

#include "test_settlement.moc"
