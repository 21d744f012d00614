// Printouts through a real CUPS queue with a PDF back-end come out as their PDF export: the same
// paper, the same way up, a text in the same place. tools/test.sh sets up the queue when it can.
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/mldy.h"
#include "repair/BusinessSheet.h"
#include "repair/Receipt.h"
#include "repair/Urep.h"
#include "support/Orders.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace korv;

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The first page as it is shown (its turn applied) and the centre of `word` on it, in points.
QList<double> readBack(const QString &pdf, const QString &word)
{
    const QString info = run("pdfinfo", {pdf});
    const auto size = QRegularExpression("Page size: *([\\d.]+) x ([\\d.]+)").match(info);
    const bool turned = QRegularExpression("Page rot: *(90|270)\\b").match(info).hasMatch();
    QList<double> read{size.captured(turned ? 2 : 1).toDouble(), size.captured(turned ? 1 : 2).toDouble()};
    const QString boxed = QString("xMin=\"(.+)\" yMin=\"(.+)\" xMax=\"(.+)\" yMax=\"(.+)\">%1<");
    const auto box = QRegularExpression(boxed.arg(QRegularExpression::escape(word)))
                         .match(run("pdftotext", {"-bbox", pdf, "-"}));
    if (box.hasMatch())
        read << (box.captured(1).toDouble() + box.captured(3).toDouble()) / 2
             << (box.captured(2).toDouble() + box.captured(4).toDouble()) / 2;
    return read;
}

}  // namespace

class TestCupsPrint : public QObject {
    Q_OBJECT
    QString queue = qEnvironmentVariable("KORV_CUPS_QUEUE");
    QDir output{qEnvironmentVariable("KORV_CUPS_OUTPUT")};
    QTemporaryDir exported;

private slots:
    void initTestCase()
    {
        if (queue.isEmpty() || output.path() == ".")
            QSKIP("No CUPS queue with a PDF back-end: tools/test.sh (tools/cups-pdf-queue.sh) sets "
                  "KORV_CUPS_QUEUE and KORV_CUPS_OUTPUT where it can start cupsd.");
        if (!QPrinterInfo::availablePrinterNames().contains(queue))
            QSKIP(qPrintable("CUPS offers no queue " + queue + ": no CUPS daemon runs, or the queue is gone."));
        for (const char *reader : {"pdfinfo", "pdftotext"})
            if (QStandardPaths::findExecutable(reader).isEmpty())
                QSKIP("pdfinfo and pdftotext (poppler-utils) are not installed.");
        qputenv("LPDEST", queue.toLocal8Bit());  // 打 印 prints on the default printer
    }

    void aPrintoutComesOutAsItsPdf_data()
    {
        QTest::addColumn<QString>("word");  // one the queue's PDF keeps readable
        QTest::newRow("deposit receipt") << "李四交来的维修冰箱的订金：";
        QTest::newRow("repair order sheet") << "李四";
        QTest::newRow("business sheet") << "01000007";
        QTest::newRow("list printout") << "01000007";
    }
    void aPrintoutComesOutAsItsPdf()
    {
        QFETCH(QString, word);
        const QString kind = QTest::currentDataTag();
        test::TempProgramDir dir;
        Database db(dir.dbPath());
        test::insertOrder(db, {{"wxdh", "01000007"}, {"xm", "李四"}, {"cpmc", "冰箱"}, {"wxf", "35"}});
        Query orders(db);
        orders.setSql("select * from jjdb");
        orders.Open();
        report::ListReportSpec list;
        list.columns = {{"单号", "wxdh", 30}};
        std::unique_ptr<report::PageSource> pages =
            kind == "repair order sheet" ? repair::buildRepairSheet(orders)
            : kind == "business sheet"   ? repair::buildBusinessSheet(orders)
            : kind == "list printout"    ? report::buildListReport(list, orders)
                                         : repair::buildReceipt("01000007", "", "李四", "冰箱", "50", QDate());
        QVERIFY(pages->exportPdf(exported.filePath("export.pdf")));
        const QStringList before = output.entryList({"*.pdf"}, QDir::Files);
        test::ScriptedMessages shown;
        std::unique_ptr<TmldyForm>(showPreview(std::move(pages)))->Tbtn8Click();

        // The queue's file is the one not there before, once the queue has no job left.
        QStringList made;
        for (QDeadlineTimer deadline(60000); made.isEmpty() && !deadline.hasExpired(); QTest::qWait(200)) {
            if (run("lpstat", {"-o", queue}).trimmed().isEmpty())
                made = output.entryList({"*.pdf"}, QDir::Files);
            made.removeIf([&before](const QString &file) { return before.contains(file); });
        }
        QVERIFY2(!made.isEmpty(), "the queue made no file");
        const QList<double> wanted = readBack(exported.filePath("export.pdf"), word);
        const QList<double> came = readBack(output.filePath(made.first()), word);
        output.remove(made.first());
        const auto near = [](double a, double b) { return qAbs(a - b) <= 3; };
        QVERIFY2(wanted.size() == 4 && std::equal(came.begin(), came.end(), wanted.begin(), wanted.end(), near),
                 qPrintable("page and text: came out " + QDebug::toString(came) + ", the PDF has "
                            + QDebug::toString(wanted)));
    }
};

QTEST_MAIN(TestCupsPrint)
#include "test_cups_print.moc"
