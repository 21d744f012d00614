// Repair order rules the stations share: states and their lists, order numbers, flags, fees, overdue.
#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>

#include <optional>

namespace korv {
class Database;
}

namespace korv::repair {

// The value of `wxzt`. Orders only move up; settlement leaves an order in Repaired.
enum class OrderState : int { Pending = 0, Dispatched = 1, Repaired = 2 };

// The SQL of every station list showing orders of `state`, ordered by number.
QString listSql(OrderState state);
// What the query dialog appends its conditions to when it refilters such a list.
QString queryBaseSql(OrderState state);

// Overdue rows: pending orders by their intake time, dispatched orders by their dispatch time.
// Repaired orders are never highlighted.
inline const QColor kPendingOverdueColour{0xFF, 0xB7, 0x6F};
inline const QColor kDispatchedOverdueColour{0xFF, 0xA4, 0xD1};
// The column holding the time stamp the overdue rule measures, empty for Repaired.
QString overdueStampColumn(OrderState state);
// The highlight colour, invalid for Repaired.
QColor overdueColour(OrderState state);

// True when the order stamped `timeStampText` has waited longer than `alarmHoursText` hours at
// `now`: elapsed whole seconds, rounded up to minutes, not 0 and above hours × 60. An empty or
// non-integer period, an unreadable stamp or a stamp in the future never highlights.
bool isOverdue(const QString &timeStampText, const QString &alarmHoursText, const QDateTime &now);

// The number the intake window proposes: `deptCode` and, as six digits, one more than the counter
// of the most recently added order (whatever its state), or 1 for an empty table. Reads one row.
// Throws DbError when that order's number, without its first two characters, is not a counter.
QString proposeOrderNumber(Database &db, const QString &deptCode);
// The proposal after a save in add mode, without reading the table: the saved number as one
// integer plus one, eight digits. Throws DbError when `saved` is not an integer.
QString nextOrderNumberAfterSave(const QString &saved);
// Whether an order already carries `number` (blanks around it ignored). Compares as the unique
// index on the column does, so a "free" answer is never refused by the insert that follows.
bool orderNumberExists(Database &db, const QString &number);
// The look-up above, with its one bound parameter; public so that its plan can be checked.
QString orderNumberLookupSql();

// Warranty flag `sfbx`: "0" in warranty, "1" out of warranty. Each display reads it its own way,
// so an odd stored value shows differently on each.
inline const QString kInWarranty = QStringLiteral("保修期内");
inline const QString kOutOfWarranty = QStringLiteral("保修期外");
QString intakeWarrantyText(const QString &sfbx);     // 保修期外 only for "1"
QString sheetWarrantyText(const QString &sfbx);      // 保修期内 only for "0"
QString settlementWarrantyText(const QString &sfbx);  // as a whole number, empty reading 0
QString warrantyFlagFromChoice(const QString &choice);  // "1" for 保修期外, else "0"

// Service-mode flag `wxfs`: "1" on-site, "0" handed in at the counter.
inline const QString kOnSite = QStringLiteral("上门");
inline const QString kAtCounter = QStringLiteral("接机");
bool isOnSiteService(const QString &wxfs);
QString serviceModeText(const QString &wxfs);
QString serviceModeFlag(bool onSite);

// A money column's text as a number; nullopt for empty text and for text that is no number.
std::optional<double> moneyNumber(const QString &text);
// The same for sums: empty counts 0, and so does a stored text that is no number (left by an
// older build or another program), which is shown as it stands rather than stopping a handler.
double moneyValue(const QString &text);
// A fee as the sheet shows it: a number in its shortest form, empty as 0, other text as stored.
QString feeText(const QString &text);
// wxf + jcf + smf + ljf, to the cent.
double feeTotal(const QString &wxf, const QString &jcf, const QString &smf, const QString &ljf);
// Fee total less the deposit, to the cent; an empty deposit takes nothing off.
double receivable(double total, const QString &dj);
// A figure in its shortest form after rounding to cents: 150, 150.5, -20, 0.3.
QString numberText(double value);

}  // namespace korv::repair
