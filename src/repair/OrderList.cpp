// Station lists of repair orders and their overdue highlight.
#include "repair/OrderList.h"

#include "common/AppContext.h"
#include "common/Clock.h"
#include "data/Query.h"
#include "repair/Urep.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

namespace korv::repair {

OrderListNames OrderListNames::numbered(int n)
{
    const QString suffix = QString::number(n);
    return {QStringLiteral("ADOQuery") + suffix, QStringLiteral("DBGrid") + suffix,
            QStringLiteral("DBNavigator") + suffix};
}

OrderList::OrderList(AppContext &ctx, OrderState state, const OrderListNames &names,
                     const QList<ui::GridColumn> &columns, QWidget *owner)
    : QObject(owner), ctx_(ctx), state_(state), owner_(owner)
{
    query_ = new Query(ctx.db(), owner);
    query_->setObjectName(names.query);
    query_->setSql(listSql(state));
    grid_ = new ui::DBGrid(owner);
    grid_->setObjectName(names.grid);
    grid_->setColumns(columns);
    grid_->setQuery(query_);
    if (overdueColour(state).isValid())
        grid_->setRowBackground([this](int row) { return rowBackground(row); });
    navigator_ = new ui::DBNavigator(owner);
    navigator_->setObjectName(names.navigator);
    navigator_->setQuery(query_);
}

void OrderList::reload()
{
    query_->Close();
    query_->setSql(listSql(state_));
    query_->Open();
}

void OrderList::showUnfiltered()
{
    if (!query_->isOpen() || query_->sqlLines() != QStringList{listSql(state_)})
        reload();
}

void OrderList::reopen()
{
    query_->Close();
    query_->Open();
}

void OrderList::setColours(const QString &titleColour)
{
    grid_->setStyleSheet(QStringLiteral("QTableView { background-color: #EFEFEF; }"
                                        " QHeaderView::section { background-color: %1; }")
                             .arg(titleColour));
}

bool OrderList::isEmpty() const
{
    return !query_->isOpen() || query_->isEmpty();
}

QString OrderList::current(const QString &column) const
{
    return isEmpty() ? QString() : query_->asString(column);
}

bool OrderList::goToOrder(const QString &wxdh)
{
    const QString number = wxdh.trimmed();
    if (number.isEmpty() || isEmpty())
        return false;
    if (query_->asString(QStringLiteral("wxdh")) == number)
        return true;
    return query_->Locate(QStringLiteral("wxdh"), number);
}

TmldyForm *OrderList::printSheet()
{
    if (isEmpty())
        return nullptr;
    return showRepairSheet(*query_, owner_);
}

QColor OrderList::rowBackground(int row) const
{
    const int column = query_->columnIndex(overdueStampColumn(state_));
    if (column < 0)
        return {};
    const QString &hours =
        state_ == OrderState::Pending ? ctx_.session.PendingAlarmHours : ctx_.session.DispatchAlarmHours;
    return isOverdue(query_->cellText(row, column), hours, Clock::now()) ? overdueColour(state_) : QColor();
}

}  // namespace korv::repair
