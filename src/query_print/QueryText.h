// The lists the query dialog filters and the SQL texts it builds for them from the typed conditions.
#pragma once

#include "common/AppContext.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace korv {

// Every list of the program that the query dialog can filter.
enum class QueryTarget {
    Intake,              // 待修登记: pending orders
    DispatchPending,     // 派修登记, upper list
    DispatchDispatched,  // 派修登记, lower list
    SignOffDispatched,   // 修复签收, upper list
    SignOffRepaired,     // 修复签收, lower list
    Settlement,          // 维修结算
    SpareCatalogue,
    ProductCatalogue,
    Employees,
    Customers,
    Merchants,
    SpareStock,
    ToolStock,
};

// The title of the repair-order group as created, and the one that sends a query to the upper
// list of the dispatch and sign-off windows (with its full-width colon).
inline const QString kConditionTitle = QStringLiteral("请输入查询条件");
inline const QString kUpperListTitle = QStringLiteral("请输入查询条件：");

// Everything the dialog needs to know of one target list.
struct QueryTargetInfo {
    WorkWindowKind window;
    QString query;      // objectName of the window's query behind the list
    QString base;       // the SQL text before any condition, ending in a blank
    QString listName;   // named in the status line
    bool repairGroup;   // searched through the twelve repair-order fields, else the six
    bool upperList;     // the caller gives the group the title kUpperListTitle
    QStringList columns;   // the column each field searches, fields in order
    // Captions the caller sets: six-field targets fields 1 to 6, repair-order targets fields
    // 9 to 12. An empty entry (or none at all) keeps the dialog's own caption.
    QStringList captions;
};

const QueryTargetInfo &queryTargetInfo(QueryTarget target);
// The target of a window with one list (record windows and intake); nullopt for the others.
std::optional<QueryTarget> singleListTarget(WorkWindowKind window);

// Captions the dialog is created with.
QStringList defaultSixFieldCaptions();
QStringList repairGroupCaptions();  // fields 1 to 12

// The list a query goes to: with the repair-order group shown, the first open station among
// intake, dispatch, sign-off and settlement (the group's title picking the upper or lower list of
// the two-list stations); otherwise the first open record window. nullopt when none is open.
std::optional<QueryTarget> chooseQueryTarget(const std::function<bool(WorkWindowKind)> &isOpen,
                                             bool repairGroupShown, const QString &repairGroupTitle);

// The like pattern for a fuzzy condition: "]", "[" and blanks become "%", the whole is enclosed in
// "%". A NUL also becomes "%", since the engine would end the pattern there; a pattern longer
// than the engine takes is cut, so it filters on its start instead of failing.
QString fuzzyPattern(const QString &text);
// The line one field adds: nothing for an empty text (blanks count as text), else " where " or,
// once `written` is set, " and ", then the column and the quoted value. Sets `written`.
QString conditionLine(const QString &column, const QString &text, bool fuzzy, bool &written);
// The whole SQL text of a query, one line per condition; `texts` are the fields in order.
QStringList querySqlLines(const QueryTargetInfo &target, const QStringList &texts, bool fuzzy);

}  // namespace korv
