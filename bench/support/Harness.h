// What the benchmarks share besides the generator and the raw reader.
#pragma once

#include "support/BigShop.h"

#include <QSize>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace korv {
class AppContext;
class Query;
}  // namespace korv

namespace korv::bench {

// A benchmark's command line: "--name N" whole numbers of at least 1, "--name TEXT" texts and
// "--name" switches, each written into the place given for it. parse() is false on anything else.
struct CommandLine {
    std::vector<std::pair<const char *, int *>> numbers;
    std::vector<std::pair<const char *, QString *>> texts;
    std::vector<std::pair<const char *, bool *>> switches;
    bool parse(int argc, char **argv) const;
};

// Bytes of heap in use now.
std::size_t heapInUse();
// The process's resident memory now, and the most it held since the last resetPeakResident()
// (or since it started), in bytes; what a user's task manager shows.
std::size_t residentNow();
std::size_t peakResident();
void resetPeakResident();
// A figure against its bar, printed as "name: figure unit (bar: <= limit unit) pass|FAIL";
// answers whether it passed.
bool reportBar(const char *name, double figure, double limit, const char *unit);
// The last line of every benchmark: "result: pass" when every bar passed, else "result: FAIL".
int finalResult(bool allPassed);

// The benchmark's database at `path`: reused when `reuse` is set; a file the user named is never
// replaced (it may be a shop's real database); otherwise generated afresh at `size`. False, after
// saying why, when the file may not be used.
bool prepareDatabase(const QString &path, bool userNamed, bool reuse, const BigShopSize &size);

// Shows `window` at `size` and runs events until `list` has painted once, as the first screen a
// user sees. Throws DbError when it never paints.
void showUntilPainted(QWidget &window, QWidget &list, QSize size);

class RawReader;

// A window's first open in a fresh process: from making the window until its list has painted
// once, then until every row of the list is known; what the window and its list hold then (heap
// bytes), the rows listed and the process's peak resident memory.
struct FirstOpen {
    double ms = 0;
    double loadedMs = 0;
    double heap = 0;
    int rows = 0;
    double peakMb = 0;
};

// What a child process opens: the window (parented by nobody), and the grid whose first paint
// ends the timing and the query behind it.
struct OpenedWindow {
    QWidget *window = nullptr;
    QWidget *list = nullptr;
    korv::Query *query = nullptr;
};

// The child's side: opens the database at `path`, paints a window with text first (the log-in
// does that in the program, so the fonts are loaded), then times `make` and prints the figures
// for firstOpens(). Answers the process's exit code.
int childOpen(const QString &path, QSize size, const std::function<OpenedWindow(korv::AppContext &)> &make);

// Runs this benchmark again `reps` times as a fresh process with `childArgs` (which make it call
// childOpen) and answers the median run, after printing every run as `what`.
FirstOpen firstOpens(const QStringList &childArgs, int reps, const char *what);

// The child's side of a timed action in an open window (a query, say): opens the database at
// `path` and paints a window with text as childOpen does, then makes and paints the window with
// `make` and waits until its list is fully known, untimed, as a clerk who opened it a while ago
// finds it; then times `act` until the list has painted again and prints the figures for
// childRuns() as childOpen does (the heap is what the action added, the peak the most resident
// from the action on).
int childAct(const QString &path, QSize size, const std::function<OpenedWindow(korv::AppContext &)> &make,
             const std::function<void(korv::AppContext &, const OpenedWindow &)> &act);

// Runs this benchmark again `reps` times as a fresh process with `childArgs` (which make it call
// childOpen or childAct) and answers every run's figures, fastest first.
std::vector<FirstOpen> childRuns(const QStringList &childArgs, int reps);

// Fresh-process runs of `childArgs`, each after raw sqlite3 reading the rows of `raw` in this
// process, so the page cache and the machine's load are alike for both (one raw read first warms
// the cache). Prints the raw reads' median with what it is; answers the runs, fastest first, and
// that median in milliseconds.
struct RunsAgainstRaw {
    std::vector<FirstOpen> runs;
    double rawMs = 0;
};
RunsAgainstRaw runsAgainstRaw(RawReader &raw, const QStringList &childArgs, int reps);

// A window's first open in fresh processes (childOpen through `childArgs`) against raw sqlite3
// reading the same rows (`sql` over `path`) in this process; prints both, fails when the window
// lists other rows, and reports the first screen against `bar` times the raw read.
bool firstOpenAgainstRaw(const QString &path, const char *sql, const QStringList &childArgs, int reps,
                         const char *what, double bar);

// The whole of a window benchmark's main: an offscreen application with the program's font, the
// options parsed (`usage` printed when they do not parse), and a DbError ending the run with its
// text and exit code 1.
int runWindowBenchmark(int argc, char **argv, const char *usage, const std::function<bool(int, char **)> &parse,
                       const std::function<int()> &run);

template <typename Options>
int windowBenchmarkMain(int argc, char **argv, const char *usage, std::optional<Options> (*parse)(int, char **),
                        int (*run)(const Options &))
{
    std::optional<Options> options;
    return runWindowBenchmark(
        argc, argv, usage, [&](int c, char **v) { return (options = parse(c, v)).has_value(); },
        [&] { return run(*options); });
}

}  // namespace korv::bench
