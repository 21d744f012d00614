// Pickers that never shift a value through time zones.
#include "common/DatePicker.h"

#include "common/Clock.h"
#include "data/Database.h"
#include "data/Values.h"

namespace korv {

DatePicker::DatePicker(Kind kind, QWidget *parent) : QDateTimeEdit(parent)
{
    setTimeSpec(Qt::UTC);
    setCalendarPopup(true);
    setDisplayFormat(kind == Kind::Date ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    setDateTime(Clock::now());
}

void DatePicker::setToNow()
{
    setDateTime(*parseDateTime(korv::dateTimeText(Clock::now())));
}

QString DatePicker::dateTimeText() const
{
    return korv::dateTimeText(dateTime());
}

QString DatePicker::dateText() const
{
    return korv::dateText(dateTime());
}

namespace {
QDateTime requireDateTime(const QString &text)
{
    const auto value = parseDateTime(text);
    if (!value)
        throw DbError(QStringLiteral("“%1”不是有效的日期时间。").arg(text));
    return *value;
}
}  // namespace

void DatePicker::setFromText(const QString &text)
{
    setDateTime(requireDateTime(text));
}

void DatePicker::setDateKeepingTime(const QDate &date)
{
    setDateTime(QDateTime(date, dateTime().time(), Qt::UTC));
}

void DatePicker::setDateFromText(const QString &text)
{
    setDateKeepingTime(requireDateTime(text).date());
}

}  // namespace korv
