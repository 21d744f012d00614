// Nothing is reported done that was not done: the receipt count, the spare-part issue, money
// boxes, windows going away with the focus in a watched box, and time stamps nobody changed.
#include "common/AppContext.h"
#include "common/DatePicker.h"
#include "common/ExitWatcher.h"
#include "common/FocusHighlight.h"
#include "common/NumberBoxes.h"
#include "common/Printers.h"
#include "common/WorkWindow.h"
#include "data/Database.h"
#include "data/Query.h"
#include "inventory/Stock.h"
#include "query_print/mldy.h"
#include "repair/Receipt.h"
#include "repair/Udxdj.h"
#include "repair/Upxdj.h"
#include "repair/Uwxll.h"
#include "repair/Uxfdj.h"
#include "shell/Umain.h"
#include "shell/Uxgkl.h"
#include "shell/Uyhdl.h"
#include "shell/WorkWindows.h"
#include "support/Orders.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QTemporaryDir>
#include <QTest>

using namespace korv;
using test::orderColumn;

namespace {

const QString kStale = StaleRecordError::message();
const QString kAboveStock = " 领取备件的数量不能大于库存数量！ ";

// A shop with an administrator, a repairman, two spare parts and a fixed clock.
struct Shop {
    test::FixedClock clock{test::at(2024, 5, 10, 10, 0, 0)};
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    test::ScriptedMessages messages;

    Shop()
    {
        ctx.session.CurrentRole = 1;
        ctx.session.DeptCode = "01";
        db.exec("insert into jyb (jymc) values ('李四')");
        db.exec("insert into bjkc (bh, bjmc, dw, sl) values ('000001', '电容', '个', 5)");
        db.exec("insert into bjkc (bh, bjmc, dw, sl) values ('000002', '电阻', '只', null)");
    }
    QString stock(const QString &bh) { return db.firstValue("select sl from bjkc where bh=?1", {bh}).value_or("gone"); }
    QString order(const QString &wxdh, const QString &column) { return orderColumn(db, wxdh, column); }
    int orderCount() { return db.scalar("select count(*) from jjdb").toInt(); }
};

// Focus only really moves inside an active top-level window.
bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// The boxes of a window that run a handler when the focus leaves them.
QList<QWidget *> watchedBoxes(QWidget *window)
{
    QList<QWidget *> boxes;
    for (ExitWatcher *watcher : window->findChildren<ExitWatcher *>())
        boxes << qobject_cast<QWidget *>(watcher->parent());
    return boxes;
}

// Whether a ProbeWindow's handler ran, and on a window whose destructor had begun.
QStringList g_probeRuns;
bool g_probeDestroyed = false;

// A window whose leaving handler touches a member that its own destructor has already destroyed.
class ProbeWindow : public WorkWindow {
public:
    ProbeWindow(AppContext &ctx, QWidget *parent) : WorkWindow(ctx, WorkWindowKind::Bjgl, parent)
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(box);
        layout->addWidget(new QLineEdit(this));
        onExit(box, this, &ProbeWindow::boxExit);
    }
    ~ProbeWindow() override { g_probeDestroyed = true; }
    void boxExit()
    {
        g_probeRuns << (g_probeDestroyed ? "ran on a destroyed window" : "ran");
        left->append("left");
    }

    QLineEdit *box = new QLineEdit(this);
    std::unique_ptr<QStringList> left = std::make_unique<QStringList>();
};

// A program directory with the themes and a department code, for main windows of tests.
struct ProgramDir : test::TempProgramDir {
    ProgramDir()
    {
        for (const char *theme : {"msn.sui", "OneBlue.sui"})
            QFile::copy(QFINDTESTDATA(QString("../resources/themes/") + theme), path() + theme);
        Database db(dbPath());
        db.exec("insert into csszb (bmdh) values ('01')");
        // A name that is taken, so that a merchant handler which still ran would say so.
        db.exec("insert into sjjbxx (bh, sjmc) values ('000001', '甲')");
    }
};

// The main window's commands, one for each work window.
const QList<void (TFrmMain_wxgl::*)()> kCommands = {
    &TFrmMain_wxgl::NK3Click, &TFrmMain_wxgl::NK2Click, &TFrmMain_wxgl::Nk18Click, &TFrmMain_wxgl::NK4Click,
    &TFrmMain_wxgl::NK5Click, &TFrmMain_wxgl::NK10Click, &TFrmMain_wxgl::NK11Click, &TFrmMain_wxgl::NK15Click,
    &TFrmMain_wxgl::NK7Click, &TFrmMain_wxgl::NK8Click, &TFrmMain_wxgl::NK9Click};

}  // namespace

