#include "platform/jet/database.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "platform/jet/error.h"
#include "platform/jet/file_name.h"
#include "platform/jet/foreign_log.h"
#include "platform/jet/jet_sql.h"
#include "platform/jet/recordset_state.h"
#include "platform/jet/sqlite_statement.h"
#include "platform/jet/testing/own_connection.h"

namespace jet {

using detail::Connection;
using detail::setAsideForeignLog;
using detail::Statement;

namespace {

// The book's own properties (its password) live in a table of this layer,
// apart from the program's tables.
constexpr const char* kPropertiesTable = "_jet_book";

std::string passwordFromConnect(std::string_view connect) {
    while (!connect.empty()) {
        const size_t end = connect.find(';');
        std::string_view part = connect.substr(0, end);
        connect = end == std::string_view::npos ? std::string_view() : connect.substr(end + 1);
        const size_t eq = part.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key(part.substr(0, eq));
        std::erase(key, ' ');
        if (key.size() == 3 && (key[0] | 0x20) == 'p' && (key[1] | 0x20) == 'w' && (key[2] | 0x20) == 'd')
            return std::string(part.substr(eq + 1));
    }
    return {};
}

std::shared_ptr<Connection> connect(const std::string& path) {
    setAsideForeignLog(path);
    // A book that may not be written, or whose folder may not take the
    // engine's journal, opens for reading: every write is refused (3027)
    // rather than failing half-way for want of a journal.
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const bool writable = ::access(path.c_str(), W_OK) == 0 && ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        Error error = detail::errorFromSqlite(db, rc, path);
        sqlite3_close_v2(db);
        throw error;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 5000);
    // FULL: in either journal mode a commit is on disk before COMMIT returns,
    // so a committed save survives a crash or a power cut.
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return std::make_shared<Connection>(db, path);
}

// A commit then appends its pages to the write-ahead log and syncs that one
// file; a rollback journal cost three syncs and a directory sync per save.
// Only a file that proved to be a book is switched (the mode is written into
// the file's header), and the connection puts it back in rollback mode when
// it closes, so a closed book is one self-contained file that opens from
// read-only media too. A book that cannot take the mode (read-only) keeps its
// own and works as before.
void writeAheadWhileOpen(Connection& connection) {
    sqlite3_exec(connection.handle(), "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
}

std::string storedPassword(Connection& connection) {
    try {
        Statement statement(connection, std::string("SELECT value FROM ") + kPropertiesTable + " WHERE name = 'password'");
        if (!statement.step()) throw errors::unrecognizedFormat(connection.path());
        return statement.column(0, FieldType::Text).asText();
    } catch (const Error& e) {
        // A database without our properties is not a book.
        if (e.number() == 3078) throw errors::unrecognizedFormat(connection.path());
        throw;
    }
}

// Database objects on one file share its connection while any of them is open.
struct Workspace {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<Connection>> open;
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

int& ownConnectionScopes() {
    static int scopes = 0;
    return scopes;
}

std::shared_ptr<Connection> sharedConnection(const std::filesystem::path& file) {
    std::error_code ec;
    const std::string key = std::filesystem::canonical(file, ec).string();
    if (ec) throw errors::cannotOpenFile(file.string());
    Workspace& w = workspace();
    std::lock_guard lock(w.mutex);
    if (ownConnectionScopes() > 0) return connect(key);
    if (auto existing = w.open[key].lock()) return existing;
    auto connection = connect(key);
    w.open[key] = connection;
    return connection;
}

}  // namespace

Database::Database(std::shared_ptr<Connection> connection, std::filesystem::path path)
    : connection_(std::move(connection)), path_(std::move(path)) {}

Database Database::open(const std::filesystem::path& path, std::string_view connectString) {
    const auto file = findIgnoringCase(path);
    if (!file) throw errors::fileNotFound(path.string());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*file, ec)) throw errors::cannotOpenFile(file->string());
    auto connection = sharedConnection(*file);
    if (storedPassword(*connection) != passwordFromConnect(connectString)) throw errors::notValidPassword();
    writeAheadWhileOpen(*connection);
    return Database(std::move(connection), *file);
}

Database Database::create(const std::filesystem::path& path, std::string_view password) {
    if (findIgnoringCase(path)) throw errors::databaseExists(path.string());
    const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST) throw errors::databaseExists(path.string());
        throw errors::cannotOpenFile(path.string());
    }
    ::close(fd);
    try {
        auto connection = connect(path.string());
        connection->exec("BEGIN IMMEDIATE");
        connection->exec(std::string("CREATE TABLE ") + kPropertiesTable + " (name TEXT PRIMARY KEY, value TEXT)");
        Statement insert(*connection, std::string("INSERT INTO ") + kPropertiesTable + " VALUES ('password', ?)");
        insert.bind(1, Value(password));
        insert.step();
        connection->exec("COMMIT");
    } catch (...) {
        std::filesystem::remove(path);
        throw;
    }
    return open(path, ";pwd=" + std::string(password));
}

