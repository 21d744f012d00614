// Four buttons that move a query's current record: first, prior, next, last.
#pragma once

#include <QPointer>
#include <QStyle>
#include <QWidget>

class QToolButton;

namespace korv {
class Query;
}

namespace korv::ui {

// Moves its query's cursor; a button is enabled only when its move would go somewhere.
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    explicit DBNavigator(QWidget *parent);

    void setQuery(Query *query);
    Query *query() const { return query_; }

private:
    using Move = void (Query::*)();

    QToolButton *addButton(const QString &objectName, QStyle::StandardPixmap icon, const QString &tip, Move move);
    void run(Move move);
    void refresh();

    QPointer<Query> query_;
    QList<QMetaObject::Connection> queryConnections_;
    QToolButton *nbFirst;
    QToolButton *nbPrior;
    QToolButton *nbNext;
    QToolButton *nbLast;
};

}  // namespace korv::ui
