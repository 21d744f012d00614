// Benchmark: the spare-part stock window over 20,000 stocked parts against a raw sqlite3 read,
// and the cost of one stock movement at 20,000 rows against 100.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "common/NumberBoxes.h"
#include "data/Database.h"
#include "data/Query.h"
#include "inventory/Ubjcr.h"
#include "inventory/Ubjgl.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QFont>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace {

using korv::bench::secondsOf;

const char *const kListSql = "select * from bjkc order by bh";
constexpr int kSmallStock = 100;

struct Options {
    int parts = 20000;
    int movements = 40;
    int reps = 9;
    bool reuse = false;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reuse") {
            o.reuse = true;
        } else if ((arg == "--parts" || arg == "--reps" || arg == "--movements") && i + 1 < argc) {
            const int v = std::atoi(argv[++i]);
            if (v < 1)
                return std::nullopt;
            (arg == "--parts" ? o.parts : arg == "--reps" ? o.reps : o.movements) = v;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

QString shopWithStock(int parts, bool reuse)
{
    const QString path =
        QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-store-%1.mdb").arg(parts));
    korv::bench::BigShopSize size = korv::bench::BigShopSize::forOrders(1000);
    size.stockRows = parts;
    if (!korv::bench::prepareDatabase(path, false, reuse, size))
        return QString();
    return path;
}

// Construct, show and paint the window as the main window's command does; answers its rows.
int openStockWindow(korv::AppContext &ctx)
{
    korv::Tfrmbjgl window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), QSize(644, 386));
    return window.DBGrid1->model()->rowCount();
}

// Processor seconds of this process, which other work on a busy machine does not stretch.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct MovementCost {
    double wall = 0;  // seconds, the disk's wait included
    double cpu = 0;   // processor seconds, the work that could grow with the table
};

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + qsizetype(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Medians over stock-ins of one part through the movement dialog, spread over the whole list;
// medians, since each movement waits for the disk and a busy machine stretches a few.
MovementCost movementCost(const QString &path, int movements)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    korv::Tfrmbjgl window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), QSize(644, 386));
    korv::TFrmbjcr dialog(ctx, window.ADOQuery1, &window);
    dialog.setMode(korv::TFrmbjcr::Mode::StockIn);
    const int rows = window.ADOQuery1->RecordCount();
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < movements; ++i) {
        window.ADOQuery1->moveTo(int(qint64(i) * 7919 % rows));
        dialog.suiSpinEdit1->setText(QStringLiteral("1"));
        const double cpuStart = cpuSeconds();
        wall.push_back(secondsOf([&] { dialog.btnbjrkClick(); }));
        cpu.push_back(cpuSeconds() - cpuStart);
    }
    return {median(wall), median(cpu)};
}

int run(const Options &o)
{
    const QString big = shopWithStock(o.parts, o.reuse);
    const QString small = shopWithStock(kSmallStock, o.reuse);
    if (big.isEmpty() || small.isEmpty())
        return 1;

    const MovementCost atSmall = movementCost(small, o.movements);
    const MovementCost atBig = movementCost(big, o.movements);
    std::printf("stock-in at %d parts: %.2f ms (%.3f ms processor), at %d parts: %.2f ms (%.3f ms processor)"
                " (medians of %d)\n",
                kSmallStock, atSmall.wall * 1e3, atSmall.cpu * 1e3, o.parts, atBig.wall * 1e3, atBig.cpu * 1e3,
                o.movements);
    std::printf("ratio movement %d/%d parts: %.2f (processor %.2f)\n", o.parts, kSmallStock, atBig.wall / atSmall.wall,
                atBig.cpu / atSmall.cpu);

    korv::bench::RawReader raw(big, kListSql);
    korv::Database db(big);
    korv::AppContext ctx(db);
    bool ok = false;
    const korv::bench::OpenComparison best = korv::bench::compareOpen(
        raw, o.reps, [&] { return openStockWindow(ctx); }, "stock rows", "stock window", ok);
    if (!ok)
        return 1;
    std::printf("ratio stock window/raw open: %.2f\n", best.window / best.raw);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv, "bench_store [--parts N] [--movements N] [--reps N] [--reuse]", parseOptions, run);
}
