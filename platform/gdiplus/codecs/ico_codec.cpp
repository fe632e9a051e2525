#include "platform/gdiplus/codecs/ico_codec.h"

#include <cstring>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/dib_reader.h"
#include "platform/gdiplus/codecs/png_codec.h"

namespace gdiplus::codecs {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kDirectoryEntrySize = 16;

struct IconEntry {
    std::uint32_t width = 0, height = 0, bitCount = 0;
    std::uint32_t size = 0, offset = 0;
};

// Larger first, then deeper.
bool Better(const IconEntry& a, const IconEntry& b) {
    const std::uint64_t areaA = std::uint64_t{a.width} * a.height, areaB = std::uint64_t{b.width} * b.height;
    return areaA != areaB ? areaA > areaB : a.bitCount > b.bitCount;
}

// Copies the fourth byte of each pixel of a 32-bit icon's colour image (rows
// bottom-up) into the alpha of `rows`; false, leaving them as they were, when
// every one of them is 0, as in icons that rely on their mask.
bool CopyIconAlpha(const ByteView& data, const DibHeader& header, PixelRows& rows) {
    const std::uint64_t stride = DibRowBytes(header.width, 32);
    const auto w = static_cast<std::int32_t>(header.width), h = static_cast<std::int32_t>(header.height);
    // DecodeDibPixels read these rows, so they are there.
    const auto alphaAt = [&](std::int32_t x, std::int32_t y) {
        return data.data()[header.endOfTable + (h - 1 - y) * stride + 4 * x + 3];
    };
    bool any = false;
    for (std::int32_t y = 0; y < h && !any; ++y)
        for (std::int32_t x = 0; x < w && !any; ++x) any = alphaAt(x, y) != 0;
    if (!any) return false;
    for (std::int32_t y = 0; y < h; ++y)
        for (std::int32_t x = 0; x < w; ++x) rows.Row(y)[4 * x + 3] = alphaAt(x, y);
    return true;
}

// The DIB of an entry: its header states twice the icon's height, the colour
// image (XOR) followed by a 1-bit AND mask in which 1 means transparent.
Status DecodeIconDib(const ByteView& data, std::unique_ptr<Bitmap>& bitmap) {
    DibHeader header;
    if (Status s = ReadDibHeader(data, 0, header); s != Ok) return s;
    if (header.topDown || header.compression != DibRgb) return InvalidParameter;
    header.height /= 2;
    if (header.height == 0) return InvalidParameter;
    std::unique_ptr<Bitmap> colour;
    if (Status s = DecodeDibPixels(data, header, header.endOfTable, colour); s != Ok) return s;

    const std::uint64_t maskAt = header.endOfTable + DibRowBytes(header.width, header.bitCount) * header.height;
    const std::uint64_t maskStride = DibRowBytes(header.width, 1);
    const bool hasMask = data.Has(maskAt, maskStride * header.height);
    std::unique_ptr<Bitmap> result;
    if (Status s = NewDecodedBitmap(header.width, header.height, PixelFormat32bppARGB, result); s != Ok) return s;
    const auto w = static_cast<std::int32_t>(header.width), h = static_cast<std::int32_t>(header.height);
    {
        PixelRows rows(*result);
        if (!rows.ok()) return GenericError;
        for (std::int32_t y = 0; y < h; ++y)
            if (Status s = colour->CopyPixels(Rect{0, y, w, 1}, PixelFormat32bppARGB, w * 4, rows.Row(y)); s != Ok)
                return s;
        // 32-bit icons carry their own alpha in the fourth byte of each pixel,
        // which the colour image (a plain 32-bit DIB) does not keep: it is read
        // from the bytes. Icons whose alpha is all 0, and the other depths,
        // take it from the mask.
        bool anyAlpha = false;
        if (header.bitCount == 32) anyAlpha = CopyIconAlpha(data, header, rows);
        for (std::int32_t y = 0; y < h && !anyAlpha; ++y) {
            std::uint8_t* row = rows.Row(y);
            const std::uint8_t* mask = hasMask ? data.data() + maskAt + (h - 1 - y) * maskStride : nullptr;
            for (std::int32_t x = 0; x < w; ++x) {
                const bool clear = mask && (mask[x / 8] >> (7 - x % 8)) & 1;
                row[4 * x + 3] = clear ? 0 : 0xFF;
            }
        }
    }
    result->SetResolution(colour->GetHorizontalResolution(), colour->GetVerticalResolution());
    bitmap = std::move(result);
    return Ok;
}

}  // namespace

Status IcoDecoder::Decode(const EncodedBytes& encoded, bool, std::unique_ptr<Image>& image) const {
    const ByteView bytes(*encoded);
    std::uint16_t reserved = 1, type = 0, count = 0;
    if (!bytes.U16(0, reserved) || !bytes.U16(2, type) || !bytes.U16(4, count)) return InvalidParameter;
    if (reserved != 0 || type != 1 || count == 0) return InvalidParameter;
    bool found = false;
    IconEntry best;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t at = 6 + std::uint64_t{i} * kDirectoryEntrySize;
        std::uint8_t w = 0, h = 0;
        std::uint16_t bits = 0;
        IconEntry e;
        if (!bytes.U8(at, w) || !bytes.U8(at + 1, h) || !bytes.U16(at + 6, bits) || !bytes.U32(at + 8, e.size) ||
            !bytes.U32(at + 12, e.offset))
            return InvalidParameter;
        e.width = w == 0 ? 256 : w;
        e.height = h == 0 ? 256 : h;
        e.bitCount = bits;
        if (!bytes.Has(e.offset, e.size) || e.size == 0) continue;
        if (!found || Better(e, best)) best = e;
        found = true;
    }
    if (!found) return InvalidParameter;
    const ByteView data = *bytes.Slice(best.offset, best.size);
    std::unique_ptr<Bitmap> bitmap;
    const bool png = data.size() >= sizeof kPngSignature && std::memcmp(data.data(), kPngSignature, 8) == 0;
    const Status s = png ? DecodePng(data.Span(), bitmap) : DecodeIconDib(data, bitmap);
    if (s != Ok) return s;
    bitmap->SetRawFormat(ImageFormatIcon);
    image = std::move(bitmap);
    return Ok;
}

}  // namespace gdiplus::codecs
