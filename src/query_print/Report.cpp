// The report engine: pages as display lists in millimetres, drawn on screen, printer or PDF.
#include "query_print/Report.h"

#include "common/Messages.h"
#include "query_print/TextFit.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <stdexcept>

namespace korv::report {

namespace {

const QString kSerif = QStringLiteral("Noto Serif CJK SC");
const QString kSans = QStringLiteral("Noto Sans CJK SC");

// The first installed face that reads as a Kai (brush) face, or nothing.
QString installedKaiFace()
{
    // Fonts installed while the program runs are not looked for; the answer is the machine's.
    static const QString face = [] {
        QString any;
        for (const QString &family : QFontDatabase::families(QFontDatabase::SimplifiedChinese)) {
            if (!family.contains(QLatin1String("Kai"), Qt::CaseInsensitive) && !family.contains(QStringLiteral("楷")))
                continue;
            // The mainland cut draws the simplified forms the shop's texts are written in.
            if (family.endsWith(QLatin1String(" CN")) || family.endsWith(QLatin1String(" SC")) ||
                family.endsWith(QLatin1String(" GB")))
                return family;
            if (any.isEmpty())
                any = family;
        }
        return any;
    }();
    return face;
}

QString installedFamily(const QString &layoutFace)
{
    if (layoutFace == QStringLiteral("宋体"))
        return kSerif;
    if (layoutFace == QStringLiteral("黑体"))
        return kSans;
    if (layoutFace == QStringLiteral("楷体_GB2312")) {
        const QString kai = installedKaiFace();
        return kai.isEmpty() ? kSerif : kai;
    }
    return kSans;
}

}  // namespace

double pointsToMm(double points)
{
    return points * 25.4 / 72.0;
}

QFont resolveFont(const FontSpec &face)
{
    QFont font(installedFamily(face.family));
    font.setPointSizeF(face.pointSize);
    font.setBold(face.bold);
    font.setUnderline(face.underline);
    return font;
}

void Page::addText(const QRectF &boxMm, const QString &text, const FontSpec &font, int alignment)
{
    const bool left = !(alignment & (Qt::AlignHCenter | Qt::AlignRight));
    const FittedText fitted = fitText(text, font, boxMm.size(), left);
    texts.append({boxMm, text, font, alignment, fitted.lines, fitted.pointSize, fitted.shortened, fitted.indentMm});
}

double TextItem::lineTopMm(int index) const
{
    if (index == 0)
        return 0;
    const double first = pointsToMm(indentMm > 0 ? font.pointSize : printedPoints) * kLineEm;
    return first + (index - 1) * pointsToMm(printedPoints) * kLineEm;
}

double TextItem::linesHeightMm() const
{
    if (lines.isEmpty())
        return 0;
    const int last = int(lines.size()) - 1;
    return lineTopMm(last) + (last == 0 ? lineTopMm(1) : pointsToMm(printedPoints) * kLineEm);
}

QList<QRectF> TextItem::printedLinesMm() const
{
    FontSpec printed = font;
    printed.pointSize = printedPoints;
    double top = boxMm.top();
    if (alignment & Qt::AlignVCenter)
        top += (boxMm.height() - linesHeightMm()) / 2;
    else if (alignment & Qt::AlignBottom)
        top = boxMm.bottom() - linesHeightMm();
    QList<QRectF> rects;
    for (int i = 0; i < lines.size(); ++i) {
        const QString blanks = leadingBlanks(lines[i]);
        const double width = textWidthMm(lines[i].mid(blanks.size()), printed);
        const double indent = i == 0 && indentMm > 0 ? indentMm : textWidthMm(blanks, printed);
        double x = boxMm.left() + indent;
        if (alignment & Qt::AlignHCenter)
            x = boxMm.left() + (boxMm.width() - indent - width) / 2 + indent;
        else if (alignment & Qt::AlignRight)
            x = boxMm.right() - width;
        if (width > 0)
            rects << QRectF(x, top + lineTopMm(i), width, pointsToMm(printedPoints));
    }
    return rects;
}

void Page::addLine(const QPointF &fromMm, const QPointF &toMm, double penWidthMm)
{
    lines.append({fromMm, toMm, penWidthMm});
}

void Page::addRect(const QRectF &rectMm, double penWidthMm)
{
    rects.append({rectMm, penWidthMm});
}

QStringList Page::allTexts() const
{
    QStringList all;
    for (const TextItem &t : texts)
        all << t.text;
    return all;
}

namespace {
// The layouts place text by the top of its characters, as fonts whose ascent is about 0.86 em
// print it. The CJK faces installed here rise higher above the characters, which would push
// top-aligned text down into the rules under it; the difference is taken back.
double topGap(const QFont &font, QPaintDevice *device, int alignment, double ascentEm = 0.86)
{
    if (!device || (alignment & (Qt::AlignVCenter | Qt::AlignBottom)))
        return 0.0;
    const double em = font.pointSizeF() * device->logicalDpiY() / 72.0;
    return std::max(0.0, QFontMetricsF(font, device).ascent() - ascentEm * em);
}
}  // namespace

namespace {
// Draws one line of text in `box`. A left-aligned line's leading blanks only take room, so an
// underline starts at the first character; `indent` is their width when the layout fixed it.
void drawLine(QPainter &painter, const QRectF &box, int alignment, const QString &line, double indent = -1)
{
    const QString blanks = leadingBlanks(line);
    if (blanks.isEmpty() || (alignment & (Qt::AlignHCenter | Qt::AlignRight))) {
        painter.drawText(box, alignment, line);
        return;
    }
    if (indent < 0)
        indent = QFontMetricsF(painter.font(), painter.device()).horizontalAdvance(blanks);
    painter.drawText(box.adjusted(indent, 0, 0, 0), alignment, line.mid(blanks.size()));
}
}  // namespace

void paintPage(QPainter &painter, const Page &page, double dotsPerMm)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setBrush(Qt::NoBrush);
    const auto scaled = [dotsPerMm](const QRectF &mm) {
        return QRectF(mm.x() * dotsPerMm, mm.y() * dotsPerMm, mm.width() * dotsPerMm, mm.height() * dotsPerMm);
    };
    const auto pen = [dotsPerMm](double widthMm) {
        QPen p(Qt::black, widthMm * dotsPerMm);
        p.setCapStyle(Qt::SquareCap);
        p.setJoinStyle(Qt::MiterJoin);
        return p;
    };
    for (const RectItem &r : page.rects) {
        painter.setPen(pen(r.penWidthMm));
        painter.drawRect(scaled(r.rectMm));
    }
    for (const LineItem &l : page.lines) {
        painter.setPen(pen(l.penWidthMm));
        painter.drawLine(l.fromMm * dotsPerMm, l.toMm * dotsPerMm);
    }
    // A point size is turned into dots by the device's own resolution; scale it so that the
    // text keeps its size on paper at this many dots per millimetre.
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : 72.0;
    const double pointScale = dotsPerMm * 25.4 / deviceDpi;
    painter.setPen(Qt::black);
    for (const TextItem &t : page.texts) {
        QFont font = resolveFont(t.font);
        font.setPointSizeF(t.printedPoints * pointScale);
        painter.setFont(font);
        const QRectF box = scaled(t.boxMm);
        if (t.lines.size() == 1) {
            // Without TextDontClip, Qt clips text that does not fit to its box.
            const int alignment = t.alignment & ~Qt::TextWordWrap;
            drawLine(painter, box.translated(0, -topGap(font, painter.device(), alignment)), alignment, t.lines[0],
                     t.indentMm > 0 ? t.indentMm * dotsPerMm : -1);
            continue;
        }
        // Several lines are set one under the other at the spacing they were fitted with.
        double top = box.top();
        if (t.alignment & Qt::AlignVCenter)
            top += (box.height() - t.linesHeightMm() * dotsPerMm) / 2;
        else if (t.alignment & Qt::AlignBottom)
            top += box.height() - t.linesHeightMm() * dotsPerMm;
        const int lineAlignment = (t.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop;
        // The characters sit a little lower in their line than a single line does, so that the
        // first line's ink stays under the box's top and the last line's above its bottom.
        const double gap = topGap(font, painter.device(), lineAlignment, 0.92);
        const double lineHeight = pointsToMm(t.printedPoints) * kLineEm * dotsPerMm;
        for (int i = 0; i < t.lines.size(); ++i) {
            const QRectF lineBox(box.left(), top + t.lineTopMm(i) * dotsPerMm - gap, box.width(), lineHeight + gap);
            drawLine(painter, lineBox, lineAlignment, t.lines[i], i == 0 && t.indentMm > 0 ? t.indentMm * dotsPerMm : -1);
        }
    }
    painter.restore();
}

PageSource::PageSource(const QSizeF &paperMm, QObject *parent) : QObject(parent), paperMm_(paperMm)
{
}

PageSource::PageSource(const QSizeF &paperMm, int pageCount, PageBuilder build, QObject *parent)
    : QObject(parent), paperMm_(paperMm), streamedCount_(std::max(0, pageCount)), build_(std::move(build))
{
}

// What laying out pages remembered goes with the printout.
PageSource::~PageSource()
{
    forgetFittedTexts();
}

int PageSource::pageCount() const
{
    return streamedCount_ >= 0 ? streamedCount_ : int(pages_.size());
}

const Page &PageSource::page(int number) const
{
    if (number < 1 || number > pageCount())
        throw std::out_of_range("page number out of range");
    if (streamedCount_ < 0)
        return *pages_[size_t(number - 1)];
    const auto found = std::find_if(kept_.begin(), kept_.end(), [number](const auto &k) { return k.first == number; });
    if (found != kept_.end()) {
        // Moving the pointer to the front leaves the page itself where it is.
        std::rotate(kept_.begin(), found, found + 1);
        return *kept_.front().second;
    }
    auto built = std::make_unique<Page>();
    built->paperMm = paperMm_;
    build_(*built, number);
    if (int(kept_.size()) >= kKeptPages)
        kept_.pop_back();
    kept_.insert(kept_.begin(), {number, std::move(built)});
    return *kept_.front().second;
}

Page &PageSource::addPage()
{
    if (streamedCount_ >= 0)
        throw std::logic_error("a streamed report has all its pages");
    pages_.push_back(std::make_unique<Page>());
    pages_.back()->paperMm = paperMm_;
    emit pageAvailable(pageCount());
    return *pages_.back();
}

void PageSource::announce(int number)
{
    emit pageAvailable(number);
}

QPageLayout::Orientation PageSource::orientation() const
{
    return landscape() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void PageSource::printTo(QPagedPaintDevice &device, int from, int to, int copies) const
{
    play(device, from, to, copies, orientation());
}

void PageSource::printTo(QPagedPaintDevice &device, int from, int to, int copies,
                         QPageLayout::Orientation orientation) const
{
    play(device, from, to, copies, orientation);
}

bool PageSource::exportPdf(const QString &path) const
{
    QPdfWriter writer(path);
    writer.setCreator(kApplicationTitle);
    return play(writer, 1, pageCount(), 1, orientation());
}

bool PageSource::play(QPagedPaintDevice &device, int from, int to, int copies,
                      QPageLayout::Orientation orientation) const
{
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    // The sheet is given as it lies, never as a portrait size turned by the orientation: a print
    // queue is told to turn a landscape job onto portrait paper, so a wide sheet described that
    // way comes out of it turned on a narrow page, where a PDF shows it wide.
    const QSizeF sheet = orientation == this->orientation() ? paperMm_ : paperMm_.transposed();
    const QPageLayout layout(QPageSize(sheet, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                             QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    device.setPageLayout(layout);
    if (auto *printer = dynamic_cast<QPrinter *>(&device)) {
        printer->setFullPage(true);
        printer->setCopyCount(1);  // copies are played here, so drivers must not repeat them
    }
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int n = from; n <= to; ++n) {
            if (!first)
                device.newPage();
            first = false;
            paintPage(painter, page(n), dotsPerMm);
        }
    }
    return painter.end();
}

}  // namespace korv::report
