// cPDF's text members: fonts (their dictionaries, descriptors and, in a
// PDF/A document that shows text, their embedded programs), text objects,
// the text state and the width of a string in a font.
#include <cmath>

#include "imaging/output/pdf_document.h"
#include "imaging/output/pdf_syntax.h"
#include "platform/gdiplus/file_io.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

constexpr int16_t kInvisibleTextMode = 3;
constexpr size_t kMaxFonts = 9999;

int32_t RoundHalfEven(double value) { return static_cast<int32_t>(std::nearbyint(value)); }

}  // namespace

void cPDF::SetWordSpacing(float w) {
    BeginDrawing();
    wordSpacing_ = w;
    AddContent(FormatNumber(w) + " Tw");
}

void cPDF::SetCharSpacing(float w) {
    BeginDrawing();
    charSpacing_ = w;
    AddContent(FormatNumber(w) + " Tc");
}

void cPDF::SetTextHorizontalScaling(float w) {
    BeginDrawing();
    horizontalScaling_ = w;
    AddContent(FormatNumber(w) + " Tz");
}

void cPDF::SetTextMode(int16_t mode) {
    BeginDrawing();
    if (mode < 0 || mode > 3) return;
    textMode_ = mode;
    AddContent(std::to_string(mode) + " Tr");
}

void cPDF::DrawText(float x, float y, const std::string& text, int32_t font, float size, int32_t alignment,
                    float angle) {
    if (font < 1 || font > static_cast<int32_t>(fonts_.size())) return;
    BeginDrawing();
    if (alignment == 1) x -= TextWidth(text, font, size);
    else if (alignment == 2) x -= TextWidth(text, font, size) / 2;
    AddContent("BT");
    AddContent("/Font" + std::to_string(font) + " " + FormatNumber(size) + " Tf");
    if (angle != 0) {
        const auto factor = static_cast<float>(3.141592 / 180);
        const float a = angle * factor;
        const float c = std::cos(a), s = std::sin(a);
        AddContent(FormatNumber(c) + " " + FormatNumber(s) + " " + FormatNumber(-s) + " " + FormatNumber(c) + " " +
                   FormatNumber(x) + " " + FormatNumber(y) + " Tm");
    } else {
        AddContent(FormatNumber(x) + " " + FormatNumber(y) + " Td");
    }
    AddContent("(" + EscapePdfString(win::Utf8ToAnsi(text)) + ") Tj");
    AddContent("ET");
    if (textMode_ != kInvisibleTextMode) fonts_[static_cast<size_t>(font - 1)].DrawnVisibly = true;
}

float cPDF::TextWidth(const std::string& text, int32_t font, float size) const {
    if (font < 1 || font > static_cast<int32_t>(fonts_.size())) return 0;
    const PdfFontMetrics& m = fonts_[static_cast<size_t>(font - 1)].Metrics;
    const std::string bytes = win::Utf8ToAnsi(text);
    double sum = 0;
    int32_t spaces = 0;
    for (unsigned char c : bytes) {
        sum += c >= m.FirstChar && c <= m.LastChar ? m.Widths[c] : m.MissingWidth;
        if (c == 32) ++spaces;
    }
    const double width = (sum * size / 1000 + spaces * static_cast<double>(wordSpacing_) +
                          static_cast<double>(bytes.size()) * charSpacing_) *
                         horizontalScaling_ / 100;
    return static_cast<float>(width);
}

