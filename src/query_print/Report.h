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

// The pages of one prepared report. Pages are numbered from 1 and announced one by one as
// they are added; the preview follows the announcements.
class PageSource : public QObject {
    Q_OBJECT
public:
    explicit PageSource(const QSizeF &paperMm, QObject *parent = nullptr);

    QSizeF paperMm() const { return paperMm_; }
    bool landscape() const { return paperMm_.width() > paperMm_.height(); }
    // How the sheet lies in the printer when nobody chose otherwise.
    QPageLayout::Orientation orientation() const;
    int pageCount() const { return int(pages_.size()); }
    const Page &page(int number) const;  // 1-based
    // Adds a page of this source's paper size and announces it; answers the new page.
    Page &addPage();
    void announce(int number);

    // Plays pages `from`..`to` (1-based, inclusive) `copies` times onto a printer or PDF writer;
    // the device's page size is set to the report's paper first.
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
    std::vector<std::unique_ptr<Page>> pages_;
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

// Lays out every row of `rows` from the first to the last, in row-set order. The query's
// current record is the same afterwards. Columns narrower than their text clip it.
std::unique_ptr<PageSource> buildListReport(const ListReportSpec &layout, Query &rows);

}  // namespace korv::report