// 收据's print count is raised on the order the preview shows, or on nothing at all.
class TestReceiptCount : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setPrinterChoice({}); }

    void receiptOfAnOrderDeletedMeanwhilePrintsNothingAndAddsNoRow()
    {
        QTemporaryDir out;
        const QString printed = out.filePath("printer.pdf");
        setPrinterChoice({PrinterChoice::Mode::PdfFile, printed});
        Shop shop;
        test::insertOrder(shop.db, {{"wxdh", "01000001"}, {"xm", "张三"}, {"cpmc", "彩电"}, {"dj", "50.00"}});
        QPointer<TmldyForm> form = repair::showReceipt(shop.db, "01000001");
        QVERIFY(form);
        shop.db.exec("delete from jjdb");
        test::WindowDriver{form}.click("Tbtn8");
        QCOMPARE(shop.messages.texts(), QStringList{kStale});
        QVERIFY(!QFile::exists(printed));
        QCOMPARE(shop.orderCount(), 0);
        delete form;
    }
};

// Stock changes computed by the database, and an issue that lands in stock and order together.
class TestStockIssue : public QObject {
    Q_OBJECT
private slots:
    void quantityChangesFromTheStoredQuantityNeverBelowZero_data()
    {
        QTest::addColumn<QString>("bh");
        QTest::addColumn<qint64>("delta");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("stored");
        using C = stock::StockChange;
        QTest::newRow("out") << "000001" << qint64(-2) << int(C::Done) << "3";
        QTest::newRow("all of it") << "000001" << qint64(-5) << int(C::Done) << "0";
        QTest::newRow("one too many") << "000001" << qint64(-6) << int(C::Short) << "5";
        QTest::newRow("in") << "000001" << qint64(4) << int(C::Done) << "9";
        QTest::newRow("in on empty") << "000002" << qint64(3) << int(C::Done) << "3";
        QTest::newRow("out of empty") << "000002" << qint64(-1) << int(C::Short) << "";
        QTest::newRow("gone") << "000009" << qint64(-1) << int(C::Gone) << "gone";
    }
    void quantityChangesFromTheStoredQuantityNeverBelowZero()
    {
        QFETCH(QString, bh);
        QFETCH(qint64, delta);
        QFETCH(int, result);
        QFETCH(QString, stored);
        Shop shop;
        QCOMPARE(int(stock::changeQuantity(shop.db, bh, delta)), result);
        QCOMPARE(shop.stock(bh), stored);
    }

    // Another copy of the program took parts meanwhile: the issue counts from what is stored.
    void issueTakesFromTheStoredQuantityNotTheListsCopy()
    {
        Shop shop;
        TFrmwxll w(shop.ctx);
        w.show();
        test::WindowDriver ui{&w};
        shop.db.exec("update bjkc set sl = 4 where bh = '000001'");
        shop.messages.answers = {true};
        ui.setText("suiSpinEdit1", "3");
        ui.click("btnbjck");
        QCOMPARE(shop.stock("000001"), "1");
        QCOMPARE(ui.cell("DBGrid1", 0, 5), "1");
        ui.click("btnbjck");
        QCOMPARE(shop.messages.last(), kAboveStock);
        QCOMPARE(shop.stock("000001"), "1");
        QCOMPARE(w.issueText(), "电容(000001)3个");
    }

    // The order gone behind the dispatch window: the stock is not lowered either.
    void stockAndIssueTextStandOrFallTogether()
    {
        Shop shop;
        test::insertOrder(shop.db, {{"wxdh", "01000005"}, {"wxzt", "1"}, {"cpmc", "冰箱"}, {"wxry", "李四"},
                                    {"jxsj", "2024-05-09 08:30:00"}});
        TFrmpxdj dispatch(shop.ctx);
        dispatch.show();
        test::WindowDriver(&dispatch).clickRow("DBGrid2", 0);
        QStringList seen;
        shop.messages.answers = {true, true};
        test::onNextModal([&](QWidget *modal) {
            test::WindowDriver ui{modal};
            ui.setText("suiSpinEdit1", "2");
            ui.click("btnbjck");
            seen << shop.stock("000001") << shop.order("01000005", "ylbj");
            shop.db.exec("update jjdb set ylbj = '电阻(000002)1只' where wxdh = '01000005'");
            ui.click("btnbjck");
            seen << shop.stock("000001") << shop.messages.last() << ui.text("Memo1");
            ui.click("btnprint");
        });
        test::WindowDriver(&dispatch).click("btnlqbj");
        QCOMPARE(seen, (QStringList{"3", "电容(000001)2个", "3", kStale, "电阻(000002)1只"}));
        QCOMPARE(shop.order("01000005", "ylbj"), "电阻(000002)1只");
        QCOMPARE(dispatch.ADOQuery2->asString("ylbj"), "电阻(000002)1只");
    }
};

