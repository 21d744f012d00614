// 职员信息: the shop's employees
#pragma once

#include "masterdata/RecordWindow.h"

namespace korv {

// The employees' table jyb: no record number, drop-downs for sex, education and department
// (the departments as they stood when the window was opened) and a birth-date picker.
class Tfrmjyxx : public RecordWindow {
    Q_OBJECT
public:
    explicit Tfrmjyxx(AppContext &ctx, QWidget *parent = nullptr);
};

}  // namespace korv
