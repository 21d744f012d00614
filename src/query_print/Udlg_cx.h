// 查询: the modal dialog every list of the program is filtered through.
#pragma once

#include "query_print/QueryText.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korv {

class Query;
class WorkWindow;

// A work window whose entry form and buttons a query resets (intake and the record windows).
// The dialog calls it after the list has been refiltered; `rows` says whether it found any.
class QueryResettable {
public:
    virtual void resetAfterQuery(bool rows) = 0;

protected:
    ~QueryResettable() = default;
};

// Conditions typed into one of two groups (six fields for the record windows, twelve for the
// repair-order lists), fuzzy or exact. 查询 finds the open work window's list itself, rebuilds
// its SQL text, reopens it, resets the window and writes the count to the status line; one
// successful 查询 closes the dialog. It is destroyed when it closes.
class TFrmDlg_cx : public QDialog {
    Q_OBJECT
public:
    TFrmDlg_cx(AppContext &ctx, QWidget *parent);
    ~TFrmDlg_cx() override;

    // Prepares the dialog as the window whose list `target` is does before showing it: the
    // repair-order group for an order list, its title for an upper list, the target's captions.
    void prepare(QueryTarget target);
    bool ranQuery() const { return ranQuery_; }

    void btnqueryClick();
    void suiButton1Click();
    void btnprintClick();

    QGroupBox *suiRadioGroup1;  // six-field group
    QList<QLabel *> Lab;        // Lab1 to Lab6, then Lab7 to Lab10 (fields 9 to 12 of Group2)
    QList<QLineEdit *> edit;    // edit1 to edit6
    QGroupBox *Group2;          // repair-order group
    QList<QLineEdit *> suiEdit;  // suiEdit1 to suiEdit12
    QCheckBox *chkmh;
    QPushButton *btnquery;
    QPushButton *suiButton1;
    QPushButton *btnprint;

    void done(int result) override;

private:
    void FormCreate();
    void FormClose();
    QGroupBox *buildSixFieldGroup();
    QGroupBox *buildRepairGroup();
    QWidget *buildButtonRow();
    bool repairGroupShown() const;
    WorkWindow *findWorkWindow(WorkWindowKind kind) const;
    QStringList conditionTexts() const;

    AppContext &ctx_;
    // The window that opened the dialog; the dialog itself may belong to a window in front.
    QPointer<QWidget> origin_;
    bool ranQuery_ = false;
    bool closed_ = false;
};

// What a window's 查询 button does: creates the dialog over the window, prepares it for the
// window's list `target`, shows it modally and destroys it when it closes.
void showQueryDialog(AppContext &ctx, QWidget *window, QueryTarget target);

// Rebuilds `list` on the SQL text `lines` with its redrawing suspended meanwhile. When the engine
// refuses the text, the list goes back to the text it had (or, if that fails too, stays closed
// and empty) with its redrawing restored, and the error goes on to the caller.
void refilterList(Query &list, const QStringList &lines);

}  // namespace korv
