// Report pages, the list printout, and the print preview window with its printing and export.
#include "common/Messages.h"
#include "common/Placement.h"
#include "common/Printers.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/TextFit.h"
#include "query_print/mldy.h"
#include "repair/BusinessSheet.h"
#include "support/Orders.h"
#include "support/TestSupport.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <stdexcept>

using namespace korv;
using report::FontSpec;
using report::Page;
using report::PageSource;

namespace {

const QString kNoPrinter = " 没有安装打印机或打印机出现异常。";

// The customer printout's columns, as the record windows lay them out.
report::ListReportSpec customerList()
{
    report::ListReportSpec layout;
    layout.title = "客户信息表";
    layout.columns = {{"编 号", "bh", 16},     {"客户名称", "khmc", 34}, {"联系电话", "lxdh", 24},
                    {"传 真", "cz", 22},     {"联系人", "lxr", 18},    {"联系人电话", "lxrdh", 24},
                    {"邮编", "yb", 14},      {"地  址", "dz", 38}};
    return layout;
}

// A program directory whose customer table holds `count` customers numbered from 0001.
struct Customers {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    Query rows{db};
    QStringList expectedDetailTexts;  // every non-empty cell, row by row

    explicit Customers(int count)
    {
        db.exec("begin");
        for (int i = 1; i <= count; ++i) {
            const QString bh = QString("%1").arg(i, 4, 10, QChar('0'));
            // Row 50 has no fax and an address far too long for its cell.
            const QString fax = i == 50 ? QString() : "0571-" + bh;
            const QString address = i == 50 ? QString("很长的地址").repeated(60) : "杭州市某路" + bh + "号";
            const QStringList cells{bh, "客户" + bh, "1380000" + bh, fax, "联系人" + bh, "1390000" + bh, "3100" + bh.right(2),
                                    address};
            QStringList quoted;
            for (const QString &c : cells)
                quoted << "'" + c + "'";
            db.exec("insert into khjbxx (bh, khmc, lxdh, cz, lxr, lxrdh, yb, dz) values (" + quoted.join(",") + ")");
            for (const QString &c : cells)
                if (!c.isEmpty())
                    expectedDetailTexts << c;
        }
        db.exec("commit");
        rows.setSql("select * from khjbxx order by bh");
        rows.Open();
    }
};

// The printable area of a list printout with a hair of tolerance for rounding.
QRectF printableArea(const report::ListReportSpec &layout)
{
    const QMarginsF &m = layout.marginsMm;
    return QRectF(m.left(), m.top(), layout.paperMm.width() - m.left() - m.right(),
                  layout.paperMm.height() - m.top() - m.bottom())
        .adjusted(-1e-6, -1e-6, 1e-6, 1e-6);
}

QString outsideArea(const Page &page, const QRectF &area)
{
    for (const report::TextItem &t : page.texts)
        if (!area.contains(t.boxMm))
            return "text " + t.text.left(20);
    for (const report::LineItem &l : page.lines)
        if (!area.contains(l.fromMm) || !area.contains(l.toMm))
            return "a line";
    for (const report::RectItem &r : page.rects)
        if (!area.contains(r.rectMm))
            return "a frame";
    return {};
}

// A source of `count` pages, each saying which page it is.
std::unique_ptr<PageSource> numberedPages(int count, const QSizeF &paper = QSizeF(210, 297))
{
    auto source = std::make_unique<PageSource>(paper);
    for (int n = 1; n <= count; ++n)
        source->addPage().addText(QRectF(20, 20, 100, 10), QString("第%1页").arg(n), FontSpec{}, Qt::AlignLeft);
    return source;
}

// Everything a page draws, where and how, one item a line.
QStringList drawn(const Page &page)
{
    QStringList items;
    const auto at = [](const QRectF &r) { return QString("%1,%2,%3,%4 ").arg(r.x()).arg(r.y()).arg(r.right()).arg(r.bottom()); };
    for (const report::TextItem &t : page.texts)
        items << at(t.boxMm) + t.lines.join('|') + QString(" %1 %2 %3").arg(t.printedPoints).arg(t.alignment).arg(t.font.bold);
    for (const report::LineItem &l : page.lines)
        items << at(QRectF(l.fromMm, l.toMm)) + QString::number(l.penWidthMm);
    for (const report::RectItem &r : page.rects)
        items << at(r.rectMm) + QString::number(r.penWidthMm);
    return items;
}

// A streamed source of numbered pages that counts the pages it builds; page `failing` cannot be read.
struct CountedPages {
    int builds = 0, lastBuilt = 0, failing = 0;
    std::unique_ptr<PageSource> source(int count)
    {
        return std::make_unique<PageSource>(QSizeF(210, 297), count, [this](Page &page, int n) {
            if (n == failing)
                throw std::runtime_error("disk I/O error");
            ++builds;
            page.addText(QRectF(20, 20, 100, 10), QString::number(lastBuilt = n), FontSpec{}, Qt::AlignLeft);
        });
    }
};

// Repaired orders 01000001.. (fee n, one warranty flag "x"), listed as the settlement window lists them.
struct RepairedOrders {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    std::unique_ptr<Query> list = std::make_unique<Query>(db);
    explicit RepairedOrders(int count, int badFlag = 0)
    {
        for (int n = 1; n <= count; ++n)
            test::insertOrder(db, {{"wxdh", QString("0100%1").arg(n, 4, 10, QChar('0'))}, {"wxzt", "2"},
                                   {"wxf", QString::number(n)}, {"sfbx", n == badFlag ? "x" : "1"}});
        list->setSql("select * from jjdb where wxzt=2 order by wxdh");
        list->Open();
    }
};

// The value after every `label` on every page, in page order.
QStringList valuesAfter(const PageSource &pages, const QString &label)
{
    QStringList values;
    for (int p = 1; p <= pages.pageCount(); ++p)
        for (int i = 0; i + 1 < pages.page(p).texts.size(); ++i)
            if (pages.page(p).texts[i].text == label)
                values << pages.page(p).texts[i + 1].text;
    return values;
}

int pdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")));
}

