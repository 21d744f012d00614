// Benchmark: every printout of an order whose texts are very long, from its command until page 1
// is shown in the preview. Fitting such texts into their boxes is what it costs.
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "masterdata/Ukhxx.h"
#include "query_print/mldy.h"
#include "repair/Receipt.h"
#include "repair/Uqjdj.h"
#include "repair/Urep.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

using korv::bench::secondsOf;

struct Options {
    int chars = 10000;
    int reps = 5;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    const korv::bench::CommandLine line{{{"--chars", &o.chars}, {"--reps", &o.reps}}, {}, {}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
}

// Chinese phrases, Latin words and numbers as a clerk types them, `length` characters in all.
QString longText(int length)
{
    static const char *const pieces[] = {"冰箱不制冷，压缩机启动后有异响；", "Haier BCD-215KCM ",
                                         "客户说明：夜间噪声很大，", "compressor relay replaced 2024-06-30, ",
                                         "浙江省杭州市西湖区文三路电子市场三楼东侧，", "Tel 0571-88880000 ",
                                         "已检查电源板及温控器。", "Samsung UA55 screen flickers; "};
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += QString::fromUtf8(pieces[i % std::size(pieces)]);
    return text.left(length);
}

// Every text column of `table` but `key` holds `text` in the row where `key` is `value`.
void fillTexts(korv::Database &db, const char *table, const char *key, const QString &value, const QString &text)
{
    QStringList sets;
    for (const korv::ColumnDef &c : korv::findTable(QString::fromLatin1(table))->columns)
        if (c.type == korv::ColumnType::Text && qstrcmp(c.name, key) != 0)
            sets << QStringLiteral("\"%1\" = ?1").arg(QLatin1String(c.name));
    db.run(QStringLiteral("update %1 set %2 where %3 = ?2").arg(QLatin1String(table), sets.join(u','),
                                                                 QLatin1String(key)),
           {text, value});
}

QWidget *previewView(korv::TmldyForm &form)
{
    return form.findChild<QScrollArea *>(QStringLiteral("QRPreview1"))->widget();
}

// The preview a command opened: the one top-level preview not among `before`.
korv::TmldyForm *newPreview(const QWidgetList &before)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<korv::TmldyForm *>(w); form && !before.contains(w))
            return form;
    throw korv::DbError(QStringLiteral("the command showed no preview"));
}

void closePreview(korv::TmldyForm *form)
{
    form->close();
    form->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Milliseconds from `command` until the preview it opens has painted page 1, then closes it.
double timeToPageOne(const std::function<void()> &command)
{
    korv::bench::resetPeakResident();
    const QWidgetList before = QApplication::topLevelWidgets();
    korv::TmldyForm *form = nullptr;
    const double seconds = secondsOf([&] {
        command();
        form = newPreview(before);
        korv::bench::showUntilPainted(*form, *previewView(*form), form->size());
    });
    closePreview(form);
    return seconds * 1e3;
}

struct Printout {
    const char *name;
    std::function<void()> command;
};

// Each printout `reps` times in turn; prints every one's runs and answers whether each median
// stayed within the bar.
bool measure(const std::vector<Printout> &printouts, int reps)
{
    std::vector<std::vector<double>> runs(printouts.size());
    std::vector<std::size_t> peaks(printouts.size());
    for (int r = 0; r < reps; ++r)
        for (size_t p = 0; p < printouts.size(); ++p) {
            runs[p].push_back(timeToPageOne(printouts[p].command));
            peaks[p] = std::max(peaks[p], korv::bench::peakResident());
        }
    bool pass = true;
    for (size_t p = 0; p < printouts.size(); ++p) {
        std::vector<double> &ms = runs[p];
        std::sort(ms.begin(), ms.end());
        std::printf("%s: page 1 shown in %.1f ms (median of %d; fastest %.1f, slowest %.1f), peak %.1f MB\n",
                    printouts[p].name, ms[ms.size() / 2], reps, ms.front(), ms.back(), double(peaks[p]) / 1e6);
        pass &= korv::bench::reportBar(printouts[p].name, ms[ms.size() / 2], 300, "ms");
    }
    return pass;
}

int run(const Options &o)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("longtexts.mdb"));
    if (!korv::bench::prepareDatabase(path, false, false, korv::bench::BigShopSize::forOrders(40)))
        return 1;
    korv::Database db(path);
    korv::AppContext ctx(db);

    // The first repaired order, so that it heads the business sheet; a second one keeps its short texts.
    const QString longOrder = db.scalar(QStringLiteral("select min(wxdh) from jjdb where wxzt=2"));
    const QString plainOrder = db.scalar(QStringLiteral("select max(wxdh) from jjdb where wxzt=2"));
    db.run(QStringLiteral("update jjdb set dj='50.00' where wxdh in (?1, ?2)"), {longOrder, plainOrder});
    const QString text = longText(o.chars);
    fillTexts(db, "jjdb", "wxdh", longOrder, text);
    fillTexts(db, "khjbxx", "bh", db.scalar(QStringLiteral("select min(bh) from khjbxx")), text);
    std::printf("order %s and the first customer: every text %d characters\n", qPrintable(longOrder), o.chars);

    korv::Query order(db);
    order.setSql(QStringLiteral("select * from jjdb where wxdh='%1'").arg(longOrder));
    order.Open();
    korv::Tfrmqjdj settlement(ctx);
    korv::bench::showUntilPainted(settlement, *settlement.DBGrid1->viewport(), QSize(900, 520));
    korv::Tfrmkhxx customers(ctx);
    korv::bench::showUntilPainted(customers, *customers.DBGrid1->viewport(), QSize(900, 520));

    // The printouts' fonts are loaded by the time a clerk prints a long order.
    timeToPageOne([&] { korv::repair::showReceipt(db, plainOrder); });

    return korv::bench::finalResult(measure(
        {{"deposit receipt", [&] { korv::repair::showReceipt(db, longOrder); }},
         {"repair order sheet", [&] { korv::repair::showRepairSheet(order); }},
         {"business sheet page 1", [&] { settlement.btnprintClick(); }},
         {"customer list printout page 1", [&] { customers.btnprintClick(); }}},
        o.reps));
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv, "bench_longtexts [--chars N] [--reps N]", parseOptions, run);
}
