#include "support/Harness.h"

#include "support/RawReader.h"
#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include <QFont>
#include <QApplication>

#include <malloc.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace korv::bench {

namespace {
// Counts paint events of a widget.
class PaintWatch : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};
}  // namespace

bool CommandLine::parse(int argc, char **argv) const
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        const auto named = [arg](const auto &option) { return std::strcmp(option.first, arg) == 0; };
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (const auto s = std::find_if(switches.begin(), switches.end(), named); s != switches.end()) {
            *s->second = true;
        } else if (const auto t = std::find_if(texts.begin(), texts.end(), named); t != texts.end() && value) {
            *t->second = QString::fromLocal8Bit(value);
            ++i;
        } else if (const auto n = std::find_if(numbers.begin(), numbers.end(), named); n != numbers.end() && value) {
            char *end = nullptr;
            const long v = std::strtol(value, &end, 10);
            if (*value == '\0' || *end != '\0' || v < 1 || v > 1000000000)
                return false;
            *n->second = int(v);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

std::size_t heapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

namespace {
// A "VmRSS:" or "VmHWM:" line of /proc/self/status, in bytes.
std::size_t statusKilobytes(const char *field)
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return 0;
    char line[256];
    std::size_t kb = 0;
    const std::size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0) {
            kb = std::strtoull(line + n, nullptr, 10);
            break;
        }
    std::fclose(f);
    return kb * 1024;
}
}  // namespace

std::size_t residentNow()
{
    return statusKilobytes("VmRSS:");
}

std::size_t peakResident()
{
    return statusKilobytes("VmHWM:");
}

void resetPeakResident()
{
    // Writing 5 to clear_refs starts the high-water mark again from the present size.
    if (std::FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

bool reportBar(const char *name, double figure, double limit, const char *unit)
{
    const bool pass = figure <= limit;
    std::printf("%s: %.1f %s (bar: <= %.1f %s) %s\n", name, figure, unit, limit, unit, pass ? "pass" : "FAIL");
    return pass;
}

int finalResult(bool allPassed)
{
    std::printf("result: %s\n", allPassed ? "pass" : "FAIL");
    return allPassed ? 0 : 1;
}

bool prepareDatabase(const QString &path, bool userNamed, bool reuse, const BigShopSize &size)
{
    const bool exists = QFileInfo::exists(path);
    if (exists && reuse) {
        std::printf("database: %s (reused)\n", qPrintable(path));
        return true;
    }
    if (exists && userNamed) {
        std::fprintf(stderr, "%s exists: pass --reuse to read it, or remove it first\n", qPrintable(path));
        return false;
    }
    const double took = secondsOf([&] { generateBigShop(path, size, IfExists::Replace); });
    std::printf("database: %s (generated %d orders, %d customers in %.1f s, %.1f MB)\n", qPrintable(path),
                size.orders, size.customers, took, double(QFileInfo(path).size()) / 1e6);
    return true;
}

void showUntilPainted(QWidget &window, QWidget &list, QSize size)
{
    PaintWatch watch;
    list.installEventFilter(&watch);
    window.resize(size);
    window.show();
    for (int i = 0; i < 100 && watch.paints == 0; ++i)
        QCoreApplication::processEvents();
    list.removeEventFilter(&watch);
    if (watch.paints == 0)
        throw DbError(QStringLiteral("the list was never painted"));
}

namespace {
// A window with text painted before any window is timed: the log-in does that in the program, so
// the fonts are loaded by then.
void paintLogin()
{
    QLabel login(QStringLiteral("用户登录 操作员 密码"));
    showUntilPainted(login, login, QSize(300, 120));
}

// Waits until the list is fully known and prints a child's figures for childRuns().
int finishChild(const OpenedWindow &opened, double ms, size_t heapBefore)
{
    const double loaded = ms + secondsOf([&] {
        while (opened.query && !opened.query->fullyLoaded())
            QCoreApplication::processEvents();
    });
    const double heap = double(heapInUse()) - double(heapBefore);
    std::printf("%.3f %.3f %.0f %d %zu\n", ms * 1e3, loaded * 1e3, heap,
                opened.query ? opened.query->RecordCount() : 0, peakResident());
    delete opened.window;
    return 0;
}
}  // namespace

int childOpen(const QString &path, QSize size, const std::function<OpenedWindow(korv::AppContext &)> &make)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    paintLogin();
    const size_t heapBefore = heapInUse();
    OpenedWindow opened;
    const double open = secondsOf([&] {
        opened = make(ctx);
        showUntilPainted(*opened.window, *opened.list, size);
    });
    return finishChild(opened, open, heapBefore);
}

int childAct(const QString &path, QSize size, const std::function<OpenedWindow(korv::AppContext &)> &make,
             const std::function<void(korv::AppContext &, const OpenedWindow &)> &act)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    paintLogin();
    const OpenedWindow opened = make(ctx);
    showUntilPainted(*opened.window, *opened.list, size);
    while (opened.query && !opened.query->fullyLoaded())
        QCoreApplication::processEvents();
    const size_t heapBefore = heapInUse();
    resetPeakResident();
    PaintWatch watch;
    const double ms = secondsOf([&] {
        opened.list->installEventFilter(&watch);
        act(ctx, opened);
        for (int i = 0; i < 100 && watch.paints == 0; ++i)
            QCoreApplication::processEvents();
    });
    opened.list->removeEventFilter(&watch);
    if (watch.paints == 0)
        throw DbError(QStringLiteral("the list was never painted"));
    return finishChild(opened, ms, heapBefore);
}

