// The record windows: customers, products, spare-part kinds, employees and merchants.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "data/Database.h"
#include "data/Query.h"
#include "masterdata/RecordWindow.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "shell/Umain.h"
#include "shell/WorkWindows.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"
#include "ui/DBGrid.h"
#include "ui/FormChanges.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace korv;

namespace {
struct Required {
    QString box;
    QString column;
    QString message;
};

// What the shared protocol needs to know of each member to drive it.
struct Member {
    WorkWindowKind kind;
    QString table;
    bool numbered;
    QList<Required> required;
    QString emptyNumber, duplicate, savedAdd, savedEdit, emptyList;
};

Member member(const QString &name)
{
    using W = WorkWindowKind;
    if (name == "客户")
        return {W::Khxx, "khjbxx", true, {{"edit2", "khmc", " “客户名称”不能为空，请输入。 "}},
                " “客户编号”不能为空，请选择添加或修改。 ", " “客户编号”已存在，请检查。 ",
                " 添加客户信息表保存成功！ ", " 修改客户信息表保存成功！ ", " 客户信息列表无任何记录。 "};
    if (name == "维修")
        return {W::Wxxx, "cpjbxx", true,
                {{"edit2", "cpmc", " “产品名称”不能为空，请输入。 "},
                 {"edit3", "cppp", " “产品品牌”不能为空，请输入。 "},
                 {"edit4", "cpxh", " “产品型号”不能为空，请输入。 "}},
                " “产品编号”不能为空，请选择添加或修改。 ", " “产品编号”已存在，请检查。 ",
                " 添加维修信息表保存成功！ ", " 修改维修信息表保存成功！ ", " 维修信息列表无任何记录。 "};
    if (name == "备件")
        return {W::Bjxx, "bjjbxx", true,
                {{"edit2", "bjmc", " “备件名称”不能为空，请输入。 "},
                 {"edit3", "bjxh", " “备件型号”不能为空，请输入。 "},
                 {"edit4", "bjgg", " “备件规格”不能为空，请输入。 "},
                 {"edit5", "dw", " “单位”不能为空，请输入。 "}},
                " “备件编号”不能为空，请选择添加或修改。 ", " “备件编号”已存在，请检查。 ",
                " 添加备件信息表保存成功！ ", " 修改备件信息表保存成功！ ", " 备件信息列表无任何记录。 "};
    if (name == "职员")
        return {W::Jyxx, "jyb", false,
                {{"edit1", "jymc", " “职员名称”不能为空，请输入。 "},
                 {"ComboBox1", "xb", " “性别”不能为空，请输入。 "},
                 {"ComboBox2", "xl", " “学历”不能为空，请输入。 "},
                 {"ComboBox3", "bm", " “部门名称”不能为空，请输入。 "},
                 {"edit2", "jw", " “职务”不能为空，请输入。 "}},
                {}, {}, " 添加职员信息表保存成功！ ", " 修改职员信息表保存成功！ ", " 职员信息列表无任何记录。 "};
    return {W::Sjxx, "sjjbxx", true, {{"edit2", "sjmc", " “商家名称”不能为空，请输入。 "}},
            " “商家编号”不能为空，请选择添加或修改。 ", " “商家编号”已存在，请检查。 ",
            " 添加商家信息表保存成功！ ", " 修改商家信息表保存成功！ ", " 商家信息列表无任何记录。 "};
}

void memberRows()
{
    QTest::addColumn<QString>("name");
    for (const char *m : {"客户", "维修", "备件", "职员", "商家"})
        QTest::newRow(m) << QString(m);
}

void memberRowsWithNumbers()
{
    QTest::addColumn<QString>("name");
    for (const char *m : {"客户", "维修", "备件", "商家"})
        QTest::newRow(m) << QString(m);
}

// A shop database, a session and one open record window over it.
struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
    std::unique_ptr<RecordWindow> window;
    test::WindowDriver ui;

    Shop() { ctx.session.CurrentRole = 1; }

    RecordWindow &open(WorkWindowKind kind)
    {
        window.reset(static_cast<RecordWindow *>(createWorkWindow(kind, ctx, nullptr)));
        ui.w = window.get();
        window->resize(644, 386);
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            QTest::qFail("the window never became active", __FILE__, __LINE__);
        return *window;
    }

