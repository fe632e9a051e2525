#pragma once
// The register's "Excel " button (cmdCSV): every row of one petty-cash
// period, picked by the user, goes into a comma-separated file in the
// export folder (exportcsv) of the program folder; then the user may open
// the file or the folder. Nothing in the book changes.
#include "platform/forms/controls/data_control.h"

namespace petty {

// `registerRows` is the register's row source (datPrimaryRS): the export
// refuses while it shows no row, while it adds a row, and while the register
// holds an unsaved change. `query` is the register's query source
// (Datacommon), pointed at the book; it is left holding the export query.
void exportPeriodToCsv(forms::DataControl& registerRows, forms::DataControl& query);

}  // namespace petty
