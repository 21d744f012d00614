// Conventions shared by every window: message boxes, handlers, text forms, numbering, entry boxes.
#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/EnterChain.h"
#include "common/Gbk.h"
#include "common/Handlers.h"
#include "common/NumberBoxes.h"
#include "common/WorkWindow.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "masterdata/Ubjxx.h"
#include "masterdata/Ujyxx.h"
#include "masterdata/Ukhxx.h"
#include "masterdata/Usjxx.h"
#include "masterdata/Uwxxx.h"
#include "query_print/mldy.h"
#include "repair/Udxdj.h"
#include "repair/Upxdj.h"
#include "repair/Uqjdj.h"
#include "repair/Uwxll.h"
#include "repair/Uxfdj.h"
#include "settings/Uzdwh.h"
#include "shell/Uabout.h"
#include "shell/Umain.h"
#include "shell/Uxgkl.h"
#include "shell/Uyhdl.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace korv;

namespace {
const QColor kHighlight("#9BDEFF");
const QString kBadSql = "select * from no_such_table";

struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    AppContext ctx{db};
};

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Always closes the box, so a box without the wanted button fails the test instead of hanging it.
void answerNextBox(SeenBox &seen, QMessageBox::StandardButton button)
{
    test::onNextModal([&seen, button](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box || !box->button(button))
            return void(modal->close());
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    });
}

QString engineError(Database &db)
{
    try {
        db.exec(kBadSql);
    } catch (const DbError &e) {
        return e.text();
    }
    return {};
}

// Focus only really moves inside an active top-level window.
bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

struct Form {
    QWidget window;
    QVBoxLayout *layout = new QVBoxLayout(&window);
    template <class W> W *add(W *w)
    {
        layout->addWidget(w);
        return w;
    }
};

QColor baseOf(QWidget *w) { return w->palette().color(QPalette::Base); }

class HighlightWindow : public WorkWindow {
public:
    explicit HighlightWindow(AppContext &ctx) : WorkWindow(ctx, WorkWindowKind::Khxx)
    {
        b->setEditable(true);
        auto *layout = new QVBoxLayout(this);
        for (QWidget *w : boxes())
            layout->addWidget(w);
        highlightBoxes({a, b, c});
    }
    QList<QWidget *> boxes() const { return {a, b, c, d}; }
    QLineEdit *a = new QLineEdit(this);
    QComboBox *b = new QComboBox(this);
    DatePicker *c = new DatePicker(DatePicker::Kind::Date, this);
    QLineEdit *d = new QLineEdit(this);
};

class FailingWindow : public QWidget {
public:
    explicit FailingWindow(Database &db) : db_(db) {}
    void btnsaveClick()
    {
        steps << "before";
        db_.exec(kBadSql);
        steps << "after";
    }
    QStringList steps;

private:
    Database &db_;
};
}  // namespace

