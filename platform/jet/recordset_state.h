#pragma once
// The inside of a Recordset: its keyset, position and edit buffer.
// Internal to platform/jet.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/jet_sql.h"
#include "platform/jet/recordset.h"
#include "platform/jet/sqlite_statement.h"

namespace jet::detail {

// A number no set has had before: bookmarks carry it.
uint64_t newSetId();

struct RecordsetState {
    RecordsetState(std::shared_ptr<Connection> connection, Translation translation, std::vector<Value> params,
                   RecordsetType type = RecordsetType::Dynaset);

    static constexpr uint64_t kNeverRead = ~uint64_t{0};
    struct Row {
        uint64_t serial;            // the bookmark; rows are kept in serial order
        int64_t rowid;              // the table row (updatable sets)
        std::vector<Value> values;  // as last read
        uint64_t readAt;            // the connection's version when read
    };
    enum class Pos { BeforeFirst, At, AfterLast, Deleted };

    std::shared_ptr<Connection> connection;
    Translation translation;
    std::vector<Value> params;
    RecordsetType type;
    std::vector<FieldInfo> fields;
    std::vector<std::string> baseColumns;  // per field; empty for an expression
    bool updatable = false;

    // Mutable: reading a field brings the copy of its row up to date.
    mutable std::vector<Row> rows;
    uint64_t setId = 0;
    uint64_t loadedAt = 0;  // the connection's version when the set's rows were last read
    uint64_t nextSerial = 0;
    Pos pos = Pos::AfterLast;
    size_t index = 0;  // At: the row; Deleted: where the deleted row stood

    EditMode mode = EditMode::None;
    std::vector<std::optional<Value>> pending;
    std::optional<uint64_t> lastModified;

    void load();  // runs the query: keyset, fields, first row
    // The row's values as the table holds them now; 3167 when it is gone.
    const std::vector<Value>& valuesOf(size_t rowIndex) const;
    const Row& currentRow() const;  // 3021 / 3167 without one
    // Whether the table's row differs from the copy this set holds, read at
    // this connection's current version: written through another connection
    // since it was read. 3167 when it is gone.
    bool changedElsewhere(size_t rowIndex) const;
    void arrive(Pos p, size_t i);   // moves, dropping an unfinished edit
    void endEdit();
    size_t rowIndexOf(uint64_t serial) const;  // rows.size() when gone
    Statement& prepared(const std::string& sql) const;

private:
    mutable std::map<std::string, std::unique_ptr<Statement>> statements_;
};

}  // namespace jet::detail
