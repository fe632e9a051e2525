#pragma once
// A font: a face of a family in a style, at an em size counted in a unit.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/gdiplus/graphics/cairo_ptr.h"
#include "platform/gdiplus/graphics/font_family.h"
#include "platform/gdiplus/graphics/graphics_types.h"

namespace gdiplus {

class Font {
public:
    // InvalidParameter for a size that is not above 0 or a unit that is not
    // World, Pixel, Point, Inch, Document or Millimeter; FontStyleNotFound
    // when the family cannot draw the style; OutOfMemory when cairo cannot
    // load the face.
    static Status Create(const FontFamily& family, float emSize, std::int32_t style, Unit unit,
                         std::unique_ptr<Font>& font);

    float Size() const { return size_; }
    std::int32_t Style() const { return style_; }
    Unit SizeUnit() const { return unit_; }
    const std::string& FamilyName() const { return familyName_; }
    // The face, with bold and italic made up where the family lacks them.
    cairo_font_face_t* Face() const { return face_.get(); }

private:
    Font(FontFacePtr face, std::string familyName, float size, std::int32_t style, Unit unit)
        : face_(std::move(face)), familyName_(std::move(familyName)), size_(size), style_(style), unit_(unit) {}

    FontFacePtr face_;
    std::string familyName_;
    float size_;
    std::int32_t style_;
    Unit unit_;
};

}  // namespace gdiplus
