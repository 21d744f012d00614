// Repair order rules: the overdue highlight, order numbers, station lists, flags and fee figures.
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "repair/RepairRules.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QTest>
#include <QTimeZone>
#include <algorithm>

using namespace korv;
using namespace korv::repair;

namespace {
void insertOrders(Database &db, const QStringList &numbers, int state = 0)
{
    db.exec("BEGIN");
    for (const QString &n : numbers)
        db.exec(QString("insert into jjdb(wxdh, wxzt) values(%1, %2)").arg(sqlQuote(n)).arg(state));
    db.exec("COMMIT");
}

// What the unordered list of all orders shows as its last row, plus one.
QString proposalFromLastListedRow(Database &db)
{
    Query all(db);
    all.setSql("select * from jjdb");
    all.Open();
    all.Last();
    return "01" + QString::number(all.asString("wxdh").mid(2).toLongLong() + 1).rightJustified(6, '0');
}
}  // namespace

class TestOverdueRule : public QObject {
    Q_OBJECT
private slots:
    void highlightsOnlyOrdersOlderThanThePeriod_data()
    {
        QTest::addColumn<QString>("stamp");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("overdue");
        const QDateTime noon = test::at(2024, 3, 2, 12, 0, 0);
        QTest::newRow("exactly 24 hours") << "2024-03-01 12:00:00" << "24" << noon << false;
        QTest::newRow("24 hours and a second") << "2024-03-01 11:59:59" << "24" << noon << true;
        QTest::newRow("across a leap month end") << "2024-02-29 23:00:00" << "1" << test::at(2024, 3, 1, 0, 0, 1) << true;
        QTest::newRow("month end not yet due") << "2024-01-31 23:00:00" << "2" << test::at(2024, 2, 1, 0, 59, 59) << false;
        QTest::newRow("across a year end") << "2023-12-31 20:00:00" << "24" << test::at(2024, 1, 1, 20, 0, 1) << true;
        QTest::newRow("days stored as a date alone") << "2024-02-28" << "48" << noon << true;
        QTest::newRow("stamp in the future") << "2024-03-03 12:00:00" << "0" << noon << false;
        QTest::newRow("period 0, one second old") << "2024-03-02 11:59:59" << "0" << noon << true;
        QTest::newRow("period 0, this very second") << "2024-03-02 12:00:00" << "0" << noon << false;
        QTest::newRow("empty period") << "2020-01-01 00:00:00" << "" << noon << false;
        QTest::newRow("period with a fraction") << "2020-01-01 00:00:00" << "1.5" << noon << false;
        QTest::newRow("absurd period") << "2020-01-01 00:00:00" << "999999999999999999" << noon << false;
        QTest::newRow("empty stamp") << "" << "0" << noon << false;
        QTest::newRow("garbage stamp") << "昨天" << "0" << noon << false;
        // The clock's zone must not shift the wall-clock comparison.
        QTest::newRow("now carrying a zone") << "2024-03-01 12:00:00" << "24"
                                             << QDateTime(QDate(2024, 3, 2), QTime(12, 0, 1), QTimeZone(8 * 3600))
                                             << true;
    }
    void highlightsOnlyOrdersOlderThanThePeriod()
    {
        QFETCH(QString, stamp);
        QFETCH(QString, hours);
        QFETCH(QDateTime, now);
        QFETCH(bool, overdue);
        QCOMPARE(isOverdue(stamp, hours, now), overdue);
    }
};

class TestOrderNumbers : public test::FreshDatabase {
    Q_OBJECT

private slots:

    void firstProposalOfAnEmptyTable()
    {
        QCOMPARE(proposeOrderNumber(*db, "01"), QString("01000001"));
        QCOMPARE(proposeOrderNumber(*db, "37"), QString("37000001"));
    }

    void proposalFollowsTheLastAddedOrderWhateverItsStateOrDepartment()
    {
        insertOrders(*db, {"01000005", "01000009"}, 0);
        insertOrders(*db, {"02000003"}, 2);
        QCOMPARE(proposeOrderNumber(*db, "01"), QString("01000004"));
    }

