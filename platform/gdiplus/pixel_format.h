#pragma once
// Pixel formats by their GDI+ codes. A code carries its bits per pixel in
// bits 8-15 and its kind in the flag bits above, so the flag tests answer for
// any code, known or not; only the fourteen formats of kAllPixelFormats can
// hold pixels.
#include <array>
#include <cstdint>

namespace gdiplus {

using PixelFormat = std::int32_t;

constexpr PixelFormat PixelFormatIndexed = 0x00010000;
constexpr PixelFormat PixelFormatGDI = 0x00020000;
constexpr PixelFormat PixelFormatAlpha = 0x00040000;
constexpr PixelFormat PixelFormatPAlpha = 0x00080000;
constexpr PixelFormat PixelFormatExtended = 0x00100000;
constexpr PixelFormat PixelFormatCanonical = 0x00200000;

constexpr PixelFormat PixelFormatUndefined = 0;
constexpr PixelFormat PixelFormatDontCare = 0;

constexpr PixelFormat PixelFormat1bppIndexed = 0x30101;
constexpr PixelFormat PixelFormat4bppIndexed = 0x30402;
constexpr PixelFormat PixelFormat8bppIndexed = 0x30803;
constexpr PixelFormat PixelFormat16bppGrayScale = 0x101004;
constexpr PixelFormat PixelFormat16bppRGB555 = 0x21005;
constexpr PixelFormat PixelFormat16bppRGB565 = 0x21006;
constexpr PixelFormat PixelFormat16bppARGB1555 = 0x61007;
constexpr PixelFormat PixelFormat24bppRGB = 0x21808;
constexpr PixelFormat PixelFormat32bppRGB = 0x22009;
constexpr PixelFormat PixelFormat32bppARGB = 0x26200A;
constexpr PixelFormat PixelFormat32bppPARGB = 0xE200B;
constexpr PixelFormat PixelFormat48bppRGB = 0x10300C;
constexpr PixelFormat PixelFormat64bppARGB = 0x34400D;
constexpr PixelFormat PixelFormat64bppPARGB = 0x1C400E;
// Known by code only: no bitmap can be made in it.
constexpr PixelFormat PixelFormat32bppCMYK = 0x200F;

inline constexpr std::array<PixelFormat, 14> kAllPixelFormats = {
    PixelFormat1bppIndexed,   PixelFormat4bppIndexed,   PixelFormat8bppIndexed,
    PixelFormat16bppGrayScale, PixelFormat16bppRGB555,   PixelFormat16bppRGB565,
    PixelFormat16bppARGB1555, PixelFormat24bppRGB,      PixelFormat32bppRGB,
    PixelFormat32bppARGB,     PixelFormat32bppPARGB,    PixelFormat48bppRGB,
    PixelFormat64bppARGB,     PixelFormat64bppPARGB,
};

// Bits per pixel as the code states them (bits 8-15), for any code.
constexpr std::uint32_t GetPixelFormatSize(PixelFormat format) {
    return (static_cast<std::uint32_t>(format) >> 8) & 0xFF;
}
constexpr bool IsIndexedPixelFormat(PixelFormat format) { return (format & PixelFormatIndexed) != 0; }
constexpr bool IsAlphaPixelFormat(PixelFormat format) { return (format & PixelFormatAlpha) != 0; }
constexpr bool IsPAlphaPixelFormat(PixelFormat format) { return (format & PixelFormatPAlpha) != 0; }
constexpr bool IsExtendedPixelFormat(PixelFormat format) { return (format & PixelFormatExtended) != 0; }
constexpr bool IsCanonicalPixelFormat(PixelFormat format) { return (format & PixelFormatCanonical) != 0; }

// True for the fourteen formats a bitmap can be made in.
bool IsSupportedPixelFormat(PixelFormat format);

// Row length in bytes of a buffer the layer allocates: the row's bits padded
// to whole 32-bit words. 0 for a width below 1 or a format that is not
// supported; 64-bit so that no width overflows it.
std::int64_t DefaultStride(std::int32_t width, PixelFormat format);

// Bytes the pixels of one row take, unpadded (0 as DefaultStride).
std::int64_t RowBytes(std::int32_t width, PixelFormat format);

}  // namespace gdiplus
