// Benchmark: the intake window on the generator's big shop as it is, against a small shop from the
// same generator: 添加, 保存, leaving 客户姓名, and the window's first open in a fresh process.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "repair/Udxdj.h"
#include "shell/Startup.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

using korv::bench::secondsOf;

const QSize kWindowSize(1000, 700);
constexpr int kRounds = 4;

struct Options {
    int smallOrders = 2000;
    int reps = 40;
    int opens = 5;
    bool reuse = false;
    QString child;  // set in the child process that times one first open
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    const korv::bench::CommandLine line{
        {{"--small", &o.smallOrders}, {"--reps", &o.reps}, {"--opens", &o.opens}}, {{"--open-child", &o.child}},
        {{"--reuse", &o.reuse}}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
}

// Saves answer their message boxes at once.
class Silent : public korv::MessagePresenter {
public:
    bool present(korv::MessageKind, const QString &, const QString &) override { return true; }
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double megabytes(std::size_t bytes) { return double(bytes) / 1e6; }

void setUpSession(korv::AppContext &ctx)
{
    ctx.session.CurrentRole = 1;
    ctx.session.DeptCode = QStringLiteral("01");
    ctx.session.PendingAlarmHours = QStringLiteral("24");
}

// The child's whole run: the database open as after the login, then the window from its
// construction to the first paint of its list.
int timeFirstOpen(const QString &path)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    setUpSession(ctx);
    QElapsedTimer timer;
    timer.start();
    korv::TFrmdxdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), kWindowSize);
    const qint64 ns = timer.nsecsElapsed();
    std::printf("open %lld %zu %d\n", ns, korv::bench::peakResident(), window.ADOQuery1->RecordCount());
    return 0;
}

struct Open {
    double seconds = 0;
    std::size_t peak = 0;
};

Open spawnFirstOpen(const QString &path)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--open-child"), path});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        throw korv::DbError(QStringLiteral("the open in a fresh process failed: ") +
                            QString::fromLocal8Bit(child.readAllStandardError()));
    const QStringList parts = QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(u' ');
    if (parts.size() != 4 || parts[0] != QLatin1String("open"))
        throw korv::DbError(QStringLiteral("the child answered nothing usable"));
    return {parts[1].toDouble() / 1e9, std::size_t(parts[2].toULongLong())};
}

// One shop's timings in seconds, gathered over several windows, and the peak memory in bytes.
struct Figures {
    std::vector<double> adds, saves, leaves, dropDowns;
    std::size_t editPeak = 0, leavePeak = 0;
};

// Names that belong to exactly one customer, so that leaving 客户姓名 fills the contact fields.
QStringList uniqueNames(korv::Database &db, int count)
{
    korv::Query q(db);
    q.setSql(QStringLiteral("select khmc from khjbxx group by khmc having count(*)=1 limit %1").arg(count));
    q.Open();
    QStringList names;
    for (q.First(); !q.Eof(); q.Next())
        names << q.asString(QStringLiteral("khmc"));
    if (names.isEmpty())
        throw korv::DbError(QStringLiteral("the shop has no customer of a name of its own"));
    return names;
}

std::vector<double> timeLeavingCustomerName(korv::TFrmdxdj &window, const QStringList &names, int reps)
{
    std::vector<double> times;
    for (int i = 0; i < reps; ++i) {
        // The name's last character is typed, so the box knows it was edited, as by a clerk.
        const QString name = names[i % names.size()];
        window.ComboBox6->setFocus();
        window.ComboBox6->setEditText(name.chopped(1));
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, name.right(1));
        QApplication::sendEvent(window.ComboBox6->lineEdit(), &key);
        window.edit3->clear();
        if (window.ComboBox6->currentText() != name)
            throw korv::DbError(QStringLiteral("typing into 客户姓名 failed"));
        times.push_back(secondsOf([&] { window.edit2->setFocus(); }));
        if (window.edit3->text().isEmpty() && window.edit5->text().isEmpty())
            throw korv::DbError(QStringLiteral("leaving 客户姓名 filled nothing for ") + names[i % names.size()]);
    }
    return times;
}

void measure(const QString &path, int reps, Figures &f)
{
    korv::Database db(path);
    korv::AppContext ctx(db);
    setUpSession(ctx);
    const QStringList names = uniqueNames(db, reps);
    korv::TFrmdxdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), kWindowSize);
    QApplication::setActiveWindow(&window);
    window.activateWindow();

    korv::bench::resetPeakResident();
    for (double t : timeLeavingCustomerName(window, names, reps))
        f.leaves.push_back(t);
    f.leavePeak = std::max(f.leavePeak, korv::bench::peakResident());
    // The names are read when first dropped down; not a bar, but a clerk waits for it once.
    f.dropDowns.push_back(secondsOf([&] {
        window.ComboBox6->showPopup();
        QCoreApplication::processEvents();
    }));
    window.ComboBox6->hidePopup();

    korv::bench::resetPeakResident();
    for (int i = 0; i < reps; ++i) {
        window.ComboBox1->setEditText(QStringLiteral("电视机"));
        window.ComboBox6->setEditText(names[i % names.size()]);
        window.ComboBox8->setEditText(QStringLiteral("王工"));
        window.edit12->setText(QStringLiteral("50.00"));
        const QString number = window.edit1->text();
        f.saves.push_back(secondsOf([&] { window.btnsaveClick(); }));
        if (window.edit1->text() == number)
            throw korv::DbError(QStringLiteral("the save of %1 did not go through").arg(number));
        window.btneditClick();
        f.adds.push_back(secondsOf([&] { window.btnaddClick(); }));
        // The saved order leaves the pending list, so a later run opens the same list.
        db.run(QStringLiteral("update jjdb set wxzt=2 where wxdh=?1"), {number});
    }
    f.editPeak = std::max(f.editPeak, korv::bench::peakResident());
}

