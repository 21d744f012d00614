#include "support/Orders.h"

#include "data/Database.h"
#include "data/Values.h"

#include <QStringList>

namespace korv::test {

void insertOrder(Database &db, OrderColumns columns)
{
    QStringList names;
    QStringList values;
    for (const auto &c : columns) {
        names << c.first;
        values << sqlQuote(c.second);
    }
    db.exec(QStringLiteral("insert into jjdb (%1) values (%2)").arg(names.join(u','), values.join(u',')));
}

QString orderColumn(Database &db, const QString &wxdh, const QString &column)
{
    return db.firstValue(QStringLiteral("select %1 from jjdb where wxdh=?").arg(column), {wxdh}).value_or(QString());
}

int ordersInState(Database &db, int wxzt)
{
    return db.scalar(QStringLiteral("select count(*) from jjdb where wxzt=%1").arg(wxzt)).toInt();
}

}  // namespace korv::test
