// The deposit receipt: its text, its one-page layout and the 收据 command that previews it.
#pragma once

#include <QDate>
#include <QString>
#include <memory>

class QWidget;

namespace korv {
class Database;
class TmldyForm;
namespace report {
class PageSource;
}
}  // namespace korv

namespace korv::repair {

// The body line; its 14 leading blanks leave room for the label "    今收到" printed over it.
QString receiptText(const QString &xm, const QString &cpmc, const QString &dj);
// A deposit as stored: "", "0" and "0.00" mean none was paid.
bool hasDeposit(const QString &dj);
// One page on 170 x 80 mm paper.
std::unique_ptr<report::PageSource> buildReceipt(const QString &wxdh, const QString &jjy, const QString &xm,
                                                 const QString &cpmc, const QString &dj, const QDate &today);
// 收据 for the order numbered `wxdh`: the no-deposit message and nullptr, or the preview in
// receipt mode whose print count is the one stored on that order.
TmldyForm *showReceipt(Database &db, const QString &wxdh, QWidget *parent = nullptr);

}  // namespace korv::repair
