// Start-up, main window commands and enabling, login, password change, backup.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/Desktop.h"
#include "common/WorkWindow.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "shell/Backup.h"
#include "shell/Startup.h"
#include "shell/Umain.h"
#include "shell/Uxgkl.h"
#include "shell/Uyhdl.h"
#include "shell/WorkWindows.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/FormChanges.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace korv;

namespace {
// One run of the program in a temporary program directory.
struct Run {
    test::TempProgramDir dir;
    Program program{dir.path()};
    int endings = 0;

    Run() { program.setEndHandler([this] { ++endings; }); }
    bool startAs(const QString &name, const QString &password)
    {
        test::loginWhenAsked(name, password);
        return program.start();
    }
    TFrmMain_wxgl &main() { return *program.mainWindow(); }
    AppContext &ctx() { return main().context(); }
    test::WindowDriver ui() { return test::WindowDriver{&main()}; }
    bool toolOn(const char *name) { return ui().enabled(name); }
    bool itemOn(const char *name) { return main().findChild<QAction *>(name)->isEnabled(); }
    bool menuOn(const char *name) { return main().findChild<QMenu *>(name)->menuAction()->isEnabled(); }
    void setDeptCode(const QString &code, const QString &alarm = "24", const QString &alarm2 = "48")
    {
        Query q(ctx().db());
        q.setSql("select * from csszb");
        q.Open();
        q.Edit();
        q.setText("bmdh", code);
        q.setText("bjqx", alarm);
        q.setText("bjqx2", alarm2);
        q.Post();
    }
};

// A plain work window standing in for the real ones, which later builds add.
class StandInWindow : public WorkWindow {
public:
    using WorkWindow::WorkWindow;
};

const QString kNoDeptCode = " 请先在初始设置中设定本维修部门的部门代号。 ";
}  // namespace

class TestStartAndLogin : public QObject {
    Q_OBJECT
private slots:
    void administratorSeesEveryCommand()
    {
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        QVERIFY(run.main().isVisible());
        QCOMPARE(run.main().windowTitle(), QString(" Korvel电器维修管理系统"));
        QCOMPARE(run.ctx().session.CurrentUserName, QString("管理员"));
        QCOMPARE(run.ctx().session.CurrentRole, 1);
        QVERIFY(!run.toolOn("Tbtn1"));
        for (const char *t : {"Tbtn2", "Tbtn4", "Tbtn6", "Tbtn7", "Tbtn9", "Tbtn10", "Tbtn11"})
            QVERIFY2(run.toolOn(t), t);
        QVERIFY(!run.itemOn("N1"));
        for (const char *i : {"N2", "NK24", "N4", "N14"})
            QVERIFY2(run.itemOn(i), i);
        for (const char *m : {"menuUser", "menuSystem", "menuBasic", "menuBusiness", "menuStock"})
            QVERIFY2(run.menuOn(m), m);
        QVERIFY(run.main().findChild<QWidget *>("navBar")->isEnabled());
        QVERIFY(!run.main().workArea()->isVisible());
        // The default password is not left in place: 修改口令 opens at once (and is cancelled).
        QCOMPARE(messages.texts(), QStringList{" 管理员仍在使用默认口令，为安全起见，请立即修改口令。 "});
        QCOMPARE(run.ui().text("StatusUser"), QString("  当前用户：管理员（管理员）  "));
        run.main().Tbtn2Click();
        QCOMPARE(run.ui().text("StatusUser"), QString("  未登录  "));
    }

