// The business sheet: every order of the settlement list on A4, one ruled block each.
#pragma once

#include <QString>
#include <memory>

namespace korv {
class Query;
namespace report {
class PageSource;
}
}  // namespace korv

namespace korv::repair {

inline const QString kBusinessSheetTitle = QStringLiteral("修理业务表");

// The two figures a block works out from its order before it is printed.
struct BlockFigures {
    QString warranty;  // 保修期内 / 保修期外, the flag read as a whole number
    QString total;     // fee total in its shortest form
};
// A fee that is no number counts 0; throws DbError when the warranty flag is no whole number.
BlockFigures blockFigures(const QString &sfbx, const QString &wxf, const QString &jcf, const QString &smf,
                          const QString &ljf);

// Every row of `orders` in row-set order on A4 portrait, title and page number on each page.
// An empty or closed row set still gives one page. The sheet takes the rows listed now and reads
// them by index apart from the query, a page when it is drawn or printed: the cursor is untouched,
// and the query may be reopened or destroyed while the sheet is shown. A column the open list
// lacks is refused at once (DbError); a block whose warranty flag is no whole number prints the
// flag as it is stored.
std::unique_ptr<report::PageSource> buildBusinessSheet(const Query &orders);

}  // namespace korv::repair
