#include "platform/gdiplus/pixel_convert.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace gdiplus {
namespace {

constexpr ARGB kOpaqueBlack = 0xFF000000;

constexpr std::uint16_t Widen8(std::uint32_t v) { return static_cast<std::uint16_t>(v * 257u); }
constexpr std::uint8_t Narrow16(std::uint32_t v) { return static_cast<std::uint8_t>((v * 255u + 32767u) / 65535u); }
constexpr std::uint32_t Expand5(std::uint32_t v) { return (v << 3) | (v >> 2); }
constexpr std::uint32_t Expand6(std::uint32_t v) { return (v << 2) | (v >> 4); }
constexpr std::uint32_t Reduce5(std::uint32_t v8) { return (v8 * 31u + 127u) / 255u; }
constexpr std::uint32_t Reduce6(std::uint32_t v8) { return (v8 * 63u + 127u) / 255u; }

std::uint32_t Load16(const std::uint8_t* p) { return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8); }
void Store16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint32_t ReadIndex(const std::uint8_t* row, std::int32_t x, std::uint32_t bits) {
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    default: return row[x];
    }
}

void WriteIndex(std::uint8_t* row, std::int32_t x, std::uint32_t bits, std::uint32_t index) {
    switch (bits) {
    case 1: {
        const auto mask = static_cast<std::uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>((row[x >> 3] & ~mask) | ((index & 1u) ? mask : 0));
        break;
    }
    case 4: {
        const unsigned shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0xFu << shift)) | ((index & 0xFu) << shift));
        break;
    }
    default: row[x] = static_cast<std::uint8_t>(index); break;
    }
}

ARGB PaletteColour(const ColorPalette& palette, std::uint32_t index) {
    return index < std::min(palette.Count, ColorPalette::kMaxEntries) ? palette.Entries[index] : kOpaqueBlack;
}

Argb64 Opaque16(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return Argb64{static_cast<std::uint16_t>(b), static_cast<std::uint16_t>(g), static_cast<std::uint16_t>(r), 0xFFFF};
}

std::uint16_t Unpremultiply16(std::uint64_t c, std::uint64_t a) {
    return static_cast<std::uint16_t>(std::min<std::uint64_t>(65535, (c * 65535 + a / 2) / a));
}
std::uint8_t Unpremultiply8(std::uint32_t c, std::uint32_t a) {
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
}

Argb64 DecodeOne(const std::uint8_t* row, std::int32_t x, PixelFormat format, const ColorPalette& palette) {
    switch (format) {
    case PixelFormat1bppIndexed:
    case PixelFormat4bppIndexed:
    case PixelFormat8bppIndexed:
        return WidenArgb(PaletteColour(palette, ReadIndex(row, x, GetPixelFormatSize(format))));
    case PixelFormat16bppGrayScale: {
        const auto v = Load16(row + 2 * x);
        return Opaque16(v, v, v);
    }
    case PixelFormat16bppRGB555: {
        const auto v = Load16(row + 2 * x);
        return Opaque16(Widen8(Expand5((v >> 10) & 31)), Widen8(Expand5((v >> 5) & 31)), Widen8(Expand5(v & 31)));
    }
    case PixelFormat16bppRGB565: {
        const auto v = Load16(row + 2 * x);
        return Opaque16(Widen8(Expand5((v >> 11) & 31)), Widen8(Expand6((v >> 5) & 63)), Widen8(Expand5(v & 31)));
    }
    case PixelFormat16bppARGB1555: {
        const auto v = Load16(row + 2 * x);
        Argb64 c = Opaque16(Widen8(Expand5((v >> 10) & 31)), Widen8(Expand5((v >> 5) & 31)), Widen8(Expand5(v & 31)));
        c.a = (v & 0x8000) ? 0xFFFF : 0;
        return c;
    }
    case PixelFormat24bppRGB: {
        const std::uint8_t* p = row + 3 * x;
        return Opaque16(Widen8(p[2]), Widen8(p[1]), Widen8(p[0]));
    }
    case PixelFormat32bppRGB: {
        const std::uint8_t* p = row + 4 * x;
        return Opaque16(Widen8(p[2]), Widen8(p[1]), Widen8(p[0]));
    }
    case PixelFormat32bppARGB: {
        const std::uint8_t* p = row + 4 * x;
        return Argb64{Widen8(p[0]), Widen8(p[1]), Widen8(p[2]), Widen8(p[3])};
    }
    case PixelFormat32bppPARGB: {
        const std::uint8_t* p = row + 4 * x;
        const std::uint32_t a = p[3];
        if (a == 0) return Argb64{};
        return Argb64{Widen8(Unpremultiply8(p[0], a)), Widen8(Unpremultiply8(p[1], a)),
                      Widen8(Unpremultiply8(p[2], a)), Widen8(a)};
    }
    case PixelFormat48bppRGB: {
        const std::uint8_t* p = row + 6 * x;
        return Opaque16(Load16(p + 4), Load16(p + 2), Load16(p));
    }
    case PixelFormat64bppARGB: {
        const std::uint8_t* p = row + 8 * x;
        return Argb64{static_cast<std::uint16_t>(Load16(p)), static_cast<std::uint16_t>(Load16(p + 2)),
                      static_cast<std::uint16_t>(Load16(p + 4)), static_cast<std::uint16_t>(Load16(p + 6))};
    }
    case PixelFormat64bppPARGB: {
        const std::uint8_t* p = row + 8 * x;
        const std::uint64_t a = Load16(p + 6);
        if (a == 0) return Argb64{};
        return Argb64{Unpremultiply16(Load16(p), a), Unpremultiply16(Load16(p + 2), a),
                      Unpremultiply16(Load16(p + 4), a), static_cast<std::uint16_t>(a)};
    }
    default:
        return Argb64{};
    }
}

