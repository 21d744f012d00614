// Target lists of the query dialog and the SQL texts of its queries.
#include "query_print/QueryText.h"

#include "data/Values.h"
#include "repair/RepairRules.h"

#include <array>
#include <vector>

namespace korv {

namespace {
using repair::OrderState;

// The longest like pattern the engine accepts, in UTF-8 bytes.
constexpr qsizetype kLikePatternBytes = 50000;

// Fields 1 to 8 search the same columns in every repair-order list; 4 and 6 are captioned after
// the columns they search (型号, 机身号码), in the order of the intake form.
QStringList orderColumns(const QStringList &lastFour)
{
    return QStringList{"wxdh", "cpmc", "lb", "xh", "gmsd", "jshm", "xm", "dz"} + lastFour;
}

QueryTargetInfo orderTarget(WorkWindowKind window, const char *query, OrderState state, const char *listName,
                            bool upper, const QStringList &lastColumns, const QStringList &lastCaptions = {})
{
    return {window,         QString::fromLatin1(query), repair::queryBaseSql(state), QString::fromUtf8(listName),
            true,           upper,                      orderColumns(lastColumns),   lastCaptions};
}

QueryTargetInfo tableTarget(WorkWindowKind window, const char *table, const char *listName,
                            const QStringList &columns, const QStringList &captions = {})
{
    return {window,  QStringLiteral("ADOQuery1"), QStringLiteral("select * from %1 ").arg(QLatin1String(table)),
            QString::fromUtf8(listName), false, false, columns, captions};
}

const QStringList kPendingLast{"gjyy", "ys", "fj", "jjy"};
const QStringList kDispatchedLast{"gjyy", "ys", "wxry", "jxsj"};
const QStringList kDispatchedCaptions{"", "", "维修人员", "接修时间"};

// In the order of QueryTarget. The two repaired-order lists keep the names the shop's status line
// has always shown for them.
std::array<QueryTargetInfo, 13> buildTargets()
{
    using K = WorkWindowKind;
    return {{
        orderTarget(K::Dxdj, "ADOQuery1", OrderState::Pending, "待修登记", false, kPendingLast),
        orderTarget(K::Pxdj, "ADOQuery1", OrderState::Pending, "待修登记", true, kPendingLast),
        orderTarget(K::Pxdj, "ADOQuery2", OrderState::Dispatched, "派修登记", false, kDispatchedLast,
                    kDispatchedCaptions),
        orderTarget(K::Xfdj, "ADOQuery1", OrderState::Dispatched, "派修登记", true, kDispatchedLast,
                    kDispatchedCaptions),
        orderTarget(K::Xfdj, "ADOQuery2", OrderState::Repaired, "维修结算", false, {"gjyy", "ys", "qssj", "xlqk"},
                    {"", "", "签收时间", "修理情况"}),
        orderTarget(K::Qjdj, "ADOQuery1", OrderState::Repaired, "修复签收", false, {"qjr", "qjrq", "hfr", "hfsj"},
                    {"取 机 人", "取机日期", "回 访 人", "回访时间"}),
        tableTarget(K::Bjxx, "bjjbxx", "备件信息", {"bh", "bjmc", "bjxh", "bjgg", "tdxh", "bz"}),
        tableTarget(K::Wxxx, "cpjbxx", "维修信息", {"bh", "cpmc", "cppp", "cpxh", "cx", "cd"},
                    {"产品编号", "产品类别", "产品品牌", "产品型号", "厂    商", "产    地"}),
        tableTarget(K::Jyxx, "jyb", "职员信息", {"jymc", "xl", "bm", "jw", "jtzz", "xzz"},
                    {"职员名称", "学    历", "部门名称", "职    务", "家庭住址", "现 住 址"}),
        tableTarget(K::Khxx, "khjbxx", "客户信息", {"bh", "khmc", "lxdh", "lxr", "yb", "dz"},
                    {"客户编号", "客户名称", "联系电话", "联 系 人", "邮    编", "地    址"}),
        tableTarget(K::Sjxx, "sjjbxx", "商家信息", {"bh", "sjmc", "lxdh", "lxr", "yb", "dz"},
                    {"商家编号", "商家名称", "联系电话", "联 系 人", "邮    编", "地    址"}),
        tableTarget(K::Bjgl, "bjkc", "备件库存", {"bh", "bjmc", "xh", "gg", "sl", "pjdj"},
                    {"备件编号", "备件名称", "型   号", "规    格", "数    量", "平均单价"}),
        tableTarget(K::Gjgl, "gjkc", "工具库存", {"bh", "gjmc", "xh", "gg", "syzt", "xxsm"},
                    {"工具编号", "工具名称", "工具型号", "工具规格", "使用状态", "详细说明"}),
    }};
}

// Cuts `text` so that "%" + text + "%" fits the engine's pattern limit, never inside a
// surrogate pair.
QString fitPattern(const QString &text)
{
    const qsizetype room = kLikePatternBytes - 2;
    if (text.size() * 3 <= room)  // no UTF-16 unit takes more than three UTF-8 bytes
        return text;
    qsizetype low = 0;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (text.left(mid).toUtf8().size() <= room)
            low = mid;
        else
            high = mid - 1;
    }
    if (low > 0 && low < text.size() && text[low - 1].isHighSurrogate())
        --low;
    return text.left(low);
}
}  // namespace

