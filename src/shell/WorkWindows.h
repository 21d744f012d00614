// The one place that knows which window class each command opens.
#pragma once

#include "common/AppContext.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace korv {

// Whether the window of `kind` exists in this build; a command whose window does not exist
// opens nothing.
bool workWindowBuilt(WorkWindowKind kind);
// A new work window of `kind` as a child of `parent`, or nullptr when it is not built.
QWidget *createWorkWindow(WorkWindowKind kind, AppContext &ctx, QWidget *parent);
// Tests stand their own windows in for the real ones; an empty function removes the override.
using WorkWindowCreator = std::function<QWidget *(WorkWindowKind, AppContext &, QWidget *)>;
void setWorkWindowOverride(WorkWindowCreator creator);

// The initial settings dialog.
std::unique_ptr<QDialog> createSettingsDialog(AppContext &ctx, QWidget *parent);

}  // namespace korv