void EncodeOne(const Argb64& c, PixelFormat format, NearestPaletteEntry* nearest, std::uint8_t* row,
               std::int32_t x) {
    switch (format) {
    case PixelFormat1bppIndexed:
    case PixelFormat4bppIndexed:
    case PixelFormat8bppIndexed:
        WriteIndex(row, x, GetPixelFormatSize(format), nearest ? nearest->Find(NarrowArgb(c)) : 0);
        break;
    case PixelFormat16bppGrayScale:
        Store16(row + 2 * x, (299u * c.r + 587u * c.g + 114u * c.b + 500u) / 1000u);
        break;
    case PixelFormat16bppRGB555:
        Store16(row + 2 * x, (Reduce5(Narrow16(c.r)) << 10) | (Reduce5(Narrow16(c.g)) << 5) | Reduce5(Narrow16(c.b)));
        break;
    case PixelFormat16bppRGB565:
        Store16(row + 2 * x, (Reduce5(Narrow16(c.r)) << 11) | (Reduce6(Narrow16(c.g)) << 5) | Reduce5(Narrow16(c.b)));
        break;
    case PixelFormat16bppARGB1555:
        Store16(row + 2 * x, (Narrow16(c.a) >= 128 ? 0x8000u : 0u) | (Reduce5(Narrow16(c.r)) << 10) |
                                 (Reduce5(Narrow16(c.g)) << 5) | Reduce5(Narrow16(c.b)));
        break;
    case PixelFormat24bppRGB: {
        std::uint8_t* p = row + 3 * x;
        p[0] = Narrow16(c.b);
        p[1] = Narrow16(c.g);
        p[2] = Narrow16(c.r);
        break;
    }
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB: {
        std::uint8_t* p = row + 4 * x;
        p[0] = Narrow16(c.b);
        p[1] = Narrow16(c.g);
        p[2] = Narrow16(c.r);
        p[3] = format == PixelFormat32bppRGB ? 0xFF : Narrow16(c.a);
        break;
    }
    case PixelFormat32bppPARGB: {
        std::uint8_t* p = row + 4 * x;
        const std::uint32_t a = Narrow16(c.a);
        p[0] = static_cast<std::uint8_t>((Narrow16(c.b) * a + 127u) / 255u);
        p[1] = static_cast<std::uint8_t>((Narrow16(c.g) * a + 127u) / 255u);
        p[2] = static_cast<std::uint8_t>((Narrow16(c.r) * a + 127u) / 255u);
        p[3] = static_cast<std::uint8_t>(a);
        break;
    }
    case PixelFormat48bppRGB:
    case PixelFormat64bppARGB: {
        const bool alpha = format == PixelFormat64bppARGB;
        std::uint8_t* p = row + (alpha ? 8 : 6) * x;
        Store16(p, c.b);
        Store16(p + 2, c.g);
        Store16(p + 4, c.r);
        if (alpha) Store16(p + 6, c.a);
        break;
    }
    case PixelFormat64bppPARGB: {
        std::uint8_t* p = row + 8 * x;
        const std::uint64_t a = c.a;
        Store16(p, static_cast<std::uint32_t>((c.b * a + 32767) / 65535));
        Store16(p + 2, static_cast<std::uint32_t>((c.g * a + 32767) / 65535));
        Store16(p + 4, static_cast<std::uint32_t>((c.r * a + 32767) / 65535));
        Store16(p + 6, c.a);
        break;
    }
    default:
        break;
    }
}

std::uint32_t AddressableEntries(PixelFormat format) {
    return IsIndexedPixelFormat(format) ? (1u << GetPixelFormatSize(format)) : 0u;
}

}  // namespace

