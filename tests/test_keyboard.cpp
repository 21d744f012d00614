// The keyboard as a counter uses it: Enter on buttons, typed dates; and the preview's PDF names
// and the help command.
#include "common/AppContext.h"
#include "common/DatePicker.h"
#include "common/Desktop.h"
#include "common/Widgets.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/Receipt.h"
#include "repair/Uqjdj.h"
#include "repair/Urep.h"
#include "shell/HelpWindow.h"
#include "shell/Umain.h"
#include "shell/WorkWindows.h"
#include "support/Orders.h"
#include "support/Previews.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

using namespace korv;

namespace {

std::unique_ptr<report::PageSource> pages(int count)
{
    auto source = std::make_unique<report::PageSource>(QSizeF(210, 297));
    for (int i = 1; i <= count; ++i)
        source->addPage().addText(QRectF(10, 10, 100, 10), QString::number(i), report::FontSpec{}, Qt::AlignLeft);
    return source;
}

void showActive(QWidget *w)
{
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        QTest::qFail("the window never became active", __FILE__, __LINE__);
}

}  // namespace

// Enter or Return on a focused button presses it, once, in work windows and dialogs alike.
class TestButtonKeys : public QObject {
    Q_OBJECT

private slots:
    void enterOnAFocusedButtonOfAWorkWindowPressesIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }
    void enterOnAFocusedButtonOfAWorkWindowPressesIt()
    {
        QFETCH(int, key);
        test::ScriptedMessages messages;
        test::TempProgramDir dir;
        Database db(dir.dbPath());
        db.exec("insert into khjbxx(bh, khmc) values ('000001', '张三')");
        AppContext ctx(db);
        std::unique_ptr<QWidget> window(createWorkWindow(WorkWindowKind::Khxx, ctx, nullptr));
        showActive(window.get());
        test::WindowDriver ui{window.get()};
        ui.find("btnedit")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ui.find("btnedit"), Qt::Key(key));
        QVERIFY(!ui.enabled("btnedit") && ui.enabled("btnadd"));
        QCOMPARE(ui.text("edit2"), QString("张三"));
    }

    // The preview is a dialog whose commands are tool buttons. A held key presses once, so a
    // held Enter on 保存 never saves twice.
    void enterOnAToolButtonOfADialogPressesItOncePerPress()
    {
        QPointer<TmldyForm> form = showPreview(pages(3));
        showActive(form);
        auto *next = form->findChild<QToolButton *>("Btn3");
        next->setFocus(Qt::TabFocusReason);
        QTest::keyClick(next, Qt::Key_Return);
        QCOMPARE(form->currentPage(), 2);
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
        QApplication::sendEvent(next, &repeated);
        QCOMPARE(form->currentPage(), 2);
        delete form;
    }
};

// A date picker takes a typed date in one go and is left with one Tab.
class TestDateTyping : public QObject {
    Q_OBJECT

    // A box before the picker, the picker (entered with Tab) and a box after it.
    struct Form {
        QWidget window;
        QLineEdit *before = named(new QLineEdit(&window), "before");
        DatePicker *picker = named(new DatePicker(DatePicker::Kind::Date, &window), "Date1");
        QLineEdit *after = named(new QLineEdit(&window), "after");

