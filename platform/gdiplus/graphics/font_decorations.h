#pragma once
// Where a font puts its underline and strikeout bars, from the face's own
// tables, in the font's scaled units (y down, relative to the baseline).
#include <cairo.h>

namespace gdiplus {

struct DecorationMetrics {
    // Top edge and thickness of each bar.
    double underlineTop = 0;
    double underlineThickness = 0;
    double strikeoutTop = 0;
    double strikeoutThickness = 0;
};

DecorationMetrics DecorationMetricsOf(cairo_scaled_font_t* font);

}  // namespace gdiplus
