// The work windows and their lists on the screens shops have: 800×600, 1024×768, 1920×1080.
#include "common/AppContext.h"
#include "common/WorkWindow.h"
#include "data/Database.h"
#include "data/Query.h"
#include "shell/Umain.h"
#include "support/TestSupport.h"
#include "ui/DBGrid.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFont>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLayout>
#include <QScrollArea>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

using namespace korv;

namespace {

const QString kLongAddress = QStringLiteral("浙江省杭州市西湖区文三路国美电器文三路店二楼售后服务部");

// Thirty rows in every table a work window lists, more than a tall list shows.
void fillShop(Database &db)
{
    Transaction t(db);
    db.exec("delete from csszb");
    db.exec("insert into csszb (bmdh, bjqx, bjqx2) values ('01', 24, 48)");
    for (int i = 1; i <= 30; ++i) {
        const QString n = QString::number(i);
        const QString bh = QString("%1").arg(i, 6, 10, QChar('0'));
        for (const char *table : {"khjbxx", "sjjbxx"})
            db.run(QString("insert into %1 values (?1, ?2, '0571-88880' || ?3, '', '王先生', '', '310012', ?4)")
                       .arg(table),
                   {bh, "国美电器文三路店" + n, n, kLongAddress});
        db.run("insert into cpjbxx values (?1, '电视机', '长虹', 'LT42710FHD', '', '', '', '', '')", {bh});
        db.run("insert into bjjbxx values (?1, '高压包' || ?2, 'BSC25', '', '只', '', '')", {bh, n});
        db.run("insert into jyb (jymc, xb, lxdh, jtzz) values ('职员' || ?1, '男', '13800000000', ?2)", {n, kLongAddress});
        db.run("insert into bjkc values (?1, '高压包', 'BSC25', '25寸', '只', 10, '35.00', '350.00', '0', '0')", {bh});
        db.run("insert into gjkc values (?1, '万用表', 'MF47', '', '2024-01-01', '在库', '', '')", {bh.right(3)});
        for (int state = 0; state < 3; ++state)
            db.run("insert into jjdb (wxdh, wxzt, cpmc, lb, xm, dh, dz, gjyy, jjrq, jxsj, qssj) values "
                   "(?1, ?2, '电视机', '长虹', '张三', '0571-88880000', ?3, '开机三分钟后自动关机，有焦糊味', "
                   "'2025-06-01 09:00:00', '2025-06-01 10:00:00', '2025-06-02 10:00:00')",
                   {QString("01%1").arg(state * 100 + i, 6, 10, QChar('0')), QString::number(state), kLongAddress});
    }
    t.commit();
}

// Whether a container is smaller than its layout needs: its controls are then squeezed below
// their least sizes or pushed over its edges.
bool squeezed(const QWidget *w)
{
    if (!w->layout())
        return false;
    const QSize least = w->layout()->totalMinimumSize();
    return w->width() < least.width() || w->height() < least.height();
}

// The first visible control of `window` that is cut: outside its parent or the window, or
// squeezed by its layout; the window itself may be squeezed too.
QString cutControl(QWidget *window)
{
    if (squeezed(window))
        return QString("the window, at %1x%2").arg(window->width()).arg(window->height());
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (child->isWindow() || !child->isVisibleTo(window))
            continue;
        const QRect inWindow(child->mapTo(window, QPoint(0, 0)), child->size());
        if (!window->rect().contains(inWindow) || !child->parentWidget()->rect().contains(child->geometry()) ||
            squeezed(child))
            return QString("%1 (%2) at %3,%4 %5x%6")
                .arg(child->objectName(), child->metaObject()->className())
                .arg(inWindow.x())
                .arg(inWindow.y())
                .arg(inWindow.width())
                .arg(inWindow.height());
    }
    return QString();
}

// Rows shown whole, from the top of the list.
int rowsInSight(const ui::DBGrid *grid)
{
    int rows = 0;
    while (rows < grid->model()->rowCount() &&
           grid->rowViewportPosition(rows) + grid->rowHeight(rows) <= grid->viewport()->height())
        ++rows;
    return rows;
}

void settle(QWidget *window)
{
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
    Q_UNUSED(window);
}

}  // namespace

