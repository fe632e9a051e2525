#include "petty/shell/picker_list.h"

#include "petty/shell/skip_on_failure.h"

namespace petty {

void runPickerQuery(forms::DataControl& list, const char* sql, forms::CommandButton& select) {
    skipOnFailure([&] {
        list.setRecordSource(sql);
        list.refresh();
    });
    skipOnFailure([&] {
        if (list.recordset().recordCount() > 0)
            select.setDefault(true);
        else
            select.setEnabled(false);
    });
}

std::string pickerPositionCaption(forms::DataRecordset& rows) {
    return "Record " + std::to_string(rows.absolutePosition() + 1) + "  of  " + std::to_string(rows.recordCount()) +
           " records";
}

}  // namespace petty
