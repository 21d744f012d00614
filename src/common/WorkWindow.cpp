// Work-window base: open flag, background colour, focus highlight.
#include "common/WorkWindow.h"

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
}

WorkWindow::~WorkWindow()
{
    ctx_.setOpenFlag(kind_, false);
}

void WorkWindow::showEvent(QShowEvent *event)
{
    ctx_.setOpenFlag(kind_, true);
    QWidget::showEvent(event);
    if (shownOnce_ || event->spontaneous())
        return;
    shownOnce_ = true;
    runHandler([this] { FormShow(); });
}

void WorkWindow::closeEvent(QCloseEvent *event)
{
    ctx_.setOpenFlag(kind_, false);
    QWidget::closeEvent(event);
}

void WorkWindow::highlightBoxes(const QList<QWidget *> &boxes)
{
    highlight_->addBoxes(boxes);
}

}  // namespace korv
