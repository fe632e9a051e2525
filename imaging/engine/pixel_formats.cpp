#include "imaging/engine/pixel_formats.h"

#include <iterator>
#include <string_view>

#include "imaging/engine/engine_numeric.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {

namespace {

struct KnownFormat {
    gdiplus::PixelFormat code;
    std::string_view text;
};

// The formats the GDI+ layer can hold pixels in, with the texts the engine
// gives for them; the bits come from the code itself.
constexpr KnownFormat kKnownFormats[] = {
    {gdiplus::PixelFormat1bppIndexed, "1bppIndexed"},     {gdiplus::PixelFormat4bppIndexed, "4bppIndexed"},
    {gdiplus::PixelFormat8bppIndexed, "8bppIndexed"},     {gdiplus::PixelFormat16bppGrayScale, "16bppGrayScale"},
    {gdiplus::PixelFormat16bppRGB555, "16bppRGB555"},     {gdiplus::PixelFormat16bppRGB565, "16bppRGB565"},
    {gdiplus::PixelFormat16bppARGB1555, "16bppARGB1555"}, {gdiplus::PixelFormat24bppRGB, "24bppRGB"},
    {gdiplus::PixelFormat32bppRGB, "32bppRGB"},           {gdiplus::PixelFormat32bppARGB, "32bppARGB"},
    {gdiplus::PixelFormat32bppPARGB, "32bppPARGB"},       {gdiplus::PixelFormat48bppRGB, "48bppRGB"},
    {gdiplus::PixelFormat64bppARGB, "64bppARGB"},         {gdiplus::PixelFormat64bppPARGB, "64bppPARGB"},
};
static_assert(std::size(kKnownFormats) == gdiplus::kAllPixelFormats.size());

const KnownFormat* FindFormat(int32_t format) {
    for (const KnownFormat& known : kKnownFormats) {
        if (known.code == format) return &known;
    }
    return nullptr;
}

// ceil(a / b) for a >= 1.
int32_t CeilDiv(int32_t a, int32_t b) { return (a - 1) / b + 1; }

}  // namespace

bool IsIndexedFormat(int32_t format) { return gdiplus::IsIndexedPixelFormat(format); }

bool IsAlphaFormat(int32_t format) { return gdiplus::IsAlphaPixelFormat(format); }

int32_t BitsPerPixelOf(int32_t format) {
    return FindFormat(format) ? static_cast<int32_t>(gdiplus::GetPixelFormatSize(format)) : 0;
}

int32_t DepthOfFormat(int32_t format) {
    if (format == 0) return 0;
    return FindFormat(format) ? static_cast<int32_t>(gdiplus::GetPixelFormatSize(format)) : 32;
}

std::string PixelFormatText(int32_t format) {
    const KnownFormat* known = FindFormat(format);
    return std::string(known ? known->text : "Undefined");
}

int32_t StrideForDepth(int32_t width, int32_t depth) {
    if (width < 1) return 0;
    switch (depth) {
        case 1: return CheckedMultiply(4, CeilDiv(width, 32));
        case 4: return CheckedMultiply(16, CeilDiv(width, 32));
        case 8: return CheckedMultiply(4, CeilDiv(width, 4));
        case 16: return CheckedMultiply(4, CeilDiv(CheckedMultiply(2, width), 4));
        case 24: return CheckedMultiply(4, CeilDiv(CheckedMultiply(3, width), 4));
        case 32: return CheckedMultiply(4, width);
        case 48: return CheckedMultiply(8, CeilDiv(CheckedMultiply(6, width), 8));
        case 64: return CheckedMultiply(8, width);
        default: return 0;
    }
}

int32_t BytesPerLine(int32_t width, int32_t depth) {
    if (width < 1) return 0;
    switch (depth) {
        case 1: return CeilDiv(width, 8);
        case 4: return CeilDiv(width, 2);
        case 8: return width;
        case 16: return CheckedMultiply(2, width);
        case 24: return CheckedMultiply(3, width);
        case 32: return CheckedMultiply(4, width);
        case 48: return CheckedMultiply(6, width);
        case 64: return CheckedMultiply(8, width);
        default: return 0;
    }
}

}  // namespace scanvelt