// One logged-in main window for the whole class, shown at each screen size in turn, with every
// work window opened through its command.
class TestScreens : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setFont(QFont("Noto Sans CJK SC", 10));  // as the program sets it
        dir_ = std::make_unique<test::TempProgramDir>();
        for (const char *theme : {"msn.sui", "OneBlue.sui"})  // the program directory ships them
            QVERIFY(QFile::copy(QFINDTESTDATA(QString("../resources/themes/") + theme), dir_->path() + theme));
        main_ = std::make_unique<TFrmMain_wxgl>(dir_->path(), [] {});
        fillShop(main_->ADOConnection1());
        main_->context().session.CurrentRole = 1;
        main_->show();
        main_->enableCommandsAfterLogin();
    }

    void cleanupTestCase()
    {
        main_.reset();
        dir_.reset();
        QApplication::setFont(QFont());
    }

    void workWindowFillsTheWorkAreaAndCutsNothing_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("height");  // the least height of the window
        QTest::addColumn<int>("rowsAtFullHd");  // rows each list shows at 1920×1080 at least
        const struct {
            const char *command;
            int height;
            int rows;
        } windows[] = {
            {"NK3", 386, 20},  {"NK2", 386, 20},  {"Nk18", 386, 20}, {"NK4", 386, 20},
            {"NK5", 386, 20},  {"NK7", 386, 20},  {"NK8", 378, 8},   {"NK9", 378, 8},
            {"NK10", 386, 20}, {"NK11", 386, 20}, {"NK15", 386, 20},
        };
        for (QSize screen : {QSize(800, 600), QSize(1024, 768), QSize(1920, 1080)})
            for (const auto &w : windows)
                QTest::addRow("%s %dx%d", w.command, screen.width(), screen.height())
                    << screen << QString(w.command) << w.height << w.rows;
    }
    void workWindowFillsTheWorkAreaAndCutsNothing()
    {
        QFETCH(QSize, screen);
        QFETCH(QString, command);
        QFETCH(int, height);
        QFETCH(int, rowsAtFullHd);
        main_->findChild<QAction *>(command)->trigger();
        main_->setWindowState(Qt::WindowNoState);
        main_->resize(screen);
        settle(main_.get());
        QWidget *w = main_->currentWorkWindow();
        QVERIFY(w);
        // What the window needs fits the screen: nothing pushed the main window past it.
        QCOMPARE(main_->size(), screen);
        QWidget *area = main_->workArea();
        QCOMPARE(w->geometry(), QRect(0, 24, area->width(), area->height() - 24));
        QVERIFY(w->width() >= 644 && w->height() >= height);
        QVERIFY(QRect(QPoint(0, 0), main_->size()).contains(QRect(area->mapTo(main_.get(), QPoint(0, 0)), area->size())));
        const QString cut = cutControl(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        const QList<ui::DBGrid *> grids = w->findChildren<ui::DBGrid *>();
        QVERIFY(!grids.isEmpty());
        for (const ui::DBGrid *grid : grids) {
            QVERIFY2(grid->model()->rowCount() >= 25, qPrintable(grid->objectName()));
            const int least = screen.height() >= 1080 ? rowsAtFullHd : 3;
            QVERIFY2(rowsInSight(grid) >= least,
                     qPrintable(QString("%1 shows %2 rows").arg(grid->objectName()).arg(rowsInSight(grid))));
        }
    }

    void everyNavigationGroupIsInSightAt1024x768()
    {
        main_->setWindowState(Qt::WindowNoState);
        main_->resize(1024, 768);
        main_->findChild<QAction *>("NK10")->trigger();
        settle(main_.get());
        auto *scroll = main_->findChild<QScrollArea *>("navScroll");
        const QRect inSight = scroll->viewport()->rect();
        int buttons = 0;
        for (QToolButton *b : scroll->widget()->findChildren<QToolButton *>()) {
            if (!b->isVisibleTo(main_.get()))
                continue;
            ++buttons;
            QVERIFY2(inSight.contains(QRect(b->mapTo(scroll->viewport(), QPoint(0, 0)), b->size())),
                     qPrintable(b->text()));
        }
        QCOMPARE(buttons, 3 + 11);  // three group headers and their commands
    }

    void mainWindowOpensMaximizedThenWhereTheUserLeftIt()
    {
        test::TempProgramDir dir;
        auto first = std::make_unique<TFrmMain_wxgl>(dir.path(), [] {});
        first->show();
        QVERIFY(first->isMaximized());
        QCOMPARE(first->size(), first->screen()->availableGeometry().size());
        first->setWindowState(Qt::WindowNoState);
        first->setGeometry(40, 30, 700, 500);
        first->endProgram();
        first.reset();
        TFrmMain_wxgl again(dir.path(), [] {});
        again.show();
        QVERIFY(!again.isMaximized());
        QCOMPARE(again.geometry(), QRect(40, 30, 700, 500));
    }

private:
    std::unique_ptr<test::TempProgramDir> dir_;
    std::unique_ptr<TFrmMain_wxgl> main_;
};

