// Printed pages as display lists in millimetres, the page source the preview shows, and the
// banded list report that the record windows print.
#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QFont;
class QPainter;
class QPagedPaintDevice;

namespace korv {
class Query;
}

namespace korv::report {

// A face as a layout names it ("宋体", "黑体", "楷体_GB2312"); mapped to an installed CJK face.
struct FontSpec {
    QString family = QStringLiteral("宋体");
    double pointSize = 10;
    bool bold = false;
    bool underline = false;
};

// The installed font that stands for a layout's face, size and style.
QFont resolveFont(const FontSpec &face);
// Type sizes are given in points; layouts place them in millimetres.
double pointsToMm(double points);

// Everything on a page is placed in millimetres from the paper's top-left corner.
// A text as the layout gave it, and as it fits its box: the lines it is printed in, the type size
// it is printed at (the layout's, or smaller), and whether its end had to be left off ("…").
struct TextItem {
    QRectF boxMm;
    QString text;
    FontSpec font;
    int alignment;  // Qt::Alignment flags
    QStringList lines;
    double printedPoints = 0;
    bool shortened = false;
    double indentMm = 0;  // the first line's leading blanks, in the layout's type
    // The height the printed lines take, from the top of the box's first line.
    double linesHeightMm() const;
    // Where line `index` begins, below the first line's top.
    double lineTopMm(int index) const;
    // Where the characters of each printed line stand on the page, one em tall: leading blanks
    // take room but print nothing (not even an underline).
    QList<QRectF> printedLinesMm() const;
};
struct LineItem {
    QPointF fromMm;
    QPointF toMm;
    double penWidthMm = 0.2;
};
struct RectItem {
    QRectF rectMm;
    double penWidthMm = 0.2;
};

// One printed page.
struct Page {
    QSizeF paperMm;  // width x height
    QList<TextItem> texts;
    QList<LineItem> lines;
    QList<RectItem> rects;

    // Every text is made to fit its box: no text crosses its box or is cut through its characters.
    void addText(const QRectF &boxMm, const QString &text, const FontSpec &font, int alignment);
    void addLine(const QPointF &fromMm, const QPointF &toMm, double penWidthMm = 0.2);
    void addRect(const QRectF &rectMm, double penWidthMm = 0.2);
    // The texts in drawing order, for tests and for finding things on a page.
    QStringList allTexts() const;
};

// Draws a page with the painter's origin at the paper's top-left corner; `dotsPerMm` scales it.
void paintPage(QPainter &painter, const Page &page, double dotsPerMm);

// The pages of one prepared report, numbered from 1. A long report is streamed: it is made from
// its page count and a function that lays out page N, builds a page only when it is drawn or
// printed, and keeps the few pages asked for last, so that its size costs no memory. A short
// printout adds its pages one by one instead; added pages are announced as they come, and the
// preview follows the announcements.
class PageSource : public QObject {
    Q_OBJECT
public:
    // Lays out page `number` (1-based) on `page`, whose paper size is already set. It may be
    // called again for the same number after the page was let go, and must give the same page.
    using PageBuilder = std::function<void(Page &page, int number)>;
    // How many built pages a streamed source keeps.
    static constexpr int kKeptPages = 4;

    explicit PageSource(const QSizeF &paperMm, QObject *parent = nullptr);
    PageSource(const QSizeF &paperMm, int pageCount, PageBuilder build, QObject *parent = nullptr);
    ~PageSource() override;

    QSizeF paperMm() const { return paperMm_; }
    bool landscape() const { return paperMm_.width() > paperMm_.height(); }
    // How the sheet lies in the printer when nobody chose otherwise.
    QPageLayout::Orientation orientation() const;
    // Never builds a page.
    int pageCount() const;
    // Page `number` (1-based); throws std::out_of_range outside 1..pageCount(). An added page
    // lives as long as the source. A streamed page is built here unless it is among the last few
    // asked for; what is answered stays valid until the next call of page() at least, so callers
    // never keep it across one. Whatever the page function throws comes through.
    const Page &page(int number) const;
    // How many built pages a streamed source holds now.
    int pagesHeld() const { return int(kept_.size()); }
    // Adds a page of this source's paper size and announces it; answers the new page. A streamed
    // source has all its pages from the start, and refuses (std::logic_error).
    Page &addPage();
    void announce(int number);

    // Plays pages `from`..`to` (1-based, inclusive) `copies` times onto a printer or PDF writer,
    // building each page as it goes; the device's page size is set to the report's paper first.
    void printTo(QPagedPaintDevice &device, int from, int to, int copies = 1) const;
    // The same with the sheet turned as the printer dialog chose.
    void printTo(QPagedPaintDevice &device, int from, int to, int copies, QPageLayout::Orientation orientation) const;
    // Writes every page to a PDF file; false when the file cannot be written.
    bool exportPdf(const QString &path) const;

signals:
    void pageAvailable(int number);

private:
    bool play(QPagedPaintDevice &device, int from, int to, int copies, QPageLayout::Orientation orientation) const;

    QSizeF paperMm_;
    std::vector<std::unique_ptr<Page>> pages_;  // added pages
    int streamedCount_ = -1;                    // -1: pages are added, not streamed
    PageBuilder build_;
    // Built pages of a streamed source, the one asked for last in front.
    mutable std::vector<std::pair<int, std::unique_ptr<Page>>> kept_;
};

// A column of a list printout.
struct ListColumn {
    QString caption;
    QString field;
    double widthMm;
};

// The layout every record window prints: title on each page, a framed column header with
// rules between the columns, one framed detail row per record, the page number at the foot.
struct ListReportSpec {
    QString title;
    QList<ListColumn> columns;
    QSizeF paperMm = QSizeF(210, 297);
    QMarginsF marginsMm = QMarginsF(10, 10, 10, 10);
    FontSpec titleFont{QStringLiteral("宋体"), 22, true};
    FontSpec captionFont{QStringLiteral("宋体"), 11, true};
    FontSpec detailFont{QStringLiteral("宋体"), 10, false};
    FontSpec footerFont{QStringLiteral("宋体"), 11, true};
};

// Lays out every row of `rows` from the first to the last, in row-set order, a page when it is
// drawn or printed. The rows are those listed now: the printout reads them apart from the query,
// whose cursor it never moves and which may be reopened or destroyed meanwhile. Columns narrower
// than their text clip it. A field the open query lacks is refused at once (std::invalid_argument).
std::unique_ptr<PageSource> buildListReport(const ListReportSpec &layout, Query &rows);

}  // namespace korv::report
