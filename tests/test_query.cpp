// The query dialog: the SQL texts it builds, the list it picks and what a query does to its window.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "data/Database.h"
#include "query_print/QueryText.h"
#include "query_print/Udlg_cx.h"
#include "shell/WorkWindows.h"
#include "support/Orders.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace korv;
using Fields = QList<QPair<QString, QString>>;

namespace {
const QString kNul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");

// A shop with an administrator, a department code, a fixed clock and one open work window.
struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    test::FixedClock clock{test::at(2024, 5, 10, 10)};
    test::ScriptedMessages messages;
    std::unique_ptr<QWidget> window;
    test::WindowDriver ui;

    Shop()
    {
        ctx.session.CurrentRole = 1;
        ctx.session.DeptCode = "01";
    }
    void open(WorkWindowKind kind)
    {
        window.reset(createWorkWindow(kind, ctx, nullptr));
        window->resize(1000, 700);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        ui.w = window.get();
    }
    // Clicks `button` of the window and, in the dialog it opens, types `fields` and clicks 查询.
    void query(const QString &button, const Fields &fields, bool fuzzy = true)
    {
        test::onNextModal([=](QWidget *dialog) {
            test::WindowDriver d{dialog};
            for (const auto &[name, text] : fields)
                d.setText(name, text);
            d.find<QCheckBox>("chkmh")->setChecked(fuzzy);
            d.click("btnquery");
        });
        ui.click(button);
    }
    void customer(const QString &bh, const QString &name)
    {
        db.run("insert into khjbxx (bh, khmc, dz) values (?1, ?2, '中山路')", {bh, name});
    }
};
}  // namespace

// The SQL texts, as plain functions.
class TestQueryText : public QObject {
    Q_OBJECT
private slots:
    void examplesGiveTheseTexts()
    {
        QStringList signOff(12), customers(6);
        signOff[0] = "0100";
        signOff[7] = "中山 路";
        customers[1] = "五金";
        QCOMPARE(querySqlLines(queryTargetInfo(QueryTarget::SignOffDispatched), signOff, true),
                 QStringList({"select * from jjdb where wxzt=1 ", " and wxdh like '%0100%'", " and dz like '%中山%路%'"}));
        QCOMPARE(querySqlLines(queryTargetInfo(QueryTarget::Customers), customers, false),
                 QStringList({"select * from khjbxx ", " where khmc = '五金'"}));
    }
    void conditionLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fuzzy");
        QTest::addColumn<QString>("line");
        QTest::newRow("blank, fuzzy") << "a b" << true << " and xm like '%a%b%'";
        QTest::newRow("quote") << "O'Neil" << false << " and xm = 'O''Neil'";
        QTest::newRow("brackets") << "[x]" << true << " and xm like '%%x%%'";
        QTest::newRow("blanks only") << "  " << true << " and xm like '%%%%'";
        QTest::newRow("NUL, fuzzy") << kNul << true << " and xm like '%a%b%'";
    }
    void conditionLines()
    {
        QFETCH(QString, text);
        QFETCH(bool, fuzzy);
        QFETCH(QString, line);
        bool written = true;
        QCOMPARE(conditionLine("xm", text, fuzzy, written), line);
    }
};