bool isPdf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}

// The bounding box of the dark pixels of an image.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

class TestListReport : public QObject {
    Q_OBJECT
private slots:
    void hundredRowsRunOverPagesEachWithTitleCaptionsAndNumberInRowOrder()
    {
        Customers customers(100);
        customers.rows.moveTo(37);
        QSignalSpy moves(&customers.rows, &Query::currentChanged);
        auto pages = report::buildListReport(customerList(), customers.rows);
        QCOMPARE(customers.rows.RecNo(), 37);  // the window's current record stays put
        QCOMPARE(moves.size(), 0);
        QVERIFY(pages->pageCount() >= 3);
        QStringList details;
        for (int n = 1; n <= pages->pageCount(); ++n) {
            const QStringList texts = pages->page(n).allTexts();
            QCOMPARE(texts.first(), QString("客户信息表"));
            QCOMPARE(texts.mid(1, 8), QStringList({"编 号", "客户名称", "联系电话", "传 真", "联系人", "联系人电话",
                                                   "邮编", "地  址"}));
            QCOMPARE(texts.last(), QString::number(n));
            QVERIFY2(texts.size() > 10 || n == pages->pageCount(), "only the last page may be short");
            details << texts.mid(9, texts.size() - 10);
        }
        QCOMPARE(details, customers.expectedDetailTexts);
    }

    void rowsGoDownThePageInsideTheirCells()
    {
        Customers customers(100);
        auto pages = report::buildListReport(customerList(), customers.rows);
        const Page &first = pages->page(1);
        const report::TextItem &title = first.texts[0];
        QCOMPARE(title.boxMm.center().x(), 105.0);  // centred across the printable width
        QCOMPARE(title.font.pointSize, 22.0);
        QVERIFY(title.font.bold);
        // Cells of one row share their top; the next row starts below the last one.
        for (int i = 1; i < first.texts.size(); ++i) {
            const QRectF before = first.texts[i - 1].boxMm;
            const QRectF box = first.texts[i].boxMm;
            QVERIFY2(box.top() == before.top() || box.top() >= before.bottom() - 1e-9, qPrintable(first.texts[i].text));
            QVERIFY2(first.texts[i].alignment & Qt::AlignHCenter, qPrintable(first.texts[i].text));
        }

        // The over-long address stays in its 38 mm cell: the renderer clips it there.
        bool found = false;
        for (int n = 1; n <= pages->pageCount(); ++n)
            for (const report::TextItem &t : pages->page(n).texts)
                if (t.text.startsWith("很长的地址")) {
                    found = true;
                    QVERIFY(t.boxMm.width() <= 38);
                    QCOMPARE(t.font.pointSize, 10.0);
                }
        QVERIFY(found);
    }

