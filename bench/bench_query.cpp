// Benchmark: the first fuzzy query through the query dialog over a big shop's settlement list, in
// a fresh process, against raw sqlite3 running the same SQL text.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/QueryText.h"
#include "query_print/Udlg_cx.h"
#include "repair/Uqjdj.h"
#include "ui/DBGrid.h"

#include <QDir>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

const QSize kWindowSize(900, 520);

struct Options {
    int orders = 200000;
    QString db;
    bool reuse = false;
    int reps = 5;
    QString name = QStringLiteral("张");
    QString child;  // --child-query PATH: one query in a fresh process, printed for the parent
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    const korv::bench::CommandLine line{{{"--orders", &o.orders}, {"--reps", &o.reps}},
                                        {{"--db", &o.db}, {"--name", &o.name}, {"--child-query", &o.child}},
                                        {{"--reuse", &o.reuse}}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
}

// The SQL text the dialog builds for 客户姓名 alone, in fuzzy mode.
QString querySql(const QString &name)
{
    QStringList texts(12);
    texts[6] = name;
    return querySqlLines(korv::queryTargetInfo(korv::QueryTarget::Settlement), texts, true).join(QLatin1Char('\n'));
}

// How the engine answers the text: the lines of its query plan.
void printPlan(korv::Database &db, const QString &sql)
{
    const QByteArray text = ("explain query plan " + sql).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        throw korv::DbError(db.lastErrorText());
    while (sqlite3_step(stmt) == SQLITE_ROW)
        std::printf("engine plan: %s\n", reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3)));
    sqlite3_finalize(stmt);
}

korv::bench::OpenedWindow settlementWindow(korv::AppContext &ctx)
{
    auto *window = new korv::Tfrmqjdj(ctx);
    return {window, window->DBGrid1->viewport(), window->ADOQuery1};
}

// One query as a clerk runs it: the dialog over the open window, 客户姓名 typed and 查询.
void runQuery(korv::AppContext &ctx, const korv::bench::OpenedWindow &opened, const QString &name)
{
    korv::TFrmDlg_cx dialog(ctx, opened.window);
    dialog.prepare(korv::QueryTarget::Settlement);
    dialog.suiEdit[6]->setText(name);
    dialog.btnqueryClick();
}

int run(const Options &o)
{
    if (!o.child.isEmpty())
        return korv::bench::childAct(o.child, kWindowSize, settlementWindow,
                                     [&](korv::AppContext &ctx, const korv::bench::OpenedWindow &opened) {
                                         runQuery(ctx, opened, o.name);
                                     });
    const QString path = o.db.isEmpty()
                             ? QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-query-%1.mdb").arg(o.orders))
                             : o.db;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, korv::bench::BigShopSize::forOrders(o.orders)))
        return 1;

    const QString sql = querySql(o.name);
    const QByteArray rawSql = sql.toUtf8();
    std::printf("SQL text: %s\n", qPrintable(QString(sql).replace(QLatin1Char('\n'), QLatin1String(" | "))));
    {
        korv::Database db(path);
        printPlan(db, sql);
    }
    std::printf("the first query in a fresh process (the settlement window open and its list fully known, the "
                "dialog made over it, 客户姓名 typed, 查询, until the list has painted its first screen) against raw "
                "sqlite3 running the same SQL text (the read alone, no window, no paint):\n");
    korv::bench::RawReader raw(path, rawSql.constData());
    const korv::bench::RunsAgainstRaw measured = korv::bench::runsAgainstRaw(
        raw, {QStringLiteral("--child-query"), path, QStringLiteral("--name"), o.name}, o.reps);
    const std::vector<korv::bench::FirstOpen> &runs = measured.runs;
    const korv::bench::FirstOpen &query = runs[runs.size() / 2];
    std::printf("  query dialog, %d rows: first screen %.1f ms (median of %d fresh processes: %.1f .. %.1f), every "
                "row known after %.1f ms, peak resident %.1f MB while querying\n",
                query.rows, query.ms, o.reps, runs.front().ms, runs.back().ms, query.loadedMs, query.peakMb);
    bool ok = query.rows == raw.rows;
    if (!ok)
        std::printf("the list shows %d rows, raw sqlite3 reads %d: FAIL\n", query.rows, raw.rows);
    ok &= korv::bench::reportBar(
        qPrintable(QStringLiteral("query, first screen / raw read (peak %1 MB)").arg(query.peakMb, 0, 'f', 1)),
        query.ms / measured.rawMs, 1.5, "x");
    return korv::bench::finalResult(ok);
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(
        argc, argv, "bench_query [--orders N] [--name TEXT] [--db PATH] [--reuse] [--reps N] [--child-query PATH]",
        parseOptions, run);
}
