// 打印预览: the one preview window every printout goes through.
#include "query_print/mldy.h"

#include "common/ButtonKeys.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/Placement.h"
#include "common/Printers.h"
#include "query_print/Report.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>
#include <exception>
#include <optional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace korv {

TmldyForm::SaveFileDialog TmldyForm::saveFileDialog;

namespace {

// Dark room around the paper, so the page edge stands out.
const QColor kViewBackground(0x31, 0x62, 0x62);
constexpr int kPaperInset = 12;  // pixels between the paper and the view's edge
constexpr int kShadow = 4;

// The paper of the current page, drawn at the preview's zoom.
class PageView : public QWidget {
public:
    using QWidget::QWidget;

    void display(const report::PageSource *source, int number, double dotsPerMm)
    {
        source_ = source;
        number_ = number;
        dotsPerMm_ = dotsPerMm;
        const QSizeF paper = source ? source->paperMm() : QSizeF(210, 297);
        resize(int(std::ceil(paper.width() * dotsPerMm)) + 2 * kPaperInset + kShadow,
               int(std::ceil(paper.height() * dotsPerMm)) + 2 * kPaperInset + kShadow);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!source_)
            return;
        QPainter painter(this);
        const QSizeF paper = source_->paperMm() * dotsPerMm_;
        const QRectF sheet(kPaperInset, kPaperInset, paper.width(), paper.height());
        painter.fillRect(sheet.translated(kShadow, kShadow), QColor(0, 0, 0, 90));
        painter.fillRect(sheet, Qt::white);
        if (number_ < 1 || number_ > source_->pageCount())
            return;
        painter.translate(sheet.topLeft());
        painter.setClipRect(QRectF(QPointF(0, 0), paper));
        // A page is laid out here from the list's rows; an error from reading them must not
        // escape a paint event, which would end the program. Printing the page reports it.
        try {
            report::paintPage(painter, source_->page(number_), dotsPerMm_);
        } catch (const std::exception &e) {
            painter.drawText(QRectF(QPointF(0, 0), paper), Qt::AlignCenter | Qt::TextWordWrap,
                             QStringLiteral("本页不能显示：") + QString::fromUtf8(e.what()));
        }
    }

private:
    const report::PageSource *source_ = nullptr;
    int number_ = 1;
    double dotsPerMm_ = 1;
};

QString askSaveFileName(TmldyForm *parent, const QString &caption, const QString &filter)
{
    if (TmldyForm::saveFileDialog)
        return TmldyForm::saveFileDialog(parent, caption, filter);
    return QFileDialog::getSaveFileName(parent, caption, parent->proposedPdfPath(), filter);
}

// The folder of the last export belongs to the user, not to the shop's program directory.
const char kPdfFolderKey[] = "preview/pdfFolder";

QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("korv"), QStringLiteral("korv"));
}

QString pdfFolder()
{
    const QString kept = userSettings().value(QLatin1String(kPdfFolderKey)).toString();
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return kept;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

enum class Zoom { WholePage, ActualSize, PageWidth };

}  // namespace

struct TmldyForm::Private {
    QToolBar *toolbar = nullptr;
    QToolButton *Tbtn1 = nullptr;
    QToolButton *Tbtn2 = nullptr;
    QToolButton *Tbtn3 = nullptr;
    QAction *ToolButton2 = nullptr;
    QList<QAction *> pageButtons;  // the toolbar slots of Btn1..Btn4
    QScrollArea *scrollArea = nullptr;
    PageView *view = nullptr;
    QLabel *panels[2] = {nullptr, nullptr};
    Zoom zoom = Zoom::ActualSize;
    ReceiptHooks receipt;

    // What 打印设置 chose, kept for the next 打 印; fromPage 0 means all pages. The printer is
    // kept whole so that its destination (a printer, or a file) stays chosen too.
    std::unique_ptr<QPrinter> chosenPrinter;
    int copies = 1;
    int fromPage = 0;
    int toPage = 0;
    std::optional<QPageLayout::Orientation> orientation;
};

TmldyForm::TmldyForm(QWidget *parent) : QDialog(parent), d_(std::make_unique<Private>())
{
    setObjectName(QStringLiteral("TmldyForm"));
    setWindowTitle(QStringLiteral(" 打印预览"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    // Its commands are tool buttons, which Qt's dialogs do not press with Enter by themselves.
    installButtonKeys();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolbar());
    layout->addWidget(buildPageView(), 1);
    layout->addWidget(buildStatusBar());

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize area = screen->availableGeometry().size();
        resize(std::min(960, area.width() * 9 / 10), std::min(720, area.height() * 9 / 10));
    }
    centreOnDesktop(this);
    refreshView();
}

