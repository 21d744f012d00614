// 修改口令: the logged-in user replaces the own password.
#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace korv {

class AppContext;
class Query;

// The change-password window: the new password twice, at least six GBK bytes long.
class Tfrmxgkl : public QDialog {
    Q_OBJECT
public:
    Tfrmxgkl(AppContext &ctx, QWidget *parent = nullptr);

    void btnokClick();
    void btnexitClick();

    QGroupBox *GroupBox1;
    QLineEdit *edit1;
    QLineEdit *edit2;
    QPushButton *btnok;
    QPushButton *btnexit;

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &ctx_;
    Query *ADOQuery1;
};

}  // namespace korv
