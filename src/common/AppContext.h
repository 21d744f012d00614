// What the windows of one program run share: the connection, the session values, the status
// line, the open flags of the work windows and the scratch query for pick lists.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

namespace korv {

class Database;
class Query;

// The eleven work windows, in the order the main window closes them.
enum class WorkWindowKind { Wxxx, Bjxx, Khxx, Sjxx, Dxdj, Pxdj, Xfdj, Qjdj, Bjgl, Gjgl, Jyxx };
inline constexpr int kWorkWindowCount = 11;

struct SessionValues {
    QString CurrentUserName;
    int CurrentRole = 0;  // 1 administrator, anything else order-taker
    QString AppDir;       // the program directory, ending in a separator
    QString DeptCode;
    QString PendingAlarmHours;
    QString DispatchAlarmHours;
};

// Owned by the main window; every window of the run gets a reference to it.
class AppContext {
public:
    explicit AppContext(Database &db);
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    Database &db() { return db_; }
    Query &aqry_com() { return *aqry_com_; }
    SessionValues session;

    // Status line (panel 0 of the main window's status bar).
    void setStatus(const QString &text);
    QString status() const { return status_; }
    void setStatusSink(std::function<void(const QString &)> sink) { statusSink_ = std::move(sink); }

    bool openFlag(WorkWindowKind w) const { return openFlags_[size_t(w)]; }
    void setOpenFlag(WorkWindowKind w, bool open) { openFlags_[size_t(w)] = open; }

    bool isAdministrator() const { return session.CurrentRole == 1; }

    // Fills a pick list through the scratch query: one column of every row of `sql`, trimmed.
    QStringList lookupList(const QString &sql, const QString &column);
    // The same for several columns read in one pass, one list per column.
    QList<QStringList> lookupLists(const QString &sql, const QStringList &columns);

private:
    Database &db_;
    std::unique_ptr<Query> aqry_com_;
    QString status_;
    std::function<void(const QString &)> statusSink_;
    std::array<bool, kWorkWindowCount> openFlags_{};
};

}  // namespace korv
