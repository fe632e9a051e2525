#pragma once
// How every window points a Data control at the book before it opens it.
#include <string>

#include "platform/forms/controls/data_control.h"

namespace petty {

// Database name: the file that businessDbPath names (resolved without regard
// to letter case); connect string: the book's; then the record source. The
// control is not opened here.
void pointAtBook(forms::DataControl& data, std::string recordSource);

}  // namespace petty
