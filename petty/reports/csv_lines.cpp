#include "petty/reports/csv_lines.h"

#include "platform/vb/amount_text.h"
#include "platform/vb/date_format.h"
#include "platform/vb/locale.h"

namespace petty {

namespace {

enum class Kind { Text, Whole, Amount, Date };

struct ExportColumn {
    const char* column;
    Kind kind;
    bool advancesOnly;
};

// The data columns after the serial number, in the header's order.
constexpr ExportColumn kColumns[] = {
    {"VoucherID", Kind::Whole, false},
    {"Date", Kind::Date, false},
    {"Time", Kind::Text, false},
    {"Employee", Kind::Text, false},
    {"TransType", Kind::Text, false},
    {"Head", Kind::Text, false},
    {"Debit", Kind::Amount, false},
    {"Credit", Kind::Amount, false},
    {"runningbalance", Kind::Amount, false},
    {"expensefromadvance", Kind::Amount, true},
    {"Narration", Kind::Text, false},
    {"Matchwith", Kind::Whole, true},
    {"Matched", Kind::Text, true},
    {"Enteredby", Kind::Text, false},
    {"Billno", Kind::Text, false},
    {"Projectcode", Kind::Text, false},
    {"Closed", Kind::Text, false},
    {"TermID", Kind::Whole, false},
};

// The value's default text form as stored; amounts with a decimal point.
std::string valueText(const jet::Value& value, Kind kind) {
    if (value.isNull()) return {};
    switch (kind) {
        case Kind::Whole:
            if (value.isLong()) return std::to_string(value.asLong());
            break;
        case Kind::Amount:
            if (value.isCurrency() || value.isDouble() || value.isLong()) {
                vb::Locale decimalPoint = vb::currentLocale();
                decimalPoint.decimalSeparator = '.';
                return vb::amountText(value.asCurrency(), decimalPoint);
            }
            break;
        case Kind::Date:
            if (value.isDate()) return vb::generalDateText(value.asDate());
            break;
        case Kind::Text:
            break;
    }
    return value.asText();
}

}  // namespace

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csvHeaderLine(bool advancesInUse) {
    std::string line = "Sl No,VoucherNo,Date,Time,Employee,Transaction type,Expense head,Cash In,Cash out,Run. Balance";
    if (advancesInUse) line += ",Expense from Advance";
    line += " ,Narration";
    if (advancesInUse) line += ",Settle with,Settled";
    line += ",Entered by,Bill No,project,closed,Period ID";
    return line;
}

std::string csvDataLine(int64_t serial, const RowField& field, bool advancesInUse) {
    std::string line = std::to_string(serial);
    for (const ExportColumn& c : kColumns) {
        if (c.advancesOnly && !advancesInUse) continue;
        const jet::Value value = field(c.column);
        line += ',';
        if (value.isNull() && std::string_view(c.column) == "VoucherID")
            line += '?';
        else
            line += csvField(valueText(value, c.kind));
    }
    return line;
}

}  // namespace petty
