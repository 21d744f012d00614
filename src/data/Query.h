// A snapshot row set over one SQL text with a current record, through which windows also
// insert, change and delete records.
#pragma once

#include "data/RowCache.h"
#include "data/Schema.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_set>
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

// A list over one SQL text with a current record, through which windows also insert, change
// and delete records. Which rows it holds, and in what order, is fixed when it is opened; changes
// made through this query show in it at once and are written to the file immediately; rows added
// or deleted elsewhere show after reopening.
//
// A plain select of one table ("select * from T where ... order by ...") holds only the rowids
// of its rows and fetches their contents by rowid, a block at a time, when they are shown or
// read. A long list reads its first rowids when opened and the rest in the background, a slice
// per turn of the event loop (announced by rowsLoaded); anything that needs the whole list, and
// any write on the connection, reads the rest at once first. Any other SQL text is read whole
// when opened. Any failure throws DbError and leaves the query in the state it had reached.
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
    // Every row of the list (reads the rest of a list still loading).
    int RecordCount() const;
    bool isEmpty() const { return keys_.empty(); }
    // The rows known so far: RecordCount() once the list has loaded, fewer before.
    int loadedCount() const { return int(keys_.size()); }
    bool fullyLoaded() const { return !pendingKeys_; }
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
    // Whether the list holds rowids and fetches rows by them (see above).
    bool keyed() const { return cache_ != nullptr; }
    // Cell text of any loaded row, as the bound list shows it.
    QString cellText(int row, int column) const;
    // The rows as listed now, for reading apart from this query (see RowReader). A closed
    // query gives an empty reader.
    std::shared_ptr<const RowReader> rowReader() const;

    void DisableControls();
    void EnableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

signals:
    void rowsReset();                 // opened, closed, or controls enabled again
    void rowsLoaded(int first, int last);  // more rows of a long list became known
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);

private:
    struct Column {
        QString name;
        ColumnType type;
        bool textAffinity;  // stored values are text as they are read
    };
    using Cell = std::optional<QString>;
    using Row = std::vector<Cell>;
    using RowPtr = std::shared_ptr<const Row>;
    struct KeyScan;

    int requireColumn(const QString &name) const;
    void requireOpen() const;
    void requireEditing(const QString &column) const;
    void requireWritable() const;
    void checkBrowseMode();
    void openKeyed(const QString &table, const QString &walk, const QString &rest);
    void openWhole(const QString &sql, const QString &table, const QString &rest);
    bool readKeys(size_t wanted) const;
    void finishKeys() const;
    void readKeysInBackground();
    void stopKeys() const;
    RowPtr rowAt(int row) const;
    Cell currentCell(int column) const;
    int locateKeyed(const std::vector<int> &columns, const QStringList &values, LocateOption option);
    int locateHeld(const std::vector<int> &columns, const QStringList &values, LocateOption option) const;
    static bool cellsMatch(const Row &row, const std::vector<int> &columns, const QStringList &values,
                           LocateOption option);
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
    // The rowid of every row in list order (0 for a read-only list and the record being inserted).
    mutable std::vector<qint64> keys_;
    mutable std::unique_ptr<KeyScan> pendingKeys_;  // a keyed list's rowids still to read
    std::unique_ptr<rows::RowCache> cache_;        // a keyed list's row contents
    std::vector<RowPtr> held_;                      // every row of a list read whole
    std::unordered_set<qint64> written_;            // rows of a keyed list written through it
    RowPtr currentRow_;  // the current record as loaded: what a write checks against
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    Row buffer_;  // the record being edited or inserted
    std::vector<bool> dirty_;
    int disableCount_ = 0;
    int keyChain_ = 0;          // which opening a background slice belongs to
    mutable QString keyError_;  // why the background reading of rowids stopped
};

// Writes the record being edited or appended with `writes` and posts it. Anything refused on the
// way cancels the record, so no half-written row is left for a later cursor move to post; the
// error goes on to the caller.
void writeAndPost(Query &query, const std::function<void()> &writes);

}  // namespace korv