    void proposalAgreesWithTheLastRowOfTheUnorderedList()
    {
        QStringList numbers;
        for (int i = 1; i <= 300; ++i)
            numbers << QString("01%1").arg(i, 6, 10, QChar('0'));
        QRandomGenerator random(20240302);
        std::shuffle(numbers.begin(), numbers.end(), random);
        insertOrders(*db, numbers);
        QCOMPARE(proposeOrderNumber(*db, "01"), proposalFromLastListedRow(*db));
        QVERIFY(proposeOrderNumber(*db, "01") != "01000301");

        db->exec("delete from jjdb where wxdh = " + sqlQuote(numbers.last()));
        db->exec("delete from jjdb where wxdh = " + sqlQuote(numbers.at(100)));
        QCOMPARE(proposeOrderNumber(*db, "01"), proposalFromLastListedRow(*db));
        QCOMPARE(proposeOrderNumber(*db, "01"),
                 QString("01%1").arg(numbers.at(298).mid(2).toInt() + 1, 6, 10, QChar('0')));

        insertOrders(*db, {"01000777"});
        QCOMPARE(proposeOrderNumber(*db, "01"), QString("01000778"));
        QCOMPARE(proposalFromLastListedRow(*db), QString("01000778"));
    }

    void proposalRefusesALastNumberWithoutACounter_data()
    {
        QTest::addColumn<QString>("last");
        QTest::newRow("letters") << "01ABCDEF";
        QTest::newRow("department code only") << "01";
        QTest::newRow("empty") << "";
    }
    void proposalRefusesALastNumberWithoutACounter()
    {
        QFETCH(QString, last);
        insertOrders(*db, {"01000001", last});
        QVERIFY_THROWS_EXCEPTION(DbError, proposeOrderNumber(*db, "01"));
    }

    void nextNumberAfterASave_data()
    {
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QString>("next");
        QTest::newRow("plain") << "01000041" << "01000042";
        QTest::newRow("counter rolls into the code") << "01999999" << "02000000";
        QTest::newRow("department 00 keeps eight digits") << "00000009" << "00000010";
    }
    void nextNumberAfterASave()
    {
        QFETCH(QString, saved);
        QFETCH(QString, next);
        QCOMPARE(nextOrderNumberAfterSave(saved), next);
    }
    void nextNumberAfterASaveRefusesNonNumbers()
    {
        QVERIFY_THROWS_EXCEPTION(DbError, nextOrderNumberAfterSave("01A00041"));
        QVERIFY_THROWS_EXCEPTION(DbError, nextOrderNumberAfterSave(""));
    }

    void existingNumbersAreFoundExactly()
    {
        insertOrders(*db, {"01000001"}, 0);
        insertOrders(*db, {"01000002"}, 2);
        QVERIFY(orderNumberExists(*db, "01000001"));
        QVERIFY(orderNumberExists(*db, "01000002"));
        QVERIFY(orderNumberExists(*db, "  01000001 "));
        QVERIFY(!orderNumberExists(*db, "01000003"));
        QVERIFY(!orderNumberExists(*db, "0100000"));
        QVERIFY(!orderNumberExists(*db, ""));
        QVERIFY(!orderNumberExists(*db, "x' or '1'='1"));
    }

    void numberLookUpGoesThroughTheIndex()
    {
        Query plan(*db);
        plan.setSql("explain query plan " + orderNumberLookupSql());
        plan.Open();
        QVERIFY2(plan.asString("detail").contains("USING COVERING INDEX ux_jjdb_wxdh"),
                 qPrintable(plan.asString("detail")));
    }

    void eachListShowsOnlyItsStateInNumberOrder()
    {
        insertOrders(*db, {"01000009", "01000002"}, 0);
        insertOrders(*db, {"01000005", "01000001"}, 1);
        insertOrders(*db, {"01000003"}, 2);
        const QList<QPair<OrderState, QStringList>> expected{
            {OrderState::Pending, {"01000002", "01000009"}},
            {OrderState::Dispatched, {"01000001", "01000005"}},
            {OrderState::Repaired, {"01000003"}}};
        for (const auto &[state, numbers] : expected) {
            for (const QString &sql : {listSql(state), queryBaseSql(state) + "and wxdh like '01%' order by wxdh"}) {
                Query list(*db);
                list.setSql(sql);
                list.Open();
                QStringList shown;
                for (; !list.Eof(); list.Next())
                    shown << list.asString("wxdh");
                QCOMPARE(shown, numbers);
            }
        }
    }
};