// Money boxes never hold a text without a digit once left, so no save stores one.
class TestMoneyText : public QObject {
    Q_OBJECT
private slots:
    void aBoxHoldingNoDigitShowsZeroOnceLeft_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        for (const char *typed : {"", "-", ".", "-.", " "})
            QTest::newRow(typed) << typed << "0.00";
        QTest::newRow("-.5") << "-.5" << "-0.50";
        QTest::newRow("5.") << "5." << "5.00";
    }
    void aBoxHoldingNoDigitShowsZeroOnceLeft()
    {
        QFETCH(QString, typed);
        QTEST(MoneyEdit::formatted(typed), "shown");
    }

    // Record windows' buttons take no focus, so a click on them is no leaving of the box.
    void aButtonThatTakesNoFocusSeesANumber()
    {
        QWidget form;
        auto *box = new MoneyEdit(&form);
        auto *save = new QPushButton("保存", &form);
        save->setFocusPolicy(Qt::NoFocus);
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(box);
        layout->addWidget(save);
        QString seen;
        QObject::connect(save, &QPushButton::clicked, [&] { seen = box->text(); });
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        box->setFocus();
        QTest::keyClick(box, '-');
        QTest::mouseClick(save, Qt::LeftButton);
        QCOMPARE(seen, "0.00");
    }
};

// A window going away, or the program ending, with the focus in a box that has a leaving handler.
class TestWindowsGoingAway : public QObject {
    Q_OBJECT
private slots:
    // Work windows live inside the main window: the focus leaves a box of theirs when the box
    // goes, not when a top-level window is deactivated.
    void aHandlerNeverRunsOnAWindowBeingDestroyedOrClosed()
    {
        Shop shop;
        QWidget host;
        new QLineEdit(&host);
        QVERIFY(showActive(&host));
        g_probeRuns.clear();
        g_probeDestroyed = false;
        auto *window = new ProbeWindow(shop.ctx, &host);
        window->show();
        window->box->setFocus();
        QVERIFY(window->box->hasFocus());
        delete window;
        QCOMPARE(g_probeRuns, QStringList());

        g_probeDestroyed = false;
        window = new ProbeWindow(shop.ctx, &host);
        window->show();
        window->box->setFocus();
        window->close();
        QCOMPARE(g_probeRuns, QStringList());
        delete window;
    }

    void everyWorkWindowGoesAwayWithTheFocusInEachWatchedBox()
    {
        Shop shop;
        shop.db.exec("insert into sjjbxx (bh, sjmc) values ('000001', '甲')");
        QWidget host;
        host.resize(1000, 700);
        QVERIFY(showActive(&host));
        int watched = 0;
        for (int k = 0; k < kWorkWindowCount; ++k) {
            for (int i = 0;; ++i) {
                QWidget *window = createWorkWindow(WorkWindowKind(k), shop.ctx, &host);
                if (!window)
                    break;
                window->show();
                const QList<QWidget *> boxes = watchedBoxes(window);
                if (i < boxes.size()) {
                    test::WindowDriver(window).type(boxes[i]->objectName(), "甲");
                    QVERIFY2(boxes[i]->hasFocus(), qPrintable(window->objectName()));
                    ++watched;
                }
                delete window;
                if (i + 1 >= boxes.size())
                    break;
            }
        }
        QVERIFY(watched >= 9);
        QCOMPARE(shop.messages.texts(), QStringList());
    }

    void endingTheProgramWithTheFocusInAWatchedBox()
    {
        test::ScriptedMessages messages;
        ProgramDir dir;
        int watched = 0;
        for (auto command : kCommands) {
            auto main = std::make_unique<TFrmMain_wxgl>(dir.path(), [] {});
            QVERIFY(showActive(main.get()));
            (main.get()->*command)();
            QWidget *window = main->currentWorkWindow();
            const QList<QWidget *> boxes = window ? watchedBoxes(window) : QList<QWidget *>();
            if (boxes.isEmpty())
                continue;
            test::WindowDriver(window).type(boxes.last()->objectName(), "甲");
            QVERIFY(boxes.last()->hasFocus());
            ++watched;
            main.reset();
        }
        QVERIFY(watched >= 4);
        QCOMPARE(messages.texts(), QStringList());
    }
};

