// One repair order along its whole road, through the real windows the main window opens:
// settings, intake, dispatch with a spare-part issue, sign-off, settlement, the printouts.
#include "common/AppContext.h"
#include "common/Clock.h"
#include "common/DatePicker.h"
#include "common/NumberBoxes.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/BusinessSheet.h"
#include "repair/Udxdj.h"
#include "repair/Upxdj.h"
#include "repair/Uqjdj.h"
#include "repair/Urep.h"
#include "repair/Uwxll.h"
#include "repair/Uxfdj.h"
#include "settings/Uzdwh.h"
#include "shell/Startup.h"
#include "shell/Umain.h"
#include "shell/Uyhdl.h"
#include "support/Orders.h"
#include "support/Previews.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace korv;
using report::Page;
using test::valueAfter;

namespace {

const QString kNumber = "01000001";

// The repair order sheet of a station list's current order.
Page sheetOf(const Query &list)
{
    return repair::buildRepairSheet(list)->page(1);
}

class TestRoadOfOneOrder : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setMessagePresenter(nullptr); }

    void oneOrderFromIntakeToReturnVisit()
    {
        test::TempProgramDir dir;
        test::ScriptedMessages messages;
        test::FixedClock clock(test::at(2026, 3, 5, 9, 0, 0));
        Program program(dir.path());
        program.setEndHandler([] {});
        test::loginWhenAsked("管理员", "385920");
        QVERIFY(program.start());
        TFrmMain_wxgl &main = *program.mainWindow();
        AppContext &ctx = main.context();
        Database &db = ctx.db();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        db.exec("insert into bmb(bmdh, bmmc) values ('01', '维修一部')");
        db.exec("insert into whb(whff, whqx, Year, Month) values ('保修', '1年', 1, null)");
        db.exec("insert into jyb(jymc) values ('王工'), ('赵工')");
        db.exec("insert into khjbxx(bh, khmc, lxdh, yb, dz) values ('000001', '张三', '13800000001', '100001', '东街1号')");
        db.exec("insert into cpjbxx(bh, cpmc, cppp, cpxh) values ('000001', '电视机', '长虹', 'X1')");
        db.exec("insert into bjkc(bh, bjmc, dw, sl) values ('000001', '高压包', '个', 5)");

        // The administrator sets the shop's department code and both alarm periods.
        test::onNextModal([](QWidget *modal) {
            auto *settings = qobject_cast<TFrmzdwh *>(modal);
            QVERIFY(settings);
            test::WindowDriver ui{settings};
            settings->PageControl1->setCurrentWidget(ui.find("TabSheet3"));
            ui.setText("ComboBox2", "01");
            ui.click("btnok");
            ui.setText("suiSpinEdit1", "24");
            ui.click("suiButton1");
            ui.setText("suiSpinEdit2", "48");
            ui.click("suiButton3");
            settings->close();
        });
        main.Tbtn4Click();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(db.scalar("select bmdh || '|' || bjqx || '|' || bjqx2 from csszb"), QString("01|24|48"));

        // Intake: the unit comes in with a deposit; the customer's details come from the lookup.
        main.NK7Click();
        auto *intake = qobject_cast<TFrmdxdj *>(main.currentWorkWindow());
        QVERIFY(intake);
        QCOMPARE(intake->edit1->text(), kNumber);
        intake->ComboBox1->setFocus();
        intake->ComboBox1->setEditText("电视机");
        intake->ComboBox6->setFocus();
        QCOMPARE(intake->ComboBox2->currentText(), QString("长虹"));
        intake->ComboBox6->setEditText("张三");
        intake->edit6->setFocus();
        QCOMPARE(intake->edit3->text(), QString("13800000001"));
        intake->edit6->setText("无图像");
        intake->ComboBox8->setEditText("赵工");
        intake->edit12->setText("50.00");
        intake->ComboBox5->setCurrentText("保修期外");
        test::WindowDriver{intake}.click("btnsave");
        QCOMPARE(messages.last(), QString(" 添加待修登记表保存成功！ "));
        QCOMPARE(test::ordersInState(db, 0), 1);
        Page sheet = sheetOf(*intake->ADOQuery1);
        QCOMPARE(valueAfter(sheet, "单号："), kNumber);
        QCOMPARE(valueAfter(sheet, "姓名"), QString("张三"));
        QCOMPARE(valueAfter(sheet, "是否保修期"), QString("保修期外"));
        QCOMPARE(valueAfter(sheet, "维修人员："), QString());

        // Dispatch a day later, then issue two spare parts to the dispatched order.
        Clock::setFixed(test::at(2026, 3, 6, 10, 0, 0));
        main.NK8Click();
        auto *dispatch = qobject_cast<TFrmpxdj *>(main.currentWorkWindow());
        QVERIFY(dispatch);
        QVERIFY(!ctx.openFlag(WorkWindowKind::Dxdj));
        QCOMPARE(dispatch->edit1->text(), kNumber);
        dispatch->ComboBox1->setEditText("王工");
        test::WindowDriver{dispatch}.click("btnsave");
        QCOMPARE(messages.last(), QString(" 派修登记成功！ "));
        QCOMPARE(test::ordersInState(db, 0), 0);
        QCOMPARE(test::ordersInState(db, 1), 1);
        QCOMPARE(dispatch->ADOQuery1->RecordCount(), 0);
        QCOMPARE(dispatch->ADOQuery2->RecordCount(), 1);
        test::WindowDriver{dispatch}.clickRow("DBGrid2", 0);
        QCOMPARE(dispatch->edit1->text(), kNumber);
        test::onNextModal([](QWidget *modal) {
            auto *issue = qobject_cast<TFrmwxll *>(modal);
            QVERIFY(issue);
            test::WindowDriver{issue}.clickRow("DBGrid1", 0);
            issue->suiSpinEdit1->setText("2");
            test::WindowDriver{issue}.click("btnbjck");
            test::WindowDriver{issue}.click("btnprint");
        });
        messages.answers = {true};
        test::WindowDriver{dispatch}.click("btnlqbj");
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QCOMPARE(db.scalar("select sl from bjkc where bh='000001'"), QString("3"));
        const QString issued = test::orderColumn(db, kNumber, "ylbj");
        QVERIFY2(issued.contains("高压包") && issued.contains("2"), qPrintable(issued));
        QCOMPARE(dispatch->edit2->text(), issued);
        sheet = sheetOf(*dispatch->ADOQuery2);
        QCOMPARE(valueAfter(sheet, "维修人员："), QString("王工"));

        // Sign-off with the fees.
        main.NK9Click();
        auto *signoff = qobject_cast<TFrmxfdj *>(main.currentWorkWindow());
        QVERIFY(signoff);
        QCOMPARE(signoff->edit1->text(), kNumber);
        signoff->edit2->setText("150.00");
        signoff->edit5->setText("30.50");
        test::WindowDriver{signoff}.click("btnsave");
        QCOMPARE(test::ordersInState(db, 1), 0);
        QCOMPARE(test::ordersInState(db, 2), 1);
        QCOMPARE(test::orderColumn(db, kNumber, "wxf"), QString("150.00"));
        QCOMPARE(test::orderColumn(db, kNumber, "jcf"), QString("0.00"));
        QCOMPARE(test::orderColumn(db, kNumber, "xfrq"), QString("2026-03-06"));
        QCOMPARE(signoff->ADOQuery2->RecordCount(), 1);
        sheet = sheetOf(*signoff->ADOQuery2);
        QCOMPARE(valueAfter(sheet, "修理情况："), QString("完全修复"));

        // Settlement and return visit: the figures, the maintenance term, the save.
        main.NK10Click();
        auto *settle = qobject_cast<Tfrmqjdj *>(main.currentWorkWindow());
        QVERIFY(settle);
        test::WindowDriver{settle}.clickRow("DBGrid1", 0);
        QCOMPARE(settle->edit1->text(), kNumber);
        QCOMPARE(settle->edit2->text(), QString("180.5"));
        QCOMPARE(settle->edit9->text(), QString("130.5"));
        settle->ComboBox1->setFocus();
        settle->ComboBox1->setEditText("保修");
        settle->edit4->setFocus();
        QCOMPARE(settle->edit3->text(), QString("1年"));
        settle->edit4->setText("张三");
        settle->ComboBox2->setEditText("现金付款");
        settle->ComboBox3->setEditText("赵工");
        settle->edit6->setText("满意");
        test::WindowDriver{settle}.click("btnsave");
        QCOMPARE(test::orderColumn(db, kNumber, "whqx"), QString("1年"));
        QCOMPARE(test::orderColumn(db, kNumber, "qjr"), QString("张三"));
        QCOMPARE(test::orderColumn(db, kNumber, "hfqk"), QString("满意"));
        QCOMPARE(test::orderColumn(db, kNumber, "wxzt"), QString("2"));
        sheet = sheetOf(*settle->ADOQuery1);
        QCOMPARE(valueAfter(sheet, "回访情况："), QString("满意"));
        QCOMPARE(valueAfter(sheet, "费用合计："), QString("180.5"));

        // The business sheet of the listed orders carries this one with its total.
        const auto pages = repair::buildBusinessSheet(*settle->ADOQuery1);
        QCOMPARE(pages->pageCount(), 1);
        const QStringList texts = pages->page(1).allTexts();
        QVERIFY(texts.contains(repair::kBusinessSheetTitle));
        QVERIFY(texts.contains(kNumber));
        QVERIFY(texts.contains("保修期外"));
        QVERIFY(texts.join('|').contains("180.5"));
        main.close();
    }
};

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestRoadOfOneOrder>(argc, argv);
}

#include "test_road.moc"
