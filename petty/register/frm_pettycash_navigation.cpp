// Moving through the register's rows and between its views: previous and
// next, the grid and detail views, and the expand button that trades the
// settlement grid for a taller register grid.
#include "petty/register/frm_pettycash.h"
#include "petty/shell/error_report.h"
#include "petty/shell/skip_on_failure.h"

namespace petty {

void frmpettycash::Moove_Click(int index) {
    bool nothingToMove = true;
    bool adding = false;
    skipOnFailure([this, &nothingToMove, &adding] {
        forms::DataRecordset& rows = datPrimaryRS.recordset();
        nothingToMove = rows.eof() || rows.bof() || rows.recordCount() == 0;
        adding = rows.editMode() == jet::EditMode::Add;
    });
    if (nothingToMove) return;
    if (adding) return refuse("Record is not fully updated. You cannot move to the another record!", false);
    // The Data control's validation refuses the move while another change is pending.
    skipOnFailure([this, index] {
        if (index == 1) datPrimaryRS.recordset().moveNext();
        else datPrimaryRS.recordset().movePrevious();
    });
    // Past either end comes back to the row at that end.
    skipOnFailure([this] {
        if (datPrimaryRS.recordset().eof()) datPrimaryRS.recordset().moveLast();
    });
    skipOnFailure([this] {
        if (datPrimaryRS.recordset().bof()) datPrimaryRS.recordset().moveFirst();
    });
}

void frmpettycash::gridview_Click() {
    skipOnFailure([this] { SSTab2.setTab(0); });
    skipOnFailure([this] { detailview.setFocus(); });
}

void frmpettycash::detailview_Click() {
    skipOnFailure([this] { SSTab2.setTab(1); });
    skipOnFailure([this] { gridview.setFocus(); });
}

void frmpettycash::TDBGrid1_DblClick() { detailview_Click(); }

void frmpettycash::MyButtonExpand_Click() {
    if (settlementGridExpanded) {
        TDBGrid1.setHeight(registerGridHeight);
        TDBGrid2.setVisible(true);
        settlementGridExpanded = false;
    } else {
        TDBGrid1.setHeight(TDBGrid1.height() + settlementGridHeight);
        TDBGrid2.setVisible(false);
        settlementGridExpanded = true;
    }
}

}  // namespace petty
