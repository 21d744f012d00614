// 备件信息: the catalogue of spare-part kinds
#pragma once

#include "masterdata/RecordWindow.h"

namespace korv {

// The spare-part kinds of table bjjbxx. Name, model and size (规格) are stored trimmed, and
// a new kind may not repeat an existing combination of the three, whatever the letter case.
class TFrmBjxx : public RecordWindow {
    Q_OBJECT
public:
    explicit TFrmBjxx(AppContext &ctx, QWidget *parent = nullptr);

    void edit2Exit();
    void edit3Exit();
    void edit4Exit();

protected:
    bool passesAddChecks() override;

private:
    bool combinationExists();
    void warnOfCombination();
};

}  // namespace korv
