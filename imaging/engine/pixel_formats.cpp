#include "imaging/engine/pixel_formats.h"

#include <iterator>
#include <string_view>

#include "imaging/engine/engine_numeric.h"

namespace scanvelt {

namespace {

struct KnownFormat {
    int32_t code;
    int32_t bits;
    std::string_view text;
};

constexpr KnownFormat kKnownFormats[] = {
    {0x30101, 1, "1bppIndexed"},     {0x30402, 4, "4bppIndexed"},      {0x30803, 8, "8bppIndexed"},
    {0x101004, 16, "16bppGrayScale"}, {0x21005, 16, "16bppRGB555"},     {0x21006, 16, "16bppRGB565"},
    {0x61007, 16, "16bppARGB1555"},  {0x21808, 24, "24bppRGB"},        {0x22009, 32, "32bppRGB"},
    {0x26200A, 32, "32bppARGB"},     {0xE200B, 32, "32bppPARGB"},      {0x10300C, 48, "48bppRGB"},
    {0x34400D, 64, "64bppARGB"},     {0x1C400E, 64, "64bppPARGB"},
};

const KnownFormat* FindFormat(int32_t format) {
    for (const KnownFormat& known : kKnownFormats) {
        if (known.code == format) return &known;
    }
    return nullptr;
}

// ceil(a / b) for a >= 1.
int32_t CeilDiv(int32_t a, int32_t b) { return (a - 1) / b + 1; }

}  // namespace

bool IsIndexedFormat(int32_t format) { return (format & 0x10000) != 0; }

bool IsAlphaFormat(int32_t format) { return (format & 0x40000) != 0; }

int32_t BitsPerPixelOf(int32_t format) {
    const KnownFormat* known = FindFormat(format);
    return known ? known->bits : 0;
}

int32_t DepthOfFormat(int32_t format) {
    if (format == 0) return 0;
    const KnownFormat* known = FindFormat(format);
    return known ? known->bits : 32;
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
