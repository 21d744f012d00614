// Date-time and number text forms shared by the data layer and the windows.
#include "data/Values.h"

#include <QRegularExpression>

namespace korv {

QDateTime wallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

QString dateTimeText(const QDateTime &value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(), t.hour(),
                             t.minute(), t.second());
}

QString dateText(const QDateTime &value)
{
    return dateTimeText(value).left(10);
}

QString storedDateTimeText(const QDateTime &value)
{
    const QTime t = value.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return dateText(value);
    return dateTimeText(value);
}

std::optional<QDateTime> parseDateTime(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(\d{4})[-/.](\d{1,2})[-/.](\d{1,2})(?:[ T]+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?(?:\.\d+)?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return wallClock(date, time);
}

std::optional<qint64> parseWholeNumber(const QString &text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

}  // namespace korv

namespace korv {
QString sqlQuote(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    // A NUL cannot stand inside a quoted literal: the engine would end the text there.
    inner.replace(QChar(0), QStringLiteral("'||char(0)||'"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}
}  // namespace korv
