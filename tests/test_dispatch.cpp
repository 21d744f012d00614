// The dispatch station and the spare-part issue window, driven through their widgets.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "data/Database.h"
#include "data/Query.h"
#include "repair/RepairRules.h"
#include "repair/Upxdj.h"
#include "repair/Uwxll.h"
#include "support/Orders.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace korv;
using test::insertOrder;
using test::orderColumn;

namespace {

const QString kDispatchFirst = " 请对当前的待修单号先作派修登记，然后才能领取备件。 ";

// Now: 2024-05-10 10:00:00.
QDateTime now() { return test::at(2024, 5, 10, 10, 0, 0); }

// A shop with two employees, two spare parts in stock, an administrator and a fixed clock.
struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    test::FixedClock clock{now()};
    test::ScriptedMessages messages;
    std::unique_ptr<TFrmpxdj> window;
    test::WindowDriver ui;

    Shop()
    {
        ctx.session.CurrentRole = 1;
        db.exec("insert into jyb (jymc) values (' 张三 ')");
        db.exec("insert into jyb (jymc) values ('李四')");
        db.exec("insert into bjkc (bh, bjmc, dw, sl) values ('000001', '电容', '个', 5)");
        db.exec("insert into bjkc (bh, bjmc, dw, sl) values ('000002', '电阻', '只', 10)");
    }
    void pending(const QString &wxdh, const QString &cpmc = "电视机")
    {
        insertOrder(db, {{"wxdh", wxdh}, {"wxzt", "0"}, {"cpmc", cpmc}, {"jjrq", "2024-05-09 09:00:00"}});
    }
    void dispatched(const QString &wxdh, const QString &jxsj = "2024-05-09 08:30:00", const QString &ylbj = "")
    {
        insertOrder(db, {{"wxdh", wxdh}, {"wxzt", "1"}, {"cpmc", "冰箱"}, {"xm", "王"}, {"wxry", "李四"},
                         {"jxsj", jxsj}, {"ylbj", ylbj}, {"bz", "旧备注"}});
    }
    TFrmpxdj &open()
    {
        window = std::make_unique<TFrmpxdj>(ctx);
        window->resize(900, 640);
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            QTest::qFail("the window never became active", __FILE__, __LINE__);
        ui.w = window.get();
        return *window;
    }
    QString column(const QString &wxdh, const QString &name) { return orderColumn(db, wxdh, name); }
    QString stock(const QString &bh) { return db.firstValue("select sl from bjkc where bh=?", {bh}).value_or("?"); }
};

}  // namespace

// 派修, 删除 and the dispatch form.
class TestDispatch : public QObject {
    Q_OBJECT
private slots:
    void dispatchesFirstPendingOrderRightAfterOpening()
    {
        Shop shop;
        shop.pending("01000001");
        shop.pending("01000002", "洗衣机");
        TFrmpxdj &w = shop.open();
        QCOMPARE(shop.ui.text("edit1"), "01000001");
        QCOMPARE(shop.ui.text("Label2"), "当前选取的待修产品： 单号01000001，名称电视机。");
        QCOMPARE(w.ComboBox1->count(), 2);
        QCOMPARE(w.ComboBox1->itemText(0), "张三");

        shop.ui.setText("ComboBox1", "张三");
        shop.ui.setText("edit3", "急修");
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.last(), " 派修登记成功！ ");
        QCOMPARE(shop.column("01000001", "wxzt"), "1");
        QCOMPARE(shop.column("01000001", "wxry"), "张三");
        QCOMPARE(shop.column("01000001", "jxsj"), "2024-05-10 10:00:00");
        QCOMPARE(shop.column("01000001", "bz"), "急修");
        QCOMPARE(shop.column("01000002", "wxzt"), "0");
        QCOMPARE(w.ADOQuery2->asString("wxdh"), "01000001");
        QCOMPARE(shop.ctx.status(), status::kDispatched);