    void orderTakerCannotChangeSettingsOrBackUp()
    {
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("接单员", "640713"));
        QVERIFY(messages.shown.isEmpty());
        QCOMPARE(run.ui().text("StatusUser"), QString("  当前用户：接单员（接单员）  "));
        QVERIFY(run.ctx().session.CurrentRole != 1);
        for (const char *t : {"Tbtn4", "Tbtn7"})
            QVERIFY2(!run.toolOn(t), t);
        for (const char *i : {"NK24", "N4"})
            QVERIFY2(!run.itemOn(i), i);
        QVERIFY(run.toolOn("Tbtn6"));
        QVERIFY(run.itemOn("N14"));
    }

    void menusToolbarAndNavigationReadInOrder()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        QStringList menus;
        for (QAction *a : run.main().menuBar()->actions())
            if (a->isVisible())
                menus << a->text();
        QCOMPARE(menus, QStringList({"   用户操作   ", "   系统维护   ", "   基本信息   ", "   业务管理   ",
                                     "   库存管理   "}));
        QStringList userItems;
        for (QAction *a : run.main().findChild<QMenu *>("menuUser")->actions())
            userItems << (a->isSeparator() ? "|" : a->text());
        QCOMPARE(userItems, QStringList({"用户登陆", "注销用户", "|", "关于系统", "帮助主题", "|", "退出系统"}));
        QStringList tools;
        for (QAction *a : run.main().findChild<QToolBar *>("ToolBar1")->actions()) {
            if (a->isSeparator())
                tools << "|";
            else if (a->isVisible())
                tools << qobject_cast<QToolButton *>(
                             run.main().findChild<QToolBar *>("ToolBar1")->widgetForAction(a))
                             ->text();
        }
        QCOMPARE(tools, QStringList({" 用户登陆 ", "注销用户", "|", "初始设置", "修改口令", "数据备份", "|",
                                     "关于系统", "帮助主题", "|", "退出系统"}));
        QVERIFY(!run.main().findChild<QWidget *>("navStaff")->isVisible());
        QVERIFY(run.main().findChild<QWidget *>("navBusiness")->isVisible());
    }

    void loginRefusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown name") << "老板" << "385920" << " 不存在此“用户名称”，请重新选择。 ";
        QTest::newRow("wrong password") << "管理员" << "111111"
                                        << " 管理员的默认登陆口令为385920，接单员的默认登陆口令为640713，请重输。 ";
        QTest::newRow("password with a trailing blank")
            << "管理员" << "385920 " << " 管理员的默认登陆口令为385920，接单员的默认登陆口令为640713，请重输。 ";
    }
    void loginRefusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        test::ScriptedMessages messages;
        test::TempProgramDir dir;
        TFrmMain_wxgl main(dir.path(), {});
        TFrmyhdl login(main);
        login.ComboBox1->setEditText(name);
        login.Edit1->setText(password);
        login.btnokClick();
        QCOMPARE(messages.texts(), QStringList{message});
        QVERIFY(!login.loggedIn());
        QCOMPARE(login.Edit1->text(), password);
        QVERIFY(!main.isVisible());
    }

    void nameWithBlanksAroundIsFoundAndTheListHoldsEveryUser()
    {
        test::TempProgramDir dir;
        TFrmMain_wxgl main(dir.path(), {});
        TFrmyhdl login(main);
        QCOMPARE(login.ComboBox1->currentText(), QString("管理员"));
        QStringList names;
        for (int i = 0; i < login.ComboBox1->count(); ++i)
            names << login.ComboBox1->itemText(i);
        QCOMPARE(names, QStringList({"管理员", "接单员"}));
        login.ComboBox1->setEditText("  接单员 ");
        login.Edit1->setText("640713");
        QTest::keyClick(login.Edit1, Qt::Key_Return);
        QVERIFY(login.loggedIn());
        QCOMPARE(login.ComboBox1->currentText(), QString("接单员"));
        QCOMPARE(main.context().session.CurrentUserName, QString("接单员"));
    }

    void givingUpTheLoginAtStartEndsTheProgram_data()
    {
        QTest::addColumn<bool>("viaCancel");
        QTest::newRow("取消") << true;
        QTest::newRow("title-bar close") << false;
    }
    void givingUpTheLoginAtStartEndsTheProgram()
    {
        QFETCH(bool, viaCancel);
        Run run;
        test::onNextModal([viaCancel](QWidget *modal) {
            auto *login = qobject_cast<TFrmyhdl *>(modal);
            if (viaCancel)
                QTest::mouseClick(login->btnexit, Qt::LeftButton);
            else
                login->close();
        });
        QVERIFY(!run.program.start());
        QVERIFY(run.program.ended());
        QCOMPARE(run.endings, 1);
        QVERIFY(!run.main().isVisible());
    }

    // What a work window reports must reach the main window's status line, not only the context.
    void theStatusLineShowsWhatTheWorkWindowReports()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        run.main().NK4Click();  // the real customer window
        QCOMPARE(run.ctx().status(), status::kAddReady);
        QCOMPARE(run.ui().text("StatusPanel0"), status::kAddReady);
    }

    void missingDatabaseEndsStartWithTheEngineError()
    {
        test::ScriptedMessages messages;
        messages.allowErrors();
        QTemporaryDir empty;
        Program program(empty.path());
        int endings = 0;
        program.setEndHandler([&] { ++endings; });
        QVERIFY(!program.start());
        QCOMPARE(endings, 1);
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        QCOMPARE(messages.shown[0].caption, QString("维修管理系统"));
    }

    void artworkDecodesAndThemesComeFromTheProgramDirectory()
    {
        test::TempProgramDir dir;
        QFile theme(dir.path() + "OneBlue.sui");
        QVERIFY(theme.open(QIODevice::WriteOnly));
        theme.write("QFrame#workArea { background: #DAE4F6; }");
        theme.close();
        TFrmMain_wxgl main(dir.path(), {});
        for (const char *art : {":/art/login.jpg", ":/art/about.jpg", ":/art/background.jpg"}) {
            QImage image(art);
            QVERIFY2(!image.isNull(), art);
            QVERIFY(image.width() >= 180);
        }
        QVERIFY(main.styleSheet().isEmpty());  // msn.sui is missing: default look
        QVERIFY(main.workArea()->styleSheet().contains("#DAE4F6"));
    }

    void theProgramRunsTwiceInOneProcess()
    {
        for (int i = 0; i < 2; ++i) {
            Run run;
            QVERIFY(run.startAs("管理员", "385920"));
            QCOMPARE(run.ctx().session.AppDir, run.dir.path());
            run.main().Tbtn11Click();
            QCOMPARE(run.endings, 1);
        }
    }

    void typingKeptByTheUserKeepsItsWindowAndTheProgram()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        run.main().NK4Click();
        QWidget *customers = run.main().currentWorkWindow();
        test::WindowDriver{customers}.type("edit2", "张三");
        test::ScriptedMessages messages;
        messages.answers = {false, false, false, true};
        QVERIFY(!run.main().FrmClose());
        run.main().NK5Click();
        run.main().Tbtn11Click();
        QCOMPARE(run.main().currentWorkWindow(), customers);
        QCOMPARE(run.endings, 0);
        run.main().close();
        QCOMPARE(run.endings, 1);
        QCOMPARE(messages.texts(), QStringList(4, ui::kDropChanges));
    }
};

