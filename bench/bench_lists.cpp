// Benchmark: the settlement window's list of repaired orders on a long history: its first screen
// in a fresh process, what the open list holds per row, and moving to its last row or looking a
// customer up, each against raw sqlite3 running the same SQL.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "repair/Uqjdj.h"
#include "ui/DBGrid.h"

#include <sqlcipher/sqlite3.h>

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using korv::bench::secondsOf;

const char *const kListSql = "select * from jjdb where wxzt=2 order by wxdh";
const QSize kWindowSize(900, 520);

struct Options {
    int orders = 999999;
    int baseline = 20000;
    int reps = 3;
    bool reuse = false;
    QString child;  // --child-open PATH: one first open, printed for the parent
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    const korv::bench::CommandLine line{{{"--orders", &o.orders}, {"--baseline", &o.baseline}, {"--reps", &o.reps}},
                                        {{"--child-open", &o.child}},
                                        {{"--reuse", &o.reuse}}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
}

QString shopPath(int orders)
{
    return QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-settlement-%1.mdb").arg(orders));
}

void runUntilLoaded(const korv::Query &list)
{
    while (!list.fullyLoaded())
        QCoreApplication::processEvents();
}

korv::bench::OpenedWindow settlementWindow(korv::AppContext &ctx)
{
    auto *window = new korv::Tfrmqjdj(ctx);
    return {window, window->DBGrid1->viewport(), window->ADOQuery1};
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

volatile unsigned rawTouched = 0;  // keeps the raw reads' cell reads from being optimised away

// Raw sqlite3 stepping through every row of `sql` with `param` bound, reading every cell.
double rawSeconds(sqlite3 *db, const char *sql, const QByteArray &param = QByteArray())
{
    return secondsOf([&] {
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
        if (!param.isNull())
            sqlite3_bind_text(s, 1, param.constData(), int(param.size()), SQLITE_TRANSIENT);
        unsigned touched = 0;
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                touched += unsigned(sqlite3_column_bytes(s, c));
        sqlite3_finalize(s);
        rawTouched = touched;
    });
}

// Moving to the last row and looking up a customer by name in the open window, against raw
// sqlite3 reading the same rows: the last block of the list, and every order of the customer.
bool lastAndLocate(const QString &path, int reps)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    korv::Tfrmqjdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), kWindowSize);
    korv::Query &list = *window.ADOQuery1;
    // A clerk who presses 最后 at once waits for the rest of the rowids to be read first.
    const bool loading = !list.fullyLoaded();
    const double lastAtOnce = secondsOf([&] { list.Last(); });
    std::printf("Last right after the first paint: %.1f ms%s\n", lastAtOnce * 1e3,
                loading ? " (the rest of the rowids read first)" : "");
    runUntilLoaded(list);
    sqlite3 *rawDb = nullptr;
    const QByteArray key = korv::Database::programKey();
    sqlite3_open_v2(QFile::encodeName(path).constData(), &rawDb, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_key(rawDb, key.constData(), int(key.size()));
    const QString name = db.scalar(QStringLiteral("select xm from jjdb where wxzt=2 order by wxdh limit 1 offset %1")
                                       .arg(list.RecordCount() * 2 / 3));
    const QByteArray nameUtf8 = name.toUtf8();
    std::vector<double> last, rawLast, locate, rawLocate;
    bool found = true;
    for (int rep = 0; rep < reps; ++rep) {
        list.First();
        QCoreApplication::processEvents();
        rawLast.push_back(rawSeconds(rawDb, "select * from jjdb where wxzt=2 order by wxdh desc limit 64"));
        last.push_back(secondsOf([&] { list.Last(); }));
        rawLocate.push_back(rawSeconds(rawDb, "select rowid from jjdb where wxzt=2 and xm=?1 order by wxdh", nameUtf8));
        list.First();
        locate.push_back(secondsOf([&] { found = list.Locate(QStringLiteral("xm"), name) && found; }));
    }
    sqlite3_close(rawDb);
    const double lastMs = medianOf(last) * 1e3, rawLastMs = medianOf(rawLast) * 1e3;
    const double locateMs = medianOf(locate) * 1e3, rawLocateMs = medianOf(rawLocate) * 1e3;
    std::printf("Last: %.3f ms, raw sqlite3 reading the last 64 rows %.3f ms (medians of %d)\n", lastMs, rawLastMs, reps);
    std::printf("Locate of customer \"%s\": %.1f ms, raw sqlite3 finding the customer's orders in the list %.1f ms\n",
                qPrintable(name), locateMs, rawLocateMs);
    bool ok = found;
    if (!found)
        std::printf("Locate did not find the customer: FAIL\n");
    ok &= korv::bench::reportBar("Last / raw", lastMs / rawLastMs, 1.5, "x");
    ok &= korv::bench::reportBar("Locate / raw", locateMs / rawLocateMs, 1.5, "x");
    std::printf("peak resident: %.1f MB\n", double(korv::bench::peakResident()) / 1e6);
    return ok;
}

