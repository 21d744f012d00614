// Window factory of the main window's commands.
#include "shell/WorkWindows.h"

namespace korv {

namespace {
WorkWindowCreator g_override;
}

void setWorkWindowOverride(WorkWindowCreator creator)
{
    g_override = std::move(creator);
}

bool workWindowBuilt(WorkWindowKind kind)
{
    if (g_override)
        return true;
    switch (kind) {
    case WorkWindowKind::Wxxx:
    case WorkWindowKind::Bjxx:
    case WorkWindowKind::Khxx:
    case WorkWindowKind::Sjxx:
    case WorkWindowKind::Dxdj:
    case WorkWindowKind::Pxdj:
    case WorkWindowKind::Xfdj:
    case WorkWindowKind::Qjdj:
    case WorkWindowKind::Bjgl:
    case WorkWindowKind::Gjgl:
    case WorkWindowKind::Jyxx:
        return false;
    }
    return false;
}

QWidget *createWorkWindow(WorkWindowKind kind, AppContext &ctx, QWidget *parent)
{
    if (g_override)
        return g_override(kind, ctx, parent);
    switch (kind) {
    default:
        return nullptr;
    }
}

std::unique_ptr<QDialog> createSettingsDialog(AppContext &ctx, QWidget *parent)
{
    Q_UNUSED(ctx);
    Q_UNUSED(parent);
    return nullptr;
}

}  // namespace korv
