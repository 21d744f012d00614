// Repair orders put straight into the database, as the stations before the one under test
// would have left them.
#pragma once

#include <QPair>
#include <QString>
#include <initializer_list>

namespace korv {
class Database;
}

namespace korv::test {

using OrderColumns = std::initializer_list<QPair<QString, QString>>;

// Inserts one row of jjdb with the given column texts; columns not named keep their defaults.
void insertOrder(Database &db, OrderColumns columns);
// One column of the order numbered `wxdh`, empty when absent or null.
QString orderColumn(Database &db, const QString &wxdh, const QString &column);
// How many orders are in the given state.
int ordersInState(Database &db, int wxzt);

}  // namespace korv::test
