// 备件入库 / 备件出库 / 借出工具 / 归还工具: the dialog that books one stock movement
#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedLayout;

namespace korv {

class AppContext;
class IntEdit;
class Query;
namespace ui {
class DBNavigator;
}

// Books a movement on the current record of the stock window that opened it: parts in or out
// of stock, a tool lent or returned. It has no list of its own: it shows the opener's current
// record read-only and its navigators move the opener's list. Every movement is one guarded
// write of the stored row; a refusal writes nothing and keeps the dialog open.
class TFrmbjcr : public QDialog {
    Q_OBJECT
public:
    enum class Mode { StockIn, StockOut, Lend, Return };

    // `list` is the opener's query over bjkc (stock modes) or gjkc (tool modes).
    TFrmbjcr(AppContext &ctx, Query *list, QWidget *parent = nullptr);
    void setMode(Mode mode);
    Mode mode() const { return mode_; }

    void btnbjrkClick();
    void btnbjckClick();
    void btngjckClick();
    void btngjrkClick();

    QWidget *Panel1;  // spare parts
    QWidget *Panel2;  // tools
    QLabel *Label1;   // the quantity's label, set by the mode
    IntEdit *suiSpinEdit1;
    ui::DBNavigator *DBNavigator1;
    QPushButton *btnbjrk;
    QPushButton *btnbjck;
    QPushButton *btnexit1;
    QComboBox *ComboBox1;  // the borrower, lend mode
    QLineEdit *DBEdit9;    // the last borrower, return mode
    ui::DBNavigator *DBNavigator2;
    QPushButton *btngjck;
    QPushButton *btngjrk;
    QPushButton *btnexit2;

private:
    using Bound = QList<QPair<QLineEdit *, QString>>;  // read-only field and its column

    void buildPartPanel();
    void buildToolPanel();
    QLineEdit *boundField(Bound &bound, int number, const QString &column);
    void showRecord();
    void requireRecord() const;
    qint64 typedQuantity() const;
    void moveStock(qint64 delta, const QString &refusal);
    void refuse(const QString &text, QWidget *focus);
    void showStoredRow();
    void reopenList();
    QString toolCaption() const;

    AppContext &ctx_;
    Query *list_;
    QStackedLayout *panels_;
    QStackedLayout *partAction_;  // 入库 or 出库 at one place
    QStackedLayout *toolAction_;  // 借出 or 归还
    Mode mode_ = Mode::StockIn;
    Bound partFields_;
    Bound toolFields_;
};

}  // namespace korv
