// Checks of the big-shop generator the benchmarks measure against.
#include "support/BigShop.h"

#include "data/Database.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "data/Values.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using korv::bench::BigShopSize;
using korv::bench::generateBigShop;
using korv::bench::IfExists;

namespace {

BigShopSize smallShop()
{
    BigShopSize size;
    size.orders = 3000;
    size.customers = 300;
    size.products = 60;
    size.partKinds = 40;
    size.stockRows = 45;  // more stock rows than part kinds: record numbers must stay unique
    size.employees = 12;
    size.departments = 3;
    return size;
}

// Every row of `sql` as its cells' texts (null as an absent QString).
QList<QStringList> rows(korv::Database &db, const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK)
        throw korv::DbError(db.lastErrorText());
    QList<QStringList> result;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList cells;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            cells << (text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, c)) : QString());
        }
        result << cells;
    }
    sqlite3_finalize(stmt);
    return result;
}

int count(korv::Database &db, const QString &sql)
{
    return db.scalar(sql).toInt();
}

QByteArray digestOf(const QString &path)
{
    korv::Database db(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const korv::TableDef &t : korv::schemaTables())
        for (const QStringList &row : rows(db, QStringLiteral("select * from %1 order by rowid").arg(t.name)))
            hash.addData(row.join(QChar(0x1f)).toUtf8() + '\n');
    return hash.result();
}

const char *const kSettlementColumns[] = {"ylbj", "jcf", "ljf", "xlqk", "xfrq", "qssj", "whfs", "whqx", "fkfs",
                                          "jjkx", "qjr", "qjrq", "hfr", "hfsj", "hfqk"};
const char *const kIntakeColumns[] = {"wxdh", "cpmc", "lb", "xh", "xm", "dh", "yb", "dz", "gjyy", "fj",
                                      "jjrq", "jjy", "ys", "dj", "sfbx", "wxfs", "dycs"};

}  // namespace

