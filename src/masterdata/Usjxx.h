// 商家信息: the merchants where customers bought their appliances
#pragma once

#include "masterdata/RecordWindow.h"

namespace korv {

// The merchants' table sjjbxx: the customer window's layout, and no two merchants added under
// the same name.
class TFrmsjxx : public RecordWindow {
    Q_OBJECT
public:
    explicit TFrmsjxx(AppContext &ctx, QWidget *parent = nullptr);

    void edit2Exit();

protected:
    bool passesAddChecks() override;

private:
    bool nameExists();
};

}  // namespace korv
