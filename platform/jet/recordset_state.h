#pragma once
// The inside of a Recordset: its keyset, position and edit buffer.
// Internal to platform/jet.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/jet_sql.h"
#include "platform/jet/recordset.h"
#include "platform/jet/sqlite_statement.h"

namespace jet::detail {

struct RecordsetState {
    RecordsetState(std::shared_ptr<Connection> connection, Translation translation, std::vector<Value> params);

    struct Row {
        uint64_t serial;            // the bookmark; rows are kept in serial order
        int64_t rowid;              // the table row (updatable sets)
        std::vector<Value> values;  // the row itself (read-only sets)
    };
    enum class Pos { BeforeFirst, At, AfterLast, Deleted };

    std::shared_ptr<Connection> connection;
    Translation translation;
    std::vector<Value> params;
    std::vector<FieldInfo> fields;
    std::vector<std::string> baseColumns;  // per field; empty for an expression
    bool updatable = false;

    std::vector<Row> rows;
    uint64_t setId = 0;
    uint64_t nextSerial = 0;
    Pos pos = Pos::AfterLast;
    size_t index = 0;  // At: the row; Deleted: where the deleted row stood

    EditMode mode = EditMode::None;
    std::vector<std::optional<Value>> pending;
    std::optional<uint64_t> lastModified;

    // The current row as last read from the table.
    mutable std::optional<std::vector<Value>> current;
    mutable std::unique_ptr<Statement> fetch;

    void load();                      // runs the query: keyset, fields, first row
    std::optional<std::vector<Value>> readRow(const Row& row) const;
    const std::vector<Value>& currentValues() const;
    const Row& currentRow() const;    // 3021 / 3167 without one
    void arrive(Pos p, size_t i);     // moves, dropping an unfinished edit
    size_t rowIndexOf(uint64_t serial) const;  // rows.size() when gone
};

}  // namespace jet::detail
