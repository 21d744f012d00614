// 工具库存管理: the shop's tools, who has them and what state they are in
#pragma once

#include "inventory/Ubjcr.h"
#include "masterdata/RecordWindow.h"

namespace korv {

// The tool list, table gjkc. Besides the record-window protocol it lends a tool that is in
// stock and takes back one that is lent, through the movement dialog; which of the two is
// offered follows the state of the row last clicked or loaded by 修改.
class TFrmgjgl : public RecordWindow {
    Q_OBJECT
public:
    explicit TFrmgjgl(AppContext &ctx, QWidget *parent = nullptr);

    void btneditClick() override;
    void DBGrid1MouseUp() override;
    void btnrkClick();
    void btnckClick();

    QPushButton *btnrk;  // 归还工具
    QPushButton *btnck;  // 借出工具

private:
    void enableLendButtons();
    void openMovement(TFrmbjcr::Mode mode);
};

}  // namespace korv
