#include "petty/register/search_text.h"

#include <optional>
#include <utility>
#include <vector>

#include "platform/jet/jet_sql.h"
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

// A typed number, parsed: the value that is bound in its place.
std::optional<jet::Value> typedNumber(const std::string& typed) {
    if (!vb::isNumeric(typed)) return std::nullopt;
    const std::optional<vb::Currency> amount = vb::currencyFromText(typed);
    if (!amount) return std::nullopt;
    return jet::Value(*amount);
}

}  // namespace

SearchText searchText(const SearchSettings& s, PeriodId currentPeriod) {
    std::string sql = "select * from [Pettycash] where voucherid > 0 ";
    std::vector<jet::Value> parameters;
    const auto bound = [&parameters](jet::Value value) {
        parameters.push_back(std::move(value));
        return std::string("?");
    };
    if (!s.allStaff) sql += " and [employee]=" + bound(s.employee);

    if (s.typeFilter == "Exclude current pettycash period") sql += " and TERMID <> " + std::to_string(currentPeriod);
    if (s.typeFilter == "Current pettycash period only") sql += " and TERMID = " + std::to_string(currentPeriod);
    for (const Clause& c : kTypeFilters)
        if (s.typeFilter == c.entry) sql += c.text;

    if (!s.field.empty() && !s.value.empty()) {
        if (s.field == "Bill No") sql += " and Billno = " + bound(s.value) + " ";
        for (const Clause& c : kContainsFilters)
            if (s.field == c.entry) sql += c.text + bound("*" + jet::likeLiteral(s.value) + "*") + " ";
        for (const NumericFilter& f : kNumericFilters) {
            if (s.field != f.entry) continue;
            std::optional<jet::Value> number = typedNumber(s.value);
            if (!number) return {"", {}, f.refusal};
            sql += f.text + bound(std::move(*number));
        }
    }
    return {sql + " order by voucherid", std::move(parameters), ""};
}

}  // namespace petty
