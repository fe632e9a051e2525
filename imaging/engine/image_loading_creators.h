#pragma once
// The creators the loaders build on: an image from a file, a stream, a packed
// DIB, a GDI bitmap handle or an icon handle, each registered under a new ID
// with the ImageKind of its source. A creator that fails registers nothing
// and returns the status (newId is left as it was).
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/handles.h"
#include "platform/win/stream.h"

namespace scanvelt {

// A decoded image file (kind 6); the file is read whole and not held open.
MorvalenStatus ImageFromFile(const std::string& path, int32_t& newId);
// The same with colour management asked of the decoder.
MorvalenStatus ImageFromFileIcm(const std::string& path, int32_t& newId);
// The image a stream holds from its current position to its end (kind 0).
// InvalidParameter without a stream; StreamReadFailure when reading fails.
MorvalenStatus ImageFromStream(const std::shared_ptr<win::Stream>& stream, int32_t& newId, bool useIcm);

// A DIB's pixels as GDI+ takes them: an uncompressed DIB of 1, 4, 8, 16
// (5-5-5 or 5-6-5), 24 or 32 bits, its rows 4-byte aligned, bottom-up unless
// the height is negative.
struct GdiDib {
    win::BitmapInfoHeader header;
    // Entries of the colour table (RGBQUAD: blue in the low byte); only for
    // up to 8 bits.
    std::span<const uint32_t> colorTable;
    // 16 bits: true for 5-6-5, false for 5-5-5. 32 bits: the fourth byte is alpha.
    bool rgb565 = false;
    bool alpha = false;
    // The first row in memory; the rows that the header says must be there.
    uint8_t* bits = nullptr;
};

// An image of the DIB (kind 2), opaque through its colour table. With
// borrowPixels the image lies over the DIB's memory, which must outlive it;
// otherwise the pixels are copied.
MorvalenStatus ImageFromGdiDib(const GdiDib& dib, bool borrowPixels, int32_t& newId);
// A copy of a GDI bitmap (kind 4); its colour table, or else the palette,
// colours indexed pixels. InvalidParameter for an invalid handle.
MorvalenStatus ImageFromHBitmap(win::HBITMAP bitmap, win::HPALETTE palette, int32_t& newId);
// A 32bppARGB copy of an icon (kind 5): transparent where its mask is set.
// InvalidParameter for an invalid handle.
MorvalenStatus ImageFromHIcon(win::HICON icon, int32_t& newId);

}  // namespace scanvelt