QWidget *TmldyForm::buildToolbar()
{
    d_->toolbar = new QToolBar(this);
    d_->toolbar->setObjectName(QStringLiteral("ToolBar1"));
    d_->toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const char *name, const QString &caption, void (TmldyForm::*handler)()) {
        auto *b = new QToolButton(d_->toolbar);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setAutoRaise(true);
        connectHandler(b, &QToolButton::clicked, this, handler);
        return std::pair(b, d_->toolbar->addWidget(b));
    };
    d_->Tbtn1 = button("Tbtn1", QStringLiteral(" 全屏显示 "), &TmldyForm::Tbtn1Click).first;
    d_->Tbtn2 = button("Tbtn2", QStringLiteral("实际大小"), &TmldyForm::Tbtn2Click).first;
    d_->Tbtn3 = button("Tbtn3", QStringLiteral("页宽显示"), &TmldyForm::Tbtn3Click).first;
    d_->Tbtn3->setEnabled(false);
    d_->ToolButton2 = d_->toolbar->addSeparator();
    d_->ToolButton2->setObjectName(QStringLiteral("ToolButton2"));
    d_->pageButtons << button("Btn1", QStringLiteral("最前页"), &TmldyForm::Btn1Click).second
                    << button("Btn2", QStringLiteral("前一页"), &TmldyForm::Btn2Click).second
                    << button("Btn3", QStringLiteral("后一页"), &TmldyForm::Btn3Click).second
                    << button("Btn4", QStringLiteral("最后页"), &TmldyForm::Btn4Click).second;
    d_->toolbar->addSeparator();
    button("Tbtn8", QStringLiteral("打 印"), &TmldyForm::Tbtn8Click);
    button("Tbtn9", QStringLiteral("打印设置"), &TmldyForm::Tbtn9Click);
    button("Tbtn10", QStringLiteral("导出PDF"), &TmldyForm::Tbtn10Click);
    d_->toolbar->addSeparator();
    button("Tbtn11", QStringLiteral("关闭窗口"), &TmldyForm::Tbtn11Click);
    return d_->toolbar;
}

QWidget *TmldyForm::buildPageView()
{
    d_->scrollArea = new QScrollArea(this);
    d_->scrollArea->setObjectName(QStringLiteral("QRPreview1"));
    d_->scrollArea->setAlignment(Qt::AlignCenter);
    d_->scrollArea->setWidgetResizable(false);
    QPalette dark = d_->scrollArea->palette();
    dark.setColor(QPalette::Window, kViewBackground);
    d_->scrollArea->viewport()->setPalette(dark);
    d_->scrollArea->viewport()->setAutoFillBackground(true);
    // A theme style sheet on the owner would repaint the view in its own colour.
    d_->scrollArea->viewport()->setStyleSheet(
        QStringLiteral("QWidget#qt_scrollarea_viewport { background-color: %1; }").arg(kViewBackground.name()));
    d_->view = new PageView;
    d_->scrollArea->setWidget(d_->view);
    // The scroll area makes its widget fill its background; the view shows the dark area instead.
    d_->view->setAutoFillBackground(false);
    // Whole page and page width follow the view's size.
    d_->scrollArea->installEventFilter(this);
    return d_->scrollArea;
}

QWidget *TmldyForm::buildStatusBar()
{
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        d_->panels[i] = new QLabel(status);
        d_->panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        d_->panels[i]->setFrameShape(QFrame::StyledPanel);
        d_->panels[i]->setFrameShadow(QFrame::Sunken);
        status->addWidget(d_->panels[i], i == 0 ? 0 : 1);
    }
    d_->panels[0]->setMinimumWidth(220);
    return status;
}

TmldyForm::~TmldyForm()
{
    source_.reset();
#ifdef __GLIBC__
    // The pages and the rows they were read from leave many small blocks behind; hand the free
    // ones back to the system, so that the shop's computer gets its memory back at once.
    malloc_trim(0);
#endif
}