class TestMessagesAndHandlers : public QObject {
    Q_OBJECT
private slots:
    void scriptedBoxesGetTheirCaptionAndKind()
    {
        test::ScriptedMessages messages;
        messages.answers << true;
        messages.allowErrors();
        msg::info("i");
        msg::confirm("c");
        msg::plain("p");
        msg::error("e");
        const QList<MessageKind> kinds{MessageKind::Information, MessageKind::Confirmation, MessageKind::Plain,
                                       MessageKind::Error};
        const QStringList captions{"提示", "提示", "提示", "维修管理系统"};
        QCOMPARE(messages.texts(), QStringList({"i", "c", "p", "e"}));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(messages.shown[i].kind, kinds[i]);
            QCOMPARE(messages.shown[i].caption, captions[i]);
        }
    }

    // The presenter's failure must reach the test: if it stayed silent, the expected failure
    // would be left over and the check after it would count as an unexpected pass.
    void scriptedMessagesFailTheTestOnABoxItDidNotExpect_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("confirmation without an answer") << 0;
        QTest::newRow("error box not allowed") << 1;
        QTest::newRow("answer left over") << 2;
    }
    void scriptedMessagesFailTheTestOnABoxItDidNotExpect()
    {
        QFETCH(int, fault);
        bool answer = false;
        {
            test::ScriptedMessages messages;
            if (fault == 2)
                messages.answers << true;
            QEXPECT_FAIL("", "the presenter fails the test", Continue);
            if (fault == 0)
                answer = msg::confirm("c");
            else if (fault == 1)
                msg::error("e");
        }
        QVERIFY(true);
        QVERIFY(!answer);  // an unscripted confirmation is cancelled
    }

    void realConfirmationAnswersWithTheButtonClicked_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("answer");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
        QTest::newRow("OK") << int(QMessageBox::Ok) << true;
    }
    void realConfirmationAnswersWithTheButtonClicked()
    {
        QFETCH(int, button);
        QFETCH(bool, answer);
        SeenBox seen;
        answerNextBox(seen, QMessageBox::StandardButton(button));
        QCOMPARE(msg::confirm(deletion::kConfirmRecord), answer);
        QCOMPARE(seen.title, QString("提示"));
        QCOMPARE(seen.text, deletion::kConfirmRecord);
        QCOMPARE(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }

    void realErrorBoxCarriesTheApplicationTitleAndErrorIcon()
    {
        SeenBox seen;
        answerNextBox(seen, QMessageBox::Ok);
        msg::error("磁盘已满");
        QCOMPARE(seen.title, QString("维修管理系统"));
        QCOMPARE(seen.text, QString("磁盘已满"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
    }

    void dataErrorEndsTheHandlerWithTheEngineText_data()
    {
        QTest::addColumn<bool>("clicked");
        QTest::newRow("runHandler") << false;
        QTest::newRow("connectHandler and a click") << true;
    }
    void dataErrorEndsTheHandlerWithTheEngineText()
    {
        QFETCH(bool, clicked);
        test::ScriptedMessages messages;
        Shop shop;
        messages.allowErrors();
        FailingWindow window(shop.db);
        QVERIFY(runHandler([] {}));
        if (clicked) {
            auto *btnsave = new QPushButton("保存", &window);
            connectHandler(btnsave, &QPushButton::clicked, &window, &FailingWindow::btnsaveClick);
            QVERIFY(showActive(&window));
            // An exception escaping the slot would reach here and fail the test.
            QTest::mouseClick(btnsave, Qt::LeftButton);
        } else {
            QVERIFY(!runHandler([&] { window.btnsaveClick(); }));
        }
        QCOMPARE(window.steps, QStringList{"before"});
        QVERIFY(engineError(shop.db).contains("no_such_table"));
        QCOMPARE(messages.texts(), QStringList{engineError(shop.db)});
        QCOMPARE(messages.shown[0].kind, MessageKind::Error);
        QCOMPARE(messages.shown[0].caption, kApplicationTitle);
    }
};

class TestTextForms : public QObject {
    Q_OBJECT
private slots:
    void dateTimeTextsIgnoreTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("German") << "de_DE";
        QTest::newRow("Arabic-Egypt") << "ar_EG";
    }
    void dateTimeTextsIgnoreTheLocale()
    {
        QFETCH(QString, locale);
        const QLocale saved;
        QLocale::setDefault(QLocale(locale));
        const QDateTime moment = test::at(2005, 3, 5, 9, 7, 3);
        const QString full = dateTimeText(moment), day = dateText(moment);
        QLocale::setDefault(saved);
        QCOMPARE(full, QString("2005-03-05 09:07:03"));
        QCOMPARE(day, QString("2005-03-05"));
    }

    void parseAcceptsTheStoredAndTypedForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed");  // empty when refused
        QTest::newRow("short month and day") << "2005-3-5" << "2005-03-05 00:00:00";
        QTest::newRow("short hour") << "2005-03-05 9:07:03" << "2005-03-05 09:07:03";
        QTest::newRow("slashes, no seconds") << "2005/03/05 09:07" << "2005-03-05 09:07:00";
        QTest::newRow("no such day") << "2005-02-30" << "";
        QTest::newRow("day first") << "05-03-2005" << "";
        QTest::newRow("empty") << "" << "";
    }
    void parseAcceptsTheStoredAndTypedForms()
    {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        const auto value = parseDateTime(text);
        QCOMPARE(value ? dateTimeText(*value) : QString(), parsed);
    }

    void storedTextDropsOnlyAMidnightTime()
    {
        QCOMPARE(storedDateTimeText(test::at(2005, 3, 5)), QString("2005-03-05"));
        QCOMPARE(storedDateTimeText(test::at(2005, 3, 5, 0, 0, 1)), QString("2005-03-05 00:00:01"));
    }

    void gbkLengthCountsChineseAsTwoAndTheUnencodableAsOne_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bytes");
        QTest::newRow("letters") << "abcde" << 5;
        QTest::newRow("Chinese") << "三个字" << 6;
        QTest::newRow("blank inside") << "a b" << 3;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("emoji among Chinese") << "维😀修" << 5;
    }
    void gbkLengthCountsChineseAsTwoAndTheUnencodableAsOne()
    {
        QFETCH(QString, text);
        QFETCH(int, bytes);
        QCOMPARE(gbkByteLength(text), bytes);
    }
};

