// Work-window base: open flag, background colour, focus highlight.
#include "common/WorkWindow.h"

#include "common/ButtonKeys.h"
#include "common/FocusHighlight.h"
#include "common/Handlers.h"

#include <QCloseEvent>

namespace korv {

const QColor WorkWindow::kBackground(0xDA, 0xE4, 0xF6);

WorkWindow::WorkWindow(AppContext &ctx, WorkWindowKind kind, QWidget *parent)
    : QWidget(parent), ctx_(ctx), kind_(kind), highlight_(new FocusHighlight(this))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kBackground);
    setPalette(p);
    // Work windows are also built on their own (tests, tools), without the program's start-up.
    installButtonKeys();
}

WorkWindow::~WorkWindow()
{
    stopHandlers(this);
    ctx_.setOpenFlag(kind_, false);
}

void WorkWindow::showEvent(QShowEvent *event)
{
    ctx_.setOpenFlag(kind_, true);
    stopHandlers(this, false);
    QWidget::showEvent(event);
    if (shownOnce_ || event->spontaneous())
        return;
    shownOnce_ = true;
    runHandler([this] { FormShow(); });
}

// Closing hides the window, which moves the focus out of its boxes; a window that is closed is
// going away, so nothing of it reacts to that.
void WorkWindow::closeEvent(QCloseEvent *event)
{
    if (!mayClose()) {
        event->ignore();
        return;
    }
    ctx_.setOpenFlag(kind_, false);
    QWidget::closeEvent(event);
    if (event->isAccepted())
        stopHandlers(this);
}

void WorkWindow::highlightBoxes(const QList<QWidget *> &boxes)
{
    highlight_->addBoxes(boxes);
}

}  // namespace korv
