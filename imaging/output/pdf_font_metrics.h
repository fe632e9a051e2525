#pragma once
// The fonts of PDF text: an installed family found by its name (the Windows
// names hosts use stand for their installed stand-ins, Arial for Liberation
// Sans and so on), and the measures of one face in a font 1000 units high,
// read from the face through FreeType: the record a font dictionary, its
// descriptor and TextWidth are made from.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scanvelt {

struct PdfFontMetrics {
    // The family name with ",Bold", ",Italic" or ",BoldItalic", blanks removed.
    std::string BaseFont;
    uint8_t FirstChar = 0;
    uint8_t LastChar = 0;
    // Advance widths by Windows-1252 code; 0 outside FirstChar..LastChar.
    std::array<int32_t, 256> Widths{};
    int32_t MissingWidth = 0;
    int32_t AvgWidth = 0;
    int32_t MaxWidth = 0;
    int32_t Descent = 0;  // positive
    int32_t Ascent = 0;
    int32_t ItalicAngle = 0;
    int32_t CapHeight = 0;
    int32_t StemV = 0;
    int32_t Flags = 0;  // 32 non-symbolic, 4 symbolic
    // The face that stands in: its file, its index there, and whether it is a
    // TrueType program (which a document may embed as FontFile2).
    std::string FaceFile;
    int32_t FaceIndex = 0;
    bool TrueTypeProgram = false;
};

// The installed family that `name` names, compared upper-cased with every
// blank removed ("times new roman" finds "Times New Roman"): the Windows
// family names with an installed stand-in first, then fontconfig's families.
std::optional<std::string> FindInstalledFont(std::string_view name);

// The measures of the face that draws `installedName` bold and/or italic;
// nothing when no face can be opened.
std::optional<PdfFontMetrics> MeasureFont(const std::string& installedName, bool bold, bool italic);

}  // namespace scanvelt
