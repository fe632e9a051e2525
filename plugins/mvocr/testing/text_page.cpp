#include "plugins/mvocr/testing/text_page.h"

#include <cairo.h>

#include <sstream>

namespace mvocr::testing {

TextPage DrawTextPage(int32_t width, int32_t height, double dpi, const std::vector<std::string>& lines,
                      double pointSize, double leftInches, double topInches) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    const double pixelsPerPoint = dpi / 72;
    cairo_set_font_size(cr, pointSize * pixelsPerPoint);

    TextPage page;
    page.Width = width;
    page.Height = height;
    double baseline = topInches * dpi + pointSize * pixelsPerPoint;
    for (const std::string& line : lines) {
        double x = leftInches * dpi;
        std::istringstream words(line);
        std::string word;
        cairo_text_extents_t space;
        cairo_text_extents(cr, " ", &space);
        while (words >> word) {
            cairo_text_extents_t e;
            cairo_text_extents(cr, word.c_str(), &e);
            cairo_move_to(cr, x, baseline);
            cairo_show_text(cr, word.c_str());
            page.Words.push_back({word, x + e.x_bearing, baseline + e.y_bearing, x + e.x_bearing + e.width,
                                  baseline + e.y_bearing + e.height, baseline});
            x += e.x_advance + space.x_advance;
        }
        baseline += 1.5 * pointSize * pixelsPerPoint;
    }
    cairo_surface_flush(surface);

    page.Stride = width * 3;
    page.Bgr.resize(static_cast<size_t>(page.Stride) * height);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const unsigned char* p = data + static_cast<size_t>(y) * stride + 4 * x;  // B, G, R, X in memory
            uint8_t* out = page.Bgr.data() + static_cast<size_t>(y) * page.Stride + 3 * x;
            out[0] = p[0];
            out[1] = p[1];
            out[2] = p[2];
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return page;
}

std::vector<uint8_t> OneBitRows(const TextPage& page, int32_t& bytesPerRow) {
    bytesPerRow = (page.Width + 7) / 8;
    std::vector<uint8_t> rows(static_cast<size_t>(bytesPerRow) * page.Height, 0);
    for (int32_t y = 0; y < page.Height; ++y) {
        for (int32_t x = 0; x < page.Width; ++x) {
            const uint8_t* p = page.Bgr.data() + static_cast<size_t>(y) * page.Stride + 3 * x;
            if (p[1] >= 128) rows[static_cast<size_t>(y) * bytesPerRow + x / 8] |= 0x80 >> (x % 8);
        }
    }
    return rows;
}

}  // namespace mvocr::testing
