// The initial settings window: departments, maintenance terms and the shop's own settings.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "data/Database.h"
#include "data/Query.h"
#include "settings/Uzdwh.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

using namespace korv;

namespace {

// A fresh database with an administrator logged in and the window shown and active, so that
// focus really moves.
struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    std::unique_ptr<TFrmzdwh> w;
    test::WindowDriver ui;
    int statusWrites = 0;

    explicit Shop(const QString &seedSql = {})
    {
        ctx.session.CurrentRole = 1;
        ctx.setStatusSink([this](const QString &) { ++statusWrites; });
        if (!seedSql.isEmpty())
            db.exec(seedSql);
        w = std::make_unique<TFrmzdwh>(ctx);
        ui.w = w.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    void page(const QString &name) { w->PageControl1->setCurrentWidget(ui.find(name)); }
    // "edit3=保修", "edit4=1": each box emptied, then typed into.
    void fill(const QStringList &entries)
    {
        for (const QString &e : entries)
            ui.type(e.section('=', 0, 0), e.section('=', 1));
    }
    QString texts(const QStringList &names)
    {
        QStringList all;
        for (const QString &n : names)
            all << ui.text(n);
        return all.join('|');
    }
    QString sql(const QString &query) { return db.scalar(query); }
};

const QString kTwoDepartments = "insert into bmb(bmdh, bmmc, sm) values ('01', '一部', ''), ('02', '二部', '')";
const QString kOneTerm = "insert into whb(whff, whqx, Year, Month) values ('保修', '1年', 1, null)";
const QString kTwoTerms = kOneTerm + ", ('上门', '6月', null, 6)";
const QString kRowsEverywhere =
    "select (select count(*) from bmb) || (select count(*) from whb) || (select count(*) from csszb)";

}  // namespace

// Every refusal of the three tabs: its message, where the focus goes, and nothing written.
class TestChecks : public QObject {
    Q_OBJECT
private slots:
    void refusals_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no department name") << "TabSheet1" << QStringList{"ComboBox1=05", "edit1="} << "btnsave"
                                            << " “部门名称”不能为空，请输入。 " << "edit1";
        QTest::newRow("department code exists") << "TabSheet1" << QStringList{"ComboBox1=02", "edit1=新部"}
                                                << "btnsave" << " 部门信息表已存在此部门代号，请重输。 "
                                                << "ComboBox1";
        QTest::newRow("no method") << "TabSheet2" << QStringList{"edit3=", "edit4=1"} << "btnsave2"
                                   << " “维护方法”不能为空，请输入。 " << "edit3";
        QTest::newRow("no period") << "TabSheet2" << QStringList{"edit3=保修", "edit4=", "edit5="} << "btnsave2"
                                   << " “维护期限”不能为空，请输入。 " << "edit5";
        QTest::newRow("code not in bmb") << "TabSheet3" << QStringList{"ComboBox2=05"} << "btnok"
                                         << " 部门信息表中没有找到此部门代号，请检查。 " << "ComboBox2";
        QTest::newRow("待修 alarm 0") << "TabSheet3" << QStringList{"suiSpinEdit1=0"} << "suiButton1"
                                    << " 待修登记的报警期限天数不能为0！ " << "suiSpinEdit1";
        QTest::newRow("派修 alarm 0") << "TabSheet3" << QStringList{"suiSpinEdit2=0"} << "suiButton3"
                                    << " 派修登记的报警期限天数不能为0！ " << "suiSpinEdit2";
    }
    void refusals()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, entries);
        QFETCH(QString, button);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        test::ScriptedMessages messages;
        Shop shop(kTwoDepartments);
        shop.page(page);
        shop.fill(entries);
        shop.ui.click(button);
        QCOMPARE(messages.texts(), QStringList{message});
        QCOMPARE(shop.ui.focused(), focus);
        QCOMPARE(shop.sql(kRowsEverywhere), QString("200"));
    }
};

