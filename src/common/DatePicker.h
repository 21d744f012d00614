// Date and date-time pickers that read and write the program's date-time texts.
#pragma once

#include <QDateTimeEdit>

namespace korv {

// A picker over wall-clock time. Date-only pickers show yyyy-MM-dd, others add hh:mm:ss.
// One Tab leaves it. Typed digits fill year, month and day (then hour, minute, second) in
// order, with or without separators between them; the arrow keys step as usual.
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

protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void typeDigit(QChar digit);
    void showTyped();
    // Writes the digits typed into the current section into the value.
    void commitTyped();
    void selectSection(int index);

    int typingSection_ = 0;  // the section typed digits go into
    QString typed_;          // digits typed into it so far
};

}  // namespace korv