// What a query does to the list it filters and to the window around it.
class TestQueryDialog : public QObject {
    Q_OBJECT
private slots:
    void noConditionCountsTheStateAndIntakeCannotSaveUnloaded()
    {
        Shop shop;
        for (const char *wxdh : {"01000001", "01000002"})
            test::insertOrder(shop.db, {{"wxdh", wxdh}, {"wxzt", "0"}, {"cpmc", "电视机"}, {"xm", "张三"}});
        test::insertOrder(shop.db, {{"wxdh", "01000003"}, {"wxzt", "1"}});
        shop.open(WorkWindowKind::Dxdj);
        shop.query("btnquery", {});
        QCOMPARE(shop.ctx.status(), "  待修登记表中符合查询条件的记录数为: 2");
        QVERIFY(shop.ui.enabled("btnadd") && !shop.ui.enabled("btnedit") && shop.ui.enabled("btndelete"));
        for (const auto &[box, text] : Fields{{"ComboBox1", "冰箱"}, {"ComboBox6", "李四"}, {"ComboBox8", "王"}})
            shop.ui.setText(box, text);
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.last(), " “单号”不能为空，请选择添加或修改。 ");
        QCOMPARE(shop.db.scalar("select count(*) from jjdb where cpmc='电视机' and xm='张三'"), "2");
    }
    void upperAndLowerLists_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("grid");
        QTest::addColumn<QString>("list");
        const int dispatch = int(WorkWindowKind::Pxdj), signOff = int(WorkWindowKind::Xfdj);
        QTest::newRow("dispatch, upper") << dispatch << "btncx" << "DBGrid1" << "待修登记";
        QTest::newRow("dispatch, lower") << dispatch << "btnquery" << "DBGrid2" << "派修登记";
        QTest::newRow("sign-off, upper") << signOff << "btncx" << "DBGrid1" << "派修登记";
        QTest::newRow("sign-off, lower") << signOff << "btnquery" << "DBGrid2" << "维修结算";
    }
    void upperAndLowerLists()
    {
        QFETCH(int, kind);
        QFETCH(QString, button);
        QFETCH(QString, grid);
        QFETCH(QString, list);
        Shop shop;
        for (int state = 0; state < 3; ++state)
            for (const char *name : {"张三", "李四"})
                test::insertOrder(shop.db, {{"wxdh", QString("0100%1%2").arg(state).arg(name[0] & 0xf)},
                                            {"wxzt", QString::number(state)}, {"xm", name}});
        shop.open(WorkWindowKind(kind));
        shop.query(button, {{"suiEdit7", "张"}});
        QCOMPARE(shop.ui.rowCount(grid), 1);
        QCOMPARE(shop.ui.rowCount(grid == "DBGrid1" ? "DBGrid2" : "DBGrid1"), 2);
        QCOMPARE(shop.ctx.status(), "  " + list + "表中符合查询条件的记录数为: 1");
    }
    void clearAndQuitLeaveTheListAndAnEmptyResultNamesIt()
    {
        Shop shop;
        shop.customer("000001", "甲");
        shop.customer("000002", "乙");
        shop.open(WorkWindowKind::Khxx);
        QString atOpening, afterClear;
        test::onNextModal([&](QWidget *modal) {
            auto *dialog = static_cast<TFrmDlg_cx *>(modal);
            atOpening = shop.ctx.status();
            dialog->edit[1]->setText("丙");
            dialog->suiEdit[11]->setText("y");
            dialog->chkmh->setChecked(false);
            QTest::mouseClick(dialog->suiButton1, Qt::LeftButton);
            for (const QLineEdit *field : dialog->edit + dialog->suiEdit)
                afterClear += field->text();
            afterClear += dialog->focusWidget()->objectName() + (dialog->chkmh->isChecked() ? "" : " unticked");
            QTest::mouseClick(dialog->btnprint, Qt::LeftButton);
        });
        shop.ui.click("btnquery");
        QCOMPARE(atOpening, status::kQueryReady);
        QCOMPARE(afterClear, "edit1 unticked");
        QCOMPARE(shop.ctx.status(), status::kContinue);
        QCOMPARE(shop.ui.rowCount("DBGrid1"), 2);
        QVERIFY(shop.window->findChildren<TFrmDlg_cx *>().isEmpty());
        shop.query("btnquery", {{"edit2", "丙"}}, false);
        QCOMPARE(shop.ctx.status(), "  查询结果：客户信息表中没有符合查询条件的记录");
        QCOMPARE(shop.ui.rowCount("DBGrid1"), 0);
        QVERIFY(!shop.ui.enabled("btndelete") && !shop.ui.enabled("btnedit"));
    }
    void editSaveAfterQueryNeedsALoadedRow()
    {
        Shop shop;
        shop.db.exec("insert into jyb (jymc, xb, xl, bm, jw) values ('张三', '男', '本科', '维修部', '技师'),"
                     " ('李四', '女', '本科', '维修部', '技师')");
        shop.open(WorkWindowKind::Jyxx);
        shop.query("btnquery", {{"edit1", "李"}});
        QCOMPARE(shop.ui.text("edit1"), "");
        for (const auto &[box, text] :
             Fields{{"edit1", "王五"}, {"ComboBox1", "男"}, {"ComboBox2", "本科"}, {"ComboBox3", "维修部"}, {"edit2", "学徒"}})
            shop.ui.setText(box, text);
        shop.ui.click("btnsave");
        QCOMPARE(shop.messages.last(), " 请先在列表中选取要修改的记录。 ");
        QCOMPARE(shop.db.scalar("select group_concat(jymc || jw) from jyb"), "张三技师,李四技师");
        shop.messages.answers = {true};  // loading the row drops what was typed
        shop.ui.clickRow("DBGrid1", 0);
        shop.ui.setText("edit2", "班长");
        shop.ui.click("btnsave");
        QCOMPARE(shop.db.scalar("select group_concat(jymc || jw) from jyb"), "张三技师,李四班长");
    }
    void refusedTextKeepsTheListAndTheNextQueryFills()
    {
        Shop shop;
        shop.messages.allowErrors();
        shop.customer("000001", "甲");
        shop.customer("000002", "乙");
        shop.open(WorkWindowKind::Khxx);
        // A table without one of the columns the dialog searches.
        for (const char *sql : {"create table k2 as select bh, khmc from khjbxx", "drop table khjbxx",
                                "alter table k2 rename to khjbxx"})
            shop.db.exec(sql);
        bool stayedOpen = false;
        QString shownMeanwhile;
        test::onNextModal([&](QWidget *dialog) {
            test::WindowDriver d{dialog};
            d.setText("edit6", "中山");
            d.click("btnquery");
            stayedOpen = dialog->isVisible();
            shownMeanwhile = shop.ui.cell("DBGrid1", 1, 1);
            d.setText("edit6", "");
            d.setText("edit2", "乙");
            d.click("btnquery");
        });
        shop.ui.click("btnquery");
        QVERIFY(stayedOpen);
        QCOMPARE(shop.messages.shown.constFirst().kind, MessageKind::Error);
        QCOMPARE(shownMeanwhile, "乙");
        QCOMPARE(shop.ui.rowCount("DBGrid1"), 1);
        QCOMPARE(shop.ctx.status(), "  客户信息表中符合查询条件的记录数为: 1");
    }
    void typedTextOnlyFilters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << "O'Neil \"x\"";
        QTest::newRow("percent") << "100%";
        QTest::newRow("brackets") << "[a]";
        QTest::newRow("backslashes") << "c:\\a\\";
        QTest::newRow("emoji") << "😀修";
        QTest::newRow("10,000 characters") << QString(10000, QChar(0x5F20));
        QTest::newRow("over the pattern limit") << QString(20000, QChar(0x5F20));
        QTest::newRow("NUL") << kNul;
        QTest::newRow("byte-order mark") << QString(QChar(0xFEFF)) + "张";
    }
    void typedTextOnlyFilters()
    {
        QFETCH(QString, text);
        Shop shop;
        shop.customer("000001", text);
        shop.customer("000002", "other");
        shop.open(WorkWindowKind::Khxx);
        for (const bool fuzzy : {false, true}) {
            TFrmDlg_cx dialog(shop.ctx, shop.window.get());
            dialog.prepare(QueryTarget::Customers);
            dialog.edit[1]->setText(text);
            dialog.chkmh->setChecked(fuzzy);
            dialog.btnquery->click();
            QVERIFY(dialog.ranQuery());
            // The engine's like cannot see past a NUL in a stored text.
            const bool found = !(fuzzy && text == kNul);
            QCOMPARE(shop.ui.rowCount("DBGrid1"), found ? 1 : 0);
            if (found)
                QCOMPARE(shop.ui.cell("DBGrid1", 0, 0), "000001");
        }
        QVERIFY(shop.messages.shown.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestQueryText, TestQueryDialog>(argc, argv);
}

#include "test_query.moc"
