#include "platform/jet/sqlite_statement.h"

#include <sqlite3.h>

#include <cerrno>
#include <cmath>

#include "platform/jet/failed_commit.h"

namespace jet::detail {

namespace {

std::string afterPrefix(std::string_view message, std::string_view prefix) {
    std::string name(message.substr(prefix.size()));
    if (name.rfind("main.", 0) == 0) name.erase(0, 5);
    return name;
}

std::string isoText(const vb::DateTime& d) {
    const bool midnight = d.hour() == 0 && d.minute() == 0 && d.second() == 0;
    return midnight ? d.toIsoDate() : d.toIsoDateTime();
}

// A stored amount has at most four decimals, so its double lies within
// rounding noise of a whole number of ten-thousandths; only other values need
// the full decimal rounding (which goes through text and is slower).
Value currencyFromStored(double d) {
    const double scaled = d * static_cast<double>(vb::Currency::kScale);
    const double whole = std::nearbyint(scaled);
    if (std::fabs(scaled) < 1e14 && std::fabs(scaled - whole) < 1e-6)
        return Value(vb::Currency::fromUnits(static_cast<int64_t>(whole)));
    return Value(Value(d).asCurrency());
}

Value parameterValue(ParamKind kind, const Value& value) {
    if (value.isNull() || kind == ParamKind::Plain) return value;
    if (kind == ParamKind::LikePattern) return Value(translateLikePattern(value.asText()));
    try {
        return Value(value.asDate().dateOnly());
    } catch (const Error&) {
        throw errors::dataTypeMismatchInCriteria();
    }
}

}  // namespace

// Enough for every text the program asks again and again; beyond it a
// finished statement is finalized, so odd one-off texts cannot pile up.
constexpr size_t kIdleStatementLimit = 128;

Connection::~Connection() {
    for (auto& [sql, idle] : idle_) sqlite3_finalize(idle.stmt);
    sqlite3_finalize(schemaQuery_);
    // Back to rollback mode (this checkpoints the log into the file and
    // removes it); it fails harmlessly while another connection has the file
    // open or when the file is read-only, and is a no-op in rollback mode.
    if (!sqlite3_db_readonly(db_, "main")) sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db_);
}

int64_t Connection::schemaVersion() {
    if (!schemaQuery_ && sqlite3_prepare_v2(db_, "PRAGMA schema_version", -1, &schemaQuery_, nullptr) != SQLITE_OK)
        return -1;
    const int64_t version = sqlite3_step(schemaQuery_) == SQLITE_ROW ? sqlite3_column_int64(schemaQuery_, 0) : -1;
    sqlite3_reset(schemaQuery_);
    return version;
}

sqlite3_stmt* Connection::takeIdle(const std::string& sql, int64_t schema) {
    auto [it, end] = idle_.equal_range(sql);
    while (it != end) {
        const Idle idle = it->second;
        it = idle_.erase(it);
        if (schema >= 0 && idle.schema == schema) return idle.stmt;
        sqlite3_finalize(idle.stmt);
    }
    return nullptr;
}

void Connection::keepIdle(const std::string& sql, sqlite3_stmt* stmt, int64_t schema) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (schema < 0 || idle_.size() >= kIdleStatementLimit) {
        sqlite3_finalize(stmt);
        return;
    }
    idle_.emplace(sql, Idle{stmt, schema});
}

uint64_t Connection::version() const {
    return static_cast<uint64_t>(sqlite3_total_changes64(db_)) + rollbacks;
}

void Connection::exec(const std::string& sql) {
    Statement statement(*this, sql);
    while (statement.step()) {
    }
}

Error errorFromSqlite(sqlite3* db, int rc, std::string_view path) {
    const std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    switch (rc & 0xff) {
        case SQLITE_CONSTRAINT:
            if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) return errors::duplicateKey();
            if (rc == SQLITE_CONSTRAINT_NOTNULL) return errors::nullInKey();
            return errors::engine(message);
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return errors::locked();
        case SQLITE_READONLY: return errors::readOnly();
        case SQLITE_CORRUPT: return errors::corrupt(path);
        case SQLITE_NOTADB: return errors::unrecognizedFormat(path);
        case SQLITE_FULL: return errors::diskFull();
        case SQLITE_IOERR: {
            // A write the system refused for want of space (the log's index
            // growing, say) is a full disk, whatever step of the engine met it.
            const int systemError = db ? sqlite3_system_errno(db) : 0;
            return systemError == ENOSPC || systemError == EDQUOT ? errors::diskFull() : errors::diskError();
        }
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_AUTH: return errors::cannotOpenFile(path);
        case SQLITE_MISMATCH: return errors::dataTypeMismatchInCriteria();
        case SQLITE_ERROR:
            if (message.rfind("no such table: ", 0) == 0) return errors::tableNotFound(afterPrefix(message, "no such table: "));
            if (message.rfind("no such column: ", 0) == 0) return errors::itemNotFound();
            return errors::syntax(message);
        default: return errors::engine(message);
    }
}

