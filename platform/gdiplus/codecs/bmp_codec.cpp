#include "platform/gdiplus/codecs/bmp_codec.h"

#include <cstring>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/dib_reader.h"

namespace gdiplus::codecs {
namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kSrgbColourSpace = 0x73524742;  // 'sRGB'

// How one pixel format is written.
struct BmpLayout {
    PixelFormat readAs = PixelFormat24bppRGB;  // the pixels as they are taken from the image
    std::uint16_t bitCount = 24;
    std::uint32_t compression = DibRgb;
    std::uint32_t headerSize = kInfoHeaderSize;
    std::array<std::uint32_t, 4> masks{};
    bool grey = false;  // 16-bit grey written as an 8-bit grey palette
};

BmpLayout LayoutFor(PixelFormat format) {
    BmpLayout l;
    switch (format) {
    case PixelFormat1bppIndexed:
    case PixelFormat4bppIndexed:
    case PixelFormat8bppIndexed:
        l.readAs = format;
        l.bitCount = static_cast<std::uint16_t>(GetPixelFormatSize(format));
        break;
    case PixelFormat16bppGrayScale:
        l.readAs = PixelFormat24bppRGB;
        l.bitCount = 8;
        l.grey = true;
        break;
    case PixelFormat16bppRGB555:
        l.readAs = format;
        l.bitCount = 16;
        break;
    case PixelFormat16bppRGB565:
        l = {format, 16, DibBitFields, kInfoHeaderSize, {0xF800, 0x07E0, 0x001F, 0}, false};
        break;
    case PixelFormat16bppARGB1555:
        l = {format, 16, DibBitFields, kV4HeaderSize, {0x7C00, 0x03E0, 0x001F, 0x8000}, false};
        break;
    case PixelFormat32bppRGB:
        l.readAs = format;
        l.bitCount = 32;
        break;
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB:
        l = {PixelFormat32bppARGB, 32, DibBitFields, kV4HeaderSize, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, false};
        break;
    default:  // 24-bit and 48-bit RGB
        break;
    }
    return l;
}

Status DecodeBmpFile(const EncodedBytes& encoded, std::unique_ptr<Image>& image) {
    const ByteView bytes(*encoded);
    std::uint32_t pixelOffset = 0;
    if (!bytes.U32(10, pixelOffset)) return InvalidParameter;
    DibHeader header;
    if (Status s = ReadDibHeader(bytes, kFileHeaderSize, header); s != Ok) return s;
    // The offset in the file header wins unless it points into the headers
    // or past the end; then the pixels are taken to follow the colour table.
    std::uint64_t start = pixelOffset;
    if (start < kFileHeaderSize + header.headerSize || start >= bytes.size()) start = header.endOfTable;
    // Some OS/2 2.x writers keep the 3-byte colour entries of OS/2 1.x; the
    // pixels' offset then lies exactly past a table of such entries.
    const bool os2v2 = header.headerSize == 64 || header.headerSize == 16;
    if (os2v2 && header.bitCount <= 8 && start != header.endOfTable &&
        start == header.tableOffset + 3ull * header.tableEntries) {
        header.tableEntrySize = 3;
        header.endOfTable = start;
    }
    // Writers that leave the colours-used field 0 often store fewer entries
    // than the depth could address; the table ends where the pixels start.
    if (start > header.tableOffset && start < header.endOfTable) {
        header.tableEntries = static_cast<std::uint32_t>((start - header.tableOffset) / header.tableEntrySize);
    }
    std::unique_ptr<Bitmap> bitmap;
    if (Status s = DecodeDibPixels(bytes, header, start, bitmap); s != Ok) return s;
    bitmap->SetRawFormat(ImageFormatBMP);
    image = std::move(bitmap);
    return Ok;
}

void PutInfoHeader(std::vector<std::uint8_t>& out, const BmpLayout& l, const Image& image,
                   std::uint32_t tableEntries, std::uint32_t imageBytes) {
    PutU32(out, l.headerSize);
    PutU32(out, image.GetWidth());
    PutU32(out, image.GetHeight());  // positive: rows bottom-up
    PutU16(out, 1);
    PutU16(out, l.bitCount);
    PutU32(out, l.compression);
    PutU32(out, imageBytes);
    PutU32(out, PixelsPerMeterFromDpi(image.GetHorizontalResolution()));
    PutU32(out, PixelsPerMeterFromDpi(image.GetVerticalResolution()));
    PutU32(out, tableEntries);
    PutU32(out, 0);
    if (l.headerSize == kV4HeaderSize) {
        for (std::uint32_t m : l.masks) PutU32(out, m);
        PutU32(out, kSrgbColourSpace);
        out.resize(out.size() + 36 + 12, 0);  // end points and gamma, unused for sRGB
    } else if (l.compression == DibBitFields) {
        for (int c = 0; c < 3; ++c) PutU32(out, l.masks[c]);
    }
}

}  // namespace

