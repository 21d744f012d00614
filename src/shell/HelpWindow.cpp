// 帮助主题: the user guide in a window of the program, independent of any browser on the desktop.
#include "shell/HelpWindow.h"

#include "common/Widgets.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace korv {

namespace {
// The guide's own style sheet is written for web browsers; the text browser reads a subset of
// it, and with its line heights a picture would stand in a tall empty band. Its pages are shown
// with this one instead.
const char kGuideStyle[] = R"(
body { font-family: "Noto Sans CJK SC"; font-size: 15px; color: #222222; }
h1, h2 { color: #1d4f91; }
h3 { color: #333333; }
.figure { margin-top: 8px; margin-bottom: 16px; }
.caption { color: #666666; font-size: 13px; }
table { border-collapse: collapse; margin-top: 6px; margin-bottom: 6px; }
td, th { border: 1px solid #c2c9d4; padding: 3px; }
th { background-color: #eef3fa; }
code, kbd { background-color: #f3f3f3; font-size: 13px; }
.tip { background-color: #fff8e0; }
.note { background-color: #eef6ee; }
)";

class GuideBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        const QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource)
            return resource;
        static const QRegularExpression link(QStringLiteral("<link\\s+rel=\"stylesheet\"[^>]*>"));
        document()->setDefaultStyleSheet(QString::fromUtf8(kGuideStyle));
        // Figures are blocks to a web browser; the text browser knows no such element.
        return QString::fromUtf8(resource.toByteArray())
            .remove(link)
            .replace(QLatin1String("<figure>"), QLatin1String("<div class=\"figure\">"))
            .replace(QLatin1String("</figure>"), QLatin1String("</div>"))
            .replace(QLatin1String("<figcaption>"), QLatin1String("<div class=\"caption\">"))
            .replace(QLatin1String("</figcaption>"), QLatin1String("</div>"));
    }
};
}  // namespace

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

    TextBrowser1 = named(new GuideBrowser(this), QStringLiteral("TextBrowser1"));
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
