// Changing a spare part's stock quantity, as every window that moves stock does it.
#pragma once

#include <QString>
#include <QtGlobal>

namespace korv {
class Database;
}

namespace korv::stock {

// What became of a quantity change.
enum class StockChange {
    Done,   // the stored quantity changed by the amount asked
    Gone,   // no stock row with that number any more: nothing written
    Short,  // the change would take the quantity below 0: nothing written
};

// Adds `delta` (negative to take parts out) to the quantity of the stock row numbered `bh`.
// The database computes the new quantity from the one stored, an empty quantity counting as 0,
// and refuses a result below 0, so a change made meanwhile by another copy of the program is
// never overwritten from a list's copy. Runs inside the caller's transaction when there is one.
StockChange changeQuantity(Database &db, const QString &bh, qint64 delta);

}  // namespace korv::stock
