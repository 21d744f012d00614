// 备件库存管理: the spare parts in stock, their quantities and their movements
#pragma once

#include "inventory/Ubjcr.h"
#include "masterdata/RecordWindow.h"

namespace korv {

// The stock list, table bjkc. Besides the record-window protocol it books parts in and out
// through the movement dialog, and marks the parts that have run low.
class Tfrmbjgl : public RecordWindow {
    Q_OBJECT
public:
    explicit Tfrmbjgl(AppContext &ctx, QWidget *parent = nullptr);

    void btnrkClick();
    void btnckClick();

    QPushButton *btnrk;
    QPushButton *btnck;

private:
    void openMovement(TFrmbjcr::Mode mode);
};

}  // namespace korv
