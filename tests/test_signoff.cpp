// The sign-off station: signing dispatched orders off, correcting repaired ones, deleting them,
// the overdue highlight of its dispatched list and the sheets of both lists.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/Uxfdj.h"
#include "support/Orders.h"
#include "support/Previews.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <memory>

using namespace korv;
using test::insertOrder;
using test::openPreviews;
using test::orderColumn;

namespace {

const QString kSignedOffMessage = " 修复签收成功！ ";
const QString kCorrectedMessage = " 修改修复签收记录成功！ ";
const QString kChooseFirst = " 请先选取列表中的维修记录。 ";

QString selectedLabel(const QString &wxdh, const QString &cpmc)
{
    return "当前选取的派修产品： 单号" + wxdh + "，名称" + cpmc + "。";
}

// One sign-off window over the test's database, driven through its controls by name.
struct Station {
    explicit Station(Database &db) : ctx(db) { ctx.session.CurrentRole = 1; }

    TFrmxfdj &open()
    {
        window = std::make_unique<TFrmxfdj>(ctx);
        window->resize(900, 640);
        window->show();
        ui.w = window.get();
        return *window;
    }

    QString currentOrder(const QString &query) { return ui.find<Query>(query)->asString("wxdh"); }
    QStringList listed(const QString &query)
    {
        Query *q = ui.find<Query>(query);
        QStringList numbers;
        for (int row = 0; row < q->RecordCount(); ++row)
            numbers << q->cellText(row, q->columnIndex("wxdh"));
        return numbers;
    }
    DatePicker *picker(const QString &name) { return ui.find<DatePicker>(name); }

    AppContext ctx;
    std::unique_ptr<TFrmxfdj> window;
    test::WindowDriver ui;
};

}  // namespace

