#pragma once
// Test helpers of the report control: a small book, definition files and an
// output that keeps what it was given.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/test_support.h"
#include "platform/report/report_output.h"

namespace report::testing {

// Ends the Qt application when the tests end, before the program's exit:
// Qt's clean-up after a print dialog needs its plug-ins still loaded, which
// they no longer are among the static destructors.
class QtApplicationEnd : public ::testing::Environment {
public:
    explicit QtApplicationEnd(QApplication* app) : app_(app) {}
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_;
};

// The one Qt application of a test binary, made on first use.
inline QApplication& qtApplication() {
    // Without a display unless the caller chose one (the sanitize tests do not get ctest's setting).
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "report_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* made = new QApplication(argc, argv);
        ::testing::AddGlobalTestEnvironment(new QtApplicationEnd(made));
        return made;
    }();
    return *app;
}

inline bool havePdfToText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

// The text of a PDF as pdftotext lays it out, a form feed after each page.
inline std::string pdfText(const std::filesystem::path& pdf) {
    std::string out;
    FILE* pipe = ::popen(("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

class RecordingOutput : public ReportOutput {
public:
    RecordingOutput() : previous_(reportOutput()) { setReportOutput(this); }
    ~RecordingOutput() override { setReportOutput(previous_); }

    void preview(const Document& d, const PreviewOptions& o) override {
        previews.push_back(d);
        options.push_back(o);
    }
    void print(const Document& d, const std::string& job) override {
        printed.push_back(d);
        jobs.push_back(job);
    }
    std::optional<std::filesystem::path> exportFile(const std::filesystem::path& suggested) override {
        suggestedExports.push_back(suggested);
        return exportTo;
    }
    void showError(const std::string& message) override { errors.push_back(message); }

    std::vector<Document> previews, printed;
    std::vector<PreviewOptions> options;
    std::vector<std::string> jobs, errors;
    std::vector<std::filesystem::path> suggestedExports;
    std::optional<std::filesystem::path> exportTo;

private:
    ReportOutput* previous_;
};

// A book with a voucher table of the program's shape and a few rows.
inline void makeBook(const std::filesystem::path& file, const std::string& password) {
    jet::Database db = jet::Database::create(file, password);
    db.execute(
        "CREATE TABLE pettycash ([VoucherID] INTEGER PRIMARY KEY AUTOINCREMENT, [Date] DATETIME,"
        " [Employee] TEXT COLLATE NOCASE, [Head] TEXT COLLATE NOCASE, [Debit] CURRENCY, [Credit] CURRENCY,"
        " [TermID] LONG)");
    const auto day = [](int d) { return jet::Value(*vb::DateTime::fromParts(2024, 5, d)); };
    const char* insert = "INSERT INTO pettycash ([Date], [Employee], [Head], [Debit], [Credit], [TermID])"
                         " VALUES (?, ?, ?, ?, ?, ?)";
    db.execute(insert, {day(1), "Asha", nullptr, 500, 0, 7});
    db.execute(insert, {day(2), "Asha", "Travel", 0, 120.5, 7});
    db.execute(insert, {day(3), "O'Brien", "Fuel", 0, 80, 7});
    db.execute(insert, {day(4), "Bina", "Travel", 0, 40.25, 8});
}

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

}  // namespace report::testing
