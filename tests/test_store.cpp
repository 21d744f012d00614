// The store: spare-part stock and its movements, tools lent and returned, the low-stock mark.
#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "inventory/StoreRules.h"
#include "inventory/Ubjcr.h"
#include "inventory/Ubjgl.h"
#include "inventory/Ugjgl.h"
#include "repair/Uwxll.h"
#include "shell/WorkWindows.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"

#include <QComboBox>
#include <QTest>

using namespace korv;

namespace {
// A shop with one open stock window, driven as a user would.
struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    test::ScriptedMessages messages;
    std::unique_ptr<RecordWindow> window;
    test::WindowDriver ui;

    Shop() { ctx.session.CurrentRole = 1; }

    RecordWindow &open(WorkWindowKind kind)
    {
        window.reset(static_cast<RecordWindow *>(createWorkWindow(kind, ctx, nullptr)));
        window->resize(644, 386);
        window->show();
        ui.w = window.get();
        return *window;
    }
    void part(const QString &bh, const QString &sl, const QString &tsxx = "0.00")
    {
        db.run("insert into bjkc (bh, bjmc, xh, gg, dw, sl, tsxx) values (?1, '电阻', 'R1', '1k', '只', ?2, ?3)",
               {bh, sl, tsxx});
    }
    void tool(const QString &bh, const QString &syzt, const QString &jyr = QString())
    {
        db.run("insert into gjkc (bh, gjmc, xh, gg, gmrq, syzt, jyr) values (?1, '电烙铁', 'A', 'B', '2020-01-02', ?2, ?3)",
               {bh, syzt, jyr});
    }
    QString stored(const QString &table, const QString &bh, const QString &column)
    {
        return db.firstValue("select " + column + " from " + table + " where bh = ?1", {bh}).value_or("(gone)");
    }
    // Opens the movement dialog with `button`, lets `act` drive it and closes it if still open.
    void move(const QString &button, const std::function<void(test::WindowDriver &)> &act)
    {
        test::onNextModal([act](QWidget *dialog) {
            test::WindowDriver d{dialog};
            act(d);
            if (dialog->isVisible())
                static_cast<QDialog *>(dialog)->reject();
        });
        ui.click(button);
    }
};
}  // namespace