        // The form is emptied and the selection stays pending.
        for (const char *box : {"edit1", "ComboBox1", "edit2", "edit3"})
            QCOMPARE(shop.ui.text(box), QString());
        QCOMPARE(w.selection(), TFrmpxdj::Selection::Pending);
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.last(), "请先选取列表中的待修记录。 ");
        shop.ui.click("btnlqbj");
        QCOMPARE(shop.messages.last(), kDispatchFirst);
    }

    void refusesIncompleteForm_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("repairman");
        QTest::addColumn<QString>("message");
        QTest::newRow("no number") << "" << "张三" << "请先选取列表中的待修记录。 ";
        QTest::newRow("blank number") << "  " << "张三" << " 请先选取列表中的待修记录。 ";
        QTest::newRow("no repairman") << "01000001" << "" << " “维修人员”不能为空，请输入。 ";
        QTest::newRow("not in the list") << "01000009" << "张三" << " 单号为01000009的记录已不在列表中，请重新选取。 ";
    }
    void refusesIncompleteForm()
    {
        QFETCH(QString, number);
        QFETCH(QString, repairman);
        QFETCH(QString, message);
        Shop shop;
        shop.pending("01000001");
        shop.open();
        shop.ui.setText("edit1", number);
        shop.ui.setText("ComboBox1", repairman);
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.texts(), QStringList{message});
        QCOMPARE(test::ordersInState(shop.db, 0), 1);
        QCOMPARE(shop.column("01000001", "wxry"), QString());
    }

    void dispatchesTheOrderShownNotTheOneUnderTheCursor()
    {
        Shop shop;
        shop.pending("01000001");
        shop.pending("01000002");
        shop.open();
        test::WindowDriver{shop.ui.find("DBNavigator1")}.click("nbNext");
        QCOMPARE(shop.window->ADOQuery1->asString("wxdh"), "01000002");
        shop.ui.setText("ComboBox1", "李四");
        shop.ui.click("btnsave");
        QCOMPARE(shop.column("01000001", "wxzt"), "1");
        QCOMPARE(shop.column("01000002", "wxzt"), "0");
    }

    void correctsDispatchedOrderKeepingItsState()
    {
        Shop shop;
        shop.pending("01000001");
        shop.dispatched("01000005", "2024-04-01 08:30:00", "电容(000001)2个");
        TFrmpxdj &w = shop.open();
        shop.ui.clickRow("DBGrid2", 0);
        QCOMPARE(w.selection(), TFrmpxdj::Selection::Dispatched);
        QCOMPARE(shop.ui.text("Label2"), "当前选取的派修产品： 单号01000005，名称冰箱。");
        QCOMPARE(shop.ui.text("edit1"), "01000005");
        QCOMPARE(shop.ui.text("ComboBox1"), "李四");
        QCOMPARE(shop.ui.text("edit2"), "电容(000001)2个");
        QCOMPARE(shop.ui.text("edit3"), "旧备注");
        // The stored dispatch time, which a correction keeps unless its date is changed.
        QCOMPARE(w.Date1->dateTimeText(), "2024-04-01 08:30:00");

        shop.ui.setText("ComboBox1", "张三");
        shop.ui.setText("edit3", "新备注");
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.last(), " 修改派修记录成功！ ");
        QCOMPARE(shop.column("01000005", "wxry"), "张三");
        QCOMPARE(shop.column("01000005", "bz"), "新备注");
        QCOMPARE(shop.column("01000005", "jxsj"), "2024-04-01 08:30:00");
        QCOMPARE(shop.column("01000005", "ylbj"), "电容(000001)2个");
        QCOMPARE(shop.column("01000005", "wxzt"), "1");
        QCOMPARE(shop.column("01000005", "xm"), "王");
        QCOMPARE(shop.column("01000001", "wxzt"), "0");
        QCOMPARE(shop.ui.text("edit1"), "01000005");
    }

    void deleteIsTheAdministratorsAndTakesLowerListsCurrentOrder()
    {
        Shop shop;
        shop.pending("01000001");
        shop.dispatched("01000005");
        shop.dispatched("01000006");
        shop.ctx.session.CurrentRole = 2;
        TFrmpxdj &w = shop.open();
        shop.ui.click("btndelete");
        QCOMPARE(shop.messages.texts(), QStringList{deletion::kNoPermission});
        QCOMPARE(test::ordersInState(shop.db, 1), 2);

        shop.ctx.session.CurrentRole = 1;
        shop.ui.clickRow("DBGrid2", 1);
        shop.ui.clickRow("DBGrid1", 0);  // a pending order in the form; 删除 still means the lower list
        shop.messages.answers = {false};
        shop.ui.click("btndelete");
        QCOMPARE(test::ordersInState(shop.db, 1), 2);

        shop.messages.answers = {true, true};
        shop.ui.click("btndelete");
        QCOMPARE(shop.messages.last(), deletion::kConfirmDispatch);
        QCOMPARE(shop.column("01000006", "wxdh"), QString());
        QCOMPARE(test::ordersInState(shop.db, 0), 1);
        QCOMPARE(shop.ctx.status(), status::kDeleted);
        QVERIFY(w.btndelete->isEnabled());
        shop.ui.click("btndelete");
        QCOMPARE(test::ordersInState(shop.db, 1), 0);
        QVERIFY(!w.btndelete->isEnabled() && !w.btndj2->isEnabled());
        QCOMPARE(shop.ui.text("edit1"), "01000001");
    }

    void refusesOrderDeletedFromUnderTheForm()
    {
        Shop shop;
        shop.dispatched("01000005");
        shop.open();
        shop.ui.clickRow("DBGrid2", 0);
        shop.messages.answers = {true};
        shop.ui.click("btndelete");
        shop.messages.clear();
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.texts(), QStringList{" 单号为01000005的记录已不在列表中，请重新选取。 "});
    }

    void issueNeedsADispatchedOrderSelected()
    {
        Shop shop;
        shop.pending("01000001");
        TFrmpxdj &w = shop.open();
        shop.ui.click("btnlqbj");
        QCOMPARE(shop.messages.last(), " 派修登记表中没有任何派修记录，不能领取备件。 ");
        shop.dispatched("01000005");
        w.ADOQuery2->Close();
        w.ADOQuery2->Open();
        shop.ui.click("btnlqbj");
        QCOMPARE(shop.messages.last(), kDispatchFirst);
        QCOMPARE(QApplication::focusWidget(), w.btnsave);
    }

    void openingWithoutPendingOrders()
    {
        Shop shop;
        TFrmpxdj &w = shop.open();
        QCOMPARE(shop.ui.text("Label2"), "当前没有任何的待修产品记录");
        QVERIFY(!w.btndj1->isEnabled());
        QVERIFY(w.btndj2->isEnabled());
    }

    void overdueDispatchedRowIsHighlighted()
    {
        Shop shop;
        shop.ctx.session.DispatchAlarmHours = "24";
        shop.dispatched("01000005", "2024-05-09 09:59:59");
        shop.dispatched("01000006", "2024-05-09 10:00:00");
        TFrmpxdj &w = shop.open();
        const QVariant overdue = w.DBGrid2->model()->index(0, 3).data(Qt::BackgroundRole);
        QCOMPARE(overdue.value<QBrush>().color(), QColor(0xFF, 0xA4, 0xD1));
        QVERIFY(!w.DBGrid2->model()->index(1, 3).data(Qt::BackgroundRole).isValid());
    }
};

