#pragma once
// A recordset with the engine's dynaset behaviour, as the program's Data
// controls and its code use it:
// - the set of rows (its keyset) is fixed when it opens or is re-queried; a row
//   it adds goes to the end of that set, rows others add appear on Requery;
// - a row's values are read anew from the table when anything was written to
//   the book (or rolled back) since they were last read, so writes made through
//   another recordset or an UPDATE of this program show up; a recordset that
//   only reads keeps the rows it read;
// - AddNew / Edit fill a buffer that Update writes and CancelUpdate drops;
//   moving away while editing drops the buffer too;
// - a recordset over an SQL text with DISTINCT, GROUP BY, aggregates or more
//   than one table is read-only.
// Errors are jet::Error with the engine's numbers (3021 no current record,
// 3020 Update without AddNew/Edit, 3022 duplicate key, 3027 read-only, ...).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/field_type.h"
#include "platform/jet/value.h"

namespace jet {

enum class EditMode { None = 0, Edit = 1, Add = 2 };

// A dynaset of table rows holds their ids and reads a row's values when it is
// visited, and can be written through; a snapshot reads every value when it
// opens and is read-only: the cheaper way to read a large set once, whole.
enum class RecordsetType { Dynaset = 2, Snapshot = 4 };

// Marks one row of one recordset; valid until that recordset is re-queried.
struct Bookmark {
    uint64_t set = 0;
    uint64_t row = 0;
    bool operator==(const Bookmark&) const = default;
};

struct FieldInfo {
    std::string name;                // as the query names it (alias or column)
    std::optional<FieldType> type;   // nullopt for an expression of no declared type
    bool updatable = false;          // a column of the base table, not a counter
};

namespace detail {
struct RecordsetState;
class Connection;
}

class Recordset {
public:
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    ~Recordset();

    bool eof() const;   // after the last row (or no rows at all)
    bool bof() const;   // before the first row (or no rows at all)
    int64_t recordCount() const;
    int64_t absolutePosition() const;  // 0 for the first row; -1 without a current row
    EditMode editMode() const;
    bool updatable() const;

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();

    void addNew();
    void edit();
    void update();
    void cancelUpdate();
    void deleteRecord();  // the current row; afterwards there is no current row until a move

    Bookmark bookmark() const;
    void setBookmark(const Bookmark& bookmark);
    Bookmark lastModified() const;  // the row last added or changed through this recordset
    void requery();
    // A requery whose answer the caller knows: the same rows, with the table
    // row `rowid` moved to stand just before the table row `beforeRowid` (at
    // the end without one), for a caller that changed only that row's place
    // in the set's order. Like requery() it begins a new set at its first row
    // (bookmarks of the old one are no longer valid), whose rows are read
    // afresh when visited. `changedFrom` is the database's version() before
    // the caller's change: when anything else wrote between the set's last
    // read and then, the set cannot be trusted to hold the other rows.
    // False, changing nothing, when either row is not in the set, the set
    // holds no table rows or was not current at `changedFrom`.
    bool requeryMovingRow(int64_t rowid, std::optional<int64_t> beforeRowid, uint64_t changedFrom);

    size_t fieldCount() const;
    const FieldInfo& fieldInfo(size_t index) const;
    size_t fieldIndex(std::string_view name) const;  // letter case ignored; 3265 when absent
    Value field(std::string_view name) const;
    Value field(size_t index) const;
    void setField(std::string_view name, const Value& value);
    void setField(size_t index, const Value& value);

    // The values of the row at a position, read without moving (for grids).
    std::vector<Value> rowAt(int64_t position) const;

private:
    friend class Database;
    explicit Recordset(std::unique_ptr<detail::RecordsetState> state);
    std::unique_ptr<detail::RecordsetState> s_;
};

}  // namespace jet
