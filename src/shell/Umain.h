// 主窗口: the frame of the program with its menus, toolbar, navigation bar and work area.
#pragma once

#include "common/AppContext.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QGridLayout;
class QLabel;
class QMenu;
class QToolButton;

namespace korv {

class Database;
class Query;
namespace ui {
class NavBar;
}

// The main window owns the connection, the settings query, the session values and the work
// area in which one work window at a time is shown.
class TFrmMain_wxgl : public QMainWindow {
    Q_OBJECT
public:
    // Opens the database in `appDir`; throws DbError when it cannot.
    TFrmMain_wxgl(const QString &appDir, std::function<void()> endProgram, QWidget *parent = nullptr);
    ~TFrmMain_wxgl() override;

    AppContext &context() { return *ctx_; }
    Database &ADOConnection1() { return *db_; }
    Query &ADOQuery3() { return *ADOQuery3_; }

    // Command handlers.
    void Tbtn1Click();
    void Tbtn2Click();
    void N9Click();
    void N10Click();
    void Tbtn11Click();
    void Tbtn4Click();
    void Tbtn6Click();
    void Tbtn7Click();
    void NK3Click();
    void NK2Click();
    void Nk18Click();
    void NK4Click();
    void NK5Click();
    void NK7Click();
    void NK8Click();
    void NK9Click();
    void NK10Click();
    void NK11Click();
    void NK15Click();

    // Closes every open work window, in the fixed order of the open flags. False when a window
    // keeps typing the user chose not to drop; it and the windows after it stay open.
    bool FrmClose();
    // The enabling a successful login leaves behind.
    void enableCommandsAfterLogin();
    void enableCommandsLoggedOut();
    // After a log-in with the administrator's default password: says so and opens 修改口令.
    void askForOwnPassword();

    QWidget *workArea() const;
    QWidget *currentWorkWindow() const;
    void endProgram();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    struct CommandSpec;
    void buildMenusAndToolbar();
    void buildNavBar();
    void buildCentralArea();
    void buildStatusBar();
    void loadThemes();
    void setToolEnabled(const char *name, bool on);
    void setMenuItemEnabled(const char *name, bool on);
    void setGroupMenusEnabled(bool on);
    void showUser(bool loggedIn);
    bool checkDeptCode();
    void openWorkWindow(WorkWindowKind kind);

    std::unique_ptr<Database> db_;
    std::unique_ptr<AppContext> ctx_;
    std::unique_ptr<Query> ADOQuery3_;
    std::function<void()> endProgram_;
    std::array<QMenu *, 6> menus_{};
    ui::NavBar *navBar_ = nullptr;
    QFrame *workArea_ = nullptr;
    QLabel *workAreaCaption_ = nullptr;
    QGridLayout *workLayout_ = nullptr;
    QLabel *background_ = nullptr;
    QLabel *statusPanel0_ = nullptr;
    QLabel *userPanel_ = nullptr;
    QPointer<QWidget> helpWindow_;
    std::array<QPointer<QWidget>, kWorkWindowCount> workWindows_{};
};

}  // namespace korv
