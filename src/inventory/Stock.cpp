// Stock quantity changes computed by the database from the stored quantity.
#include "inventory/Stock.h"

#include "data/Database.h"

namespace korv::stock {

StockChange changeQuantity(Database &db, const QString &bh, qint64 delta)
{
    const QString amount = QString::number(delta);
    const int changed = db.run(QStringLiteral("update bjkc set sl = coalesce(sl, 0) + cast(?1 as integer)"
                                              " where bh = ?2 and coalesce(sl, 0) + cast(?1 as integer) >= 0"),
                               {amount, bh});
    // bh is unique, so a change touches one row or none.
    if (changed == 1)
        return StockChange::Done;
    const bool exists = db.firstValue(QStringLiteral("select 1 from bjkc where bh = ?1"), {bh}).has_value();
    return exists ? StockChange::Short : StockChange::Gone;
}

}  // namespace korv::stock
