#pragma once
// The part that the advance-voucher picker and the employee balance window
// share: an employee's open unsettled advances in the upper grid, the open
// amount of the advance under the cursor, and the open rows that settle it in
// the lower grid. Both windows only read the book.
#include <optional>
#include <span>
#include <string>

#include "platform/forms/forms.h"
#include "platform/vb/currency.h"

namespace petty {

// A grid column: header, field and width in twips (the grids show every column without scrolling).
struct SettlementColumn {
    const char* caption;
    const char* field;
    int width;
};

class AdvanceListForm : public forms::Form {
public:
    forms::Label Label1{*this, "Label1"};  // repeats the window's title
    forms::Grid DBGrid1{*this, "DBGrid1"};
    forms::Label Label2{*this, "Label2"};  // the open amount of the advance under the cursor
    forms::Grid DBGrid2{*this, "DBGrid2"};
    forms::Label Label3{*this, "Label3"};
    forms::CommandButton cmdclose{*this, "cmdclose"};
    forms::CommandButton srch{*this, "srch"};  // hidden: the window's queries
    forms::DataControl datPrimaryRS{*this, "datPrimaryRS"};
    forms::DataControl Datasettlements{*this, "Datasettlements"};

protected:
    // `listCaption` leads the upper grid's caption ("... 1  of  3 records").
    AdvanceListForm(std::string name, std::string listCaption, std::span<const SettlementColumn> settlementColumns);

    // The title, also shown by Label1.
    void setTitle(const std::string& title);
    // Points both data controls at the book.
    void pointDataAtBook();
    // Lists the employee's open unsettled advances; true when there is one.
    bool queryAdvances(const std::string& employee);
    // Follows the list's cursor: the caption, the open amount and the rows
    // settling the advance under it. Returns that advance's balance, nullopt
    // when there is no current row or the balance cannot be read.
    std::optional<vb::Currency> showAdvanceUnderCursor(const std::string& employee);
    // Whether the list's cursor stands on a row.
    bool hasCurrentAdvance();

private:
    std::string listCaption_;
};

}  // namespace petty
