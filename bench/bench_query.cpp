// Benchmark: a fuzzy query through the query dialog over a big shop's settlement list, against
// raw sqlite3 running the same SQL text.
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

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

const QSize kWindowSize(900, 520);

struct Options {
    int orders = 200000;
    QString db;
    bool reuse = false;
    int reps = 5;
    QString name = QStringLiteral("张");
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
        } else if (arg == "--name" && i + 1 < argc) {
            o.name = QString::fromLocal8Bit(argv[++i]);
        } else if ((arg == "--orders" || arg == "--reps") && i + 1 < argc) {
            const int v = std::atoi(argv[++i]);
            if (v < 1)
                return std::nullopt;
            (arg == "--orders" ? o.orders : o.reps) = v;
        } else {
            return std::nullopt;
        }
    }
    return o;
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

// One query as a clerk runs it: the dialog over the open window, 客户姓名 typed, 查询, and the
// list's first screen painted. Answers the rows listed.
int runQuery(korv::AppContext &ctx, korv::Tfrmqjdj &window, const QString &name)
{
    korv::TFrmDlg_cx dialog(ctx, &window);
    dialog.prepare(korv::QueryTarget::Settlement);
    dialog.suiEdit[6]->setText(name);
    dialog.btnqueryClick();
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), kWindowSize);
    return window.DBGrid1->model()->rowCount();
}

int run(const Options &o)
{
    const QString path = o.db.isEmpty()
                             ? QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-query-%1.mdb").arg(o.orders))
                             : o.db;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, korv::bench::BigShopSize::forOrders(o.orders)))
        return 1;

    const QString sql = querySql(o.name);
    const QByteArray rawSql = sql.toUtf8();
    std::printf("SQL text: %s\n", qPrintable(QString(sql).replace(QLatin1Char('\n'), QLatin1String(" | "))));
    korv::bench::RawReader raw(path, rawSql.constData());
    korv::Database db(path);
    korv::AppContext ctx(db);
    printPlan(db, sql);

    korv::Tfrmqjdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), kWindowSize);
    bool ok = false;
    const korv::bench::OpenComparison best = korv::bench::compareOpen(
        raw, o.reps, [&] { return runQuery(ctx, window, o.name); }, "matching orders", "query dialog", ok);
    if (!ok)
        return 1;
    std::printf("status line: %s\n", qPrintable(ctx.status()));
    std::printf("ratio query dialog/raw read: %.2f\n", best.window / best.raw);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv, "bench_query [--orders N] [--name TEXT] [--db PATH] [--reuse] [--reps N]", parseOptions, run);
}
