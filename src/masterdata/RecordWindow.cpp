// The record-window protocol: numbering, modes, required fields, save, delete, list and print.
#include "masterdata/RecordWindow.h"

#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/EnterChain.h"
#include "common/Messages.h"
#include "common/Widgets.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "query_print/mldy.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace korv {

namespace {
constexpr int kListHeight = 150;
constexpr int kButtonWidth = 60;
// An edit-mode save while the fields hold no record, as after a query.
const QString kPickRecordFirst = QStringLiteral(" 请先在列表中选取要修改的记录。 ");

// The list model knows no alignment, so each column's is given by the view's delegate.
class ColumnAlignment : public QStyledItemDelegate {
public:
    ColumnAlignment(QList<Qt::Alignment> alignments, QObject *parent)
        : QStyledItemDelegate(parent), alignments_(std::move(alignments))
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() >= 0 && index.column() < alignments_.size())
            option->displayAlignment = alignments_[index.column()] | Qt::AlignVCenter;
    }

private:
    QList<Qt::Alignment> alignments_;
};

}  // namespace

RecordWindow::RecordWindow(AppContext &ctx, WorkWindowKind kind, RecordTable table, QWidget *parent)
    : WorkWindow(ctx, kind, parent), table_(std::move(table))
{
    // Opened by the first 添加 on showing, so a big table is read once, not twice.
    ADOQuery1 = new Query(ctx.db(), this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setSql(table_.sql);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    buildList();
    layout->addWidget(DBGrid1);
    layout->addWidget(buildFieldArea());
    layout->addStretch(1);
    layout->addWidget(buildButtonRow());

    QList<QWidget *> entries;
    for (const Entry &e : std::as_const(entries_))
        if (e.field.kind != RecordField::Kind::NumberBox)
            entries << e.box;
    highlightBoxes(entries);
    if (table_.enterChain)
        new EnterChain(this, entries);
    connectHandlers();
}

RecordWindow::~RecordWindow() = default;

void RecordWindow::buildList()
{
    DBGrid1 = new ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFixedHeight(kListHeight);
    QList<ui::GridColumn> columns;
    QList<Qt::Alignment> alignments;
    for (const RecordColumn &c : std::as_const(table_.columns)) {
        columns << ui::GridColumn{c.field, c.caption, c.width};
        alignments << (c.leftAligned ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    DBGrid1->setColumns(columns);
    DBGrid1->setItemDelegate(new ColumnAlignment(alignments, DBGrid1));
    DBGrid1->setQuery(ADOQuery1);
}

// Two columns of labelled entries in tab order; a wide entry takes a row of its own.
QWidget *RecordWindow::buildFieldArea()
{
    auto *area = new QWidget(this);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    int row = 0;
    int column = 0;
    for (const RecordField &f : std::as_const(table_.fields)) {
        if (f.wide && column != 0) {
            ++row;
            column = 0;
        }
        auto *label = new QLabel(f.label, area);
        QWidget *box = buildEditor(f);
        label->setBuddy(box);
        grid->addWidget(label, row, column);
        grid->addWidget(box, row, column + 1, 1, f.wide ? 3 : 1);
        entries_.append({f, box});
        column += 2;
        if (column == 4 || f.wide) {
            ++row;
            column = 0;
        }
    }
    return area;
}

QWidget *RecordWindow::buildEditor(const RecordField &field)
{
    QWidget *box = nullptr;
    switch (field.kind) {
    case RecordField::Kind::NumberBox: {
        auto *edit = new QLineEdit(this);
        edit->setReadOnly(true);
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, kBackground);
        edit->setPalette(p);
        box = edit;
        break;
    }
    case RecordField::Kind::Text:
        box = new QLineEdit(this);
        break;
    case RecordField::Kind::Combo: {
        // The list is fixed; what the user types is kept only as the entry's text.
        QComboBox *c = pickList(field.name, this);
        c->addItems(field.items);
        clearPick(c);
        box = c;
        break;
    }
    case RecordField::Kind::Date:
        box = new DatePicker(DatePicker::Kind::Date, this);
        break;
    }
    box->setObjectName(field.name);
    return box;
}

QWidget *RecordWindow::buildButtonRow()
{
    auto *row = new QWidget(this);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(6);
    DBNavigator1 = new ui::DBNavigator(row);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setQuery(ADOQuery1);
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    btnadd = namedButton(QStringLiteral("btnadd"), QStringLiteral("添加"), row, kButtonWidth);
    btnedit = namedButton(QStringLiteral("btnedit"), QStringLiteral("修改"), row, kButtonWidth);
    btnsave = namedButton(QStringLiteral("btnsave"), QStringLiteral("保存"), row, kButtonWidth);
    btndelete = namedButton(QStringLiteral("btndelete"), QStringLiteral("删除"), row, kButtonWidth);
    btnquery = namedButton(QStringLiteral("btnquery"), QStringLiteral("查询"), row, kButtonWidth);
    btnprint = namedButton(QStringLiteral("btnprint"), QStringLiteral("打印"), row, kButtonWidth);
    for (QPushButton *b : {btnadd, btnedit, btnsave, btndelete, btnquery, btnprint})
        buttons->addWidget(b);
    return row;
}

void RecordWindow::connectHandlers()
{
    connectHandler(btnadd, &QPushButton::clicked, this, &RecordWindow::btnaddClick);
    connectHandler(btnedit, &QPushButton::clicked, this, &RecordWindow::btneditClick);
    connectHandler(btnsave, &QPushButton::clicked, this, &RecordWindow::btnsaveClick);
    connectHandler(btndelete, &QPushButton::clicked, this, &RecordWindow::btndeleteClick);
    connectHandler(btnquery, &QPushButton::clicked, this, &RecordWindow::btnqueryClick);
    connectHandler(btnprint, &QPushButton::clicked, this, &RecordWindow::btnprintClick);
    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &RecordWindow::DBGrid1MouseUp);
    connectHandler(ADOQuery1, &Query::currentChanged, this, &RecordWindow::followCurrentRecord);
    connectHandler(ADOQuery1, &Query::rowsReset, this, &RecordWindow::followCurrentRecord);
}

void RecordWindow::FormShow()
{
    btnaddClick();
    if (ADOQuery1->RecordCount() == 0) {
        btnedit->setEnabled(false);
        btndelete->setEnabled(false);
    }
}

bool RecordWindow::addMode() const
{
    return isAddMode(btnadd);
}

void RecordWindow::enterMode(bool add)
{
    setAddMode(btnadd, btnedit, add);
    DBGrid1->setAddModeLook(add);
    ctx_.setStatus(add ? status::kAddReady : status::kEditReady);
}

void RecordWindow::btnaddClick()
{
    clearFields(false);
    reopenList();
    firstEntry()->setFocus();
    enterMode(true);
}

void RecordWindow::btneditClick()
{
    enterMode(false);
    if (ADOQuery1->RecordCount() > 0)
        loadCurrentRecord();
}

// The protocol reads the mode here from 修改, so on a list that was empty when the window
// opened (修改 disabled) a click answers with the empty-list message.
void RecordWindow::DBGrid1MouseUp()
{
    if (btnedit->isEnabled())
        return;
    if (ADOQuery1->RecordCount() > 0)
        loadCurrentRecord();
    else
        msg::info(table_.emptyList);
}

void RecordWindow::btnsaveClick()
{
    QLineEdit *number = numberBox();
    if (number && number->text().isEmpty()) {
        msg::info(table_.emptyNumber);
        return;
    }
    const bool add = addMode();
    if (!add && nothingLoaded_) {
        msg::info(kPickRecordFirst);
        return;
    }
    if (!passesRequiredFields())
        return;
    if (add && number && numberTaken(number->text())) {
        msg::info(table_.duplicateNumber);
        return;
    }
    if (add && !passesAddChecks())
        return;
    postRecord(add);
    if (add) {
        msg::info(table_.savedAdd);
        // Advanced from the box, not recomputed: the table is not read again.
        if (number && !number->text().isEmpty())
            number->setText(advanceRecordNumber(number->text(), table_.numberWidth));
        clearFields(true);
        btnedit->setEnabled(true);
    } else {
        msg::info(table_.savedEdit);
    }
    firstEntry()->setFocus();
    btndelete->setEnabled(true);
    ctx_.setStatus(status::kSaved);
}

void RecordWindow::btndeleteClick()
{
    if (!mayDelete(ctx_, deletion::kConfirmRecord))
        return;
    ADOQuery1->Delete();
    clearFields(addMode());
    ctx_.setStatus(status::kDeleted);
    if (ADOQuery1->RecordCount() == 0)
        btndelete->setEnabled(false);
}

void RecordWindow::btnqueryClick()
{
    if (const std::optional<QueryTarget> target = singleListTarget(kind()))
        showQueryDialog(ctx_, this, *target);
}

void RecordWindow::resetAfterQuery(bool rows)
{
    for (const Entry &e : std::as_const(entries_))
        if (!table_.keptByQuery.contains(e.field.name))
            clearField(e);
    nothingLoaded_ = true;
    setAddMode(btnadd, btnedit, false);
    DBGrid1->setAddModeLook(false);
    btndelete->setEnabled(rows);
}

void RecordWindow::btnprintClick()
{
    showPreview(report::buildListReport(table_.printout, *ADOQuery1), window());
}

bool RecordWindow::passesRequiredFields()
{
    for (const Entry &e : std::as_const(entries_)) {
        if (e.field.required.isEmpty() || !fieldText(e).isEmpty())
            continue;
        msg::info(e.field.required);
        e.box->setFocus();
        return false;
    }
    return true;
}

// Looked up in the table rather than in the list, so a number that another window or program
// has taken since the list was read is refused too, and the cost does not grow with the table.
bool RecordWindow::numberTaken(const QString &number)
{
    const QString count = ctx_.db().scalar(QStringLiteral("select count(*) from ") + table_.name
                                           + QStringLiteral(" where bh = ") + sqlQuote(number));
    return count != QLatin1String("0");
}

void RecordWindow::postRecord(bool add)
{
    if (add)
        ADOQuery1->Append();
    else
        ADOQuery1->Edit();
    writeAndPost(*ADOQuery1, [this] { writeFields(); });
}

void RecordWindow::writeFields()
{
    for (const Entry &e : std::as_const(entries_)) {
        if (e.field.kind == RecordField::Kind::Date) {
            // A date value without a time of day.
            ADOQuery1->setDateTime(e.field.column, wallClock(static_cast<DatePicker *>(e.box)->date()));
            continue;
        }
        const QString value = fieldText(e);
        ADOQuery1->setText(e.field.column, e.field.trimmed ? value.trimmed() : value);
    }
}

void RecordWindow::reopenList()
{
    QScopedValueRollback guard(reopening_, true);
    if (QLineEdit *number = numberBox()) {
        number->setText(nextRecordNumber(*ADOQuery1, table_.name, table_.numberWidth));
        return;
    }
    ADOQuery1->Close();
    ADOQuery1->setSql(table_.sql);
    ADOQuery1->Open();
    if (!ADOQuery1->Eof())
        ADOQuery1->Last();
}

// In edit mode the fields always show the current record, however it moved (navigator, keys,
// a reopened list), so an edit-mode save never writes one row's values into another.
void RecordWindow::followCurrentRecord()
{
    if (reopening_ || addMode() || !ADOQuery1->isOpen() || ADOQuery1->RecordCount() == 0)
        return;
    loadCurrentRecord();
}

void RecordWindow::loadCurrentRecord()
{
    nothingLoaded_ = false;
    clearFields(false);
    for (const Entry &e : std::as_const(entries_)) {
        const QString value = ADOQuery1->asString(e.field.column);
        if (!value.isEmpty())
            setFieldText(e, value);
    }
}

void RecordWindow::clearFields(bool keepNumber)
{
    for (const Entry &e : std::as_const(entries_))
        if (!(keepNumber && e.field.kind == RecordField::Kind::NumberBox))
            clearField(e);
}

QString RecordWindow::fieldText(const Entry &entry)
{
    QWidget *box = entry.box;
    switch (entry.field.kind) {
    case RecordField::Kind::Combo:
        return static_cast<QComboBox *>(box)->currentText();
    case RecordField::Kind::Date:
        return static_cast<DatePicker *>(box)->dateText();
    default:
        return static_cast<QLineEdit *>(box)->text();
    }
}

void RecordWindow::setFieldText(const Entry &entry, const QString &text)
{
    QWidget *box = entry.box;
    switch (entry.field.kind) {
    case RecordField::Kind::Combo:
        static_cast<QComboBox *>(box)->setEditText(text);
        break;
    case RecordField::Kind::Date:
        static_cast<DatePicker *>(box)->setFromText(text);
        break;
    default:
        static_cast<QLineEdit *>(box)->setText(text);
        break;
    }
}

void RecordWindow::clearField(const Entry &entry)
{
    QWidget *box = entry.box;
    switch (entry.field.kind) {
    case RecordField::Kind::Combo:
        static_cast<QComboBox *>(box)->setCurrentIndex(-1);
        static_cast<QComboBox *>(box)->clearEditText();
        break;
    case RecordField::Kind::Date:
        static_cast<DatePicker *>(box)->setToNow();
        break;
    default:
        static_cast<QLineEdit *>(box)->clear();
        break;
    }
}

QWidget *RecordWindow::firstEntry() const
{
    for (const Entry &e : entries_)
        if (e.field.kind != RecordField::Kind::NumberBox)
            return e.box;
    return nullptr;
}

QLineEdit *RecordWindow::numberBox() const
{
    for (const Entry &e : entries_)
        if (e.field.kind == RecordField::Kind::NumberBox)
            return static_cast<QLineEdit *>(e.box);
    return nullptr;
}

QString RecordWindow::text(const QString &name) const
{
    for (const Entry &e : entries_)
        if (e.field.name == name)
            return fieldText(e);
    return QString();
}

}  // namespace korv
