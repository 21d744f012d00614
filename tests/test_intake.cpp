// The intake window: new pending orders under proposed numbers, corrections, lookups, return.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/mldy.h"
#include "repair/Udxdj.h"
#include "shell/Startup.h"
#include "shell/Uyhdl.h"
#include "support/Orders.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace korv;

namespace {

const QString kSavedAdd = " 添加待修登记表保存成功！ ";
const QString kSavedEdit = " 修改待修登记表保存成功！ ";
const QString kDuplicate = " “单号”与派修或修复记录中的单号重复，请输入。 ";

// A shop with department code 01, its master data, and the intake window shown and active so
// that focus really moves.
struct Counter {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    test::ScriptedMessages messages;
    test::FixedClock clock{test::at(2026, 3, 5, 10, 30, 15)};
    std::unique_ptr<TFrmdxdj> w;
    test::WindowDriver ui;

    explicit Counter(const QString &seedSql = {}, int role = 1)
    {
        ctx.session.CurrentRole = role;
        ctx.session.DeptCode = "01";
        ctx.session.PendingAlarmHours = "24";
        db.exec("insert into jyb(jymc) values ('王工'), ('赵工')");
        db.exec("insert into khjbxx(bh, khmc, lxdh, yb, dz) values "
                "('000001', '张三', '13800000001', '100001', '东街1号'),"
                "('000002', '李四', '13800000002', '100002', '西街2号'),"
                "('000003', '李四', '13800000003', '100003', '南街3号')");
        db.exec("insert into cpjbxx(bh, cpmc, cppp, cpxh) values "
                "('000001', '电视机', '长虹', 'X1'), ('000002', '电视机', '长虹', 'X1'),"
                "('000003', '空调', '格力', 'K1'), ('000004', '空调', '美的', 'K2')");
        if (!seedSql.isEmpty())
            db.exec(seedSql);
        w = std::make_unique<TFrmdxdj>(ctx);
        ui.w = w.get();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
    }
    // The least a save needs: product, customer, clerk.
    void fillRequired(const QString &product = "电视机", const QString &customer = "王五")
    {
        ui.type("ComboBox1", product);
        ui.type("ComboBox6", customer);
        ui.type("ComboBox8", "王工");
    }
    QString column(const QString &wxdh, const QString &c) { return test::orderColumn(db, wxdh, c); }
};

const QString kTwoPending =
    "insert into jjdb(wxdh, cpmc, xm, jjy, jjrq, sfbx, wxfs, dj) values "
    "('01000001', '电视机', '张三', '王工', '2026-03-04 08:00:00', '1', '0', '50.00'),"
    "('01000002', '空调', '李四', '赵工', '2026-03-05 09:00:00', '0', '1', '0')";

class TestIntake : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setMessagePresenter(nullptr); }

    void openingWithNoPendingOrdersProposesTheFirstNumberInAddMode()
    {
        Counter c;
        QCOMPARE(c.ui.text("edit1"), QString("01000001"));
        for (const char *b : {"btnadd", "btnedit", "btndelete", "btndj", "btnsj"})
            QVERIFY2(!c.ui.enabled(b), b);
        QVERIFY(c.ui.find<ui::DBGrid>("DBGrid1")->addModeLook());
        QVERIFY(c.ui.find<QRadioButton>("rbtn1")->isChecked());
        QCOMPARE(c.ui.focused(), QString("edit2"));
        QCOMPARE(c.ctx.status(), status::kAddReady);
        QVERIFY(c.ctx.openFlag(WorkWindowKind::Dxdj));
    }

    void pickListsComeFromTheMasterData()
    {
        Counter c("insert into sjjbxx(bh, sjmc) values ('000001', ' 百货大楼 ')");
        const auto items = [&](const QString &name) {
            QStringList all;
            auto *box = c.ui.find<QComboBox>(name);
            for (int i = 0; i < box->count(); ++i)
                all << box->itemText(i);
            return all.join(',');
        };
        QCOMPARE(items("ComboBox1"), QString("电视机,空调"));
        QCOMPARE(items("ComboBox2"), QString("长虹,格力,美的"));
        QCOMPARE(items("ComboBox3"), QString("X1,K1,K2"));
        QCOMPARE(items("ComboBox4"), QString("百货大楼"));
        QCOMPARE(items("ComboBox5"), QString("保修期内,保修期外"));
        QCOMPARE(items("ComboBox6"), QString("张三,李四,李四"));
        QCOMPARE(items("ComboBox7"), QString("王工,赵工"));
        QCOMPARE(items("ComboBox8"), QString("王工,赵工"));
    }

    // Every name is offered in table order and trimmed, across the blocks the list is read in.
    void customerNamesAreOfferedInTableOrder()
    {
        Counter c("with recursive n(i) as (select 1 union all select i + 1 from n where i < 600) "
                  "insert into khjbxx(bh, khmc) select printf('1%05d', i), printf(' 客户%03d ', 600 - i) from n");
        auto *box = c.ui.find<QComboBox>("ComboBox6");
        QCOMPARE(box->count(), 603);
        QStringList expected{"张三", "李四", "李四"};
        for (int i = 1; i <= 600; ++i)
            expected << QString("客户%1").arg(600 - i, 3, 10, QChar('0'));
        for (int i = 0; i < box->count(); ++i)
            QCOMPARE(box->itemText(i), expected[i]);
        QCOMPARE(box->currentText(), QString());
    }

    void addKeepsTheListWithItsCursorOnTheLastRowAndFilteredListsComeBackWhole()
    {
        Counter c(kTwoPending);
        QSignalSpy reopened(c.w->ADOQuery1, &Query::rowsReset);
        c.ui.click("btnedit");
        c.ui.clickRow("DBGrid1", 0);
        c.ui.click("btnadd");
        QCOMPARE(reopened.count(), 0);
        QCOMPARE(c.w->ADOQuery1->RecNo(), 1);
        QVERIFY(c.ui.find<ui::DBGrid>("DBGrid1")->addModeLook());
        QCOMPARE(c.ui.text("edit1"), QString("01000003"));
        QCOMPARE(c.ui.text("ComboBox1"), QString());
        QVERIFY(!c.ui.enabled("btnadd"));
        QVERIFY(!c.ui.enabled("btnsj"));
        const auto *model = c.ui.find<ui::DBGrid>("DBGrid1")->model();
        QCOMPARE(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xB7, 0x6F));

        // A query's filter goes with the next 添加.
        c.w->ADOQuery1->setSql("select * from jjdb where wxzt=0 and wxdh='01000002'");
        c.w->ADOQuery1->Open();
        c.w->resetAfterQuery(true);
        c.ui.click("btnadd");
        QCOMPARE(c.w->ADOQuery1->RecordCount(), 2);
        QCOMPARE(c.w->ADOQuery1->RecNo(), 1);
    }

    // New files carry the customer-name index; an older file gets it when the program starts, and
    // a file another copy holds locked meanwhile still starts without it.
    void customerNameIndexComesWithNewFilesAndIsAddedAtStartUp()
    {
        test::TempProgramDir dir;
        const QString hasIndex = "select count(*) from sqlite_master where name='ix_khjbxx_khmc'";
        Database db(dir.dbPath());
        QCOMPARE(db.scalar(hasIndex), QString("1"));
        db.exec("drop index ix_khjbxx_khmc");
        const auto startAndGiveUpTheLogin = [&] {
            test::ScriptedMessages messages;
            bool asked = false;
            test::onNextModal([&](QWidget *modal) {
                asked = qobject_cast<TFrmyhdl *>(modal) != nullptr;
                modal->close();
            });
            Program program(dir.path());
            program.setEndHandler([] {});
            program.start();
            QVERIFY(asked);
        };
        db.exec("BEGIN IMMEDIATE");
        startAndGiveUpTheLogin();
        db.exec("ROLLBACK");
        QCOMPARE(db.scalar(hasIndex), QString("0"));
        startAndGiveUpTheLogin();
        QCOMPARE(db.scalar(hasIndex), QString("1"));
    }

    void threeSavesInARowGiveThreeConsecutiveNumbers()
    {
        Counter c("insert into jjdb(wxdh, wxzt) values ('01000041', 2)");
        QCOMPARE(c.ui.text("edit1"), QString("01000042"));
        for (int i = 0; i < 3; ++i) {
            c.fillRequired();
            c.ui.click("btnsave");
            QCOMPARE(c.messages.last(), kSavedAdd);
        }
        QCOMPARE(c.db.scalar("select group_concat(wxdh) from jjdb where wxzt=0"),
                 QString("01000042,01000043,01000044"));
        QCOMPARE(c.ui.text("edit1"), QString("01000045"));
        QCOMPARE(c.ui.text("ComboBox1"), QString());
        QCOMPARE(c.w->ADOQuery1->RecordCount(), 3);
        QCOMPARE(c.w->ADOQuery1->asString("wxdh"), QString("01000044"));
        QVERIFY(!c.ui.enabled("btnadd"));
        for (const char *b : {"btnedit", "btndelete", "btndj", "btnsj"})
            QVERIFY2(c.ui.enabled(b), b);
        QCOMPARE(c.ui.focused(), QString("edit2"));
        QCOMPARE(c.ctx.status(), status::kSaved);
        // The stored order takes the state 0 of the column default and the moment of the reset.
        QCOMPARE(c.column("01000042", "wxzt"), QString("0"));
        QCOMPARE(c.column("01000042", "jjrq"), QString("2026-03-05 10:30:15"));
    }

    void saveChecksStopAtTheFirstMissingFieldWithItsFocus()
    {
        Counter c;
        c.ui.click("btnsave");
        QCOMPARE(c.messages.last(), QString(" “产品名称”不能为空，请输入。 "));
        QCOMPARE(c.ui.focused(), QString("ComboBox1"));
        c.ui.type("ComboBox1", "电视机");
        c.ui.click("btnsave");
        QCOMPARE(c.messages.last(), QString(" “客户姓名”不能为空，请输入。 "));
        QCOMPARE(c.ui.focused(), QString("ComboBox6"));
        c.ui.type("ComboBox6", "王五");
        c.ui.click("btnsave");
        QCOMPARE(c.messages.last(), QString(" “接机员”不能为空，请输入。 "));
        QCOMPARE(c.ui.focused(), QString("ComboBox8"));
        QCOMPARE(c.db.scalar("select count(*) from jjdb"), QString("0"));
        // A box emptied of its number, as a return in edit mode leaves it, has nothing to save under.
        c.ui.setText("edit1", "");
        c.ui.type("ComboBox8", "王工");
        c.ui.click("btnsave");
        QCOMPARE(c.messages.last(), QString(" “单号”不能为空，请选择添加或修改。 "));
        QCOMPARE(c.ui.focused(), QString("edit1"));
    }

    void customerNameMatchingOneCustomerFillsPhonePostcodeAndAddress()
    {
        Counter c;
        c.ui.type("edit3", "手写电话");
        c.ui.enter("ComboBox6", " 张三 ");
        QCOMPARE(c.ui.text("edit3"), QString("13800000001"));
        QCOMPARE(c.ui.text("edit4"), QString("100001"));
        QCOMPARE(c.ui.text("edit5"), QString("东街1号"));
        // Two customers of one name, or none, fill nothing.
        c.ui.setText("edit3", "原电话");
        c.ui.enter("ComboBox6", "李四");
        QCOMPARE(c.ui.text("edit3"), QString("原电话"));
        c.ui.enter("ComboBox6", "张三' or '1'='1");
        QCOMPARE(c.ui.text("edit3"), QString("原电话"));
    }

    void leavingTheProductNameOffersItsBrandsAndModels()
    {
        Counter c;
        c.ui.enter("ComboBox1", " 电视机 ");
        QCOMPARE(c.ui.text("ComboBox1"), QString("电视机"));
        QCOMPARE(c.ui.text("ComboBox2"), QString("长虹"));
        QCOMPARE(c.ui.text("ComboBox3"), QString("X1"));
        QCOMPARE(c.ui.find<QComboBox>("ComboBox2")->count(), 1);

        c.ui.enter("ComboBox1", "空调");
        QCOMPARE(c.ui.text("ComboBox2"), QString());
        QCOMPARE(c.ui.find<QComboBox>("ComboBox2")->count(), 2);
        QCOMPARE(c.ui.find<QComboBox>("ComboBox3")->count(), 2);
        c.ui.enter("ComboBox2", "格力");
        QCOMPARE(c.ui.text("ComboBox3"), QString("K1"));

        // An empty name offers every brand and model; a quote in the name is only text.
        c.ui.enter("ComboBox1", "");
        QCOMPARE(c.ui.find<QComboBox>("ComboBox2")->count(), 3);
        QCOMPARE(c.ui.find<QComboBox>("ComboBox3")->count(), 3);
        c.ui.enter("ComboBox1", "it's");
        QCOMPARE(c.ui.find<QComboBox>("ComboBox2")->count(), 0);
        QVERIFY(c.messages.texts().isEmpty());
    }

    void moneyNeverVisitedIsStoredAsZeroAndVisitedWithTwoDecimals()
    {
        Counter c;
        c.fillRequired();
        c.ui.type("edit10", "150");
        c.ui.find("edit2")->setFocus();
        QCOMPARE(c.ui.text("edit10"), QString("150.00"));
        c.ui.click("btnsave");
        QCOMPARE(c.column("01000001", "wxf"), QString("150.00"));
        for (const char *col : {"ys", "smf", "dj"})
            QCOMPARE(c.column("01000001", col), QString("0"));
        // With no previous repairman the previous repair date stays empty.
        QCOMPARE(c.column("01000001", "scwxrq"), QString());
        QCOMPARE(c.column("01000001", "gmrq"), QString("2026-03-05"));
    }

    void warrantyAndServiceModeRoundTripThroughEditMode()
    {
        Counter c;
        c.fillRequired();
        c.ui.find<QComboBox>("ComboBox5")->setCurrentText("保修期外");
        c.ui.find<QRadioButton>("rbtn2")->setChecked(true);
        c.ui.type("ComboBox7", "赵工");
        c.ui.click("btnsave");
        QCOMPARE(c.column("01000001", "sfbx"), QString("1"));
        QCOMPARE(c.column("01000001", "wxfs"), QString("0"));
        QCOMPARE(c.column("01000001", "scwxrq"), QString("2026-03-05"));
        c.fillRequired();
        c.ui.click("btnsave");
        QCOMPARE(c.column("01000002", "sfbx"), QString("0"));
        QCOMPARE(c.column("01000002", "wxfs"), QString("1"));

        c.ui.click("btnedit");
        QVERIFY(!c.ui.find<ui::DBGrid>("DBGrid1")->addModeLook());
        QCOMPARE(c.ctx.status(), status::kEditReady);
        c.ui.clickRow("DBGrid1", 0);
        QCOMPARE(c.ui.text("edit1"), QString("01000001"));
        QCOMPARE(c.ui.find<QComboBox>("ComboBox5")->currentText(), QString("保修期外"));
        QVERIFY(c.ui.find<QRadioButton>("rbtn2")->isChecked());
        QCOMPARE(c.ui.text("ComboBox7"), QString("赵工"));
        c.ui.clickRow("DBGrid1", 1);
        QCOMPARE(c.ui.find<QComboBox>("ComboBox5")->currentText(), QString("保修期内"));
        QVERIFY(c.ui.find<QRadioButton>("rbtn1")->isChecked());
    }

    void editModeRewritesTheOrderTheFormShowsKeepingItsIntakeTime()
    {
        Counter c(kTwoPending);
        c.ui.click("btnedit");
        c.ui.clickRow("DBGrid1", 0);
        QCOMPARE(c.ui.text("edit1"), QString("01000001"));
        QCOMPARE(c.ui.text("edit12"), QString("50.00"));
        QVERIFY(c.ui.enabled("btnsj"));
        c.ui.type("edit6", "不开机");
        // The navigator moves the cursor away; the form still shows the first order.
        c.ui.click("nbLast");
        QCOMPARE(c.w->ADOQuery1->asString("wxdh"), QString("01000002"));
        c.ui.click("btnsave");
        QCOMPARE(c.messages.last(), kSavedEdit);
        QCOMPARE(c.column("01000001", "gjyy"), QString("不开机"));
        QCOMPARE(c.column("01000002", "gjyy"), QString());
        // Nobody changed the intake time, so it stays as stored.
        QCOMPARE(c.column("01000001", "jjrq"), QString("2026-03-04 08:00:00"));
        QCOMPARE(c.ui.text("edit1"), QString("01000001"));

        // An order that left the list meanwhile is not written.
        c.db.exec("update jjdb set wxzt=1 where wxdh='01000001'");
        c.w->ADOQuery1->Close();
        c.w->ADOQuery1->Open();
        c.ui.type("edit6", "又改");
        c.ui.click("btnsave");
        QVERIFY(c.messages.last().contains("01000001"));
        QCOMPARE(c.column("01000001", "gjyy"), QString("不开机"));
        QCOMPARE(c.column("01000002", "gjyy"), QString());
    }

    void aProposalTakenMeanwhileIsRefusedAndNothingIsWritten()
    {
        Counter c("insert into jjdb(wxdh) values ('01000001')");
        QCOMPARE(c.ui.text("edit1"), QString("01000002"));
        c.fillRequired();
        // A second copy of the program saves under the same number meanwhile.
        c.db.exec("insert into jjdb(wxdh, cpmc, wxzt) values ('01000002', '别处', 1)");
        c.ui.click("btnsave");
        QCOMPARE(c.messages.last(), kDuplicate);
        QCOMPARE(c.ui.focused(), QString("edit1"));
        QCOMPARE(c.db.scalar("select count(*) from jjdb"), QString("2"));
        QCOMPARE(c.w->ADOQuery1->RecordCount(), 1);
        QCOMPARE(c.ui.text("ComboBox1"), QString("电视机"));
        // The next 添加 proposes past it.
        c.ui.click("btnedit");
        c.ui.click("btnadd");
        QCOMPARE(c.ui.text("edit1"), QString("01000003"));
    }

    void returnIsForAnAdministratorAfterConfirming()
    {
        {
            Counter c(kTwoPending, 0);
            c.ui.click("btndelete");
            QCOMPARE(c.messages.last(), deletion::kNoPermission);
            QCOMPARE(c.db.scalar("select count(*) from jjdb"), QString("2"));
        }
        Counter c(kTwoPending);
        c.ui.click("btnedit");
        c.ui.clickRow("DBGrid1", 0);
        c.messages.answers = {false};
        c.ui.click("btndelete");
        QCOMPARE(c.messages.last(), deletion::kConfirmReturn);
        QCOMPARE(c.db.scalar("select count(*) from jjdb"), QString("2"));
        c.messages.answers = {true, true};
        c.ui.click("btndelete");
        QCOMPARE(c.db.scalar("select group_concat(wxdh) from jjdb"), QString("01000002"));
        QCOMPARE(c.ui.text("edit1"), QString());
        QCOMPARE(c.ui.text("ComboBox1"), QString("电视机"));  // only the unit's own details go
        QCOMPARE(c.ctx.status(), status::kDeleted);
        QVERIFY(c.ui.enabled("btndelete"));
        c.ui.click("btndelete");
        QCOMPARE(c.db.scalar("select count(*) from jjdb"), QString("0"));
        for (const char *b : {"btndelete", "btndj", "btnsj"})
            QVERIFY2(!c.ui.enabled(b), b);
    }

    void clickOnTheListLoadsOnlyInEditMode()
    {
        Counter c(kTwoPending);
        QVERIFY(!c.ui.enabled("btnsj"));
        c.ui.clickRow("DBGrid1", 0);
        QVERIFY(c.ui.enabled("btnsj"));
        QCOMPARE(c.ui.text("edit1"), QString("01000003"));  // add mode keeps its proposal
        c.ui.click("btnedit");
        c.ui.clickRow("DBGrid1", 1);
        QCOMPARE(c.ui.text("edit1"), QString("01000002"));
        QCOMPARE(c.ui.text("ComboBox1"), QString("空调"));
    }

    void overduePendingOrdersAreHighlighted()
    {
        Counter c("insert into jjdb(wxdh, jjrq) values ('01000001', '2026-03-04 10:30:15'),"
                  "('01000002', '2026-03-04 10:30:14'), ('01000003', '')");
        auto *model = c.ui.find<ui::DBGrid>("DBGrid1")->model();
        const auto background = [&](int row) { return model->index(row, 0).data(Qt::BackgroundRole).value<QColor>(); };
        QVERIFY(!background(0).isValid());
        QCOMPARE(background(1), QColor(0xFF, 0xB7, 0x6F));
        QVERIFY(!background(2).isValid());
    }

    void receiptAndSheetPrintTheCurrentOrder()
    {
        Counter c(kTwoPending);
        c.w->ADOQuery1->Last();  // the order without a deposit
        QCOMPARE(c.w->btnsjClick(), nullptr);
        QCOMPARE(c.messages.last(), QString(" 当前待修记录没有预交订金，因此不能打印订金收据。 "));
        c.w->ADOQuery1->First();
        std::unique_ptr<TmldyForm> receipt(c.w->btnsjClick());
        QVERIFY(receipt);
        std::unique_ptr<TmldyForm> sheet(c.w->DBGrid1DblClick());
        QVERIFY(sheet);
        QVERIFY(sheet->pageCount() == 1);
    }
};

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestIntake>(argc, argv);
}

#include "test_intake.moc"
