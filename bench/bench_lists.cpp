// Benchmark: opening the largest list (all settled orders) through Query against a raw sqlite3 read.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "data/Database.h"
#include "data/Query.h"

#include <sqlcipher/sqlite3.h>


#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace {

using korv::bench::secondsOf;

const char *const kListSql = "select * from jjdb where wxzt=2 order by wxdh";
constexpr int kScreenRows = 30;

struct Options {
    int orders = 200000;
    QString db;
    bool reuse = false;
    int reps = 5;
};

void usage()
{
    std::fprintf(stderr, "usage: bench_lists [--orders N] [--db PATH] [--reuse] [--reps N]\n");
}

std::optional<int> positive(const char *text)
{
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || v < 1 || v > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(v);
}

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--reuse") {
            o.reuse = true;
        } else if (arg == "--db" && hasValue) {
            o.db = QString::fromLocal8Bit(argv[++i]);
        } else if ((arg == "--orders" || arg == "--reps") && hasValue) {
            const auto v = positive(argv[++i]);
            if (!v)
                return std::nullopt;
            (arg == "--orders" ? o.orders : o.reps) = *v;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

void openList(korv::Query &list)
{
    list.setSql(QString::fromLatin1(kListSql));
    list.Open();
}

// What the grid does for its first screen: every cell of the top rows as text.
qint64 readFirstScreen(const korv::Query &list)
{
    qint64 chars = 0;
    for (int row = 0; row < std::min(kScreenRows, list.RecordCount()); ++row)
        for (int c = 0; c < list.columnCount(); ++c)
            chars += list.cellText(row, c).size();
    return chars;
}

// Every cell the query holds, back in UTF-8, must add up to what the raw read saw.
qint64 heldBytes(const korv::Query &list)
{
    qint64 total = 0;
    for (int row = 0; row < list.RecordCount(); ++row)
        for (int c = 0; c < list.columnCount(); ++c)
            total += list.cellText(row, c).toUtf8().size();
    return total;
}

int run(const Options &o)
{
    const QString path = o.db.isEmpty()
                             ? QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-lists-%1.mdb").arg(o.orders))
                             : o.db;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, korv::bench::BigShopSize::forOrders(o.orders)))
        return 1;

    korv::bench::RawReader raw(path, kListSql);
    korv::Database db(path);
    korv::Query list(db);
    double bestRaw = 1e300, bestQuery = 1e300;
    // Alternating the two keeps the page cache and the clock speed the same for both.
    for (int rep = 0; rep < o.reps; ++rep) {
        bestRaw = std::min(bestRaw, secondsOf([&] { raw.read(); }));
        list.Close();
        bestQuery = std::min(bestQuery, secondsOf([&] { openList(list); }));
    }
    qint64 screenChars = 0;
    const double screen = secondsOf([&] { screenChars = readFirstScreen(list); });

    list.Close();
    const size_t before = korv::bench::heapInUse();
    openList(list);
    const size_t after = korv::bench::heapInUse();
    const double held = double(after) - double(before);

    const qint64 checked = heldBytes(list);
    std::printf("rows: %d of %s orders, %d columns\n", raw.rows, qPrintable(db.scalar("select count(*) from jjdb")),
                raw.columns);
    std::printf("raw sqlite3 read: %.1f ms (best of %d)\n", bestRaw * 1e3, o.reps);
    std::printf("Query open:       %.1f ms (best of %d)\n", bestQuery * 1e3, o.reps);
    std::printf("first screen (%d rows as text): %.3f ms, %lld characters\n", kScreenRows, screen * 1e3,
                static_cast<long long>(screenChars));
    std::printf("cell texts (UTF-8): %lld bytes (%.1f MB), checksum %u\n", static_cast<long long>(raw.bytes),
                double(raw.bytes) / 1e6, raw.touched);
    std::printf("Query heap: %zu before, %zu after Open, %.0f held (%.1f MB)\n", before, after, held, held / 1e6);
    if (list.RecordCount() != raw.rows || checked != raw.bytes) {
        std::fprintf(stderr, "mismatch: Query holds %d rows and %lld bytes\n", list.RecordCount(),
                     static_cast<long long>(checked));
        return 1;
    }
    std::printf("memory ratio: %.2f\n", held / double(std::max<qint64>(raw.bytes, 1)));
    std::printf("ratio query/raw open: %.2f\n", bestQuery / bestRaw);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        usage();
        return 2;
    }
    try {
        return run(*options);
    } catch (const korv::DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
