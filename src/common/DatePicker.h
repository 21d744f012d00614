// Date and date-time pickers that read and write the program's date-time texts.
#pragma once

#include <QDateTimeEdit>

namespace korv {

// A picker over wall-clock time. Date-only pickers show yyyy-MM-dd, others add hh:mm:ss.
class DatePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    enum class Kind { Date, DateTime };
    explicit DatePicker(Kind kind = Kind::Date, QWidget *parent = nullptr);

    // Set to the current moment, without fractions of a second.
    void setToNow();
    // "yyyy-MM-dd hh:mm:ss" of the picker's value.
    QString dateTimeText() const;
    // "yyyy-MM-dd" of the picker's value.
    QString dateText() const;
    // Parses a stored value; text that is no date-time throws DbError.
    void setFromText(const QString &text);
    // Changes the date only; the time of day the picker holds stays.
    void setDateKeepingTime(const QDate &date);
    // The date of a stored value, keeping the time of day; text that is no date-time throws.
    void setDateFromText(const QString &text);
};

}  // namespace korv
