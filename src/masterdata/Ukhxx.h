// 客户信息: the shop's customers
#pragma once

#include "masterdata/RecordWindow.h"

namespace korv {

// The customers' table khjbxx; Enter walks from 客户名称 to 地址.
class Tfrmkhxx : public RecordWindow {
    Q_OBJECT
public:
    explicit Tfrmkhxx(AppContext &ctx, QWidget *parent = nullptr);
};

// The layout shared by the customer and merchant tables (number, name, telephone, fax,
// contact, contact's telephone, postcode, address); `who` is "客户" or "商家".
RecordTable contactTable(const QString &who, const QString &table, const QString &nameColumn);

}  // namespace korv