// The spare-part issue window, opened by 领取备件 or on its own.
class TestSparePartIssue : public QObject {
    Q_OBJECT
private slots:
    // The order holds each issue as soon as it is made, and the dispatch form on closing.
    void issuesLowerStockAndWriteTheOrderOnClose()
    {
        Shop shop;
        shop.dispatched("01000005");
        TFrmpxdj &w = shop.open();
        shop.ui.clickRow("DBGrid2", 0);
        QStringList seen;
        shop.messages.answers = {true, true};
        test::onNextModal([&](QWidget *modal) {
            test::WindowDriver d{modal};
            seen << d.text("lab3") << d.text("Memo1") << d.text("Lab1");
            d.setText("suiSpinEdit1", "2");
            d.click("btnbjck");
            seen << d.text("Memo1") << shop.stock("000001") << d.cell("DBGrid1", 0, 5)
                 << d.text("Lab1");
            d.clickRow("DBGrid1", 1);
            seen << d.text("suiSpinEdit1") << d.text("Lab1");
            d.setText("suiSpinEdit1", "10");
            d.click("btnbjck");
            seen << d.text("Memo1") << shop.stock("000002") << shop.column("01000005", "ylbj");
            d.click("btnprint");
        });
        shop.ui.click("btnlqbj");
        const QString issued = "电容(000001)2个, 电阻(000002)10只";
        QCOMPARE(seen, (QStringList{"派修单号01000005的备件领取情况", "未领取任何备件",
                                    "当前选取的备件：编号000001，名称电容，数量5个。", "电容(000001)2个", "3", "3",
                                    "当前选取的备件：编号000001，名称电容，数量5个。", "0",
                                    "当前选取的备件：编号000002，名称电阻，数量10只。", issued, "0", issued}));
        QCOMPARE(shop.messages.last(), "领取后备件库存数将被减去相应的数量，真的领取备件吗？ ");
        QCOMPARE(shop.column("01000005", "ylbj"), issued);
        QCOMPARE(shop.ui.text("edit2"), issued);
        QCOMPARE(w.ADOQuery2->asString("ylbj"), issued);
    }

