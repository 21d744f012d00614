// Drives any window by the objectNames of its controls, as a user would: find, type, leave,
// click, click a row, read a cell.
#pragma once

#include <QString>
#include <QWidget>

namespace korv::ui {
class DBGrid;
}

namespace korv::test {

class WindowDriver {
public:
    explicit WindowDriver(QWidget *window = nullptr) : w(window) {}

    // The named control; a missing one fails the running test.
    template <class T = QWidget> T *find(const QString &name) const
    {
        T *found = w ? w->findChild<T *>(name) : nullptr;
        if (!found)
            fail(name);
        return found;
    }
    bool has(const QString &name) const { return w && w->findChild<QWidget *>(name); }

    // Puts the focus into the box, empties it and types `text` key by key.
    void type(const QString &name, const QString &text) const;
    // Types into a box and leaves it with Tab, so its leaving handler runs.
    void enter(const QString &name, const QString &text) const;
    // Leaves whatever box has the focus, with Tab.
    void leave(const QString &name) const;
    // Sets a box's text without typing (no key events, no leaving).
    void setText(const QString &name, const QString &text) const;
    // The text of a line edit, combo box, label, memo or button.
    QString text(const QString &name) const;

    // Clicks an enabled button; a disabled one fails the running test.
    void click(const QString &button) const;
    bool enabled(const QString &name) const;
    void clickRow(const QString &grid, int row) const;
    void doubleClickRow(const QString &grid, int row) const;
    // What the list shows in a cell, and how many rows it shows.
    QString cell(const QString &grid, int row, int column) const;
    int rowCount(const QString &grid) const;

    // objectName of the control that has the keyboard focus.
    static QString focused();
    // Whether the named control, or a part of it (a combo box's line edit), has the focus.
    bool hasFocus(const QString &name) const;

    QWidget *w = nullptr;

private:
    static void fail(const QString &name);
};

}  // namespace korv::test
