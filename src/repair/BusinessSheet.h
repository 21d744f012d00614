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
// Throws DbError when a fee is no number or the warranty flag no whole number.
BlockFigures blockFigures(const QString &sfbx, const QString &wxf, const QString &jcf, const QString &smf,
                          const QString &ljf);

// Every row of `orders` in row-set order on A4 portrait, title and page number on each page.
// An empty or closed row set still gives one page. Reads the rows by index, page after page, so
// the cursor is untouched and the list is never copied a second time.
// Throws DbError as blockFigures does.
std::unique_ptr<report::PageSource> buildBusinessSheet(const Query &orders);

}  // namespace korv::repair