// What a form loads for correcting an order is saved back unchanged unless the user changed it.
class TestUnchangedValues : public QObject {
    Q_OBJECT
private slots:
    void savingRightAfterOpeningKeepsTheIntakeRemark_data()
    {
        QTest::addColumn<int>("station");
        QTest::newRow("dispatch") << 1;
        QTest::newRow("sign-off") << 2;
    }
    void savingRightAfterOpeningKeepsTheIntakeRemark()
    {
        QFETCH(int, station);
        Shop shop;
        test::insertOrder(shop.db, {{"wxdh", "01000001"}, {"wxzt", QString::number(station - 1)}, {"cpmc", "彩电"},
                                    {"wxry", "李四"}, {"bz", "费用超500元先电话确认"}});
        std::unique_ptr<QWidget> w;
        if (station == 1)
            w = std::make_unique<TFrmpxdj>(shop.ctx);
        else
            w = std::make_unique<TFrmxfdj>(shop.ctx);
        w->show();
        test::WindowDriver ui{w.get()};
        if (station == 1)
            ui.setText("ComboBox1", "李四");
        ui.click("btnsave");
        QCOMPARE(shop.order("01000001", "wxzt"), QString::number(station));
        QCOMPARE(shop.order("01000001", "bz"), "费用超500元先电话确认");
        if (station == 1)
            QCOMPARE(shop.order("01000001", "jxsj"), "2024-05-10 10:00:00");
    }

    void correctionsKeepTheStoredTimeStamps_data()
    {
        QTest::addColumn<int>("station");
        QTest::addColumn<QString>("column");
        QTest::newRow("intake") << 0 << "jjrq";
        QTest::newRow("dispatch") << 1 << "jxsj";
        QTest::newRow("sign-off") << 2 << "qssj";
    }
    void correctionsKeepTheStoredTimeStamps()
    {
        QFETCH(int, station);
        QFETCH(QString, column);
        Shop shop;
        const QString stamp = "2024-05-09 08:30:15";
        test::insertOrder(shop.db, {{"wxdh", "01000001"}, {"wxzt", QString::number(station)}, {"cpmc", "彩电"},
                                    {"xm", "张三"}, {"jjy", "李四"}, {"wxry", "李四"}, {"xlqk", "修好"},
                                    {column, stamp}});
        std::unique_ptr<QWidget> w;
        if (station == 0)
            w = std::make_unique<TFrmdxdj>(shop.ctx);
        else if (station == 1)
            w = std::make_unique<TFrmpxdj>(shop.ctx);
        else
            w = std::make_unique<TFrmxfdj>(shop.ctx);
        w->show();
        test::WindowDriver ui{w.get()};
        if (station == 0)
            ui.click("btnedit");
        else
            ui.clickRow("DBGrid2", 0);
        ui.click("btnsave");
        QCOMPARE(shop.order("01000001", column), stamp);
    }
};

// What the user sees: the focus colour on date pickers under the themes, "*" in password boxes.
class TestConformance : public QObject {
    Q_OBJECT
private slots:
    void datePickersShowTheFocusColourInTheThemedWorkArea_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("picker");
        QTest::newRow("intake, purchase date") << 8 << "Date1";
        QTest::newRow("intake, last repair date") << 8 << "date2";
        QTest::newRow("employees, birth date") << 2 << "Date1";
    }
    void datePickersShowTheFocusColourInTheThemedWorkArea()
    {
        QFETCH(int, command);
        QFETCH(QString, picker);
        test::ScriptedMessages messages;
        ProgramDir dir;
        TFrmMain_wxgl main(dir.path(), [] {});
        main.resize(1024, 768);
        QVERIFY(showActive(&main));
        (main.*kCommands[command])();
        auto *box = test::WindowDriver(main.currentWorkWindow()).find<DatePicker>(picker);
        box->setFocus();
        QVERIFY(box->hasFocus());
        const QImage seen = box->grab().toImage();
        QCOMPARE(seen.pixelColor(seen.width() - 30, seen.height() / 2), FocusHighlight::kFocusColor);
    }

    void passwordBoxesShowAStarForEachCharacter()
    {
        Shop shop;
        Tfrmxgkl change(shop.ctx);
        TFrmMain_wxgl main(shop.dir.path(), [] {});
        TFrmyhdl login(main);
        QList<QLineEdit *> boxes = {login.Edit1};
        for (const char *name : {"edit1", "edit2"})
            boxes << test::WindowDriver(&change).find<QLineEdit>(name);
        for (QLineEdit *box : boxes) {
            box->setText("ab中3");
            QCOMPARE(box->displayText(), "****");
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestReceiptCount, TestStockIssue, TestMoneyText, TestWindowsGoingAway,
                                TestUnchangedValues, TestConformance>(argc, argv);
}

#include "test_safety.moc"