// Opening, the two selections and what 修复 writes for each.
class TestSignOffAndCorrection : public test::FreshDatabase {
    Q_OBJECT
private slots:
    void openingShowsTheFirstDispatchedOrder()
    {
        insertOrder(*db, {{"wxdh", "01000002"}, {"wxzt", "1"}, {"cpmc", "冰箱"}});
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}, {"cpmc", "彩电"}, {"wxf", "80"}});
        test::FixedClock clock(test::at(2026, 3, 5, 9, 7, 3));
        Station s(*db);
        TFrmxfdj &w = s.open();
        QCOMPARE(s.ui.text("edit1"), QString("01000001"));
        QCOMPARE(s.ui.text("Label2"), selectedLabel("01000001", "彩电"));
        // Opening copies the number only: the intake fee shows after a click.
        for (const char *fee : {"edit2", "edit3", "edit4", "edit5"})
            QCOMPARE(s.ui.text(fee), QString("0.00"));
        QCOMPARE(s.ui.text("combobox1"), QString("完全修复"));
        QCOMPARE(s.picker("Date2")->dateTimeText(), QString("2026-03-05 09:07:03"));
        QVERIFY(w.btndj1->isEnabled());
        QCOMPARE(w.selection(), TFrmxfdj::Selection::SignOff);
        QVERIFY(s.ctx.openFlag(WorkWindowKind::Xfdj));
    }

    void openingWithoutDispatchedOrdersSaysSo()
    {
        Station s(*db);
        TFrmxfdj &w = s.open();
        QCOMPARE(s.ui.text("Label2"), QString("当前没有任何的派修产品记录。"));
        QVERIFY(!w.btndj1->isEnabled());
        QVERIFY(w.btndelete->isEnabled());
        QVERIFY(w.btndj2->isEnabled());
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kChooseFirst});
    }

    void signingOffWritesTheFeesAndMovesTheOrderDown()
    {
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}, {"cpmc", "彩电"}, {"wxf", "80"}, {"bz", "带遥控器"}});
        insertOrder(*db, {{"wxdh", "01000002"}, {"wxzt", "1"}, {"cpmc", "冰箱"}});
        std::optional<test::FixedClock> clock(std::in_place, test::at(2026, 3, 5, 9, 7, 3));
        Station s(*db);
        TFrmxfdj &w = s.open();
        clock.emplace(test::at(2026, 3, 6, 11, 0, 0));
        s.ui.clickRow("DBGrid1", 0);
        QCOMPARE(s.ui.text("edit1"), QString("01000001"));
        QCOMPARE(s.ui.text("edit2"), QString("80"));  // the intake estimate, as stored
        QCOMPARE(s.ui.text("edit3"), QString("0.00"));
        QCOMPARE(s.ui.text("edit4"), QString("0.00"));
        QCOMPARE(s.ui.text("edit6"), QString("带遥控器"));
        QCOMPARE(s.ui.text("Label2"), selectedLabel("01000001", "彩电"));

        s.ui.setText("edit3", "");
        s.ui.type("edit5", "12.5");
        s.ui.setText("combobox1", "部分功能修复");
        s.picker("Date1")->setDate(QDate(2026, 3, 4));
        test::ScriptedMessages shown;
        s.ui.click("btnsave");

        QCOMPARE(shown.texts(), QStringList{kSignedOffMessage});
        QCOMPARE(orderColumn(*db, "01000001", "wxzt"), QString("2"));
        QCOMPARE(orderColumn(*db, "01000001", "wxf"), QString("80"));
        QCOMPARE(orderColumn(*db, "01000001", "jcf"), QString("0"));
        QCOMPARE(orderColumn(*db, "01000001", "smf"), QString("0.00"));
        QCOMPARE(orderColumn(*db, "01000001", "ljf"), QString("12.5"));
        QCOMPARE(orderColumn(*db, "01000001", "xlqk"), QString("部分功能修复"));
        QCOMPARE(orderColumn(*db, "01000001", "xfrq"), QString("2026-03-04"));
        // The date of the click, the time of day of the opening.
        QCOMPARE(orderColumn(*db, "01000001", "qssj"), QString("2026-03-06 09:07:03"));
        QCOMPARE(orderColumn(*db, "01000001", "bz"), QString("带遥控器"));
        QCOMPARE(orderColumn(*db, "01000002", "wxzt"), QString("1"));

        QCOMPARE(s.listed("ADOQuery1"), QStringList{"01000002"});
        QCOMPARE(s.listed("ADOQuery2"), QStringList{"01000001"});
        QCOMPARE(s.currentOrder("ADOQuery2"), QString("01000001"));
        QCOMPARE(s.ctx.status(), status::kSignedOff);
        QCOMPARE(w.selection(), TFrmxfdj::Selection::SignOff);
        QVERIFY(w.btndj1->isEnabled());
    }

    void signOffResetsTheFormAndTheNextSaveAsksForAnOrder()
    {
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}, {"wxf", "80"}, {"smf", "20"}, {"bz", "x"}});
        test::FixedClock clock(test::at(2026, 3, 5, 9, 7, 3));
        Station s(*db);
        TFrmxfdj &w = s.open();
        s.ui.clickRow("DBGrid1", 0);
        s.picker("Date1")->setDate(QDate(2026, 2, 1));
        s.ui.setText("combobox1", "未修复");
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kSignedOffMessage});

        QCOMPARE(s.ui.text("edit1"), QString());
        QCOMPARE(s.ui.text("edit6"), QString());
        for (const char *fee : {"edit2", "edit3", "edit4", "edit5"})
            QCOMPARE(s.ui.text(fee), QString("0.00"));
        QCOMPARE(s.ui.text("combobox1"), QString("完全修复"));
        QCOMPARE(s.picker("Date1")->dateTimeText(), QString("2026-03-05 09:07:03"));
        // The only dispatched order is gone, so the upper sheet button goes off for good.
        QVERIFY(!w.btndj1->isEnabled());

        shown.clear();
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kChooseFirst});
        QCOMPARE(orderColumn(*db, "01000001", "xlqk"), QString("未修复"));
    }

    void resultMayBeBlanksButNotEmpty_data()
    {
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("saved");
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("blanks") << QString("  ") << true;
    }
    void resultMayBeBlanksButNotEmpty()
    {
        QFETCH(QString, result);
        QFETCH(bool, saved);
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}});
        Station s(*db);
        s.open();
        s.ui.setText("combobox1", result);
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.last(), saved ? kSignedOffMessage : QString(" “修理情况”不能为空，请输入。 "));
        QCOMPARE(orderColumn(*db, "01000001", "wxzt"), QString(saved ? "2" : "1"));
        QCOMPARE(s.ui.text("edit1"), QString(saved ? "" : "01000001"));
    }

    void correctingRewritesTheRepairedOrderAsTyped()
    {
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}, {"cpmc", "彩电"}});
        insertOrder(*db, {{"wxdh", "01000007"}, {"wxzt", "2"}, {"cpmc", "冰箱"}, {"wxf", "80.00"}, {"jcf", "5"},
                          {"smf", "0"}, {"ljf", "30.00"}, {"xlqk", "未修复"}, {"xfrq", "2026-03-01"},
                          {"qssj", "2026-03-02 16:30:00"}, {"bz", "旧备注"}});
        test::FixedClock clock(test::at(2026, 3, 5, 9, 7, 3));
        Station s(*db);
        TFrmxfdj &w = s.open();
        s.ui.clickRow("DBGrid2", 0);
        QCOMPARE(w.selection(), TFrmxfdj::Selection::Correction);
        QCOMPARE(s.ui.text("Label2"), selectedLabel("01000007", "冰箱"));
        QCOMPARE(s.ui.text("edit1"), QString("01000007"));
        QCOMPARE(s.ui.text("edit2"), QString("80.00"));
        QCOMPARE(s.ui.text("edit3"), QString("5"));
        QCOMPARE(s.ui.text("edit5"), QString("30.00"));
        QCOMPARE(s.ui.text("combobox1"), QString("未修复"));
        QCOMPARE(s.ui.text("edit6"), QString("旧备注"));
        // The stored moments, which a correction keeps unless a date is changed.
        QCOMPARE(s.picker("Date1")->dateTimeText(), QString("2026-03-01 00:00:00"));
        QCOMPARE(s.picker("Date2")->dateTimeText(), QString("2026-03-02 16:30:00"));

        s.ui.setText("edit3", "");
        s.ui.type("edit5", "45");
        s.ui.setText("combobox1", "完全修复");
        test::ScriptedMessages shown;
        s.ui.click("btnsave");

        QCOMPARE(shown.texts(), QStringList{kCorrectedMessage});
        QCOMPARE(orderColumn(*db, "01000007", "wxzt"), QString("2"));
        QCOMPARE(orderColumn(*db, "01000007", "wxf"), QString("80.00"));
        QCOMPARE(orderColumn(*db, "01000007", "jcf"), QString());
        QCOMPARE(orderColumn(*db, "01000007", "ljf"), QString("45"));
        QCOMPARE(orderColumn(*db, "01000007", "xlqk"), QString("完全修复"));
        QCOMPARE(orderColumn(*db, "01000007", "xfrq"), QString("2026-03-01"));
        QCOMPARE(orderColumn(*db, "01000007", "qssj"), QString("2026-03-02 16:30:00"));
        QCOMPARE(orderColumn(*db, "01000001", "wxzt"), QString("1"));
        // The form keeps the order; the selection stays a correction.
        QCOMPARE(s.ui.text("edit1"), QString("01000007"));
        QCOMPARE(s.ui.text("edit5"), QString("45"));
        QCOMPARE(w.selection(), TFrmxfdj::Selection::Correction);
        QCOMPARE(s.ctx.status(), status::kSignedOff);
    }
};

