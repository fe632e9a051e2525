#pragma once
// The form in which the register shows a period ID to the user: the moment
// the period was opened, in words ("2015-May-17 14:30" for 1505171430).
#include <string>
#include <string_view>

namespace petty {

// Reads the ID's text as "YYMMDDHHMM" (nine digits, a period of 2000 to 2009,
// get their leading zero back) and gives "20YY-<month name>-DD HH:MM". A month
// part that names no month is shown as it stands; parts the text does not
// reach are empty, so a row without a period ID shows "20-- :".
std::string periodIdInWords(std::string_view periodIdText);

}  // namespace petty
