#pragma once
// The system clipboard. The library itself owns no clipboard: a host that has
// one installs a service that empties it, takes a bitmap (a copy: the caller
// keeps its handle) and hands out the bitmap it holds; without a service every
// write fails and nothing can be pasted.
#include <cstdint>
#include <functional>

#include "platform/win/gdi_bitmap.h"

namespace win {

// The standard clipboard format of a bitmap handle.
constexpr uint32_t CF_BITMAP = 2;

enum class ClipboardResult {
    Done,
    // The clipboard could not get the memory it needed.
    NoMemory,
    // Any other failure: no service, the clipboard held by another program.
    Failed,
};

struct ClipboardService {
    std::function<ClipboardResult()> empty;
    std::function<ClipboardResult(const GdiBitmap& bitmap)> putBitmap;
    // The picture on the clipboard as a new bitmap the caller owns; the null
    // handle when the clipboard holds no picture.
    std::function<HBITMAP()> takeBitmap;
};

// Installs the host's clipboard (an empty service removes it).
void SetClipboardService(ClipboardService service);

ClipboardResult EmptyClipboard();
// Puts a copy of the bitmap on the clipboard in the bitmap format; Failed for
// an invalid handle.
ClipboardResult SetClipboardBitmap(HBITMAP bitmap);
// The clipboard's picture as a new bitmap the caller deletes; the null handle
// without a service that pastes or when the clipboard holds no picture.
HBITMAP GetClipboardBitmap();

}  // namespace win
