// 修改口令: checks of the new password and its writing.
#include "shell/Uxgkl.h"

#include "common/AppContext.h"
#include "common/Gbk.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/Placement.h"
#include "data/Query.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korv {

namespace {
constexpr int kMinimumPasswordBytes = 6;
// A password box shows "*" for each character, not the style's dot.
const QString kStarForEachCharacter = QStringLiteral("lineedit-password-character: 42");

QLineEdit *passwordBox(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(kStarForEachCharacter);
    return box;
}
}  // namespace

Tfrmxgkl::Tfrmxgkl(AppContext &ctx, QWidget *parent)
    : QDialog(parent), ctx_(ctx), ADOQuery1(new Query(ctx.db(), this))
{
    setObjectName(QStringLiteral("Tfrmxgkl"));
    setWindowTitle(QStringLiteral("修改口令"));
    setModal(true);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    edit1 = passwordBox(QStringLiteral("edit1"), GroupBox1);
    edit2 = passwordBox(QStringLiteral("edit2"), GroupBox1);
    auto *fields = new QGridLayout(GroupBox1);
    fields->addWidget(new QLabel(QStringLiteral("修改口令"), GroupBox1), 0, 0);
    fields->addWidget(edit1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("确认口令"), GroupBox1), 1, 0);
    fields->addWidget(edit2, 1, 1);

    btnok = new QPushButton(QStringLiteral(" 确定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnexit = new QPushButton(QStringLiteral(" 取消"), this);
    btnexit->setObjectName(QStringLiteral("btnexit"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnok);
    buttons->addWidget(btnexit);
    auto *whole = new QVBoxLayout(this);
    whole->addWidget(GroupBox1);
    whole->addLayout(buttons);
    setFixedSize(380, 180);
    centreOnDesktop(this);

    connectHandler(btnok, &QPushButton::clicked, this, &Tfrmxgkl::btnokClick);
    connectHandler(btnexit, &QPushButton::clicked, this, &Tfrmxgkl::btnexitClick);

    ADOQuery1->setSql(QStringLiteral("select * from yhb"));
    ADOQuery1->Open();
    // FormCreate
    GroupBox1->setTitle(QStringLiteral("当前用户为“") + ctx_.session.CurrentUserName +
                        QStringLiteral("”，修改其口令请输入："));
}

void Tfrmxgkl::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edit1->setFocus();
}

void Tfrmxgkl::btnokClick()
{
    if (edit1->text().trimmed().isEmpty()) {
        msg::info(QStringLiteral("“修改口令”不能为空,请重输。 "));
        edit1->setFocus();
        return;
    }
    if (edit2->text().trimmed().isEmpty()) {
        msg::info(QStringLiteral("“确认口令”不能为空,请重输。 "));
        edit2->setFocus();
        return;
    }
    if (gbkByteLength(edit1->text()) < kMinimumPasswordBytes) {
        msg::info(QStringLiteral("修改口令应不少于6位,请重输。 "));
        edit1->setFocus();
        return;
    }
    if (edit1->text() != edit2->text()) {
        msg::info(QStringLiteral("确认口令与修改口令不一致,请重输。 "));
        edit2->setFocus();
        return;
    }
    if (!ADOQuery1->Locate(QStringLiteral("yhmc"), ctx_.session.CurrentUserName)) {
        msg::info(QStringLiteral(" 不存在“") + ctx_.session.CurrentUserName + QStringLiteral("”用户，请检查。 "));
        return;
    }
    ADOQuery1->Edit();
    ADOQuery1->setText(QStringLiteral("yhmm"), edit1->text());
    ADOQuery1->Post();
    msg::info(QStringLiteral("修改口令成功！ "));
    accept();
}

void Tfrmxgkl::btnexitClick()
{
    reject();
}

}  // namespace korv
