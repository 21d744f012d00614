// Session values, status line and pick-list look-ups shared by the windows.
#include "common/AppContext.h"

#include "data/Query.h"

namespace korv {

AppContext::AppContext(Database &db) : db_(db), aqry_com_(std::make_unique<Query>(db)) {}

AppContext::~AppContext() = default;

void AppContext::setStatus(const QString &text)
{
    status_ = text;
    if (statusSink_)
        statusSink_(text);
}

QStringList AppContext::lookupList(const QString &sql, const QString &column)
{
    return lookupLists(sql, {column}).constFirst();
}

QList<QStringList> AppContext::lookupLists(const QString &sql, const QStringList &columns)
{
    Query &q = aqry_com();
    q.Close();
    q.setSql(sql);
    q.Open();
    q.First();
    QList<QStringList> lists(columns.size());
    while (!q.Eof()) {
        for (qsizetype i = 0; i < columns.size(); ++i)
            lists[i] << q.asString(columns[i]).trimmed();
        q.Next();
    }
    q.Close();
    return lists;
}

}  // namespace korv
