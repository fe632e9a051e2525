#pragma once
// The lines of the period export file: the header and one line per voucher
// row, comma-separated. A field holding a comma, a quote or a line break is
// put in quotes with its quotes doubled, so every line keeps its columns.
// Amounts are written with "." as the decimal separator whatever the user's
// regional settings, because a comma would split them into two fields.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/jet/value.h"

namespace petty {

// The field as it stands, or quoted when it holds ',', '"', CR or LF.
std::string csvField(std::string_view text);

// The header line; with advances in use it carries the three advance columns.
std::string csvHeaderLine(bool advancesInUse);

// Reads one column of the row being written, by its name.
using RowField = std::function<jet::Value(std::string_view column)>;

// The line of one voucher row: its serial number, then its values in the
// header's order. A missing value leaves its field empty, a missing voucher
// number is written "?".
std::string csvDataLine(int64_t serial, const RowField& field, bool advancesInUse);

}  // namespace petty