class TestStockMovements : public QObject {
    Q_OBJECT
private slots:
    void movementBooksOnTheStoredQuantity_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QString>("message");
        QTest::newRow("out all") << "btnck" << "3" << "0" << QString();
        QTest::newRow("out more than stock") << "btnck" << "4" << "3" << " 备件出库的数量不能大于库存数量！ ";
        QTest::newRow("two zeros change nothing") << "btnck" << "00" << "3" << QString();
        QTest::newRow("in 5") << "btnrk" << "5" << "8" << QString();
        QTest::newRow("in below zero") << "btnrk" << "-4" << "3" << " 入库后的库存数量不能小于0，请检查入库数量。 ";
        QTest::newRow("zero out") << "btnck" << "0" << "3" << " 领取出库的数量不能为0！ ";
    }
    void movementBooksOnTheStoredQuantity()
    {
        QFETCH(QString, button);
        QFETCH(QString, quantity);
        QFETCH(QString, stock);
        QFETCH(QString, message);
        Shop shop;
        shop.part("000001", "3");
        shop.open(WorkWindowKind::Bjgl);
        bool closedByAction = false;
        shop.move(button, [&](test::WindowDriver &d) {
            d.type("suiSpinEdit1", quantity);
            d.click(button == "btnck" ? "btnbjck" : "btnbjrk");
            closedByAction = !d.w->isVisible();
        });
        QCOMPARE(shop.stored("bjkc", "000001", "sl"), stock);
        QCOMPARE(shop.ui.cell("DBGrid1", 0, 5), stock);
        QCOMPARE(closedByAction, message.isEmpty());
        QCOMPARE(shop.messages.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    void navigatingInTheDialogBooksOnTheOtherPart()
    {
        Shop shop;
        shop.part("000001", "3");
        shop.part("000002", "7");
        shop.open(WorkWindowKind::Bjgl);
        shop.ui.clickRow("DBGrid1", 0);
        shop.move("btnrk", [](test::WindowDriver &d) {
            d.click("nbNext");
            QCOMPARE(d.text("DBEdit1"), "000002");
            d.type("suiSpinEdit1", "2");
            d.click("btnbjrk");
        });
        QCOMPARE(shop.stored("bjkc", "000001", "sl"), "3");
        QCOMPARE(shop.stored("bjkc", "000002", "sl"), "9");
    }

    // Another copy of the program took parts out after the list was read: the window books on
    // what is stored, shows it, and an edit-mode save afterwards does not write the old figure.
    void stockChangedBehindTheWindowIsRespected()
    {
        Shop shop;
        shop.part("000001", "5");
        shop.open(WorkWindowKind::Bjgl);
        shop.ui.click("btnedit");
        {
            Database other(shop.dir.dbPath());
            other.run("update bjkc set sl = 2 where bh = '000001'");
        }
        shop.move("btnck", [](test::WindowDriver &d) {
            d.type("suiSpinEdit1", "4");
            d.click("btnbjck");
        });
        QCOMPARE(shop.messages.texts(), QStringList{" 备件出库的数量不能大于库存数量！ "});
        QCOMPARE(shop.ui.cell("DBGrid1", 0, 5), "2");
        shop.move("btnrk", [](test::WindowDriver &d) {
            d.type("suiSpinEdit1", "1");
            d.click("btnbjrk");
        });
        QCOMPARE(shop.stored("bjkc", "000001", "sl"), "3");
        QCOMPARE(shop.ui.text("edit6"), "3");
        shop.ui.click("btnsave");
        QCOMPARE(shop.stored("bjkc", "000001", "sl"), "3");
        QCOMPARE(shop.messages.last(), " 修改备件库存表保存成功！ ");
    }

    void quantityBelowZeroIsNeverSaved()
    {
        Shop shop;
        shop.open(WorkWindowKind::Bjgl);
        for (const char *box : {"ComboBox1", "ComboBox2", "ComboBox3", "edit5"})
            shop.ui.type(box, "x");
        shop.ui.type("edit6", "-1");
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.texts(), QStringList{" “数量”不能小于0，请检查。 "});
        QCOMPARE(shop.db.firstValue("select count(*) from bjkc"), "0");
    }
};

class TestToolLending : public QObject {
    Q_OBJECT
private slots:
    void borrowerIsRequiredAndStoredAsTyped()
    {
        Shop shop;
        shop.tool("001", "在库");
        shop.open(WorkWindowKind::Gjgl);
        shop.ui.clickRow("DBGrid1", 0);
        shop.move("btnck", [](test::WindowDriver &d) {
            d.type("ComboBox1", "   ");
            d.click("btngjck");
            QVERIFY(d.w->isVisible());
            d.type("ComboBox1", " 张三 ");
            d.click("btngjck");
        });
        QCOMPARE(shop.messages.texts(), (QStringList{" “借用人”不能为空，请输入。 ", "工具电烙铁（001）借出成功。 "}));
        QCOMPARE(shop.stored("gjkc", "001", "jyr"), " 张三 ");
        QCOMPARE(shop.stored("gjkc", "001", "syzt"), "借出");
    }

    void scrappedToolCannotBeLent()
    {
        Shop shop;
        shop.tool("001", "报废");
        shop.open(WorkWindowKind::Gjgl);
        shop.ui.clickRow("DBGrid1", 0);
        QVERIFY(!shop.ui.enabled("btnck"));
        QVERIFY(!shop.ui.enabled("btnrk"));
        TFrmbjcr dialog(shop.ctx, shop.window->ADOQuery1);
        dialog.setMode(TFrmbjcr::Mode::Lend);
        dialog.ComboBox1->setEditText("张三");
        dialog.btngjckClick();
        QCOMPARE(shop.messages.texts(), QStringList{" 该工具已被报废，不能借出。 "});
        QCOMPARE(shop.stored("gjkc", "001", "syzt"), "报废");
    }