// What the two dictionary tabs share: their opening state and deleting.
class TestDictionaryTabs : public QObject {
    Q_OBJECT
private slots:
    void windowOpensOnDepartmentsWithBothTabsInAddMode()
    {
        Shop shop;
        QVERIFY(shop.w->isModal() && shop.w->windowTitle() == "初始设置");
        QCOMPARE(shop.w->PageControl1->currentWidget(), shop.ui.find("TabSheet1"));
        for (const QString suffix : {"", "2"})
            QVERIFY(!shop.ui.find("btnadd" + suffix)->isEnabled() && shop.ui.find("btnedit" + suffix)->isEnabled() &&
                    shop.ui.find("btndelete" + suffix)->isEnabled() &&
                    shop.ui.find<ui::DBGrid>(suffix.isEmpty() ? "DBGrid1" : "DBGrid2")->addModeLook());
        QCOMPARE(shop.texts({"ComboBox1", "ComboBox2", "suiSpinEdit1", "suiSpinEdit2"}), QString("||0|0"));
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((shop.w->geometry().center() - centre).manhattanLength() < 4);
    }

    void tabs_data()
    {
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("suffix");  // of the tab's buttons and list
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("emptyList");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("部门信息") << kTwoDepartments << "TabSheet1" << "" << "bmb" << " 部门信息字典表无任何记录。 "
                              << QStringList{"edit1=新部"};
        QTest::newRow("售后维护") << kTwoTerms << "TabSheet2" << "2" << "whb" << " 售后维护字典表无任何记录。 "
                              << QStringList{"edit3=新法", "edit4=1"};
    }

    // Deleting down to an empty list disables 删除 until the next save; a click in the empty
    // list speaks only in edit mode.
    void onlyAnAdministratorDeletesAndOnlyOnOk_data() { tabs_data(); }
    void onlyAnAdministratorDeletesAndOnlyOnOk()
    {
        QFETCH(QString, seed);
        QFETCH(QString, page);
        QFETCH(QString, suffix);
        QFETCH(QString, table);
        test::ScriptedMessages messages;
        Shop shop(seed);
        const QString count = "select count(*) from " + table;
        shop.page(page);
        shop.ctx.session.CurrentRole = 2;
        shop.ui.click("btndelete" + suffix);
        QCOMPARE(messages.texts(), QStringList{deletion::kNoPermission});
        shop.ctx.session.CurrentRole = 1;
        messages.answers << false;
        shop.ui.click("btndelete" + suffix);
        QCOMPARE(messages.last(), deletion::kConfirmRecord);
        QCOMPARE(shop.sql(count), QString("2"));
        messages.answers << true << true;
        shop.ui.click("btndelete" + suffix);
        shop.ui.click("btndelete" + suffix);
        QCOMPARE(shop.sql(count), QString("0"));
        QVERIFY(!shop.ui.find("btndelete" + suffix)->isEnabled());
        QCOMPARE(shop.statusWrites, 0);

        QFETCH(QString, emptyList);
        const QString grid = suffix.isEmpty() ? "DBGrid1" : "DBGrid2";
        messages.clear();
        shop.ui.clickRow(grid, 0);
        QVERIFY(messages.shown.isEmpty());
        shop.ui.click("btnedit" + suffix);
        QVERIFY(!shop.ui.find<ui::DBGrid>(grid)->addModeLook());
        shop.ui.clickRow(grid, 0);
        QCOMPARE(messages.texts(), QStringList{emptyList});
        QFETCH(QStringList, entries);
        shop.fill(entries);
        shop.ui.click("btnsave" + suffix);
        QVERIFY(shop.ui.find("btndelete" + suffix)->isEnabled());
    }
};

