// Table definitions and the creation of a fresh shop database.
#include "data/Schema.h"

#include "data/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace korv {

namespace {
using T = ColumnType;

std::vector<TableDef> buildTables()
{
    return {
        {"jjdb",
         {{"wxdh", T::Text},     {"wxzt", T::Integer},  {"cpmc", T::Text},     {"lb", T::Text},
          {"xh", T::Text},       {"gmsd", T::Text},     {"jshm", T::Text},     {"gmrq", T::DateTime},
          {"sfbx", T::Flag},     {"xm", T::Text},       {"dh", T::Text},       {"yb", T::Text},
          {"dz", T::Text},       {"scwxy", T::Text},    {"scwxrq", T::DateTime}, {"gjyy", T::Text},
          {"fj", T::Text},       {"ys", T::Money},      {"wxf", T::Money},     {"smf", T::Money},
          {"dj", T::Money},      {"jjrq", T::DateTime}, {"jjy", T::Text},      {"wxfs", T::Flag},
          {"dycs", T::Integer},  {"wxry", T::Text},     {"jxsj", T::DateTime}, {"ylbj", T::Text},
          {"jcf", T::Money},     {"ljf", T::Money},     {"xlqk", T::Text},     {"xfrq", T::DateTime},
          {"qssj", T::DateTime}, {"whfs", T::Text},     {"whqx", T::Text},     {"fkfs", T::Text},
          {"jjkx", T::Money},    {"qjr", T::Text},      {"qjrq", T::DateTime}, {"hfr", T::Text},
          {"hfsj", T::DateTime}, {"hfqk", T::Text},     {"bz", T::Text}},
         false},
        {"bmb", {{"bmdh", T::Text}, {"bmmc", T::Text}, {"sm", T::Text}}, false},
        {"whb", {{"whff", T::Text}, {"whqx", T::Text}, {"Year", T::Integer}, {"Month", T::Integer}}, false},
        {"csszb", {{"bmdh", T::Text}, {"bjqx", T::Integer}, {"bjqx2", T::Integer}}, false},
        {"yhb", {{"yhmc", T::Text}, {"yhmm", T::Text}, {"yhqx", T::Integer}}, false},
        {"jyb",
         {{"jymc", T::Text}, {"xb", T::Text}, {"csny", T::DateTime}, {"xl", T::Text}, {"bm", T::Text},
          {"jw", T::Text}, {"byxs", T::Text}, {"lxdh", T::Text}, {"jtzz", T::Text}, {"xzz", T::Text}},
         false},
        {"khjbxx",
         {{"bh", T::Text}, {"khmc", T::Text}, {"lxdh", T::Text}, {"cz", T::Text}, {"lxr", T::Text},
          {"lxrdh", T::Text}, {"yb", T::Text}, {"dz", T::Text}},
         true},
        {"sjjbxx",
         {{"bh", T::Text}, {"sjmc", T::Text}, {"lxdh", T::Text}, {"cz", T::Text}, {"lxr", T::Text},
          {"lxrdh", T::Text}, {"yb", T::Text}, {"dz", T::Text}},
         true},
        {"cpjbxx",
         {{"bh", T::Text}, {"cpmc", T::Text}, {"cppp", T::Text}, {"cpxh", T::Text}, {"xh", T::Text},
          {"zjjh", T::Text}, {"bjh", T::Text}, {"cx", T::Text}, {"cd", T::Text}},
         true},
        {"bjjbxx",
         {{"bh", T::Text}, {"bjmc", T::Text}, {"bjxh", T::Text}, {"bjgg", T::Text}, {"dw", T::Text},
          {"tdxh", T::Text}, {"bz", T::Text}},
         true},
        {"bjkc",
         {{"bh", T::Text}, {"bjmc", T::Text}, {"xh", T::Text}, {"gg", T::Text}, {"dw", T::Text},
          {"sl", T::Integer}, {"pjdj", T::Money}, {"kcjg", T::Money}, {"tssx", T::Money},
          {"tsxx", T::Money}},
         true},
        {"gjkc",
         {{"bh", T::Text}, {"gjmc", T::Text}, {"xh", T::Text}, {"gg", T::Text}, {"gmrq", T::DateTime},
          {"syzt", T::Text}, {"jyr", T::Text}, {"xxsm", T::Text}},
         true},
    };
}

// Money and date-times are kept as text so that "150.00" stays "150.00" and dates order and
// match with `like`; all text compares without regard to letter case.
QString sqlType(ColumnType t)
{
    return isWholeNumberType(t) ? QStringLiteral("INTEGER") : QStringLiteral("TEXT COLLATE NOCASE");
}

QString createTableSql(const TableDef &table)
{
    QStringList cols;
    for (const ColumnDef &c : table.columns) {
        QString col = QStringLiteral("\"%1\" %2").arg(QLatin1String(c.name), sqlType(c.type));
        if (QLatin1String(table.name) == QLatin1String("jjdb") && QLatin1String(c.name) == QLatin1String("wxzt"))
            col += QStringLiteral(" DEFAULT 0");
        cols << col;
    }
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(table.name), cols.join(QStringLiteral(", ")));
}
}  // namespace

const std::vector<TableDef> &schemaTables()
{
    static const std::vector<TableDef> tables = buildTables();
    return tables;
}

const TableDef *findTable(const QString &name)
{
    for (const TableDef &t : schemaTables())
        if (name.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

ColumnType columnType(const QString &table, const QString &column)
{
    if (const TableDef *t = findTable(table))
        for (const ColumnDef &c : t->columns)
            if (column.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
                return c.type;
    return ColumnType::Text;
}

bool isWholeNumberType(ColumnType t)
{
    return t == ColumnType::Integer || t == ColumnType::Flag;
}

void createSchema(Database &db)
{
    db.exec(QStringLiteral("BEGIN"));
    for (const TableDef &t : schemaTables()) {
        db.exec(createTableSql(t));
        if (t.hasRecordNumber)
            db.exec(QStringLiteral("CREATE UNIQUE INDEX ux_%1_bh ON %1(bh)").arg(QLatin1String(t.name)));
    }
    db.exec(QStringLiteral("CREATE UNIQUE INDEX ux_jjdb_wxdh ON jjdb(wxdh)"));
    db.exec(QStringLiteral("CREATE INDEX ix_jjdb_wxzt_wxdh ON jjdb(wxzt, wxdh)"));
    db.exec(QStringLiteral("CREATE INDEX ix_khjbxx_khmc ON khjbxx(khmc)"));
    db.exec(QStringLiteral("INSERT INTO yhb(yhmc, yhmm, yhqx) VALUES ('管理员', '%1', 1)").arg(kDefaultAdministratorPassword));
    db.exec(QStringLiteral("INSERT INTO yhb(yhmc, yhmm, yhqx) VALUES ('接单员', '%1', 2)").arg(kDefaultOrderTakerPassword));
    db.exec(QStringLiteral("COMMIT"));
}

bool createDatabaseFileIfAbsent(const QString &path)
{
    if (QFileInfo::exists(path))
        return false;
    // Build the file under another name so that a failure never leaves a half-made database
    // where the program looks for it.
    const QString building = path + QStringLiteral(".new");
    QFile::remove(building);
    try {
        Database db(building, Database::OpenMode::Create);
        createSchema(db);
    } catch (...) {
        QFile::remove(building);
        throw;
    }
    if (!QFile::rename(building, path)) {
        QFile::remove(building);
        throw DbError(QStringLiteral("无法创建数据库文件 %1。").arg(path));
    }
    return true;
}

}  // namespace korv
