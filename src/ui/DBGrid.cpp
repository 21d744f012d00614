// The data-bound list: keeps the selected row and the query's current record the same.
#include "ui/DBGrid.h"

#include "common/Handlers.h"
#include "data/Database.h"
#include "data/Query.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>
#include <cmath>

namespace korv::ui {

namespace {
// Longer texts are wider than any capped column, so the rest of such a text is never measured.
constexpr qsizetype kLongestMeasured = 200;
}  // namespace

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

    // The header forgets section sizes when the model resets, which every reopening does; the
    // sizes it passes through meanwhile are not the user's.
    connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { settingWidths_ = true; });
    connect(model_, &QAbstractItemModel::modelReset, this, &DBGrid::applyColumnWidths);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &DBGrid::rememberUserWidth);
    fitRowHeight();
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
                          << connect(query, &Query::rowsLoaded, model_, &QueryModel::appendRows)
                          << connect(query, &Query::rowRemoved, this, &DBGrid::rowRemoved)
                          << connect(query, &Query::rowChanged, this, &DBGrid::rowChanged)
                          << connect(query, &Query::currentChanged, this, &DBGrid::followQuery)
                          << connect(query, &QObject::destroyed, this, [this] { setQuery(nullptr); });
    }
    followQuery();
}

void DBGrid::setColumns(const QList<GridColumn> &columns)
{
    userWidths_.clear();
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

void DBGrid::setFillWidth(bool on)
{
    fillWidth_ = on;
    spreadColumns();
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    pressing_ = true;
    QTableView::mousePressEvent(event);
}

void DBGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    pressing_ = false;
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

// Leaving a record that is being entered writes it, which may be refused, and a window may
// send the query back to keep what was typed for its record; the selection then goes back to
// the record the query kept.
void DBGrid::userMovedTo(const QModelIndex &current)
{
    if (followingQuery_ || !current.isValid() || !query() || current.row() == query()->RecNo())
        return;
    if (!runHandler([&] { query()->moveTo(current.row()); }) || query()->RecNo() != current.row()) {
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

// A width the user dragged a column to outlives the reopenings that follow a save or a query.
void DBGrid::applyColumnWidths()
{
    settingWidths_ = true;
    const int columns = int(model_->columns().size());
    userWidths_.resize(columns);
    fittedWidths_.resize(columns);
    const int rows = std::min(model_->rowCount(), kFirstScreenRows);
    for (int i = 0; i < columns; ++i) {
        fittedWidths_[i] = fittedWidth(i, rows);
        setColumnWidth(i, userWidths_[i] > 0 ? userWidths_[i] : fittedWidths_[i]);
    }
    settingWidths_ = false;
    spreadColumns();
}

void DBGrid::spreadColumns()
{
    if (!fillWidth_ || fittedWidths_.size() != userWidths_.size())
        return;
    int used = 0;
    int shared = 0;
    for (qsizetype i = 0; i < fittedWidths_.size(); ++i) {
        used += userWidths_[i] > 0 ? userWidths_[i] : fittedWidths_[i];
        shared += userWidths_[i] > 0 ? 0 : fittedWidths_[i];
    }
    const int room = std::max(viewport()->width() - used, 0);
    if (shared == 0)
        return;
    QScopedValueRollback guard(settingWidths_, true);
    int given = 0;
    int last = -1;
    for (int i = 0; i < int(fittedWidths_.size()); ++i) {
        if (userWidths_[i] > 0)
            continue;
        const int extra = int(qint64(room) * fittedWidths_[i] / shared);
        setColumnWidth(i, fittedWidths_[i] + extra);
        given += extra;
        last = i;
    }
    // What the rounding left goes to the last column, so the columns end at the list's edge.
    setColumnWidth(last, columnWidth(last) + room - given);
}

// The given width is the least; the header and the texts of the first `rows` rows may widen it
// up to the cap.
int DBGrid::fittedWidth(int column, int rows) const
{
    const int given = model_->columns()[column].width;
    int width = std::max(given > 0 ? given : horizontalHeader()->defaultSectionSize(),
                         horizontalHeader()->sectionSizeHint(column));
    const int cap = std::max(width, kFittedWidthCap);
    for (int row = 0; row < rows && width < cap; ++row)
        width = std::max(width, textWidth(model_->index(row, column).data().toString()));
    return std::min(width, cap);
}

// The room a cell needs: the text, the delegate's margins on both sides and the grid line. The
// text is laid out in fractions of a pixel; rounded down, the last character would be elided.
int DBGrid::textWidth(const QString &text) const
{
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const qreal advance = QFontMetricsF(font()).horizontalAdvance(text.left(kLongestMeasured));
    return int(std::ceil(advance)) + 1 + 2 * margin + 1;
}

void DBGrid::rememberUserWidth(int column, int, int newWidth)
{
    if (!settingWidths_ && column >= 0 && column < userWidths_.size())
        userWidths_[column] = newWidth;
}

// Rows as high as their text needs, so a tall list shows as many as it can.
void DBGrid::fitRowHeight()
{
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

bool DBGrid::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        const bool handled = QTableView::viewportEvent(event);
        spreadColumns();
        return handled;
    }
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    if (!showCutText(help->pos(), help->globalPos()))
        QToolTip::hideText();
    return true;
}

// Rich text, so that a long text wraps in the tooltip instead of running off the screen.
bool DBGrid::showCutText(const QPoint &at, const QPoint &globalAt)
{
    const QModelIndex index = indexAt(at);
    if (!index.isValid())
        return false;
    const QString text = index.data().toString();
    if (text.isEmpty() || textWidth(text) <= columnWidth(index.column()))
        return false;
    QToolTip::showText(globalAt, Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal), viewport(), visualRect(index));
    return true;
}

}  // namespace korv::ui
