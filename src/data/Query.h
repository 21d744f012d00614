// A snapshot row set over one SQL text with a current record, through which windows also
// insert, change and delete records.
#pragma once

#include "data/Schema.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace korv {

class Database;

// The rows of a list as they stood when it was taken, read by index: same members, same order.
// It stands apart from the query it came from (cursor moves, reopening or closing the query
// leave it as it is) and is safe to keep while the database stays open. Printouts read their
// pages through it one page at a time.
class RowReader {
public:
    virtual ~RowReader() = default;
    virtual int count() const = 0;
    virtual int columnCount() const = 0;
    virtual int columnIndex(const QString &name) const = 0;  // -1 when absent
    // The text of a cell as the list shows it; empty for null or out of range.
    virtual QString text(int row, int column) const = 0;
};

// The row set is read once when opened. Changes made through this query show in it at once
// and are written to the file immediately; changes made elsewhere show after reopening.
// Any failure throws DbError and leaves the query in the state it had reached.
class Query : public QObject {
    Q_OBJECT
public:
    enum class State { Closed, Browse, Edit, Insert };
    enum class LocateOption { WholeValue, CaseInsensitive };

    explicit Query(Database &db, QObject *parent = nullptr);
    ~Query() override;

    void Close();
    // Replaces the SQL text; several lines are run as one statement joined by line breaks.
    void setSql(const QString &sql);
    void setSql(const QStringList &lines);
    void addSqlLine(const QString &line);
    QStringList sqlLines() const { return sql_; }
    void Open();
    bool isOpen() const { return state_ != State::Closed; }
    State state() const { return state_; }

    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const;
    // Index of the current record, -1 when there is none.
    int RecNo() const { return current_; }
    void moveTo(int row);

    bool Locate(const QString &columns, const QStringList &values,
                LocateOption option = LocateOption::WholeValue);
    bool Locate(const QString &column, const QString &value, LocateOption option = LocateOption::WholeValue);

    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();

    // Column reads of the current record.
    QString asString(const QString &column) const;
    qint64 asInteger(const QString &column) const;
    QVariant value(const QString &column) const;
    bool isNull(const QString &column) const;

    // Column writes of the current record, only while editing or inserting.
    void setText(const QString &column, const QString &text);
    void setInteger(const QString &column, qint64 value);
    void setDateTime(const QString &column, const QDateTime &value);

    int columnCount() const { return int(columns_.size()); }
    QString columnName(int index) const;
    int columnIndex(const QString &name) const;  // -1 when absent
    QString tableName() const { return table_; }
    // Cell text of any row, as the bound list shows it.
    QString cellText(int row, int column) const;
    // The rows as listed now, for reading apart from this query (see RowReader). A closed
    // query gives an empty reader.
    std::shared_ptr<const RowReader> rowReader() const;

    void DisableControls();
    void EnableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

signals:
    void rowsReset();                 // opened, closed, or controls enabled again
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);

private:
    struct Column {
        QString name;
        ColumnType type;
    };
    struct RowRef {
        qint64 rowid;
        quint32 chunk;
        quint32 offset;
        quint32 size;
    };
    using Cell = std::optional<QString>;

    int requireColumn(const QString &name) const;
    void requireOpen() const;
    void requireEditing(const QString &column) const;
    void requireWritable() const;
    void checkBrowseMode();
    Cell currentCell(int column) const;
    Cell storedCell(int row, int column) const;
    std::vector<Cell> decodeRow(int row) const;
    RowRef storeRow(qint64 rowid, const std::vector<Cell> &cells);
    void storeFromStatement(void *stmt);
    qint64 writeRecord();
    std::vector<int> guardColumns() const;
    QString guardClause(const std::vector<int> &guard) const;
    void bindGuard(void *statement, int slot, const std::vector<int> &guard) const;
    [[noreturn]] void staleRecord();
    void reopenAt(qint64 rowid, int row);
    void rereadRow(int row, qint64 rowid);
    void setCell(int column, Cell value);
    void setCurrent(int row, bool eof = false);
    void removeRow(int row);
    void clearRows();
    void notifyReset();

    Database &db_;
    QStringList sql_;
    State state_ = State::Closed;
    QString table_;  // empty when the SQL text is not a plain select of one table
    std::vector<Column> columns_;
    std::vector<RowRef> rows_;
    std::vector<std::unique_ptr<char[]>> chunks_;
    quint32 chunkUsed_ = 0;
    quint32 chunkSize_ = 0;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    std::vector<Cell> buffer_;      // the record being edited or inserted
    std::vector<bool> dirty_;
    int disableCount_ = 0;
};

// Writes the record being edited or appended with `writes` and posts it. Anything refused on the
// way cancels the record, so no half-written row is left for a later cursor move to post; the
// error goes on to the caller.
void writeAndPost(Query &query, const std::function<void()> &writes);

}  // namespace korv
