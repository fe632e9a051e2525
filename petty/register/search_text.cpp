#include "petty/register/search_text.h"

#include <cstdlib>
#include <optional>

#include "platform/vb/numeric_text.h"

namespace petty {

namespace {

struct Clause {
    const char* entry;
    const char* text;
};

const Clause kTypeFilters[] = {
    {"Narration contains word 'correction'", "   and narration like '*Correction*' "},
    {"Not settled",
     " and ((TRANSTYPE= 'Advance Issued from PC' AND MATCHED='No') OR (Matchrequired='YES' AND MATCHED='NO') )"},
    {"Advances not settled", " and (TRANSTYPE= 'Advance Issued from PC' AND MATCHED='No')  "},
    {"Settled",
     " and ( ( TRANSTYPE= 'Advance Issued from PC' AND MATCHED='Yes') OR (Matchrequired='YES' AND MATCHED='Yes') )"},
    {"Expenses without scanned bill",
     " and  (document is null OR DOCUMENT = '') And (TRANSTYPE = 'Spent from Advance issued'  OR TRANSTYPE = "
     "'Reimbursed from pettycash' ) "},
    {"Expenses without bill no",
     " and  (billno is null OR billno = '') And (TRANSTYPE = 'Spent from Advance issued'  OR TRANSTYPE = "
     "'Reimbursed from pettycash' ) "},
};

// Field filters whose value is looked for anywhere in the column.
const Clause kContainsFilters[] = {
    {"Narration", " and Narration like "},     {"Expense Head", " and head like "},
    {"Entered by", " and enteredby like "},    {"Transaction type", " and transtype like "},
    {"Project/cost-centre", " and projectcode like "},
};

struct NumericFilter {
    const char* entry;
    const char* text;
    const char* refusal;
};

const NumericFilter kNumericFilters[] = {
    {"Voucher No", " and VOUCHERID  = ", "Numeric value expected for voucher ID based data filtering!"},
    {"Pettycash period ID", " and TERMID = ", "Numeric value expected for Pettycash Period ID based data filtering!"},
};

// A typed number as an SQL number, written from its parsed value.
std::optional<std::string> sqlNumber(const std::string& typed) {
    if (!vb::isNumeric(typed)) return std::nullopt;
    const std::optional<vb::Currency> amount = vb::currencyFromText(typed);
    if (!amount) return std::nullopt;
    const int64_t units = amount->units();
    const int64_t magnitude = std::llabs(units);
    std::string fraction = std::to_string(magnitude % vb::Currency::kScale);
    fraction.insert(0, 4 - fraction.size(), '0');
    return std::string(units < 0 ? "-" : "") + std::to_string(magnitude / vb::Currency::kScale) + "." + fraction;
}

}  // namespace

std::string jetTextLiteral(const std::string& text) {
    std::string literal = "'";
    for (char c : text) {
        literal += c;
        if (c == '\'') literal += '\'';
    }
    return literal + "'";
}

SearchText searchText(const SearchSettings& s, PeriodId currentPeriod) {
    std::string sql = "select * from [Pettycash] where voucherid > 0 ";
    if (!s.allStaff) sql += " and [employee]=" + jetTextLiteral(s.employee);

    if (s.typeFilter == "Exclude current pettycash period") sql += " and TERMID <> " + std::to_string(currentPeriod);
    if (s.typeFilter == "Current pettycash period only") sql += " and TERMID = " + std::to_string(currentPeriod);
    for (const Clause& c : kTypeFilters)
        if (s.typeFilter == c.entry) sql += c.text;

    if (!s.field.empty() && !s.value.empty()) {
        if (s.field == "Bill No") sql += " and Billno = " + jetTextLiteral(s.value) + " ";
        for (const Clause& c : kContainsFilters)
            if (s.field == c.entry) sql += c.text + jetTextLiteral("*" + s.value + "*") + " ";
        for (const NumericFilter& f : kNumericFilters) {
            if (s.field != f.entry) continue;
            const std::optional<std::string> number = sqlNumber(s.value);
            if (!number) return {"", f.refusal};
            sql += f.text + *number;
        }
    }
    return {sql + " order by voucherid", ""};
}

}  // namespace petty
