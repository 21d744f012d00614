// Benchmark: the spare-part stock window's first open over 20,000 stocked parts, in a fresh
// process, against raw sqlite3 reading the same rows; and one stock movement at 20,000 rows
// against 100.
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

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

namespace {

using korv::bench::secondsOf;

const char *const kListSql = "select * from bjkc order by bh";
constexpr int kSmallStock = 100;

struct Options {
    int parts = 20000;
    int movements = 40;
    int reps = 5;
    bool reuse = false;
    QString child;  // --child-open PATH: one first open, printed for the parent
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    const korv::bench::CommandLine line{
        {{"--parts", &o.parts}, {"--reps", &o.reps}, {"--movements", &o.movements}}, {{"--child-open", &o.child}},
        {{"--reuse", &o.reuse}}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
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

korv::bench::OpenedWindow stockWindow(korv::AppContext &ctx)
{
    auto *window = new korv::Tfrmbjgl(ctx);
    return {window, window->DBGrid1->viewport(), window->ADOQuery1};
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
    double peakMb = 0;  // this process's peak resident memory while moving stock
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
    // Keys still loading in the background would count as processor time of the movements.
    while (!window.ADOQuery1->fullyLoaded())
        QCoreApplication::processEvents();
    korv::TFrmbjcr dialog(ctx, window.ADOQuery1, &window);
    dialog.setMode(korv::TFrmbjcr::Mode::StockIn);
    const int rows = window.ADOQuery1->RecordCount();
    std::vector<double> wall;
    std::vector<double> cpu;
    korv::bench::resetPeakResident();
    for (int i = 0; i < movements; ++i) {
        window.ADOQuery1->moveTo(int(qint64(i) * 7919 % rows));
        dialog.suiSpinEdit1->setText(QStringLiteral("1"));
        const double cpuStart = cpuSeconds();
        wall.push_back(secondsOf([&] { dialog.btnbjrkClick(); }));
        cpu.push_back(cpuSeconds() - cpuStart);
    }
    return {median(wall), median(cpu), double(korv::bench::peakResident()) / 1e6};
}

// One stock-in at the big stock against the small: the processor work must not grow with the
// table (the wall time, mostly the disk's wait, is printed beside it).
bool movementAgainstSmall(const QString &big, const QString &small, const Options &o)
{
    const MovementCost atSmall = movementCost(small, o.movements);
    const MovementCost atBig = movementCost(big, o.movements);
    std::printf("stock-in through the movement dialog (medians of %d, spread over the list):\n", o.movements);
    for (const auto &[parts, cost] : {std::pair{kSmallStock, atSmall}, std::pair{o.parts, atBig}})
        std::printf("  %d parts: %.2f ms, %.3f ms processor, peak resident %.1f MB\n", parts, cost.wall * 1e3,
                    cost.cpu * 1e3, cost.peakMb);
    std::printf("  wall time %d parts / %d parts: %.2f x\n", o.parts, kSmallStock, atBig.wall / atSmall.wall);
    return korv::bench::reportBar(qPrintable(QStringLiteral("stock-in processor time, %1 parts / %2 parts")
                                                 .arg(o.parts)
                                                 .arg(kSmallStock)),
                                  atBig.cpu / atSmall.cpu, 1.5, "x");
}

int run(const Options &o)
{
    if (!o.child.isEmpty())
        return korv::bench::childOpen(o.child, QSize(644, 386), stockWindow);
    const QString big = shopWithStock(o.parts, o.reuse);
    const QString small = shopWithStock(kSmallStock, o.reuse);
    if (big.isEmpty() || small.isEmpty())
        return 1;
    bool ok = movementAgainstSmall(big, small, o);
    ok &= korv::bench::firstOpenAgainstRaw(big, kListSql, {QStringLiteral("--child-open"), big}, o.reps,
                                           "stock window", 2.0);
    return korv::bench::finalResult(ok);
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(
        argc, argv, "bench_store [--parts N] [--movements N] [--reps N] [--reuse] [--child-open PATH]", parseOptions,
        run);
}