// 修复 writes into the order the form shows, wherever the list's cursor has gone since.
class TestFormFollowsItsOrder : public test::FreshDatabase {
    Q_OBJECT
private slots:
    void signOffFindsTheShownOrderAfterTheNavigatorMoved()
    {
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}});
        insertOrder(*db, {{"wxdh", "01000002"}, {"wxzt", "1"}});
        Station s(*db);
        s.open();
        s.ui.clickRow("DBGrid1", 0);
        test::WindowDriver{s.ui.find("DBNavigator1")}.click("nbNext");
        QCOMPARE(s.currentOrder("ADOQuery1"), QString("01000002"));
        test::ScriptedMessages shown;
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{kSignedOffMessage});
        QCOMPARE(orderColumn(*db, "01000001", "wxzt"), QString("2"));
        QCOMPARE(orderColumn(*db, "01000002", "wxzt"), QString("1"));
    }

    void orderGoneFromItsListIsRefusedAndNothingWritten()
    {
        insertOrder(*db, {{"wxdh", "01000003"}, {"wxzt", "2"}, {"jcf", "5"}, {"xlqk", "完全修复"}});
        insertOrder(*db, {{"wxdh", "01000004"}, {"wxzt", "2"}, {"jcf", "9"}});
        Station s(*db);
        TFrmxfdj &w = s.open();
        s.ui.clickRow("DBGrid2", 0);
        s.ui.type("edit3", "77");
        test::ScriptedMessages shown;
        shown.answers = {true};
        s.ui.click("btndelete");
        QCOMPARE(s.listed("ADOQuery2"), QStringList{"01000004"});
        QVERIFY(w.btndelete->isEnabled());

        shown.clear();
        s.ui.click("btnsave");
        QCOMPARE(shown.texts(), QStringList{" 单号为01000003的记录已不在列表中，请重新选取。 "});
        QCOMPARE(orderColumn(*db, "01000004", "jcf"), QString("9"));
        QCOMPARE(s.ui.text("edit1"), QString("01000003"));
        QCOMPARE(s.ctx.status(), status::kDeleted);
    }
};