class TestDepartments : public QObject {
    Q_OBJECT
private slots:
    // The code is tested for duplicates when adding, not when editing.
    void addThenEditThenDelete()
    {
        test::ScriptedMessages messages;
        Shop shop("insert into bmb(bmdh, bmmc) values ('02', '二部')");
        shop.fill({"ComboBox1=03", "edit1=维修一部", "edit2=家电"});
        shop.ui.click("btnsave");
        QCOMPARE(messages.last(), QString(" 添加部门信息字典表保存成功！ "));
        QCOMPARE(shop.sql("select bmdh || bmmc || sm from bmb where rowid = 2"), QString("03维修一部家电"));
        QCOMPARE(shop.texts({"ComboBox1", "edit1", "edit2"}), QString("||"));
        QCOMPARE(shop.ui.focused(), QString("edit1"));

        shop.ui.click("btnedit");
        shop.ui.clickRow("DBGrid1", 1);
        QCOMPARE(shop.texts({"ComboBox1", "edit1", "edit2"}), QString("03|维修一部|家电"));
        shop.fill({"ComboBox1=02", "edit1=维修二部"});
        shop.ui.click("btnsave");
        QCOMPARE(messages.last(), QString(" 修改部门信息字典表保存成功！ "));
        QCOMPARE(shop.sql("select group_concat(bmdh || bmmc) from bmb"), QString("02二部,02维修二部"));
        QCOMPARE(shop.ui.text("edit1"), QString("维修二部"));

        messages.answers << true;
        shop.ui.click("btndelete");
        QCOMPARE(shop.sql("select group_concat(bmmc) from bmb"), QString("二部"));
        QCOMPARE(shop.texts({"ComboBox1", "edit1", "edit2"}), QString("02||"));
        QVERIFY(!shop.ui.find("btnedit")->isEnabled());
        QCOMPARE(shop.statusWrites, 0);
    }

    // The code look-up on the settings tab moves the department list; the edit must still land
    // on the department whose values were loaded, not overwrite the one looked up.
    void editSavesToTheLoadedDepartmentAfterTheCodeLookUp()
    {
        test::ScriptedMessages messages;
        Shop shop(kTwoDepartments);
        shop.ui.click("btnedit");
        shop.ui.clickRow("DBGrid1", 0);
        shop.fill({"edit1=一部改"});
        shop.page("TabSheet3");
        shop.fill({"ComboBox2=02"});
        QCOMPARE(shop.w->ADOQuery1->RecNo(), 1);
        shop.page("TabSheet1");
        shop.ui.click("btnsave");
        QCOMPARE(shop.sql("select group_concat(bmdh || bmmc) from bmb"), QString("01一部改,02二部"));
    }
};

class TestMaintenanceTerms : public QObject {
    Q_OBJECT
private slots:
    void periodText_data()
    {
        QTest::addColumn<QString>("years");
        QTest::addColumn<QString>("months");
        QTest::addColumn<QString>("stored");  // whqx|Year|Month
        QTest::newRow("years only") << "1" << "" << "1年|1|";
        QTest::newRow("months only") << "" << "6" << "6月||6";
        QTest::newRow("both") << "1" << "6" << "1年6月|1|6";
    }
    void periodText()
    {
        QFETCH(QString, years);
        QFETCH(QString, months);
        QFETCH(QString, stored);
        test::ScriptedMessages messages;
        Shop shop;
        shop.page("TabSheet2");
        shop.fill({"edit3=整机保修", "edit4=" + years, "edit5=" + months});
        shop.ui.click("btnsave2");
        QCOMPARE(messages.texts(), QStringList{" 添加售后维护字典表保存成功！ "});
        QCOMPARE(shop.sql("select whqx || '|' || ifnull(Year, '') || '|' || ifnull(Month, '') from whb"), stored);
        QCOMPARE(shop.texts({"edit3", "edit4", "edit5"}), QString("||"));
    }

    void editRewritesTheClickedTerm()
    {
        test::ScriptedMessages messages;
        Shop shop(kTwoTerms);
        shop.page("TabSheet2");
        shop.ui.click("btnedit2");
        shop.ui.clickRow("DBGrid2", 0);
        QCOMPARE(shop.texts({"edit3", "edit4", "edit5"}), QString("保修|1|"));
        shop.fill({"edit4=", "edit5=3"});
        shop.ui.click("btnsave2");
        QCOMPARE(messages.last(), QString(" 修改售后维护字典表保存成功！ "));
        QCOMPARE(shop.sql("select whqx || ifnull(Year, '-') || Month from whb where rowid = 1"), QString("3月-3"));
        QCOMPARE(shop.sql("select count(*) from whb"), QString("2"));
    }

