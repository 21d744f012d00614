// 关于系统: the about window.
#pragma once

#include <QDialog>

class QPushButton;

namespace korv {

// A picture filling the window, two lines of contact text and a button that closes it.
class TFrmabout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmabout(QWidget *parent = nullptr);
    QPushButton *btnok;
};

}  // namespace korv
