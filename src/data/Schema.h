// The shop's twelve tables: column types, creation of a fresh database and its default users.
#pragma once

#include <QString>
#include <vector>

namespace korv {

class Database;

// How a column's values are converted on write and formatted on read.
enum class ColumnType {
    Text,      // any text, compared without regard to letter case
    Integer,   // whole number
    Money,     // decimal amount kept as the text of a number box
    DateTime,  // stored as "yyyy-MM-dd" (midnight) or "yyyy-MM-dd hh:mm:ss"
    Flag       // whole number 0 or 1
};

struct ColumnDef {
    const char *name;
    ColumnType type;
};

struct TableDef {
    const char *name;
    std::vector<ColumnDef> columns;
    bool hasRecordNumber;  // unique column `bh`
};

const std::vector<TableDef> &schemaTables();
// Case-insensitive look-up by table name; nullptr when the table is not ours.
const TableDef *findTable(const QString &name);
// The column type of table.column, Text when unknown.
ColumnType columnType(const QString &table, const QString &column);
bool isWholeNumberType(ColumnType t);

// The passwords a fresh database gives its two users, until they change them.
inline const QString kDefaultAdministratorPassword = QStringLiteral("385920");
inline const QString kDefaultOrderTakerPassword = QStringLiteral("640713");

// Creates every table, index and the two default users in an empty database.
void createSchema(Database &db);

// Creates a fresh encrypted database at `path` unless a file is already there.
// Returns true when a new file was made.
bool createDatabaseFileIfAbsent(const QString &path);

}  // namespace korv
