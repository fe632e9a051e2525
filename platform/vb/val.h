#pragma once
// VB's Val: the number at the start of a text, as a double.
#include <string_view>

namespace vb {

// Blanks, tabs and line feeds are dropped anywhere ("1 2" reads 12); then an
// optional sign, digits, one point as the decimal separator (whatever the
// locale) and an optional exponent ("E" or "D", sign, digits). Reading stops at
// the first other character; a text without a leading number reads 0.
// "&H" and "&O" introduce hexadecimal and octal whole numbers; as in VB a value
// that fits 16 bits is taken as a signed 16-bit integer ("&HFFFF" reads -1) and
// one that fits 32 bits as a signed 32-bit integer. A number beyond the range
// of a double reads as plus or minus infinity (VB raises an overflow there).
double val(std::string_view text);

}  // namespace vb