    void insert(const QString &table, const QMap<QString, QString> &values)
    {
        Query q(db);
        q.setSql("select * from " + table);
        q.Open();
        q.Append();
        for (auto it = values.begin(); it != values.end(); ++it)
            q.setText(it.key(), it.value());
        q.Post();
    }
    // A row of `m` whose required columns hold `tag` and whose number is `number`.
    void insertRow(const Member &m, int number, const QString &tag)
    {
        QMap<QString, QString> values;
        if (m.numbered)
            values["bh"] = padNumber(number, 6);
        for (const Required &r : m.required)
            values[r.column] = tag;
        insert(m.table, values);
    }
    QStringList column(const QString &table, const QString &name)
    {
        Query q(db);
        q.setSql("select * from " + table);
        q.Open();
        QStringList values;
        for (q.First(); !q.Eof(); q.Next())
            values << q.asString(name);
        return values;
    }

    void fillRequired(const Member &m, const QString &tag, int upTo = -1)
    {
        for (int i = 0; i < (upTo < 0 ? m.required.size() : upTo); ++i)
            ui.type(m.required[i].box, tag);
    }
    Query &list() { return *window->ADOQuery1; }
};
}  // namespace

// Typing that is not saved yet, in every record window and in both dictionary tabs of 初始设置.
class TestUnsavedTyping : public QObject {
    Q_OBJECT
private slots:
    void typingIsDroppedOnlyWithTheUsersWord_data()
    {
        QTest::addColumn<int>("kind");  // -1: the settings window
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QStringList>("names");  // page, typed box, last box, 保存, 添加, 修改
        using W = WorkWindowKind;
        const auto with = [&](const QString &typed, const QString &last) {
            return QStringList{"", typed, last, "btnsave", "btnadd", "btnedit"};
        };
        QTest::newRow("客户") << int(W::Khxx) << "khjbxx(bh, khmc) values('000001', '甲')" << with("edit2", "edit8");
        QTest::newRow("商家") << int(W::Sjxx) << "sjjbxx(bh, sjmc) values('000001', '甲')" << with("edit2", "edit8");
        QTest::newRow("维修") << int(W::Wxxx) << "cpjbxx(bh, cpmc) values('000001', '甲')" << with("edit2", "edit9");
        QTest::newRow("备件") << int(W::Bjxx) << "bjjbxx(bh, bjmc) values('000001', '甲')" << with("edit2", "edit7");
        QTest::newRow("职员") << int(W::Jyxx) << "jyb(jymc) values('甲')" << with("edit1", "edit6");
        QTest::newRow("备件库存") << int(W::Bjgl) << "bjkc(bh, bjmc) values('000001', '甲')" << with("ComboBox1", "Edit10");
        QTest::newRow("工具") << int(W::Gjgl) << "gjkc(bh, gjmc) values('001', '甲')" << with("edit2", "edit6");
        QTest::newRow("部门") << -1 << "bmb(bmdh, bmmc) values('01', '甲')"
                            << QStringList{"TabSheet1", "edit1", "edit2", "btnsave", "btnadd", "btnedit"};
        QTest::newRow("维护") << -1 << "whb(whff) values('甲')"
                            << QStringList{"TabSheet2", "edit3", "edit5", "btnsave2", "btnadd2", "btnedit2"};
    }
    void typingIsDroppedOnlyWithTheUsersWord()
    {
        QFETCH(int, kind);
        QFETCH(QString, seed);
        QFETCH(QStringList, names);
        const QString typed = names[1], save = names[3], add = names[4], edit = names[5];
        test::ScriptedMessages messages;
        test::TempProgramDir dir;
        Database db(dir.dbPath());
        db.exec("insert into " + seed);
        AppContext ctx(db);
        std::unique_ptr<QWidget> w(kind < 0 ? createSettingsDialog(ctx, nullptr).release()
                                            : createWorkWindow(WorkWindowKind(kind), ctx, nullptr));
        QVERIFY(test::showActive(w.get()));
        test::WindowDriver ui(w.get());
        if (kind < 0)
            ui.find<QTabWidget>("PageControl1")->setCurrentWidget(ui.find(names[0]));
        ui.click(edit);
        ui.click(add);
        QVERIFY(messages.shown.isEmpty());

        ui.type(typed, "草稿");
        ui.find(names[2])->setFocus();
        ui.leave(names[2]);
        QCOMPARE(test::WindowDriver::focused(), save);
        messages.answers = {false, true, true};
        ui.click(edit);
        QCOMPARE(ui.text(typed), QString("草稿"));
        QVERIFY(!ui.enabled(add));
        ui.click(edit);
        QVERIFY(ui.enabled(add));
        ui.type(typed, "改稿");
        ui.click(add);
        QCOMPARE(ui.text(typed), QString());
        QCOMPARE(messages.texts(), QStringList(3, ui::kDropChanges));
    }
};

