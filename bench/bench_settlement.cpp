// Benchmark: the settlement window over a big shop's repaired orders, and its business sheet.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "repair/BusinessSheet.h"
#include "repair/Uqjdj.h"
#include "ui/DBGrid.h"


#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

using korv::bench::secondsOf;

const char *const kListSql = "select * from jjdb where wxzt=2 order by wxdh";

struct Options {
    int orders = 200000;
    int sheetOrders = 1000;
    QString db;
    bool reuse = false;
    int reps = 3;
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
        } else if ((arg == "--orders" || arg == "--reps" || arg == "--sheet") && i + 1 < argc) {
            const int v = std::atoi(argv[++i]);
            if (v < 1)
                return std::nullopt;
            (arg == "--orders" ? o.orders : arg == "--reps" ? o.reps : o.sheetOrders) = v;
        } else {
            return std::nullopt;
        }
    }
    return o;
}

double megabytes(double bytes) { return bytes / 1e6; }

int openSettlementWindow(korv::AppContext &ctx)
{
    korv::Tfrmqjdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), QSize(900, 520));
    return window.DBGrid1->model()->rowCount();
}

// (b) The sheet of the first `count` repaired orders, the list reopened on them as the query
// dialog would. Its heap growth is set against the UTF-8 size of the whole settlement list.
int measureSheet(korv::AppContext &ctx, korv::Database &db, const Options &o, qint64 wholeListBytes)
{
    const QString last = db.scalar(QStringLiteral("select wxdh from jjdb where wxzt=2 order by wxdh limit 1 offset %1")
                                       .arg(o.sheetOrders - 1));
    korv::Tfrmqjdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), QSize(900, 520));
    korv::Query &list = *window.ADOQuery1;
    list.Close();
    list.setSql(QStringLiteral("select * from jjdb where wxzt=2 and wxdh<='%1' order by wxdh").arg(last));
    list.Open();

    qint64 listBytes = 0;
    for (int row = 0; row < list.RecordCount(); ++row)
        for (int c = 0; c < list.columnCount(); ++c)
            listBytes += list.cellText(row, c).toUtf8().size();

    double best = 1e300;
    int pages = 0;
    double grown = 0;
    for (int rep = 0; rep < o.reps; ++rep) {
        const size_t before = korv::bench::heapInUse();
        std::unique_ptr<korv::report::PageSource> sheet;
        best = std::min(best, secondsOf([&] { sheet = korv::repair::buildBusinessSheet(list); }));
        grown = double(korv::bench::heapInUse()) - double(before);
        pages = sheet->pageCount();
    }
    std::printf("business sheet: %d orders on %d pages in %.1f ms (best of %d)\n", list.RecordCount(), pages,
                best * 1e3, o.reps);
    std::printf("business sheet heap growth: %.1f MB (its orders' cell texts %.1f MB, whole list %.1f MB)\n",
                megabytes(grown), megabytes(double(listBytes)), megabytes(double(wholeListBytes)));
    std::printf("sheet heap / whole list: %.3f\n", grown / double(std::max<qint64>(wholeListBytes, 1)));
    if (list.RecordCount() != o.sheetOrders) {
        std::fprintf(stderr, "mismatch: the filtered list holds %d orders\n", list.RecordCount());
        return 1;
    }
    return 0;
}

int run(const Options &o)
{
    const QString path =
        o.db.isEmpty()
            ? QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-settlement-%1.mdb").arg(o.orders))
            : o.db;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, korv::bench::BigShopSize::forOrders(o.orders)))
        return 1;

    korv::bench::RawReader raw(path, kListSql);
    korv::Database db(path);
    korv::AppContext ctx(db);
    bool ok = false;
    const korv::bench::OpenComparison best = korv::bench::compareOpen(
        raw, o.reps, [&] { return openSettlementWindow(ctx); }, "repaired orders", "settlement window", ok);
    if (!ok)
        return 1;
    if (raw.rows < o.sheetOrders) {
        std::fprintf(stderr, "only %d repaired orders: pass a smaller --sheet\n", raw.rows);
        return 1;
    }
    if (measureSheet(ctx, db, o, raw.bytes) != 0)
        return 1;
    std::printf("ratio settlement window/raw open: %.2f\n", best.window / best.raw);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv, "bench_settlement [--orders N] [--sheet N] [--db PATH] [--reuse] [--reps N]", parseOptions, run);
}