std::vector<FirstOpen> childRuns(const QStringList &childArgs, int reps)
{
    std::vector<FirstOpen> runs;
    for (int rep = 0; rep < reps; ++rep) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), childArgs);
        if (!child.waitForFinished(600000) || child.exitCode() != 0)
            throw DbError(QStringLiteral("the child open failed: ") +
                          QString::fromLocal8Bit(child.readAllStandardError()));
        FirstOpen f;
        size_t peak = 0;
        if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf %lf %d %zu", &f.ms, &f.loadedMs, &f.heap,
                        &f.rows, &peak) != 5)
            throw DbError(QStringLiteral("the child open printed no figures"));
        f.peakMb = double(peak) / 1e6;
        runs.push_back(f);
    }
    std::sort(runs.begin(), runs.end(), [](const FirstOpen &a, const FirstOpen &b) { return a.ms < b.ms; });
    return runs;
}

namespace {
// The median of `runs` (fastest first), printed with the spread as `what`'s first open.
FirstOpen printFirstOpens(const std::vector<FirstOpen> &runs, const char *what)
{
    const FirstOpen median = runs[runs.size() / 2];
    std::printf("  %s, %d rows: first open %.1f ms (median of %zu fresh processes: %.1f .. %.1f), every row known "
                "after %.1f ms, window and list hold %.1f MB, peak resident %.1f MB\n",
                what, median.rows, median.ms, runs.size(), runs.front().ms, runs.back().ms, median.loadedMs,
                median.heap / 1e6, median.peakMb);
    return median;
}
}  // namespace

FirstOpen firstOpens(const QStringList &childArgs, int reps, const char *what)
{
    return printFirstOpens(childRuns(childArgs, reps), what);
}

RunsAgainstRaw runsAgainstRaw(RawReader &raw, const QStringList &childArgs, int reps)
{
    resetPeakResident();
    raw.read();
    RunsAgainstRaw result;
    std::vector<double> rawMs;
    for (int rep = 0; rep < reps; ++rep) {
        rawMs.push_back(secondsOf([&] { raw.read(); }) * 1e3);
        result.runs.push_back(childRuns(childArgs, 1).front());
    }
    std::sort(rawMs.begin(), rawMs.end());
    std::sort(result.runs.begin(), result.runs.end(),
              [](const FirstOpen &a, const FirstOpen &b) { return a.ms < b.ms; });
    result.rawMs = rawMs[rawMs.size() / 2];
    std::printf("  raw sqlite3, %d rows: %.1f ms (its own keyed connection in this process, every cell's text read; "
                "median of %d reads on a warm page cache, each before one fresh process: %.1f .. %.1f), peak resident "
                "%.1f MB\n",
                raw.rows, result.rawMs, reps, rawMs.front(), rawMs.back(), double(peakResident()) / 1e6);
    return result;
}

bool firstOpenAgainstRaw(const QString &path, const char *sql, const QStringList &childArgs, int reps,
                         const char *what, double bar)
{
    std::printf("%s: first open in a fresh process (making the window until its list has painted once) against "
                "raw sqlite3 reading the same rows, %s (the read alone, no window, no paint):\n", what, sql);
    RawReader raw(path, sql);
    const RunsAgainstRaw measured = runsAgainstRaw(raw, childArgs, reps);
    const FirstOpen open = printFirstOpens(measured.runs, what);
    bool ok = open.rows == raw.rows;
    if (!ok)
        std::printf("the window lists %d rows, raw sqlite3 reads %d: FAIL\n", open.rows, raw.rows);
    const QByteArray name = QStringLiteral("%1, first screen / raw read (peak %2 MB)")
                                .arg(QString::fromUtf8(what))
                                .arg(open.peakMb, 0, 'f', 1)
                                .toUtf8();
    return reportBar(name.constData(), open.ms / measured.rawMs, bar, "x") && ok;
}

int runWindowBenchmark(int argc, char **argv, const char *usage, const std::function<bool(int, char **)> &parse,
                       const std::function<int()> &run)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    if (!parse(argc, argv)) {
        std::fprintf(stderr, "usage: %s\n", usage);
        return 2;
    }
    try {
        return run();
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

}  // namespace korv::bench
