// Reading printouts in tests: the previews on screen and the values a sheet draws.
#pragma once

#include <QList>
#include <QString>

namespace korv {
class TmldyForm;
namespace report {
struct Page;
}
}  // namespace korv

namespace korv::test {

// The print previews shown at the moment.
QList<TmldyForm *> openPreviews();
// The text a sheet draws right after `label`, or a text naming the missing label.
QString valueAfter(const report::Page &page, const QString &label);

}  // namespace korv::test
