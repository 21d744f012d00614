// Benchmark: opening the customer window over 50,000 customers against a raw sqlite3 read.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "masterdata/Ukhxx.h"
#include "ui/DBGrid.h"

#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

const char *const kListSql = "select * from khjbxx order by bh";

struct Options {
    int customers = 50000;
    QString db;
    bool reuse = false;
    int reps = 5;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reuse") {
            o.reuse = true;
        } else if (arg == "--db" && i + 1 < argc) {
            o.db = QString::fromLocal8Bit(argv[++i]);
        } else if ((arg == "--customers" || arg == "--reps") && i + 1 < argc) {
            const int v = std::atoi(argv[++i]);
            if (v < 1)
                return std::nullopt;
            (arg == "--customers" ? o.customers : o.reps) = v;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

// Construct, show and paint the window as the main window's command does; answers its rows.
int openCustomerWindow(korv::AppContext &ctx)
{
    korv::Tfrmkhxx window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), QSize(644, 386));
    return window.DBGrid1->model()->rowCount();
}

int run(const Options &o)
{
    const QString path = o.db.isEmpty() ? QDir(QDir::tempPath())
                                              .filePath(QStringLiteral("korv-bench-customers-%1.mdb").arg(o.customers))
                                        : o.db;
    // Only the customers matter here; the other tables are kept small so generating is quick.
    korv::bench::BigShopSize size = korv::bench::BigShopSize::forOrders(2000);
    size.customers = o.customers;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, size))
        return 1;

    korv::bench::RawReader raw(path, kListSql);
    korv::Database db(path);
    korv::AppContext ctx(db);
    bool ok = false;
    const korv::bench::OpenComparison best = korv::bench::compareOpen(
        raw, o.reps, [&] { return openCustomerWindow(ctx); }, "customers", "customer window", ok);
    if (!ok)
        return 1;
    std::printf("ratio customer window/raw open: %.2f\n", best.window / best.raw);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv, "bench_customers [--customers N] [--db PATH] [--reuse] [--reps N]", parseOptions, run);
}
