// The plug-in's exports over poppler (GLib binding), which renders through
// cairo and can leave form fields (widget annotations) out of a page.
#include <cairo.h>
#include <poppler.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/text_encoding.h"
#include "plugins/mvpdfplug/object_numbers.h"
#include "plugins/mvpdfplug/mvpdfplug.h"
#include "plugins/mvpdfplug/page_rotation.h"
#include "plugins/mvpdfplug/pdf_documents.h"

using mvpdfplug::Document;
using mvpdfplug::Documents;

namespace {

constexpr int32_t kVersion = 100;
// 150 million pixels: a letter page at 1200 dpi renders, a poster of
// 200 x 200 inches at 600 dpi (14 billion) is refused before any allocation.
constexpr int64_t kMaxPixels = 150'000'000;

std::string utf8(const char16_t* text) { return text ? win::Utf16ToUtf8(text) : std::string(); }

// Opens the document at `uri`; null with `encrypted` set when a password is wanted.
PopplerDocument* open(const std::string& uri, const std::string* password, bool& encrypted) {
    GError* error = nullptr;
    PopplerDocument* pdf = poppler_document_new_from_file(uri.c_str(), password ? password->c_str() : nullptr, &error);
    encrypted = !pdf && error && error->domain == POPPLER_ERROR && error->code == POPPLER_ERROR_ENCRYPTED;
    if (error) g_error_free(error);
    return pdf;
}

const char16_t* handOut(Document& document, const std::string& text) {
    document.text = win::Utf8ToUtf16(text);
    return document.text.c_str();
}

// Hides the page's form fields (widget annotations) for as long as it lives:
// poppler draws them in every mode it renders, printing included.
class FormFieldsHidden {
public:
    explicit FormFieldsHidden(PopplerPage* page) : mapping_(poppler_page_get_annot_mapping(page)) {
        for (GList* item = mapping_; item; item = item->next) {
            PopplerAnnot* annot = static_cast<PopplerAnnotMapping*>(item->data)->annot;
            if (poppler_annot_get_annot_type(annot) != POPPLER_ANNOT_WIDGET) continue;
            const PopplerAnnotFlag flags = poppler_annot_get_flags(annot);
            if (flags & POPPLER_ANNOT_FLAG_HIDDEN) continue;
            poppler_annot_set_flags(annot, static_cast<PopplerAnnotFlag>(flags | POPPLER_ANNOT_FLAG_HIDDEN));
            changed_.push_back({annot, flags});
        }
    }
    ~FormFieldsHidden() {
        for (const auto& [annot, flags] : changed_) poppler_annot_set_flags(annot, flags);
        poppler_page_free_annot_mapping(mapping_);
    }
    FormFieldsHidden(const FormFieldsHidden&) = delete;
    FormFieldsHidden& operator=(const FormFieldsHidden&) = delete;

private:
    GList* mapping_;
    std::vector<std::pair<PopplerAnnot*, PopplerAnnotFlag>> changed_;
};

std::string owned(gchar* text) {
    std::string out = text ? text : "";
    g_free(text);
    return out;
}

std::string dateText(GDateTime* date) {
    if (!date) return {};
    std::string out = owned(g_date_time_format(date, "%Y-%m-%d %H:%M:%S"));
    g_date_time_unref(date);
    return out;
}

std::string description(PopplerDocument* pdf, int32_t item) {
    switch (item) {
        case 0: return owned(poppler_document_get_pdf_version_string(pdf));
        case 1: return owned(poppler_document_get_author(pdf));
        case 2: return owned(poppler_document_get_title(pdf));
        case 3: return owned(poppler_document_get_subject(pdf));
        case 4: return owned(poppler_document_get_keywords(pdf));
        case 5: return owned(poppler_document_get_creator(pdf));
        case 6: return owned(poppler_document_get_producer(pdf));
        case 7: return dateText(poppler_document_get_creation_date_time(pdf));
        case 8: return dateText(poppler_document_get_modification_date_time(pdf));
        default: return {};
    }
}

}  // namespace