Argb64 WidenArgb(ARGB color) {
    return Argb64{Widen8(BlueOf(color)), Widen8(GreenOf(color)), Widen8(RedOf(color)), Widen8(AlphaOf(color))};
}

ARGB NarrowArgb(const Argb64& color) {
    return MakeARGB(Narrow16(color.a), Narrow16(color.r), Narrow16(color.g), Narrow16(color.b));
}

NearestPaletteEntry::NearestPaletteEntry(const ColorPalette& palette, std::uint32_t usableEntries)
    : palette_(palette), usable_(std::min({palette.Count, usableEntries, ColorPalette::kMaxEntries})) {}

std::uint8_t NearestPaletteEntry::Find(ARGB color) {
    const std::size_t slot = (color * 2654435761u) >> 20;
    if (filled_[slot] && keys_[slot] == color) return values_[slot];
    std::uint32_t best = 0;
    std::uint32_t bestDistance = UINT32_MAX;
    for (std::uint32_t i = 0; i < usable_ && bestDistance != 0; ++i) {
        const ARGB e = palette_.Entries[i];
        const int da = AlphaOf(e) - AlphaOf(color);
        const int dr = RedOf(e) - RedOf(color);
        const int dg = GreenOf(e) - GreenOf(color);
        const int db = BlueOf(e) - BlueOf(color);
        const auto distance = static_cast<std::uint32_t>(da * da + dr * dr + dg * dg + db * db);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    filled_[slot] = true;
    keys_[slot] = color;
    values_[slot] = static_cast<std::uint8_t>(best);
    return values_[slot];
}

void DecodePixels(const std::uint8_t* row, std::int32_t x, std::int32_t count, PixelFormat format,
                  const ColorPalette& palette, Argb64* out) {
    for (std::int32_t i = 0; i < count; ++i) out[i] = DecodeOne(row, x + i, format, palette);
}

void EncodePixels(const Argb64* in, std::int32_t count, PixelFormat format, NearestPaletteEntry* nearest,
                  std::uint8_t* row, std::int32_t x) {
    for (std::int32_t i = 0; i < count; ++i) EncodeOne(in[i], format, nearest, row, x + i);
}

namespace {

// The conversions of every page load and save, as plain loops over whole
// rows that the compiler vectorises; each gives what the general path gives.
// False for any other pair of formats.
bool ConvertRowDirectly(PixelFormat from, const ColorPalette& palette, PixelFormat to, const std::uint8_t* src,
                        std::int32_t srcX, std::uint8_t* dst, std::int32_t dstX, std::int32_t count) {
    const bool toFour = to == PixelFormat32bppARGB || to == PixelFormat32bppRGB;
    if (from == PixelFormat24bppRGB && toFour) {
        const std::uint8_t* s = src + 3 * std::size_t(srcX);
        std::uint8_t* d = dst + 4 * std::size_t(dstX);
        for (std::int32_t i = 0; i < count; ++i) {
            d[4 * i] = s[3 * i];
            d[4 * i + 1] = s[3 * i + 1];
            d[4 * i + 2] = s[3 * i + 2];
            d[4 * i + 3] = 0xFF;
        }
        return true;
    }
    const bool fromFour = from == PixelFormat32bppARGB || from == PixelFormat32bppRGB;
    if (fromFour && toFour) {
        // Between these two only the alpha byte differs: 32-bit RGB is always opaque.
        const std::uint8_t* s = src + 4 * std::size_t(srcX);
        std::uint8_t* d = dst + 4 * std::size_t(dstX);
        std::memmove(d, s, 4 * std::size_t(count));
        if (from == PixelFormat32bppRGB || to == PixelFormat32bppRGB) {
            for (std::int32_t i = 0; i < count; ++i) d[4 * i + 3] = 0xFF;
        }
        return true;
    }
    // Premultiplied ARGB is what drawing works in: every image drawn, and the
    // target it is drawn onto, passes through it and back.
    if (fromFour && to == PixelFormat32bppPARGB) {
        const std::uint8_t* s = src + 4 * std::size_t(srcX);
        std::uint8_t* d = dst + 4 * std::size_t(dstX);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::uint32_t a = from == PixelFormat32bppRGB ? 0xFFu : s[4 * i + 3];
            for (int c = 0; c < 3; ++c) d[4 * i + c] = static_cast<std::uint8_t>((s[4 * i + c] * a + 127u) / 255u);
            d[4 * i + 3] = static_cast<std::uint8_t>(a);
        }
        return true;
    }
    if (from == PixelFormat32bppPARGB && toFour) {
        const std::uint8_t* s = src + 4 * std::size_t(srcX);
        std::uint8_t* d = dst + 4 * std::size_t(dstX);
        const std::uint8_t opaque = to == PixelFormat32bppRGB ? 0xFF : 0;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::uint32_t a = s[4 * i + 3];
            if (a == 0xFF) {
                std::memmove(d + 4 * i, s + 4 * i, 4);
            } else if (a == 0) {
                d[4 * i] = d[4 * i + 1] = d[4 * i + 2] = 0;
                d[4 * i + 3] = opaque;
            } else {
                for (int c = 0; c < 3; ++c) d[4 * i + c] = Unpremultiply8(s[4 * i + c], a);
                d[4 * i + 3] = opaque ? opaque : static_cast<std::uint8_t>(a);
            }
        }
        return true;
    }
    if (fromFour && to == PixelFormat24bppRGB) {
        const std::uint8_t* s = src + 4 * std::size_t(srcX);
        std::uint8_t* d = dst + 3 * std::size_t(dstX);
        for (std::int32_t i = 0; i < count; ++i) {
            d[3 * i] = s[4 * i];
            d[3 * i + 1] = s[4 * i + 1];
            d[3 * i + 2] = s[4 * i + 2];
        }
        return true;
    }
    if ((from == PixelFormat8bppIndexed || from == PixelFormat1bppIndexed) && toFour) {
        std::array<ARGB, 256> table{};
        const std::uint32_t entries = from == PixelFormat8bppIndexed ? 256 : 2;
        for (std::uint32_t i = 0; i < entries; ++i) {
            table[i] = PaletteColour(palette, i) | (to == PixelFormat32bppRGB ? 0xFF000000u : 0u);
        }
        auto* d = dst + 4 * std::size_t(dstX);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::uint32_t index = from == PixelFormat8bppIndexed ? src[srcX + i] : ReadIndex(src, srcX + i, 1);
            std::memcpy(d + 4 * std::size_t(i), &table[index], 4);
        }
        return true;
    }
    return false;
}

}  // namespace

