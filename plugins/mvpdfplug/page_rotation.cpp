#include "plugins/mvpdfplug/page_rotation.h"

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-page.h>

#include <memory>

namespace mvpdfplug {

int PageRotation(const std::string& path, const std::string& password, int page) {
    std::unique_ptr<poppler::document> pdf(poppler::document::load_from_file(path, password, password));
    // A locked document's pages must not be touched.
    if (!pdf || pdf->is_locked() || page < 1 || page > pdf->pages()) return 0;
    std::unique_ptr<poppler::page> one(pdf->create_page(page - 1));
    if (!one) return 0;
    switch (one->orientation()) {
        case poppler::page::landscape: return 90;
        case poppler::page::upside_down: return 180;
        case poppler::page::seascape: return 270;
        default: return 0;
    }
}

}  // namespace mvpdfplug
