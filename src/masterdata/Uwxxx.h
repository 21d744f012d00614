// 维修信息: the catalogue of products the shop repairs
#pragma once

#include "masterdata/RecordWindow.h"

namespace korv {

// The product table cpjbxx; category, brand and model are required, Enter walks the fields.
class TFrmWxxx : public RecordWindow {
    Q_OBJECT
public:
    explicit TFrmWxxx(AppContext &ctx, QWidget *parent = nullptr);
};

}  // namespace korv