class TestRecordConventions : public QObject {
    Q_OBJECT
private slots:
    void emptyTableStartsAtOneInItsWidth()
    {
        Shop shop;
        Query list(shop.db);
        QCOMPARE(nextRecordNumber(list, "khjbxx", 6), QString("000001"));
        QCOMPARE(nextRecordNumber(list, "gjkc", 3), QString("001"));
    }

    void nextNumberFollowsTheHighestWhateverTheInsertOrderOrGaps()
    {
        Shop shop;
        Query list(shop.db);
        list.setSql("select * from khjbxx");
        list.Open();
        for (const char *bh : {"000003", "000007", "000001", "000005", "000002", "000006", "000004"}) {
            list.Append();
            list.setText("bh", bh);
            list.Post();
        }
        QCOMPARE(nextRecordNumber(list, "khjbxx", 6), QString("000008"));
        QCOMPARE(list.asString("bh"), QString("000007"));
        list.Delete();
        QCOMPARE(nextRecordNumber(list, "khjbxx", 6), QString("000007"));
        // A gap lower down must not pull the number back: it follows the highest, not the count.
        QVERIFY(list.Locate("bh", "000003"));
        list.Delete();
        QCOMPARE(nextRecordNumber(list, "khjbxx", 6), QString("000007"));
    }

    void advanceAddsOneInTheWidthAndRefusesNonNumbers()
    {
        QCOMPARE(advanceRecordNumber("000001", 6), QString("000002"));
        QCOMPARE(advanceRecordNumber("099", 3), QString("100"));
        QVERIFY_THROWS_EXCEPTION(DbError, advanceRecordNumber("abc", 6));
    }

    void onlyAConfirmingAdministratorDeletes_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("ok");
        QTest::newRow("order taker, never asked") << 2 << true;
        QTest::newRow("administrator cancels") << 1 << false;
        QTest::newRow("administrator confirms") << 1 << true;
    }
    void onlyAConfirmingAdministratorDeletes()
    {
        QFETCH(int, role);
        QFETCH(bool, ok);
        test::ScriptedMessages messages;
        if (role == 1)
            messages.answers = {ok};
        Shop shop;
        shop.ctx.session.CurrentRole = role;
        QCOMPARE(mayDelete(shop.ctx, deletion::kConfirmDispatch), role == 1 && ok);
        QCOMPARE(messages.shown.size(), 1);
        if (role == 1) {
            QCOMPARE(messages.shown[0].kind, MessageKind::Confirmation);
            QCOMPARE(messages.shown[0].text, deletion::kConfirmDispatch);
        } else {
            QCOMPARE(messages.shown[0].kind, MessageKind::Information);
            QCOMPARE(messages.shown[0].text, QString(" 对不起，接单员没有删除记录的权限。 "));
        }
    }

    void pickListIsTrimmedInTableOrder()
    {
        Shop shop;
        shop.db.exec("insert into bmb (bmdh, bmmc) values ('1', '  维修部 '), ('2', 'a b  '), ('3', ' 财务部')");
        QCOMPARE(shop.ctx.lookupList("select * from bmb", "bmmc"), QStringList({"维修部", "a b", "财务部"}));
    }
};

