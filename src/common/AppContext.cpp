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
    Query &q = aqry_com();
    q.Close();
    q.setSql(sql);
    q.Open();
    q.First();
    QStringList items;
    while (!q.Eof()) {
        items << q.asString(column).trimmed();
        q.Next();
    }
    q.Close();
    return items;
}

}  // namespace korv