// The protocol every record window shares, run over each member.
class TestRecordProtocol : public QObject {
    Q_OBJECT
private slots:
    void emptyTableOpensInAddModeWithFirstNumber_data() { memberRows(); }
    void emptyTableOpensInAddModeWithFirstNumber()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        RecordWindow &w = shop.open(m.kind);
        if (m.numbered)
            QCOMPARE(shop.ui.text("edit1"), QString("000001"));
        QVERIFY(!w.btnadd->isEnabled());
        QVERIFY(!w.btnedit->isEnabled());
        QVERIFY(!w.btndelete->isEnabled());
        QVERIFY(w.DBGrid1->addModeLook());
        QCOMPARE(shop.ctx.status(), status::kAddReady);
        QVERIFY(shop.ui.hasFocus(m.required[0].box));
        QCOMPARE(shop.ui.find(m.required[0].box)->palette().color(QPalette::Base), QColor(0x9B, 0xDE, 0xFF));
        if (m.numbered) {
            shop.ui.find("edit1")->setFocus();
            QCOMPARE(shop.ui.find("edit1")->palette().color(QPalette::Base), QColor(0xDA, 0xE4, 0xF6));
            QVERIFY(shop.ui.find(m.required[0].box)->palette().color(QPalette::Base) != QColor(0x9B, 0xDE, 0xFF));
        }
        QVERIFY(shop.ctx.openFlag(m.kind));
        shop.ui.clickRow("DBGrid1", 0);
        QCOMPARE(messages.texts(), QStringList{m.emptyList});
    }

    void addSaveAdvancesTheNumberWithoutReadingTheTable_data() { memberRows(); }
    void addSaveAdvancesTheNumberWithoutReadingTheTable()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        RecordWindow &w = shop.open(m.kind);
        int reopened = 0;
        connect(w.ADOQuery1, &Query::rowsReset, [&] { ++reopened; });
        shop.fillRequired(m, "甲");
        shop.ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{m.savedAdd});
        QCOMPARE(reopened, 0);
        if (m.numbered)
            QCOMPARE(shop.ui.text("edit1"), QString("000002"));
        QCOMPARE(shop.ui.text(m.required[0].box), QString());
        QVERIFY(w.btnedit->isEnabled() && w.btndelete->isEnabled() && !w.btnadd->isEnabled());
        QCOMPARE(shop.ctx.status(), status::kSaved);
        QVERIFY(shop.ui.hasFocus(m.required[0].box));
        QCOMPARE(shop.column(m.table, m.required[0].column), QStringList{"甲"});
        if (m.numbered)
            QCOMPARE(shop.column(m.table, "bh"), QStringList{"000001"});
    }

    void requiredFieldsAreCheckedInOrder_data() { memberRows(); }
    void requiredFieldsAreCheckedInOrder()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        shop.open(m.kind);
        for (int k = 0; k < m.required.size(); ++k) {
            shop.fillRequired(m, "乙", k);
            messages.clear();
            shop.ui.click("btnsave");
            QCOMPARE(messages.texts(), QStringList{m.required[k].message});
            QVERIFY2(shop.ui.hasFocus(m.required[k].box), qPrintable(m.required[k].box));
        }
        QVERIFY(shop.column(m.table, m.required[0].column).isEmpty());
        // Blanks are not empty.
        shop.fillRequired(m, " ");
        messages.clear();
        shop.ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{m.savedAdd});
    }

    void numberTakenMeanwhileIsRefusedAndNothingWritten_data() { memberRowsWithNumbers(); }
    void numberTakenMeanwhileIsRefusedAndNothingWritten()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        shop.open(m.kind);
        shop.insertRow(m, 1, "旧");
        shop.fillRequired(m, "新");
        shop.ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{m.duplicate});
        QCOMPARE(shop.column(m.table, m.required[0].column), QStringList{"旧"});
        QCOMPARE(shop.ui.text("edit1"), QString("000001"));
        QCOMPARE(shop.ui.text(m.required[0].box), QString("新"));
        QCOMPARE(shop.list().state(), Query::State::Browse);
    }

    void listClickLoadsOnlyInEditMode_data() { memberRows(); }
    void listClickLoadsOnlyInEditMode()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        shop.insertRow(m, 1, "一");
        shop.insertRow(m, 2, "二");
        shop.open(m.kind);
        shop.ui.clickRow("DBGrid1", 0);
        QCOMPARE(shop.ui.text(m.required[0].box), QString());
        shop.ui.click("btnedit");
        QCOMPARE(shop.ctx.status(), status::kEditReady);
        QVERIFY(!shop.window->DBGrid1->addModeLook());
        QCOMPARE(shop.ui.text(m.required[0].box), QString("一"));
        shop.ui.clickRow("DBGrid1", 1);
        QCOMPARE(shop.ui.text(m.required.last().box), QString("二"));
        if (m.numbered)
            QCOMPARE(shop.ui.text("edit1"), QString("000002"));
        QVERIFY(messages.shown.isEmpty());
    }

    void editSaveAfterNavigatingWritesTheShownRowOnly_data() { memberRows(); }
    void editSaveAfterNavigatingWritesTheShownRowOnly()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        shop.insertRow(m, 1, "一");
        shop.insertRow(m, 2, "二");
        shop.open(m.kind);
        shop.ui.click("btnedit");
        shop.ui.click("nbFirst");
        QCOMPARE(shop.ui.text(m.required[0].box), QString("一"));
        shop.ui.type(m.required[0].box, "改");
        shop.ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{m.savedEdit});
        QCOMPARE(shop.column(m.table, m.required[0].column), QStringList({"改", "二"}));
        QCOMPARE(shop.column(m.table, m.required.last().column).last(), QString("二"));
    }

    void orderTakerCannotDelete_data() { memberRows(); }
    void orderTakerCannotDelete()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        shop.ctx.session.CurrentRole = 2;
        shop.insertRow(m, 1, "一");
        shop.open(m.kind);
        shop.ui.click("btndelete");
        QCOMPARE(messages.texts(), QStringList{deletion::kNoPermission});
        QCOMPARE(shop.column(m.table, m.required[0].column).size(), 1);
    }

    void deleteKeepsTheNumberInAddModeAndClearsItInEditMode_data() { memberRowsWithNumbers(); }
    void deleteKeepsTheNumberInAddModeAndClearsItInEditMode()
    {
        QFETCH(QString, name);
        const Member m = member(name);
        test::ScriptedMessages messages;
        Shop shop;
        shop.insertRow(m, 1, "一");
        shop.insertRow(m, 2, "二");
        RecordWindow &w = shop.open(m.kind);
        shop.ui.type(m.required[0].box, "草稿");
        messages.answers = {false, true};
        shop.ui.click("btndelete");
        QCOMPARE(shop.column(m.table, "bh").size(), 2);
        shop.ui.click("btndelete");
        QCOMPARE(messages.texts(), QStringList({deletion::kConfirmRecord, deletion::kConfirmRecord}));
        QCOMPARE(shop.column(m.table, "bh"), QStringList{"000001"});
        QCOMPARE(shop.ui.text("edit1"), QString("000003"));
        QCOMPARE(shop.ui.text(m.required[0].box), QString());
        QCOMPARE(shop.ctx.status(), status::kDeleted);

        shop.ui.click("btnedit");
        messages.answers = {true};
        shop.ui.click("btndelete");
        QCOMPARE(shop.ui.text("edit1"), QString());
        QCOMPARE(shop.ui.text(m.required[0].box), QString());
        QVERIFY(!w.btndelete->isEnabled());
        messages.clear();
        shop.ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{m.emptyNumber});
        QVERIFY(shop.column(m.table, "bh").isEmpty());
    }
};

