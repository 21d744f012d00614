// Line breaking and shrinking of printed texts, measured at printer resolution.
#include "query_print/TextFit.h"

#include <QHash>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <optional>

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

QFont sizedFont(FontSpec face, double pointSize)
{
    face.pointSize = pointSize;
    return resolveFont(face);
}

// Type at one size, as lines are measured in it.
struct Type {
    Type(const FontSpec &face, double pointSize) : font(sizedFont(face, pointSize)), fm(font, measuringDevice()) {}
    QFont font;
    QFontMetricsF fm;
};

// Whether a place a line may end at depends on the character after it, and a surrogate's on its
// other half: a part of a text is read this far past the last place it is asked about.
constexpr qsizetype kLookahead = 16;

// Where each place of a text stands when the text is laid out once. A start of the text measured
// by itself differs from that only by what the characters at its end do to each other (kerning, a
// ligature), much less than a line's height; a place further than that inside a line's width is
// surely inside it. Texts whose layout is not one run from left to right (right-to-left script,
// direction marks, line separators, control characters but tabs and carriage returns) are told
// nothing.
class Places {
public:
    Places(const QString &text, const Type &type)
        : layout_(text, type.font, measuringDevice()), margin_(type.fm.height()), plain_(isPlain(text))
    {
        if (!plain_)
            return;
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout_.setTextOption(option);
        layout_.beginLayout();
        line_ = layout_.createLine();
        line_.setLineWidth(1e6);
        layout_.endLayout();
    }
    bool surelyWithin(qsizetype at, double width) const
    {
        return plain_ && line_.cursorToX(int(at)) < width - margin_;
    }

private:
    static bool isPlain(const QString &text)
    {
        for (const char32_t c : QStringView(text).toUcs4()) {
            switch (QChar::direction(c)) {
            case QChar::DirR: case QChar::DirAL: case QChar::DirAN: case QChar::DirRLE: case QChar::DirRLO:
            case QChar::DirLRE: case QChar::DirLRO: case QChar::DirPDF: case QChar::DirRLI: case QChar::DirLRI:
            case QChar::DirFSI: case QChar::DirPDI:
                return false;
            default:
                break;
            }
            const QChar::Category category = QChar::category(c);
            if (category == QChar::Separator_Line || category == QChar::Separator_Paragraph ||
                (category == QChar::Other_Control && c != u'\t' && c != u'\r'))
                return false;
        }
        return true;
    }

    QTextLayout layout_;
    QTextLine line_;
    double margin_;
    bool plain_;
};

// The longest start of `text` whose width is at most `width`, broken after a word where one
// ends in that start, else after the last character that fits (at least one). Only the places up
// to `limit` are looked at: nothing is answered when all of them fit, unless `limit` is the text's
// end.
std::optional<int> breakWithin(const QString &text, const Type &type, double width, qsizetype limit)
{
    const bool whole = limit == text.size();
    // Most texts fit whole; measuring every start of them is what costs.
    if (whole && type.fm.horizontalAdvance(text) <= width)
        return int(text.size());
    const Places places(text, type);
    int first = 0;
    int fits = 0;
    bool over = false;
    QTextBoundaryFinder chars(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = chars.toNextBoundary(); at > 0 && at <= limit; at = chars.toNextBoundary()) {
        if (first == 0)
            first = int(at);
        if (!places.surelyWithin(at, width) && type.fm.horizontalAdvance(text.left(at)) > width) {
            over = true;
            break;
        }
        fits = int(at);
    }
    if (!over && !whole)
        return std::nullopt;
    if (fits == 0)
        return first > 0 ? first : int(text.size());
    if (fits == text.size())
        return fits;
    // Latin words stay whole where the line has room for a break between words.
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    lines.setPosition(fits);
    if (lines.isAtBoundary())
        return fits;
    const qsizetype wordStart = lines.toPreviousBoundary();
    return wordStart > 0 ? int(wordStart) : fits;
}

// The line that begins at `from` in `paragraph`. A long paragraph is read only as far as a line
// of `width` can reach, and further only when that part fits whole.
int breakAt(const QString &paragraph, qsizetype from, const Type &type, double width)
{
    const double narrowest = std::max(1.0, type.fm.averageCharWidth() / 2);
    for (qsizetype window = qsizetype(width / narrowest) + kLookahead;; window *= 2) {
        const QString part = paragraph.mid(from, window + kLookahead);
        if (from + part.size() == paragraph.size())
            return *breakWithin(part, type, width, part.size());
        if (const std::optional<int> n = breakWithin(part, type, width, window))
            return *n;
    }
}

// At most `most` lines: a text that needs more is not broken further. The first line has
// `firstWidth` of room.
QStringList wrap(const QString &text, const Type &type, double firstWidth, double width, int most)
{
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (qsizetype p = 0; p < paragraphs.size() && lines.size() < most; ++p) {
        const QString &paragraph = paragraphs[p];
        qsizetype from = 0;
        if (paragraph.isEmpty())
            lines << QString();
        while (from < paragraph.size() && lines.size() < most) {
            const int n = breakAt(paragraph, from, type, lines.isEmpty() ? firstWidth : width);
            lines << paragraph.mid(from, n);
            from += n;
        }
        if (from < paragraph.size() || p + 1 < paragraphs.size())
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
    return Type(font, font.pointSize).fm.horizontalAdvance(text) / kDotsPerMm;
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
        const Type type(font, size);
        const double pitch = size * kLineEm * 25.4 / 72.0;
        const double firstPitch = blanks.isEmpty() ? pitch : font.pointSize * kLineEm * 25.4 / 72.0;
        const int room = 1 + std::max(0, int((boxMm.height() - firstPitch + 1e-6) / pitch));
        fitted.lines = wrap(body, type, width - fitted.indentMm * kDotsPerMm, width, room);
        fitted.lines.first().prepend(blanks);
        fitted.pointSize = size;
        if (fitted.lines.size() <= room)
            return fitted;
        if (size <= floor) {
            fitted.lines = fitted.lines.mid(0, room);
            fitted.lines.last() = withEllipsis(fitted.lines.last(), type.fm, width - (room == 1 ? fitted.indentMm * kDotsPerMm : 0));
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
