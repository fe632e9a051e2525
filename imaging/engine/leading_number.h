#pragma once
// The leading number of a text, read the way platform/vb's Val reads it: blanks,
// tabs and line breaks are skipped anywhere, "&H" and "&O" start hexadecimal
// and octal numbers, and reading stops at the first character that cannot
// continue the number. A text without a number gives 0. Version texts are
// compared through it ("6.1.0.0" reads 6.1).
#include <string_view>

namespace scanvelt {

double LeadingNumberOf(std::string_view text);

}  // namespace scanvelt
