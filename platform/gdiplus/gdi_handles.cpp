#include "platform/gdiplus/gdi_handles.h"

#include <cstring>
#include <vector>

#include "platform/gdiplus/memory.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"

namespace gdiplus {

namespace {

// The image's pixels as 32-bit ARGB, top row first.
Status ArgbPixels(const Image& image, std::vector<ARGB>& pixels) {
    const auto width = static_cast<std::int32_t>(image.GetWidth());
    const auto height = static_cast<std::int32_t>(image.GetHeight());
    pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return image.CopyPixels(Rect{0, 0, width, height}, PixelFormat32bppARGB, 4 * width, pixels.data());
}

// A bottom-up bitmap of the image's size and depth, all zero.
win::GdiBitmap EmptyBitmap(const Image& image, std::uint16_t bitsPerPixel) {
    win::GdiBitmap bitmap;
    bitmap.width = static_cast<std::int32_t>(image.GetWidth());
    bitmap.height = static_cast<std::int32_t>(image.GetHeight());
    bitmap.bitsPerPixel = bitsPerPixel;
    bitmap.topDown = false;
    bitmap.stride = win::DibStride(bitmap.width, bitsPerPixel);
    bitmap.bits.assign(static_cast<std::size_t>(bitmap.stride) * static_cast<std::size_t>(bitmap.height), 0);
    return bitmap;
}

std::uint8_t Over(std::uint8_t colour, std::uint8_t background, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((colour * alpha + background * (255 - alpha) + 127) / 255);
}

void PutArgb(win::GdiBitmap& bitmap, std::int32_t x, std::int32_t y, ARGB colour) {
    std::memcpy(bitmap.row(y) + 4 * static_cast<std::size_t>(x), &colour, 4);
}

}  // namespace

Status CreateHBITMAPFromBitmap(const Image* image, ARGB background, win::HBITMAP& bitmap) {
    if (image == nullptr) return InvalidParameter;
    return AnswerOutOfMemory([&]() -> Status {
        std::vector<ARGB> pixels;
        if (const Status status = ArgbPixels(*image, pixels); status != Ok) return status;
        win::GdiBitmap made = EmptyBitmap(*image, 32);
        for (std::int32_t y = 0; y < made.height; ++y) {
            for (std::int32_t x = 0; x < made.width; ++x) {
                const ARGB c = pixels[static_cast<std::size_t>(y) * made.width + x];
                const std::uint8_t a = AlphaOf(c);
                PutArgb(made, x, y,
                        MakeARGB(255, Over(RedOf(c), RedOf(background), a), Over(GreenOf(c), GreenOf(background), a),
                                 Over(BlueOf(c), BlueOf(background), a)));
            }
        }
        const win::HBITMAP handle = win::AddBitmap(std::move(made));
        if (handle == win::HBITMAP{}) return OutOfMemory;
        bitmap = handle;
        return Ok;
    });
}

Status CreateHICONFromBitmap(const Image* image, win::HICON& icon) {
    if (image == nullptr) return InvalidParameter;
    return AnswerOutOfMemory([&]() -> Status {
        std::vector<ARGB> pixels;
        if (const Status status = ArgbPixels(*image, pixels); status != Ok) return status;
        win::GdiIcon made;
        made.mask = EmptyBitmap(*image, 1);
        win::GdiBitmap colour = EmptyBitmap(*image, 32);
        for (std::int32_t y = 0; y < colour.height; ++y) {
            for (std::int32_t x = 0; x < colour.width; ++x) {
                const ARGB c = pixels[static_cast<std::size_t>(y) * colour.width + x];
                PutArgb(colour, x, y, c);
                if (AlphaOf(c) == 0) made.mask.row(y)[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        made.color = std::make_shared<const win::GdiBitmap>(std::move(colour));
        const win::HICON handle = win::AddIcon(std::move(made));
        if (handle == win::HICON{}) return OutOfMemory;
        icon = handle;
        return Ok;
    });
}

}  // namespace gdiplus
