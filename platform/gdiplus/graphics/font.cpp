#include "platform/gdiplus/graphics/font.h"

#include <cairo-ft.h>

#include <cmath>

namespace gdiplus {

Status Font::Create(const FontFamily& family, float emSize, std::int32_t style, Unit unit,
                    std::unique_ptr<Font>& font) {
    if (!(emSize > 0.0f) || !std::isfinite(emSize) || unit < UnitWorld || unit > UnitMillimeter ||
        unit == UnitDisplay) {
        return InvalidParameter;
    }
    const FaceChoice choice = ChooseFace(family.Faces(), style);
    if (choice.face == nullptr) return FontStyleNotFound;

    // A pattern that names the file: cairo loads that face and matches nothing.
    FcPatternPtr pattern(FcPatternCreate());
    if (!pattern ||
        !FcPatternAddString(pattern.get(), FC_FILE, reinterpret_cast<const FcChar8*>(choice.face->file.c_str())) ||
        !FcPatternAddInteger(pattern.get(), FC_INDEX, choice.face->index)) {
        return OutOfMemory;
    }
    FontFacePtr face(cairo_ft_font_face_create_for_pattern(pattern.get()));
    if (cairo_font_face_status(face.get()) != CAIRO_STATUS_SUCCESS) return OutOfMemory;
    unsigned int synthesize = 0;
    if (choice.synthesizeBold) synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
    if (choice.synthesizeItalic) synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
    cairo_ft_font_face_set_synthesize(face.get(), synthesize);

    font.reset(new Font(std::move(face), family.Name(), emSize, style, unit));
    return Ok;
}

}  // namespace gdiplus