PixelConverter::PixelConverter(PixelFormat from, const ColorPalette& fromPalette, PixelFormat to,
                               const ColorPalette& toPalette)
    : from_(from), to_(to), fromPalette_(fromPalette), toPalette_(toPalette),
      nearest_(toPalette, AddressableEntries(to)) {}

void PixelConverter::Convert(const std::uint8_t* srcRow, std::int32_t srcX, std::uint8_t* dstRow,
                             std::int32_t dstX, std::int32_t count) {
    if (from_ == to_) {
        CopyPixelBits(srcRow, srcX, dstRow, dstX, count, GetPixelFormatSize(from_));
        return;
    }
    if (IsIndexedPixelFormat(from_) && IsIndexedPixelFormat(to_)) {
        const std::uint32_t fromBits = GetPixelFormatSize(from_);
        const std::uint32_t toBits = GetPixelFormatSize(to_);
        const std::uint32_t keepable = std::min({AddressableEntries(to_), toPalette_.Count, fromPalette_.Count});
        for (std::int32_t i = 0; i < count; ++i) {
            const std::uint32_t index = ReadIndex(srcRow, srcX + i, fromBits);
            const ARGB colour = PaletteColour(fromPalette_, index);
            const bool keep = index < keepable && toPalette_.Entries[index] == colour;
            WriteIndex(dstRow, dstX + i, toBits, keep ? index : nearest_.Find(colour));
        }
        return;
    }
    if (ConvertRowDirectly(from_, fromPalette_, to_, srcRow, srcX, dstRow, dstX, count)) return;
    pivot_.resize(static_cast<std::size_t>(count));
    DecodePixels(srcRow, srcX, count, from_, fromPalette_, pivot_.data());
    EncodePixels(pivot_.data(), count, to_, &nearest_, dstRow, dstX);
}

void CopyPixelBits(const std::uint8_t* srcRow, std::int32_t srcX, std::uint8_t* dstRow, std::int32_t dstX,
                   std::int32_t count, std::uint32_t bitsPerPixel) {
    if (count <= 0) return;
    const std::int64_t srcBit = std::int64_t{srcX} * bitsPerPixel;
    const std::int64_t dstBit = std::int64_t{dstX} * bitsPerPixel;
    const std::int64_t bits = std::int64_t{count} * bitsPerPixel;
    if (srcBit % 8 == 0 && dstBit % 8 == 0 && bits % 8 == 0) {
        std::memmove(dstRow + dstBit / 8, srcRow + srcBit / 8, static_cast<std::size_t>(bits / 8));
        return;
    }
    for (std::int32_t i = 0; i < count; ++i)
        WriteIndex(dstRow, dstX + i, bitsPerPixel, ReadIndex(srcRow, srcX + i, bitsPerPixel));
}

}  // namespace gdiplus
