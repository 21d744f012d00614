// The data-bound list and the navigation buttons over a real encrypted database.
#include "data/Database.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QApplication>
#include <QMessageBox>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

using namespace korv;
using namespace korv::ui;

namespace {

// Closes every modal box that opens while it lives, recording caption and text.
class ModalBoxWatcher : public QObject {
public:
    ModalBoxWatcher()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                captions << box->windowTitle();
                texts << box->text();
                box->close();
            }
        });
        timer_.start(10);
    }
    QStringList captions;
    QStringList texts;

private:
    QTimer timer_;
};

const QStringList kNames{"张三", "李四", "王五", "赵六", "钱七"};

}  // namespace

// Each test starts from the grid and the navigator bound to one customer query of five rows,
// K001..K005 in that order, with the first row current.
class TestDataBoundWidgets : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QVERIFY(createDatabaseFileIfAbsent(dir_->filePath("korv.mdb")));
        db_ = std::make_unique<Database>(dir_->filePath("korv.mdb"));
        query_ = std::make_unique<Query>(*db_);
        query_->setSql("select * from khjbxx order by bh");
        query_->Open();
        for (int i : {2, 0, 4, 1, 3}) {
            query_->Append();
            query_->setText("bh", QString("K00%1").arg(i + 1));
            query_->setText("khmc", kNames[i]);
            query_->setText("lxdh", QString("0571-88%1").arg(i + 1));
            query_->Post();
        }
        query_->Close();

        window_ = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window_.get());
        layout->addWidget(nav_ = new DBNavigator(window_.get()));
        layout->addWidget(grid_ = new DBGrid(window_.get()));
        grid_->setColumns({{"bh", "编号", 70}, {"khmc", "客户名称", 110}, {"lxdh", "联系电话", 130},
                           {"nosuch", "备注", 60}});
        // Bound while closed, so the fields must be found when the query opens.
        grid_->setQuery(query_.get());
        nav_->setQuery(query_.get());
        query_->Open();
        window_->resize(480, 360);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }

    void cleanup()
    {
        qApp->setStyleSheet(QString());
        window_.reset();
        query_.reset();
        db_.reset();
        dir_.reset();
    }

    void showsQueryRowsInOrderUnderTheGivenCaptions()
    {
        const QAbstractItemModel *model = grid_->model();
        QCOMPARE(model->rowCount(), 5);
        const QStringList captions{"编号", "客户名称", "联系电话", "备注"};
        QCOMPARE(model->columnCount(), 4);
        for (int c = 0; c < 4; ++c)
            QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), captions[c]);
        for (int r = 0; r < 5; ++r) {
            QCOMPARE(cell(r, 0), QString("K00%1").arg(r + 1));
            QCOMPARE(cell(r, 1), kNames[r]);
            QCOMPARE(cell(r, 2), QString("0571-88%1").arg(r + 1));
            QCOMPARE(cell(r, 3), QString());
        }
        QCOMPARE(grid_->columnWidth(0), 70);
        QCOMPARE(grid_->columnWidth(2), 130);
        QCOMPARE(selectedRows(), QList<int>{0});
        QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    }

    void reopeningShowsRowsAddedElsewhereAndKeepsColumnWidths()
    {
        db_->exec("insert into khjbxx(bh, khmc) values ('K000', '孙八')");
        QCOMPARE(grid_->model()->rowCount(), 5);
        query_->Last();
        query_->Close();
        QCOMPARE(grid_->model()->rowCount(), 0);
        query_->Open();
        QCOMPARE(grid_->model()->rowCount(), 6);
        QCOMPARE(cell(0, 1), QString("孙八"));
        QCOMPARE(cell(5, 0), QString("K005"));
        QCOMPARE(selectedRows(), QList<int>{0});
        QCOMPARE(grid_->columnWidth(1), 110);
        QCOMPARE(grid_->columnWidth(3), 60);
    }

    void clickingARowMakesItCurrentBeforeMouseUp_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("down the list") << 0 << 3 << Qt::KeyboardModifiers();
        QTest::newRow("up to the first") << 4 << 0 << Qt::KeyboardModifiers();
        QTest::newRow("the current row") << 2 << 2 << Qt::KeyboardModifiers();
        QTest::newRow("control on the current row") << 2 << 2 << Qt::KeyboardModifiers(Qt::ControlModifier);
    }

    void clickingARowMakesItCurrentBeforeMouseUp()
    {
        QFETCH(int, start);
        QFETCH(int, clicked);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        query_->moveTo(start);
        QList<int> recNoAtMouseUp;
        connect(grid_, &DBGrid::mouseUp, this, [&] { recNoAtMouseUp << query_->RecNo(); });
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, modifiers, centreOf(clicked));
        QCOMPARE(recNoAtMouseUp, QList<int>{clicked});
        QCOMPARE(selectedRows(), QList<int>{clicked});
    }

    void doubleClickingARowMakesItCurrentBeforeDblClick()
    {
        QList<int> recNoAtDblClick;
        connect(grid_, &DBGrid::dblClick, this, [&] { recNoAtDblClick << query_->RecNo(); });
        // The order a desktop delivers a double click in: the second press precedes it.
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, centreOf(3));
        QTest::mousePress(grid_->viewport(), Qt::LeftButton, {}, centreOf(3));
        QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, centreOf(3));
        QTest::mouseRelease(grid_->viewport(), Qt::LeftButton, {}, centreOf(3));
        QCOMPARE(recNoAtDblClick, QList<int>{3});
    }

    void arrowKeysMoveTheQuery()
    {
        grid_->setFocus();
        QTest::keyClick(grid_, Qt::Key_Down);
        QTest::keyClick(grid_, Qt::Key_Down);
        QCOMPARE(query_->RecNo(), 2);
        QTest::keyClick(grid_, Qt::Key_Up);
        QCOMPARE(query_->RecNo(), 1);
        QCOMPARE(selectedRows(), QList<int>{1});
    }

    void queryMovesSelectTheGridRow_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("First") << 2 << "first" << 0;
        QTest::newRow("Last") << 0 << "last" << 4;
        QTest::newRow("Next") << 1 << "next" << 2;
        QTest::newRow("Prior") << 3 << "prior" << 2;
        QTest::newRow("Locate") << 0 << "locate K004" << 3;
        QTest::newRow("moveTo") << 4 << "move 1" << 1;
    }

    void queryMovesSelectTheGridRow()
    {
        QFETCH(int, start);
        QFETCH(QString, steps);
        QFETCH(int, expected);
        query_->moveTo(start);
        apply(steps);
        QCOMPARE(query_->RecNo(), expected);
        QCOMPARE(selectedRows(), QList<int>{expected});
        QCOMPARE(grid_->currentIndex().row(), expected);
    }

    void moveToAnOffScreenRowScrollsItIntoView()
    {
        insertMany(300);
        query_->Last();
        QVERIFY(grid_->viewport()->rect().contains(centreOf(304)));
        query_->First();
        QVERIFY(grid_->viewport()->rect().contains(centreOf(0)));
    }

    void appendedRowShowsWhileTypedWithoutModelReset()
    {
        QSignalSpy resets(grid_->model(), &QAbstractItemModel::modelReset);
        QSignalSpy inserted(grid_->model(), &QAbstractItemModel::rowsInserted);
        query_->Append();
        QCOMPARE(grid_->model()->rowCount(), 6);
        QCOMPARE(selectedRows(), QList<int>{5});
        query_->setText("khmc", "周九");
        QCOMPARE(cell(5, 1), QString("周九"));
        query_->setText("bh", "K009");
        query_->Post();
        QCOMPARE(cell(5, 0), QString("K009"));
        QCOMPARE(selectedRows(), QList<int>{5});
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(resets.count(), 0);
    }

    void deletingARowSelectsTheRecordThatTakesItsPlace_data()
    {
        QTest::addColumn<int>("deleted");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("bh");
        QTest::newRow("last row") << 4 << 3 << "K004";
        QTest::newRow("middle row") << 1 << 1 << "K003";
        QTest::newRow("first row") << 0 << 0 << "K002";
    }

    void deletingARowSelectsTheRecordThatTakesItsPlace()
    {
        QFETCH(int, deleted);
        QFETCH(int, selected);
        QFETCH(QString, bh);
        query_->moveTo(deleted);
        QSignalSpy resets(grid_->model(), &QAbstractItemModel::modelReset);
        QSignalSpy removed(grid_->model(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy moves(query_.get(), &Query::currentChanged);
        query_->Delete();
        // The grid must not push the query through other rows while the removal is under way.
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.first().first().toInt(), selected);
        QCOMPARE(selectedRows(), QList<int>{selected});
        QCOMPARE(cell(selected, 0), bh);
        QCOMPARE(grid_->model()->rowCount(), 4);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(resets.count(), 0);
    }

    void refusedWriteShowsErrorBoxAndKeepsTheRecordBeingEntered_data()
    {
        QTest::addColumn<bool>("byGrid");
        QTest::newRow("click on another row") << true;
        QTest::newRow("first button") << false;
    }

    void refusedWriteShowsErrorBoxAndKeepsTheRecordBeingEntered()
    {
        QFETCH(bool, byGrid);
        query_->Append();
        query_->setText("bh", "K002");
        ModalBoxWatcher boxes;
        if (byGrid)
            QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, centreOf(1));
        else
            QTest::mouseClick(button("nbFirst"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(boxes.captions, QStringList{"维修管理系统"});
        QVERIFY2(boxes.texts.first().contains("khjbxx.bh"), qPrintable(boxes.texts.first()));
        QCOMPARE(query_->state(), Query::State::Insert);
        QCOMPARE(query_->RecNo(), 5);
        QCOMPARE(selectedRows(), QList<int>{5});
    }

    void gridHoldsStillWhileControlsAreDisabled()
    {
        query_->DisableControls();
        query_->Last();
        query_->Delete();
        query_->Delete();
        grid_->viewport()->repaint();
        QCOMPARE(selectedRows(), QList<int>{0});
        QCOMPARE(cell(4, 0), QString());
        query_->EnableControls();
        QCOMPARE(grid_->model()->rowCount(), 3);
        QCOMPARE(selectedRows(), QList<int>{2});
    }

    void destroyingTheQueryEmptiesTheWidgets()
    {
        query_.reset();
        QCOMPARE(grid_->model()->rowCount(), 0);
        QCOMPARE(grid_->query(), nullptr);
        QVERIFY(!button("nbLast")->isEnabled());
        grid_->viewport()->repaint();
    }

    void rowBackgroundHookColoursRows()
    {
        const QColor overdue(0xFF, 0xC0, 0xC0);
        grid_->setRowBackground([&](int row) { return row == 2 ? overdue : QColor(); });
        QCOMPARE(QColor(pixelAt(centreOf(2, 3))), overdue);
        QCOMPARE(QColor(pixelAt(centreOf(3, 3))), grid_->palette().color(QPalette::Base));
    }

    void addModeLookSwitchesTheListBackground_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QColor>("background");
        const QColor adding(0xED, 0xEF, 0xF8);
        const QColor system = QApplication::palette().color(QPalette::Base);
        // Any application style sheet, as the program's themes are, changes how colours apply.
        const QString themed("QHeaderView { background-color: #E6EEFB; }");
        QTest::newRow("adding") << true << QString() << adding;
        QTest::newRow("back to browsing") << false << QString() << system;
        QTest::newRow("adding, themed") << true << themed << adding;
        QTest::newRow("back to browsing, themed") << false << themed << system;
    }

    void addModeLookSwitchesTheListBackground()
    {
        QFETCH(bool, on);
        QFETCH(QString, theme);
        QFETCH(QColor, background);
        qApp->setStyleSheet(theme);
        grid_->setAddModeLook(true);
        grid_->setAddModeLook(on);
        QCOMPARE(grid_->addModeLook(), on);
        const QRect area = grid_->viewport()->rect();
        QCOMPARE(QColor(pixelAt(QPoint(area.left() + 5, area.bottom() - 5))), background);
    }

    // Opening must cost nothing per row: only rows on screen are ever asked for, and a long
    // list shows its first rows at once and the rest as they are read.
    void openingAHugeRowSetReadsOnlyVisibleRows()
    {
        auto asked = std::make_shared<QSet<int>>();
        grid_->setRowBackground([asked](int row) {
            asked->insert(row);
            return QColor();
        });
        insertMany(200000);
        QVERIFY(grid_->model()->rowCount() < 200005);
        QTRY_COMPARE(grid_->model()->rowCount(), 200005);
        grid_->viewport()->repaint();
        QVERIFY(!asked->isEmpty());
        QVERIFY2(asked->size() < 100, qPrintable(QString::number(asked->size())));
        query_->Last();
        grid_->viewport()->repaint();
        QVERIFY(asked->contains(200004));
        QCOMPARE(cell(200004, 0), QString("M200000"));
    }

    void navigatorEnablesOnlyMovesThatGoSomewhere_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("forward");
        QTest::newRow("first row") << "first" << false << true;
        QTest::newRow("middle row") << "move 2" << true << true;
        QTest::newRow("last row") << "last" << true << false;
        QTest::newRow("empty set") << "only none" << false << false;
        QTest::newRow("single row") << "only K003" << false << false;
        QTest::newRow("only row deleted") << "only K003; delete" << false << false;
        QTest::newRow("closed") << "close" << false << false;
    }

    void navigatorEnablesOnlyMovesThatGoSomewhere()
    {
        QFETCH(QString, steps);
        QFETCH(bool, back);
        QFETCH(bool, forward);
        query_->moveTo(1);
        apply(steps);
        QCOMPARE(button("nbFirst")->isEnabled(), back);
        QCOMPARE(button("nbPrior")->isEnabled(), back);
        QCOMPARE(button("nbNext")->isEnabled(), forward);
        QCOMPARE(button("nbLast")->isEnabled(), forward);
    }

    void navigatorButtonsMoveTheCursor_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("expected");
        QTest::newRow("first") << 2 << "nbFirst" << 0;
        QTest::newRow("prior") << 2 << "nbPrior" << 1;
        QTest::newRow("next") << 2 << "nbNext" << 3;
        QTest::newRow("last") << 2 << "nbLast" << 4;
        QTest::newRow("next onto the last row") << 3 << "nbNext" << 4;
    }

    void navigatorButtonsMoveTheCursor()
    {
        QFETCH(int, start);
        QFETCH(QString, name);
        QFETCH(int, expected);
        query_->moveTo(start);
        QTest::mouseClick(button(name), Qt::LeftButton);
        QCOMPARE(query_->RecNo(), expected);
        QCOMPARE(selectedRows(), QList<int>{expected});
        QCOMPARE(button("nbNext")->isEnabled(), expected < 4);
        QCOMPARE(button("nbPrior")->isEnabled(), expected > 0);
    }

