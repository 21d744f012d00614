// The business sheet: every order of the settlement list on A4, one ruled block each.
#include "repair/BusinessSheet.h"

#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "repair/RepairRules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace korv::repair {

namespace {

using report::FontSpec;

const FontSpec kTitleFont{QStringLiteral("宋体"), 22, true};
const FontSpec kFooterFont{QStringLiteral("宋体"), 11, true};
const FontSpec kLabelFont{QStringLiteral("宋体"), 11, true};
const FontSpec kValueFont{QStringLiteral("宋体"), 10, false};

constexpr QSizeF kPaper(210, 297);
constexpr double kMargin = 10;
constexpr double kLeft = kMargin, kRight = 210 - kMargin, kTop = kMargin, kBottom = 297 - kMargin;
constexpr double kRowHeight = 6.5;
constexpr int kRowsPerBlock = 6;
constexpr double kBlockHeight = kRowHeight * kRowsPerBlock;
constexpr double kGapBelowTitle = 3, kGapAboveFooter = 2, kGapBetweenBlocks = 3;
constexpr double kCellPadding = 0.8;
constexpr double kFramePen = 0.3, kRulePen = 0.2;

// Where a value comes from: a column of the order, or one of the two worked-out figures.
enum class Source { Column, Warranty, Total };

struct CellDef {
    const char *label;
    const char *column;  // for Source::Column
    double weight;       // share of the row's width left after the labels
    Source source = Source::Column;
};

const std::vector<std::vector<CellDef>> &blockRows()
{
    static const std::vector<std::vector<CellDef>> rows = {
        {{"单号", "wxdh", 1.0}, {"类别", "cpmc", 1.2}, {"型号", "xh", 1.0}, {"机身号", "jshm", 1.2}},
        {{"购买商店", "gmsd", 1.6}, {"购买日期", "gmrq", 1.0}, {"附件", "fj", 1.6}},
        {{"客户姓名", "xm", 1.0}, {"电话", "dh", 1.0}, {"邮编", "yb", 0.6}, {"地址", "dz", 2.0}},
        {{"接机员", "jjy", 0.8}, {"接机日期", "jjrq", 1.4}, {"维修人", "wxry", 0.8}, {"修复日期", "xfrq", 1.4}},
        {{"故障原因", "gjyy", 2.0}, {"是否保修期", nullptr, 0.8, Source::Warranty}, {"修理情况", "xlqk", 2.0}},
        {{"维修费", "wxf", 1.0},
         {"检查费", "jcf", 1.0},
         {"上门费", "smf", 1.0},
         {"零件费", "ljf", 1.0},
         {"合计", nullptr, 1.0, Source::Total},
         {"实收款", "jjkx", 1.0}},
    };
    return rows;
}

// One label and its value placed in a row, their edges in millimetres from the paper's left.
struct PlacedCell {
    QString label;
    double labelLeft, valueLeft, valueRight;
    Source source;
    int column;  // query column, -1 for the worked-out figures
};

// The figures every block needs besides what it prints: the columns blockFigures reads.
struct FigureColumns {
    int sfbx, wxf, jcf, smf, ljf;
};

int requireColumn(const RowReader &orders, const char *name)
{
    const int index = orders.columnIndex(QString::fromLatin1(name));
    // A misspelt column would print an empty value without anyone noticing.
    if (index < 0)
        throw DbError(QStringLiteral("修理业务表：列表中没有字段 %1").arg(QLatin1String(name)));
    return index;
}

// Labels get the room their text needs; values share the rest of the row by weight.
std::vector<std::vector<PlacedCell>> placeCells(const RowReader *orders)
{
    const double charWidth = report::pointsToMm(kLabelFont.pointSize);
    std::vector<std::vector<PlacedCell>> placed;
    for (const std::vector<CellDef> &row : blockRows()) {
        double labelsWidth = 0, weights = 0;
        for (const CellDef &c : row) {
            labelsWidth += QString::fromUtf8(c.label).size() * charWidth + 2 * kCellPadding;
            weights += c.weight;
        }
        const double perWeight = (kRight - kLeft - labelsWidth) / weights;
        double x = kLeft;
        std::vector<PlacedCell> cells;
        for (const CellDef &c : row) {
            const QString label = QString::fromUtf8(c.label);
            const double valueLeft = x + label.size() * charWidth + 2 * kCellPadding;
            const double valueRight = valueLeft + c.weight * perWeight;
            const int column = orders && c.source == Source::Column ? requireColumn(*orders, c.column) : -1;
            cells.push_back({label, x, valueLeft, valueRight, c.source, column});
            x = valueRight;
        }
        cells.back().valueRight = kRight;  // no rounding gap at the right edge
        placed.push_back(std::move(cells));
    }
    return placed;
}

QRectF cellBox(double left, double right, double top)
{
    return QRectF(left + kCellPadding, top, right - left - 2 * kCellPadding, kRowHeight);
}

// The figures of one block as printed. A flag that is no whole number can only come from a file
// changed outside the program; the block is laid out when its page is drawn or printed, long
// after 打印 was pressed, so it no longer refuses the whole sheet: it prints the flag as it is
// stored, as a fee that is no number is.
BlockFigures printedFigures(const RowReader &orders, int row, const FigureColumns &fc)
{
    const QString sfbx = orders.text(row, fc.sfbx);
    const QString wxf = orders.text(row, fc.wxf), jcf = orders.text(row, fc.jcf);
    const QString smf = orders.text(row, fc.smf), ljf = orders.text(row, fc.ljf);
    try {
        return blockFigures(sfbx, wxf, jcf, smf, ljf);
    } catch (const DbError &) {
        return {sfbx, numberText(feeTotal(wxf, jcf, smf, ljf))};
    }
}

void addBlock(report::Page &page, double top, const std::vector<std::vector<PlacedCell>> &cells,
              const RowReader &orders, int row, const FigureColumns &fc)
{
    const BlockFigures figures = printedFigures(orders, row, fc);
    const int labelAlign = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    page.addRect(QRectF(kLeft, top, kRight - kLeft, kBlockHeight), kFramePen);
    for (size_t r = 0; r < cells.size(); ++r) {
        const double y = top + double(r) * kRowHeight;
        if (r > 0)
            page.addLine({kLeft, y}, {kRight, y}, kRulePen);
        for (size_t i = 0; i < cells[r].size(); ++i) {
            const PlacedCell &c = cells[r][i];
            if (i > 0)
                page.addLine({c.labelLeft, y}, {c.labelLeft, y + kRowHeight}, kRulePen);
            page.addLine({c.valueLeft, y}, {c.valueLeft, y + kRowHeight}, kRulePen);
            page.addText(cellBox(c.labelLeft, c.valueLeft, y), c.label, kLabelFont, labelAlign);
            const QString value = c.source == Source::Warranty ? figures.warranty
                                  : c.source == Source::Total  ? figures.total
                                                               : orders.text(row, c.column);
            page.addText(cellBox(c.valueLeft, c.valueRight, y), value, kValueFont, labelAlign);
        }
    }
}

}  // namespace

