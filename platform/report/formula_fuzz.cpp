// libFuzzer target: the bytes as a selection formula and as a formula field
// assignment. A formula may be refused (ReportError); any other exception, a
// crash, unbounded recursion or undefined behaviour is a finding. A formula
// that is accepted binds exactly one parameter per "?" of its condition.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/report/formula.h"
#include "platform/report/report_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const report::SqlCondition condition = report::translateSelectionFormula(text, "pettycash");
        const auto marks = std::count(condition.sql.begin(), condition.sql.end(), '?');
        if (static_cast<std::size_t>(marks) != condition.params.size()) std::abort();
    } catch (const report::ReportError&) {
    }
    try {
        report::parseFormulaAssignment(text);
    } catch (const report::ReportError&) {
    }
    report::formulaText(text);
    return 0;
}