void TmldyForm::setPageSource(std::unique_ptr<report::PageSource> source)
{
    source_ = std::move(source);
    currentPage_ = 1;
    pageCount_ = 0;
    if (source_) {
        connect(source_.get(), &report::PageSource::pageAvailable, this, &TmldyForm::QRPreview1PageAvailable);
        // The pages the source has already are counted at once, without building any.
        if (source_->pageCount() > 0)
            QRPreview1PageAvailable(source_->pageCount());
    }
    refreshView();
}

void TmldyForm::setPageNavigationVisible(bool visible)
{
    d_->ToolButton2->setVisible(visible);
    // The toolbar hides a widget only at its next layout; hide it now so it is gone at once.
    for (QAction *a : d_->pageButtons) {
        a->setVisible(visible);
        d_->toolbar->widgetForAction(a)->setVisible(visible);
    }
}

void TmldyForm::setReceiptMode(ReceiptHooks hooks)
{
    d_->receipt = std::move(hooks);
}

bool TmldyForm::receiptMode() const
{
    return bool(d_->receipt.raiseCount);
}

QString TmldyForm::pageText() const
{
    return QStringLiteral("  第 %1 页，总共 %2 页。").arg(currentPage_).arg(pageCount_);
}

void TmldyForm::QRPreview1PageAvailable(int number)
{
    pageCount_ = std::max(pageCount_, number);
    ToolBtnState();
    if (number == currentPage_)
        refreshView();
}

void TmldyForm::Tbtn1Click()
{
    setZoom(int(Zoom::WholePage));
}

void TmldyForm::Tbtn2Click()
{
    setZoom(int(Zoom::ActualSize));
}

void TmldyForm::Tbtn3Click()
{
    setZoom(int(Zoom::PageWidth));
}

void TmldyForm::Btn1Click()
{
    showPage(1);
}

void TmldyForm::Btn2Click()
{
    showPage(currentPage_ - 1);
}

void TmldyForm::Btn3Click()
{
    showPage(currentPage_ + 1);
}

void TmldyForm::Btn4Click()
{
    showPage(pageCount_);
}

void TmldyForm::Tbtn8Click()
{
    if (receiptMode()) {
        const qint64 count = d_->receipt.printCount ? d_->receipt.printCount() : 0;
        if (count > 0 &&
            !msg::confirm(QStringLiteral("当前订金收据已打印了 ") + QString::number(count) + QStringLiteral("次，继续打印吗？")))
            return;
    }
    if (!PrintStart())
        return;
    if (receiptMode())
        d_->receipt.raiseCount();
    if (!source_ || source_->pageCount() == 0)
        return;
    std::unique_ptr<QPrinter> fresh;
    QPrinter *printer = d_->chosenPrinter.get();
    if (!printer) {
        fresh = createPrinter();
        printer = fresh.get();
    }
    if (!printer)
        return;
    const int from = d_->fromPage > 0 ? d_->fromPage : 1;
    const int to = d_->fromPage > 0 ? d_->toPage : source_->pageCount();
    source_->printTo(*printer, from, to, d_->copies, d_->orientation.value_or(source_->orientation()));
}

void TmldyForm::Tbtn9Click()
{
    if (!PrintStart())
        return;
    std::unique_ptr<QPrinter> printer = createPrinter();
    if (!printer)
        return;
    if (const QPrinter *kept = d_->chosenPrinter.get()) {
        printer->setOutputFormat(kept->outputFormat());
        if (kept->outputFormat() == QPrinter::NativeFormat)
            printer->setPrinterName(kept->printerName());
        printer->setOutputFileName(kept->outputFileName());
    }
    printer->setCopyCount(d_->copies);
    printer->setPageOrientation(d_->orientation.value_or(source_ ? source_->orientation() : QPageLayout::Portrait));
    // The dialog works on a printer of its own, so that Cancel leaves the kept choices alone.
    QPrintDialog dialog(printer.get(), this);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, std::max(1, pageCount_));
    // Settings are only kept here, nothing is printed, so the dialog's button must not say 打印.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("确定"));
    if (d_->fromPage > 0) {
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
        dialog.setFromTo(d_->fromPage, d_->toPage);
    }
    if (dialog.exec() != QDialog::Accepted)
        return;
    d_->copies = std::max(1, printer->copyCount());
    d_->orientation = printer->pageLayout().orientation();
    const bool range = dialog.printRange() == QAbstractPrintDialog::PageRange && printer->fromPage() > 0;
    d_->fromPage = range ? printer->fromPage() : 0;
    d_->toPage = range ? printer->toPage() : 0;
    directToChosenOutput(*printer);
    d_->chosenPrinter = std::move(printer);
}

