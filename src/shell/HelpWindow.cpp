// 帮助主题: the user guide in a window of the program, independent of any browser on the desktop.
#include "shell/HelpWindow.h"

#include "common/Widgets.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace korv {

TFrmHelp::TFrmHelp(const QString &indexFile, QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TFrmHelp"));
    setWindowTitle(QStringLiteral("帮助主题"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *toolbar = new QToolBar(this);
    const auto button = [toolbar](const char *name, const QString &caption) {
        auto *b = named(new QToolButton(toolbar), QLatin1String(name));
        b->setText(caption);
        b->setAutoRaise(true);
        toolbar->addWidget(b);
        return b;
    };
    btnback = button("btnback", QStringLiteral("后退"));
    btnforward = button("btnforward", QStringLiteral("前进"));
    btnhome = button("btnhome", QStringLiteral("目录"));

    TextBrowser1 = named(new QTextBrowser(this), QStringLiteral("TextBrowser1"));
    TextBrowser1->setOpenExternalLinks(true);
    TextBrowser1->setSource(QUrl::fromLocalFile(indexFile));

    connect(btnback, &QToolButton::clicked, TextBrowser1, &QTextBrowser::backward);
    connect(btnforward, &QToolButton::clicked, TextBrowser1, &QTextBrowser::forward);
    connect(btnhome, &QToolButton::clicked, TextBrowser1, &QTextBrowser::home);
    connect(TextBrowser1, &QTextBrowser::backwardAvailable, btnback, &QToolButton::setEnabled);
    connect(TextBrowser1, &QTextBrowser::forwardAvailable, btnforward, &QToolButton::setEnabled);
    btnback->setEnabled(false);
    btnforward->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(TextBrowser1, 1);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(std::min(1000, area.width() * 9 / 10), std::min(760, area.height() * 9 / 10));
        move(area.center() - rect().center());
    }
}

QString userGuideFile(const QString &programDir)
{
    return programDir + QStringLiteral("help/index.html");
}

}  // namespace korv