int32_t cPDF::LoadFont(const std::string& name, bool bold, bool italic) {
    if (!out_.IsOpen()) return 0;
    if (!headerDone_) InitPdfFile();
    if (fonts_.size() >= kMaxFonts) return 0;
    const std::optional<std::string> installed = FindInstalledFont(name);
    if (!installed) return 0;
    std::optional<PdfFontMetrics> metrics = MeasureFont(*installed, bold, italic);
    if (!metrics) return 0;

    const int32_t k = static_cast<int32_t>(fonts_.size()) + 1;
    const int32_t f = out_.BeginObject(0);
    if (f == 0) return 0;
    std::string widths;
    for (int code = metrics->FirstChar; code <= metrics->LastChar; ++code) {
        widths += FormatNumber(metrics->Widths[static_cast<size_t>(code)]) + " ";
    }
    out_.WriteLine("<</Type/Font/Subtype/TrueType/Name/Font" + std::to_string(k) + "/BaseFont/" + metrics->BaseFont +
                   "/FirstChar " + std::to_string(metrics->FirstChar) + "/LastChar " +
                   std::to_string(metrics->LastChar) + "/FontDescriptor " + std::to_string(f + 1) +
                   " 0 R/Encoding/WinAnsiEncoding/Widths [" + widths + "] >>");
    out_.EndObject();
    fontResources_ += "/Font" + std::to_string(k) + " " + std::to_string(f) + " 0 R \r";
    LoadedFont font{std::move(*metrics), f, false};
    if (pdfA_) {
        // Whether a PDF/A document must carry the font program is known only
        // when it ends (text in rendering mode 3 needs none): the descriptor
        // keeps its number and is written then.
        if (out_.ReserveObjectNumber() == 0) return 0;
    } else {
        const int32_t descriptor = out_.BeginObject(0);
        if (descriptor == 0) return 0;
        WriteFontDescriptor(font, 0);
    }
    fonts_.push_back(std::move(font));
    return k;
}

void cPDF::WriteFontDescriptor(const LoadedFont& font, int32_t fontFileNumber) {
    const PdfFontMetrics& m = font.Metrics;
    const std::string descent = std::to_string(-m.Descent);
    const int32_t left = RoundHalfEven(m.MaxWidth * -0.2);
    const int32_t right = m.MaxWidth - RoundHalfEven(m.MaxWidth * 0.2);
    out_.WriteLine("<<\r/Type /FontDescriptor\r/FontName /" + m.BaseFont + "\r/MissingWidth " +
                   std::to_string(m.MissingWidth) + "\r/Ascent " + std::to_string(m.Ascent) + "\r/Descent " + descent +
                   "\r/AvgWidth " + std::to_string(m.AvgWidth) + "\r/CapHeight " + std::to_string(m.CapHeight) +
                   "\r/StemV " + std::to_string(m.StemV) + "\r/ItalicAngle " + std::to_string(m.ItalicAngle) +
                   "\r/Flags " + std::to_string(m.Flags) + "\r/MaxWidth  " + std::to_string(m.MaxWidth) +
                   "\r/FontBBox [ " + std::to_string(left) + " " + descent + " " + std::to_string(right) + " " +
                   std::to_string(m.Ascent) + "]\r" +
                   (fontFileNumber != 0 ? "/FontFile2 " + std::to_string(fontFileNumber) + " 0 R\r" : "") + ">>");
    out_.EndObject();
}

int32_t cPDF::WriteFontProgram(const LoadedFont& font) {
    std::vector<uint8_t> program;
    if (!font.Metrics.TrueTypeProgram || font.Metrics.FaceIndex != 0 ||
        gdiplus::ReadWholeFile(font.Metrics.FaceFile, program) != gdiplus::Ok || program.size() < 4 ||
        std::string_view(reinterpret_cast<const char*>(program.data()), 4) == "ttcf") {
        return 0;
    }
    const int32_t number = out_.BeginObject(0);
    if (number == 0) return 0;
    std::vector<uint8_t> packed;
    if (CompressBytes(services_.Compressor, program, packed, 9)) {
        out_.WriteLine("<</Length " + std::to_string(packed.size()) + "/Filter/FlateDecode/Length1 " +
                       std::to_string(program.size()) + ">>stream");
        out_.WriteBytesLine(packed);
    } else {
        out_.WriteLine("<</Length " + std::to_string(program.size()) + "/Length1 " + std::to_string(program.size()) +
                       ">>stream");
        out_.WriteBytesLine(program);
    }
    out_.WriteLine("endstream");
    out_.EndObject();
    return number;
}

void cPDF::WriteDeferredFontDescriptors() {
    if (!pdfA_) return;
    for (const LoadedFont& font : fonts_) {
        // The program follows its descriptor, under the next free number.
        const bool embed = font.DrawnVisibly && font.Metrics.TrueTypeProgram && font.Metrics.FaceIndex == 0;
        const int32_t programNumber = embed ? out_.HighestObjectNumber() + 1 : 0;
        if (out_.BeginObject(font.DictionaryNumber + 1) == 0) return;
        WriteFontDescriptor(font, programNumber);
        if (embed && WriteFontProgram(font) != programNumber) out_.Fail(GenericError);
    }
}

}  // namespace scanvelt
