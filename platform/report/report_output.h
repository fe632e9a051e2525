#pragma once
// Where a run's pages go: the preview window, the printer, an export file.
// The program installs the Qt front end's output (qt_report_output.h); tests
// install their own. Without one, a run fails with ReportError (Output).
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/report/page_model.h"

namespace report {

struct PreviewOptions {
    std::string windowTitle;
    std::map<int32_t, bool> switches;  // by dispatch ID (dispatch_ids.h)

    // A switch the caller did not set shows its part of the window.
    bool shows(int32_t dispId) const {
        const auto it = switches.find(dispId);
        return it == switches.end() || it->second;
    }
};

class ReportOutput {
public:
    virtual ~ReportOutput() = default;
    // Shows the report; returns when the user closes the preview.
    virtual void preview(const Document& document, const PreviewOptions& options) = 0;
    // Prints every page on the default printer; ReportError (Output) when it cannot.
    virtual void print(const Document& document, const std::string& jobName) = 0;
    // The file a spreadsheet export writes; nullopt when the user cancels.
    virtual std::optional<std::filesystem::path> exportFile(const std::filesystem::path& suggested) = 0;
    // The engine's own message when a run fails (its error dialog).
    virtual void showError(const std::string& message) = 0;
};

ReportOutput* reportOutput();
void setReportOutput(ReportOutput* output);

}  // namespace report