class TestBigShop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("shop.mdb"));
        generateBigShop(path_, smallShop());
        db_ = std::make_unique<korv::Database>(path_);
    }

    void fillsEveryTableToTheRequestedSize()
    {
        const BigShopSize size = smallShop();
        korv::Database &db = *db_;
        QCOMPARE(count(db, "select count(*) from jjdb"), size.orders);
        QCOMPARE(count(db, "select count(*) from khjbxx"), size.customers);
        QCOMPARE(count(db, "select count(*) from cpjbxx"), size.products);
        QCOMPARE(count(db, "select count(*) from bjjbxx"), size.partKinds);
        QCOMPARE(count(db, "select count(*) from bjkc"), size.stockRows);
        QCOMPARE(count(db, "select count(*) from jyb"), size.employees);
        QCOMPARE(count(db, "select count(*) from bmb"), size.departments);
        const QList<QStringList> settings{QStringList{"01", "24", "48"}};
        QCOMPARE(rows(db, "select bmdh, bjqx, bjqx2 from csszb"), settings);
        QCOMPARE(count(db, "select count(*) from yhb"), 2);
    }

    void numbersRecordsAscendingInInsertionOrder()
    {
        korv::Database &db = *db_;
        QCOMPARE(count(db, "select count(*) from jjdb where wxdh <> printf('01%06d', rowid)"), 0);
        for (const char *table : {"khjbxx", "cpjbxx", "bjjbxx", "bjkc"})
            QCOMPARE(count(db, QStringLiteral("select count(*) from %1 where bh <> printf('%06d', rowid)").arg(table)),
                     0);
        QCOMPARE(count(db, "select count(*) from jjdb a join jjdb b on b.rowid = a.rowid + 1 where b.jjrq < a.jjrq"),
                 0);
    }

    void settlesAboutTheRequestedShare_data()
    {
        QTest::addColumn<double>("share");
        QTest::newRow("default") << 0.9;
        QTest::newRow("half") << 0.5;
        QTest::newRow("all") << 1.0;
        QTest::newRow("none") << 0.0;
    }
    void settlesAboutTheRequestedShare()
    {
        QFETCH(double, share);
        BigShopSize size = smallShop();
        size.settledShare = share;
        const QString path = dir_.filePath(QStringLiteral("share.mdb"));
        generateBigShop(path, size, IfExists::Replace);
        korv::Database db(path);
        const double settled = count(db, "select count(*) from jjdb where wxzt = 2") / double(size.orders);
        QVERIFY2(qAbs(settled - share) < 0.03, qPrintable(QString::number(settled)));
        QCOMPARE(count(db, "select count(*) from jjdb where wxzt not in (0, 1, 2) or wxzt is null"), 0);
        if (share < 1.0) {
            QVERIFY(count(db, "select count(*) from jjdb where wxzt = 0") > 0);
            QVERIFY(count(db, "select count(*) from jjdb where wxzt = 1") > 0);
        }
    }

    // What a window shows for an order depends on how far it has got: intake is always complete,
    // dispatch adds the technician, settlement adds every sign-off column.
    void fillsColumnsAsFarAsTheOrderHasGot()
    {
        korv::Query q(*db_);
        q.setSql(QStringLiteral("select * from jjdb"));
        q.Open();
        for (; !q.Eof(); q.Next()) {
            const qint64 status = q.asInteger("wxzt");
            for (const char *c : kIntakeColumns)
                QVERIFY2(!q.asString(c).isEmpty(), c);
            QCOMPARE(!q.isNull("wxry") && !q.isNull("jxsj"), status > 0);
            for (const char *c : kSettlementColumns) {
                QCOMPARE(q.isNull(c), status < 2);
                if (status == 2)
                    QVERIFY2(!q.asString(c).isEmpty(), c);
            }
        }
    }

    void storesValuesInTheFormsTheProgramReads()
    {
        static const QRegularExpression dateTime(QStringLiteral(R"(^\d{4}-\d\d-\d\d( \d\d:\d\d:\d\d)?$)"));
        static const QRegularExpression moneyText(QStringLiteral(R"(^\d+\.\d\d$)"));
        for (const korv::TableDef &t : korv::schemaTables())
            for (const korv::ColumnDef &c : t.columns) {
                const auto cells = rows(*db_, QStringLiteral("select \"%1\", typeof(\"%1\") from %2 where \"%1\" is not null")
                                                  .arg(c.name, t.name));
                for (const QStringList &cell : cells) {
                    const QString where = QStringLiteral("%1.%2 = %3").arg(t.name, c.name, cell[0]);
                    const bool whole = korv::isWholeNumberType(c.type);
                    QVERIFY2(cell[1] == (whole ? "integer" : "text"), qPrintable(where));
                    if (c.type == korv::ColumnType::Flag)
                        QVERIFY2(cell[0] == "0" || cell[0] == "1", qPrintable(where));
                    if (c.type == korv::ColumnType::Money)
                        QVERIFY2(moneyText.match(cell[0]).hasMatch(), qPrintable(where));
                    if (c.type == korv::ColumnType::DateTime)
                        QVERIFY2(dateTime.match(cell[0]).hasMatch() && korv::parseDateTime(cell[0]), qPrintable(where));
                }
            }
    }

    void keepsTheEventsOfAnOrderInTimeOrder()
    {
        korv::Database &db = *db_;
        QCOMPARE(count(db, "select count(*) from jjdb where gmrq > substr(jjrq, 1, 10)"
                           " or scwxrq > substr(jjrq, 1, 10) or jxsj <= jjrq"),
                 0);
        QCOMPARE(count(db, "select count(*) from jjdb where wxzt = 2 and (qssj < jxsj or xfrq <> substr(qssj, 1, 10)"
                           " or qjrq < qssj or hfsj <= qjrq)"),
                 0);
        QCOMPARE(count(db, "select count(*) from jjdb where time(jjrq) not between '08:30:00' and '18:00:00'"), 0);
    }

    void totalsTheSettlementFromItsParts()
    {
        korv::Database &db = *db_;
        QCOMPARE(count(db, "select count(*) from jjdb where wxzt = 2 and"
                           " round((jcf + ljf + wxf + smf) * 100) <> round(jjkx * 100)"),
                 0);
        QCOMPARE(count(db, "select count(*) from jjdb where wxzt = 2 and sfbx = 1 and wxf <> '0.00'"), 0);
        QCOMPARE(count(db, "select count(*) from jjdb where wxfs = 0 and smf <> '0.00'"), 0);
        QVERIFY(count(db, "select count(*) from jjdb where sfbx = 1") > 0);
    }

    // Lengths in characters, so that the list carries as many bytes as a real shop's.
    void writesChineseTextsOfShopLengths()
    {
        const auto average = [&](const char *column) {
            return db_->scalar(QStringLiteral("select avg(length(%1)) from jjdb").arg(column)).toDouble();
        };
        QVERIFY(average("xm") >= 2.0 && average("xm") <= 5.0);
        QVERIFY(average("dz") >= 15.0 && average("dz") <= 40.0);
        QVERIFY(average("gjyy") >= 6.0 && average("gjyy") <= 40.0);
        QVERIFY(average("xlqk") >= 8.0 && average("xlqk") <= 40.0);
        const auto names = rows(*db_, "select xm from jjdb where xm not like '%中学' limit 200");
        static const QRegularExpression chinese(QStringLiteral(R"(^\p{Han}+$)"));
        for (const QStringList &name : names)
            QVERIFY2(chinese.match(name[0]).hasMatch(), qPrintable(name[0]));
    }

    void givesTheSameShopForTheSameSeed()
    {
        BigShopSize size = BigShopSize::forOrders(400);
        const QString a = dir_.filePath(QStringLiteral("a.mdb"));
        const QString b = dir_.filePath(QStringLiteral("b.mdb"));
        generateBigShop(a, size, IfExists::Replace);
        generateBigShop(b, size, IfExists::Replace);
        QCOMPARE(digestOf(a), digestOf(b));
        size.seed += 1;
        generateBigShop(b, size, IfExists::Replace);
        QVERIFY(digestOf(a) != digestOf(b));
    }

    void replacesAnExistingFileOnlyWhenAsked()
    {
        const QString path = dir_.filePath(QStringLiteral("existing.mdb"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("a shop's real data");
        }
        QVERIFY_THROWS_EXCEPTION(korv::DbError, generateBigShop(path, BigShopSize::forOrders(50)));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("a shop's real data"));
        f.close();
        generateBigShop(path, BigShopSize::forOrders(50), IfExists::Replace);
        korv::Database db(path);
        QCOMPARE(count(db, "select count(*) from jjdb"), 50);
    }

    void scalesEveryTableWithTheOrders()
    {
        const BigShopSize full = BigShopSize::forOrders(200000);
        const BigShopSize defaults;
        QCOMPARE(full.customers, defaults.customers);
        QCOMPARE(full.employees, defaults.employees);
        const BigShopSize tenth = BigShopSize::forOrders(20000);
        QCOMPARE(tenth.orders, 20000);
        QCOMPARE(tenth.customers, 5000);
        QCOMPARE(tenth.products, 500);
        QCOMPARE(tenth.partKinds, 200);
        QCOMPARE(tenth.stockRows, 200);
        QCOMPARE(tenth.employees, 20);
        const BigShopSize tiny = BigShopSize::forOrders(10);
        QCOMPARE(tiny.customers, 10);
        QCOMPARE(tiny.employees, 10);
    }

    void refusesSizesItCannotFill_data()
    {
        QTest::addColumn<int>("orders");
        QTest::addColumn<int>("employees");
        QTest::addColumn<int>("departments");
        QTest::newRow("more orders than numbers") << 1000000 << 20 << 3;
        QTest::newRow("too few staff for every role") << 100 << 3 << 3;
        QTest::newRow("no departments") << 100 << 20 << 0;
    }
    void refusesSizesItCannotFill()
    {
        QFETCH(int, orders);
        QFETCH(int, employees);
        QFETCH(int, departments);
        BigShopSize size = BigShopSize::forOrders(100);
        size.orders = orders;
        size.employees = employees;
        size.departments = departments;
        const QString path = dir_.filePath(QStringLiteral("refused.mdb"));
        QVERIFY_THROWS_EXCEPTION(korv::DbError, generateBigShop(path, size));
        QVERIFY(!QFile::exists(path));
    }

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<korv::Database> db_;
};

QTEST_GUILESS_MAIN(TestBigShop)
#include "test_bigshop.moc"
