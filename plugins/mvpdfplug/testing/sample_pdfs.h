#pragma once
// For tests and the fuzzer's seeds: PDF documents drawn by cairo, with
// known boxes at known places.
#include <cairo-pdf.h>
#include <cairo.h>

#include <string>
#include <vector>

namespace mvpdfplug::testing {

// A PDF of pages of the given sizes in points; page i has a black box from
// (72, 72) to (144, 144) points and `title` as its title.
inline void writeBoxPages(const std::string& path, const std::vector<std::pair<double, double>>& sizes,
                          const char* title = "Boxes") {
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), sizes.at(0).first, sizes.at(0).second);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_AUTHOR, "Ostrelle tests");
    cairo_t* cr = cairo_create(surface);
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0) cairo_pdf_surface_set_size(surface, sizes[i].first, sizes[i].second);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_rectangle(cr, 72, 72, 72, 72);
        cairo_fill(cr);
        cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

}  // namespace mvpdfplug::testing
