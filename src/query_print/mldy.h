// 打印预览: the one preview window every printout goes through.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QScrollArea;
class QToolButton;
class QPrinter;

namespace korv {

namespace report {
class PageSource;
}

// Modeless, on top, centred; shows the pages of one prepared report at three zooms, pages
// through them, prints them and exports them to PDF. Closing destroys it with its pages.
class TmldyForm : public QDialog {
    Q_OBJECT
public:
    // The deposit receipt's print count: read before printing, raised and stored just before
    // the pages go to the printer.
    struct ReceiptHooks {
        std::function<qint64()> printCount;
        std::function<void()> raiseCount;
    };

    // Asks where an export goes; empty means the real file dialog. Tests answer it themselves
    // (the proposed file is the preview's proposedPdfPath()).
    using SaveFileDialog = std::function<QString(QWidget *parent, const QString &caption, const QString &filter)>;
    static SaveFileDialog saveFileDialog;

    explicit TmldyForm(QWidget *parent = nullptr);
    ~TmldyForm() override;

    // Attaches the report's pages; the window takes them over.
    void setPageSource(std::unique_ptr<report::PageSource> source);
    report::PageSource *pageSource() const { return source_.get(); }
    void setPageNavigationVisible(bool visible);
    void setReceiptMode(ReceiptHooks hooks);
    bool receiptMode() const;
    // What the printout is called in a file name: the report and its subject ("收据_01000003").
    void setExportName(const QString &name) { exportName_ = name; }
    QString exportName() const { return exportName_; }
    // Where 导出PDF proposes to write: the folder chosen last (else the user's documents) and
    // the export name.
    QString proposedPdfPath() const;

    int currentPage() const { return currentPage_; }
    int pageCount() const { return pageCount_; }
    QString pageText() const;

    void QRPreview1PageAvailable(int number);
    void Tbtn1Click();
    void Tbtn2Click();
    void Tbtn3Click();
    void Btn1Click();
    void Btn2Click();
    void Btn3Click();
    void Btn4Click();
    void Tbtn8Click();
    void Tbtn9Click();
    void Tbtn10Click();  // 导出PDF
    void Tbtn11Click();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Esc closes the window like 关闭窗口, rather than leaving it hidden.
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildToolbar();
    QWidget *buildPageView();
    QWidget *buildStatusBar();
    void ToolBtnState();
    bool PrintStart();
    void showPage(int number);
    void setZoom(int zoom);
    double dotsPerMm() const;
    void refreshView();
    struct Private;
    std::unique_ptr<Private> d_;
    std::unique_ptr<report::PageSource> source_;
    int currentPage_ = 1;
    int pageCount_ = 0;
    QString exportName_;
};

// Creates a preview, shows it and hands it the pages: what every print command does.
// `exportName` names the printout's PDF (see setExportName).
TmldyForm *showPreview(std::unique_ptr<report::PageSource> pages, QWidget *parent = nullptr,
                       const QString &exportName = QString());

// A printout's export name: the report, then "_" and its subject when it has one ("接机单",
// "01000003" -> "接机单_01000003"); characters no file name may hold become "_".
QString pdfExportName(const QString &report, const QString &subject = QString());

}  // namespace korv
