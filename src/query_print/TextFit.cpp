// Line breaking and shrinking of printed texts, measured at printer resolution.
#include "query_print/TextFit.h"

#include <QHash>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextBoundaryFinder>

namespace korv::report {

namespace {
constexpr double kDotsPerMm = 600 / 25.4;
// Measured widths differ a little between devices; keep this much of a box's width free.
constexpr double kWidthSlack = 0.97;

QPaintDevice *measuringDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        image.setDotsPerMeterX(int(kDotsPerMm * 1000));
        image.setDotsPerMeterY(int(kDotsPerMm * 1000));
        return image;
    }();
    return &device;
}

QFontMetricsF metrics(const FontSpec &font, double pointSize)
{
    FontSpec sized = font;
    sized.pointSize = pointSize;
    return QFontMetricsF(resolveFont(sized), measuringDevice());
}

// The longest start of `text` whose width is at most `width`, broken after a word where one
// ends in that start, else after the last character that fits (at least one).
int breakAt(const QString &text, const QFontMetricsF &fm, double width)
{
    // Most texts fit whole; measuring every start of them is what costs.
    if (fm.horizontalAdvance(text) <= width)
        return int(text.size());
    int first = 0;
    int fits = 0;
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, text);
    for (int at = chars.toNextBoundary(); at > 0; at = chars.toNextBoundary()) {
        if (first == 0)
            first = at;
        if (fm.horizontalAdvance(text.left(at)) > width)
            break;
        fits = at;
    }
    if (fits == 0)
        return first > 0 ? first : int(text.size());
    if (fits == text.size())
        return fits;
    // Latin words stay whole where the line has room for a break between words.
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    lines.setPosition(fits);
    if (lines.isAtBoundary())
        return fits;
    const int wordStart = lines.toPreviousBoundary();
    return wordStart > 0 ? wordStart : fits;
}

// At most `most` lines: a text that needs more is not broken further. The first line has
// `firstWidth` of room.
QStringList wrap(const QString &text, const QFontMetricsF &fm, double firstWidth, double width, int most)
{
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (qsizetype p = 0; p < paragraphs.size() && lines.size() < most; ++p) {
        QString rest = paragraphs[p];
        if (rest.isEmpty())
            lines << QString();
        while (!rest.isEmpty() && lines.size() < most) {
            const int n = breakAt(rest, fm, lines.isEmpty() ? firstWidth : width);
            lines << rest.left(n);
            rest = rest.mid(n);
        }
        if (!rest.isEmpty() || p + 1 < paragraphs.size())
            if (lines.size() >= most)
                lines << QString();  // marks that more would follow
    }
    return lines;
}

QString withEllipsis(QString line, const QFontMetricsF &fm, double width)
{
    const QString ellipsis = QStringLiteral("…");
    while (!line.isEmpty() && fm.horizontalAdvance(line + ellipsis) > width)
        line.chop(1);
    return line + ellipsis;
}
}  // namespace

double textWidthMm(const QString &text, const FontSpec &font)
{
    return metrics(font, font.pointSize).horizontalAdvance(text) / kDotsPerMm;
}

QString leadingBlanks(const QString &line)
{
    qsizetype n = 0;
    while (n < line.size() && line[n] == QLatin1Char(' '))
        ++n;
    return line.left(n);
}

namespace {
FittedText fitUncached(const QString &text, const FontSpec &font, const QSizeF &boxMm, bool leftAligned)
{
    const double width = boxMm.width() * kDotsPerMm * kWidthSlack;
    const double floor = std::min(font.pointSize, kFloorPoints);
    const QString blanks = leftAligned ? leadingBlanks(text) : QString();
    const QString body = text.mid(blanks.size());
    FittedText fitted;
    fitted.indentMm = blanks.isEmpty() ? 0 : textWidthMm(blanks, font);
    for (double size = font.pointSize;; size = std::max(floor, size - 0.5)) {
        const QFontMetricsF fm = metrics(font, size);
        const double pitch = size * kLineEm * 25.4 / 72.0;
        const double firstPitch = blanks.isEmpty() ? pitch : font.pointSize * kLineEm * 25.4 / 72.0;
        const int room = 1 + std::max(0, int((boxMm.height() - firstPitch + 1e-6) / pitch));
        fitted.lines = wrap(body, fm, width - fitted.indentMm * kDotsPerMm, width, room);
        fitted.lines.first().prepend(blanks);
        fitted.pointSize = size;
        if (fitted.lines.size() <= room)
            return fitted;
        if (size <= floor) {
            fitted.lines = fitted.lines.mid(0, room);
            fitted.lines.last() = withEllipsis(fitted.lines.last(), fm, width - (room == 1 ? fitted.indentMm * kDotsPerMm : 0));
            fitted.shortened = true;
            return fitted;
        }
    }
}

}  // namespace

// A long printout repeats the same texts in the same boxes on every page (its labels, "0.00"),
// and measuring type is most of what laying out a page costs: the last few thousand fits are
// remembered while a printout is open.
QHash<QString, FittedText> &rememberedFits()
{
    static QHash<QString, FittedText> fits;
    return fits;
}

void forgetFittedTexts()
{
    QHash<QString, FittedText>().swap(rememberedFits());
}

FittedText fitText(const QString &text, const FontSpec &font, const QSizeF &boxMm, bool leftAligned)
{
    QHash<QString, FittedText> &fits = rememberedFits();
    constexpr qsizetype kRemembered = 2048;
    const QString key = QStringLiteral("%1\x1f%2\x1f%3\x1f%4\x1f%5\x1f%6\x1f%7")
                            .arg(font.family)
                            .arg(font.pointSize, 0, 'g', 17)
                            .arg(int(font.bold) | int(font.underline) << 1 | int(leftAligned) << 2)
                            .arg(boxMm.width(), 0, 'g', 17)
                            .arg(boxMm.height(), 0, 'g', 17)
                            .arg(text.size())
                            .arg(text);
    if (const auto found = fits.constFind(key); found != fits.constEnd())
        return *found;
    if (fits.size() >= kRemembered)
        fits.clear();
    return *fits.insert(key, fitUncached(text, font, boxMm, leftAligned));
}

}  // namespace korv::report
