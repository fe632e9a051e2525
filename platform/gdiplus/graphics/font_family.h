#pragma once
// Font families of the installed fonts, found through fontconfig by exact
// family name (a Windows name falls back to its stand-in family), and the
// styles each family can draw.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdiplus/status.h"

namespace gdiplus {

// One installed face of a family.
struct FontFace {
    std::string file;
    std::int32_t index = 0;
    bool bold = false;
    bool italic = false;
    // fontconfig's weight and width scales (80 regular, 200 bold; 100 normal width).
    std::int32_t weight = 80;
    std::int32_t width = 100;
};

// The face that draws a style, and what must be made up for it: bold is
// thickened and italic slanted from a face without them, as GDI+ does.
struct FaceChoice {
    const FontFace* face = nullptr;
    bool synthesizeBold = false;
    bool synthesizeItalic = false;
};

// The face for the bold and italic bits of `style` (underline and strikeout
// are drawn as lines and need no face): a face that has exactly the style
// first, else one that lacks only what can be made up; among equals the one
// of normal width and the weight nearest regular or bold. No face when the
// family only has styles that cannot be undone (a bold-only family asked
// for regular).
FaceChoice ChooseFace(const std::vector<FontFace>& faces, std::int32_t style);

// The family names of the installed scalable fonts (each family's first
// name), sorted and without repeats: the font list a screen offers.
std::vector<std::string> InstalledFamilyNames();

class FontFamily {
public:
    // FontFamilyNotFound when no installed scalable face has the family
    // name (compared as fontconfig does, ignoring case and blanks) and the
    // name stands for no installed family either.
    static Status FromName(std::string_view name, std::unique_ptr<FontFamily>& family);

    // The installed family that draws: the name asked for, or its stand-in.
    const std::string& Name() const { return name_; }
    const std::vector<FontFace>& Faces() const { return faces_; }
    // Whether a font of this family can be made in the style.
    bool IsStyleAvailable(std::int32_t style) const { return ChooseFace(faces_, style).face != nullptr; }

private:
    FontFamily(std::string name, std::vector<FontFace> faces) : name_(std::move(name)), faces_(std::move(faces)) {}

    std::string name_;
    std::vector<FontFace> faces_;
};

}  // namespace gdiplus
