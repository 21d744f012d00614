// What the benchmarks share besides the generator and the raw reader.
#pragma once

#include "support/BigShop.h"

#include <QSize>
#include <QString>
#include <cstddef>

class QWidget;

namespace korv::bench {

// Bytes of heap in use now.
std::size_t heapInUse();

// The benchmark's database at `path`: reused when `reuse` is set; a file the user named is never
// replaced (it may be a shop's real database); otherwise generated afresh at `size`. False, after
// saying why, when the file may not be used.
bool prepareDatabase(const QString &path, bool userNamed, bool reuse, const BigShopSize &size);

// Shows `window` at `size` and runs events until `list` has painted once, as the first screen a
// user sees. Throws DbError when it never paints.
void showUntilPainted(QWidget &window, QWidget &list, QSize size);

}  // namespace korv::bench