private:
    void insertMany(int count)
    {
        db_->exec(QString("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                          "insert into khjbxx(bh, khmc) select printf('M%06d', i), '客户' || i from n")
                      .arg(count));
        query_->Close();
        query_->Open();
    }

    // Steps of the data tables, joined by ';': first, last, next, prior, "move N", "locate BH",
    // "only BH" (reopen on that customer alone), delete, close.
    void apply(const QString &steps)
    {
        for (const QString &step : steps.split(';')) {
            const QString word = step.trimmed().section(' ', 0, 0);
            const QString arg = step.trimmed().section(' ', 1);
            if (word == "first")
                query_->First();
            else if (word == "last")
                query_->Last();
            else if (word == "next")
                query_->Next();
            else if (word == "prior")
                query_->Prior();
            else if (word == "move")
                query_->moveTo(arg.toInt());
            else if (word == "locate")
                QVERIFY(query_->Locate("bh", arg));
            else if (word == "only") {
                query_->setSql(QString("select * from khjbxx where bh = '%1'").arg(arg));
                query_->Open();
            } else if (word == "delete")
                query_->Delete();
            else if (word == "close")
                query_->Close();
            else
                QFAIL(qPrintable("unknown step " + step));
        }
    }

    QString cell(int row, int column) const { return grid_->model()->index(row, column).data().toString(); }
    QPoint centreOf(int row, int column = 1) const
    {
        return grid_->visualRect(grid_->model()->index(row, column)).center();
    }
    QRgb pixelAt(const QPoint &pos) const { return grid_->viewport()->grab().toImage().pixel(pos); }
    QToolButton *button(const QString &name) const { return nav_->findChild<QToolButton *>(name); }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &index : grid_->selectionModel()->selectedRows())
            rows << index.row();
        return rows;
    }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<Query> query_;
    std::unique_ptr<QWidget> window_;
    DBGrid *grid_ = nullptr;
    DBNavigator *nav_ = nullptr;
};

QTEST_MAIN(TestDataBoundWidgets)
#include "test_ui.moc"
