// Text forms of date-times and whole numbers as the program stores and shows them.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace korv {

// Date-times are wall-clock values without a time zone; they are held as UTC-timed QDateTime so
// that no zone or daylight-saving rule ever shifts them.
QDateTime wallClock(const QDate &date, const QTime &time = QTime(0, 0));

// "yyyy-MM-dd hh:mm:ss", whatever the locale.
QString dateTimeText(const QDateTime &value);
// "yyyy-MM-dd".
QString dateText(const QDateTime &value);
// How a date-time column reads back: the date alone at midnight, else the full text.
QString storedDateTimeText(const QDateTime &value);

// Parses the forms a user or the database may hold ("2005-03-05", "2005-3-5 9:07:03",
// "2005/03/05 09:07", ...). nullopt when the text is not a date-time.
std::optional<QDateTime> parseDateTime(const QString &text);

// Parses a whole number with optional blanks around it and an optional sign.
std::optional<qint64> parseWholeNumber(const QString &text);

}  // namespace korv

namespace korv {
// A text value for an SQL text: enclosed in single quotes, each quote inside doubled; a NUL
// inside is joined in as char(0), so it stays part of the value.
QString sqlQuote(const QString &text);
}  // namespace korv
