#include "platform/gdiplus/graphics/font_family.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "platform/gdiplus/graphics/cairo_ptr.h"
#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/graphics/windows_font_names.h"

namespace gdiplus {
namespace {

// From semi-bold on a face counts as bold.
constexpr int kBoldWeight = FC_WEIGHT_DEMIBOLD;

int IntOf(FcPattern* pattern, const char* object, int fallback) {
    int value = fallback;
    FcPatternGetInteger(pattern, object, 0, &value);
    return value;
}

// Every scalable installed face whose family (any of its names) is `family`.
std::vector<FontFace> InstalledFaces(const std::string& family) {
    std::vector<FontFace> faces;
    FcPatternPtr pattern(FcPatternBuild(nullptr, FC_FAMILY, FcTypeString, family.c_str(), FC_SCALABLE, FcTypeBool,
                                        FcTrue, static_cast<char*>(nullptr)));
    FcObjectSetPtr objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_WIDTH,
                                            static_cast<char*>(nullptr)));
    if (!pattern || !objects) return faces;
    FcFontSetPtr set(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!set) return faces;
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        FontFace face;
        face.file = reinterpret_cast<const char*>(file);
        face.index = IntOf(font, FC_INDEX, 0);
        face.weight = IntOf(font, FC_WEIGHT, FC_WEIGHT_REGULAR);
        face.width = IntOf(font, FC_WIDTH, FC_WIDTH_NORMAL);
        face.bold = face.weight >= kBoldWeight;
        face.italic = IntOf(font, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
        faces.push_back(std::move(face));
    }
    return faces;
}

}  // namespace

std::vector<std::string> InstalledFamilyNames() {
    std::vector<std::string> names;
    FcPatternPtr pattern(FcPatternBuild(nullptr, FC_SCALABLE, FcTypeBool, FcTrue, static_cast<char*>(nullptr)));
    FcObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr)));
    if (!pattern || !objects) return names;
    FcFontSetPtr set(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!set) return names;
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
            names.emplace_back(reinterpret_cast<const char*>(family));
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

FaceChoice ChooseFace(const std::vector<FontFace>& faces, std::int32_t style) {
    const bool bold = (style & FontStyleBold) != 0;
    const bool italic = (style & FontStyleItalic) != 0;
    const int targetWeight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
    FaceChoice best;
    // Lower is better: made-up parts, then distance from normal width, then from the weight.
    std::tuple<int, int, int> bestScore{};
    for (const FontFace& face : faces) {
        if ((face.bold && !bold) || (face.italic && !italic)) continue;
        const bool makeBold = bold && !face.bold;
        const bool makeItalic = italic && !face.italic;
        const std::tuple<int, int, int> score{int{makeBold} + int{makeItalic}, std::abs(face.width - FC_WIDTH_NORMAL),
                                              std::abs(face.weight - targetWeight)};
        if (best.face == nullptr || score < bestScore) {
            best = FaceChoice{&face, makeBold, makeItalic};
            bestScore = score;
        }
    }
    return best;
}

Status FontFamily::FromName(std::string_view name, std::unique_ptr<FontFamily>& family) {
    std::string found(name);
    std::vector<FontFace> faces = name.empty() ? std::vector<FontFace>{} : InstalledFaces(found);
    if (faces.empty()) {
        if (const auto standIn = StandInFamily(name)) {
            found = std::string(*standIn);
            faces = InstalledFaces(found);
        }
    }
    if (faces.empty()) return FontFamilyNotFound;
    family.reset(new FontFamily(std::move(found), std::move(faces)));
    return Ok;
}

}  // namespace gdiplus