// Deleting repaired orders, the highlight of the lists, and the sheet buttons.
class TestSignOffLists : public test::FreshDatabase {
    Q_OBJECT
private slots:
    void deleteIsForAConfirmingAdministrator_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("deleted");
        const QString confirm = " 当前的修复记录将被永久性删除，真的删除吗？ ";
        QTest::newRow("order-taker") << 2 << false << QStringList{" 对不起，接单员没有删除记录的权限。 "} << false;
        QTest::newRow("administrator cancels") << 1 << false << QStringList{confirm} << false;
        QTest::newRow("administrator confirms") << 1 << true << QStringList{confirm} << true;
    }
    void deleteIsForAConfirmingAdministrator()
    {
        QFETCH(int, role);
        QFETCH(bool, answer);
        QFETCH(QStringList, texts);
        QFETCH(bool, deleted);
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}});
        insertOrder(*db, {{"wxdh", "01000002"}, {"wxzt", "2"}});
        Station s(*db);
        s.ctx.session.CurrentRole = role;
        TFrmxfdj &w = s.open();
        test::ScriptedMessages shown;
        if (role == 1)
            shown.answers = {answer};
        s.ui.click("btndelete");
        QCOMPARE(shown.texts(), texts);
        QCOMPARE(test::ordersInState(*db, 2), deleted ? 0 : 1);
        QCOMPARE(test::ordersInState(*db, 1), 1);
        // Emptying the repaired list turns off what acts on it, until the next save.
        QCOMPARE(w.btndelete->isEnabled(), !deleted);
        QCOMPARE(w.btndj2->isEnabled(), !deleted);
        QCOMPARE(s.ctx.status(), deleted ? status::kDeleted : QString());
        if (deleted) {
            s.ui.click("btnsave");
            QVERIFY(w.btndelete->isEnabled());
            QVERIFY(w.btndj2->isEnabled());
        }
    }

    // Drawn colours, so that the lists' own colours cannot hide the highlight. Row 0 of each
    // list is the selected one and shows the selection instead.
    void dispatchedOverdueOrdersAreHighlightedInTheUpperListOnly()
    {
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}, {"jxsj", "2026-01-01 00:00:00"}});
        insertOrder(*db, {{"wxdh", "01000002"}, {"wxzt", "1"}, {"jxsj", "2026-03-04 09:07:02"}});
        insertOrder(*db, {{"wxdh", "01000003"}, {"wxzt", "1"}, {"jxsj", "2026-03-04 09:07:03"}});
        insertOrder(*db, {{"wxdh", "01000004"}, {"wxzt", "2"}, {"jxsj", "2026-01-01 00:00:00"}});
        insertOrder(*db, {{"wxdh", "01000005"}, {"wxzt", "2"}, {"jxsj", "2026-01-01 00:00:00"}});
        test::FixedClock clock(test::at(2026, 3, 5, 9, 7, 3));
        Station s(*db);
        s.ctx.session.DispatchAlarmHours = "24";
        s.open();
        auto drawn = [&](const QString &name, int row) {
            auto *grid = s.ui.find<ui::DBGrid>(name);
            const QRect cell = grid->visualRect(grid->model()->index(row, 2));
            return QColor(grid->viewport()->grab().toImage().pixel(cell.left() + 3, cell.center().y()));
        };
        const QColor list(0xEF, 0xEF, 0xEF);
        QCOMPARE(drawn("DBGrid1", 1), QColor("#FFA4D1"));
        QCOMPARE(drawn("DBGrid1", 2), list);
        QCOMPARE(drawn("DBGrid2", 1), list);
    }

    void eachSheetButtonPrintsItsOwnList()
    {
        insertOrder(*db, {{"wxdh", "01000001"}, {"wxzt", "1"}, {"cpmc", "彩电"}});
        insertOrder(*db, {{"wxdh", "01000002"}, {"wxzt", "2"}, {"cpmc", "冰箱"}});
        Station s(*db);
        s.open();
        for (const auto &[button, number] : {std::pair{"btndj1", "01000001"}, std::pair{"btndj2", "01000002"}}) {
            s.ui.click(button);
            const QList<TmldyForm *> previews = openPreviews();
            QCOMPARE(previews.size(), 1);
            QVERIFY2(previews.first()->pageSource()->page(1).allTexts().contains(number), button);
            delete previews.first();
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestSignOffAndCorrection, TestFormFollowsItsOrder, TestSignOffLists>(argc, argv);
}

#include "test_signoff.moc"
