// 帮助主题: the program's own window over the user guide that ships beside it.
#pragma once

#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace korv {

// Shows the guide's pages with their pictures; links between pages and sections are followed
// inside the window, with back and forward; web addresses go to the desktop's browser.
class TFrmHelp : public QWidget {
    Q_OBJECT
public:
    TFrmHelp(const QString &indexFile, QWidget *parent = nullptr);
    QTextBrowser *browser() const { return TextBrowser1; }

private:
    QTextBrowser *TextBrowser1;
    QToolButton *btnback;
    QToolButton *btnforward;
    QToolButton *btnhome;
};

// The guide's start page for `programDir` (which ends with a separator).
QString userGuideFile(const QString &programDir);

}  // namespace korv
