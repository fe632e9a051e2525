#pragma once
// The column types of a book. A column's type is the type name declared for it
// in CREATE TABLE (TEXT, LONG, COUNTER, CURRENCY, DATETIME, YESNO, DOUBLE and
// their usual synonyms), so a value written into it is converted to that type
// and read back as it.
#include <optional>
#include <string_view>

#include "platform/jet/value.h"

namespace jet {

enum class FieldType { Boolean, Long, Currency, Double, DateTime, Text };

// The type a declared type name stands for; nullopt for an empty or unknown
// name (an expression column, which takes the type of each value).
std::optional<FieldType> fieldTypeFromDeclared(std::string_view declared);

// A value assigned to a column of the given type, converted as the engine
// converts it: an empty text into a non-text column is Null, a short-date text
// into a date column is read in the user's date order. Raises "Data type
// conversion error." when the value has no reading in that type.
Value convertForField(const Value& value, FieldType type);

}  // namespace jet
