// 初始设置: departments, maintenance terms and the shop's own settings
#pragma once

#include "ui/FormChanges.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace korv {

class AppContext;
class IntEdit;
class Query;
namespace ui {
class DBGrid;
class DBNavigator;
}

// The period text of a maintenance term from the typed years and months: "1年6月", "1年" or
// "6月". Empty when neither box holds more than blanks, and then no period is written.
QString maintenancePeriodText(const QString &years, const QString &months);

// One dictionary tab: its list, its buttons and its entry boxes. The tab is in add mode
// exactly while its 添加 is disabled.
struct DictionaryTab {
    Query *query = nullptr;
    ui::DBGrid *grid = nullptr;
    QPushButton *add = nullptr;
    QPushButton *edit = nullptr;
    QPushButton *remove = nullptr;
    QList<QLineEdit *> entries;          // emptied by 添加, a save in add mode and a load
    QList<QLineEdit *> emptiedOnDelete;
    QWidget *firstEntry = nullptr;
    // The row whose values a click put into the boxes; an edit-mode save writes back to it.
    int loadedRow = -1;
    ui::FormChanges changes;
};

// The administrator's modal settings window: the department dictionary, the after-sales
// maintenance dictionary and the one settings record (department code, two alarm periods).
class TFrmzdwh : public QDialog {
    Q_OBJECT
public:
    TFrmzdwh(AppContext &ctx, QWidget *parent = nullptr);

    void FormShow();
    // Closing with typing in a dictionary tab asks first; keeping it keeps the window open.
    void reject() override;

    void btnaddClick();
    void btneditClick();
    void DBGrid1MouseUp();
    void btnsaveClick();
    void btndeleteClick();
    void btnexitClick();

    void btnadd2Click();
    void btnedit2Click();
    void DBGrid2MouseUp();
    void btnsave2Click();
    void btndelete2Click();
    void suiButton5Click();

    void ComboBox2Change();
    void btnokClick();
    void suiButton1Click();
    void suiButton3Click();

    QTabWidget *PageControl1;
    QWidget *TabSheet1;
    QWidget *TabSheet2;
    QWidget *TabSheet3;

    QComboBox *ComboBox1;
    QLineEdit *edit1;
    QLineEdit *edit2;
    ui::DBGrid *DBGrid1;
    ui::DBNavigator *DBNavigator1;
    QPushButton *btnadd;
    QPushButton *btnedit;
    QPushButton *btnsave;
    QPushButton *btndelete;
    QPushButton *btnexit;

    QLineEdit *edit3;
    IntEdit *edit4;
    IntEdit *edit5;
    ui::DBGrid *DBGrid2;
    ui::DBNavigator *DBNavigator2;
    QPushButton *btnadd2;
    QPushButton *btnedit2;
    QPushButton *btnsave2;
    QPushButton *btndelete2;
    QPushButton *suiButton5;

    QGroupBox *GroupBox1;
    QComboBox *ComboBox2;
    QLineEdit *suiEdit1;
    QPushButton *btnok;
    QGroupBox *GroupBox2;
    IntEdit *suiSpinEdit1;
    QPushButton *suiButton1;
    QGroupBox *GroupBox3;
    IntEdit *suiSpinEdit2;
    QPushButton *suiButton3;
    QPushButton *suiButton2;

    Query *ADOQuery1;
    Query *ADOQuery2;
    Query *ADOQuery3;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildDepartmentTab();
    QWidget *buildMaintenanceTab();
    QWidget *buildSettingsTab();
    QGroupBox *buildAlarmGroup(const QString &name, const QString &title, const QString &before,
                               IntEdit *&box, QPushButton *&button);
    void connectHandlers();
    void openQueries();

    void enterAddMode(DictionaryTab &tab);
    void enterEditMode(DictionaryTab &tab);
    // False, after telling the user, when the list has no row to load.
    bool startLoading(DictionaryTab &tab, const QString &emptyMessage);
    void startSave(DictionaryTab &tab);
    void finishSave(DictionaryTab &tab, const QString &editedMessage, const QString &addedMessage);
    void deleteCurrent(DictionaryTab &tab);

    void writeSetting(const QString &column, const QString &text);
    void saveAlarm(IntEdit *box, const QString &column, const QString &zeroMessage, const QString &savedMessage);

    AppContext &ctx_;
    DictionaryTab departments_;
    DictionaryTab terms_;
    bool shown_ = false;
};

}  // namespace korv
