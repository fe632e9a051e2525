#include "platform/jet/recordset.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <optional>

#include "platform/jet/error.h"
#include "platform/jet/recordset_state.h"
#include "platform/vb/text_compare.h"

namespace jet {

namespace detail {

uint64_t newSetId() {
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

namespace {

bool isCounter(sqlite3* db, const std::string& table, const std::string& column) {
    int notNull = 0, primaryKey = 0, autoIncrement = 0;
    const int rc = sqlite3_table_column_metadata(db, nullptr, table.c_str(), column.c_str(), nullptr, nullptr,
                                                 &notNull, &primaryKey, &autoIncrement);
    return rc == SQLITE_OK && autoIncrement != 0;
}

// The query of a set's row ids alone, in the set's order; none for a set that
// is not of plain table columns (an expression that fails must fail the
// opening, not a later read), or whose select list holds parameters of its
// own (the ids' query would bind them to the wrong places), or whose order
// cannot be read without the select list (an alias): those read their values
// at once.
std::optional<Statement> keysetQuery(Connection& connection, const Translation& translation, bool tableColumns) {
    if (!tableColumns || translation.selectList.find('?') != std::string::npos) return std::nullopt;
    try {
        return std::optional<Statement>(std::in_place, connection, "SELECT rowid " + translation.fromClause);
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace

RecordsetState::RecordsetState(std::shared_ptr<Connection> c, Translation t, std::vector<Value> p, RecordsetType ty)
    : connection(std::move(c)), translation(std::move(t)), params(std::move(p)), type(ty) {
    load();
}

void RecordsetState::load() {
    const bool readsTableRows = translation.baseTable.has_value() && type == RecordsetType::Dynaset;
    // An updatable set also reads each row's id, to read the row anew and write it.
    const std::string sql = readsTableRows ? "SELECT rowid, " + translation.selectList + " " + translation.fromClause
                                           : translation.sql;
    Statement query(*connection, sql);
    query.bindParameters(translation.params, params);
    const int first = readsTableRows ? 1 : 0;
    const int count = query.columnCount() - first;

    // Built aside and taken over only when the whole query has run, so a query
    // that fails part-way leaves the set as it was.
    std::vector<FieldInfo> newFields;
    std::vector<std::string> newBaseColumns;
    for (int i = 0; i < count; ++i) {
        const int column = first + i;
        std::string base;
        if (readsTableRows && vb::equalIgnoringCase(query.originTable(column), *translation.baseTable))
            base = query.originColumn(column);
        const bool writable =
            !base.empty() && !isCounter(connection->handle(), query.originTable(column), base);
        newFields.push_back({query.columnName(column), query.declaredType(column), writable});
        newBaseColumns.push_back(std::move(base));
    }

    std::vector<Row> newRows;
    uint64_t serial = 0;
    const bool plainColumns = std::none_of(newBaseColumns.begin(), newBaseColumns.end(),
                                           [](const std::string& base) { return base.empty(); });
    if (std::optional<Statement> keys = keysetQuery(*connection, translation, readsTableRows && plainColumns)) {
        // A set of table rows holds only their ids; a row's values are read
        // when it is first visited, as a keyset does, so opening a large set
        // costs what its ids cost.
        keys->bindParameters(translation.params, params);
        while (keys->step()) newRows.push_back({serial++, keys->columnInt64(0), {}, kNeverRead});
    } else {
        const uint64_t version = connection->version();
        while (query.step()) {
            Row row{serial++, readsTableRows ? query.columnInt64(0) : 0, {}, version};
            row.values.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                row.values.push_back(query.column(first + i, newFields[static_cast<size_t>(i)].type));
            newRows.push_back(std::move(row));
        }
    }

    updatable = readsTableRows;
    fields = std::move(newFields);
    baseColumns = std::move(newBaseColumns);
    rows = std::move(newRows);
    setId = newSetId();
    nextSerial = serial;
    loadedAt = connection->version();
    endEdit();
    lastModified.reset();
    pos = rows.empty() ? Pos::AfterLast : Pos::At;
    index = 0;
}

Statement& RecordsetState::prepared(const std::string& sql) const {
    auto& statement = statements_[sql];
    if (!statement) statement = std::make_unique<Statement>(*connection, sql);
    statement->reset();
    return *statement;
}

const std::vector<Value>& RecordsetState::valuesOf(size_t rowIndex) const {
    Row& row = rows[rowIndex];
    // Nothing was written since the copy was read: it is the row as it stands.
    if (!updatable || row.readAt == connection->version()) return row.values;
    Statement& fetch = prepared("SELECT " + translation.selectList + " FROM " +
                                quoteIdentifier(*translation.baseTable) + " WHERE rowid = ?");
    fetch.bind(1, Value(row.rowid));
    if (!fetch.step()) throw errors::recordDeleted();  // deleted since the set was built
    row.values.clear();
    for (size_t i = 0; i < fields.size(); ++i) row.values.push_back(fetch.column(static_cast<int>(i), fields[i].type));
    fetch.reset();
    row.readAt = connection->version();
    return row.values;
}

bool RecordsetState::changedElsewhere(size_t rowIndex) const {
    const Row& row = rows[rowIndex];
    // A copy this connection's own writes have overtaken (or never read) has
    // nothing to hold the table against.
    if (row.readAt != connection->version()) return false;
    Statement& fetch = prepared("SELECT " + translation.selectList + " FROM " +
                                quoteIdentifier(*translation.baseTable) + " WHERE rowid = ?");
    fetch.bind(1, Value(row.rowid));
    if (!fetch.step()) throw errors::recordDeleted();
    bool changed = false;
    for (size_t i = 0; i < fields.size() && !changed; ++i)
        changed = !(fetch.column(static_cast<int>(i), fields[i].type) == row.values[i]);
    fetch.reset();
    return changed;
}

const RecordsetState::Row& RecordsetState::currentRow() const {
    if (pos == Pos::Deleted) throw errors::recordDeleted();
    if (pos != Pos::At) throw errors::noCurrentRecord();
    return rows[index];
}

void RecordsetState::endEdit() {
    mode = EditMode::None;
    pending.clear();
}

void RecordsetState::arrive(Pos p, size_t i) {
    endEdit();
    pos = p;
    index = i;
}

size_t RecordsetState::rowIndexOf(uint64_t serial) const {
    const auto it = std::lower_bound(rows.begin(), rows.end(), serial,
                                     [](const Row& r, uint64_t s) { return r.serial < s; });
    return (it != rows.end() && it->serial == serial) ? static_cast<size_t>(it - rows.begin()) : rows.size();
}

}  // namespace detail

using Pos = detail::RecordsetState::Pos;

Recordset::Recordset(std::unique_ptr<detail::RecordsetState> state) : s_(std::move(state)) {}
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;
Recordset::~Recordset() = default;

bool Recordset::eof() const { return s_->rows.empty() || s_->pos == Pos::AfterLast; }
bool Recordset::bof() const { return s_->rows.empty() || s_->pos == Pos::BeforeFirst; }
int64_t Recordset::recordCount() const { return static_cast<int64_t>(s_->rows.size()); }
int64_t Recordset::absolutePosition() const {
    if (s_->mode == EditMode::Add || s_->pos != Pos::At) return -1;
    return static_cast<int64_t>(s_->index);
}
EditMode Recordset::editMode() const { return s_->mode; }
bool Recordset::updatable() const { return s_->updatable; }

void Recordset::moveFirst() {
    if (s_->rows.empty()) throw errors::noCurrentRecord();
    s_->arrive(Pos::At, 0);
}

void Recordset::moveLast() {
    if (s_->rows.empty()) throw errors::noCurrentRecord();
    s_->arrive(Pos::At, s_->rows.size() - 1);
}

void Recordset::moveNext() {
    // From a deleted row a move always succeeds, also when it was the last one.
    if (s_->pos != Pos::Deleted && eof()) throw errors::noCurrentRecord();
    // After a delete the following row has moved up into the deleted one's place.
    const size_t next = s_->pos == Pos::BeforeFirst ? 0 : s_->pos == Pos::Deleted ? s_->index : s_->index + 1;
    if (next < s_->rows.size()) s_->arrive(Pos::At, next);
    else s_->arrive(Pos::AfterLast, 0);
}

void Recordset::movePrevious() {
    if (s_->pos != Pos::Deleted && bof()) throw errors::noCurrentRecord();
    const size_t count = s_->rows.size();
    const size_t here = s_->pos == Pos::AfterLast ? count : std::min(s_->index, count);
    if (here > 0) s_->arrive(Pos::At, here - 1);
    else s_->arrive(Pos::BeforeFirst, 0);
}

void Recordset::addNew() {
    if (!s_->updatable) throw errors::readOnly();
    s_->mode = EditMode::Add;
    s_->pending.assign(s_->fields.size(), std::nullopt);
}

void Recordset::edit() {
    if (!s_->updatable) throw errors::readOnly();
    s_->endEdit();
    s_->currentRow();
    s_->valuesOf(s_->index);  // the row must still exist
    s_->mode = EditMode::Edit;
    s_->pending.assign(s_->fields.size(), std::nullopt);
}

void Recordset::update() {
    detail::RecordsetState& s = *s_;
    if (s.mode == EditMode::None) throw errors::updateWithoutEdit();
    std::string columns;
    std::vector<Value> values;
    for (size_t i = 0; i < s.fields.size(); ++i) {
        if (!s.pending[i]) continue;
        if (!columns.empty()) columns += ", ";
        columns += quoteIdentifier(s.baseColumns[i]) + (s.mode == EditMode::Edit ? " = ?" : "");
        values.push_back(*s.pending[i]);
    }
    const std::string table = quoteIdentifier(*s.translation.baseTable);
    if (s.mode == EditMode::Add) {
        std::string sql = "INSERT INTO " + table;
        if (values.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            sql += " (" + columns + ") VALUES (?";
            for (size_t i = 1; i < values.size(); ++i) sql += ", ?";
            sql += ")";
        }
        detail::Statement& insert = s.prepared(sql);
        for (size_t i = 0; i < values.size(); ++i) insert.bind(static_cast<int>(i) + 1, values[i]);
        insert.step();
        // The new row joins the end of the set; the row that was current stays so.
        s.rows.push_back({s.nextSerial++, sqlite3_last_insert_rowid(s.connection->handle()), {},
                          detail::RecordsetState::kNeverRead});
        s.lastModified = s.rows.back().serial;
    } else {
        const auto& row = s.currentRow();
        if (!values.empty()) {
            // Optimistic locking: a row another connection changed since this
            // set read it is not overwritten with what was read before.
            if (s.changedElsewhere(s.index)) throw errors::changedByAnotherUser();
            detail::Statement& change = s.prepared("UPDATE " + table + " SET " + columns + " WHERE rowid = ?");
            for (size_t i = 0; i < values.size(); ++i) change.bind(static_cast<int>(i) + 1, values[i]);
            change.bind(static_cast<int>(values.size()) + 1, Value(row.rowid));
            change.step();
            if (sqlite3_changes(s.connection->handle()) == 0) throw errors::recordDeleted();
        }
        s.lastModified = row.serial;
    }
    s.endEdit();
}

void Recordset::cancelUpdate() {
    if (s_->mode == EditMode::None) throw errors::updateWithoutEdit();
    s_->endEdit();
}

void Recordset::deleteRecord() {
    detail::RecordsetState& s = *s_;
    if (!s.updatable) throw errors::readOnly();
    if (s.mode == EditMode::Add) throw errors::noCurrentRecord();
    const auto& row = s.currentRow();
    detail::Statement& remove = s.prepared("DELETE FROM " + quoteIdentifier(*s.translation.baseTable) + " WHERE rowid = ?");
    remove.bind(1, Value(row.rowid));
    remove.step();
    const bool wasThere = sqlite3_changes(s.connection->handle()) > 0;
    const size_t at = s.index;
    s.rows.erase(s.rows.begin() + static_cast<std::ptrdiff_t>(at));
    s.arrive(Pos::Deleted, at);
    if (!wasThere) throw errors::recordDeleted();
}

Bookmark Recordset::bookmark() const { return {s_->setId, s_->currentRow().serial}; }

void Recordset::setBookmark(const Bookmark& bookmark) {
    if (bookmark.set != s_->setId) throw errors::notValidBookmark();
    const size_t at = s_->rowIndexOf(bookmark.row);
    if (at == s_->rows.size()) throw errors::recordDeleted();
    s_->arrive(Pos::At, at);
}

Bookmark Recordset::lastModified() const {
    if (!s_->lastModified) throw errors::noCurrentRecord();
    return {s_->setId, *s_->lastModified};
}

void Recordset::requery() { s_->load(); }

bool Recordset::requeryMovingRow(int64_t rowid, std::optional<int64_t> beforeRowid, uint64_t changedFrom) {
    detail::RecordsetState& s = *s_;
    if (!s.updatable || s.loadedAt != changedFrom) return false;
    using Row = detail::RecordsetState::Row;
    const auto moving = std::find_if(s.rows.begin(), s.rows.end(), [&](const Row& r) { return r.rowid == rowid; });
    if (moving == s.rows.end()) return false;
    if (beforeRowid && (*beforeRowid == rowid || std::none_of(s.rows.begin(), s.rows.end(), [&](const Row& r) {
                            return r.rowid == *beforeRowid;
                        })))
        return false;
    Row row = std::move(*moving);
    s.rows.erase(moving);
    const auto place = beforeRowid ? std::find_if(s.rows.begin(), s.rows.end(),
                                                  [&](const Row& r) { return r.rowid == *beforeRowid; })
                                   : s.rows.end();
    s.rows.insert(place, std::move(row));
    // A new set, as load() makes one: its bookmarks numbered afresh in its order.
    uint64_t serial = 0;
    for (Row& r : s.rows) r.serial = serial++;
    s.setId = detail::newSetId();
    s.nextSerial = serial;
    s.loadedAt = s.connection->version();
    s.endEdit();
    s.lastModified.reset();
    s.pos = s.rows.empty() ? Pos::AfterLast : Pos::At;
    s.index = 0;
    return true;
}

size_t Recordset::fieldCount() const { return s_->fields.size(); }

const FieldInfo& Recordset::fieldInfo(size_t index) const {
    if (index >= s_->fields.size()) throw errors::itemNotFound();
    return s_->fields[index];
}

size_t Recordset::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < s_->fields.size(); ++i)
        if (vb::equalIgnoringCase(s_->fields[i].name, name)) return i;
    throw errors::itemNotFound();
}

Value Recordset::field(std::string_view name) const { return field(fieldIndex(name)); }

Value Recordset::field(size_t index) const {
    const detail::RecordsetState& s = *s_;
    if (index >= s.fields.size()) throw errors::itemNotFound();
    if (s.mode != EditMode::None && s.pending[index]) return *s.pending[index];
    if (s.mode == EditMode::Add) return Value();
    s.currentRow();
    return s.valuesOf(s.index)[index];
}

void Recordset::setField(std::string_view name, const Value& value) { setField(fieldIndex(name), value); }

void Recordset::setField(size_t index, const Value& value) {
    detail::RecordsetState& s = *s_;
    if (index >= s.fields.size()) throw errors::itemNotFound();
    if (s.mode == EditMode::None) throw errors::updateWithoutEdit();
    const FieldInfo& info = s.fields[index];
    if (!info.updatable) throw errors::fieldNotUpdatable();
    s.pending[index] = info.type ? convertForField(value, *info.type) : value;
}

std::vector<Value> Recordset::rowAt(int64_t position) const {
    if (position < 0 || position >= recordCount()) throw errors::noCurrentRecord();
    return s_->valuesOf(static_cast<size_t>(position));
}

}  // namespace jet
