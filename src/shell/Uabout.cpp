// 关于系统: picture, contact lines and the close button.
#include "shell/Uabout.h"

#include "common/Placement.h"

#include <QLabel>
#include <QPushButton>

namespace korv {

TFrmabout::TFrmabout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TFrmabout"));
    setWindowTitle(QStringLiteral("关于系统"));
    setModal(true);
    setFixedSize(400, 260);
    centreOnDesktop(this);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/art/about.jpg")));
    picture->setScaledContents(true);
    picture->setGeometry(0, 0, 400, 260);

    auto *line1 = new QLabel(QStringLiteral("电器维修管理系统　版本 1.0"), this);
    line1->setObjectName(QStringLiteral("Label1"));
    line1->setGeometry(24, 176, 300, 20);
    auto *line2 = new QLabel(QStringLiteral("服务热线：0571-8000 1234　　本店信息部"), this);
    line2->setObjectName(QStringLiteral("Label2"));
    line2->setGeometry(24, 200, 300, 20);

    btnok = new QPushButton(QStringLiteral(" 确定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(310, 222, 76, 28);
    connect(btnok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace korv
