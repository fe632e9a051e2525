#pragma once
// A book opened the way the program opens its database: a path and a connect
// string (";pwd=<password>"). Database objects opened on the same file share
// one connection, as the engine's default workspace did, so a transaction
// begun through one covers writes made through any other (a Data control's
// recordset, another's Execute).
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/recordset.h"
#include "platform/jet/value.h"

namespace jet {

namespace detail {
class Connection;
class Statement;
}

// An UPDATE, INSERT or DELETE text prepared once and run many times with
// different values, as a stored action query was (a pass that writes
// thousands of rows does not parse its text thousands of times).
class Command {
public:
    Command(Command&&) noexcept;
    Command& operator=(Command&&) noexcept;
    ~Command();
    // Runs the text with these values for its "?"; returns the rows affected.
    int64_t execute(const std::vector<Value>& params);

private:
    friend class Database;
    Command(std::shared_ptr<detail::Connection> connection, std::string_view sql);
    struct State;
    std::unique_ptr<State> s_;
};

class Database {
public:
    // Opens an existing book; never creates one. The file name is matched
    // without regard to letter case. Errors: 3024 no such file, 3031 wrong
    // password, 3343 not a book, 3049 damaged, 3051 not readable.
    static Database open(const std::filesystem::path& path, std::string_view connect = {});
    // Creates an empty book readable by its owner only (mode 0600) and opens it.
    // Refuses (3204) when the file exists already, whatever its letter case.
    static Database create(const std::filesystem::path& path, std::string_view password);

    const std::filesystem::path& path() const { return path_; }

    // Runs an UPDATE, INSERT, DELETE or CREATE text; returns the rows affected.
    int64_t execute(std::string_view sql, const std::vector<Value>& params = {});
    // Prepares an action text for repeated execution.
    Command prepare(std::string_view sql);
    // Runs a SELECT text and hands each row's values, in order, to `row`
    // (the vector is reused from row to row), keeping none of them: for a
    // pass over many rows that keeps only what it needs of each. Writes made
    // from inside `row` are not allowed; the pass collects them for after.
    void forEachRow(std::string_view sql, const std::vector<Value>& params,
                    const std::function<void(const std::vector<Value>&)>& row);
    // Opens a recordset on a table name or a SELECT text.
    Recordset openRecordset(std::string_view source, const std::vector<Value>& params = {},
                            RecordsetType type = RecordsetType::Dynaset);

    // The engine's own check of the file's structure (SQLite's quick_check):
    // empty when sound, else what it found, one line per fault (at most 20).
    std::vector<std::string> checkStructure();

    // Writes every committed page from the write-ahead log into the file
    // itself and empties the log, so that the file alone holds the whole book
    // (before it is linked under another name). Error when it cannot finish.
    void checkpoint();

    // Transactions nest; the outermost Commit makes the work durable.
    void beginTrans();
    void commitTrans();
    void rollback();
    bool inTransaction() const;
    // Changes whenever a write or a rollback may have changed any row.
    uint64_t version() const;

private:
    Database(std::shared_ptr<detail::Connection> connection, std::filesystem::path path);
    std::shared_ptr<detail::Connection> connection_;
    std::filesystem::path path_;
};

// Rolls back unless committed: writes that belong together go in one.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db) { db_.beginTrans(); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace jet