Statement::Statement(Connection& connection, const std::string& sql)
    : connection_(connection), sql_(sql), schema_(connection.schemaVersion()) {
    stmt_ = connection.takeIdle(sql, schema_);
    if (stmt_) return;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(connection.handle(), sql.c_str(), static_cast<int>(sql.size()), &stmt_, &tail);
    if (rc != SQLITE_OK) throw errorFromSqlite(connection.handle(), sqlite3_extended_errcode(connection.handle()), connection.path());
    if (!stmt_) throw errors::syntax(sql);  // nothing but blanks
    for (; tail && *tail; ++tail) {
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            sqlite3_finalize(stmt_);
            throw errors::charactersAfterEnd();
        }
    }
}

Statement::~Statement() { connection_.keepIdle(sql_, stmt_, schema_); }

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int extended = sqlite3_extended_errcode(connection_.handle());
    Error error = errorFromSqlite(connection_.handle(), extended, connection_.path());
    sqlite3_reset(stmt_);
    // A commit (COMMIT, or a write outside a transaction) reported as failed
    // must not turn up at the next start.
    if ((extended & 0xff) == SQLITE_IOERR || (extended & 0xff) == SQLITE_FULL) forgetFailedCommit(connection_);
    throw error;
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

void Statement::bind(int index, const Value& value) {
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else if (value.isBool()) {
        rc = sqlite3_bind_int(stmt_, index, value.asBool() ? 1 : 0);
    } else if (value.isLong()) {
        rc = sqlite3_bind_int64(stmt_, index, value.asLong());
    } else if (value.isDouble() || value.isCurrency()) {
        rc = sqlite3_bind_double(stmt_, index, value.asDouble());
    } else {
        const std::string text = value.isDate() ? isoText(value.asDate()) : value.asText();
        rc = sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) throw errorFromSqlite(connection_.handle(), rc, connection_.path());
}

void Statement::bindParameters(const std::vector<ParamKind>& kinds, const std::vector<Value>& values) {
    if (values.size() < kinds.size()) throw errors::tooFewParameters(kinds.size() - values.size());
    if (values.size() > kinds.size()) throw errors::invalidArgument();
    for (size_t i = 0; i < kinds.size(); ++i) bind(static_cast<int>(i) + 1, parameterValue(kinds[i], values[i]));
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

std::optional<FieldType> Statement::declaredType(int column) const {
    const char* declared = sqlite3_column_decltype(stmt_, column);
    return declared ? fieldTypeFromDeclared(declared) : std::nullopt;
}

std::string Statement::originTable(int column) const {
    const char* table = sqlite3_column_table_name(stmt_, column);
    return table ? table : "";
}

std::string Statement::originColumn(int column) const {
    const char* name = sqlite3_column_origin_name(stmt_, column);
    return name ? name : "";
}

int64_t Statement::columnInt64(int column) const { return sqlite3_column_int64(stmt_, column); }

Value Statement::column(int column, std::optional<FieldType> type) const {
    const int storage = sqlite3_column_type(stmt_, column);
    if (storage == SQLITE_NULL) return Value();
    const auto text = [&] {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
    };
    const bool numeric = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    if (!type) {
        if (storage == SQLITE_INTEGER) return Value(sqlite3_column_int64(stmt_, column));
        if (storage == SQLITE_FLOAT) return Value(sqlite3_column_double(stmt_, column));
        return Value(text());
    }
    switch (*type) {
        case FieldType::Text: return Value(text());
        case FieldType::Boolean:
            if (numeric) return Value(sqlite3_column_int64(stmt_, column) != 0);
            break;
        case FieldType::Long:
            if (storage == SQLITE_INTEGER) return Value(sqlite3_column_int64(stmt_, column));
            if (storage == SQLITE_FLOAT) return Value(Value(sqlite3_column_double(stmt_, column)).asLong());
            break;
        case FieldType::Double:
            if (numeric) return Value(sqlite3_column_double(stmt_, column));
            break;
        case FieldType::Currency:
            if (storage == SQLITE_INTEGER) return Value(Value(sqlite3_column_int64(stmt_, column)).asCurrency());
            if (storage == SQLITE_FLOAT) return currencyFromStored(sqlite3_column_double(stmt_, column));
            break;
        case FieldType::DateTime:
            if (auto d = vb::DateTime::fromIso(text())) return Value(*d);
            break;
    }
    // A value stored in a form its column does not declare is handed over as
    // it is, rather than lost.
    if (storage == SQLITE_INTEGER) return Value(sqlite3_column_int64(stmt_, column));
    if (storage == SQLITE_FLOAT) return Value(sqlite3_column_double(stmt_, column));
    return Value(text());
}

}  // namespace jet::detail
