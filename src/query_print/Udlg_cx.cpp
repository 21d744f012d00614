// 查询: the modal dialog every list of the program is filtered through.
#include "query_print/Udlg_cx.h"

#include "common/Conventions.h"
#include "common/Handlers.h"
#include "common/Placement.h"
#include "common/Widgets.h"
#include "common/WorkWindow.h"
#include "data/Database.h"
#include "data/Query.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace korv {

namespace {
constexpr int kFieldWidth = 150;
constexpr int kButtonWidth = 70;
const QSize kDialogSize(540, 310);

// Lays out captions and fields two to a row, each caption left of its field.
void layOutFields(QGroupBox *group, const QList<QLabel *> &captions, const QList<QLineEdit *> &fields)
{
    auto *grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const int row = int(i / 2);
        const int column = int(i % 2) * 2;
        captions[i]->setBuddy(fields[i]);
        grid->addWidget(captions[i], row, column);
        grid->addWidget(fields[i], row, column + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(int((fields.size() + 1) / 2), 1);
}

QLineEdit *conditionField(const QString &name, QWidget *parent)
{
    auto *field = named(new QLineEdit(parent), name);
    field->setMinimumWidth(kFieldWidth);
    return field;
}
}  // namespace

TFrmDlg_cx::TFrmDlg_cx(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx), origin_(parent)
{
    setObjectName(QStringLiteral("TFrmDlg_cx"));
    setWindowTitle(QStringLiteral("查询"));
    setModal(true);
    setFixedSize(kDialogSize);

    // The repair-order group lies over the six-field group, in the same place.
    auto *groups = new QWidget(this);
    auto *stack = new QGridLayout(groups);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(buildSixFieldGroup(), 0, 0);
    stack->addWidget(buildRepairGroup(), 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(groups, 1);
    layout->addWidget(buildButtonRow());

    connectHandler(btnquery, &QPushButton::clicked, this, &TFrmDlg_cx::btnqueryClick);
    connectHandler(suiButton1, &QPushButton::clicked, this, &TFrmDlg_cx::suiButton1Click);
    connectHandler(btnprint, &QPushButton::clicked, this, &TFrmDlg_cx::btnprintClick);
    FormCreate();
}

TFrmDlg_cx::~TFrmDlg_cx() = default;

QGroupBox *TFrmDlg_cx::buildSixFieldGroup()
{
    suiRadioGroup1 = named(new QGroupBox(kConditionTitle, this), QStringLiteral("suiRadioGroup1"));
    const QStringList captions = defaultSixFieldCaptions();
    for (int i = 0; i < 6; ++i) {
        Lab << named(new QLabel(captions[i], suiRadioGroup1), QStringLiteral("Lab%1").arg(i + 1));
        edit << conditionField(QStringLiteral("edit%1").arg(i + 1), suiRadioGroup1);
    }
    layOutFields(suiRadioGroup1, Lab, edit);
    return suiRadioGroup1;
}

// Fields 9 to 12 carry the captions Lab7 to Lab10, which the callers rename.
QGroupBox *TFrmDlg_cx::buildRepairGroup()
{
    Group2 = named(new QGroupBox(kConditionTitle, this), QStringLiteral("Group2"));
    Group2->setAutoFillBackground(true);
    const QStringList captions = repairGroupCaptions();
    QList<QLabel *> labels;
    for (int i = 0; i < 12; ++i) {
        auto *label = new QLabel(captions[i], Group2);
        if (i >= 8) {
            label->setObjectName(QStringLiteral("Lab%1").arg(i - 1));
            Lab << label;
        }
        labels << label;
        suiEdit << conditionField(QStringLiteral("suiEdit%1").arg(i + 1), Group2);
    }
    layOutFields(Group2, labels, suiEdit);
    Group2->hide();
    return Group2;
}

QWidget *TFrmDlg_cx::buildButtonRow()
{
    auto *row = new QWidget(this);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    chkmh = named(new QCheckBox(QStringLiteral(" 模糊查询"), row), QStringLiteral("chkmh"));
    chkmh->setChecked(true);
    btnquery = namedButton(QStringLiteral("btnquery"), QStringLiteral("查询"), row, kButtonWidth);
    suiButton1 = namedButton(QStringLiteral("suiButton1"), QStringLiteral("清空"), row, kButtonWidth);
    btnprint = namedButton(QStringLiteral("btnprint"), QStringLiteral("退出"), row, kButtonWidth);
    // Enter in a condition field runs the query.
    btnquery->setDefault(true);
    buttons->addWidget(chkmh);
    buttons->addStretch(1);
    for (QPushButton *b : {btnquery, suiButton1, btnprint})
        buttons->addWidget(b);
    return row;
}

void TFrmDlg_cx::FormCreate()
{
    ranQuery_ = false;
    ctx_.setStatus(status::kQueryReady);
}

void TFrmDlg_cx::prepare(QueryTarget target)
{
    const QueryTargetInfo &info = queryTargetInfo(target);
    const int firstCaption = info.repairGroup ? 6 : 0;  // Lab7 (field 9) or Lab1
    for (qsizetype i = 0; i < info.captions.size(); ++i)
        if (!info.captions[i].isEmpty())
            Lab[firstCaption + i]->setText(info.captions[i]);
    if (!info.repairGroup) {
        edit[0]->setFocus();
        return;
    }
    Group2->show();
    suiRadioGroup1->hide();
    if (info.upperList)
        Group2->setTitle(kUpperListTitle);
    suiEdit[0]->setFocus();
}

bool TFrmDlg_cx::repairGroupShown() const
{
    return !Group2->isHidden();
}

QStringList TFrmDlg_cx::conditionTexts() const
{
    QStringList texts;
    for (const QLineEdit *field : repairGroupShown() ? suiEdit : edit)
        texts << field->text();
    return texts;
}

// The open window of `kind`: normally the one that opened the dialog.
WorkWindow *TFrmDlg_cx::findWorkWindow(WorkWindowKind kind) const
{
    for (QWidget *w = origin_; w; w = w->parentWidget())
        if (auto *work = qobject_cast<WorkWindow *>(w); work && work->kind() == kind)
            return work;
    if (!origin_)
        return nullptr;
    for (WorkWindow *work : origin_->window()->findChildren<WorkWindow *>())
        if (work->kind() == kind)
            return work;
    return nullptr;
}

void TFrmDlg_cx::btnqueryClick()
{
    const std::optional<QueryTarget> target = chooseQueryTarget(
        [this](WorkWindowKind kind) { return ctx_.openFlag(kind); }, repairGroupShown(), Group2->title());
    if (!target)
        return;
    const QueryTargetInfo &info = queryTargetInfo(*target);
    WorkWindow *window = findWorkWindow(info.window);
    Query *list = window ? window->findChild<Query *>(info.query) : nullptr;
    if (!list)
        return;

    refilterList(*list, querySqlLines(info, conditionTexts(), chkmh->isChecked()));
    ranQuery_ = true;
    accept();
    const int found = list->RecordCount();
    if (found > 0)
        list->First();
    if (auto *resettable = dynamic_cast<QueryResettable *>(window))
        resettable->resetAfterQuery(found > 0);
    ctx_.setStatus(found > 0 ? status::queryFound(info.listName, found) : status::queryNothing(info.listName));
}

void TFrmDlg_cx::suiButton1Click()
{
    for (QLineEdit *field : edit + suiEdit)
        field->clear();
    (repairGroupShown() ? suiEdit : edit).constFirst()->setFocus();
}

void TFrmDlg_cx::btnprintClick()
{
    reject();
}

// Every way of closing (退出, a query, Esc, the title bar) passes here once.
void TFrmDlg_cx::done(int result)
{
    if (!closed_) {
        closed_ = true;
        FormClose();
    }
    QDialog::done(result);
}

void TFrmDlg_cx::FormClose()
{
    if (!ranQuery_)
        ctx_.setStatus(status::kContinue);
}

void showQueryDialog(AppContext &ctx, QWidget *window, QueryTarget target)
{
    const auto dialog = std::make_unique<TFrmDlg_cx>(ctx, window);
    dialog->prepare(target);
    execInFront(*dialog);
}

void refilterList(Query &list, const QStringList &lines)
{
    const QStringList before = list.sqlLines();
    const bool wasOpen = list.isOpen();
    list.DisableControls();
    try {
        list.Close();
        list.setSql(lines);
        list.Open();
    } catch (const DbError &) {
        list.setSql(before);
        try {
            if (wasOpen)
                list.Open();
        } catch (const DbError &) {
            // The list stays closed: it shows no rows and every window treats it as empty.
        }
        list.EnableControls();
        throw;
    }
    list.EnableControls();
}

}  // namespace korv