class TestLogoutAndCommands : public QObject {
    Q_OBJECT
private slots:
    void init() { setWorkWindowOverride([](WorkWindowKind k, AppContext &c, QWidget *p) -> QWidget * {
        return new StandInWindow(c, k, p);
    }); }
    void cleanup() { setWorkWindowOverride({}); }

    void logoutHidesTheWorkAreaAndLeavesOnlyTheUserCommands()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        run.main().NK4Click();
        QPointer<QWidget> open = run.main().currentWorkWindow();
        QVERIFY(open && open->isVisible());
        run.main().Tbtn2Click();
        QVERIFY(!run.main().workArea()->isVisible());
        QVERIFY(open);  // still there, unseen
        QVERIFY(!open->isVisible());
        for (const char *t : {"Tbtn1", "Tbtn9", "Tbtn10", "Tbtn11"})
            QVERIFY2(run.toolOn(t), t);
        for (const char *t : {"Tbtn2", "Tbtn4", "Tbtn6", "Tbtn7"})
            QVERIFY2(!run.toolOn(t), t);
        QVERIFY(run.itemOn("N1"));
        QVERIFY(!run.itemOn("N2"));
        QVERIFY(run.menuOn("menuUser"));
        for (const char *m : {"menuSystem", "menuBasic", "menuBusiness", "menuStock"})
            QVERIFY2(!run.menuOn(m), m);
        QVERIFY(!run.main().findChild<QWidget *>("navBar")->isEnabled());
        QCOMPARE(run.ctx().session.CurrentRole, 1);

