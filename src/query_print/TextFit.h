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
    // The blanks that indent a left-aligned text's first line keep the width they have in the
    // layout's type, and that line keeps the layout's height, since something printed beside
    // them (a label) is of that size.
    double indentMm = 0;
};

// Breaks `text` into lines no wider than the box (at the text's own line breaks, else between
// words, else between characters), shrinking the type by half points down to kFloorPoints
// until every line fits in the box's height; what still does not fit is left off and the last
// line that fits ends with "…". Type smaller than the floor keeps its size.
FittedText fitText(const QString &text, const FontSpec &font, const QSizeF &boxMm, bool leftAligned = true);

// Lets go of the fits remembered for the printouts made so far (when a printout is closed).
void forgetFittedTexts();

// The blanks a line begins with.
QString leadingBlanks(const QString &line);

// The width of `text` on paper, in millimetres.
double textWidthMm(const QString &text, const FontSpec &font);

}  // namespace korv::report
