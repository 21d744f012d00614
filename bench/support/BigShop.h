// Generator of a big shop's database after ten years of trade, for benchmarks.
#pragma once

#include <QString>
#include <QtGlobal>

namespace korv::bench {

// How many rows of each kind the generated shop holds. The defaults are the shop the
// performance bars are set for.
struct BigShopSize {
    int orders = 200000;
    int customers = 50000;
    int products = 5000;
    int partKinds = 2000;
    int stockRows = 2000;
    int employees = 200;
    int departments = 6;
    double settledShare = 0.9;
    quint64 seed = 20240630;

    // The default shop scaled so that it holds `orders` repair orders; every other table keeps
    // its proportion to the orders (at least a handful of rows each).
    static BigShopSize forOrders(int orders);
};

enum class IfExists { Fail, Replace };

// Creates a fresh encrypted database at `path` and fills it in one transaction. The same size
// and seed always give the same contents. When a file is already there it is replaced only with
// IfExists::Replace; otherwise DbError is thrown and the file is left alone.
void generateBigShop(const QString &path, const BigShopSize &size, IfExists ifExists = IfExists::Fail);

}  // namespace korv::bench
