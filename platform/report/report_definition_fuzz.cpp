// libFuzzer target: the bytes as a report definition file. The reader may
// refuse a text (ReportError); any other exception, a crash or undefined
// behaviour is a finding.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/report/report_definition.h"
#include "platform/report/report_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const report::ReportDefinition definition =
            report::parseReportDefinition(std::string_view(reinterpret_cast<const char*>(data), size));
        definition.hasFormula("company");
    } catch (const report::ReportError&) {
    }
    return 0;
}
