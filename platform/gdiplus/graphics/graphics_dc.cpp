// Device contexts out of a graphics: the target's own context, or for an
// image a memory context over a copy of its pixels that is written back when
// the context is given back.
#include "platform/gdiplus/graphics/graphics.h"

namespace gdiplus {
namespace {

Rect WholeOf(const Bitmap& bitmap) {
    return Rect{0, 0, static_cast<std::int32_t>(bitmap.GetWidth()), static_cast<std::int32_t>(bitmap.GetHeight())};
}

}  // namespace

Status Graphics::GetDC(win::HDC& dc) {
    if (HasDCOut()) return ObjectBusy;
    if (const win::HDC own = target_->DeviceContext(); own != win::HDC{}) {
        dcOut_ = dc = own;
        return Ok;
    }
    Bitmap* bitmap = nullptr;
    if (Status s = Acquire(bitmap); s != Ok) return s;

    win::BitmapInfoHeader header;
    header.width = static_cast<std::int32_t>(bitmap->GetWidth());
    header.height = -static_cast<std::int32_t>(bitmap->GetHeight());  // top-down
    header.bitCount = 32;
    void* bits = nullptr;
    const win::HBITMAP section = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
    if (section == win::HBITMAP{}) return OutOfMemory;
    const auto stride = static_cast<std::int32_t>(win::DibStride(header.width, 32));
    if (Status s = bitmap->CopyPixels(WholeOf(*bitmap), PixelFormat32bppARGB, stride, bits); s != Ok) {
        win::DeleteObject(section);
        return s;
    }
    const win::HDC memory = win::CreateCompatibleDC(win::HDC{});
    const win::HBITMAP previous = memory != win::HDC{} ? win::SelectObject(memory, section) : win::HBITMAP{};
    if (previous == win::HBITMAP{}) {
        if (memory != win::HDC{}) win::DeleteDC(memory);
        win::DeleteObject(section);
        return OutOfMemory;
    }
    dcOut_ = dc = memory;
    dcBitmap_ = section;
    dcPrevious_ = previous;
    return Ok;
}

Status Graphics::ReleaseDC(win::HDC dc) {
    if (!HasDCOut() || dc != dcOut_) return InvalidParameter;
    if (dcBitmap_ != win::HBITMAP{}) {
        Bitmap* bitmap = target_->Acquire();
        const auto section = win::FindBitmap(dcBitmap_);
        if (bitmap == nullptr || !section) return InvalidParameter;
        const Status written = bitmap->WritePixels(WholeOf(*bitmap), PixelFormat32bppARGB,
                                                   static_cast<std::int32_t>(section->stride), section->bits.data());
        if (written != Ok) return written;
    }
    FreeDCResources();
    return Ok;
}

void Graphics::FreeDCResources() {
    if (dcBitmap_ != win::HBITMAP{}) {
        win::SelectObject(dcOut_, dcPrevious_);
        win::DeleteDC(dcOut_);
        win::DeleteObject(dcBitmap_);
    }
    dcOut_ = win::HDC{};
    dcBitmap_ = win::HBITMAP{};
    dcPrevious_ = win::HBITMAP{};
}

}  // namespace gdiplus