extern "C" {

MVPDFPLUG_API int32_t MVPDFPLUG_GetVersion(void) { return kVersion; }
MVPDFPLUG_API int64_t MVPDFPLUG_MaxPixels(void) { return kMaxPixels; }

MVPDFPLUG_API int32_t MVPDFPLUG_LoadFromFileW(const char16_t* path) {
    const std::string named = utf8(path);
    if (named.empty()) return 0;
    // A relative name is read against the working folder now: a file URI
    // names an absolute path, and later reads (a page's rotation) must find
    // the same file whatever the working folder has become.
    std::error_code error;
    const std::string file = std::filesystem::absolute(named, error).lexically_normal().string();
    if (error || !mvpdfplug::ObjectNumbersWithinReason(file)) return 0;
    gchar* uri = g_filename_to_uri(file.c_str(), nullptr, nullptr);
    if (!uri) return 0;
    auto document = std::make_unique<Document>();
    document->path = file;
    document->uri = owned(uri);
    bool encrypted = false;
    document->pdf = open(document->uri, nullptr, encrypted);
    if (!document->pdf && !encrypted) return 0;
    std::lock_guard lock(Documents::instance().mutex());
    return Documents::instance().add(std::move(document));
}

MVPDFPLUG_API int32_t MVPDFPLUG_SetPasswordW(int32_t handle, const char16_t* password) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document) return 0;
    if (document->pdf) return 1;
    const std::string text = utf8(password);
    bool encrypted = false;
    document->pdf = open(document->uri, &text, encrypted);
    if (document->pdf) document->password = text;
    return document->pdf ? 1 : 0;
}

MVPDFPLUG_API int32_t MVPDFPLUG_HasEncryption(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    return document && !document->pdf ? 1 : 0;
}

MVPDFPLUG_API int32_t MVPDFPLUG_PageCount(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    return document && document->pdf ? poppler_document_get_n_pages(document->pdf) : 0;
}

MVPDFPLUG_API int32_t MVPDFPLUG_SelectPage(int32_t handle, int32_t page) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document || !document->pdf || page < 1 || page > poppler_document_get_n_pages(document->pdf)) return 0;
    PopplerPage* selected = poppler_document_get_page(document->pdf, page - 1);
    if (!selected) return 0;
    if (document->page) g_object_unref(document->page);
    document->page = selected;
    document->rotation = mvpdfplug::PageRotation(document->path, document->password, page);
    return 1;
}

MVPDFPLUG_API double MVPDFPLUG_PageWidth(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document || !document->page) return 0;
    double width = 0, height = 0;
    poppler_page_get_size(document->page, &width, &height);
    // poppler gives the size as shown (turned); the size before turning is wanted.
    return document->rotation % 180 == 0 ? width : height;
}

MVPDFPLUG_API double MVPDFPLUG_PageHeight(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document || !document->page) return 0;
    double width = 0, height = 0;
    poppler_page_get_size(document->page, &width, &height);
    return document->rotation % 180 == 0 ? height : width;
}

MVPDFPLUG_API int32_t MVPDFPLUG_PageRotation(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    return document && document->page ? document->rotation : 0;
}

MVPDFPLUG_API int32_t MVPDFPLUG_Rasterize(int32_t handle, double dpi, MvpdfplugImage** image, int32_t width,
                                          int32_t height, int32_t reserved, int32_t formFields) {
    if (!image) return 0;
    *image = nullptr;
    if (reserved != 0 || width < 1 || height < 1 || !(dpi > 0) || !std::isfinite(dpi)) return 0;
    if (static_cast<int64_t>(width) * height > kMaxPixels) return 0;
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document || !document->page) return 0;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return 0;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    // poppler draws the page turned by its rotation, in points from the top left.
    cairo_scale(cr, dpi / 72.0, dpi / 72.0);
    if (formFields) {
        poppler_page_render(document->page, cr);
    } else {
        FormFieldsHidden hidden(document->page);
        poppler_page_render(document->page, cr);
    }
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (!drawn) {
        cairo_surface_destroy(surface);
        return 0;
    }
    auto* out = new MvpdfplugImage{width, height, width * 4, nullptr};
    out->pixels = new uint8_t[static_cast<size_t>(out->stride) * static_cast<size_t>(height)];
    const uint8_t* rows = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(out->pixels + static_cast<size_t>(y) * out->stride, rows + static_cast<size_t>(y) * stride,
                    static_cast<size_t>(out->stride));
    cairo_surface_destroy(surface);
    *image = out;
    return 1;
}

MVPDFPLUG_API void MVPDFPLUG_FreeImage(MvpdfplugImage* image) {
    if (!image) return;
    delete[] image->pixels;
    delete image;
}

MVPDFPLUG_API int32_t MVPDFPLUG_Close(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    return Documents::instance().close(handle) ? 1 : 0;
}

MVPDFPLUG_API const char16_t* MVPDFPLUG_GetDescriptionW(int32_t handle, int32_t item) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document) return u"";
    return handOut(*document, document->pdf ? description(document->pdf, item) : std::string());
}

MVPDFPLUG_API const char16_t* MVPDFPLUG_GetMetadataW(int32_t handle) {
    std::lock_guard lock(Documents::instance().mutex());
    Document* document = Documents::instance().find(handle);
    if (!document) return u"";
    return handOut(*document, document->pdf ? owned(poppler_document_get_metadata(document->pdf)) : std::string());
}

}  // extern "C"
