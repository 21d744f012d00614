// The record-window protocol: numbering, modes, required fields, save, delete, list and print.
#include "masterdata/RecordWindow.h"

#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/EnterChain.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
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
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korv {

namespace {
constexpr int kListHeight = 150;
constexpr int kButtonWidth = 60;
// An entry box wider than this only spreads a short text over a wide screen; a wide entry spans
// two of them.
constexpr int kEntryMaxWidth = 300;
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

// Steps a whole-number box by one, from its arrow keys and its two buttons. Text that reads as
// no number steps from 0.
class WholeNumberStepper : public QObject {
public:
    explicit WholeNumberStepper(IntEdit *box) : QObject(box), box_(box) { box->installEventFilter(this); }

    void step(int by)
    {
        if (box_->isReadOnly())
            return;
        constexpr qint64 kLimit = 999999999;  // the box holds nine digits
        const qint64 next = std::clamp(parseWholeNumber(box_->text()).value_or(0) + by, -kLimit, kLimit);
        box_->setText(QString::number(next));
    }

protected:
    // Ahead of the box's own arrow keys, which stop at 0.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down)
            return false;
        step(key == Qt::Key_Up ? 1 : -1);
        return true;
    }

private:
    IntEdit *box_;
};

QToolButton *stepButton(Qt::ArrowType arrow, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    return b;
}

}  // namespace

QWidget *withStepButtons(IntEdit *box)
{
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"(-?\d{0,9})")), box));
    auto *stepper = new WholeNumberStepper(box);
    auto *row = new QWidget(box->parentWidget());
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    box->setParent(row);
    layout->addWidget(box, 1);
    auto *arrows = new QVBoxLayout;
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    QToolButton *up = stepButton(Qt::UpArrow, row);
    QToolButton *down = stepButton(Qt::DownArrow, row);
    up->setObjectName(box->objectName() + QStringLiteral("Up"));
    down->setObjectName(box->objectName() + QStringLiteral("Down"));
    QObject::connect(up, &QToolButton::clicked, stepper, [stepper] { stepper->step(1); });
    QObject::connect(down, &QToolButton::clicked, stepper, [stepper] { stepper->step(-1); });
    arrows->addWidget(up);
    arrows->addWidget(down);
    layout->addLayout(arrows);
    return row;
}

QStringList distinctInOrder(QStringList values)
{
    values.removeDuplicates();
    return values;
}

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
    // The list takes whatever height the fields and the buttons leave.
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(buildFieldArea());
    layout->addWidget(buildButtonRow());

    QList<QWidget *> entries;
    for (const Entry &e : std::as_const(entries_))
        if (e.field.kind != RecordField::Kind::NumberBox)
            entries << e.box;
    highlightBoxes(entries);
    changes_.setBoxes(entries);
    ui::tabToSave(entries.last(), btnsave);
    if (table_.enterChain)
        new EnterChain(this, entries);
    fillLookups();
    connectHandlers();
}

RecordWindow::~RecordWindow() = default;

// Read once: a value added to the source meanwhile is offered after the window is reopened.
void RecordWindow::fillLookups()
{
    QStringList columns;
    QList<QComboBox *> boxes;
    for (const Entry &e : std::as_const(entries_))
        if (e.field.kind == RecordField::Kind::Lookup) {
            columns << e.field.lookup;
            boxes << static_cast<QComboBox *>(e.box);
        }
    if (columns.isEmpty())
        return;
    const QList<QStringList> lists = ctx_.lookupLists(table_.lookupSql, columns);
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        boxes[i]->addItems(distinctInOrder(lists[i]));
        clearPick(boxes[i]);
    }
}