        // Logging in again keeps the work area hidden until a command is chosen.
        test::loginWhenAsked("接单员", "640713");
        run.main().Tbtn1Click();
        QCOMPARE(run.ctx().session.CurrentRole, 2);
        QVERIFY(!run.main().workArea()->isVisible());
        QVERIFY(!run.toolOn("Tbtn4"));
        run.main().NK5Click();
        QVERIFY(!open);  // closed and destroyed by the next command
        QVERIFY(run.main().workArea()->isVisible());
    }

    void closingTheLoginAfterALogoutReturnsToTheMainWindow()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        run.main().Tbtn2Click();
        test::onNextModal([](QWidget *modal) { modal->close(); });
        run.main().Tbtn1Click();
        QCOMPARE(run.endings, 0);
        QVERIFY(run.toolOn("Tbtn1"));
        test::onNextModal([](QWidget *modal) {
            QTest::mouseClick(qobject_cast<TFrmyhdl *>(modal)->btnexit, Qt::LeftButton);
        });
        run.main().Tbtn1Click();
        QCOMPARE(run.endings, 1);
    }

    void workWindowsOpenOneAtATimeWithTheirCaptionAndPlace_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("height");
        QTest::newRow("维修信息") << int(WorkWindowKind::Wxxx) << "NK3" << "维修信息" << 386;
        QTest::newRow("备件信息") << int(WorkWindowKind::Bjxx) << "NK2" << "备件信息" << 386;
        QTest::newRow("职员信息") << int(WorkWindowKind::Jyxx) << "Nk18" << "职员信息" << 386;
        QTest::newRow("客户信息") << int(WorkWindowKind::Khxx) << "NK4" << "客户信息" << 386;
        QTest::newRow("商家信息") << int(WorkWindowKind::Sjxx) << "NK5" << "商家信息" << 386;
        QTest::newRow("待修登记") << int(WorkWindowKind::Dxdj) << "NK7" << "待修登记" << 386;
        QTest::newRow("派修登记") << int(WorkWindowKind::Pxdj) << "NK8" << "派修登记" << 378;
        QTest::newRow("修复签收") << int(WorkWindowKind::Xfdj) << "NK9" << "修复签收" << 378;
        QTest::newRow("维修结算") << int(WorkWindowKind::Qjdj) << "NK10" << "维修结算" << 386;
        QTest::newRow("备件管理") << int(WorkWindowKind::Bjgl) << "NK11" << "备件库存管理" << 386;
        QTest::newRow("工具管理") << int(WorkWindowKind::Gjgl) << "NK15" << "工具库存管理" << 386;
    }
    void workWindowsOpenOneAtATimeWithTheirCaptionAndPlace()
    {
        QFETCH(int, kind);
        QFETCH(QString, command);
        QFETCH(QString, caption);
        QFETCH(int, height);
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        run.setDeptCode("01");
        run.main().NK4Click();
        QPointer<QWidget> customers = run.main().currentWorkWindow();
        run.main().findChild<QAction *>(command)->trigger();
        QWidget *w = run.main().currentWorkWindow();
        QVERIFY(w);
        QVERIFY(!customers || w != customers.data());
        QCOMPARE(static_cast<WorkWindow *>(w)->kind(), WorkWindowKind(kind));
        QCOMPARE(w->parentWidget(), run.main().workArea());
        // Under the caption, filling the rest of the work area, never below its least size.
        const QWidget *area = run.main().workArea();
        QCOMPARE(w->geometry(), QRect(0, 24, area->width(), area->height() - 24));
        QVERIFY(w->width() >= 644 && w->height() >= height);
        QCOMPARE(run.ui().text("workAreaCaption"), caption);
        QVERIFY(run.ctx().openFlag(WorkWindowKind(kind)));
        int open = 0;
        for (int k = 0; k < kWorkWindowCount; ++k)
            open += run.ctx().openFlag(WorkWindowKind(k));
        QCOMPARE(open, 1);
        // The navigation bar runs the same command: a fresh window (a new one may take the old
        // one's address, so the old one is known gone by its guard).
        const QPointer<QWidget> previous = w;
        run.ui().click("nav" + command);
        QVERIFY(!previous);
        QCOMPARE(static_cast<WorkWindow *>(run.main().currentWorkWindow())->kind(), WorkWindowKind(kind));
    }

    void stationsNeedTheDepartmentCodeAndReReadIt()
    {
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        for (auto handler : {&TFrmMain_wxgl::NK7Click, &TFrmMain_wxgl::NK8Click, &TFrmMain_wxgl::NK9Click}) {
            messages.clear();
            (run.main().*handler)();
            QCOMPARE(messages.texts(), QStringList{kNoDeptCode});
            QVERIFY(!run.main().currentWorkWindow());
        }
        messages.clear();
        run.main().NK10Click();
        run.main().NK11Click();
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(run.ctx().openFlag(WorkWindowKind::Bjgl));

        run.setDeptCode("07", "", "12");
        run.main().NK7Click();
        QVERIFY(run.ctx().openFlag(WorkWindowKind::Dxdj));
        QCOMPARE(run.ctx().session.DeptCode, QString("07"));
        QCOMPARE(run.ctx().session.PendingAlarmHours, QString());
        QCOMPARE(run.ctx().session.DispatchAlarmHours, QString("12"));
        run.setDeptCode("03");
        run.main().NK9Click();
        QCOMPARE(run.ctx().session.DeptCode, QString("03"));
        QCOMPARE(run.ctx().session.PendingAlarmHours, QString("24"));
    }

    void helpOpensTheHelpFileOnlyWhenPresent()
    {
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        messages.clear();
        QStringList opened;
        setDesktopOpener([&](const QString &p) { opened << p; });
        run.main().N10Click();
        QVERIFY(opened.isEmpty());
        QCOMPARE(messages.texts(), QStringList{" 找不到帮助文件“" + run.dir.path() + "help/index.html”，请检查。 "});
        QFile help(run.dir.path() + "help.chm");
        QVERIFY(help.open(QIODevice::WriteOnly));
        help.close();
        run.ui().click("Tbtn10");
        QCOMPARE(opened, QStringList{run.dir.path() + "help.chm"});
        setDesktopOpener({});
    }

    void aboutShowsItsWindowAndClosesWithOk()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        QString title;
        test::onNextModal([&title](QWidget *modal) {
            title = modal->windowTitle();
            test::WindowDriver{modal}.click("btnok");
        });
        run.main().N9Click();
        QCOMPARE(title, QString("关于系统"));
    }

    void exitAndClosingTheMainWindowEndTheProgram()
    {
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        run.main().close();
        QCOMPARE(run.endings, 1);
    }

};

