#pragma once
// The report control as the program binds it: late-bound, every member
// reached by its dispatch ID (dispatch_ids.h). Setting the run trigger to 1
// runs the report with the settings made since the last reset (112): it reads
// the report definition file, turns the selection formula into a condition on
// the data file's table, lays the rows out and sends the pages to the preview
// window (no destination or 0), the printer (1) or a spreadsheet file (2 with
// export type 9). Every call is journalled, so tests can assert the sequence.
//
// Errors are ReportError; a failed run also shows its message through the
// installed ReportOutput (the engine's own error dialog) before it throws.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/report/page_model.h"
#include "platform/report/report_output.h"

namespace report {

using Arg = std::variant<bool, int32_t, std::string>;

struct Call {
    enum class Kind { Invoke, Put, Get };
    Kind kind = Kind::Put;
    int32_t dispId = 0;
    std::optional<int16_t> index;
    Arg value;  // the value put, or the value a get answered

    // "112()", "32[0]:=/b/business.mdb", "109?=1", "24:=2", "120:=false", "8:=\"T\"".
    std::string text() const;
};

class ReportControl {
public:
    ReportControl() = default;

    void invoke(int32_t dispId);
    void put(int32_t dispId, Arg value);
    void putIndexed(int32_t dispId, int16_t index, Arg value);
    Arg get(int32_t dispId);
    Arg getIndexed(int32_t dispId, int16_t index);

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<std::string> callTexts() const;
    void clearCalls() { calls_.clear(); }

    // The last document the control laid out (preview, print or export).
    const std::optional<Document>& lastDocument() const { return lastDocument_; }
    // The file the last spreadsheet export wrote.
    const std::optional<std::filesystem::path>& lastExport() const { return lastExport_; }

private:
    struct Settings {
        std::map<int16_t, std::string> dataFiles;
        std::string reportFile;
        std::string selectionFormula;
        std::map<int16_t, std::string> formulas;
        std::optional<int32_t> destination;
        std::optional<int32_t> exportType;
        std::map<int32_t, bool> switches;
        std::string windowTitle;
        std::string connect;                              // the main report's
        std::string subreport;                            // "" = the main report
        std::map<std::string, std::string> subConnects;   // by sub-report name
    };

    void run();
    std::vector<std::string> subreportNames() const;
    void record(Call::Kind kind, int32_t dispId, std::optional<int16_t> index, Arg value);

    Settings settings_;
    std::vector<Call> calls_;
    std::optional<Document> lastDocument_;
    std::optional<std::filesystem::path> lastExport_;
};

}  // namespace report
