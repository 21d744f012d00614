// 用户登陆: name and password check against the users table.
#include "shell/Uyhdl.h"

#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/Placement.h"
#include "data/Query.h"
#include "data/Schema.h"
#include "shell/Umain.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korv {

TFrmyhdl::TFrmyhdl(TFrmMain_wxgl &main)
    : QDialog(nullptr), main_(main), ADOQuery1(new Query(main.ADOConnection1(), this))
{
    setObjectName(QStringLiteral("TFrmyhdl"));
    setWindowTitle(QStringLiteral(" 用户登陆——电器维修管理系统"));
    setModal(true);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/art/login.jpg")));
    picture->setFixedSize(180, 240);
    picture->setScaledContents(true);

    auto *group = new QGroupBox(QStringLiteral("        登陆口令验证"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    ComboBox1 = new QComboBox(group);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Edit1 = new QLineEdit(group);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    // "*" for each character, not the style's dot.
    Edit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    Edit1->installEventFilter(this);
    auto *fields = new QGridLayout(group);
    fields->addWidget(new QLabel(QStringLiteral("用户名称"), group), 0, 0);
    fields->addWidget(ComboBox1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("验证口令"), group), 1, 0);
    fields->addWidget(Edit1, 1, 1);
    fields->setRowStretch(2, 1);

    btnok = new QPushButton(QStringLiteral(" 确定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setAutoDefault(false);
    btnexit = new QPushButton(QStringLiteral(" 取消"), this);
    btnexit->setObjectName(QStringLiteral("btnexit"));
    btnexit->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnok);
    buttons->addWidget(btnexit);

    auto *right = new QVBoxLayout;
    right->addWidget(group, 1);
    right->addLayout(buttons);
    auto *whole = new QHBoxLayout(this);
    whole->addWidget(picture);
    whole->addLayout(right, 1);
    setFixedSize(440, 270);
    centreOnDesktop(this);

    connectHandler(btnok, &QPushButton::clicked, this, &TFrmyhdl::btnokClick);
    connectHandler(btnexit, &QPushButton::clicked, this, &TFrmyhdl::btnexitClick);

    ADOQuery1->setSql(QStringLiteral("select * from yhb"));
    ADOQuery1->Open();
    FormCreate();
}

TFrmyhdl::~TFrmyhdl() = default;

void TFrmyhdl::FormCreate()
{
    loggedIn_ = false;
    ADOQuery1->First();
    ComboBox1->clear();
    while (!ADOQuery1->Eof()) {
        ComboBox1->addItem(ADOQuery1->asString(QStringLiteral("yhmc")).trimmed());
        ADOQuery1->Next();
    }
    ComboBox1->setEditText(QStringLiteral("管理员"));
}

void TFrmyhdl::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Edit1->setFocus();
}

// Enter in the password box works as OK.
bool TFrmyhdl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runHandler([this] { btnokClick(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmyhdl::btnokClick()
{
    const QString name = ComboBox1->currentText().trimmed();
    ComboBox1->setEditText(name);
    if (!ADOQuery1->Locate(QStringLiteral("yhmc"), name)) {
        msg::info(QStringLiteral(" 不存在此“用户名称”，请重新选择。 "));
        ComboBox1->setFocus();
        return;
    }
    if (Edit1->text() != ADOQuery1->asString(QStringLiteral("yhmm"))) {
        msg::info(QStringLiteral(" 管理员的默认登陆口令为385920，接单员的默认登陆口令为640713，请重输。 "));
        Edit1->setFocus();
        return;
    }
    loggedIn_ = true;
    SessionValues &session = main_.context().session;
    session.CurrentRole = int(ADOQuery1->asInteger(QStringLiteral("yhqx")));
    session.CurrentUserName = ADOQuery1->asString(QStringLiteral("yhmc"));
    usedDefaultPassword_ = session.CurrentRole == 1 && Edit1->text() == kDefaultAdministratorPassword;
    accept();
    main_.show();
    main_.enableCommandsAfterLogin();
}

void TFrmyhdl::btnexitClick()
{
    main_.endProgram();
    reject();
}

// Closing without a login ends the program while the main window has never been shown.
void TFrmyhdl::done(int result)
{
    if (!loggedIn_ && !main_.isVisible())
        main_.endProgram();
    QDialog::done(result);
}

}  // namespace korv
