// The repair order sheet: the one-page printout of a list's current repair order.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace korv {
class Query;
class TmldyForm;
namespace report {
class PageSource;
}
}  // namespace korv

namespace korv::repair {

// The notices every sheet carries, one a line, the closing line last.
QStringList sheetNotices();

// The sheet of `orders`' current row on 220 x 95 mm paper. Reads the row only. Throws DbError
// when a fee column holds no number.
std::unique_ptr<report::PageSource> buildRepairSheet(const Query &orders);

// The sheet procedure every list's double-click and 单据 run: nothing for an empty list,
// otherwise the preview without its page navigation, showing the sheet. A fee that is no
// number ends in the error box with the preview left open and empty.
TmldyForm *showRepairSheet(const Query &orders, QWidget *parent = nullptr);

}  // namespace korv::repair
