// The data-bound list: keeps the selected row and the query's current record the same.
#include "ui/DBGrid.h"

#include "common/Handlers.h"
#include "data/Database.h"
#include "data/Query.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace korv::ui {

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), model_(new QueryModel(this))
{
    setModel(model_);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    setHorizontalScrollMode(ScrollPerPixel);
    // Fixed row heights let the view place 200,000 rows without measuring any of them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The header forgets section sizes when the model resets, which every reopening does.
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::applyColumnWidths);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &DBGrid::userMovedTo);
    connect(this, &QAbstractItemView::doubleClicked, this, &DBGrid::rowDoubleClicked);
}

void DBGrid::setQuery(Query *query)
{
    for (const QMetaObject::Connection &c : std::as_const(queryConnections_))
        disconnect(c);
    queryConnections_.clear();
    {
        QScopedValueRollback guard(followingQuery_, true);
        model_->setQuery(query);
    }
    if (query) {
        queryConnections_ << connect(query, &Query::rowsReset, this, &DBGrid::rowsReset)
                          << connect(query, &Query::rowInserted, this, &DBGrid::rowInserted)
                          << connect(query, &Query::rowRemoved, this, &DBGrid::rowRemoved)
                          << connect(query, &Query::rowChanged, this, &DBGrid::rowChanged)
                          << connect(query, &Query::currentChanged, this, &DBGrid::followQuery)
                          << connect(query, &QObject::destroyed, this, [this] { setQuery(nullptr); });
    }
    followQuery();
}

void DBGrid::setColumns(const QList<GridColumn> &columns)
{
    {
        QScopedValueRollback guard(followingQuery_, true);
        model_->setColumns(columns);
    }
    followQuery();
}

void DBGrid::setRowBackground(std::function<QColor(int)> colour)
{
    model_->setRowBackground(std::move(colour));
}

// A style sheet rather than the palette: once the program's theme is applied, the style ignores
// widget palettes. Without it the list falls back to the system window colour.
void DBGrid::setAddModeLook(bool on)
{
    addModeLook_ = on;
    setStyleSheet(on ? QStringLiteral("QTableView { background-color: #EDEFF8; }") : QString());
}

void DBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    emit mouseUp();
}

// The current record's row must stay selected, so a control-click never deselects it and a
// click below the last row changes nothing.
QItemSelectionModel::SelectionFlags DBGrid::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QTableView::selectionCommand(index, event);
    if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return command;
}

void DBGrid::followQuery()
{
    QScopedValueRollback guard(followingQuery_, true);
    const Query *q = query();
    const int row = q ? q->RecNo() : -1;
    if (row < 0 || row >= model_->rowCount() || model_->columnCount() == 0) {
        selectionModel()->clear();
        return;
    }
    // The view scrolls to a new current index by itself.
    selectionModel()->setCurrentIndex(model_->index(row, std::max(currentIndex().column(), 0)),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// While the model follows the query's own changes, the selection model shifts the current row
// by itself; those shifts must not be sent back to the query halfway through its operation.
void DBGrid::rowsReset()
{
    {
        QScopedValueRollback guard(followingQuery_, true);
        model_->resetRows();
    }
    followQuery();
}

void DBGrid::rowInserted(int row)
{
    QScopedValueRollback guard(followingQuery_, true);
    model_->insertRowAt(row);
}

void DBGrid::rowRemoved(int row)
{
    QScopedValueRollback guard(followingQuery_, true);
    model_->removeRowAt(row);
}

void DBGrid::rowChanged(int row)
{
    model_->refreshRow(row);
}

// Leaving a record that is being entered writes it, which may be refused; the selection then
// goes back to the record the query kept.
void DBGrid::userMovedTo(const QModelIndex &current)
{
    if (followingQuery_ || !current.isValid() || !query() || current.row() == query()->RecNo())
        return;
    if (!runHandler([&] { query()->moveTo(current.row()); })) {
        followQuery();
        // A mouse press goes on to select the pressed row after this; undo that once it is done.
        QMetaObject::invokeMethod(this, &DBGrid::followQuery, Qt::QueuedConnection);
    }
}

// The press before a double click has already moved the query; when that move was refused,
// the double-clicked row is not the current record and the handlers must not act on it.
void DBGrid::rowDoubleClicked(const QModelIndex &index)
{
    if (!query() || index.row() == query()->RecNo())
        emit dblClick();
}

void DBGrid::applyColumnWidths()
{
    const QList<GridColumn> &columns = model_->columns();
    for (qsizetype i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0)
            setColumnWidth(int(i), columns[i].width);
}

}  // namespace korv::ui
