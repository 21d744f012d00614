// 领取备件: taking spare parts out of stock for one dispatched repair order
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace korv {

class AppContext;
class IntEdit;
class Query;
namespace stock {
enum class StockChange;
}
namespace ui {
class DBGrid;
class DBNavigator;
}
namespace repair {
class OrderList;

// The issue text of an order that has been given no spare part.
inline const QString kNoPartsIssued = QStringLiteral("未领取任何备件");
// One issue: name, number in brackets, the quantity as typed and the unit, without blanks.
QString issueEntry(const QString &bjmc, const QString &bh, const QString &quantity, const QString &dw);
// The issue text after one more issue: the entry alone in place of kNoPartsIssued, otherwise
// appended after ", ".
QString addIssue(const QString &issueText, const QString &entry);
}  // namespace repair

// The modal spare-part issue window. Each 领取 lowers the stock of the chosen part and stores
// the order's issue text together; the dispatch form gets the issue text when the window closes.
class TFrmwxll : public QDialog {
    Q_OBJECT
public:
    TFrmwxll(AppContext &ctx, QWidget *parent = nullptr);

    // The order the parts go to: the current order of `orders`, whose issue text `issueBox`
    // shows. Sets the heading, and takes the box's text as the issue text unless it is empty.
    void setOrder(repair::OrderList *orders, QLineEdit *issueBox);
    QString issueText() const;

    void FormCreate();
    void DBGrid1MouseUp();
    void btnbjckClick();
    void btnprintClick();
    void FormClose();

    Query *ADOQuery1;
    ui::DBGrid *DBGrid1;
    ui::DBNavigator *DBNavigator1;
    QLabel *Lab1;
    QLabel *lab3;
    IntEdit *suiSpinEdit1;
    QPlainTextEdit *Memo1;
    QPushButton *btnbjck;
    QPushButton *btnprint;

    // Closing by 退出, the title bar or Escape all end here, so the issue text is never lost.
    void done(int result) override;

private:
    void buildLayout();
    void showSelectionLabel();
    // The quantity typed, after refusing 0, a negative number or more than the stock.
    bool checkQuantity(qint64 &quantity);
    stock::StockChange issue(const QString &bh, qint64 quantity, const QString &text);
    void showStock(const QString &bh);
    void followStoredIssueText();

    AppContext &ctx_;
    repair::OrderList *orders_ = nullptr;
    QLineEdit *issueBox_ = nullptr;
    QString wxdh_;
    QString storedIssueText_;  // the order's issue text as the file holds it
    bool closed_ = false;
};

}  // namespace korv
