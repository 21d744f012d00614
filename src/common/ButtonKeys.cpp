// The application-wide filter behind Enter on a focused button.
#include "common/ButtonKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace korv {

namespace {

const char kFilterName[] = "korvButtonKeys";

// Watches key presses of the whole application; only those that reach a focused button
// are taken, everything else goes on untouched.
class ButtonKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        if (!qobject_cast<QPushButton *>(button) && !qobject_cast<QToolButton *>(button))
            return false;
        // Holding the key down presses the button once, not once per repeat: a held Enter on
        // 保存 must not save twice.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

}  // namespace

void installButtonKeys()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || app->findChild<QObject *>(QLatin1String(kFilterName), Qt::FindDirectChildrenOnly))
        return;
    auto *filter = new ButtonKeys(app);
    filter->setObjectName(QLatin1String(kFilterName));
    app->installEventFilter(filter);
}

}  // namespace korv
