// Making a printed text fit its box: whole lines, then a smaller type, then "…".
#pragma once

#include "query_print/Report.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

namespace korv::report {

// The smallest type a text is shrunk to before its last line is cut short with "…".
constexpr double kFloorPoints = 6.0;
// The height a line of type takes on paper, as a share of its size: the characters' box and a
// little air, so that wrapped lines never touch.
constexpr double kLineEm = 1.15;

struct FittedText {
    QStringList lines;
    double pointSize = 0;
    bool shortened = false;  // the last line ends with "…"
};

// Breaks `text` into lines no wider than the box (at the text's own line breaks, else between
// words, else between characters), shrinking the type by half points down to kFloorPoints
// until every line fits in the box's height; what still does not fit is left off and the last
// line that fits ends with "…". Type smaller than the floor keeps its size.
FittedText fitText(const QString &text, const FontSpec &font, const QSizeF &boxMm);

// The width of `text` on paper, in millimetres.
double textWidthMm(const QString &text, const FontSpec &font);

}  // namespace korv::report