// A list over customers whose texts are longer than their columns' given widths.
class TestListTexts : public test::FreshDatabase {
    Q_OBJECT

    std::unique_ptr<QWidget> window_;
    std::unique_ptr<Query> query_;
    ui::DBGrid *grid_ = nullptr;

    // `rows` customers with a short address, but for the rows of `longAt`.
    void showCustomers(int rows, QList<int> longAt, const QString &longText = kLongAddress)
    {
        Transaction t(*db);
        for (int i = 0; i < rows; ++i)
            db->run("insert into khjbxx (bh, khmc, dz) values (?1, '张三', ?2)",
                    {QString("%1").arg(i, 6, 10, QChar('0')), longAt.contains(i) ? longText : "杭州"});
        t.commit();
        query_ = std::make_unique<Query>(*db);
        query_->setSql("select * from khjbxx order by bh");
        window_ = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window_.get());
        grid_ = new ui::DBGrid(window_.get());
        layout->addWidget(grid_);
        grid_->setColumns({{"bh", "编号", 60}, {"dz", "地址", 80}, {"khmc", "客户名称", 90}});
        grid_->setQuery(query_.get());
        query_->Open();
        window_->resize(640, 400);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    int textWidth(const QString &text) const { return grid_->fontMetrics().horizontalAdvance(text); }

    // The tooltip that resting the mouse on a cell brings up; empty when none.
    QString tooltipOver(int row, int column)
    {
        // hideText() takes its time; the tip of an earlier cell must be gone now.
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->inherits("QTipLabel"))
                top->hide();
        const QPoint at = grid_->visualRect(grid_->model()->index(row, column)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid_->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid_->viewport(), &help);
        return QToolTip::isVisible() ? QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText() : QString();
    }

private slots:
    void cleanup()
    {
        QToolTip::hideText();
        window_.reset();
        query_.reset();
    }

    void aColumnFitsTheLongestTextOfTheFirstScreenOnly()
    {
        showCustomers(400, {3, 300});
        QVERIFY(grid_->columnWidth(1) > textWidth(kLongAddress));
        QVERIFY(grid_->columnWidth(1) <= ui::DBGrid::kFittedWidthCap);
        QCOMPARE(grid_->columnWidth(0), 60);  // short texts keep the given width
        QCOMPARE(tooltipOver(3, 1), QString());
        // A long text far below the first screen leaves the column as it is.
        db->run("update khjbxx set dz='杭州' where bh='000003'");
        query_->Close();
        query_->Open();
        QCOMPARE(grid_->columnWidth(1), 80);
    }

    void aCutCellShowsItsWholeTextAsTooltip()
    {
        const QString longer = kLongAddress.repeated(4) + "（后门）";
        showCustomers(5, {1}, longer);
        QCOMPARE(grid_->columnWidth(1), ui::DBGrid::kFittedWidthCap);
        QCOMPARE(tooltipOver(1, 1), longer);
        QCOMPARE(tooltipOver(0, 1), QString());  // a text that fits has none
    }

    void aWidthTheUserGaveAColumnOutlivesReopening()
    {
        showCustomers(5, {});
        grid_->horizontalHeader()->resizeSection(2, 230);  // as a drag on the header does
        query_->Close();
        query_->Open();
        QCOMPARE(grid_->columnWidth(2), 230);
        QCOMPARE(grid_->columnWidth(1), 80);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestScreens, TestListTexts>(argc, argv);
}

#include "test_screens.moc"