int64_t Database::execute(std::string_view sql, const std::vector<Value>& params) {
    const Translation translation = translateSql(sql);
    if (translation.isSelect) throw errors::cannotExecuteSelect();
    Statement statement(*connection_, translation.sql);
    statement.bindParameters(translation.params, params);
    const int64_t before = sqlite3_total_changes64(connection_->handle());
    while (statement.step()) {
    }
    return sqlite3_total_changes64(connection_->handle()) - before;
}

struct Command::State {
    std::shared_ptr<Connection> connection;
    Translation translation;
    std::unique_ptr<Statement> statement;
};

Command::Command(std::shared_ptr<Connection> connection, std::string_view sql) : s_(std::make_unique<State>()) {
    s_->translation = translateSql(sql);
    if (s_->translation.isSelect) throw errors::cannotExecuteSelect();
    s_->connection = std::move(connection);
    s_->statement = std::make_unique<Statement>(*s_->connection, s_->translation.sql);
}

Command::Command(Command&&) noexcept = default;
Command& Command::operator=(Command&&) noexcept = default;
Command::~Command() = default;

int64_t Command::execute(const std::vector<Value>& params) {
    Statement& statement = *s_->statement;
    statement.reset();
    statement.bindParameters(s_->translation.params, params);
    const int64_t before = sqlite3_total_changes64(s_->connection->handle());
    while (statement.step()) {
    }
    statement.reset();
    return sqlite3_total_changes64(s_->connection->handle()) - before;
}

Command Database::prepare(std::string_view sql) { return Command(connection_, sql); }

void Database::forEachRow(std::string_view sql, const std::vector<Value>& params,
                          const std::function<void(const std::vector<Value>&)>& row) {
    const Translation translation = translateSql(sql);
    if (!translation.isSelect) throw errors::invalidOperation();
    Statement query(*connection_, translation.sql);
    query.bindParameters(translation.params, params);
    const int count = query.columnCount();
    std::vector<std::optional<FieldType>> types;
    for (int i = 0; i < count; ++i) types.push_back(query.declaredType(i));
    std::vector<Value> values(static_cast<size_t>(count));
    while (query.step()) {
        for (int i = 0; i < count; ++i) values[static_cast<size_t>(i)] = query.column(i, types[static_cast<size_t>(i)]);
        row(values);
    }
}

Recordset Database::openRecordset(std::string_view source, const std::vector<Value>& params, RecordsetType type) {
    Translation translation = translateRecordSource(source);
    if (!translation.isSelect) throw errors::invalidOperation();
    return Recordset(std::make_unique<detail::RecordsetState>(connection_, std::move(translation), params, type));
}

std::vector<std::string> Database::checkStructure() {
    std::vector<std::string> faults;
    Statement check(*connection_, "PRAGMA quick_check(20)");
    while (check.step()) {
        std::string line = check.column(0, FieldType::Text).asText();
        if (line != "ok") faults.push_back(std::move(line));
    }
    return faults;
}

void Database::checkpoint() {
    sqlite3* db = connection_->handle();
    int logged = 0, copied = 0;
    const int rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, &logged, &copied);
    if (rc != SQLITE_OK) throw detail::errorFromSqlite(db, sqlite3_extended_errcode(db), connection_->path());
    if (logged != copied) throw errors::locked();
}

void Database::beginTrans() {
    Connection& c = *connection_;
    c.exec(c.transactionDepth == 0 ? "BEGIN IMMEDIATE" : "SAVEPOINT jet_" + std::to_string(c.transactionDepth));
    ++c.transactionDepth;
}

void Database::commitTrans() {
    Connection& c = *connection_;
    if (c.transactionDepth == 0) throw errors::noTransaction();
    c.exec(c.transactionDepth == 1 ? "COMMIT" : "RELEASE jet_" + std::to_string(c.transactionDepth - 1));
    --c.transactionDepth;
}

void Database::rollback() {
    Connection& c = *connection_;
    if (c.transactionDepth == 0) throw errors::noTransaction();
    ++c.rollbacks;
    if (sqlite3_get_autocommit(c.handle())) {
        // The engine has already undone the whole transaction (a disk error).
        c.transactionDepth = 0;
        return;
    }
    if (c.transactionDepth == 1) {
        c.exec("ROLLBACK");
    } else {
        const std::string name = "jet_" + std::to_string(c.transactionDepth - 1);
        c.exec("ROLLBACK TO " + name);
        c.exec("RELEASE " + name);
    }
    --c.transactionDepth;
}

bool Database::inTransaction() const { return connection_->transactionDepth > 0; }

uint64_t Database::version() const { return connection_->version(); }

Transaction::~Transaction() {
    if (done_) return;
    try {
        db_.rollback();
    } catch (...) {
        // A destructor must not throw; the engine undoes an unfinished
        // transaction when the connection closes in any case.
    }
}

void Transaction::commit() {
    db_.commitTrans();
    done_ = true;
}

testing::OwnConnection::OwnConnection() {
    std::lock_guard lock(workspace().mutex);
    ++ownConnectionScopes();
}

testing::OwnConnection::~OwnConnection() {
    std::lock_guard lock(workspace().mutex);
    --ownConnectionScopes();
}

}  // namespace jet
