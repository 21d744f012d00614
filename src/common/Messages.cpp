// Real modal message boxes, replaceable by a scripted presenter in tests.
#include "common/Messages.h"

#include "common/Placement.h"

#include <QApplication>
#include <QMessageBox>

namespace korv {

namespace {
MessagePresenter *g_presenter = nullptr;

bool showBox(MessageKind kind, const QString &caption, const QString &text)
{
    if (g_presenter)
        return g_presenter->present(kind, caption, text);
    QMessageBox box;
    box.setWindowTitle(caption);
    box.setText(text);
    box.setWindowModality(Qt::ApplicationModal);
    switch (kind) {
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Confirmation:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MessageKind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    // Owned last: setting the modality makes the box a plain dialog of its parent again.
    ownBy(&box, frontWindow());
    return box.exec() == QMessageBox::Ok;
}
}  // namespace

void setMessagePresenter(MessagePresenter *presenter)
{
    g_presenter = presenter;
}

namespace msg {
void info(const QString &text)
{
    showBox(MessageKind::Information, kMessageCaption, text);
}

bool confirm(const QString &text)
{
    return showBox(MessageKind::Confirmation, kMessageCaption, text);
}

void plain(const QString &text)
{
    showBox(MessageKind::Plain, kMessageCaption, text);
}

void error(const QString &text)
{
    showBox(MessageKind::Error, kApplicationTitle, text);
}
}  // namespace msg

}  // namespace korv
