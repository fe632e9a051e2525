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

// A copy of a packed DIB (kind 2): header of any size in use, with its
// colour count and bit-field masks honoured, then masks, colour table and
// pixels, read by the BMP codec's DIB reader (gdiplus::codecs::DecodePackedDib)
// and opaque through its colour table. InvalidParameter for a block shorter
// than its header says or a header that is not sound.
MorvalenStatus ImageFromGdiDib(std::span<const uint8_t> packedDib, int32_t& newId);
// A copy of a GDI bitmap (kind 4); its colour table, or else the palette,
// colours indexed pixels. InvalidParameter for an invalid handle.
MorvalenStatus ImageFromHBitmap(win::HBITMAP bitmap, win::HPALETTE palette, int32_t& newId);
// A 32bppARGB copy of an icon (kind 5): transparent where its mask is set.
// InvalidParameter for an invalid handle.
MorvalenStatus ImageFromHIcon(win::HICON icon, int32_t& newId);

}  // namespace scanvelt