class TestEntryBoxes : public QObject {
    Q_OBJECT
private slots:
    void boxAppliesItsRuleOnceLeft_data()
    {
        QTest::addColumn<bool>("money");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("money left empty") << true << "" << "0.00";
        QTest::newRow("money whole") << true << "150" << "150.00";
        QTest::newRow("money one decimal") << true << "12.5" << "12.50";
        QTest::newRow("money refuses letters") << true << "1a5b" << "15.00";
        QTest::newRow("number keeps 00") << false << "00" << "00";
        QTest::newRow("number left empty") << false << "" << "";
        QTest::newRow("number refuses letters") << false << "1a2" << "12";
    }
    void boxAppliesItsRuleOnceLeft()
    {
        QFETCH(bool, money);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Form form;
        QLineEdit *box = form.add(money ? static_cast<QLineEdit *>(new MoneyEdit) : new IntEdit);
        auto *other = form.add(new QLineEdit);
        auto *neverVisited = form.add(new MoneyEdit);
        QVERIFY(showActive(&form.window));
        box->setFocus();
        QTest::keyClicks(box, typed);
        other->setFocus();
        QCOMPARE(box->text(), shown);
        QCOMPARE(neverVisited->text(), QString());
    }

    void arrowKeysStepTheWholeNumber_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::newRow("empty up") << "" << int(Qt::Key_Up) << "1";
        QTest::newRow("down") << "5" << int(Qt::Key_Down) << "4";
        QTest::newRow("up past nine") << "09" << int(Qt::Key_Up) << "10";
        QTest::newRow("never below zero") << "0" << int(Qt::Key_Down) << "0";
        QTest::newRow("never past nine digits") << "999999999" << int(Qt::Key_Up) << "999999999";
    }
    void arrowKeysStepTheWholeNumber()
    {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, after);
        IntEdit number;
        number.setText(before);
        QTest::keyClick(&number, Qt::Key(key));
        QCOMPARE(number.text(), after);
    }

    void pickerSetToNowTakesTheClocksMoment()
    {
        DatePicker picker(DatePicker::Kind::DateTime);
        picker.setFromText("2001-01-01 00:00:00");
        test::FixedClock clock(test::at(2005, 3, 5, 9, 7, 3));
        picker.setToNow();
        QCOMPARE(picker.dateTimeText(), QString("2005-03-05 09:07:03"));
        QCOMPARE(picker.dateText(), QString("2005-03-05"));
    }

    void pickerReadsBackWhatItWasGivenAndRefusesGarbage()
    {
        DatePicker picker(DatePicker::Kind::DateTime);
        picker.setFromText("2005-03-05 09:07:03");
        QCOMPARE(picker.dateTimeText(), QString("2005-03-05 09:07:03"));
        QVERIFY_THROWS_EXCEPTION(DbError, picker.setFromText("garbage"));
        QCOMPARE(picker.dateTimeText(), QString("2005-03-05 09:07:03"));
    }

    void enterMovesAlongTheChainAndStopsAtItsEnd()
    {
        Form form;
        auto *first = form.add(new QLineEdit);
        auto *second = form.add(new QComboBox);
        second->setEditable(true);
        auto *third = form.add(new QLineEdit);
        form.add(new QLineEdit);  // outside the chain, so a move past the end would show
        new EnterChain(&form.window, {first, second, third});
        QVERIFY(showActive(&form.window));
        first->setFocus();
        const QList<std::pair<Qt::Key, QWidget *>> steps{
            {Qt::Key_Return, second}, {Qt::Key_Enter, third}, {Qt::Key_Return, third}};
        for (const auto &[key, focused] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(focused->hasFocus());
        }
    }
};