    void appendsToEarlierIssuesAndWritesThemOnEscape()
    {
        Shop shop;
        shop.dispatched("01000005", "2024-05-09 08:30:00", "电阻(000002)1只");
        shop.open();
        shop.ui.clickRow("DBGrid2", 0);
        shop.messages.answers = {true};
        test::onNextModal([&](QWidget *modal) {
            test::WindowDriver d{modal};
            d.setText("suiSpinEdit1", "1");
            d.click("btnbjck");
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        shop.ui.click("btnlqbj");
        QCOMPARE(shop.column("01000005", "ylbj"), "电阻(000002)1只, 电容(000001)1个");
    }

    void closingWithoutIssueLeavesOrderAlone()
    {
        Shop shop;
        shop.dispatched("01000005");
        shop.open();
        shop.ui.clickRow("DBGrid2", 0);
        test::onNextModal([](QWidget *modal) { test::WindowDriver{modal}.click("btnprint"); });
        shop.ui.click("btnlqbj");
        QCOMPARE(shop.column("01000005", "ylbj"), QString());
        QCOMPARE(shop.ui.text("edit2"), QString());
        QCOMPARE(shop.stock("000001"), "5");
    }

    void refusesBadQuantities_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("message");
        QTest::newRow("zero") << "0" << " 领取备件的数量不能为0！ ";
        QTest::newRow("zero typed twice") << "00" << " 领取备件的数量不能为0！ ";
        QTest::newRow("negative") << "-2" << " 领取数量必须大于零，请重新输入。 ";
        QTest::newRow("above stock") << "6" << " 领取备件的数量不能大于库存数量！ ";
        QTest::newRow("empty") << "" << "“”不是有效的整数值。";
    }
    void refusesBadQuantities()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, message);
        Shop shop;
        if (quantity.isEmpty())
            shop.messages.allowErrors();
        TFrmwxll w(shop.ctx);
        w.show();
        test::WindowDriver d{&w};
        d.setText("suiSpinEdit1", quantity);
        d.click("btnbjck");
        QCOMPARE(shop.messages.texts(), QStringList{message});
        QCOMPARE(shop.stock("000001"), "5");
        QCOMPARE(w.issueText(), repair::kNoPartsIssued);
    }

    void issuesTheWholeStockButNoMore()
    {
        Shop shop;
        TFrmwxll w(shop.ctx);
        w.show();
        test::WindowDriver d{&w};
        d.setText("suiSpinEdit1", "5");
        shop.messages.answers = {false, true};
        d.click("btnbjck");
        QCOMPARE(shop.stock("000001"), "5");
        d.click("btnbjck");
        QCOMPARE(shop.stock("000001"), "0");
        QCOMPARE(w.issueText(), "电容(000001)5个");
        d.click("btnbjck");
        QCOMPARE(shop.messages.last(), " 领取备件的数量不能大于库存数量！ ");
        QCOMPARE(shop.stock("000001"), "0");
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestDispatch, TestSparePartIssue>(argc, argv);
}

#include "test_dispatch.moc"
