// Benchmark: the business sheet of a big shop's repaired orders (打印 in 维修结算): page 1 in the
// preview, paging through every page and printing them all, with the memory each holds. The
// settlement window's own list is timed by bench_lists.
#include "support/BigShop.h"
#include "support/Harness.h"
#include "support/RawReader.h"

#include "common/AppContext.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/Uqjdj.h"
#include "ui/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QScrollArea>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <optional>

namespace {

using korv::bench::secondsOf;


struct Options {
    int orders = 200000;
    int sheetOrders = 0;  // the sheet of the whole list
    QString db;
    bool reuse = false;
    int reps = 3;
};

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options o;
    bool sheetOnly = false;  // kept for scripts written when this benchmark also timed the list
    const korv::bench::CommandLine line{
        {{"--orders", &o.orders}, {"--reps", &o.reps}, {"--sheet", &o.sheetOrders}}, {{"--db", &o.db}},
        {{"--reuse", &o.reuse}, {"--sheet-only", &sheetOnly}}};
    return line.parse(argc, argv) ? std::optional<Options>(o) : std::nullopt;
}

double megabytes(double bytes) { return bytes / 1e6; }

// Megabytes of resident memory above `base` now, or at its peak since the last reset.
double aboveNow(std::size_t base) { return megabytes(double(korv::bench::residentNow()) - double(base)); }
double peakAbove(std::size_t base) { return megabytes(double(korv::bench::peakResident()) - double(base)); }

// The list the sheet is made of: the whole settlement list, or its first `orders` as the query
// dialog would reopen it.
void narrowList(korv::Database &db, korv::Query &list, int orders)
{
    const QString last = db.scalar(QStringLiteral("select wxdh from jjdb where wxzt=2 order by wxdh limit 1 offset %1")
                                       .arg(orders - 1));
    list.Close();
    list.setSql(QStringLiteral("select * from jjdb where wxzt=2 and wxdh<='%1' order by wxdh").arg(last));
    list.Open();
}

// 打印 until the preview has drawn page 1, as the user waits for it.
korv::TmldyForm *openPreview(korv::Tfrmqjdj &window)
{
    korv::TmldyForm *form = window.btnprintClick();
    QWidget *view = form->findChild<QScrollArea *>(QStringLiteral("QRPreview1"))->widget();
    korv::bench::showUntilPainted(*form, *view, form->size());
    return form;
}

// Every page drawn as the preview draws it at its zoom, 后一页 after 后一页.
void pageThrough(korv::TmldyForm &form)
{
    QWidget *view = form.findChild<QScrollArea *>(QStringLiteral("QRPreview1"))->widget();
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    for (int n = 1; n <= form.pageCount(); ++n) {
        if (n > 1)
            form.Btn3Click();
        view->render(&image);
        if (n % 256 == 0)
            QCoreApplication::processEvents();
    }
}

// Closes the preview as its 关闭窗口 does, and lets it go.
void closePreview(korv::TmldyForm *form)
{
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Every page drawn, then every page printed to a PDF file, in an open preview; each timed with the
// most memory held above `idle`. Answers whether both stayed within the bar.
bool pageAndPrint(korv::TmldyForm &form, std::size_t idle)
{
    const int pages = form.pageCount();
    korv::bench::resetPeakResident();
    const double drawn = secondsOf([&] { pageThrough(form); });
    std::printf("business sheet: %d pages drawn at the preview's zoom in %.1f s (%.2f ms a page), peak %.1f MB above "
                "idle\n", pages, drawn, drawn * 1e3 / pages, peakAbove(idle));
    bool pass = korv::bench::reportBar("sheet paging, peak above idle", peakAbove(idle), 100, "MB");

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    korv::bench::resetPeakResident();
    bool written = false;
    const double printed = secondsOf([&] { written = form.pageSource()->exportPdf(pdf); });
    std::printf("business sheet: %d pages printed to PDF in %.1f s (%.2f ms a page, %.1f MB file), peak %.1f MB above "
                "idle\n", pages, printed, printed * 1e3 / pages, megabytes(double(QFileInfo(pdf).size())),
                peakAbove(idle));
    pass &= korv::bench::reportBar("sheet PDF, peak above idle", peakAbove(idle), 100, "MB") && written;
    return pass;
}

// The business sheet of the settlement list (its first --sheet orders, or all of it) as 打印 shows
// it. The first 打印 of the process is timed to page 1 and closed: it also loads the printout's
// fonts, which stay loaded. Idle is then the window with no preview; a second 打印 is paged through
// and printed whole, and closed again. What stays after that is Qt's cache of the glyphs it drew,
// a few megabytes however many pages there were.
bool measureSheet(korv::AppContext &ctx, korv::Database &db, const Options &o)
{
    korv::Tfrmqjdj window(ctx);
    korv::bench::showUntilPainted(window, *window.DBGrid1->viewport(), QSize(900, 520));
    if (o.sheetOrders > 0)
        narrowList(db, *window.ADOQuery1, o.sheetOrders);
    QCoreApplication::processEvents();
    malloc_trim(0);
    const std::size_t cold = korv::bench::residentNow();

    korv::bench::resetPeakResident();
    korv::TmldyForm *form = nullptr;
    const double first = secondsOf([&] { form = openPreview(window); });
    std::printf("business sheet: %d pages; page 1 shown in %.1f ms (first 打印 of the process), peak %.1f MB above "
                "the window alone\n", form->pageCount(), first * 1e3, peakAbove(cold));
    bool pass = korv::bench::reportBar("sheet page 1 shown", first * 1e3, 200, "ms");
    closePreview(form);
    const std::size_t idle = korv::bench::residentNow();
    std::printf("business sheet: idle %.1f MB resident, of which %.1f MB the printout's fonts loaded by the first "
                "打印\n", megabytes(double(idle)), megabytes(double(idle) - double(cold)));

    form = openPreview(window);
    pass &= pageAndPrint(*form, idle);
    closePreview(form);
    // What stays is Qt's cache of the glyphs drawn, which the characters of the shop's texts bound,
    // not the number of pages: every page and row of the printout is let go.
    pass &= korv::bench::reportBar("sheet preview closed, memory kept above idle", aboveNow(idle), 20, "MB");
    return pass;
}

int run(const Options &o)
{
    const QString path =
        o.db.isEmpty()
            ? QDir(QDir::tempPath()).filePath(QStringLiteral("korv-bench-settlement-%1.mdb").arg(o.orders))
            : o.db;
    if (!korv::bench::prepareDatabase(path, !o.db.isEmpty(), o.reuse, korv::bench::BigShopSize::forOrders(o.orders)))
        return 1;

    korv::Database db(path);
    korv::AppContext ctx(db);
    const bool sheetPassed = measureSheet(ctx, db, o);
    return korv::bench::finalResult(sheetPassed);
}

}  // namespace

int main(int argc, char **argv)
{
    return korv::bench::windowBenchmarkMain(argc, argv, "bench_settlement [--orders N] [--sheet N] [--db PATH] [--reuse] [--reps N]", parseOptions, run);
}
