#include "platform/jet/field_type.h"

#include <algorithm>
#include <string>

#include "platform/jet/error.h"

namespace jet {

namespace {

std::string upperBaseName(std::string_view declared) {
    // "TEXT(50)" and "text" both name TEXT.
    std::string name(declared.substr(0, declared.find('(')));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

bool isBlank(const Value& v) {
    if (!v.isText()) return false;
    const std::string text = v.asText();
    return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

std::optional<FieldType> fieldTypeFromDeclared(std::string_view declared) {
    const std::string name = upperBaseName(declared);
    static constexpr std::pair<std::string_view, FieldType> kNames[] = {
        {"TEXT", FieldType::Text},         {"MEMO", FieldType::Text},         {"VARCHAR", FieldType::Text},
        {"CHAR", FieldType::Text},         {"LONGTEXT", FieldType::Text},     {"LONG", FieldType::Long},
        {"INTEGER", FieldType::Long},      {"INT", FieldType::Long},          {"COUNTER", FieldType::Long},
        {"SHORT", FieldType::Long},        {"BYTE", FieldType::Long},         {"CURRENCY", FieldType::Currency},
        {"MONEY", FieldType::Currency},    {"DOUBLE", FieldType::Double},     {"REAL", FieldType::Double},
        {"FLOAT", FieldType::Double},      {"SINGLE", FieldType::Double},     {"DATETIME", FieldType::DateTime},
        {"DATE", FieldType::DateTime},     {"YESNO", FieldType::Boolean},     {"BIT", FieldType::Boolean},
        {"BOOLEAN", FieldType::Boolean},   {"LOGICAL", FieldType::Boolean},
    };
    for (const auto& [n, type] : kNames)
        if (n == name) return type;
    return std::nullopt;
}

Value convertForField(const Value& value, FieldType type) {
    if (value.isNull()) return value;
    if (type != FieldType::Text && isBlank(value)) return Value();
    try {
        switch (type) {
            case FieldType::Text: return Value(value.asText());
            case FieldType::Long: return Value(value.asLong());
            case FieldType::Currency: return Value(value.asCurrency());
            case FieldType::Double: return Value(value.asDouble());
            case FieldType::Boolean: return Value(value.asBool());
            case FieldType::DateTime: return Value(value.asDate());
        }
    } catch (const Error& e) {
        if (e.number() == 13) throw errors::conversion();
        throw;
    }
    return value;
}

}  // namespace jet
