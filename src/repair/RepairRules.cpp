// Repair order rules the stations share: states and their lists, order numbers, flags, fees, overdue.
#include "repair/RepairRules.h"

#include "common/Conventions.h"
#include "data/Database.h"
#include "data/Values.h"


#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace korv::repair {

namespace {

double toCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

int stateNumber(OrderState state)
{
    return static_cast<int>(state);
}

}  // namespace

QString listSql(OrderState state)
{
    return queryBaseSql(state) + QStringLiteral("order by wxdh");
}

QString queryBaseSql(OrderState state)
{
    return QStringLiteral("select * from jjdb where wxzt=%1 ").arg(stateNumber(state));
}

QString overdueStampColumn(OrderState state)
{
    switch (state) {
    case OrderState::Pending:
        return QStringLiteral("jjrq");
    case OrderState::Dispatched:
        return QStringLiteral("jxsj");
    case OrderState::Repaired:
        break;
    }
    return {};
}

QColor overdueColour(OrderState state)
{
    switch (state) {
    case OrderState::Pending:
        return kPendingOverdueColour;
    case OrderState::Dispatched:
        return kDispatchedOverdueColour;
    case OrderState::Repaired:
        break;
    }
    return {};
}

bool isOverdue(const QString &timeStampText, const QString &alarmHoursText, const QDateTime &now)
{
    const std::optional<qint64> hours = parseWholeNumber(alarmHoursText);
    const std::optional<QDateTime> stamp = parseDateTime(timeStampText);
    if (!hours || !stamp)
        return false;
    // Both sides as wall-clock values to the second, so that no zone of `now` shifts the result.
    const QTime t = now.time();
    const QDateTime current = wallClock(now.date(), QTime(t.hour(), t.minute(), t.second()));
    const qint64 seconds = stamp->secsTo(current);
    if (seconds <= 0)
        return false;
    const qint64 minutes = seconds / 60 + (seconds % 60 > 0 ? 1 : 0);
    // An absurd period is clamped before multiplying; elapsed minutes never come near the bound.
    constexpr qint64 bound = std::numeric_limits<qint64>::max() / 60;
    return minutes > std::clamp(*hours, -bound, bound) * 60;
}

QString proposeOrderNumber(Database &db, const QString &deptCode)
{
    // Rows come back from the unordered list in rowid order, so its last row is the one with the
    // largest rowid: the most recently added order, found through the table's b-tree alone.
    const std::optional<QString> last =
        db.firstValue(QStringLiteral("select wxdh from jjdb order by rowid desc limit 1"));
    qint64 counter = 1;
    if (last) {
        const std::optional<qint64> n = parseWholeNumber(last->mid(2));
        if (!n || *n < 0 || *n == std::numeric_limits<qint64>::max())
            throw DbError(QStringLiteral("最后一张维修单的单号“%1”去掉前两位部门代码后不是有效的整数，"
                                         "无法生成新的单号。")
                              .arg(*last));
        counter = *n + 1;
    }
    return deptCode + padNumber(counter, 6);
}

QString nextOrderNumberAfterSave(const QString &saved)
{
    return advanceRecordNumber(saved, 8);
}

QString orderNumberLookupSql()
{
    return QStringLiteral("select 1 from jjdb where wxdh = ?1 limit 1");
}

bool orderNumberExists(Database &db, const QString &number)
{
    return db.firstValue(orderNumberLookupSql(), {number.trimmed()}).has_value();
}

QString intakeWarrantyText(const QString &sfbx)
{
    return sfbx == QLatin1String("1") ? kOutOfWarranty : kInWarranty;
}

QString sheetWarrantyText(const QString &sfbx)
{
    return sfbx == QLatin1String("0") ? kInWarranty : kOutOfWarranty;
}

QString settlementWarrantyText(const QString &sfbx)
{
    if (sfbx.trimmed().isEmpty())
        return kInWarranty;
    const std::optional<qint64> flag = parseWholeNumber(sfbx);
    if (!flag)
        throw DbError(QStringLiteral("“%1”不是有效的整数值。").arg(sfbx));
    return *flag == 0 ? kInWarranty : kOutOfWarranty;
}

QString warrantyFlagFromChoice(const QString &choice)
{
    return choice == kOutOfWarranty ? QStringLiteral("1") : QStringLiteral("0");
}

bool isOnSiteService(const QString &wxfs)
{
    return wxfs == QLatin1String("1");
}

QString serviceModeText(const QString &wxfs)
{
    return isOnSiteService(wxfs) ? kOnSite : kAtCounter;
}

QString serviceModeFlag(bool onSite)
{
    return onSite ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<double> moneyNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double moneyValue(const QString &text)
{
    return moneyNumber(text).value_or(0.0);
}

QString feeText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return numberText(0);
    const std::optional<double> value = moneyNumber(text);
    return value ? numberText(*value) : text;
}

double feeTotal(const QString &wxf, const QString &jcf, const QString &smf, const QString &ljf)
{
    return toCents(moneyValue(wxf) + moneyValue(jcf) + moneyValue(smf) + moneyValue(ljf));
}

double receivable(double total, const QString &dj)
{
    return toCents(total - moneyValue(dj));
}

QString numberText(double value)
{
    // Adding 0.0 turns a rounded -0 into 0, so a tiny negative residue never shows as "-0".
    QString text = QString::number(toCents(value) + 0.0, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

}  // namespace korv::repair
