#pragma once
// Loading images into image IDs: files (through the codec plug-in, GDI+ and
// the picture loader, in a fixed order), streams, packed DIBs in global
// memory, pictures, the clipboard and metafiles. Each loader returns a status
// and writes the new ID to outId on success; a failed load leaves no image
// registered.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "platform/win/handles.h"
#include "platform/win/stream.h"

namespace scanvelt {

// The main file loader. With pathReady false an empty path first asks the
// "Open File" dialog over ownerWindow. FileNotFound for an empty or missing
// path. With useIcm or gdiplusOnly GDI+ is tried first (UnknownImageFormat
// when the image it gives has no pixel format; with gdiplusOnly its status is
// the result); then the plug-in, GDI+ again and the picture loader, and when
// all fail the plug-in's status (Aborted without the plug-in). A GIF or TIFF
// of several pages becomes a multi-page image, kept native with the keep
// flags and split into page files without them.
MorvalenStatus LoadImageFromFile(int32_t& outId, const std::string& path, bool useIcm, bool gdiplusOnly,
                                 bool keepTiffNative, uint32_t ownerWindow, bool pathReady, bool keepGifNative);

// The image of a stream; a GIF or TIFF of several pages is split into page
// files. InvalidParameter without a stream; StreamReadFailure when reading it
// fails.
MorvalenStatus LoadImageFromStream(int32_t& outId, const std::shared_ptr<win::Stream>& stream, bool useIcm);

// A packed DIB in global memory (the way a scanner hands over a page), read
// by the BMP codec's DIB reader (ImageFromGdiDib): a header of any size in
// use with its colour count and bit-field masks honoured, uncompressed, RLE
// or bit-field pixels of 1 to 32 bits. A block shorter than its header says,
// or a header that is not sound, gives InvalidParameter with nothing read
// past the block (UnknownImageFormat for JPEG or PNG pixels inside). A 1-bit
// DIB whose colour 0 is white ends with palette black, white and inverted
// bits (the same picture). The pixels are copied; with keepHandle the block
// belongs to the image from then on (freed at its release), without it the
// block stays the caller's, untouched. The resolution comes from the pixels
// per metre, to whole dpi with wholeDpi, else to three decimals; a DIB
// without one keeps the default. InvalidParameter for a null handle,
// GenericError when the block cannot be locked.
MorvalenStatus LoadImageFromDib(int32_t& outId, win::HGLOBAL dib, bool keepHandle, bool wholeDpi);

// An OLE picture: a bitmap (with its palette), an icon, or a metafile
// (its handle a global block of WMF records, ImageFromWmf) drawn on white;
// GenericError for a metafile whose size does not fit 16 bits,
// UnknownImageFormat for one that cannot be drawn and for enhanced
// metafiles (no library here draws them). InvalidParameter for another type
// or an invalid picture.
MorvalenStatus LoadImageFromPicture(int32_t& outId, win::HPICTURE picture);

// The picture a host's clipboard holds, as the host's clipboard service
// hands it over (DIB, bitmap, palette, metafile: the first there); without a
// picture source of its own, the bitmap of platform/win's clipboard service
// (the program's Qt clipboard). Without either, or without a picture:
// GenericError.
MorvalenStatus LoadImageFromClipboard(int32_t& outId);
// A picture source of this thread that stands before the clipboard service:
// gives a new picture (the loader releases it), or nullopt when the clipboard
// holds none. An empty function removes it.
using ClipboardPictureSource = std::function<std::optional<win::HPICTURE>()>;
void SetClipboardPictureSource(ClipboardPictureSource source);

// A WMF file drawn into a 32bppARGB bitmap of its size x scale.
// FileNotFound for a missing file, Aborted with render false, otherwise the
// status of RenderMetafileFile.
MorvalenStatus LoadMetafileImage(int32_t& outId, const std::string& path, float scale, bool render);
// The WMF drawn by libwmf at its size in pixels of the screen (96 dpi) times
// `scale` (each side rounded half to even), transparent where it draws
// nothing. UnknownImageFormat for a file that is no WMF, EMF included
// (no library on this platform draws enhanced metafiles); InvalidParameter
// for a scaled size below one pixel or beyond kMaxWmfPixels. Nothing is
// registered on failure.
MorvalenStatus RenderMetafileFile(const std::string& path, float scale, int32_t& outId);

// The placeable header given to a metafile that comes without one.
struct WmfPlaceableHeader {
    int16_t left = 0, top = 0, right = 0, bottom = 0;
    uint16_t unitsPerInch = 1440;
};
// A metafile held as its records (META_HEADER onwards) in a global memory
// block, the form metafile handles take on this platform, drawn with the
// header's frame at the screen's resolution (kind 0), on opaque white as a
// picture is drawn. With `deleteMetafile`
// the block is freed once read. InvalidParameter for a block that is no live
// global block or an empty frame, UnknownImageFormat for records libwmf
// cannot read.
MorvalenStatus ImageFromWmf(win::HGLOBAL metafile, bool deleteMetafile, const WmfPlaceableHeader& header,
                            int32_t& newId);

}  // namespace scanvelt