void RecordWindow::buildList()
{
    DBGrid1 = new ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setMinimumHeight(kListHeight);
    QList<ui::GridColumn> columns;
    QList<Qt::Alignment> alignments;
    for (const RecordColumn &c : std::as_const(table_.columns)) {
        columns << ui::GridColumn{c.field, c.caption, c.width};
        alignments << (c.leftAligned ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    DBGrid1->setColumns(columns);
    DBGrid1->setFillWidth(true);
    DBGrid1->setItemDelegate(new ColumnAlignment(alignments, DBGrid1));
    DBGrid1->setQuery(ADOQuery1);
}

// Two columns of labelled entries in tab order; a wide entry takes a row of its own. The entries
// grow to their greatest width and leave the rest of a wide window empty.
QWidget *RecordWindow::buildFieldArea()
{
    auto *area = new QWidget(this);
    auto *beside = new QHBoxLayout(area);
    beside->setContentsMargins(0, 0, 0, 0);
    auto *grid = new QGridLayout;
    beside->addLayout(grid, 100);
    beside->addStretch(1);
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
        label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        QWidget *box = buildEditor(f);
        label->setBuddy(box);
        grid->addWidget(label, row, column);
        QWidget *placed = f.kind == RecordField::Kind::Whole ? withStepButtons(static_cast<IntEdit *>(box)) : box;
        if (!f.wide)
            placed->setMaximumWidth(kEntryMaxWidth);
        grid->addWidget(placed, row, column + 1, 1, f.wide ? 3 : 1);
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
    case RecordField::Kind::Combo:
    case RecordField::Kind::Lookup: {
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
    case RecordField::Kind::Whole:
        box = new IntEdit(this);
        static_cast<IntEdit *>(box)->setText(QStringLiteral("0"));
        break;
    case RecordField::Kind::Decimal:
        box = new MoneyEdit(this);
        static_cast<MoneyEdit *>(box)->setText(QStringLiteral("0.00"));
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
    buttonRow_ = buttons;
    return row;
}

QPushButton *RecordWindow::addButton(const QString &name, const QString &text)
{
    QPushButton *b = namedButton(name, text, btnadd->parentWidget(), kButtonWidth + 12);
    buttonRow_->insertWidget(buttonRow_->indexOf(btnadd), b);
    return b;
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
    connectHandler(ADOQuery1, &Query::rowsReset, this, &RecordWindow::followReopenedList);
}

void RecordWindow::FormShow()
{
    btnaddClick();
    if (ADOQuery1->RecordCount() == 0) {
        btnedit->setEnabled(false);
        btndelete->setEnabled(false);
    }
}

bool RecordWindow::mayClose()
{
    return changes_.mayDrop();
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
    if (!changes_.mayDrop())
        return;
    clearFields(false);
    reopenList();
    firstEntry()->setFocus();
    enterMode(true);
    changes_.take();
}

void RecordWindow::btneditClick()
{
    if (!changes_.mayDrop())
        return;
    enterMode(false);
    if (ADOQuery1->RecordCount() > 0)
        loadCurrentRecord();
    changes_.take();
}

// The protocol reads the mode here from 修改, so on a list that was empty when the window
// opened (修改 disabled) a click answers with the empty-list message.
void RecordWindow::DBGrid1MouseUp()
{
    if (btnedit->isEnabled())
        return;
    if (ADOQuery1->RecordCount() == 0)
        msg::info(table_.emptyList);
    else if (!keepsTyping())
        loadCurrentRecord();
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
    if (!passesRequiredFields() || !passesNumberChecks())
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
    changes_.take();
}

void RecordWindow::btndeleteClick()
{
    if (!mayDelete(ctx_, deletion::kConfirmRecord))
        return;
    {
        QScopedValueRollback guard(movingList_, true);
        ADOQuery1->Delete();
    }
    loadedRow_ = ADOQuery1->RecNo();
    clearFields(addMode(), table_.deleteKeepsDates);
    changes_.take();
    ctx_.setStatus(status::kDeleted);
    if (ADOQuery1->RecordCount() == 0)
        btndelete->setEnabled(false);
}

void RecordWindow::btnqueryClick()
{
    if (!changes_.mayDrop())
        return;
    if (const std::optional<QueryTarget> target = singleListTarget(kind()))
        showQueryDialog(ctx_, this, *target);
}

void RecordWindow::resetAfterQuery(bool rows)
{
    for (const Entry &e : std::as_const(entries_))
        if (!table_.keptByQuery.contains(e.field.name))
            clearField(e);
    nothingLoaded_ = true;
    loadedRow_ = ADOQuery1->RecNo();
    setAddMode(btnadd, btnedit, false);
    DBGrid1->setAddModeLook(false);
    btndelete->setEnabled(rows);
    changes_.take();
}

void RecordWindow::btnprintClick()
{
    showPreview(report::buildListReport(table_.printout, *ADOQuery1), window(), pdfExportName(table_.printout.title));
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

bool RecordWindow::passesNumberChecks()
{
    for (const Entry &e : std::as_const(entries_)) {
        if (e.field.belowZero.isEmpty())
            continue;
        const std::optional<qint64> value = parseWholeNumber(fieldText(e));
        if (!value || *value >= 0)
            continue;
        msg::info(e.field.belowZero);
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

// A record gone from the file meanwhile makes the post reopen the list; the fields follow it
// without a question, since what was typed has no record left to go to.
void RecordWindow::postRecord(bool add)
{
    QScopedValueRollback guard(posting_, true);
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
    QScopedValueRollback guard(movingList_, true);
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
// a movement dialog), so an edit-mode save never writes one row's values into another. A click
// in the list is left to its mouseUp, which loads the row.
void RecordWindow::followCurrentRecord()
{
    if (movingList_ || addMode() || !ADOQuery1->isOpen() || ADOQuery1->RecordCount() == 0 || DBGrid1->pressing())
        return;
    if (posting_ || !keepsTyping())
        loadCurrentRecord();
}

// The rows the fields came from are gone; what typing there was has been asked about before the
// list was reopened (查询).
void RecordWindow::followReopenedList()
{
    if (movingList_ || addMode() || !ADOQuery1->isOpen() || ADOQuery1->RecordCount() == 0)
        return;
    loadCurrentRecord();
}

// Whether the fields keep what was typed rather than take the current row. Keeping it sends the
// list back to the row the fields belong to.
bool RecordWindow::keepsTyping()
{
    if (changes_.mayDrop())
        return false;
    if (loadedRow_ >= 0 && loadedRow_ < ADOQuery1->RecordCount() && loadedRow_ != ADOQuery1->RecNo()) {
        QScopedValueRollback guard(movingList_, true);
        ADOQuery1->moveTo(loadedRow_);
    }
    return true;
}

void RecordWindow::loadCurrentRecord()
{
    nothingLoaded_ = false;
    loadedRow_ = ADOQuery1->RecNo();
    clearFields(false);
    for (const Entry &e : std::as_const(entries_)) {
        const QString value = ADOQuery1->asString(e.field.column);
        if (!value.isEmpty())
            setFieldText(e, value);
    }
    changes_.take();
}

void RecordWindow::clearFields(bool keepNumber, bool keepDates)
{
    for (const Entry &e : std::as_const(entries_))
        if (!(keepNumber && e.field.kind == RecordField::Kind::NumberBox)
            && !(keepDates && e.field.kind == RecordField::Kind::Date))
            clearField(e);
}

QString RecordWindow::fieldText(const Entry &entry)
{
    QWidget *box = entry.box;
    switch (entry.field.kind) {
    case RecordField::Kind::Combo:
    case RecordField::Kind::Lookup:
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
    case RecordField::Kind::Lookup:
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
    case RecordField::Kind::Lookup:
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
