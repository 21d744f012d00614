// The low-stock mark and the guarded writes of lending and returning a tool.
#include "inventory/StoreRules.h"

#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"

namespace korv::store {

bool isLowStock(const QString &quantity, const QString &lowerLimit)
{
    bool ok = false;
    const double limit = lowerLimit.trimmed().toDouble(&ok);
    if (!ok || limit <= 0)
        return false;
    const std::optional<qint64> count = quantity.trimmed().isEmpty() ? 0 : parseWholeNumber(quantity);
    return count && double(*count) <= limit;
}

std::function<QColor(int row)> lowStockRows(const Query *list)
{
    return [list](int row) {
        const int sl = list->columnIndex(QStringLiteral("sl"));
        const int tsxx = list->columnIndex(QStringLiteral("tsxx"));
        if (sl < 0 || tsxx < 0 || !isLowStock(list->cellText(row, sl), list->cellText(row, tsxx)))
            return QColor();
        return kLowStockColour;
    };
}

// An empty state may be stored as NULL or as empty text; both read back as the empty text.
bool lendTool(Database &db, const QString &bh, const QString &loadedState, const QString &borrower)
{
    return db.run(QStringLiteral("update gjkc set syzt = ?1, jyr = ?2"
                                 " where bh = ?3 and coalesce(syzt, '') = ?4 collate binary"),
                  {kLent, borrower, bh, loadedState})
           == 1;
}

bool returnTool(Database &db, const QString &bh, const QString &loadedState)
{
    return db.run(QStringLiteral("update gjkc set syzt = ?1"
                                 " where bh = ?2 and coalesce(syzt, '') = ?3 collate binary"),
                  {kInStock, bh, loadedState})
           == 1;
}

}  // namespace korv::store
