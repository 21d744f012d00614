// 主窗口: command table, enabling by role, work-window opening, logout, help, about, exit.
#include "shell/Umain.h"

#include "common/Desktop.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/Placement.h"
#include "data/Database.h"
#include "data/Query.h"
#include "shell/Backup.h"
#include "shell/HelpWindow.h"
#include "shell/Uabout.h"
#include "shell/Uxgkl.h"
#include "shell/Uyhdl.h"
#include "shell/WorkWindows.h"
#include "ui/NavBar.h"

#include <QApplication>
#include <algorithm>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

// The artwork lives in the core library's resources; a static library needs them registered.
static void registerArtwork()
{
    Q_INIT_RESOURCE(resources);
}

namespace korv {

namespace {
enum Group { UserOps, SystemOps, BasicInfo, Business, Stock, Staff };

const char *const kMenuCaptions[] = {"   用户操作   ", "   系统维护   ", "   基本信息   ",
                                     "   业务管理   ", "   库存管理   ", "   职员管理   "};
const char *const kMenuNames[] = {"menuUser", "menuSystem", "menuBasic", "menuBusiness", "menuStock", "menuStaff"};

// One row of the command table. Commands without a handler are kept hidden.
struct Command {
    const char *menuName;
    const char *caption;
    Group group;
    const char *toolName;  // nullptr: no toolbar button
    const char *toolCaption;
    void (TFrmMain_wxgl::*handler)();
    bool separatorAfterInMenu;
    bool onNavBar;
};

using M = TFrmMain_wxgl;
const Command kCommands[] = {
    {"N1", "用户登陆", UserOps, "Tbtn1", " 用户登陆 ", &M::Tbtn1Click, false, false},
    {"N2", "注销用户", UserOps, "Tbtn2", "注销用户", &M::Tbtn2Click, true, false},
    {"N9", "关于系统", UserOps, "Tbtn9", "关于系统", &M::N9Click, false, false},
    {"N10", "帮助主题", UserOps, "Tbtn10", "帮助主题", &M::N10Click, true, false},
    {"N12", "退出系统", UserOps, "Tbtn11", "退出系统", &M::Tbtn11Click, false, false},
    {"NK24", "初始设置", SystemOps, "Tbtn4", "初始设置", &M::Tbtn4Click, false, false},
    {"N14", "修改口令", SystemOps, "Tbtn6", "修改口令", &M::Tbtn6Click, false, false},
    {"N4", "数据备份", SystemOps, "Tbtn7", "数据备份", &M::Tbtn7Click, false, false},
    {"N5", "权限设置", SystemOps, "Tbtn5", "权限设置", nullptr, false, false},
    {"N6", "更换底图", SystemOps, "Tbtn8", "更换底图", nullptr, false, false},
    {"NK3", "维修信息", BasicInfo, nullptr, nullptr, &M::NK3Click, false, true},
    {"NK2", "备件信息", BasicInfo, nullptr, nullptr, &M::NK2Click, false, true},
    {"Nk18", "职员信息", BasicInfo, nullptr, nullptr, &M::Nk18Click, false, true},
    {"NK4", "客户信息", BasicInfo, nullptr, nullptr, &M::NK4Click, false, true},
    {"NK5", "商家信息", BasicInfo, nullptr, nullptr, &M::NK5Click, false, true},
    {"NK7", "待修登记", Business, nullptr, nullptr, &M::NK7Click, false, true},
    {"NK8", "派修登记", Business, nullptr, nullptr, &M::NK8Click, false, true},
    {"NK9", "修复签收", Business, nullptr, nullptr, &M::NK9Click, false, true},
    {"NK10", "维修结算", Business, nullptr, nullptr, &M::NK10Click, false, true},
    {"NK11", "备件管理", Stock, nullptr, nullptr, &M::NK11Click, false, true},
    {"NK15", "工具管理", Stock, nullptr, nullptr, &M::NK15Click, false, true},
    {"N7", "职员信息", Staff, nullptr, nullptr, nullptr, false, true},
    {"N8", "工作记录", Staff, nullptr, nullptr, nullptr, false, true},
};

// The toolbar's own order; "|" is a separator.
const char *const kToolbarOrder[] = {"Tbtn1", "Tbtn2",  "|",      "Tbtn4", "Tbtn6", "Tbtn7", "Tbtn5",
                                     "Tbtn8", "|",      "Tbtn9",  "Tbtn10", "|",    "Tbtn11"};
const char *const kNavGroupCaptions[] = {"", "", "  基本信息  ", "  业务管理  ", "  库存管理  ", "  职员管理  "};
const char *const kNavGroupNames[] = {"", "", "navBasic", "navBusiness", "navStock", "navStaff"};

QIcon commandIcon(const char *name)
{
    static const struct {
        const char *name;
        QStyle::StandardPixmap pixmap;
    } icons[] = {
        {"N1", QStyle::SP_DialogYesButton},       {"N2", QStyle::SP_DialogNoButton},
        {"N9", QStyle::SP_MessageBoxInformation}, {"N10", QStyle::SP_DialogHelpButton},
        {"N12", QStyle::SP_DialogCloseButton},    {"NK24", QStyle::SP_FileDialogDetailedView},
        {"N14", QStyle::SP_DialogResetButton},    {"N4", QStyle::SP_DriveHDIcon},
        {"NK3", QStyle::SP_ComputerIcon},         {"NK2", QStyle::SP_DriveFDIcon},
        {"Nk18", QStyle::SP_DirHomeIcon},         {"NK4", QStyle::SP_FileDialogContentsView},
        {"NK5", QStyle::SP_DirIcon},              {"NK7", QStyle::SP_FileIcon},
        {"NK8", QStyle::SP_ArrowForward},         {"NK9", QStyle::SP_DialogApplyButton},
        {"NK10", QStyle::SP_DialogSaveButton},    {"NK11", QStyle::SP_DriveCDIcon},
        {"NK15", QStyle::SP_DriveNetIcon},
    };
    for (const auto &i : icons)
        if (qstrcmp(i.name, name) == 0)
            return QApplication::style()->standardIcon(i.pixmap);
    return QApplication::style()->standardIcon(QStyle::SP_FileIcon);
}

// Work-area caption and height of each work window, in open-flag order.
struct WorkWindowPlace {
    const char *caption;
    int height;
};
const WorkWindowPlace kPlaces[kWorkWindowCount] = {
    {"维修信息", 386}, {"备件信息", 386}, {"客户信息", 386},     {"商家信息", 386},
    {"待修登记", 386}, {"派修登记", 378}, {"修复签收", 378},     {"维修结算", 386},
    {"备件库存管理", 386}, {"工具库存管理", 386}, {"职员信息", 386},
};
// The caption bar's height, and the least room of a work window: it fills the rest of the
// work area and grows with it.
constexpr int kWorkWindowTop = 24;
constexpr int kWorkWindowWidth = 644;
const QString kPlaceKey = QStringLiteral("MainWindow/geometry");

QString readTheme(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}
}  // namespace

TFrmMain_wxgl::TFrmMain_wxgl(const QString &appDir, std::function<void()> endProgram, QWidget *parent)
    : QMainWindow(parent), endProgram_(std::move(endProgram))
{
    registerArtwork();
    setObjectName(QStringLiteral("TFrmMain_wxgl"));
    setWindowTitle(QStringLiteral(" Korvel电器维修管理系统"));
    db_ = std::make_unique<Database>(appDir + QStringLiteral("korv.mdb"));
    ctx_ = std::make_unique<AppContext>(*db_);
    ADOQuery3_ = std::make_unique<Query>(*db_);
    ADOQuery3_->setSql(QStringLiteral("select * from csszb"));
    ADOQuery3_->Open();

    // FormCreate
    ctx_->session.CurrentRole = 0;
    ctx_->session.CurrentUserName.clear();
    ctx_->session.AppDir = appDir;
    buildMenusAndToolbar();
    buildNavBar();
    buildCentralArea();
    buildStatusBar();
    loadThemes();
    enableCommandsLoggedOut();
    restoreWindowPlace(this, placeSettingsFile(appDir), kPlaceKey);
}

TFrmMain_wxgl::~TFrmMain_wxgl()
{
    // Work windows refer to the context; they go before it does.
    for (QPointer<QWidget> &w : workWindows_)
        delete w.data();
}

void TFrmMain_wxgl::buildMenusAndToolbar()
{
    QToolBar *toolbar = addToolBar(QStringLiteral("toolbar"));
    toolbar->setObjectName(QStringLiteral("ToolBar1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(24, 24));
    for (int g = 0; g < 6; ++g) {
        menus_[g] = menuBar()->addMenu(QString::fromUtf8(kMenuCaptions[g]));
        menus_[g]->setObjectName(QLatin1String(kMenuNames[g]));
    }
    menus_[Staff]->menuAction()->setVisible(false);
    for (const Command &c : kCommands) {
        QAction *item = menus_[c.group]->addAction(QString::fromUtf8(c.caption));
        item->setObjectName(QLatin1String(c.menuName));
        item->setVisible(c.handler != nullptr || c.group == Staff);
        if (c.handler)
            connectHandler(item, &QAction::triggered, this, c.handler);
        if (c.separatorAfterInMenu)
            menus_[c.group]->addSeparator();
    }
    for (const char *name : kToolbarOrder) {
        if (qstrcmp(name, "|") == 0) {
            toolbar->addSeparator();
            continue;
        }
        const Command &c = *std::find_if(std::begin(kCommands), std::end(kCommands), [name](const Command &k) {
            return k.toolName && qstrcmp(k.toolName, name) == 0;
        });
        auto *button = new QToolButton(toolbar);
        button->setObjectName(QLatin1String(c.toolName));
        button->setText(QString::fromUtf8(c.toolCaption));
        button->setIcon(commandIcon(c.menuName));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        QAction *slot = toolbar->addWidget(button);
        slot->setVisible(c.handler != nullptr);
        if (c.handler)
            connectHandler(button, &QToolButton::clicked, this, c.handler);
    }
}

void TFrmMain_wxgl::buildNavBar()
{
    navBar_ = new ui::NavBar(this);
    QWidget *groups[6] = {};
    for (int g = BasicInfo; g <= Staff; ++g)
        groups[g] = navBar_->addGroup(QLatin1String(kNavGroupNames[g]), QString::fromUtf8(kNavGroupCaptions[g]));
    navBar_->setGroupVisible(groups[Staff], false);
    for (const Command &c : kCommands) {
        if (!c.onNavBar)
            continue;
        QToolButton *b = navBar_->addItem(groups[c.group], QStringLiteral("nav") + QLatin1String(c.menuName),
                                          QString::fromUtf8(c.caption), commandIcon(c.menuName));
        if (c.handler)
            connectHandler(b, &QToolButton::clicked, this, c.handler);
    }
}

void TFrmMain_wxgl::buildCentralArea()
{
    auto *central = new QWidget(this);
    auto *row = new QHBoxLayout(central);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    // The groups are taller than a small screen; the bar scrolls rather than stretching the window.
    auto *navScroll = new QScrollArea(central);
    navScroll->setObjectName(QStringLiteral("navScroll"));
    navScroll->setWidget(navBar_);
    navScroll->setWidgetResizable(true);
    navScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    navScroll->setFrameShape(QFrame::NoFrame);
    // Narrow enough that the widest work window still fits beside it on an 800×600 screen.
    navScroll->setFixedWidth(120);
    row->addWidget(navScroll);

    auto *client = new QWidget(central);
    auto *stack = new QGridLayout(client);
    stack->setContentsMargins(0, 0, 0, 0);
    background_ = new QLabel(client);
    background_->setObjectName(QStringLiteral("Image1"));
    background_->setPixmap(QPixmap(QStringLiteral(":/art/background.jpg")));
    background_->setScaledContents(true);
    background_->setMinimumSize(1, 1);
    stack->addWidget(background_, 0, 0);

    workArea_ = new QFrame(client);
    workArea_->setObjectName(QStringLiteral("workArea"));
    workArea_->setAutoFillBackground(true);
    workAreaCaption_ = new QLabel(workArea_);
    workAreaCaption_->setObjectName(QStringLiteral("workAreaCaption"));
    workAreaCaption_->setFixedHeight(kWorkWindowTop);
    workAreaCaption_->setIndent(8);
    // A grid rather than a box, so a work window's least size can be given per command while
    // the window's own content may still ask for more.
    workLayout_ = new QGridLayout(workArea_);
    workLayout_->setContentsMargins(0, 0, 0, 0);
    workLayout_->setSpacing(0);
    workLayout_->addWidget(workAreaCaption_, 0, 0);
    workLayout_->setRowStretch(1, 1);
    workLayout_->setColumnStretch(0, 1);
    stack->addWidget(workArea_, 0, 0);
    workArea_->hide();
    row->addWidget(client, 1);
    setCentralWidget(central);
}

void TFrmMain_wxgl::buildStatusBar()
{
    statusPanel0_ = new QLabel(this);
    statusPanel0_->setObjectName(QStringLiteral("StatusPanel0"));
    statusPanel0_->setFixedWidth(400);
    auto *panel1 = new QLabel(QStringLiteral("  维修服务热线：0571-8000 1234"), this);
    panel1->setObjectName(QStringLiteral("StatusPanel1"));
    auto *panel2 = new QLabel(QStringLiteral("  技术支持：本店信息部"), this);
    panel2->setObjectName(QStringLiteral("StatusPanel2"));
    statusBar()->addWidget(statusPanel0_);
    statusBar()->addWidget(panel1, 1);
    statusBar()->addWidget(panel2, 1);
    // Who is working is shown apart from the status line, which every window writes.
    userPanel_ = new QLabel(this);
    userPanel_->setObjectName(QStringLiteral("StatusUser"));
    statusBar()->addPermanentWidget(userPanel_);
    ctx_->setStatusSink([label = QPointer<QLabel>(statusPanel0_)](const QString &text) {
        if (label)
            label->setText(text);
    });
}

// A missing theme file leaves the default look.
void TFrmMain_wxgl::loadThemes()
{
    setStyleSheet(readTheme(ctx_->session.AppDir + QStringLiteral("msn.sui")));
    workArea_->setStyleSheet(readTheme(ctx_->session.AppDir + QStringLiteral("OneBlue.sui")));
}

void TFrmMain_wxgl::setToolEnabled(const char *name, bool on)
{
    if (auto *b = findChild<QToolButton *>(QLatin1String(name)))
        b->setEnabled(on);
}

void TFrmMain_wxgl::setMenuItemEnabled(const char *name, bool on)
{
    if (auto *a = findChild<QAction *>(QLatin1String(name)))
        a->setEnabled(on);
}

void TFrmMain_wxgl::setGroupMenusEnabled(bool on)
{
    for (int g = SystemOps; g <= Stock; ++g)
        menus_[g]->menuAction()->setEnabled(on);
}

void TFrmMain_wxgl::enableCommandsAfterLogin()
{
    navBar_->setEnabled(true);
    setToolEnabled("Tbtn1", false);
    for (const char *name : {"Tbtn2", "Tbtn4", "Tbtn6", "Tbtn7", "Tbtn9", "Tbtn10", "Tbtn11"})
        setToolEnabled(name, true);
    menus_[UserOps]->menuAction()->setEnabled(true);
    setGroupMenusEnabled(true);
    setMenuItemEnabled("N1", false);
    setMenuItemEnabled("N2", true);
    const bool admin = ctx_->isAdministrator();
    for (const char *name : {"Tbtn4", "Tbtn7"})
        setToolEnabled(name, admin);
    for (const char *name : {"NK24", "N4"})
        setMenuItemEnabled(name, admin);
    showUser(true);
}

void TFrmMain_wxgl::enableCommandsLoggedOut()
{
    navBar_->setEnabled(false);
    for (const char *name : {"Tbtn1", "Tbtn9", "Tbtn10", "Tbtn11"})
        setToolEnabled(name, true);
    for (const char *name : {"Tbtn2", "Tbtn4", "Tbtn6", "Tbtn7"})
        setToolEnabled(name, false);
    menus_[UserOps]->menuAction()->setEnabled(true);
    setMenuItemEnabled("N1", true);
    setMenuItemEnabled("N2", false);
    setGroupMenusEnabled(false);
    showUser(false);
}

// The user's name and role while logged in; the session values outlive a logout, the panel not.
void TFrmMain_wxgl::showUser(bool loggedIn)
{
    if (!loggedIn) {
        userPanel_->setText(QStringLiteral("  未登录  "));
        return;
    }
    const QString role = ctx_->isAdministrator() ? QStringLiteral("管理员") : QStringLiteral("接单员");
    userPanel_->setText(QStringLiteral("  当前用户：") + ctx_->session.CurrentUserName + QStringLiteral("（") + role +
                        QStringLiteral("）  "));
}

QWidget *TFrmMain_wxgl::workArea() const
{
    return workArea_;
}

QWidget *TFrmMain_wxgl::currentWorkWindow() const
{
    for (const QPointer<QWidget> &w : workWindows_)
        if (w)
            return w;
    return nullptr;
}

// The place is kept only once the user has had the window on screen.
void TFrmMain_wxgl::endProgram()
{
    if (isVisible())
        saveWindowPlace(this, placeSettingsFile(ctx_->session.AppDir), kPlaceKey);
    if (endProgram_)
        endProgram_();
}

void TFrmMain_wxgl::closeEvent(QCloseEvent *event)
{
    if (!FrmClose()) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram();
}

void TFrmMain_wxgl::Tbtn1Click()
{
    TFrmyhdl login(*this);
    execInFront(login);
    if (login.usedDefaultPassword())
        askForOwnPassword();
}

void TFrmMain_wxgl::Tbtn2Click()
{
    workArea_->hide();
    enableCommandsLoggedOut();
}

void TFrmMain_wxgl::N9Click()
{
    TFrmabout about(this);
    execInFront(about);
}

void TFrmMain_wxgl::N10Click()
{
    const QString dir = ctx_->session.AppDir;
    if (const QString chm = dir + QStringLiteral("help.chm"); QFileInfo(chm).isFile()) {
        openWithDesktop(chm);
        return;
    }
    const QString guide = userGuideFile(dir);
    if (!QFileInfo(guide).isFile()) {
        msg::info(QStringLiteral(" 找不到帮助文件“") + QDir::toNativeSeparators(guide) + QStringLiteral("”，请检查。 "));
        return;
    }
    if (!helpWindow_)
        helpWindow_ = new TFrmHelp(guide, this);
    helpWindow_->show();
    helpWindow_->raise();
    helpWindow_->activateWindow();
}

void TFrmMain_wxgl::Tbtn11Click()
{
    if (FrmClose())
        endProgram();
}

void TFrmMain_wxgl::Tbtn4Click()
{
    if (std::unique_ptr<QDialog> settings = createSettingsDialog(*ctx_, this))
        execInFront(*settings);
}

// The default password is printed in every copy's log-in message, so it must not stay.
void TFrmMain_wxgl::askForOwnPassword()
{
    msg::info(QStringLiteral(" 管理员仍在使用默认口令，为安全起见，请立即修改口令。 "));
    Tbtn6Click();
    activateWindow();
}

void TFrmMain_wxgl::Tbtn6Click()
{
    Tfrmxgkl change(*ctx_, this);
    execInFront(change);
}

void TFrmMain_wxgl::Tbtn7Click()
{
    runBackup(*ctx_, this);
}

bool TFrmMain_wxgl::FrmClose()
{
    for (int k = 0; k < kWorkWindowCount; ++k) {
        if (!ctx_->openFlag(WorkWindowKind(k)))
            continue;
        if (QWidget *w = workWindows_[k]) {
            if (!w->close())
                return false;
            delete w;
        }
        ctx_->setOpenFlag(WorkWindowKind(k), false);
    }
    return true;
}

void TFrmMain_wxgl::openWorkWindow(WorkWindowKind kind)
{
    if (!workWindowBuilt(kind) || !FrmClose())
        return;
    const WorkWindowPlace &place = kPlaces[int(kind)];
    workArea_->show();
    workAreaCaption_->setText(QString::fromUtf8(place.caption));
    QWidget *w = createWorkWindow(kind, *ctx_, workArea_);
    workWindows_[int(kind)] = w;
    workLayout_->setColumnMinimumWidth(0, kWorkWindowWidth);
    workLayout_->setRowMinimumHeight(1, place.height);
    workLayout_->addWidget(w, 1, 0);
    w->show();
}

bool TFrmMain_wxgl::checkDeptCode()
{
    SessionValues &s = ctx_->session;
    s.DeptCode.clear();
    s.PendingAlarmHours.clear();
    s.DispatchAlarmHours.clear();
    ADOQuery3_->Close();
    ADOQuery3_->Open();
    if (ADOQuery3_->RecordCount() >= 1) {
        ADOQuery3_->First();
        s.DeptCode = ADOQuery3_->asString(QStringLiteral("bmdh"));
        s.PendingAlarmHours = ADOQuery3_->asString(QStringLiteral("bjqx"));
        s.DispatchAlarmHours = ADOQuery3_->asString(QStringLiteral("bjqx2"));
    }
    if (s.DeptCode.isEmpty()) {
        msg::info(QStringLiteral(" 请先在初始设置中设定本维修部门的部门代号。 "));
        return false;
    }
    return true;
}

void TFrmMain_wxgl::NK3Click() { openWorkWindow(WorkWindowKind::Wxxx); }
void TFrmMain_wxgl::NK2Click() { openWorkWindow(WorkWindowKind::Bjxx); }
void TFrmMain_wxgl::Nk18Click() { openWorkWindow(WorkWindowKind::Jyxx); }
void TFrmMain_wxgl::NK4Click() { openWorkWindow(WorkWindowKind::Khxx); }
void TFrmMain_wxgl::NK5Click() { openWorkWindow(WorkWindowKind::Sjxx); }
void TFrmMain_wxgl::NK10Click() { openWorkWindow(WorkWindowKind::Qjdj); }
void TFrmMain_wxgl::NK11Click() { openWorkWindow(WorkWindowKind::Bjgl); }
void TFrmMain_wxgl::NK15Click() { openWorkWindow(WorkWindowKind::Gjgl); }

void TFrmMain_wxgl::NK7Click()
{
    if (checkDeptCode())
        openWorkWindow(WorkWindowKind::Dxdj);
}

void TFrmMain_wxgl::NK8Click()
{
    if (checkDeptCode())
        openWorkWindow(WorkWindowKind::Pxdj);
}

void TFrmMain_wxgl::NK9Click()
{
    if (checkDeptCode())
        openWorkWindow(WorkWindowKind::Xfdj);
}

}  // namespace korv
