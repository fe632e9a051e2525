#pragma once
// Owning pointers for the cairo and fontconfig objects the drawing layer
// makes, so that every exit path gives them back.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <memory>

namespace gdiplus {

struct CairoDeleter {
    void operator()(cairo_t* p) const { cairo_destroy(p); }
    void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
    void operator()(cairo_font_face_t* p) const { cairo_font_face_destroy(p); }
    void operator()(cairo_scaled_font_t* p) const { cairo_scaled_font_destroy(p); }
    void operator()(cairo_font_options_t* p) const { cairo_font_options_destroy(p); }
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
    void operator()(FcFontSet* p) const { FcFontSetDestroy(p); }
    void operator()(FcObjectSet* p) const { FcObjectSetDestroy(p); }
};

using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;
using SurfacePtr = std::unique_ptr<cairo_surface_t, CairoDeleter>;
using PatternPtr = std::unique_ptr<cairo_pattern_t, CairoDeleter>;
using FontFacePtr = std::unique_ptr<cairo_font_face_t, CairoDeleter>;
using ScaledFontPtr = std::unique_ptr<cairo_scaled_font_t, CairoDeleter>;
using FontOptionsPtr = std::unique_ptr<cairo_font_options_t, CairoDeleter>;
using FcPatternPtr = std::unique_ptr<FcPattern, CairoDeleter>;
using FcFontSetPtr = std::unique_ptr<FcFontSet, CairoDeleter>;
using FcObjectSetPtr = std::unique_ptr<FcObjectSet, CairoDeleter>;

// A new reference to a shared cairo font face.
inline FontFacePtr ShareFontFace(cairo_font_face_t* face) { return FontFacePtr(cairo_font_face_reference(face)); }

}  // namespace gdiplus
