// Record navigation buttons bound to a query.
#include "ui/DBNavigator.h"

#include "common/Handlers.h"
#include "data/Database.h"
#include "data/Query.h"
#include "ui/QueryModel.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace korv::ui {

DBNavigator::DBNavigator(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    nbFirst = addButton(QStringLiteral("nbFirst"), QStyle::SP_MediaSkipBackward, QStringLiteral("第一条记录"),
                        &Query::First);
    nbPrior = addButton(QStringLiteral("nbPrior"), QStyle::SP_ArrowLeft, QStringLiteral("上一条记录"), &Query::Prior);
    nbNext = addButton(QStringLiteral("nbNext"), QStyle::SP_ArrowRight, QStringLiteral("下一条记录"), &Query::Next);
    nbLast = addButton(QStringLiteral("nbLast"), QStyle::SP_MediaSkipForward, QStringLiteral("最后一条记录"),
                       &Query::Last);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    refresh();
}

QToolButton *DBNavigator::addButton(const QString &objectName, QStyle::StandardPixmap icon, const QString &tip,
                                    Move move)
{
    auto *button = new QToolButton(this);
    button->setObjectName(objectName);
    button->setIcon(style()->standardIcon(icon, nullptr, this));
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, move] { run(move); });
    layout()->addWidget(button);
    return button;
}

void DBNavigator::setQuery(Query *query)
{
    for (const QMetaObject::Connection &c : std::as_const(queryConnections_))
        disconnect(c);
    queryConnections_.clear();
    query_ = query;
    if (query) {
        // A removal can empty the set without any move, so structural changes refresh too.
        queryConnections_ << connect(query, &Query::currentChanged, this, &DBNavigator::refresh)
                          << connect(query, &Query::rowsReset, this, &DBNavigator::refresh)
                          << connect(query, &Query::rowInserted, this, &DBNavigator::refresh)
                          << connect(query, &Query::rowsLoaded, this, &DBNavigator::refresh)
                          << connect(query, &Query::rowRemoved, this, &DBNavigator::refresh)
                          << connect(query, &QObject::destroyed, this, [this] { setQuery(nullptr); });
    }
    refresh();
}

// Moving off a record that is being entered writes it first, and the write may be refused.
void DBNavigator::run(Move move)
{
    if (!query_)
        return;
    runHandler([&] { (query_->*move)(); });
    refresh();
}

void DBNavigator::refresh()
{
    // A long list still loading has rows after the last one known.
    const int count = query_ && query_->isOpen() ? query_->loadedCount() : 0;
    const int row = count > 0 ? query_->RecNo() : -1;
    const bool back = count > 0 && row > 0;
    const bool forward = count > 0 && row >= 0 && (row < count - 1 || !query_->fullyLoaded());
    nbFirst->setEnabled(back);
    nbPrior->setEnabled(back);
    nbNext->setEnabled(forward);
    nbLast->setEnabled(forward);
}

}  // namespace korv::ui