        Form()
        {
            auto *layout = new QVBoxLayout(&window);
            layout->addWidget(before);
            layout->addWidget(picker);
            layout->addWidget(after);
            showActive(&window);
            before->setFocus();
            QTest::keyClick(before, Qt::Key_Tab);
        }
    };

private slots:
    void digitsFillYearMonthAndDayInOrder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("digits only") << "20250601" << "2025-06-01";
        QTest::newRow("hyphens") << "2025-06-01" << "2025-06-01";
        QTest::newRow("blanks") << "2025 06 01" << "2025-06-01";
        QTest::newRow("short month and day") << "2025/6/1" << "2025-06-01";
        QTest::newRow("day 31 into a short month") << "20250430" << "2025-04-30";
        QTest::newRow("year alone keeps month and day") << "2025" << "2025-01-31";
    }
    void digitsFillYearMonthAndDayInOrder()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        test::FixedClock clock(test::at(2024, 1, 31, 9, 30, 15));
        Form f;
        QVERIFY(f.picker->hasFocus());
        QTest::keyClicks(f.picker, typed);
        QTest::keyClick(f.picker, Qt::Key_Tab);
        QCOMPARE(test::WindowDriver::focused(), QString("after"));
        QCOMPARE(f.picker->dateText(), stored);
        // The time of day the picker holds is not touched by typing the date.
        QCOMPARE(f.picker->dateTimeText().mid(11), QString("09:30:15"));
    }

    // One Tab leaves; coming back with Shift+Tab typing starts at the year again; the arrows
    // step a section (Up, Down) or go to the neighbouring one (Left, Right), and digits then go
    // into the section they reached.
    void tabLeavesAndArrowsStillStep()
    {
        test::FixedClock clock(test::at(2024, 1, 15));
        Form f;
        QTest::keyClick(f.picker, Qt::Key_Tab);
        QCOMPARE(test::WindowDriver::focused(), QString("after"));
        QTest::keyClick(f.after, Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClicks(f.picker, "2023");
        QCOMPARE(f.picker->dateText(), QString("2023-01-15"));
        QTest::keyClick(f.picker, Qt::Key_Up);
        QCOMPARE(f.picker->dateText(), QString("2023-02-15"));
        QTest::keyClick(f.picker, Qt::Key_Right);
        QTest::keyClick(f.picker, Qt::Key_Down);
        QTest::keyClick(f.picker, Qt::Key_Left);
        QTest::keyClicks(f.picker, "3");
        QTest::keyClick(f.picker, Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(test::WindowDriver::focused(), QString("before"));
        QCOMPARE(f.picker->dateText(), QString("2023-03-14"));
    }
};

// 导出PDF names the file after the printout and its subject; 帮助主题 finds the guide.
class TestExportAndHelp : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> settingsDir;

private slots:
    void init()
    {
        // The remembered folder lives in the user's settings: each test gets its own.
        settingsDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir->path());
    }
    void cleanup()
    {
        TmldyForm::saveFileDialog = {};
        setDesktopOpener({});
        for (TmldyForm *form : test::openPreviews())
            delete form;
    }

    void eachPrintoutProposesItsOwnNameInTheDocumentsFolder()
    {
        test::ScriptedMessages messages;
        test::FixedClock clock(test::at(2026, 12, 9, 10, 0, 0));
        test::TempProgramDir dir;
        Database db(dir.dbPath());
        test::insertOrder(db, {{"wxdh", "01000003"}, {"wxzt", "2"}, {"xm", "张三"}, {"dj", "50.00"}});
        db.exec("insert into khjbxx(bh, khmc) values ('000001', '张三')");
        AppContext ctx(db);
        Query orders(db);
        orders.setSql("select * from jjdb order by wxdh");
        orders.Open();
        Tfrmqjdj settlement(ctx);
        settlement.show();
        std::unique_ptr<QWidget> customers(createWorkWindow(WorkWindowKind::Khxx, ctx, nullptr));
        customers->show();

        QStringList names;
        names << repair::showReceipt(db, "01000003")->proposedPdfPath()
              << repair::showRepairSheet(orders)->proposedPdfPath() << settlement.btnprintClick()->proposedPdfPath();
        cleanup();
        test::WindowDriver{customers.get()}.click("btnprint");
        names << test::openPreviews().value(0)->proposedPdfPath();
        const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QCOMPARE(names, (QStringList{documents.filePath("收据_01000003.pdf"), documents.filePath("接机单_01000003.pdf"),
                                     documents.filePath("营业单_2026-12-09.pdf"), documents.filePath("客户信息表.pdf")}));
        QCOMPARE(pdfExportName("接机单", "01/0?3"), QString("接机单_01_0_3"));
    }

    void theFolderChosenLastIsProposedNextTime()
    {
        QTemporaryDir chosen;
        QVERIFY(QDir(chosen.path()).mkdir("单据"));
        TmldyForm::saveFileDialog = [&](QWidget *, const QString &, const QString &) {
            return chosen.filePath("单据/自己起的名字");
        };
        QPointer<TmldyForm> first = showPreview(pages(1), nullptr, "收据_01000003");
        QTest::mouseClick(first->findChild<QToolButton *>("Tbtn10"), Qt::LeftButton);
        QVERIFY(QFile::exists(chosen.filePath("单据/自己起的名字.pdf")));
        delete first;
        QPointer<TmldyForm> next = showPreview(pages(1), nullptr, "接机单_01000004");
        QCOMPARE(next->proposedPdfPath(), chosen.filePath("单据/接机单_01000004.pdf"));
        delete next;
    }

    void helpShowsTheGuideInItsOwnWindowUnlessTheShopPutAHelpFileThere()
    {
        test::ScriptedMessages messages;
        test::TempProgramDir dir;
        TFrmMain_wxgl main(dir.path(), {});
        QStringList opened;
        setDesktopOpener([&](const QString &path) { opened << path; });
        QVERIFY(QDir(dir.path()).mkpath("help/img"));
        QFile page(dir.path() + "help/index.html");
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><p>第一页</p></body></html>");
        page.close();
        main.N10Click();
        auto *help = main.findChild<TFrmHelp *>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->browser()->source(), QUrl::fromLocalFile(dir.path() + "help/index.html"));
        QVERIFY(help->browser()->toPlainText().contains("第一页"));
        main.N10Click();
        QCOMPARE(main.findChildren<TFrmHelp *>().size(), 1);
        QFile chm(dir.path() + "help.chm");
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        main.N10Click();
        QCOMPARE(opened, QStringList{dir.path() + "help.chm"});
        QVERIFY(messages.shown.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestButtonKeys, TestDateTyping, TestExportAndHelp>(argc, argv);
}

#include "test_keyboard.moc"
