// Benchmark: the customer window's first open over 50,000 customers, in a fresh process, against
// raw sqlite3 reading the same rows.
#include "support/BigShop.h"
#include "support/Harness.h"

#include "common/AppContext.h"
#include "data/Query.h"
#include "masterdata/Ukhxx.h"
#include "ui/DBGrid.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

const char *const kListSql = "select * from khjbxx order by bh";

struct Options {
    int customers = 50000;
    QString db;
    bool reuse = false;
    int reps = 5;
    QString child;  // --child-open PATH: one first open, printed for the parent
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    const korv::bench::CommandLine line{
        {{"--customers", &o.customers}, {"--reps", &o.reps}}, {{"--db", &o.db}, {"--child-open", &o.child}},
        {{"--reuse", &o.reuse}}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
}

korv::bench::OpenedWindow customerWindow(korv::AppContext &ctx)
{
    auto *window = new korv::Tfrmkhxx(ctx);
    return {window, window->DBGrid1->viewport(), window->ADOQuery1};
}

int run(const Options &o)
{
    if (!o.child.isEmpty())
        return korv::bench::childOpen(o.child, QSize(644, 386), customerWindow);
    const QString path = o.db.isEmpty() ? QDir(QDir::tempPath())
                                              .filePath(QStringLiteral("korv-bench-customers-%1.mdb").arg(o.customers))
                                        : o.db;
    // Only the customers matter here; the other tables are kept small so generating is quick.
    korv::bench::BigShopSize size = korv::bench::BigShopSize::forOrders(2000);
    size.customers = o.customers;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, size))
        return 1;
    const bool ok = korv::bench::firstOpenAgainstRaw(path, kListSql, {QStringLiteral("--child-open"), path}, o.reps,
                                                     "customer window", 2.0);
    return korv::bench::finalResult(ok);
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(
        argc, argv, "bench_customers [--customers N] [--db PATH] [--reuse] [--reps N] [--child-open PATH]",
        parseOptions, run);
}