class TestWorkWindows : public QObject {
    Q_OBJECT
private slots:
    void onlyTheFocusedRegisteredBoxIsHighlighted_data()
    {
        QTest::addColumn<int>("focused");
        QTest::newRow("line edit") << 0;
        QTest::newRow("editable combo box") << 1;
        QTest::newRow("date picker") << 2;
        QTest::newRow("unregistered box") << 3;
    }
    void onlyTheFocusedRegisteredBoxIsHighlighted()
    {
        QFETCH(int, focused);
        Shop shop;
        HighlightWindow window(shop.ctx);
        QVERIFY(showActive(&window));
        const QList<QWidget *> boxes = window.boxes();
        // Visiting every box first proves that earlier highlights are taken away again.
        for (QWidget *box : boxes + QList<QWidget *>{boxes[focused]}) {
            box->setFocus();
            QVERIFY(box->hasFocus());
            QVERIFY(baseOf(window.d) != kHighlight);
        }
        for (int i = 0; i < 3; ++i) {
            const QColor normal = QApplication::palette(boxes[i]).color(QPalette::Base);
            QCOMPARE(baseOf(boxes[i]), i == focused ? kHighlight : normal);
        }
        QCOMPARE(baseOf(window.b->lineEdit()), baseOf(window.b));
    }

    // Tests and themes find windows by objectName, so it must be the class name itself.
    void everyWindowIsNamedAfterItsClass()
    {
        test::TempProgramDir dir;
        TFrmMain_wxgl main(dir.path(), [] {});
        AppContext &ctx = main.context();
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.emplace_back(new TFrmyhdl(main));
        windows.emplace_back(new Tfrmxgkl(ctx));
        windows.emplace_back(new TFrmabout);
        windows.emplace_back(new TFrmzdwh(ctx));
        windows.emplace_back(new TFrmdxdj(ctx));
        windows.emplace_back(new TFrmpxdj(ctx));
        windows.emplace_back(new TFrmwxll(ctx));
        windows.emplace_back(new TFrmxfdj(ctx));
        windows.emplace_back(new Tfrmqjdj(ctx));
        windows.emplace_back(new Tfrmkhxx(ctx));
        windows.emplace_back(new Tfrmjyxx(ctx));
        windows.emplace_back(new TFrmsjxx(ctx));
        windows.emplace_back(new TFrmBjxx(ctx));
        windows.emplace_back(new TFrmWxxx(ctx));
        windows.emplace_back(new TmldyForm);
        QList<QWidget *> all{&main};
        for (const auto &w : windows)
            all << w.get();
        for (QWidget *w : all) {
            const QString className = QString::fromLatin1(w->metaObject()->className()).section("::", -1);
            QCOMPARE(w->objectName(), className);
        }
    }

    void showingSetsTheOpenFlagAndClosingClearsIt()
    {
        Shop shop;
        WorkWindow window(shop.ctx, WorkWindowKind::Bjgl);
        QVERIFY(!shop.ctx.openFlag(WorkWindowKind::Bjgl));
        window.show();
        QVERIFY(shop.ctx.openFlag(WorkWindowKind::Bjgl));
        QVERIFY(!shop.ctx.openFlag(WorkWindowKind::Gjgl));
        window.close();
        QVERIFY(!shop.ctx.openFlag(WorkWindowKind::Bjgl));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    return test::runTestClasses<TestMessagesAndHandlers, TestTextForms, TestRecordConventions, TestEntryBoxes,
                                TestWorkWindows>(argc, argv);
}

#include "test_conventions.moc"
