#pragma once
// The thin layer over the SQLite C interface that the database and recordset
// share: an open connection, a prepared statement, value binding and reading,
// and the translation of SQLite's result codes into the engine's errors.
// Internal to platform/jet.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/jet/error.h"
#include "platform/jet/field_type.h"
#include "platform/jet/jet_sql.h"
#include "platform/jet/value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace jet::detail {

class Connection {
public:
    Connection(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    const std::string& path() const { return path_; }
    // Runs a statement that takes no parameters and returns no rows.
    void exec(const std::string& sql);

    // Changes whenever a write or a rollback may have changed any row, so a
    // copy of a row read at one version is known to be current at the same one.
    uint64_t version() const;

    int transactionDepth = 0;
    uint64_t rollbacks = 0;

private:
    friend class Statement;
    // Prepared statements whose Statement has ended, kept by their text: the
    // register asks the same few queries after every save, and parsing them
    // anew each time cost more than running some of them.
    // Each idle statement carries the schema version read before it was
    // prepared: one prepared under another schema (changed through any
    // connection) would describe the old columns until it runs, and is dropped.
    struct Idle {
        sqlite3_stmt* stmt;
        int64_t schema;
    };
    sqlite3_stmt* takeIdle(const std::string& sql, int64_t schema);
    void keepIdle(const std::string& sql, sqlite3_stmt* stmt, int64_t schema);
    int64_t schemaVersion();  // -1 when it cannot be read

    sqlite3* db_;
    std::string path_;
    std::unordered_multimap<std::string, Idle> idle_;
    sqlite3_stmt* schemaQuery_ = nullptr;
};

Error errorFromSqlite(sqlite3* db, int rc, std::string_view path);

class Statement {
public:
    // Prepares exactly one statement: a text that holds a second one is refused.
    Statement(Connection& connection, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool step();  // true: a row is ready
    void reset();
    void bind(int index, const Value& value);  // 1-based
    // Binds the values for the "?" of a translated text, each read as its kind asks.
    void bindParameters(const std::vector<ParamKind>& kinds, const std::vector<Value>& values);

    int columnCount() const;
    std::string columnName(int column) const;
    std::optional<FieldType> declaredType(int column) const;
    std::string originTable(int column) const;  // empty for an expression
    std::string originColumn(int column) const;
    Value column(int column, std::optional<FieldType> type) const;
    int64_t columnInt64(int column) const;

private:
    Connection& connection_;
    std::string sql_;
    int64_t schema_ = -1;
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace jet::detail
