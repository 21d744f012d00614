// Pickers that never shift a value through time zones.
#include "common/DatePicker.h"

#include "common/Clock.h"
#include "data/Database.h"
#include "data/Values.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace korv {

DatePicker::DatePicker(Kind kind, QWidget *parent) : QDateTimeEdit(parent)
{
    setTimeSpec(Qt::UTC);
    setCalendarPopup(true);
    setDisplayFormat(kind == Kind::Date ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    setDateTime(Clock::now());
    // A value set from outside (a record loaded, the calendar) ends a half-typed section.
    connect(this, &QDateTimeEdit::dateTimeChanged, this, [this] { typed_.clear(); });
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

namespace {

// Where a section stands in the shown text: every field of the display format has a fixed
// width, so the text's positions are the format's.
struct SectionSpan {
    int start = 0;
    int width = 0;
};

SectionSpan spanOf(const QString &format, int index)
{
    const QString fieldLetters = QStringLiteral("yMdhHms");
    int found = -1;
    for (int i = 0; i < format.size();) {
        if (!fieldLetters.contains(format[i])) {
            ++i;
            continue;
        }
        int end = i;
        while (end < format.size() && format[end] == format[i])
            ++end;
        if (++found == index)
            return {i, end - i};
        i = end;
    }
    return {};
}

// The highest value a section can take, for deciding whether one more digit could still fit.
int sectionMax(QDateTimeEdit::Section section, const QDate &date)
{
    switch (section) {
    case QDateTimeEdit::YearSection:
        return 9999;
    case QDateTimeEdit::MonthSection:
        return 12;
    case QDateTimeEdit::DaySection:
        return date.daysInMonth();
    case QDateTimeEdit::HourSection:
        return 23;
    default:
        return 59;
    }
}

// `value` with one section replaced by `n`, kept inside that section's range; a day beyond
// the end of a newly typed month becomes the month's last day.
QDateTime withSection(const QDateTime &value, QDateTimeEdit::Section section, int n, int minYear, int maxYear)
{
    int y = value.date().year(), m = value.date().month(), d = value.date().day();
    QTime t = value.time();
    switch (section) {
    case QDateTimeEdit::YearSection:
        y = qBound(minYear, n, maxYear);
        break;
    case QDateTimeEdit::MonthSection:
        m = qBound(1, n, 12);
        break;
    case QDateTimeEdit::DaySection:
        d = std::max(1, n);
        break;
    case QDateTimeEdit::HourSection:
        t.setHMS(qBound(0, n, 23), t.minute(), t.second());
        break;
    case QDateTimeEdit::MinuteSection:
        t.setHMS(t.hour(), qBound(0, n, 59), t.second());
        break;
    case QDateTimeEdit::SecondSection:
        t.setHMS(t.hour(), t.minute(), qBound(0, n, 59));
        break;
    default:
        break;
    }
    const QDate date(y, m, std::min(d, QDate(y, m, 1).daysInMonth()));
    return QDateTime(date, t, value.timeSpec());
}

bool isPlainKey(const QKeyEvent *event)
{
    return !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
}

}  // namespace

// Tab leaves the picker instead of walking through its sections.
bool DatePicker::focusNextPrevChild(bool next)
{
    commitTyped();
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (!isReadOnly() && isPlainKey(event) && text.size() == 1) {
        const QChar c = text.at(0);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            typeDigit(c);
            event->accept();
            return;
        }
        // A separator ends a section typed short ("2025-6-1"); after a full section the
        // picker has moved on already, so the separator is simply passed over.
        if (QStringLiteral(" -/.:").contains(c)) {
            if (!typed_.isEmpty()) {
                commitTyped();
                selectSection(std::min(typingSection_ + 1, sectionCount() - 1));
            }
            event->accept();
            return;
        }
    }
    if (event->key() == Qt::Key_Backspace && !typed_.isEmpty()) {
        typed_.chop(1);
        if (typed_.isEmpty()) {
            setDateTime(dateTime());
            selectSection(typingSection_);
        } else {
            showTyped();
        }
        event->accept();
        return;
    }
    commitTyped();
    // Left and Right move a whole section, as in the desktop's own date boxes, rather than a
    // character of the text.
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) && event->modifiers() == Qt::NoModifier) {
        const int step = event->key() == Qt::Key_Right ? 1 : -1;
        selectSection(qBound(0, std::max(0, currentSectionIndex()) + step, sectionCount() - 1));
        event->accept();
        return;
    }
    QDateTimeEdit::keyPressEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent *event)
{
    typed_.clear();
    QDateTimeEdit::focusInEvent(event);
    // Coming back with Shift+Tab starts at the year too, so typing always fills the date in order.
    if (event->reason() == Qt::BacktabFocusReason)
        selectSection(0);
}

void DatePicker::focusOutEvent(QFocusEvent *event)
{
    commitTyped();
    QDateTimeEdit::focusOutEvent(event);
}

void DatePicker::mousePressEvent(QMouseEvent *event)
{
    commitTyped();
    QDateTimeEdit::mousePressEvent(event);
}

void DatePicker::typeDigit(QChar digit)
{
    if (typed_.isEmpty())
        typingSection_ = std::max(0, currentSectionIndex());
    typed_ += digit;
    const QDateTimeEdit::Section section = sectionAt(typingSection_);
    const bool full = typed_.size() >= spanOf(displayFormat(), typingSection_).width ||
                      typed_.toInt() * 10 > sectionMax(section, date());
    if (!full) {
        showTyped();
        return;
    }
    commitTyped();
    selectSection(std::min(typingSection_ + 1, sectionCount() - 1));
}

// The digits so far are shown in their section; the value changes once the section is
// complete, so a half-typed year never counts as a date.
void DatePicker::showTyped()
{
    const SectionSpan span = spanOf(displayFormat(), typingSection_);
    QString shown = textFromDateTime(dateTime());
    shown.replace(span.start, span.width, typed_);
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(shown);
    lineEdit()->setCursorPosition(span.start + int(typed_.size()));
}

void DatePicker::commitTyped()
{
    if (typed_.isEmpty())
        return;
    const int n = typed_.toInt();
    typed_.clear();
    setDateTime(withSection(dateTime(), sectionAt(typingSection_), n, minimumDate().year(), maximumDate().year()));
}

void DatePicker::selectSection(int index)
{
    setCurrentSectionIndex(index);
    setSelectedSection(sectionAt(index));
}

}  // namespace korv