class TestFlagsAndFees : public QObject {
    Q_OBJECT
private slots:
    void theChosenWarrantyShowsTheSameOnEveryDisplay()
    {
        for (const QString &choice : {kInWarranty, kOutOfWarranty, QString()}) {
            const QString flag = warrantyFlagFromChoice(choice);
            const QString shown = choice == kOutOfWarranty ? kOutOfWarranty : kInWarranty;
            QCOMPARE(intakeWarrantyText(flag), shown);
            QCOMPARE(sheetWarrantyText(flag), shown);
            QCOMPARE(settlementWarrantyText(flag), shown);
        }
    }

    void eachDisplayReadsAStoredWarrantyFlagItsOwnWay_data()
    {
        QTest::addColumn<QString>("sfbx");
        QTest::addColumn<QString>("intake");
        QTest::addColumn<QString>("sheet");
        QTest::addColumn<QString>("settlement");
        QTest::newRow("0") << "0" << kInWarranty << kInWarranty << kInWarranty;
        QTest::newRow("1") << "1" << kOutOfWarranty << kOutOfWarranty << kOutOfWarranty;
        QTest::newRow("empty") << "" << kInWarranty << kOutOfWarranty << kInWarranty;
        QTest::newRow("2") << "2" << kInWarranty << kOutOfWarranty << kOutOfWarranty;
    }
    void eachDisplayReadsAStoredWarrantyFlagItsOwnWay()
    {
        QFETCH(QString, sfbx);
        QFETCH(QString, intake);
        QFETCH(QString, sheet);
        QFETCH(QString, settlement);
        QCOMPARE(intakeWarrantyText(sfbx), intake);
        QCOMPARE(sheetWarrantyText(sfbx), sheet);
        QCOMPARE(settlementWarrantyText(sfbx), settlement);
    }

    void serviceModeRoundTrips()
    {
        QCOMPARE(serviceModeText(serviceModeFlag(true)), kOnSite);
        QCOMPARE(serviceModeText(serviceModeFlag(false)), kAtCounter);
        QCOMPARE(serviceModeText(""), kAtCounter);
    }

    void feeFigures_data()
    {
        QTest::addColumn<QStringList>("fees");  // wxf, jcf, smf, ljf, dj
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("due");
        QTest::newRow("typical") << QStringList{"100.00", "20.00", "0.00", "30.00", "50.00"} << "150" << "100";
        QTest::newRow("no deposit") << QStringList{"100", "", "0", "", ""} << "100" << "100";
        QTest::newRow("blank deposit") << QStringList{"12.5", "0", "0", "0", "  "} << "12.5" << "12.5";
        QTest::newRow("deposit above the fees") << QStringList{"20", "0", "0", "0", "50.00"} << "20" << "-30";
        QTest::newRow("binary fractions") << QStringList{"0.1", "0.2", "", "", "0.3"} << "0.3" << "0";
        QTest::newRow("binary fraction deposit") << QStringList{"0.3", "", "", "", "0.1"} << "0.3" << "0.2";
    }
    void feeFigures()
    {
        QFETCH(QStringList, fees);
        QFETCH(QString, total);
        QFETCH(QString, due);
        const double sum = feeTotal(fees[0], fees[1], fees[2], fees[3]);
        QCOMPARE(numberText(sum), total);
        const double rest = receivable(sum, fees[4]);
        QCOMPARE(numberText(rest), due);
        // The refund rule tests the sign, so the figures must be exact cents, not merely look so.
        QVERIFY(sum == total.toDouble());
        QVERIFY(rest == due.toDouble());
    }

    void storedMoneyThatIsNoNumberCountsZero_data()
    {
        QTest::addColumn<QString>("text");
        for (const char *text : {"abc", "12,5", "inf", "nan", "￥5", "-", ".", "-."})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void storedMoneyThatIsNoNumberCountsZero()
    {
        QFETCH(QString, text);
        QCOMPARE(moneyValue(text), 0.0);
        QCOMPARE(feeTotal("1", text, "1", "1"), 3.0);
        QCOMPARE(feeText(text), text);
    }

    void figuresShowInTheirShortestForm_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 150.0 << "150";
        QTest::newRow("one decimal") << 150.5 << "150.5";
        QTest::newRow("negative") << -20.0 << "-20";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative residue") << -0.001 << "0";
        QTest::newRow("float residue") << 0.1 + 0.2 << "0.3";
        QTest::newRow("large") << 1234567890.1 << "1234567890.1";
    }
    void figuresShowInTheirShortestForm()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return test::runTestClasses<TestOverdueRule, TestOrderNumbers, TestFlagsAndFees>(argc, argv);
}

#include "test_repair_rules.moc"