// What single members add to the protocol.
class TestMemberAdditions : public QObject {
    Q_OBJECT
private slots:
    void partKindRepeatingACombinationIsRefused_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::newRow("other case") << QStringList{"abc", "x-1", "10k"};
        QTest::newRow("blanks around") << QStringList{"  ABC ", " X-1", "10K  "};
    }
    void partKindRepeatingACombinationIsRefused()
    {
        QFETCH(QStringList, typed);
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("bjjbxx", {{"bh", "000001"}, {"bjmc", "ABC"}, {"bjxh", "X-1"}, {"bjgg", "10K"}});
        shop.open(WorkWindowKind::Bjxx);
        for (int i = 0; i < 3; ++i)
            shop.ui.type(QString("edit%1").arg(i + 2), typed[i]);
        shop.ui.type("edit5", "个");
        messages.clear();
        shop.ui.click("btnsave");
        QCOMPARE(messages.last(), QString(" 与此备件的名称、型号、规格相同的记录已存在，请检查。 "));
        QCOMPARE(shop.column("bjjbxx", "bh"), QStringList{"000001"});
    }

    void partKindWithAnotherSizeIsAcceptedAndStoredTrimmed()
    {
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("bjjbxx", {{"bh", "000001"}, {"bjmc", "ABC"}, {"bjxh", "X-1"}, {"bjgg", "10K"}});
        shop.open(WorkWindowKind::Bjxx);
        shop.ui.type("edit2", "  ABC ");
        shop.ui.type("edit3", "X-1");
        shop.ui.type("edit4", " 20K ");
        shop.ui.type("edit5", " 个 ");
        messages.clear();
        shop.ui.click("btnsave");
        QCOMPARE(messages.texts(), QStringList{" 添加备件信息表保存成功！ "});
        QCOMPARE(shop.column("bjjbxx", "bjmc"), QStringList({"ABC", "ABC"}));
        QCOMPARE(shop.column("bjjbxx", "bjgg"), QStringList({"10K", "20K"}));
        QCOMPARE(shop.column("bjjbxx", "dw").last(), QString(" 个 "));
    }

    void leavingTheSizeOfAKnownPartKindWarnsAndShowsIt()
    {
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("bjjbxx", {{"bh", "000001"}, {"bjmc", "ABC"}, {"bjxh", "X-1"}, {"bjgg", "10K"}});
        shop.insert("bjjbxx", {{"bh", "000002"}, {"bjmc", "DEF"}, {"bjxh", "X-2"}, {"bjgg", "1K"}});
        shop.open(WorkWindowKind::Bjxx);
        QCOMPARE(shop.list().RecNo(), 1);
        shop.ui.type("edit2", "abc");
        shop.ui.type("edit3", "x-1");
        shop.ui.type("edit4", "10k");
        QVERIFY(messages.shown.isEmpty());
        shop.ui.find("edit5")->setFocus();
        QCOMPARE(messages.texts(), QStringList{" 与此备件的名称、型号、规格相同的记录已存在，请检查。 "});
        QCOMPARE(shop.list().RecNo(), 0);
        QVERIFY(shop.ui.hasFocus("edit5"));
        QCOMPARE(shop.column("bjjbxx", "bh").size(), 2);
    }

    void merchantNameRepeatedIsRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("same") << "华联商厦";
        QTest::newRow("blanks around") << "  华联商厦 ";
    }
    void merchantNameRepeatedIsRefused()
    {
        QFETCH(QString, typed);
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("sjjbxx", {{"bh", "000001"}, {"sjmc", "华联商厦"}});
        shop.insert("sjjbxx", {{"bh", "000002"}, {"sjmc", "百货大楼"}});
        shop.open(WorkWindowKind::Sjxx);
        shop.ui.type("edit2", typed);
        shop.ui.find("edit3")->setFocus();
        QCOMPARE(messages.texts(), QStringList{" 与此商家名称相同的记录已存在，请检查。 "});
        QCOMPARE(shop.list().RecNo(), 0);
        shop.ui.click("btnsave");
        QCOMPARE(messages.last(), QString(" 与此商家名称相同的记录已存在，请检查。 "));
        QCOMPARE(shop.column("sjjbxx", "bh").size(), 2);
    }

    void merchantNameIsStoredUntrimmedAndMayBeRenamedToAnother()
    {
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("sjjbxx", {{"bh", "000001"}, {"sjmc", "华联商厦"}});
        shop.open(WorkWindowKind::Sjxx);
        shop.ui.type("edit2", " 国美 ");
        shop.ui.click("btnsave");
        QCOMPARE(shop.column("sjjbxx", "sjmc"), QStringList({"华联商厦", " 国美 "}));
        shop.ui.click("btnedit");
        shop.ui.type("edit2", "华联商厦");
        shop.ui.click("btnsave");
        QCOMPARE(messages.last(), QString(" 修改商家信息表保存成功！ "));
        QCOMPARE(shop.column("sjjbxx", "sjmc"), QStringList({"华联商厦", "华联商厦"}));
    }

    void employeesMayShareANameAndKeepWhatWasTyped()
    {
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("bmb", {{"bmmc", "维修部"}});
        RecordWindow &w = shop.open(WorkWindowKind::Jyxx);
        QVERIFY(!shop.ui.find<QLineEdit>("edit1")->isReadOnly());
        for (int i = 0; i < 2; ++i) {
            shop.ui.type("edit1", "张三");
            shop.ui.type("ComboBox1", "未知");
            shop.ui.type("ComboBox2", "大专");
            shop.ui.type("ComboBox3", "维修部");
            shop.ui.type("edit2", "技师");
            shop.ui.find<DatePicker>("Date1")->setDate(QDate(1980, 1, 2));
            shop.ui.click("btnsave");
        }
        QCOMPARE(messages.texts(), QStringList(2, " 添加职员信息表保存成功！ "));
        QCOMPARE(shop.column("jyb", "jymc"), QStringList({"张三", "张三"}));
        QCOMPARE(shop.column("jyb", "xb"), QStringList({"未知", "未知"}));
        QCOMPARE(shop.column("jyb", "xl").first(), QString("大专"));
        QCOMPARE(shop.column("jyb", "csny").first(), QString("1980-01-02"));
        QVERIFY(w.btnedit->isEnabled());
    }

    void departmentsAreReadOnceWhenTheWindowIsCreated()
    {
        test::ScriptedMessages messages;
        Shop shop;
        shop.insert("bmb", {{"bmdh", "01"}, {"bmmc", "  维修部 "}});
        shop.insert("bmb", {{"bmdh", "02"}, {"bmmc", "销售部"}});
        shop.insert("jyb", {{"jymc", "李四"}});  // so that 修改 and then 添加 can be pressed
        shop.open(WorkWindowKind::Jyxx);
        shop.insert("bmb", {{"bmdh", "03"}, {"bmmc", "后勤部"}});
        auto items = [&] {
            QStringList all;
            auto *c = shop.ui.find<QComboBox>("ComboBox3");
            for (int i = 0; i < c->count(); ++i)
                all << c->itemText(i);
            return all;
        };
        QCOMPARE(items(), QStringList({"维修部", "销售部"}));
        shop.ui.click("btnedit");
        shop.ui.click("btnadd");
        QCOMPARE(items(), QStringList({"维修部", "销售部"}));
        shop.open(WorkWindowKind::Jyxx);
        QCOMPARE(items(), QStringList({"维修部", "销售部", "后勤部"}));
    }

    void deletingAnEmployeeEmptiesEveryFieldAndSetsThePickerToToday()
    {
        test::ScriptedMessages messages;
        test::FixedClock clock(test::at(2024, 6, 30, 15, 4, 5));
        Shop shop;
        shop.insert("jyb", {{"jymc", "李四"}, {"xb", "男"}, {"xl", "本科"}, {"bm", "维修部"}, {"jw", "技师"},
                            {"csny", "1975-09-10"}, {"xzz", "城东"}});
        shop.open(WorkWindowKind::Jyxx);
        shop.ui.click("btnedit");
        QCOMPARE(shop.ui.find<DatePicker>("Date1")->date(), QDate(1975, 9, 10));
        QCOMPARE(shop.ui.text("edit6"), QString("城东"));
        messages.answers = {true};
        shop.ui.click("btndelete");
        for (const char *box : {"edit1", "edit2", "edit3", "edit4", "edit5", "edit6", "ComboBox1", "ComboBox2",
                                "ComboBox3"})
            QVERIFY2(shop.ui.text(box).isEmpty(), box);
        QCOMPARE(shop.ui.find<DatePicker>("Date1")->date(), QDate(2024, 6, 30));
        QVERIFY(shop.column("jyb", "jymc").isEmpty());
    }

    void enterWalksTheChainAndStopsAtItsEnd_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("chain");
        QTest::newRow("客户") << int(WorkWindowKind::Khxx)
                            << QStringList{"edit2", "edit3", "edit4", "edit5", "edit6", "edit7", "edit8"};
        QTest::newRow("维修") << int(WorkWindowKind::Wxxx)
                            << QStringList{"edit2", "edit3", "edit4", "edit5", "edit6", "edit7", "edit8", "edit9"};
        QTest::newRow("备件") << int(WorkWindowKind::Bjxx)
                            << QStringList{"edit2", "edit3", "edit4", "edit5", "edit6", "edit7"};
        QTest::newRow("商家: none") << int(WorkWindowKind::Sjxx) << QStringList{"edit2"};
    }
    void enterWalksTheChainAndStopsAtItsEnd()
    {
        QFETCH(int, kind);
        QFETCH(QStringList, chain);
        test::ScriptedMessages messages;
        Shop shop;
        shop.open(WorkWindowKind(kind));
        for (const QString &box : chain) {
            QVERIFY2(shop.ui.hasFocus(box), qPrintable(box));
            QTest::keyClick(shop.ui.find(box), Qt::Key_Return);
        }
        QVERIFY(shop.ui.hasFocus(chain.last()));
    }
};