void describe(const QString &path)
{
    korv::Database db(path);
    std::printf("  %s: %s orders, %s pending, %s customers\n", qPrintable(path),
                qPrintable(db.scalar(QStringLiteral("select count(*) from jjdb"))),
                qPrintable(db.scalar(QStringLiteral("select count(*) from jjdb where wxzt=0"))),
                qPrintable(db.scalar(QStringLiteral("select count(*) from khjbxx"))));
}

QString prepare(const char *name, const korv::bench::BigShopSize &size, bool reuse)
{
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-intake-%1.mdb").arg(name));
    if (!korv::bench::prepareDatabase(path, false, reuse, size))
        throw korv::DbError(QStringLiteral("no database at ") + path);
    {
        // A reused file made before the customer-name index gets it as the program's start-up does.
        korv::Database db(path);
        korv::addMissingIndexes(db);
    }
    describe(path);
    return path;
}

std::string withPeak(const char *what, std::size_t peak)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s (peak %.1f MB)", what, megabytes(peak));
    return text;
}

int run(const Options &o)
{
    if (!o.child.isEmpty())
        return timeFirstOpen(o.child);
    Silent silent;
    korv::setMessagePresenter(&silent);
    const QString smallPath = prepare("small", korv::bench::BigShopSize::forOrders(o.smallOrders), o.reuse);
    const QString bigPath = prepare("big", korv::bench::BigShopSize{}, o.reuse);

    // Alternating shops keep the page cache and the clock speed alike for both.
    std::vector<double> smallOpens, bigOpens;
    std::size_t smallOpenPeak = 0, bigOpenPeak = 0;
    for (int i = 0; i < o.opens; ++i) {
        const Open s = spawnFirstOpen(smallPath);
        const Open b = spawnFirstOpen(bigPath);
        smallOpens.push_back(s.seconds);
        bigOpens.push_back(b.seconds);
        smallOpenPeak = std::max(smallOpenPeak, s.peak);
        bigOpenPeak = std::max(bigOpenPeak, b.peak);
    }
    // Rounds of a few runs per shop, alternating: a save waits for the disk, whose delays come
    // in bursts when other programs write.
    Figures small, big;
    for (int round = 0; round < kRounds; ++round) {
        measure(smallPath, std::max(1, o.reps / kRounds), small);
        measure(bigPath, std::max(1, o.reps / kRounds), big);
    }
    const double openSmall = median(smallOpens), openBig = median(bigOpens);

    std::printf("small shop: 添加 %.2f ms, 保存 %.2f ms (peak %.1f MB); leaving 客户姓名 %.2f ms (peak %.1f MB); "
                "first open %.1f ms (peak %.1f MB)\n",
                median(small.adds) * 1e3, median(small.saves) * 1e3, megabytes(small.editPeak),
                median(small.leaves) * 1e3, megabytes(small.leavePeak), openSmall * 1e3, megabytes(smallOpenPeak));
    std::printf("first drop-down of 客户姓名: small shop %.1f ms, big shop %.1f ms\n", median(small.dropDowns) * 1e3,
                median(big.dropDowns) * 1e3);
    std::printf("medians of %zu runs in %d windows per shop; first opens: median of %d fresh processes per shop\n",
                small.saves.size(), kRounds, o.opens);
    bool ok = true;
    using korv::bench::reportBar;
    ok &= reportBar(withPeak("添加, big shop", big.editPeak).c_str(), median(big.adds) * 1e3, 5.0, "ms");
    ok &= reportBar(withPeak("保存, big shop", big.editPeak).c_str(), median(big.saves) * 1e3,
                    1.5 * median(small.saves) * 1e3, "ms");
    ok &= reportBar(withPeak("leaving 客户姓名, big shop", big.leavePeak).c_str(), median(big.leaves) * 1e3, 2.0,
                    "ms");
    ok &= reportBar(withPeak("first open, big shop", bigOpenPeak).c_str(), openBig * 1e3, 2.0 * openSmall * 1e3, "ms");
    return korv::bench::finalResult(ok);
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv,
                                            "bench_intake [--small ORDERS] [--reps N] [--opens N] [--reuse]",
                                            parseOptions, run);
}
