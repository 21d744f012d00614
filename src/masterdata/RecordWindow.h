// The record window shared by the master-data and stock windows: list, fields and buttons.
#pragma once

#include "common/ExitWatcher.h"
#include "common/Handlers.h"
#include "common/WorkWindow.h"
#include "query_print/Report.h"
#include "query_print/Udlg_cx.h"
#include "ui/FormChanges.h"

#include <QList>
#include <QStringList>

class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace korv {

class DatePicker;
class IntEdit;
class Query;
namespace ui {
class DBGrid;
class DBNavigator;
}

// One labelled entry of the field area, bound to one column of the window's table.
struct RecordField {
    // Whole: a whole number with arrow steps, kept as typed. Decimal: an amount shown with two
    // decimals once left. Lookup: a drop-down of the distinct values of a column of the
    // table's lookup source, read once when the window is made.
    enum class Kind { NumberBox, Text, Combo, Date, Whole, Decimal, Lookup };
    QString name{};       // objectName: edit1, ComboBox2, Date1 ...
    QString label{};      // shown exactly as given, blanks included
    QString column{};
    Kind kind = Kind::Text;
    QString required{};   // the message when the entry is exactly empty; none: optional
    bool wide = false;    // takes a whole row of the field area
    bool trimmed = false;  // written without blanks around it
    QStringList items{};  // the drop-down's fixed items
    QString lookup{};     // Lookup: the column of RecordTable::lookupSql its list comes from
    QString belowZero{};  // Whole: the message when the entry reads below 0; none: any number
};

// One column of the list.
struct RecordColumn {
    QString field;
    QString caption;
    int width;
    bool leftAligned = false;  // otherwise centred
};

// A member window's table and everything else it gives the protocol besides its additions.
struct RecordTable {
    QString name;  // the table in the database
    QString sql;
    int numberWidth = 6;  // 0: the table has no record number
    QList<RecordField> fields;
    QList<RecordColumn> columns;
    QString emptyList;
    QString emptyNumber;
    QString duplicateNumber;
    QString savedEdit;
    QString savedAdd;
    bool enterChain = false;
    QStringList keptByQuery;  // names of the fields a query's reset leaves as they are
    bool deleteKeepsDates = false;  // 删除 leaves the date pickers as they are
    QString lookupSql;              // the rows the Lookup fields' lists are read from
    report::ListReportSpec printout;
};

// A whole-number box that also takes a sign, beside two arrow buttons; the buttons and the
// arrow keys step it by one, with no bound but the box's nine digits. Answers the row holding
// the box and its buttons, to be laid out in its place.
QWidget *withStepButtons(IntEdit *box);

// Each value once, in the order of its first appearance.
QStringList distinctInOrder(QStringList values);

// A work window over one table that adds, edits, deletes and prints its rows. It is in add
// mode exactly while 添加 is disabled; showing it enters add mode with a fresh number.
class RecordWindow : public WorkWindow, public QueryResettable {
    Q_OBJECT
public:
    RecordWindow(AppContext &ctx, WorkWindowKind kind, RecordTable table, QWidget *parent);
    ~RecordWindow() override;

    void btnaddClick();
    virtual void btneditClick();
    virtual void DBGrid1MouseUp();
    void btnsaveClick();
    void btndeleteClick();
    void btnqueryClick();
    void btnprintClick();
    // After a query: the fields emptied but for the table's keptByQuery, edit mode, 删除 as found.
    void resetAfterQuery(bool rows) override;

    ui::DBGrid *DBGrid1;
    ui::DBNavigator *DBNavigator1;
    Query *ADOQuery1;
    QPushButton *btnadd;
    QPushButton *btnedit;
    QPushButton *btnsave;
    QPushButton *btndelete;
    QPushButton *btnquery;
    QPushButton *btnprint;

protected:
    void FormShow() override;
    bool mayClose() override;

    // Further refusals of a member before a new record is appended; false stops the save.
    virtual bool passesAddChecks() { return true; }
    // Runs `handler` whenever the focus moves from `box` to another control of the program.
    template <typename Window>
    void onExit(QWidget *box, void (Window::*handler)());

    bool addMode() const;
    // The text of the entry named `name` as the user sees it.
    QString text(const QString &name) const;
    // In edit mode, loads the current record into the fields again, as stored now; typing
    // there would lose is asked about first.
    void followCurrentRecord();
    // A member's own button, placed in the button row before 添加.
    QPushButton *addButton(const QString &name, const QString &text);

private:
    struct Entry {
        RecordField field;
        QWidget *box;
    };

    void buildList();
    QWidget *buildFieldArea();
    QWidget *buildEditor(const RecordField &field);
    QWidget *buildButtonRow();
    void connectHandlers();

    static QString fieldText(const Entry &entry);
    static void setFieldText(const Entry &entry, const QString &text);
    static void clearField(const Entry &entry);
    void clearFields(bool keepNumber, bool keepDates = false);
    void loadCurrentRecord();
    void followReopenedList();
    bool keepsTyping();
    void fillLookups();
    void writeFields();
    void reopenList();
    QWidget *firstEntry() const;
    QLineEdit *numberBox() const;
    void enterMode(bool add);
    bool passesRequiredFields();
    bool passesNumberChecks();
    bool numberTaken(const QString &number);
    void postRecord(bool add);

    RecordTable table_;
    QList<Entry> entries_;  // the field area in tab order
    QHBoxLayout *buttonRow_ = nullptr;
    // The window moves the list itself (reopening, deleting, going back): the fields stay.
    bool movingList_ = false;
    bool posting_ = false;
    ui::FormChanges changes_;
    int loadedRow_ = -1;  // the row the fields belong to in edit mode
    // Set by a query's reset: the fields hold no record until one is loaded, so an edit-mode
    // save has nothing to write into.
    bool nothingLoaded_ = false;
};

template <typename Window>
void RecordWindow::onExit(QWidget *box, void (Window::*handler)())
{
    korv::onExit(box, static_cast<Window *>(this), handler);
}

}  // namespace korv