// Opening from the main window and printing.
class TestOpenAndPrint : public QObject {
    Q_OBJECT
private slots:
    void commandOpensTheWindowWithItsCaption_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("windowClass");
        QTest::newRow("维修信息") << "NK3" << "维修信息" << "korv::TFrmWxxx";
        QTest::newRow("备件信息") << "NK2" << "备件信息" << "korv::TFrmBjxx";
        QTest::newRow("职员信息") << "Nk18" << "职员信息" << "korv::Tfrmjyxx";
        QTest::newRow("客户信息") << "NK4" << "客户信息" << "korv::Tfrmkhxx";
        QTest::newRow("商家信息") << "NK5" << "商家信息" << "korv::TFrmsjxx";
    }
    void commandOpensTheWindowWithItsCaption()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        QFETCH(QString, windowClass);
        test::ScriptedMessages messages;
        test::TempProgramDir dir;
        TFrmMain_wxgl main(dir.path(), {});
        main.show();
        const QMap<QString, void (TFrmMain_wxgl::*)()> commands{
            {"NK3", &TFrmMain_wxgl::NK3Click}, {"NK2", &TFrmMain_wxgl::NK2Click}, {"Nk18", &TFrmMain_wxgl::Nk18Click},
            {"NK4", &TFrmMain_wxgl::NK4Click}, {"NK5", &TFrmMain_wxgl::NK5Click}};
        (main.*commands[command])();
        auto *w = qobject_cast<RecordWindow *>(main.currentWorkWindow());
        QVERIFY(w && w->isVisible());
        QCOMPARE(QString(w->metaObject()->className()), windowClass);
        QCOMPARE(main.findChild<QLabel *>("workAreaCaption")->text(), caption);
        QVERIFY(main.context().openFlag(w->kind()));
        QCOMPARE(main.context().status(), status::kAddReady);
        QVERIFY(messages.shown.isEmpty());
    }

    void customerPrintoutCarriesTheTitleOnEveryPage()
    {
        test::ScriptedMessages messages;
        Shop shop;
        for (int i = 1; i <= 100; ++i)
            shop.insert("khjbxx", {{"bh", padNumber(i, 6)}, {"khmc", QString("客户%1").arg(i)}});
        shop.open(WorkWindowKind::Khxx);
        shop.ui.click("btnprint");
        TmldyForm *preview = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<TmldyForm *>(w); p && p->isVisible())
                preview = p;
        QVERIFY(preview && preview->pageSource());
        const report::PageSource &pages = *preview->pageSource();
        QVERIFY(pages.pageCount() >= 2);
        QStringList all;
        for (int p = 1; p <= pages.pageCount(); ++p) {
            const QStringList texts = pages.page(p).allTexts();
            QVERIFY2(texts.contains("客户信息表"), qPrintable(QString::number(p)));
            all << texts;
        }
        QVERIFY(all.contains("000100") && all.contains("客户1") && all.contains("地  址"));
        QCOMPARE(shop.list().RecNo(), 99);
        delete preview;
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestUnsavedTyping, TestRecordProtocol, TestMemberAdditions, TestOpenAndPrint>(argc, argv);
}

#include "test_masterdata.moc"
