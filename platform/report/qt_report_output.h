#pragma once
// The report control's output in the program: the preview as a modal Qt
// window, printing through Qt's printer support, a save dialog for exports
// and a message box for the engine's errors.
#include <filesystem>
#include <functional>
#include <optional>

#include "platform/report/report_output.h"

class QWidget;

namespace report {

class ReportPreview;

class QtReportOutput : public ReportOutput {
public:
    // Prints to this PDF file instead of the default printer (tests, and machines without a printer).
    void printToPdf(std::filesystem::path file) { printFile_ = std::move(file); }
    // Runs once the preview shows and before it waits for the user (tests).
    void onPreviewShown(std::function<void(ReportPreview&)> hook) { shown_ = std::move(hook); }
    // Takes the note that says where a print went, instead of a message box (tests).
    void onPrinted(std::function<void(const std::string&)> hook) { printed_ = std::move(hook); }

    void preview(const Document& document, const PreviewOptions& options) override;
    void print(const Document& document, const std::string& jobName) override;
    std::optional<std::filesystem::path> exportFile(const std::filesystem::path& suggested) override;
    void showError(const std::string& message) override;

private:
    void exportFromPreview(const Document& document, QWidget* parent);
    // The preview's Print: the print dialog first, where the user picks the printer (or a file).
    void printFromPreview(const Document& document, QWidget* parent);

    std::optional<std::filesystem::path> printFile_;
    std::function<void(ReportPreview&)> shown_;
    std::function<void(const std::string&)> printed_;
};

}  // namespace report
