#pragma once
// What the modal pickers' lists share: the list query that runs when the
// picker is activated, and the grid caption that follows the list's cursor.
#include <string>

#include "platform/forms/controls/command_button.h"
#include "platform/forms/controls/data_control.h"

namespace petty {

// Re-queries the list with this SQL; then Enter selects (the Select button
// becomes the default one) when the list has rows, and Select is disabled when
// it has none. Each step carries on past a failing one.
void runPickerQuery(forms::DataControl& list, const char* sql, forms::CommandButton& select);

// "Record 2  of  5 records"; "Record 0  of  0 records" for an empty list.
std::string pickerPositionCaption(forms::DataRecordset& rows);

}  // namespace petty