// Every cell of the list, read through the query, must be what raw sqlite3 reads.
bool sameRowsAsRaw(const QString &path)
{
    korv::bench::RawReader raw(path, kListSql);
    raw.read();
    korv::Database db(path);
    korv::Query list(db);
    list.setSql(QString::fromLatin1(kListSql));
    list.Open();
    const auto rows = list.rowReader();
    qint64 bytes = 0;
    for (int r = 0; r < rows->count(); ++r)
        for (int c = 0; c < rows->columnCount(); ++c)
            bytes += rows->text(r, c).toUtf8().size();
    const bool same = rows->count() == raw.rows && bytes == raw.bytes;
    std::printf("rows read through the list: %d rows, %lld bytes; raw: %d rows, %lld bytes%s\n", rows->count(),
                static_cast<long long>(bytes), raw.rows, static_cast<long long>(raw.bytes), same ? "" : " MISMATCH");
    return same;
}

int run(const Options &o)
{
    if (!o.child.isEmpty())
        return korv::bench::childOpen(o.child, kWindowSize, settlementWindow);
    for (int orders : {o.baseline, o.orders})
        if (!korv::bench::prepareDatabase(shopPath(orders), false, o.reuse || QFile::exists(shopPath(orders)),
                                          korv::bench::BigShopSize::forOrders(orders)))
            return 1;
    bool ok = sameRowsAsRaw(shopPath(o.baseline));
    std::printf("first open of the settlement window (making it until its list has painted once):\n");
    const auto firstOpen = [&](int orders) {
        return korv::bench::firstOpens({QStringLiteral("--child-open"), shopPath(orders)}, o.reps,
                                       qPrintable(QStringLiteral("%1 orders").arg(orders)));
    };
    const korv::bench::FirstOpen small = firstOpen(o.baseline);
    const korv::bench::FirstOpen big = firstOpen(o.orders);
    if (o.orders >= 999999)
        ok &= korv::bench::reportBar("first screen", big.ms, 150, "ms");
    else if (o.orders >= 200000)
        ok &= korv::bench::reportBar("first screen", big.ms, 100, "ms");
    ok &= korv::bench::reportBar("first screen / first screen of the baseline shop", big.ms / small.ms, 1.5, "x");
    // The window and the rows it caches for display cost about the same on both shops; what
    // the longer list adds is what it holds per row.
    const double perRow = (big.heap - small.heap) / double(std::max(1, big.rows - small.rows));
    ok &= korv::bench::reportBar("memory per listed row", perRow, 48, "bytes");
    ok &= lastAndLocate(shopPath(o.orders), o.reps);
    return korv::bench::finalResult(ok);
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(
        argc, argv, "bench_lists [--orders N] [--baseline N] [--reps N] [--reuse] [--child-open PATH]", parseOptions,
        run);
}
