// Message boxes of the program: information, confirmation, plain and the error box.
#pragma once

#include <QString>

namespace korv {

enum class MessageKind { Information, Confirmation, Plain, Error };

// Shows a message and answers whether the user chose OK. Tests put a scripted presenter in
// place of the real boxes.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual bool present(MessageKind kind, const QString &caption, const QString &text) = 0;
};

// nullptr restores the real modal QMessageBox.
void setMessagePresenter(MessagePresenter *presenter);

inline const QString kMessageCaption = QStringLiteral("提示");
inline const QString kApplicationTitle = QStringLiteral("维修管理系统");

namespace msg {
void info(const QString &text);
// OK goes on; Cancel or closing the box answers false.
bool confirm(const QString &text);
void plain(const QString &text);
// The error box, titled with the application title.
void error(const QString &text);
}  // namespace msg

}  // namespace korv