void TmldyForm::Tbtn10Click()
{
    if (!source_ || source_->pageCount() == 0)
        return;
    QString path = askSaveFileName(this, QStringLiteral("导出PDF"), QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");
    if (!source_->exportPdf(path)) {
        msg::info(QStringLiteral(" 不能写入文件 ") + QDir::toNativeSeparators(path) + QStringLiteral("。"));
        return;
    }
    userSettings().setValue(QLatin1String(kPdfFolderKey), QFileInfo(path).absolutePath());
}

QString TmldyForm::proposedPdfPath() const
{
    const QString name = exportName_.isEmpty() ? QStringLiteral("报表") : exportName_;
    return QDir(pdfFolder()).filePath(name + QStringLiteral(".pdf"));
}

void TmldyForm::Tbtn11Click()
{
    close();
}

void TmldyForm::closeEvent(QCloseEvent *event)
{
    // QDialog's own closeEvent would only hide the window through reject(); it must go.
    d_->receipt = {};
    event->accept();
}

void TmldyForm::reject()
{
    close();
}

bool TmldyForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d_->scrollArea && event->type() == QEvent::Resize && d_->zoom != Zoom::ActualSize)
        refreshView();
    return QDialog::eventFilter(watched, event);
}

void TmldyForm::ToolBtnState()
{
    const bool atFirst = currentPage_ == 1;
    const bool atLast = currentPage_ == pageCount_;
    findChild<QToolButton *>(QStringLiteral("Btn1"))->setEnabled(!atFirst);
    findChild<QToolButton *>(QStringLiteral("Btn2"))->setEnabled(!atFirst);
    findChild<QToolButton *>(QStringLiteral("Btn3"))->setEnabled(!atLast);
    findChild<QToolButton *>(QStringLiteral("Btn4"))->setEnabled(!atLast);
    d_->panels[0]->setText(pageText());
}

bool TmldyForm::PrintStart()
{
    // A printer whose settings cannot be read the first time is asked once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (printerAvailable() && createPrinter())
            return true;
    }
    msg::plain(QStringLiteral(" 没有安装打印机或打印机出现异常。"));
    return false;
}

void TmldyForm::showPage(int number)
{
    if (number < 1 || number > pageCount_)
        return;
    currentPage_ = number;
    ToolBtnState();
    refreshView();
}

void TmldyForm::setZoom(int zoom)
{
    d_->zoom = Zoom(zoom);
    d_->Tbtn1->setEnabled(d_->zoom != Zoom::WholePage);
    d_->Tbtn2->setEnabled(d_->zoom != Zoom::ActualSize);
    d_->Tbtn3->setEnabled(d_->zoom != Zoom::PageWidth);
    refreshView();
}

double TmldyForm::dotsPerMm() const
{
    const double actual = logicalDpiX() / 25.4;
    if (d_->zoom == Zoom::ActualSize)
        return actual;
    const QSizeF paper = source_ ? source_->paperMm() : QSizeF(210, 297);
    const int frame = 2 * d_->scrollArea->frameWidth();
    const double room = 2 * kPaperInset + kShadow + 1;  // one pixel for rounding the paper up
    const double width = d_->scrollArea->width() - frame - room;
    const double height = d_->scrollArea->height() - frame - room;
    const double byWidth = width / paper.width();
    if (d_->zoom == Zoom::WholePage)
        return std::max(0.1, std::min(byWidth, height / paper.height()));
    // The page is taller than the view at page width, so leave room for the vertical bar.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, d_->scrollArea);
    const double withBar = (width - bar) / paper.width();
    return std::max(0.1, paper.height() * byWidth > height ? withBar : byWidth);
}

void TmldyForm::refreshView()
{
    d_->view->display(source_.get(), currentPage_, dotsPerMm());
}

TmldyForm *showPreview(std::unique_ptr<report::PageSource> pages, QWidget *parent, const QString &exportName)
{
    auto *form = new TmldyForm(parent);
    form->setExportName(exportName);
    form->show();
    form->setPageSource(std::move(pages));
    return form;
}

QString pdfExportName(const QString &report, const QString &subject)
{
    QString name = subject.trimmed().isEmpty() ? report : report + QLatin1Char('_') + subject.trimmed();
    for (QChar &c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return name;
}

}  // namespace korv
