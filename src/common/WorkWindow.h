// The base of every work window: its open flag, background and focus highlight.
#pragma once

#include "common/AppContext.h"

#include <QWidget>

namespace korv {

class FocusHighlight;

// A window shown inside the main window's work area. It sets its open flag when shown and
// clears it when closed; the main window destroys it after closing it.
class WorkWindow : public QWidget {
    Q_OBJECT
public:
    static const QColor kBackground;

    WorkWindow(AppContext &ctx, WorkWindowKind kind, QWidget *parent = nullptr);
    ~WorkWindow() override;
    WorkWindowKind kind() const { return kind_; }
    // Runs once, when the window is first shown, after its open flag is set.
    virtual void FormShow() {}

protected:
    void showEvent(QShowEvent *event) override;
    // A window holding typing the user keeps refuses to close.
    void closeEvent(QCloseEvent *event) override;
    // Whether the window may close now; asks the user when closing would lose typing.
    virtual bool mayClose() { return true; }
    // The entry boxes that take part in the focus highlight.
    void highlightBoxes(const QList<QWidget *> &boxes);

    AppContext &ctx_;

private:
    WorkWindowKind kind_;
    FocusHighlight *highlight_;
    bool shownOnce_ = false;
};

}  // namespace korv