Status BmpDecoder::Decode(const EncodedBytes& bytes, bool, std::unique_ptr<Image>& image) const {
    return DecodeBmpFile(bytes, image);
}

Status EncodeBmp(const Image& image, const EncoderParameters&, std::vector<std::uint8_t>& bytes) {
    const BmpLayout layout = LayoutFor(image.GetPixelFormat());
    PixelBuffer pixels;
    if (Status s = ReadPixels(image, layout.readAs, pixels); s != Ok) return s;

    ColorPalette palette;
    if (layout.grey) {
        palette = GreyPalette(256);
    } else if (IsIndexedPixelFormat(layout.readAs)) {
        if (Status s = image.GetPalette(palette); s != Ok) return s;
    }
    const std::uint64_t stride = DibRowBytes(pixels.width, layout.bitCount);
    const std::uint64_t imageBytes = stride * pixels.height;
    const std::uint64_t headers = kFileHeaderSize + layout.headerSize +
                                  (layout.headerSize == kInfoHeaderSize && layout.compression == DibBitFields ? 12 : 0);
    const std::uint64_t pixelOffset = headers + 4ull * palette.Count;
    const std::uint64_t fileSize = pixelOffset + imageBytes;
    if (fileSize > 0xFFFFFFFFull) return ValueOverflow;

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(fileSize));
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(fileSize));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(pixelOffset));
    PutInfoHeader(out, layout, image, palette.Count, static_cast<std::uint32_t>(imageBytes));
    for (std::uint32_t i = 0; i < palette.Count; ++i) {
        const ARGB c = palette.Entries[i];
        out.insert(out.end(), {BlueOf(c), GreenOf(c), RedOf(c), 0});
    }
    for (std::uint32_t y = pixels.height; y-- > 0;) {
        const std::uint8_t* src = pixels.Row(y);
        const std::size_t rowStart = out.size();
        if (layout.grey) {
            for (std::uint32_t x = 0; x < pixels.width; ++x) out.push_back(src[3 * x]);
        } else {
            out.insert(out.end(), src, src + std::min<std::uint64_t>(stride, pixels.stride));
        }
        out.resize(rowStart + stride, 0);
    }
    bytes = std::move(out);
    return Ok;
}

Status DecodePackedDib(std::span<const std::uint8_t> dib, std::unique_ptr<Bitmap>& bitmap) {
    return AnswerOutOfMemory([&] {
        const ByteView bytes(dib);
        DibHeader header;
        if (Status s = ReadDibHeader(bytes, 0, header); s != Ok) return s;
        std::unique_ptr<Bitmap> decoded;
        if (Status s = DecodeDibPixels(bytes, header, header.endOfTable, decoded); s != Ok) return s;
        decoded->SetRawFormat(ImageFormatMemoryBMP);
        bitmap = std::move(decoded);
        return Ok;
    });
}

}  // namespace gdiplus::codecs