    // A number the column refuses ends the save with the error box; the half-filled record must
    // not be posted later by the next move of the list.
    void refusedNumberWritesNothing_data()
    {
        QTest::addColumn<bool>("editMode");
        QTest::newRow("add") << false;
        QTest::newRow("edit") << true;
    }
    void refusedNumberWritesNothing()
    {
        QFETCH(bool, editMode);
        test::ScriptedMessages messages;
        messages.allowErrors();
        Shop shop(kOneTerm);
        shop.page("TabSheet2");
        if (editMode) {
            shop.ui.click("btnedit2");
            shop.ui.clickRow("DBGrid2", 0);
        }
        shop.fill({"edit3=上门"});
        shop.ui.setText("edit4", "一");  // past the box's own filter
        shop.ui.click("btnsave2");
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        QCOMPARE(shop.ui.text("edit3"), QString("上门"));
        if (editMode)
            messages.answers = {true};  // loading the row drops what was typed
        shop.ui.clickRow("DBGrid2", 0);
        shop.w->ADOQuery2->Last();
        QCOMPARE(shop.sql("select group_concat(whff || whqx) from whb"), QString("保修1年"));
    }
};

class TestShopSettings : public QObject {
    Q_OBJECT
private slots:
    void codeIsAcceptedOnceItsDepartmentIsAdded()
    {
        test::ScriptedMessages messages;
        Shop shop;
        shop.page("TabSheet3");
        shop.fill({"ComboBox2=05"});
        shop.ui.click("btnok");
        QCOMPARE(shop.sql("select count(*) from csszb"), QString("0"));
        shop.page("TabSheet1");
        shop.fill({"ComboBox1=05", "edit1=五部"});
        shop.ui.click("btnsave");
        shop.page("TabSheet3");
        shop.ui.click("btnok");
        QCOMPARE(messages.last(), QString(" 本维修部门的部门代号设定成功！ "));
        QCOMPARE(shop.sql("select bmdh from csszb"), QString("05"));
    }

    // Only the exact text "0" is refused: "00" and an empty box (no alarm) are written.
    void theFirstSettingCreatesTheRecordAndTheOthersChangeIt()
    {
        test::ScriptedMessages messages;
        Shop shop("insert into bmb(bmdh, bmmc) values ('07', '七部')");
        shop.page("TabSheet3");
        const QString all = "select count(*) || '|' || ifnull(bmdh, '') || '|' || ifnull(bjqx, '') || '|' || "
                            "ifnull(bjqx2, '') from csszb";
        shop.fill({"suiSpinEdit2=00"});
        shop.ui.click("suiButton3");
        QCOMPARE(messages.last(), QString(" 派修登记的报警期限设置成功！ "));
        QCOMPARE(shop.sql(all), QString("1|||0"));
        shop.fill({"ComboBox2=07", "suiSpinEdit1=24", "suiSpinEdit2=48"});
        shop.ui.click("btnok");
        shop.ui.click("suiButton1");
        QCOMPARE(messages.last(), QString(" 待修登记的报警期限设置成功！ "));
        shop.ui.click("suiButton3");
        QCOMPARE(shop.sql(all), QString("1|07|24|48"));
        shop.fill({"suiSpinEdit1="});
        shop.ui.click("suiButton1");
        QCOMPARE(shop.sql(all), QString("1|07||48"));
        QCOMPARE(shop.statusWrites, 0);
    }

    void showingLoadsTheSettingsAndTheNameFollowsTheTypedCode()
    {
        Shop shop(kTwoDepartments + "; insert into csszb(bmdh, bjqx, bjqx2) values ('02', 24, null)");
        QCOMPARE(shop.texts({"ComboBox2", "suiSpinEdit1", "suiSpinEdit2", "suiEdit1"}), QString("02|24||"));
        shop.page("TabSheet3");
        shop.fill({"ComboBox2=01"});
        QCOMPARE(shop.ui.text("suiEdit1"), QString("一部"));
        QCOMPARE(shop.w->ADOQuery1->RecNo(), 0);
        shop.fill({"ComboBox2=09"});
        QCOMPARE(shop.ui.text("suiEdit1"), QString());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestChecks, TestDictionaryTabs, TestDepartments, TestMaintenanceTerms,
                                TestShopSettings>(argc, argv);
}

#include "test_settings.moc"
