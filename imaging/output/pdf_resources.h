#pragma once
// Resources carried inside the library: the XMP packet template of PDF/A
// documents ("PDFA-XMP.4.2.1") and the sRGB IEC61966-2.1 colour profile
// ("IEC61966-2.1"), stored zlib-compressed as the output intent writes it.
#include <cstddef>
#include <span>
#include <string_view>

namespace scanvelt::pdf_resources {

extern const unsigned char kPdfaXmpTemplate[];
extern const std::size_t kPdfaXmpTemplateSize;
extern const unsigned char kSrgbProfileDeflated[];
extern const std::size_t kSrgbProfileDeflatedSize;

inline std::string_view PdfaXmpTemplate() {
    return {reinterpret_cast<const char*>(kPdfaXmpTemplate), kPdfaXmpTemplateSize};
}
inline std::span<const unsigned char> SrgbProfileDeflated() {
    return {kSrgbProfileDeflated, kSrgbProfileDeflatedSize};
}

}  // namespace scanvelt::pdf_resources
