// Printouts on a real CUPS queue with a PDF back-end: what comes out has the layout's paper, the
// right way up, and the printout's text. tools/test.sh sets up such a queue when it can.
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/BusinessSheet.h"
#include "repair/Receipt.h"
#include "repair/Urep.h"
#include "support/Orders.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace korv;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The one order every printout here shows, and lists to print it from.
struct Shop {
    test::TempProgramDir dir;
    Database db{dir.dbPath()};
    Query orders{db};
    Query customers{db};
    Shop()
    {
        test::insertOrder(db,
                          {{"wxdh", "01000007"}, {"wxzt", "2"}, {"xm", "李四"}, {"cpmc", "冰箱"}, {"wxf", "35"}});
        db.exec("insert into khjbxx (bh, khmc) values ('0001', '客户0001')");
        orders.setSql("select * from jjdb order by wxdh");
        orders.Open();
        customers.setSql("select * from khjbxx order by bh");
        customers.Open();
    }
    std::unique_ptr<report::PageSource> printout(const QString &kind)
    {
        if (kind == "receipt")
            return repair::buildReceipt("01000007", "王五", "李四", "冰箱", "50.00", QDate(2026, 3, 5));
        if (kind == "repair sheet")
            return repair::buildRepairSheet(orders);
        if (kind == "business sheet")
            return repair::buildBusinessSheet(orders);
        report::ListReportSpec list;
        list.title = "客户信息表";
        list.columns = {{"编 号", "bh", 16}, {"客户名称", "khmc", 34}};
        return report::buildListReport(list, customers);
    }
};

// How a PDF reads back: its first page as it is shown (its turn applied) and where `word` stands.
struct ReadBack {
    QSizeF pagePts;
    QString turned;
    QRectF wordPts;
    QString describe() const
    {
        const QString page = QString("%1 x %2 pt (turned %3)").arg(pagePts.width()).arg(pagePts.height()).arg(turned);
        if (wordPts.isNull())
            return page + ", the word not found";
        const QPointF at = wordPts.center();
        return page + QString(", the word at %1,%2").arg(at.x(), 0, 'f', 1).arg(at.y(), 0, 'f', 1);
    }
};

ReadBack readBack(const QString &pdf, const QString &word)
{
    ReadBack read;
    const QString info = run("pdfinfo", {pdf});
    const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
    read.turned = QRegularExpression("Page rot:\\s+(\\d+)").match(info).captured(1);
    read.pagePts = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    if (read.turned == "90" || read.turned == "270")
        read.pagePts.transpose();
    // Word boxes are given on the page as it is shown.
    const QString number = "\"([\\d.]+)\"";
    const QRegularExpression box(QString("<word xMin=%1 yMin=%1 xMax=%1 yMax=%1>%2</word>")
                                     .arg(number, QRegularExpression::escape(word)));
    const auto found = box.match(run("pdftotext", {"-bbox", pdf, "-"}));
    if (found.hasMatch())
        read.wordPts = QRectF(QPointF(found.captured(1).toDouble(), found.captured(2).toDouble()),
                              QPointF(found.captured(3).toDouble(), found.captured(4).toDouble()));
    return read;
}

bool near(const QPointF &a, const QPointF &b, double tolerance)
{
    return qAbs(a.x() - b.x()) < tolerance && qAbs(a.y() - b.y()) < tolerance;
}

bool near(const QSizeF &a, const QSizeF &b, double tolerance)
{
    return near(QPointF(a.width(), a.height()), QPointF(b.width(), b.height()), tolerance);
}

}  // namespace

class TestCupsPrint : public QObject {
    Q_OBJECT
    QString queue;
    QDir output;
    QTemporaryDir exported;

    // The file the queue made of the job just sent to it, once the job is done: the first one
    // not among `before`.
    QString printedFile(const QStringList &before)
    {
        const QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired()) {
            QStringList files = output.entryList({"*.pdf"}, QDir::Files);
            files.removeIf([&before](const QString &f) { return before.contains(f); });
            if (!files.isEmpty() && run("lpstat", {"-o", queue}).trimmed().isEmpty())
                return output.filePath(files.first());
            QTest::qWait(200);
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        queue = qEnvironmentVariable("KORV_CUPS_QUEUE");
        output.setPath(qEnvironmentVariable("KORV_CUPS_OUTPUT"));
        if (queue.isEmpty() || output.path() == ".")
            QSKIP("No CUPS queue with a PDF back-end: KORV_CUPS_QUEUE and KORV_CUPS_OUTPUT are set by tools/test.sh "
                  "when it can start cupsd (tools/cups-pdf-queue.sh).");
        if (!QPrinterInfo::availablePrinterNames().contains(queue))
            QSKIP(qPrintable("CUPS offers no queue " + queue + ": no CUPS daemon runs, or the queue is gone."));
        const auto missing = [](const char *program) { return QStandardPaths::findExecutable(program).isEmpty(); };
        if (missing("pdfinfo") || missing("pdftotext"))
            QSKIP("pdfinfo and pdftotext (poppler-utils) are not installed.");
        // 打 印 prints on the default printer; the queue stands in for it.
        qputenv("LPDEST", queue.toLocal8Bit());
    }

    void aPrintoutComesOutAsItsPdf_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QSizeF>("paperMm");
        QTest::addColumn<QString>("word");  // one the queue's PDF keeps readable
        QTest::newRow("deposit receipt") << "receipt" << QSizeF(170, 80) << "李四交来的维修冰箱的订金：";
        QTest::newRow("repair order sheet") << "repair sheet" << QSizeF(220, 95) << "李四";
        QTest::newRow("business sheet") << "business sheet" << QSizeF(210, 297) << "01000007";
        QTest::newRow("list printout") << "list" << QSizeF(210, 297) << "0001";
    }
    void aPrintoutComesOutAsItsPdf()
    {
        QFETCH(QString, kind);
        QFETCH(QSizeF, paperMm);
        QFETCH(QString, word);
        Shop shop;
        auto pages = shop.printout(kind);
        const QString pdf = exported.filePath(kind + ".pdf");
        QVERIFY(pages->exportPdf(pdf));
        const ReadBack wanted = readBack(pdf, word);
        QVERIFY2(near(wanted.pagePts, paperMm * 72 / 25.4, 1) && !wanted.wordPts.isNull(),
                 qPrintable("the PDF is " + wanted.describe()));

        const QStringList before = output.entryList({"*.pdf"}, QDir::Files);
        test::ScriptedMessages shown;
        TmldyForm *form = showPreview(std::move(pages));
        form->Tbtn8Click();
        delete form;
        QVERIFY(shown.shown.isEmpty());
        const QString printed = printedFile(before);
        QVERIFY2(!printed.isEmpty(), "the queue gave no file");
        const ReadBack came = readBack(printed, word);
        QFile::remove(printed);
        QVERIFY2(near(came.pagePts, wanted.pagePts, 2) && near(came.wordPts.center(), wanted.wordPts.center(), 3),
                 qPrintable("came out " + came.describe() + "; the PDF is " + wanted.describe()));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setFont(QFont("Noto Sans CJK SC"));
    return test::runTestClass<TestCupsPrint>(argc, argv);
}

#include "test_cups_print.moc"
