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

// Ninety rows in every table a work window lists (thirty orders in each state): more than a
// tall list shows.
void fillShop(Database &db)
{
    const char *const rows[] = {
        "csszb (bmdh, bjqx, bjqx2) select '01', 24, 48 from n where i = 1",
        "khjbxx (bh, khmc, lxdh, dz) select printf('%06d', i), '国美电器文三路店' || i, '0571-8888' || i, ?1 from n",
        "sjjbxx (bh, sjmc, lxdh, dz) select printf('%06d', i), '国美电器文三路店' || i, '0571-8888' || i, ?1 from n",
        "cpjbxx (bh, cpmc, cppp, cpxh) select printf('%06d', i), '电视机', '长虹', 'LT42710FHD' from n",
        "bjjbxx (bh, bjmc, bjxh) select printf('%06d', i), '高压包' || i, 'BSC25' from n",
        "jyb (jymc, jtzz) select '职员' || i, ?1 from n",
        "bjkc (bh, bjmc, sl, pjdj) select printf('%06d', i), '高压包', 10, '35.00' from n",
        "gjkc (bh, gjmc, syzt) select printf('%03d', i), '万用表', '在库' from n",
        "jjdb (wxdh, wxzt, cpmc, xm, dz, jjrq, jxsj) select printf('01%06d', i), i % 3, '电视机', '张三', ?1, "
        "'2025-06-01 09:00:00', '2025-06-01 10:00:00' from n",
    };
    db.exec("delete from csszb");
    for (const QString insert : rows)
        db.run("with recursive n(i) as (select 1 union all select i + 1 from n where i < 90) insert into " + insert,
               insert.contains("?1") ? QStringList{kLongAddress} : QStringList{});
}

// A visible control outside its parent or the window, or a container smaller than its layout
// needs (its controls then squeezed below their least sizes): the first one found, if any.
QString cutControl(QWidget *window)
{
    QList<QWidget *> controls = window->findChildren<QWidget *>();
    controls.prepend(window);
    for (QWidget *c : std::as_const(controls)) {
        if (c != window && (c->isWindow() || !c->isVisibleTo(window)))
            continue;
        const QSize least = c->layout() ? c->layout()->totalMinimumSize() : QSize();
        const bool outside = c != window && (!window->rect().contains(QRect(c->mapTo(window, QPoint()), c->size())) ||
                                             !c->parentWidget()->rect().contains(c->geometry()));
        if (outside || c->width() < least.width() || c->height() < least.height())
            return c->objectName() + " " + c->metaObject()->className();
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

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
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
        settle();
        QWidget *w = main_->currentWorkWindow();
        QVERIFY(w);
        // What the window needs fits the screen: nothing pushed the main window past it.
        QCOMPARE(main_->size(), screen);
        QWidget *area = main_->workArea();
        QCOMPARE(w->geometry(), QRect(0, 24, area->width(), area->height() - 24));
        QVERIFY(w->width() >= 644 && w->height() >= height);
        const QString cut = cutControl(w);
        QVERIFY2(cut.isEmpty(), qPrintable(cut));
        const QList<ui::DBGrid *> grids = w->findChildren<ui::DBGrid *>();
        QVERIFY(!grids.isEmpty());
        for (const ui::DBGrid *grid : grids) {
            QVERIFY2(grid->model()->rowCount() >= 30, qPrintable(grid->objectName()));
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
        settle();
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

    // `rows` customers with a short address, but for the rows listed in `longAt`.
    void showCustomers(int rows, const QString &longAt, const QString &longText = kLongAddress)
    {
        db->run(QString("with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) insert into "
                        "khjbxx (bh, khmc, dz) select printf('%06d', i), '张三', "
                        "case when i in (%2) then ?1 else '杭州' end from n")
                    .arg(rows - 1)
                    .arg(longAt),
                {longText});
        query_ = std::make_unique<Query>(*db);
        query_->setSql("select * from khjbxx order by bh");
        window_ = std::make_unique<QWidget>();
        grid_ = new ui::DBGrid(window_.get());
        (new QVBoxLayout(window_.get()))->addWidget(grid_);
        grid_->setColumns({{"bh", "编号", 60}, {"dz", "地址", 80}, {"khmc", "客户名称", 90}});
        grid_->setQuery(query_.get());
        query_->Open();
        window_->resize(640, 400);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

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
        showCustomers(400, "3, 300");
        QVERIFY(grid_->columnWidth(1) > grid_->fontMetrics().horizontalAdvance(kLongAddress));
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
        showCustomers(5, "1", longer);
        QCOMPARE(grid_->columnWidth(1), ui::DBGrid::kFittedWidthCap);
        QCOMPARE(tooltipOver(1, 1), longer);
        QCOMPARE(tooltipOver(0, 1), QString());  // a text that fits has none
    }

    void aWidthTheUserGaveAColumnOutlivesReopening()
    {
        showCustomers(5, "-1");
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