    void returnKeepsTheLastBorrower()
    {
        Shop shop;
        shop.tool("001", "借出", "李四");
        shop.open(WorkWindowKind::Gjgl);
        shop.ui.clickRow("DBGrid1", 0);
        QVERIFY(shop.ui.enabled("btnrk"));
        shop.move("btnrk", [](test::WindowDriver &d) {
            QCOMPARE(d.text("DBEdit9"), "李四");
            d.click("btngjrk");
        });
        QCOMPARE(shop.messages.texts(), QStringList{"工具电烙铁（001）归还成功。 "});
        QCOMPARE(shop.ui.cell("DBGrid1", 0, 5), "在库");
        QCOMPARE(shop.ui.cell("DBGrid1", 0, 6), "李四");
    }

    // The tool was scrapped elsewhere after the list was read: lending from the state the list
    // shows writes nothing.
    void lendFromAStaleStateWritesNothing()
    {
        Shop shop;
        shop.tool("001", "在库", "李四");
        shop.open(WorkWindowKind::Gjgl);
        shop.ui.clickRow("DBGrid1", 0);
        shop.db.run("update gjkc set syzt = '报废' where bh = '001'");
        shop.move("btnck", [](test::WindowDriver &d) {
            d.type("ComboBox1", "张三");
            d.click("btngjck");
        });
        QCOMPARE(shop.messages.texts(), QStringList{StaleRecordError::message()});
        QCOMPARE(shop.stored("gjkc", "001", "jyr"), "李四");
        QCOMPARE(shop.ui.cell("DBGrid1", 0, 5), "报废");
    }

    void newToolInAnEmptyTableGets001()
    {
        Shop shop;
        shop.open(WorkWindowKind::Gjgl);
        QCOMPARE(shop.ui.text("edit1"), "001");
        for (const char *box : {"edit2", "edit3", "edit4"})
            shop.ui.type(box, "x");
        shop.ui.click("btnsave");
        QCOMPARE(shop.stored("gjkc", "001", "length(gmrq)"), "10");
        QCOMPARE(shop.ui.text("edit1"), "002");
    }
};

class TestStockList : public QObject {
    Q_OBJECT
private slots:
    void lowStockRule_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("limit");
        QTest::addColumn<bool>("low");
        QTest::newRow("at the limit") << "5" << "5.00" << true;
        QTest::newRow("below") << "1" << "2.50" << true;
        QTest::newRow("above") << "3" << "2.50" << false;
        QTest::newRow("no limit") << "0" << "0.00" << false;
        QTest::newRow("limit not a number") << "0" << "" << false;
        QTest::newRow("empty quantity") << "" << "1" << true;
    }
    void lowStockRule()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, limit);
        QFETCH(bool, low);
        QCOMPARE(store::isLowStock(quantity, limit), low);
    }

    // In the stock window and in the list parts are issued from at dispatch.
    void lowPartsAreMarkedInTheLists()
    {
        Shop shop;
        shop.part("000001", "2", "2.00");
        shop.part("000002", "9", "2.00");
        shop.open(WorkWindowKind::Bjgl);
        TFrmwxll issue(shop.ctx);
        for (ui::DBGrid *grid : {shop.window->DBGrid1, issue.DBGrid1}) {
            QCOMPARE(grid->model()->index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
                     store::kLowStockColour);
            QVERIFY(!grid->model()->index(1, 1).data(Qt::BackgroundRole).isValid());
        }
    }

    void catalogueDropDownsHoldEachTrimmedValueOnce()
    {
        Shop shop;
        for (const char *name : {"电容", " 电容", "电阻", "电容 "})
            shop.db.run("insert into bjjbxx (bh, bjmc, bjxh, bjgg) values (?1, ?2, 'X', 'Y')", {QString(name), QString(name)});
        shop.open(WorkWindowKind::Bjgl);
        auto *names = shop.ui.find<QComboBox>("ComboBox1");
        QStringList items;
        for (int i = 0; i < names->count(); ++i)
            items << names->itemText(i);
        QCOMPARE(items, (QStringList{"电容", "电阻"}));
        QCOMPARE(shop.ui.find<QComboBox>("ComboBox2")->count(), 1);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestStockMovements, TestToolLending, TestStockList>(argc, argv);
}

#include "test_store.moc"