const QueryTargetInfo &queryTargetInfo(QueryTarget target)
{
    static const std::array<QueryTargetInfo, 13> targets = buildTargets();
    return targets[size_t(target)];
}

std::optional<QueryTarget> singleListTarget(WorkWindowKind window)
{
    switch (window) {
    case WorkWindowKind::Dxdj:
        return QueryTarget::Intake;
    case WorkWindowKind::Qjdj:
        return QueryTarget::Settlement;
    case WorkWindowKind::Bjxx:
        return QueryTarget::SpareCatalogue;
    case WorkWindowKind::Wxxx:
        return QueryTarget::ProductCatalogue;
    case WorkWindowKind::Jyxx:
        return QueryTarget::Employees;
    case WorkWindowKind::Khxx:
        return QueryTarget::Customers;
    case WorkWindowKind::Sjxx:
        return QueryTarget::Merchants;
    case WorkWindowKind::Bjgl:
        return QueryTarget::SpareStock;
    case WorkWindowKind::Gjgl:
        return QueryTarget::ToolStock;
    case WorkWindowKind::Pxdj:
    case WorkWindowKind::Xfdj:
        break;
    }
    return std::nullopt;
}

QStringList defaultSixFieldCaptions()
{
    return {"备件编号", "备件名称", "备件型号", "备件规格", "替代型号", "备        注"};
}

QStringList repairGroupCaptions()
{
    return {"单    号", "产品类别", "品    牌", "型    号", "购买商店",  "机身号码",
            "客户姓名", "地    址", "故障原因", "预算计划", "附    件", "接 机 员"};
}

std::optional<QueryTarget> chooseQueryTarget(const std::function<bool(WorkWindowKind)> &isOpen,
                                             bool repairGroupShown, const QString &repairGroupTitle)
{
    using K = WorkWindowKind;
    using T = QueryTarget;
    const bool upper = repairGroupTitle == kUpperListTitle;
    const std::vector<std::pair<K, T>> order =
        repairGroupShown ? std::vector<std::pair<K, T>>{{K::Dxdj, T::Intake},
                                                        {K::Pxdj, upper ? T::DispatchPending : T::DispatchDispatched},
                                                        {K::Xfdj, upper ? T::SignOffDispatched : T::SignOffRepaired},
                                                        {K::Qjdj, T::Settlement}}
                         : std::vector<std::pair<K, T>>{{K::Bjxx, T::SpareCatalogue}, {K::Wxxx, T::ProductCatalogue},
                                                        {K::Jyxx, T::Employees},      {K::Khxx, T::Customers},
                                                        {K::Sjxx, T::Merchants},      {K::Bjgl, T::SpareStock},
                                                        {K::Gjgl, T::ToolStock}};
    for (const auto &[window, target] : order)
        if (isOpen(window))
            return target;
    return std::nullopt;
}

QString fuzzyPattern(const QString &text)
{
    QString rewritten = text;
    rewritten.replace(QLatin1Char(']'), QLatin1Char('%'));
    rewritten.replace(QLatin1Char('['), QLatin1Char('%'));
    rewritten.replace(QLatin1Char(' '), QLatin1Char('%'));
    rewritten.replace(QChar(0), QLatin1Char('%'));
    return QLatin1Char('%') + fitPattern(rewritten) + QLatin1Char('%');
}

QString conditionLine(const QString &column, const QString &text, bool fuzzy, bool &written)
{
    if (text.isEmpty())
        return QString();
    const QString connective = written ? QStringLiteral(" and ") : QStringLiteral(" where ");
    written = true;
    if (fuzzy)
        return connective + column + QStringLiteral(" like ") + sqlQuote(fuzzyPattern(text));
    return connective + column + QStringLiteral(" = ") + sqlQuote(text);
}

QStringList querySqlLines(const QueryTargetInfo &target, const QStringList &texts, bool fuzzy)
{
    QStringList lines{target.base};
    // The base of an order list already holds its where clause.
    bool written = target.repairGroup;
    for (qsizetype i = 0; i < target.columns.size() && i < texts.size(); ++i) {
        const QString line = conditionLine(target.columns[i], texts[i], fuzzy, written);
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

}  // namespace korv
