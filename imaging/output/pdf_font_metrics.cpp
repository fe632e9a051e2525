#include "imaging/output/pdf_font_metrics.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_FONT_FORMATS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>
#include <vector>

#include "platform/gdiplus/graphics/font_family.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/windows_font_names.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

std::string Squeezed(std::string_view name) {
    std::string out;
    for (char c : name) {
        if (c != ' ') out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::vector<std::string> FontconfigFamilies() {
    std::vector<std::string> families;
    FcPattern* pattern = FcPatternBuild(nullptr, FC_SCALABLE, FcTypeBool, FcTrue, static_cast<char*>(nullptr));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
    FcFontSet* set = pattern && objects ? FcFontList(nullptr, pattern, objects) : nullptr;
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch) {
                families.emplace_back(reinterpret_cast<const char*>(family));
            }
        }
        FcFontSetDestroy(set);
    }
    if (objects) FcObjectSetDestroy(objects);
    if (pattern) FcPatternDestroy(pattern);
    std::sort(families.begin(), families.end());
    families.erase(std::unique(families.begin(), families.end()), families.end());
    return families;
}

struct FreeTypeLibrary {
    FT_Library library = nullptr;
    FreeTypeLibrary() { FT_Init_FreeType(&library); }
    ~FreeTypeLibrary() {
        if (library) FT_Done_FreeType(library);
    }
};

struct FaceCloser {
    void operator()(FT_FaceRec_* face) const { FT_Done_Face(face); }
};

// The Unicode character of a Windows-1252 code.
char32_t UnicodeOf(uint8_t code) {
    const std::u16string wide = win::Utf8ToUtf16(win::AnsiToUtf8(std::string(1, static_cast<char>(code))));
    return wide.empty() ? 0 : wide[0];
}

}  // namespace

std::optional<std::string> FindInstalledFont(std::string_view name) {
    const std::string wanted = Squeezed(name);
    if (wanted.empty()) return std::nullopt;
    for (std::string_view windowsName : gdiplus::WindowsFamilyNames()) {
        if (Squeezed(windowsName) != wanted) continue;
        std::unique_ptr<gdiplus::FontFamily> family;
        if (gdiplus::FontFamily::FromName(windowsName, family) == gdiplus::Ok) return std::string(windowsName);
    }
    for (const std::string& family : FontconfigFamilies()) {
        if (Squeezed(family) == wanted) return family;
    }
    return std::nullopt;
}

std::optional<PdfFontMetrics> MeasureFont(const std::string& installedName, bool bold, bool italic) {
    std::unique_ptr<gdiplus::FontFamily> family;
    if (gdiplus::FontFamily::FromName(installedName, family) != gdiplus::Ok) return std::nullopt;
    const int32_t style = (bold ? gdiplus::FontStyleBold : 0) | (italic ? gdiplus::FontStyleItalic : 0);
    const gdiplus::FaceChoice choice = gdiplus::ChooseFace(family->Faces(), style);
    if (choice.face == nullptr) return std::nullopt;

    static thread_local FreeTypeLibrary freeType;
    if (!freeType.library) return std::nullopt;
    FT_Face rawFace = nullptr;
    if (FT_New_Face(freeType.library, choice.face->file.c_str(), choice.face->index, &rawFace) != 0) return std::nullopt;
    std::unique_ptr<FT_FaceRec_, FaceCloser> face(rawFace);
    const double scale = face->units_per_EM > 0 ? 1000.0 / face->units_per_EM : 1.0;
    const auto scaled = [scale](double units) { return static_cast<int32_t>(std::lround(units * scale)); };

    PdfFontMetrics m;
    m.BaseFont = installedName + (bold && italic ? ",BoldItalic" : bold ? ",Bold" : italic ? ",Italic" : "");
    m.BaseFont.erase(std::remove(m.BaseFont.begin(), m.BaseFont.end(), ' '), m.BaseFont.end());
    m.FaceFile = choice.face->file;
    m.FaceIndex = choice.face->index;
    const char* format = FT_Get_Font_Format(face.get());
    m.TrueTypeProgram = format != nullptr && std::string_view(format) == "TrueType";

    bool symbol = false;
    for (int i = 0; i < face->num_charmaps; ++i) {
        if (face->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) symbol = true;
    }
    if (!symbol) FT_Select_Charmap(face.get(), FT_ENCODING_UNICODE);
    else FT_Select_Charmap(face.get(), FT_ENCODING_MS_SYMBOL);

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF) {
        m.Ascent = scaled(os2->usWinAscent);
        m.Descent = scaled(os2->usWinDescent);
        m.AvgWidth = scaled(os2->xAvgCharWidth);
        m.FirstChar = static_cast<uint8_t>(std::min<unsigned>(os2->usFirstCharIndex & 0xFF, 32));
    } else {
        m.Ascent = scaled(face->ascender);
        m.Descent = scaled(-face->descender);
        m.FirstChar = 32;
    }
    m.LastChar = 255;
    m.MaxWidth = scaled(face->max_advance_width);
    m.CapHeight = m.Ascent;
    m.ItalicAngle = italic ? -11 : 0;
    m.Flags = symbol ? 4 : 32;

    const auto widthOf = [&](uint8_t code) {
        const FT_ULong character = symbol ? 0xF000u + code : static_cast<FT_ULong>(UnicodeOf(code));
        const FT_UInt glyph = code == 0 ? 0 : FT_Get_Char_Index(face.get(), character);
        if (FT_Load_Glyph(face.get(), glyph, FT_LOAD_NO_SCALE) != 0) return int32_t{0};
        return scaled(face->glyph->metrics.horiAdvance);
    };
    for (int code = m.FirstChar; code <= m.LastChar; ++code) m.Widths[code] = widthOf(static_cast<uint8_t>(code));
    m.MissingWidth = widthOf(m.FirstChar != 0 ? 0 : 255);
    if (m.AvgWidth == 0) m.AvgWidth = m.Widths['x'];
    return m;
}

}  // namespace scanvelt
