// The banded list printout of the record windows: title, ruled column header and detail rows.
#include "query_print/Report.h"

#include "data/Query.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace korv::report {

namespace {

// Gaps around the bands, in millimetres; row heights follow from the type sizes.
constexpr double kGapBelowTitle = 3;
constexpr double kGapAboveFooter = 2;
constexpr double kCellPadding = 0.8;
constexpr double kRulePen = 0.2;

// Where each part of a page goes; the same on every page.
struct ListGeometry {
    QRectF printable;
    QRectF title;
    QRectF footer;
    double tableLeft = 0;
    double headerTop = 0;
    double headerHeight = 0;
    double rowHeight = 0;
    int rowsPerPage = 1;
    QList<QPair<double, double>> cells;  // left and right edge of each printed column
};

ListGeometry measure(const ListReportSpec &layout)
{
    ListGeometry g;
    const QMarginsF &m = layout.marginsMm;
    g.printable = QRectF(m.left(), m.top(), layout.paperMm.width() - m.left() - m.right(),
                         layout.paperMm.height() - m.top() - m.bottom());
    g.title = QRectF(g.printable.left(), g.printable.top(), g.printable.width(),
                     pointsToMm(layout.titleFont.pointSize) * 1.6);
    const double footerHeight = pointsToMm(layout.footerFont.pointSize) * 1.6;
    g.footer = QRectF(g.printable.left(), g.printable.bottom() - footerHeight, g.printable.width(), footerHeight);
    g.headerTop = g.title.bottom() + kGapBelowTitle;
    g.headerHeight = pointsToMm(layout.captionFont.pointSize) * 1.9;
    g.rowHeight = pointsToMm(layout.detailFont.pointSize) * 1.75;
    const double rowsTop = g.headerTop + g.headerHeight;
    const double rowsBottom = g.footer.top() - kGapAboveFooter;
    // A hair of tolerance so that rows that fit exactly are not pushed to the next page.
    g.rowsPerPage = std::max(1, int(std::floor((rowsBottom - rowsTop) / g.rowHeight + 1e-6)));

    double total = 0;
    for (const ListColumn &c : layout.columns)
        total += c.widthMm;
    // A narrow table stands in the middle; a wide one is cut at the right margin.
    g.tableLeft = g.printable.left() + std::max(0.0, (g.printable.width() - total) / 2);
    double x = g.tableLeft;
    for (const ListColumn &c : layout.columns) {
        const double right = std::min(x + c.widthMm, g.printable.right());
        if (right > x)
            g.cells.append({x, right});
        x += c.widthMm;
    }
    return g;
}

// One framed row with rules between its columns and a centred text in every cell.
void addRuledRow(Page &page, const ListGeometry &g, double top, double height, const QStringList &texts,
                 const FontSpec &font)
{
    if (g.cells.isEmpty())
        return;
    page.addRect(QRectF(g.cells.first().first, top, g.cells.last().second - g.cells.first().first, height), kRulePen);
    for (int i = 1; i < g.cells.size(); ++i)
        page.addLine(QPointF(g.cells[i].first, top), QPointF(g.cells[i].first, top + height), kRulePen);
    for (int i = 0; i < g.cells.size(); ++i) {
        if (texts[i].isEmpty())
            continue;
        const QRectF cell(g.cells[i].first + kCellPadding, top, g.cells[i].second - g.cells[i].first - 2 * kCellPadding,
                          height);
        page.addText(cell, texts[i], font, Qt::AlignCenter | Qt::TextSingleLine);
    }
}

}  // namespace

std::unique_ptr<PageSource> buildListReport(const ListReportSpec &layout, Query &rows)
{
    const ListGeometry g = measure(layout);
    const std::shared_ptr<const RowReader> reader = rows.rowReader();
    QStringList captions;
    QList<int> fields;
    for (const ListColumn &c : layout.columns) {
        const int index = reader->columnIndex(c.field);
        // A misspelt field would print an empty column without anyone noticing.
        if (rows.isOpen() && index < 0)
            throw std::invalid_argument("list report: no column " + c.field.toStdString());
        if (captions.size() < g.cells.size()) {
            captions << c.caption;
            fields << index;
        }
    }

    const int perPage = g.rowsPerPage;
    const int pages = std::max(1, (reader->count() + perPage - 1) / perPage);
    auto build = [layout, g, captions, fields, reader](Page &page, int number) {
        page.addText(g.title, layout.title, layout.titleFont, Qt::AlignCenter | Qt::TextSingleLine);
        addRuledRow(page, g, g.headerTop, g.headerHeight, captions, layout.captionFont);
        double top = g.headerTop + g.headerHeight;
        const int first = (number - 1) * g.rowsPerPage;
        const int end = std::min(reader->count(), first + g.rowsPerPage);
        for (int row = first; row < end; ++row) {
            QStringList texts;
            for (int field : fields)
                texts << reader->text(row, field);
            addRuledRow(page, g, top, g.rowHeight, texts, layout.detailFont);
            top += g.rowHeight;
        }
        page.addText(g.footer, QString::number(number), layout.footerFont, Qt::AlignCenter | Qt::TextSingleLine);
    };
    return std::make_unique<PageSource>(layout.paperMm, pages, std::move(build));
}

}  // namespace korv::report