class TestPasswordAndBackup : public QObject {
    Q_OBJECT
private slots:
    void newPasswordChecks_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("empty") << "  " << "abcdef" << "“修改口令”不能为空,请重输。 " << "edit1";
        QTest::newRow("empty confirmation") << "abcdef" << "" << "“确认口令”不能为空,请重输。 " << "edit2";
        QTest::newRow("five letters") << "abcde" << "abcde" << "修改口令应不少于6位,请重输。 " << "edit1";
        QTest::newRow("two Chinese characters") << "口令" << "口令" << "修改口令应不少于6位,请重输。 " << "edit1";
        QTest::newRow("last letter differs") << "abcdef" << "abcdeg" << "确认口令与修改口令不一致,请重输。 " << "edit2";
        QTest::newRow("trailing blank differs") << "abcdef" << "abcdef " << "确认口令与修改口令不一致,请重输。 "
                                                << "edit2";
        QTest::newRow("three Chinese characters") << "新口令" << "新口令" << "修改口令成功！ " << "";
        QTest::newRow("blanks count") << "ab  cd" << "ab  cd" << "修改口令成功！ " << "";
    }
    void newPasswordChecks()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        messages.clear();
        Tfrmxgkl change(run.ctx());
        change.show();
        QVERIFY(QTest::qWaitForWindowActive(&change));
        QCOMPARE(change.GroupBox1->title(), QString("当前用户为“管理员”，修改其口令请输入："));
        change.edit1->setText(first);
        change.edit2->setText(second);
        QTest::mouseClick(change.btnok, Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{message});
        const QString stored = run.ctx().db().scalar("select yhmm from yhb where yhmc='管理员'");
        if (focus.isEmpty()) {
            QCOMPARE(stored, first);
            QVERIFY(!change.isVisible());
        } else {
            QCOMPARE(stored, QString("385920"));
            QCOMPARE(test::WindowDriver::focused(), focus);
        }
    }

    void nextLoginNeedsTheNewPassword()
    {
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("接单员", "640713"));
        Tfrmxgkl change(run.ctx());
        change.edit1->setText("qwerty");
        change.edit2->setText("qwerty");
        change.btnokClick();
        run.main().Tbtn2Click();
        TFrmyhdl login(run.main());
        login.ComboBox1->setEditText("接单员");
        login.Edit1->setText("640713");
        login.btnokClick();
        QVERIFY(!login.loggedIn());
        QCOMPARE(messages.last(), QString(" 管理员的默认登陆口令为385920，接单员的默认登陆口令为640713，请重输。 "));
        login.Edit1->setText("qwerty");
        login.btnokClick();
        QVERIFY(login.loggedIn());
    }

    void vanishedUserIsReportedAndNothingWritten()
    {
        test::ScriptedMessages messages;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        messages.clear();
        run.ctx().session.CurrentUserName = "离职员";
        Tfrmxgkl change(run.ctx());
        change.edit1->setText("abcdef");
        change.edit2->setText("abcdef");
        change.btnokClick();
        QCOMPARE(messages.texts(), QStringList{" 不存在“离职员”用户，请检查。 "});
        QCOMPARE(run.ctx().db().scalar("select count(*) from yhb where yhmm='abcdef'"), QString("0"));
    }

    void backupMakesOneDatedCopyPerDay()
    {
        test::ScriptedMessages messages;
        messages.answers << true << true << true;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        messages.clear();
        const QString folder = run.dir.path() + "DataBak";
        QVERIFY(!QDir(folder).exists());
        {
            test::FixedClock clock(test::at(2005, 3, 5, 9, 7, 3));
            run.main().Tbtn7Click();
            QCOMPARE(messages.shown[0].kind, MessageKind::Confirmation);
            QCOMPARE(messages.shown[0].text,
                     "数据库文件将备份到目录 “ " + run.dir.path() + "DataBak ” 中,您确定要备份数据吗？ ");
            QCOMPARE(messages.last(), QString(" 数据库文件备份成功！ "));
            QVERIFY(QFile::exists(folder + "/KORV_20050305.MDB"));

            // A later backup on the same day replaces the first, holding the newer data.
            run.ctx().db().exec("insert into bmb(bmdh, bmmc) values ('01', '家电部')");
            run.main().Tbtn7Click();
            QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"KORV_20050305.MDB"});
            Database copy(folder + "/KORV_20050305.MDB");
            QCOMPARE(copy.scalar("PRAGMA integrity_check"), QString("ok"));
            QCOMPARE(copy.scalar("select bmmc from bmb"), QString("家电部"));
        }
        test::FixedClock nextDay(test::at(2005, 3, 6, 8));
        run.main().Tbtn7Click();
        QCOMPARE(QDir(folder).entryList(QDir::Files),
                 QStringList({"KORV_20050305.MDB", "KORV_20050306.MDB"}));
    }

    void cancelledBackupDoesNothing()
    {
        test::ScriptedMessages messages;
        messages.answers << false;
        Run run;
        QVERIFY(run.startAs("管理员", "385920"));
        messages.clear();
        run.main().Tbtn7Click();
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(!QDir(run.dir.path() + "DataBak").exists());
    }

    void backupPathRule()
    {
        QVERIFY(isValidBackupPath("/srv/shop/DataBak/KORV_20050305.MDB"));
        QVERIFY(!isValidBackupPath("relative/DataBak/KORV_20050305.MDB"));
        QVERIFY(isValidBackupPath("/" + QString(247, 'a')));
        QVERIFY(!isValidBackupPath("/" + QString(248, 'a')));
        QVERIFY(!isValidBackupPath("/" + QString(124, QChar(0x7EF4))));  // 维 counts two
        QVERIFY(isValidBackupPath("/" + QString(123, QChar(0x7EF4))));
    }

    void tooLongProgramPathIsRefused()
    {
        test::ScriptedMessages messages;
        messages.answers << true;
        QTemporaryDir base;
        QString deep = base.path();
        while (deep.size() < 250)
            deep += "/" + QString(40, 'd');
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(createDatabaseFileIfAbsent(deep + "/korv.mdb"));
        Program program(deep);
        program.setEndHandler([] {});
        test::loginWhenAsked("管理员", "385920");
        QVERIFY(program.start());
        messages.clear();
        program.mainWindow()->Tbtn7Click();
        QCOMPARE(messages.shown.size(), 2);
        QCOMPARE(messages.shown[1].kind, MessageKind::Plain);
        QCOMPARE(messages.shown[1].text, QString("文件/目录的路径无效"));
        QVERIFY(QDir(deep + "/DataBak").entryList(QDir::Files).isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestStartAndLogin, TestLogoutAndCommands, TestPasswordAndBackup>(argc, argv);
}

#include "test_shell.moc"
