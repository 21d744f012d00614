// 用户登陆: identifies the user at start-up and after a logout.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korv {

class Query;
class TFrmMain_wxgl;

// The login window. A successful login sets the session's user and role, shows the main
// window and enables its commands by role; giving up without one may end the program.
class TFrmyhdl : public QDialog {
    Q_OBJECT
public:
    explicit TFrmyhdl(TFrmMain_wxgl &main);
    ~TFrmyhdl() override;

    void btnokClick();
    void btnexitClick();
    bool loggedIn() const { return loggedIn_; }
    // The administrator logged in with the password every copy of the program comes with.
    bool usedDefaultPassword() const { return usedDefaultPassword_; }

    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QPushButton *btnok;
    QPushButton *btnexit;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();

    TFrmMain_wxgl &main_;
    Query *ADOQuery1;
    bool loggedIn_ = false;
    bool usedDefaultPassword_ = false;
};

}  // namespace korv