BlockFigures blockFigures(const QString &sfbx, const QString &wxf, const QString &jcf, const QString &smf,
                          const QString &ljf)
{
    return {settlementWarrantyText(sfbx), numberText(feeTotal(wxf, jcf, smf, ljf))};
}

std::unique_ptr<report::PageSource> buildBusinessSheet(const Query &orders)
{
    const std::shared_ptr<const RowReader> reader = orders.rowReader();
    const bool open = orders.isOpen();
    const auto cells = placeCells(open ? reader.get() : nullptr);
    FigureColumns fc{-1, -1, -1, -1, -1};
    if (open)
        fc = {requireColumn(*reader, "sfbx"), requireColumn(*reader, "wxf"), requireColumn(*reader, "jcf"),
              requireColumn(*reader, "smf"), requireColumn(*reader, "ljf")};

    const QRectF title(kLeft, kTop, kRight - kLeft, report::pointsToMm(kTitleFont.pointSize) * 1.6);
    const double footerHeight = report::pointsToMm(kFooterFont.pointSize) * 1.6;
    const QRectF footer(kLeft, kBottom - footerHeight, kRight - kLeft, footerHeight);
    const double blocksTop = title.bottom() + kGapBelowTitle;
    const double room = footer.top() - kGapAboveFooter - blocksTop + kGapBetweenBlocks;
    const int blocksPerPage = std::max(1, int(std::floor(room / (kBlockHeight + kGapBetweenBlocks) + 1e-6)));
    const int pages = std::max(1, (reader->count() + blocksPerPage - 1) / blocksPerPage);

    auto build = [=](report::Page &page, int number) {
        const int centred = Qt::AlignCenter | Qt::TextSingleLine;
        page.addText(title, kBusinessSheetTitle, kTitleFont, centred);
        const int first = (number - 1) * blocksPerPage;
        const int end = std::min(reader->count(), first + blocksPerPage);
        double top = blocksTop;
        for (int row = first; row < end; ++row, top += kBlockHeight + kGapBetweenBlocks)
            addBlock(page, top, cells, *reader, row, fc);
        page.addText(footer, QString::number(number), kFooterFont, centred);
    };
    return std::make_unique<report::PageSource>(kPaper, pages, std::move(build));
}

}  // namespace korv::repair