    void everythingStaysInsideThePrintableArea_data()
    {
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<QMarginsF>("margins");
        QTest::addColumn<double>("widthFactor");
        QTest::newRow("A4, 10 mm margins") << QSizeF(210, 297) << QMarginsF(10, 10, 10, 10) << 1.0;
        QTest::newRow("narrow table is centred") << QSizeF(210, 297) << QMarginsF(10, 10, 10, 10) << 0.5;
        QTest::newRow("too wide table is cut") << QSizeF(210, 297) << QMarginsF(10, 10, 10, 10) << 1.6;
        QTest::newRow("landscape, uneven margins") << QSizeF(297, 210) << QMarginsF(25, 15, 5, 30) << 1.3;
        QTest::newRow("small paper") << QSizeF(170, 80) << QMarginsF(5, 5, 5, 5) << 0.8;
    }
    void everythingStaysInsideThePrintableArea()
    {
        QFETCH(QSizeF, paper);
        QFETCH(QMarginsF, margins);
        QFETCH(double, widthFactor);
        Customers customers(100);
        report::ListReportSpec layout = customerList();
        layout.paperMm = paper;
        layout.marginsMm = margins;
        for (report::ListColumn &c : layout.columns)
            c.widthMm *= widthFactor;
        auto pages = report::buildListReport(layout, customers.rows);
        for (int n = 1; n <= pages->pageCount(); ++n) {
            QCOMPARE(pages->page(n).paperMm, paper);
            const QString outside = outsideArea(pages->page(n), printableArea(layout));
            QVERIFY2(outside.isEmpty(), qPrintable(QString("page %1: %2").arg(n).arg(outside)));
        }
        // Every record is still printed once, however many pages that takes.
        int bhTexts = 0;
        for (int n = 1; n <= pages->pageCount(); ++n)
            bhTexts += int(pages->page(n).allTexts().filter(QRegularExpression("^\\d{4}$")).size());
        QCOMPARE(bhTexts, 100);
    }

    void anEmptyListStillPrintsOnePageWithTitleAndHeader()
    {
        Customers customers(0);
        auto pages = report::buildListReport(customerList(), customers.rows);
        QCOMPARE(pages->pageCount(), 1);
        QCOMPARE(pages->page(1).allTexts().size(), 10);
        QCOMPARE(pages->page(1).allTexts().first(), QString("客户信息表"));
        QCOMPARE(pages->page(1).allTexts().last(), QString("1"));
        QCOMPARE(pages->page(1).rects.size(), 1);  // the header frame alone
    }

    void aFieldTheQueryLacksIsRefused()
    {
        Customers customers(3);
        report::ListReportSpec layout = customerList();
        layout.columns.append({"备注", "bz", 10});
        QVERIFY_THROWS_EXCEPTION(std::exception, report::buildListReport(layout, customers.rows));
    }
};

