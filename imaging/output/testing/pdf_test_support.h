#pragma once
// What the PDF writer's tests share: a writer with a fixed clock and fixed
// file identifiers, the outside checkers (qpdf, poppler's tools) run on the
// documents the tests write, and a fixture that runs each test in a started
// engine whose codec plug-in is the build tree's.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/output/pdf_document.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt::testing_support {

// 2024-05-01 13:45:10, one hour ahead of UTC.
inline PdfTimestamp FixedTimestamp(int32_t offsetMinutes = 60) {
    PdfTimestamp stamp;
    stamp.Local.tm_year = 124;
    stamp.Local.tm_mon = 4;
    stamp.Local.tm_mday = 1;
    stamp.Local.tm_hour = 13;
    stamp.Local.tm_min = 45;
    stamp.Local.tm_sec = 10;
    stamp.UtcOffsetMinutes = offsetMinutes;
    return stamp;
}

// Services whose clock and random numbers are fixed: identifier 1 is
// "0123456789ABCDEF0123456789ABCDEF" and identifier 2 "FEDCBA9876543210...".
inline PdfWriterServices FixedServices(std::vector<std::string>* messages = nullptr) {
    PdfWriterServices services;
    services.Clock = [] { return FixedTimestamp(); };
    auto draw = std::make_shared<int>(0);
    services.Random = [draw] {
        const int n = (*draw)++;
        const int digit = (n / 2) % 16;
        return ((n % 2 == 0) ? digit : 15 - digit) / 16.0 + 0.01;
    };
    services.ShowMessage = [messages](const std::string& text) {
        if (messages) messages->push_back(text);
    };
    return services;
}

struct ToolResult {
    int Status = -1;
    std::string Output;
};

// Runs a shell command and keeps its standard output (and error, with 2>&1).
inline ToolResult RunTool(const std::string& command) {
    ToolResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.Output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

inline bool HaveTool(const std::string& name) { return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0; }

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The value pdfinfo's output gives for `field` ("Title", "Page    1 size", ...).
inline std::string PdfInfoField(const std::string& info, const std::string& field) {
    const size_t at = info.find(field + ":");
    if (at == std::string::npos) return "<no " + field + ">";
    const size_t from = info.find_first_not_of(' ', at + field.size() + 1);
    return info.substr(from, info.find('\n', from) - from);
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// `qpdf --check` passes the document (exit 0: no errors nor warnings).
inline void ExpectQpdfCheckPasses(const std::string& pdf, const std::string& password = "") {
    const ToolResult check =
        RunTool("qpdf --check " + (password.empty() ? "" : "--password=" + Quoted(password) + " ") + Quoted(pdf) + " 2>&1");
    EXPECT_EQ(check.Status, 0) << check.Output;
    EXPECT_NE(check.Output.find("No syntax or stream encoding errors found"), std::string::npos) << check.Output;
}

// The decoded data of one stream object, through qpdf.
inline std::string StreamData(const std::string& pdf, int object, const std::string& password = "") {
    return RunTool("qpdf " + (password.empty() ? "" : "--password=" + Quoted(password) + " ") +
                   "--show-object=" + std::to_string(object) + " --filtered-stream-data " + Quoted(pdf) +
                   " 2>/dev/null")
        .Output;
}

// One object as qpdf shows it (a stream's dictionary).
inline std::string ObjectText(const std::string& pdf, int object, const std::string& password = "") {
    return RunTool("qpdf " + (password.empty() ? "" : "--password=" + Quoted(password) + " ") +
                   "--show-object=" + std::to_string(object) + " " + Quoted(pdf) + " 2>/dev/null")
        .Output;
}

// A rendering of page 1 as 8-bit RGB pixels, top row first, through pdftoppm.
struct Rendering {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;
    // Red, green and blue of one pixel packed as 0xRRGGBB; kOutside (no
    // colour) for a pixel off the page, so a missing page fails a comparison
    // instead of reading past the pixels.
    static constexpr uint32_t kOutside = 0xFF000000u;
    uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return kOutside;
        const size_t i = (static_cast<size_t>(y) * Width + x) * 3;
        if (i + 2 >= Rgb.size()) return kOutside;
        return static_cast<uint32_t>(Rgb[i]) << 16 | Rgb[i + 1] << 8 | Rgb[i + 2];
    }
};

inline Rendering RenderFirstPage(const std::string& pdf, int dpi, const std::string& scratchPrefix) {
    Rendering page;
    RunTool("pdftoppm -r " + std::to_string(dpi) + " -f 1 -l 1 -singlefile " + Quoted(pdf) + " " +
            Quoted(scratchPrefix));
    const std::string ppm = ReadBytes(scratchPrefix + ".ppm");
    // "P6\n{w} {h}\n255\n" then the pixels.
    int maxValue = 0, consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &page.Width, &page.Height, &maxValue, &consumed) != 3) return {};
    const size_t start = static_cast<size_t>(consumed) + 1;
    page.Rgb.assign(ppm.begin() + static_cast<std::ptrdiff_t>(start), ppm.end());
    if (page.Rgb.size() != static_cast<size_t>(page.Width) * page.Height * 3) return {};
    return page;
}

// Each test runs in a started engine bound to the build tree's codec plug-in,
// with a scratch folder of its own; the outside checkers must be installed.
class PdfWriterTest : public WithBuildTreePlugin {
protected:
    void SetUp() override {
        WithBuildTreePlugin::SetUp();
        for (const char* tool : {"qpdf", "pdfinfo", "pdffonts", "pdfimages", "pdftotext", "pdftoppm"}) {
            if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
        }
    }
    std::string File(const std::string& name) const { return scratch_.file(name); }
};

}  // namespace scanvelt::testing_support
