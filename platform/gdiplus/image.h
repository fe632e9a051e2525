#pragma once
// An image: what every kind of image has in common (size, pixel format,
// resolution, palette, property items, frames, saving through an encoder).
// Bitmap is the one kind there is so far.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/gdiplus/bitmap_data.h"
#include "platform/gdiplus/codec.h"
#include "platform/gdiplus/frame.h"
#include "platform/gdiplus/guid.h"
#include "platform/gdiplus/image_format.h"
#include "platform/gdiplus/palette.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/gdiplus/property_item.h"
#include "platform/gdiplus/rotate_flip.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

class Bitmap;

enum ImageType : std::int32_t {
    ImageTypeUnknown = 0,
    ImageTypeBitmap = 1,
    ImageTypeMetafile = 2,
};

class Image {
public:
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Loading through the registered decoders (codec_registry.h): the whole
    // file is read, so the file is not held open. FileNotFound for a missing
    // file, AccessDenied for one that may not be read, UnknownImageFormat
    // when no decoder recognises the bytes, GdiplusNotInitialized before
    // Startup.
    static Status FromFile(const std::filesystem::path& path, bool useIcm, std::unique_ptr<Image>& image);
    // The same for bytes in memory (a stream's contents); InvalidParameter
    // for no bytes.
    static Status FromBytes(const EncodedBytes& bytes, bool useIcm, std::unique_ptr<Image>& image);

    virtual ImageType GetType() const = 0;
    virtual std::uint32_t GetWidth() const = 0;
    virtual std::uint32_t GetHeight() const = 0;
    virtual PixelFormat GetPixelFormat() const = 0;
    // Dots per inch.
    virtual float GetHorizontalResolution() const = 0;
    virtual float GetVerticalResolution() const = 0;
    // Images are decoded when they are made, so there is nothing left to do.
    Status ForceValidation() const { return Ok; }

    // The format the image was decoded from; ImageFormatMemoryBMP for an
    // image made in memory. Decoders set it.
    const Guid& GetRawFormat() const { return rawFormat_; }
    void SetRawFormat(const Guid& format) { rawFormat_ = format; }

    // ColorPalette::SizeFor(the palette's Count).
    virtual std::uint32_t GetPaletteSize() const = 0;
    virtual Status GetPalette(ColorPalette& palette) const = 0;
    // InvalidParameter for a Count above 256.
    virtual Status SetPalette(const ColorPalette& palette) = 0;

    // The pixels of a rectangle converted into `format`, written to the
    // caller's buffer of rows `stride` bytes apart (negative: bottom-up from
    // `buffer`): what an encoder reads. InvalidParameter for a rectangle that
    // is empty or not inside the image, a format that is not supported, or a
    // stride too short for a row; ObjectBusy while the pixels are locked.
    virtual Status CopyPixels(const Rect& rect, PixelFormat format, std::int32_t stride, void* buffer) const = 0;

    // A full copy: pixels, palette, resolution, property items, raw format
    // and frames.
    virtual Status Clone(std::unique_ptr<Image>& clone) const = 0;
    // A 32bppPARGB image of exactly width x height, scaled by area averaging;
    // InvalidParameter for a zero size.
    virtual Status GetThumbnailImage(std::uint32_t width, std::uint32_t height,
                                     std::unique_ptr<Image>& thumbnail) const = 0;
    // InvalidParameter for a type outside 0-7.
    virtual Status RotateFlip(RotateFlipType type) = 0;

    // Property items (property_item.h).
    std::uint32_t GetPropertyCount() const { return properties_.Count(); }
    std::vector<PROPID> GetPropertyIdList() const { return properties_.IdList(); }
    Status GetPropertyItemSize(PROPID id, std::uint32_t& size) const { return properties_.ItemSize(id, size); }
    Status GetPropertyItem(PROPID id, PropertyItem& item) const { return properties_.Get(id, item); }
    void GetPropertySize(std::uint32_t& totalBufferSize, std::uint32_t& numProperties) const {
        properties_.TotalSize(totalBufferSize, numProperties);
    }
    const std::vector<PropertyItem>& GetAllPropertyItems() const { return properties_.All(); }
    Status RemovePropertyItem(PROPID id) { return properties_.Remove(id); }
    Status SetPropertyItem(const PropertyItem& item) { return properties_.Set(item); }

    // Frames (frame.h). An image without a frame source has one frame along
    // FrameDimensionPage.
    std::vector<Guid> GetFrameDimensionsList() const;
    std::uint32_t GetFrameDimensionsCount() const;
    // 0 for a dimension the image does not have.
    std::uint32_t GetFrameCount(const Guid& dimension) const;
    // Decodes the frame into the image (its pixels, palette, resolution and
    // property items become the frame's). InvalidParameter for a dimension
    // the image does not have or an index past its frames; ObjectBusy while
    // the pixels are locked; the frame source's status when decoding fails,
    // in which case the image is unchanged.
    Status SelectActiveFrame(const Guid& dimension, std::uint32_t index);
    // For decoders: the source of the image's frames; the image shows frame 0
    // of the source's main dimension.
    void SetFrameSource(std::shared_ptr<const FrameSource> source);

    // Saving through a registered encoder (codec_registry.h).
    // To a file: written under a temporary name and renamed into place, or
    // removed on failure. With EncoderSaveFlag = EncoderValueMultiFrame the
    // output stays open: SaveAdd adds frames, and SaveAdd with
    // EncoderValueFlush, or the end of this image, completes the file.
    // UnknownImageFormat for an encoder class ID that is not registered;
    // WrongState while a multi-frame save of this image is open.
    Status Save(const std::filesystem::path& path, const Guid& encoderClsid,
                const EncoderParameters* parameters = nullptr);
    // To memory (a stream's contents); the output is completed at once, so
    // NotImplemented for EncoderValueMultiFrame.
    Status Save(std::vector<std::uint8_t>& bytes, const Guid& encoderClsid,
                const EncoderParameters* parameters = nullptr);
    // With EncoderSaveFlag = EncoderValueFlush completes the open multi-frame
    // file; InvalidParameter for any other parameters. WrongState when no
    // multi-frame save is open.
    Status SaveAdd(const EncoderParameters& parameters);
    // Adds the current frame of another image to the open multi-frame output;
    // EncoderSaveFlag = EncoderValueLastFrame completes it after this frame.
    Status SaveAdd(const Image& newImage, const EncoderParameters& parameters);

protected:
    Image();
    // While a pixel lock is held the pixel operations answer ObjectBusy.
    virtual bool IsLocked() const = 0;
    // Makes a decoded frame's pixels, palette, resolution and property items
    // the image's own.
    virtual void AdoptFrame(std::unique_ptr<Bitmap> frame) = 0;
    // Copies raw format, property items and frame state into a clone.
    void CopyImageStateTo(Image& clone) const;
    PropertyStore& Properties() { return properties_; }

private:
    struct PendingSave;

    Status FinishPendingSave();

    Guid rawFormat_ = ImageFormatMemoryBMP;
    PropertyStore properties_;
    std::shared_ptr<const FrameSource> frameSource_;
    Guid activeDimension_ = FrameDimensionPage;
    std::uint32_t activeFrame_ = 0;
    std::unique_ptr<PendingSave> pendingSave_;
};

}  // namespace gdiplus
