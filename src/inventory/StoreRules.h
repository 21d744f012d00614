// Rules of the store that are not about windows: the low-stock mark and the tool-lending writes.
#pragma once

#include <QColor>
#include <QString>
#include <functional>

namespace korv {
class Database;
class Query;
}

namespace korv::store {

// The background of a spare part that has run low.
inline const QColor kLowStockColour{0xFF, 0xE6, 0x80};

// A part has run low when a lower limit above 0 is set and the quantity is at or below it. An
// empty quantity counts 0; a limit that reads as no number sets no limit.
bool isLowStock(const QString &quantity, const QString &lowerLimit);
// Row backgrounds for a list of stock rows (columns sl and tsxx): the low ones marked.
std::function<QColor(int row)> lowStockRows(const Query *list);

// Tool states a window or the movement dialog tests for.
inline const QString kInStock = QStringLiteral("在库");
inline const QString kLent = QStringLiteral("借出");
inline const QString kScrapped = QStringLiteral("报废");

// Lends tool `bh` to `borrower` (stored as given) if its state is still `loadedState`, the state
// the window showed; answers false, writing nothing, when the tool is gone or its state changed.
bool lendTool(Database &db, const QString &bh, const QString &loadedState, const QString &borrower);
// Puts tool `bh` back in stock on the same condition; the last borrower stays recorded.
bool returnTool(Database &db, const QString &bh, const QString &loadedState);

}  // namespace korv::store
