#pragma once
// The record behind an image ID: the GDI+ image, what backs its pixels, its
// files, the pages of a multi-page image, IPTC tags, the modified flag and a
// device context.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/engine/codec_plugin.h"
#include "platform/gdiplus/image.h"
#include "platform/win/handles.h"

namespace scanvelt {

// How the pixels of an image are backed, and so what its release frees besides
// the GDI+ image. Value 1 is not used.
enum ImageKind : int32_t {
    // A clone, a metafile, an image from a stream or adopted from outside, the
    // container of a split multi-page image.
    ImageKindMemory = 0,
    // A bitmap over a packed DIB in global memory (freed at release when attached).
    ImageKindGlobalDib = 2,
    // A bitmap over a plug-in bitmap, or the container of a plug-in multi-bitmap.
    ImageKindPluginBitmap = 3,
    ImageKindHBitmap = 4,
    ImageKindHIcon = 5,
    // A bitmap read from a file.
    ImageKindFile = 6,
    // A bitmap over a caller's pixel buffer, or a thumbnail.
    ImageKindBorrowedBuffer = 7,
    // A bitmap over a page locked from a plug-in multi-bitmap.
    ImageKindPluginPage = 8,
    // A bitmap over a pixel buffer that the image owns.
    ImageKindOwnedBuffer = 9,
};

// One IPTC tag read through the codec plug-in.
struct IptcTag {
    int32_t TagId = 0;
    int32_t Length = 0;
    int16_t Type = 0;
    std::vector<uint8_t> Data;
    int32_t Count = 0;
};

// What stands behind a device context handed out for drawing on an image: the
// drawing operations derive from it, and the image's release destroys it, so
// a context is never left pointing at a released image.
class ImageDrawingContext {
public:
    virtual ~ImageDrawingContext() = default;
};

struct ImageEntry {
    // 0 marks a free slot.
    int32_t ImageID = 0;
    int32_t Kind = ImageKindMemory;
    // The packed DIB behind an image of kind 2; freed at release.
    win::HGLOBAL GlobalMemory{};
    // The buffer the bitmap was made over, kept to recognise it (never read
    // through): the bitmap itself frees an owned buffer.
    const uint8_t* PixelBuffer = nullptr;
    bool BufferOwned = false;
    // Null for the container of a split multi-page image.
    std::unique_ptr<gdiplus::Image> NativeImage;
    // Compression chosen when a native multi-page TIFF file was started with this image.
    int32_t TiffCompression = 0;
    PluginHandle PluginBitmap = 0;
    PluginHandle PluginPage = 0;
    // Codec plug-in file handle a multi-page TIFF was read through; closed at release.
    PluginHandle PluginFile = 0;
    std::string SourcePath;
    bool DeleteSourceOnRelease = false;
    std::string FormatName;

    // Pages of a multi-page TIFF or multi-frame GIF; at most one flag is set.
    bool MultiPageTiff = false;
    bool MultiFrameGif = false;
    int32_t PageCount = 0;
    std::vector<std::string> PageFiles;
    std::vector<int32_t> PageImageIds;
    std::vector<int32_t> FrameDelays;
    int32_t CurrentPage = 0;
    // The pages stay inside the GDI+ image or the plug-in multi-bitmap.
    bool FramesNative = false;
    int32_t GifLoopCount = 0;
    std::string GifComment;

    std::vector<IptcTag> IptcTags;
    bool IsModified = false;

    win::HDC ImageDC{};
    std::unique_ptr<ImageDrawingContext> ImageDCGraphics;

    bool IsMultiPage() const { return MultiPageTiff || MultiFrameGif; }
    // Split: a container whose pages are separate page images.
    bool IsSplitMultiPage() const { return IsMultiPage() && !FramesNative; }
};

}  // namespace scanvelt