class TestReportEngine : public QObject {
    Q_OBJECT
private slots:
    void layoutFacesMapToInstalledChineseFaces_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("expected");  // a pattern for the family actually used
        bool kaiInstalled = false;
        for (const QString &family : QFontDatabase::families())
            kaiInstalled = kaiInstalled || family.contains("Kai", Qt::CaseInsensitive);
        QTest::newRow("宋体") << "宋体" << "^Noto Serif CJK SC$";
        QTest::newRow("黑体") << "黑体" << "^Noto Sans CJK SC$";
        QTest::newRow("楷体_GB2312") << "楷体_GB2312" << (kaiInstalled ? "Kai" : "^Noto Serif CJK SC$");
        QTest::newRow("any other face") << "Arial" << "^Noto Sans CJK SC$";
    }
    void layoutFacesMapToInstalledChineseFaces()
    {
        QFETCH(QString, face);
        QFETCH(QString, expected);
        const QFont font = report::resolveFont(FontSpec{face, 13.5, true, true});
        const QString used = QFontInfo(font).family();
        QVERIFY2(used.contains(QRegularExpression(expected, QRegularExpression::CaseInsensitiveOption)),
                 qPrintable(used));
        QCOMPARE(font.pointSizeF(), 13.5);
        QVERIFY(font.bold());
        QVERIFY(font.underline());
    }

    void pagesAreNumberedFromOneAndAnnouncedAsAdded()
    {
        PageSource source(QSizeF(170, 80));
        QSignalSpy announced(&source, &PageSource::pageAvailable);
        source.addPage();
        source.addPage().addLine(QPointF(0, 0), QPointF(10, 0));
        QCOMPARE(announced.size(), 2);
        QCOMPARE(announced[0][0].toInt(), 1);
        QCOMPARE(announced[1][0].toInt(), 2);
        QCOMPARE(source.page(2).lines.size(), 1);
        QCOMPARE(source.page(1).paperMm, QSizeF(170, 80));
        QVERIFY(source.landscape());
        QVERIFY_THROWS_EXCEPTION(std::exception, source.page(0));
        QVERIFY_THROWS_EXCEPTION(std::exception, source.page(3));
    }

    void textKeepsItsSizeOnPaperAtAnyScaleAndResolution_data()
    {
        QTest::addColumn<double>("dotsPerMm");
        QTest::addColumn<int>("deviceDpi");
        QTest::newRow("screen, 100 %") << 96 / 25.4 << 96;
        QTest::newRow("screen, zoomed in") << 10.0 << 96;
        QTest::newRow("300 dpi device") << 10.0 << 300;
        QTest::newRow("printer resolution") << 600 / 25.4 << 600;
    }
    void textKeepsItsSizeOnPaperAtAnyScaleAndResolution()
    {
        QFETCH(double, dotsPerMm);
        QFETCH(int, deviceDpi);
        Page page;
        page.paperMm = QSizeF(60, 30);
        page.addText(QRectF(5, 5, 50, 20), "国国", FontSpec{"宋体", 36}, Qt::AlignCenter);
        QImage image(QSize(int(60 * dotsPerMm), int(30 * dotsPerMm)), QImage::Format_RGB32);
        image.setDotsPerMeterX(int(deviceDpi / 0.0254));
        image.setDotsPerMeterY(int(deviceDpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            report::paintPage(painter, page, dotsPerMm);
        }
        // Two ideographs of 36 pt are close to 2 x 12.7 mm wide on paper.
        const double inkWidthMm = inkBox(image).width() / dotsPerMm;
        QVERIFY2(inkWidthMm > 20 && inkWidthMm < 26, qPrintable(QString::number(inkWidthMm)));
        QVERIFY(qAbs(inkBox(image).center().x() / dotsPerMm - 30) < 1.5);
    }

    // A text wraps at whole lines, then shrinks to the floor, then ends with "…"; its ink
    // never leaves its box.
    void aTextIsMadeToFitItsBox_data()
    {
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("smaller");
        QTest::addColumn<bool>("shortened");
        const QString address = QString("浙江省杭州市西湖区文三路电子市场") .repeated(12).left(200);
        QTest::newRow("fits") << QRectF(10, 5, 100, 7) << "一二三四五六七八九十" << 1 << false << false;
        QTest::newRow("wraps") << QRectF(10, 5, 15, 20) << "一二三四五六七八九十" << 4 << false << false;
        QTest::newRow("one line shrinks") << QRectF(10, 5, 38, 6) << "一二三四五六七八九十" << 1 << true << false;
        QTest::newRow("shrinks, then …") << QRectF(10, 5, 60, 12) << address << 4 << true << true;
        QTest::newRow("latin words stay whole") << QRectF(10, 5, 40, 20) << "Haier refrigerator BCD-470WDPG" << 2
                                                 << false << false;
    }
    void aTextIsMadeToFitItsBox()
    {
        QFETCH(QRectF, box);
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(bool, smaller);
        QFETCH(bool, shortened);
        Page page;
        page.addText(box, text, FontSpec{"宋体", 12}, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap);
        const report::TextItem &t = page.texts[0];
        QCOMPARE(t.lines.size(), lines);
        QCOMPARE(t.printedPoints < 12, smaller);
        QCOMPARE(t.shortened, shortened);
        QCOMPARE(t.lines.last().endsWith("…"), shortened);
        QVERIFY(t.linesHeightMm() <= box.height() + 1e-6 || lines == 1);
        QVERIFY(t.printedPoints >= report::kFloorPoints);
        for (const QString &line : t.lines)
            QVERIFY2(report::textWidthMm(line, FontSpec{"宋体", t.printedPoints}) <= box.width(), qPrintable(line));
        if (!shortened)
            QCOMPARE(t.lines.join(""), text);
        QImage image(1500, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        report::paintPage(painter, page, 10);
        painter.end();
        const QRectF ink = QRectF(inkBox(image)).adjusted(0, 0, 1, 1);
        QVERIFY2(QRectF(box.x() * 10, box.y() * 10, box.width() * 10, box.height() * 10).contains(ink),
                 qPrintable(QString("ink %1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    }

    void framesAndLinesLandWhereTheirMillimetresSay()
    {
        Page page;
        page.addRect(QRectF(10, 10, 20, 10), 0.5);
        page.addLine(QPointF(40, 5), QPointF(40, 25), 0.5);
        QImage image(500, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            report::paintPage(painter, page, 10);
        }
        QVERIFY(qAbs(inkBox(image).left() - 97.5) <= 1);
        QVERIFY(qAbs(inkBox(image).right() - 402) <= 1);
        QVERIFY(qGray(image.pixel(100, 150)) < 128);  // left edge of the frame
        QVERIFY(qGray(image.pixel(200, 150)) > 128);  // the frame is not filled
        QVERIFY(qGray(image.pixel(400, 60)) < 128);
    }

    void printingPlaysThePageRangeAsOftenAsCopiesAsk_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("pages");
        QTest::newRow("all once") << 1 << 3 << 1 << 3;
        QTest::newRow("from page 2") << 2 << 3 << 1 << 2;
        QTest::newRow("one page, three copies") << 2 << 2 << 3 << 3;
        QTest::newRow("all twice") << 1 << 3 << 2 << 6;
        QTest::newRow("range beyond the last page") << 2 << 9 << 1 << 2;
    }
    void printingPlaysThePageRangeAsOftenAsCopiesAsk()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(int, pages);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("out.pdf"));
        numberedPages(3)->printTo(printer, from, to, copies);
        QCOMPARE(pdfPageCount(dir.filePath("out.pdf")), pages);
    }

    void thePaperOfTheReportBecomesThePaperOfTheDevice_data()
    {
        QTest::addColumn<QSizeF>("paper");
        QTest::newRow("A4 portrait") << QSizeF(210, 297);
        QTest::newRow("receipt 170 x 80") << QSizeF(170, 80);
        QTest::newRow("order sheet 220 x 95") << QSizeF(220, 95);
    }
    void thePaperOfTheReportBecomesThePaperOfTheDevice()
    {
        QFETCH(QSizeF, paper);
        QTemporaryDir dir;
        const QString path = dir.filePath("paper.pdf");
        QVERIFY(numberedPages(1, paper)->exportPdf(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto box = QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)")
                             .match(QString::fromLatin1(file.readAll()));
        QVERIFY(box.hasMatch());
        QVERIFY(qAbs(box.captured(1).toDouble() - paper.width() * 72 / 25.4) < 1);
        QVERIFY(qAbs(box.captured(2).toDouble() - paper.height() * 72 / 25.4) < 1);
    }

    void exportToAPlaceThatCannotBeWrittenAnswersFalse()
    {
        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QVERIFY(!numberedPages(1)->exportPdf("/nonexistent-directory/out.pdf"));
    }
};

// Long printouts lay out a page only when it is drawn or printed, from the rows they were made from.
class TestStreamedReport : public QObject {
    Q_OBJECT
private slots:
    void pagesAreTheSameInWhateverOrderTheyAreBuilt()
    {
        RepairedOrders orders(60);
        const auto inOrder = repair::buildBusinessSheet(*orders.list);
        const auto backwards = repair::buildBusinessSheet(*orders.list);
        QCOMPARE(inOrder->pageCount(), 10);
        QList<QStringList> expected;
        for (int n = 1; n <= inOrder->pageCount(); ++n)
            expected << drawn(inOrder->page(n));
        for (int n = backwards->pageCount(); n >= 1; --n)
            QCOMPARE(drawn(backwards->page(n)), expected[n - 1]);
    }

    void theSheetKeepsItsRowsWhenTheListIsReopenedAndGone()
    {
        RepairedOrders orders(13, 8);
        const auto sheet = repair::buildBusinessSheet(*orders.list);
        orders.list->Close();
        orders.list->setSql("select * from jjdb where wxdh>'01000010' order by wxdh desc");
        orders.list->Open();
        QCOMPARE(valuesAfter(*sheet, "单号").first(), QString("01000001"));
        orders.list.reset();
        QCOMPARE(sheet->pageCount(), 3);
        const QStringList numbers = valuesAfter(*sheet, "单号");
        QCOMPARE(numbers.size(), 13);
        QCOMPARE(numbers.last(), QString("01000013"));
        QCOMPARE(valuesAfter(*sheet, "合计").last(), QString("13"));
        // Laid out long after 打印, a flag that is no number is printed as stored, not refused.
        QCOMPARE(valuesAfter(*sheet, "是否保修期").mid(6, 2), QStringList({"保修期外", "x"}));
    }
};

class TestPreviewWindow : public QObject {
    Q_OBJECT
private slots:
    void theWindowIsAnOnTopModelessPreviewWithItsToolbar()
    {
        QPointer<TmldyForm> form = new TmldyForm;
        const test::WindowDriver ui{form};
        QCOMPARE(form->windowTitle(), QString(" 打印预览"));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(form->windowFlags() & Qt::WindowMaximizeButtonHint);
        QVERIFY(form->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!form->isModal());
        QVERIFY(form->testAttribute(Qt::WA_DeleteOnClose));
        QStringList tools;
        auto *toolbar = form->findChild<QToolBar *>();
        for (QAction *a : toolbar->actions())
            tools << (a->isSeparator() ? "|" : qobject_cast<QToolButton *>(toolbar->widgetForAction(a))->text());
        QCOMPARE(tools, QStringList({" 全屏显示 ", "实际大小", "页宽显示", "|", "最前页", "前一页", "后一页", "最后页",
                                     "|", "打 印", "打印设置", "导出PDF", "|", "关闭窗口"}));
        QVERIFY(form->findChild<QAction *>("ToolButton2")->isSeparator());
        QCOMPARE(toolbar->actions().indexOf(form->findChild<QAction *>("ToolButton2")), 3);
        for (const char *on : {"Tbtn1", "Tbtn2", "Btn1", "Btn2", "Btn3", "Btn4", "Tbtn8", "Tbtn9", "Tbtn10", "Tbtn11"})
            QVERIFY2(ui.enabled(on), on);
        QVERIFY(!ui.enabled("Tbtn3"));
        QCOMPARE(form->findChild<QScrollArea *>()->viewport()->palette().color(QPalette::Window), QColor("#316262"));
        QVERIFY(!form->pageSource());
        QVERIFY(!form->receiptMode());
        delete form;
    }

    // The preview stays on top, so whatever is asked while it is shown must be owned by it,
    // even when the question comes from the window below it.
    void boxesAndDialogsOpenAboveAShownPreview()
    {
        QWidget below;
        below.show();
        QPointer<TmldyForm> form = showPreview(numberedPages(1));
        QApplication::setActiveWindow(&below);
        QDialog question(&below);
        for (const bool box : {true, false}) {
            bool above = false;
            test::onNextModal([&](QWidget *modal) {
                above = modal->windowHandle()->transientParent() == form->windowHandle() &&
                        modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                qobject_cast<QDialog *>(modal)->done(0);
            });
            box ? msg::info(QStringLiteral("x")) : void(execInFront(question));
            QVERIFY2(above, box ? "message box" : "dialog");
        }
        QCOMPARE(question.parentWidget(), &below);
        delete form;
    }

    void aOnePageReportDisablesEveryPageButton()
    {
        QPointer<TmldyForm> form = showPreview(numberedPages(1));
        const test::WindowDriver ui{form};
        QVERIFY(form->isVisible());
        QCOMPARE(form->pageCount(), 1);
        QCOMPARE(form->pageText(), QString("  第 1 页，总共 1 页。"));
        QCOMPARE(form->findChild<QLabel *>("StatusPanel0")->text(), QString("  第 1 页，总共 1 页。"));
        for (const char *b : {"Btn1", "Btn2", "Btn3", "Btn4"})
            QVERIFY2(!ui.enabled(b), b);
        delete form;
    }

    void pageButtonsFollowTheCurrentPage()
    {
        QPointer<TmldyForm> form = showPreview(numberedPages(3));
        const test::WindowDriver ui{form};
        QCOMPARE(form->pageText(), QString("  第 1 页，总共 3 页。"));
        QVERIFY(!ui.enabled("Btn1"));
        QVERIFY(!ui.enabled("Btn2"));
        ui.click("Btn3");
        QCOMPARE(form->currentPage(), 2);
        for (const char *b : {"Btn1", "Btn2", "Btn3", "Btn4"})
            QVERIFY2(ui.enabled(b), b);
        ui.click("Btn4");
        QCOMPARE(form->pageText(), QString("  第 3 页，总共 3 页。"));
        QVERIFY(!ui.enabled("Btn3"));
        QVERIFY(!ui.enabled("Btn4"));
        QVERIFY(ui.enabled("Btn1"));
        ui.click("Btn2");
        QCOMPARE(form->currentPage(), 2);
        ui.click("Btn1");
        QCOMPARE(form->pageText(), QString("  第 1 页，总共 3 页。"));
        delete form;
    }

    void pagesAddedAfterAttachingRaiseThePageCount()
    {
        QPointer<TmldyForm> form = showPreview(std::make_unique<PageSource>(QSizeF(210, 297)));
        const test::WindowDriver ui{form};
        PageSource *source = form->pageSource();
        source->addPage();
        QCOMPARE(form->pageText(), QString("  第 1 页，总共 1 页。"));
        source->addPage();
        QCOMPARE(form->pageCount(), 2);
        QVERIFY(ui.enabled("Btn4"));
        delete form;
    }

    void zoomCommandsSizeThePageAndDisableThemselves_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("全屏显示") << "Tbtn1";
        QTest::newRow("实际大小") << "Tbtn2";
        QTest::newRow("页宽显示") << "Tbtn3";
    }
    void zoomCommandsSizeThePageAndDisableThemselves()
    {
        QFETCH(QString, command);
        QPointer<TmldyForm> form = showPreview(numberedPages(2));
        const test::WindowDriver ui{form};
        form->resize(800, 600);
        QApplication::processEvents();
        if (command == "Tbtn3")
            form->Tbtn1Click();  // page width is off at first
        ui.click(command);
        for (const char *b : {"Tbtn1", "Tbtn2", "Tbtn3"})
            QCOMPARE(ui.enabled(b), command != b);
        auto *area = form->findChild<QScrollArea *>();
        const QSize page = area->widget()->size();
        const QSize view = area->maximumViewportSize();
        if (command == "Tbtn1") {
            QVERIFY(page.width() <= view.width() && page.height() <= view.height());
            QVERIFY(page.width() >= view.width() - 40 || page.height() >= view.height() - 40);
        } else if (command == "Tbtn3") {
            QVERIFY(page.width() <= view.width() && page.width() >= view.width() - 60);
            QVERIFY(page.height() > view.height());
        } else {
            QVERIFY(qAbs(page.width() - 210 * form->logicalDpiX() / 25.4) < 40);
        }
        delete form;
    }

    void hidingThePageNavigationHidesItsSeparatorAndButtons()
    {
        QPointer<TmldyForm> form = showPreview(numberedPages(3));
        const test::WindowDriver ui{form};
        form->resize(1000, 700);  // room for the whole toolbar, none of it folded away
        form->setPageNavigationVisible(false);
        QApplication::processEvents();
        for (const char *b : {"Btn1", "Btn2", "Btn3", "Btn4"})
            QVERIFY2(!ui.find(b)->isVisible(), b);
        QVERIFY(!form->findChild<QAction *>("ToolButton2")->isVisible());
        for (const char *b : {"Tbtn1", "Tbtn8", "Tbtn10", "Tbtn11"})
            QVERIFY2(ui.find(b)->isVisible(), b);
        delete form;
    }

    void closingDestroysTheWindowWithItsPages_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("关闭窗口") << "button";
        QTest::newRow("title-bar close") << "close";
        QTest::newRow("Esc") << "escape";
    }
    void closingDestroysTheWindowWithItsPages()
    {
        QFETCH(QString, how);
        QPointer<TmldyForm> form = showPreview(numberedPages(2));
        const test::WindowDriver ui{form};
        QPointer<PageSource> pages = form->pageSource();
        form->setReceiptMode({[] { return qint64(0); }, [] {}});
        if (how == "button")
            ui.click("Tbtn11");
        else if (how == "close")
            form->close();
        else
            QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY(form.isNull() || !form->isVisible());
        QVERIFY(form.isNull() || !form->receiptMode());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(form.isNull());
        QVERIFY(pages.isNull());
    }
};

// A preview over three numbered pages with a PDF file or no printer behind it, and a receipt
// whose print count the test controls.
class TestPreviewPrinting : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QString printed;  // where the PDF "printer" writes
    qint64 count = 0;
    int raises = 0;
    bool printedBeforeRaise = false;

    TmldyForm *preview(bool receipt)
    {
        TmldyForm *form = showPreview(numberedPages(3));
        if (receipt)
            form->setReceiptMode({[this] { return count; },
                                  [this] {
                                      ++raises;
                                      printedBeforeRaise = QFile::exists(printed);
                                  }});
        return form;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        printed = dir->filePath("printer.pdf");
        // An export remembers its folder in the user's settings; keep that out of the real ones.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir->path());
        count = 0;
        raises = 0;
        printedBeforeRaise = false;
        setPrinterChoice({PrinterChoice::Mode::PdfFile, printed});
    }
    void cleanup()
    {
        setPrinterChoice({});
        TmldyForm::saveFileDialog = {};
    }

    void withoutAPrinterPrintingStopsWithThePrinterMessage_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("receipt");
        QTest::addColumn<qint64>("printCount");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("打 印, a list") << "Tbtn8" << false << qint64(0) << QStringList{kNoPrinter};
        QTest::newRow("打 印, first receipt") << "Tbtn8" << true << qint64(0) << QStringList{kNoPrinter};
        QTest::newRow("打 印, receipt printed before")
            << "Tbtn8" << true << qint64(2) << QStringList{"当前订金收据已打印了 2次，继续打印吗？", kNoPrinter};
        QTest::newRow("打印设置") << "Tbtn9" << true << qint64(2) << QStringList{kNoPrinter};
    }
    void withoutAPrinterPrintingStopsWithThePrinterMessage()
    {
        QFETCH(QString, command);
        QFETCH(bool, receipt);
        QFETCH(qint64, printCount);
        QFETCH(QStringList, messages);
        setPrinterChoice({PrinterChoice::Mode::NoPrinter, {}});
        test::ScriptedMessages shown;
        if (messages.size() > 1)
            shown.answers = {true};  // print once more
        count = printCount;
        QPointer<TmldyForm> form = preview(receipt);
        const test::WindowDriver ui{form};
        bool dialogOpened = false;
        QTimer::singleShot(50, form, [&dialogOpened] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                dialogOpened = true;
                modal->close();
            }
        });
        ui.click(command);
        QCOMPARE(shown.texts(), messages);
        QCOMPARE(shown.shown.last().kind, MessageKind::Plain);
        QCOMPARE(shown.shown.last().caption, QString("提示"));
        QCOMPARE(raises, 0);
        QVERIFY(!dialogOpened);
        QVERIFY(form->isVisible());
        delete form;
    }

    void aListPrintsEveryPageOnce()
    {
        test::ScriptedMessages shown;
        QPointer<TmldyForm> form = preview(false);
        const test::WindowDriver ui{form};
        ui.click("Tbtn8");
        QVERIFY(isPdf(printed));
        QCOMPARE(pdfPageCount(printed), 3);
        QVERIFY(shown.shown.isEmpty());
        delete form;
    }

    void aReceiptAsksOnlyWhenPrintedBeforeAndCountsBeforePrinting_data()
    {
        QTest::addColumn<qint64>("printCount");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("prints");
        QTest::newRow("first print") << qint64(0) << true << QStringList{} << true;
        QTest::newRow("printed once, OK")
            << qint64(1) << true << QStringList{"当前订金收据已打印了 1次，继续打印吗？"} << true;
        QTest::newRow("printed twelve times, Cancel")
            << qint64(12) << false << QStringList{"当前订金收据已打印了 12次，继续打印吗？"} << false;
    }
    void aReceiptAsksOnlyWhenPrintedBeforeAndCountsBeforePrinting()
    {
        QFETCH(qint64, printCount);
        QFETCH(bool, answer);
        QFETCH(QStringList, messages);
        QFETCH(bool, prints);
        test::ScriptedMessages shown;
        if (!messages.isEmpty())
            shown.answers = {answer};
        count = printCount;
        QPointer<TmldyForm> form = preview(true);
        const test::WindowDriver ui{form};
        ui.click("Tbtn8");
        QCOMPARE(shown.texts(), messages);
        QCOMPARE(raises, prints ? 1 : 0);
        QCOMPARE(QFile::exists(printed), prints);
        QVERIFY(!printedBeforeRaise);
        delete form;
    }

    void printerSettingsChooseRangeAndCopiesForTheNextPrint()
    {
        test::ScriptedMessages shown;
        QPointer<TmldyForm> form = preview(false);
        const test::WindowDriver ui{form};
        test::onNextModal([](QWidget *dialog) {
            dialog->findChild<QRadioButton *>("printRange")->setChecked(true);
            dialog->findChild<QSpinBox *>("from")->setValue(2);
            dialog->findChild<QSpinBox *>("to")->setValue(3);
            dialog->findChild<QSpinBox *>("copies")->setValue(2);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        ui.click("Tbtn9");
        QVERIFY(!QFile::exists(printed));  // settings alone print nothing
        form->Tbtn8Click();
        QCOMPARE(pdfPageCount(printed), 4);

        // Cancel keeps what was chosen before.
        QFile::remove(printed);
        test::onNextModal([](QWidget *dialog) {
            dialog->findChild<QSpinBox *>("copies")->setValue(5);
            QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
        });
        form->Tbtn9Click();
        form->Tbtn8Click();
        QCOMPARE(pdfPageCount(printed), 4);
        QVERIFY(shown.shown.isEmpty());
        delete form;
    }

    void exportWritesEveryPageWithoutAPrinterOrAPrintCount_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("with extension") << "out.pdf" << "out.pdf";
        QTest::newRow("extension added") << "out" << "out.pdf";
        QTest::newRow("file dialog cancelled") << "" << "";
    }
    void exportWritesEveryPageWithoutAPrinterOrAPrintCount()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        setPrinterChoice({PrinterChoice::Mode::NoPrinter, {}});
        test::ScriptedMessages shown;
        count = 5;
        QString askedFilter;
        TmldyForm::saveFileDialog = [&](QWidget *, const QString &, const QString &filter) {
            askedFilter = filter;
            return chosen.isEmpty() ? QString() : dir->filePath(chosen);
        };
        QPointer<TmldyForm> form = preview(true);
        const test::WindowDriver ui{form};
        ui.click("Tbtn10");
        QCOMPARE(askedFilter, QString("PDF 文件 (*.pdf)"));
        const QStringList files = QDir(dir->path()).entryList(QDir::Files);
        QCOMPARE(files, written.isEmpty() ? QStringList() : QStringList{written});
        if (!written.isEmpty()) {
            QVERIFY(isPdf(dir->filePath(written)));
            QCOMPARE(pdfPageCount(dir->filePath(written)), 3);
        }
        QVERIFY(shown.shown.isEmpty());
        QCOMPARE(raises, 0);
        delete form;
    }
    void aStreamedReportIsPagedAndExportedAPageAtATime()
    {
        CountedPages counted;
        counted.failing = 150;
        auto source = counted.source(200);
        const PageSource *pages = source.get();
        QPointer<TmldyForm> form = showPreview(std::move(source));
        const test::WindowDriver ui{form};
        QCOMPARE(form->pageText(), QString("  第 1 页，总共 200 页。"));
        QVERIFY(counted.builds <= 1);
        ui.click("Btn4");
        form->grab();
        QCOMPARE(counted.lastBuilt, 200);
        QVERIFY(counted.builds <= 2);
        // A page whose rows cannot be read says so on the screen instead of ending the program.
        while (form->currentPage() > counted.failing)
            form->Btn2Click();
        form->grab();

        counted.failing = 0;
        TmldyForm::saveFileDialog = [this](QWidget *, const QString &, const QString &) { return dir->filePath("out.pdf"); };
        ui.click("Tbtn10");
        QCOMPARE(pdfPageCount(dir->filePath("out.pdf")), 200);
        QCOMPARE(pages->pagesHeld(), PageSource::kKeptPages);
        delete form;
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setFont(QFont("Noto Sans CJK SC"));
    int status = 0;
    {
        TestListReport t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestReportEngine t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestStreamedReport t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestPreviewWindow t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestPreviewPrinting t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "test_print.moc"
