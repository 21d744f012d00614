// The business sheet: every order of the settlement list on A4, one ruled block each.
#include "repair/BusinessSheet.h"

#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "repair/RepairRules.h"

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

int requireColumn(const Query &orders, const char *name)
{
    const int index = orders.columnIndex(QString::fromLatin1(name));
    // A misspelt column would print an empty value without anyone noticing.
    if (index < 0)
        throw DbError(QStringLiteral("修理业务表：列表中没有字段 %1").arg(QLatin1String(name)));
    return index;
}

// Labels get the room their text needs; values share the rest of the row by weight.
std::vector<std::vector<PlacedCell>> placeCells(const Query *orders)
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

void addBlock(report::Page &page, double top, const std::vector<std::vector<PlacedCell>> &cells,
              const Query &orders, int row, const FigureColumns &fc)
{
    const BlockFigures figures = blockFigures(orders.cellText(row, fc.sfbx), orders.cellText(row, fc.wxf),
                                              orders.cellText(row, fc.jcf), orders.cellText(row, fc.smf),
                                              orders.cellText(row, fc.ljf));
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
                                                               : orders.cellText(row, c.column);
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
    const bool open = orders.isOpen();
    const int count = open ? orders.RecordCount() : 0;
    const auto cells = placeCells(open ? &orders : nullptr);
    FigureColumns fc{-1, -1, -1, -1, -1};
    if (open)
        fc = {requireColumn(orders, "sfbx"), requireColumn(orders, "wxf"), requireColumn(orders, "jcf"),
              requireColumn(orders, "smf"), requireColumn(orders, "ljf")};

    const QRectF title(kLeft, kTop, kRight - kLeft, report::pointsToMm(kTitleFont.pointSize) * 1.6);
    const double footerHeight = report::pointsToMm(kFooterFont.pointSize) * 1.6;
    const QRectF footer(kLeft, kBottom - footerHeight, kRight - kLeft, footerHeight);
    const double blocksTop = title.bottom() + kGapBelowTitle;
    const double room = footer.top() - kGapAboveFooter - blocksTop + kGapBetweenBlocks;
    const int blocksPerPage = std::max(1, int(std::floor(room / (kBlockHeight + kGapBetweenBlocks) + 1e-6)));
    const int centred = Qt::AlignCenter | Qt::TextSingleLine;

    auto source = std::make_unique<report::PageSource>(kPaper);
    int row = 0;
    do {
        report::Page &page = source->addPage();
        page.addText(title, kBusinessSheetTitle, kTitleFont, centred);
        double top = blocksTop;
        for (int onPage = 0; onPage < blocksPerPage && row < count; ++onPage, ++row) {
            addBlock(page, top, cells, orders, row, fc);
            top += kBlockHeight + kGapBetweenBlocks;
        }
        page.addText(footer, QString::number(source->pageCount()), kFooterFont, centred);
    } while (row < count);
    return source;
}

}  // namespace korv::repair
