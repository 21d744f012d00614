// Window factory of the main window's commands.
#include "shell/WorkWindows.h"

#include "inventory/Ubjgl.h"
#include "inventory/Ugjgl.h"
#include "masterdata/Ubjxx.h"
#include "masterdata/Ujyxx.h"
#include "masterdata/Ukhxx.h"
#include "masterdata/Usjxx.h"
#include "repair/Udxdj.h"
#include "repair/Upxdj.h"
#include "repair/Uqjdj.h"
#include "repair/Uxfdj.h"
#include "masterdata/Uwxxx.h"
#include "settings/Uzdwh.h"

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
    case WorkWindowKind::Jyxx:
    case WorkWindowKind::Dxdj:
    case WorkWindowKind::Pxdj:
    case WorkWindowKind::Xfdj:
    case WorkWindowKind::Qjdj:
    case WorkWindowKind::Bjgl:
    case WorkWindowKind::Gjgl:
        return true;
    }
    return false;
}

QWidget *createWorkWindow(WorkWindowKind kind, AppContext &ctx, QWidget *parent)
{
    if (g_override)
        return g_override(kind, ctx, parent);
    switch (kind) {
    case WorkWindowKind::Wxxx:
        return new TFrmWxxx(ctx, parent);
    case WorkWindowKind::Bjxx:
        return new TFrmBjxx(ctx, parent);
    case WorkWindowKind::Khxx:
        return new Tfrmkhxx(ctx, parent);
    case WorkWindowKind::Sjxx:
        return new TFrmsjxx(ctx, parent);
    case WorkWindowKind::Jyxx:
        return new Tfrmjyxx(ctx, parent);
    case WorkWindowKind::Dxdj:
        return new TFrmdxdj(ctx, parent);
    case WorkWindowKind::Pxdj:
        return new TFrmpxdj(ctx, parent);
    case WorkWindowKind::Xfdj:
        return new TFrmxfdj(ctx, parent);
    case WorkWindowKind::Qjdj:
        return new Tfrmqjdj(ctx, parent);
    case WorkWindowKind::Bjgl:
        return new Tfrmbjgl(ctx, parent);
    case WorkWindowKind::Gjgl:
        return new TFrmgjgl(ctx, parent);
    default:
        return nullptr;
    }
}

std::unique_ptr<QDialog> createSettingsDialog(AppContext &ctx, QWidget *parent)
{
    return std::make_unique<TFrmzdwh>(ctx, parent);
}

}  // namespace korv
