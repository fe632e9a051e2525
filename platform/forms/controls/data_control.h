#pragma once
// The Data control: a database, a record source and the recordset it opens,
// with the controls bound to that recordset's current row.
//
// The program gives it DatabaseName (the book's path), Connect (";pwd=...")
// and RecordSource (a table name or a SELECT text), then calls Refresh, which
// opens the database when needed and the recordset, fills the bound controls
// from the first row and raises Reposition. The recordset, its moves and its
// edits are described in data_recordset.h.
//
// Writing bound text into typed columns: the text of a flagged control is
// handed to the database layer as text, which converts it into the column's
// type the way the engine did (an empty text into a number, currency, date or
// Yes/No column is Null; a text column keeps the empty text; a text that has
// no reading in the column's type raises "Data type conversion error.", 3421).
// A check box writes True/False (Null when grayed). A bound control whose
// field the recordset lacks shows nothing and is not written.
//
// When the form unloads, a Data control that still holds a recordset raises
// Validate (vbDataActionUnload), writes the flagged controls back unless the
// handler cleared Save, and closes the recordset; a failure there goes to
// the Error event. Releasing the recordset first (releaseRecordset) drops
// unsaved edits without a question, as the windows' Close buttons do.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/control.h"
#include "platform/forms/data_action.h"
#include "platform/forms/data_recordset.h"
#include "platform/jet/database.h"

namespace forms {

class Bindable;
class DataCombo;
class Grid;

class DataControl : public Control {
public:
    DataControl(Form& form, std::string name, int index = -1);
    ~DataControl() override;

    const std::string& databaseName() const { return databaseName_; }
    void setDatabaseName(std::string path);
    const std::string& connect() const { return connect_; }
    void setConnect(std::string connect);
    const std::string& recordSource() const { return recordSource_; }
    void setRecordSource(std::string source);
    // An SQL text whose "?" take these values, in order (values a user typed
    // are bound, never written into the text).
    void setRecordSource(std::string source, std::vector<jet::Value> parameters);
    const std::vector<jet::Value>& recordSourceParameters() const { return parameters_; }
    // The text the control shows between its arrows.
    const std::string& caption() const { return caption_; }
    void setCaption(std::string text);
    int eofAction() const { return eofAction_; }
    void setEofAction(int action) { eofAction_ = action; }
    int bofAction() const { return bofAction_; }
    void setBofAction(int action) { bofAction_ = action; }

    // Opens (or re-opens) the recordset of the record source; jet::Error on failure.
    void refresh();
    // A refresh whose answer the caller knows (jet::Recordset::requeryMovingRow):
    // the open set's table row `rowid` moved before `beforeRowid` (to the end
    // without one), then, as after refresh, the first row shown and
    // Reposition raised. False, changing nothing, without an open set, when
    // either row is not in it or when something else wrote since it was read
    // (`changedFrom`: the database's version() before the caller's change).
    bool refreshMovingRow(int64_t rowid, std::optional<int64_t> beforeRowid, uint64_t changedFrom);
    bool hasRecordset() const { return rs_.has_value(); }
    // A new row has been started on the open recordset and not yet stored.
    bool addingRow() const;
    // The open recordset; error 91 before Refresh or after release.
    DataRecordset& recordset();
    // Closes the recordset without writing anything (`Set Data1.Recordset = Nothing`);
    // bound grids go blank without raising row events.
    void releaseRecordset();
    // The open database; error 91 before Refresh.
    jet::Database& database();

    // Writes the flagged controls into the current row and stores it, without
    // Validate (VB's UpdateRecord). Nothing flagged and no pending edit: nothing happens.
    void updateRecord();
    // Fills the bound controls again from the current row, clearing their flags.
    void updateControls();

    // What the user has entered in the current row and not yet stored: the
    // value of every flagged control, and whether the row is a new one. Taken
    // before a store whose transaction may be rolled back.
    struct Entry {
        bool adding = false;
        std::vector<std::pair<Bindable*, jet::Value>> values;
    };
    Entry pendingEntry() const;
    // After the store of `entry` was rolled back: the set read again (a row
    // added and rolled back is gone from the book), a new row started again
    // when it was one, the controls filled and Reposition raised, then the
    // entry shown over them, flagged, as the user left it.
    void restoreEntry(const Entry& entry);

    // Whether any bound control that would be written back carries the changed flag.
    bool anyControlChanged() const;
    const std::vector<Bindable*>& boundControls() const { return bound_; }

    // Events.
    std::function<void(int& action, bool& save)> onValidate;
    std::function<void()> onReposition;
    std::function<void(int dataErr, int& response)> onError;

    // User actions (the runtime's input API): moves by the Data control's
    // arrows or by a bound grid. Errors go to the Error event, not to the caller.
    enum class Arrow { First, Previous, Next, Last };
    void userArrow(Arrow arrow);
    void userMoveToPosition(int64_t position);
    // Called by the form while it unloads.
    void formUnloading();

private:
    friend class DataRecordset;
    friend class Bindable;
    friend class DataCombo;
    friend class Grid;

    jet::Recordset& rs();
    // Validate; returns false when the handler cancelled. `save` tells whether to write back.
    bool validate(int action, bool& save);
    void writeBack(bool save);  // flagged controls into the row, stored
    void writeFlaggedIntoBuffer();
    void fillControls();
    void closeRecordset();
    void fillControl(Bindable& control);
    void clearFlags();
    void afterMove();  // fill, Reposition, grids told
    void rowsChanged();
    void reportUserError(const std::exception& error);
    void navigate(int action, const std::function<void(jet::Recordset&)>& move);

    void attach(Bindable& control);
    void detach(Bindable& control);
    void attach(DataCombo& combo);
    void detach(DataCombo& combo);
    void attach(Grid& grid);
    void detach(Grid& grid);

    std::string databaseName_;
    std::string connect_;
    std::string recordSource_;
    std::vector<jet::Value> parameters_;
    std::string caption_;
    int eofAction_ = vbEOFActionMoveLast;
    int bofAction_ = vbBOFActionMoveFirst;
    std::optional<jet::Database> db_;
    std::string openedName_;
    std::string openedConnect_;
    std::optional<jet::Recordset> rs_;
    DataRecordset facade_{*this};
    std::vector<Bindable*> bound_;
    std::vector<DataCombo*> combos_;
    std::vector<Grid*> grids_;
};

}  // namespace forms
