#pragma once
// The image-format GUIDs (an image's raw format) and the class IDs, file
// patterns and MIME types of the codecs, with the values GDI+ uses for them,
// so that codecs registered later describe themselves as hosts expect.
#include <array>
#include <string_view>

#include "platform/gdiplus/guid.h"

namespace gdiplus {

namespace detail {
constexpr Guid FormatGuid(std::uint32_t data1) {
    return Guid{data1, 0x0728, 0x11d3, {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
}
constexpr Guid CodecClsid(std::uint32_t data1) {
    return Guid{data1, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
}
}  // namespace detail

inline constexpr Guid ImageFormatUndefined = detail::FormatGuid(0xb96b3ca9);
inline constexpr Guid ImageFormatMemoryBMP = detail::FormatGuid(0xb96b3caa);
inline constexpr Guid ImageFormatBMP = detail::FormatGuid(0xb96b3cab);
inline constexpr Guid ImageFormatEMF = detail::FormatGuid(0xb96b3cac);
inline constexpr Guid ImageFormatWMF = detail::FormatGuid(0xb96b3cad);
inline constexpr Guid ImageFormatJPEG = detail::FormatGuid(0xb96b3cae);
inline constexpr Guid ImageFormatPNG = detail::FormatGuid(0xb96b3caf);
inline constexpr Guid ImageFormatGIF = detail::FormatGuid(0xb96b3cb0);
inline constexpr Guid ImageFormatTIFF = detail::FormatGuid(0xb96b3cb1);
inline constexpr Guid ImageFormatEXIF = detail::FormatGuid(0xb96b3cb2);
inline constexpr Guid ImageFormatIcon = detail::FormatGuid(0xb96b3cb5);

// One standard codec: what a codec for that format registers itself with.
struct KnownCodec {
    Guid clsid;
    Guid formatId;
    std::string_view codecName;
    std::string_view formatDescription;
    // File-name patterns separated by ";".
    std::string_view filenameExtension;
    std::string_view mimeType;
};

inline constexpr KnownCodec kBmpCodec{detail::CodecClsid(0x557cf400), ImageFormatBMP,
                                      "Built-in BMP Codec", "BMP", "*.BMP;*.DIB;*.RLE", "image/bmp"};
inline constexpr KnownCodec kJpegCodec{detail::CodecClsid(0x557cf401), ImageFormatJPEG,
                                       "Built-in JPEG Codec", "JPEG", "*.JPG;*.JPEG;*.JPE;*.JFIF",
                                       "image/jpeg"};
inline constexpr KnownCodec kGifCodec{detail::CodecClsid(0x557cf402), ImageFormatGIF,
                                      "Built-in GIF Codec", "GIF", "*.GIF", "image/gif"};
inline constexpr KnownCodec kEmfCodec{detail::CodecClsid(0x557cf403), ImageFormatEMF,
                                      "Built-in EMF Codec", "EMF", "*.EMF", "image/x-emf"};
inline constexpr KnownCodec kWmfCodec{detail::CodecClsid(0x557cf404), ImageFormatWMF,
                                      "Built-in WMF Codec", "WMF", "*.WMF", "image/x-wmf"};
inline constexpr KnownCodec kTiffCodec{detail::CodecClsid(0x557cf405), ImageFormatTIFF,
                                       "Built-in TIFF Codec", "TIFF", "*.TIF;*.TIFF", "image/tiff"};
inline constexpr KnownCodec kPngCodec{detail::CodecClsid(0x557cf406), ImageFormatPNG,
                                      "Built-in PNG Codec", "PNG", "*.PNG", "image/png"};
inline constexpr KnownCodec kIcoCodec{detail::CodecClsid(0x557cf407), ImageFormatIcon,
                                      "Built-in ICO Codec", "ICO", "*.ICO", "image/x-icon"};

inline constexpr std::array<KnownCodec, 8> kKnownCodecs = {
    kBmpCodec, kJpegCodec, kGifCodec, kEmfCodec, kWmfCodec, kTiffCodec, kPngCodec, kIcoCodec,
};

}  // namespace gdiplus
