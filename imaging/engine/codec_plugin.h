#pragma once
// The codec plug-in as the engine calls it: an optional shared object whose
// functions mirror a well-known open-source image library's API of the same
// names. Handles are opaque 32-bit values, 0 meaning none or failure. The
// engine calls it only while PluginAvailable (imaging_session.h) is true or an
// image already holds plug-in handles.
//
// Row order: bitmaps of JPEG, PNG, J2K and JP2 files are kept top-down, all
// others bottom-up. Pixels of 32-bit bitmaps are B, G, R, A bytes; colour type
// 4 means RGB with alpha; photometric 0 means min-is-white.
#include <cstdint>
#include <string>
#include <vector>

namespace scanvelt {

using PluginHandle = uint32_t;

// Plug-in format codes the engine names; -1 is unknown.
inline constexpr int32_t kPluginFormatUnknown = -1;
inline constexpr int32_t kPluginFormatBmp = 0;
inline constexpr int32_t kPluginFormatJpeg = 2;
inline constexpr int32_t kPluginFormatPng = 13;
inline constexpr int32_t kPluginFormatTiff = 18;
inline constexpr int32_t kPluginFormatGif = 25;
inline constexpr int32_t kPluginFormatJ2k = 30;
inline constexpr int32_t kPluginFormatJp2 = 31;

// The record a tag handle stands for.
struct PluginTag {
    std::string key;
    std::string description;
    uint16_t id = 0;
    uint16_t type = 0;  // the EXIF/TIFF field type
    uint32_t count = 0;
    uint32_t length = 0;  // bytes of the value
    std::vector<uint8_t> value;
};

class CodecPlugin {
public:
    virtual ~CodecPlugin() = default;

    // Files. Paths are the engine's UTF-8 texts; the plug-in takes them as UTF-16.
    virtual PluginHandle OpenFileU(const std::string& path) = 0;
    virtual void CloseFileHandle(PluginHandle file) = 0;
    // Format code by content (size 0: the whole file) and by file name; -1 unknown.
    virtual int32_t GetFileTypeU(const std::string& path, int32_t size) = 0;
    virtual int32_t GetFIFFromFilenameU(const std::string& path) = 0;

    // Whole bitmaps.
    virtual PluginHandle LoadU(int32_t format, const std::string& path, int32_t flags) = 0;
    // 1 on success.
    virtual int32_t SaveU(int32_t format, PluginHandle bitmap, const std::string& path, int32_t flags) = 0;
    virtual void Unload(PluginHandle bitmap) = 0;

    // Pages of a multi-page file.
    virtual PluginHandle OpenMultiBitmapU(int32_t format, int32_t flags, PluginHandle file) = 0;
    virtual int32_t GetPageCount(PluginHandle multiBitmap) = 0;
    virtual PluginHandle LockPage(PluginHandle multiBitmap, int32_t index) = 0;
    virtual void UnlockPage(PluginHandle multiBitmap, PluginHandle page, bool changed) = 0;
    virtual void CloseMultiBitmap(PluginHandle multiBitmap, int32_t flags) = 0;

    // Queries.
    virtual uint32_t GetWidth(PluginHandle bitmap) = 0;
    virtual uint32_t GetHeight(PluginHandle bitmap) = 0;
    virtual uint32_t GetPitch(PluginHandle bitmap) = 0;
    virtual uint32_t GetBPP(PluginHandle bitmap) = 0;
    // The first row as stored; valid while the bitmap lives.
    virtual uint8_t* GetBits(PluginHandle bitmap) = 0;
    // A BITMAPINFO (header and colour table); valid while the bitmap lives.
    virtual const uint8_t* GetInfo(PluginHandle bitmap) = 0;
    virtual int32_t GetImageType(PluginHandle bitmap) = 0;
    virtual int32_t GetColorType(PluginHandle bitmap) = 0;
    virtual int32_t GetPhotoMetric(PluginHandle bitmap) = 0;
    virtual uint32_t GetColorsUsed(PluginHandle bitmap) = 0;
    // The palette as B, G, R, A entries, writable; null without one.
    virtual uint8_t* GetPalette(PluginHandle bitmap) = 0;
    virtual uint32_t GetTransparencyCount(PluginHandle bitmap) = 0;
    virtual bool IsTransparent(PluginHandle bitmap) = 0;
    virtual uint32_t GetDotsPerMeterX(PluginHandle bitmap) = 0;
    virtual uint32_t GetDotsPerMeterY(PluginHandle bitmap) = 0;
    virtual void SetDotsPerMeterX(PluginHandle bitmap, uint32_t value) = 0;
    virtual void SetDotsPerMeterY(PluginHandle bitmap, uint32_t value) = 0;
    virtual void SetTransparentIndex(PluginHandle bitmap, int32_t index) = 0;

    // New bitmaps; the source stays valid and stays the caller's.
    virtual PluginHandle ConvertToType(PluginHandle bitmap, int32_t type, bool scaleLinear) = 0;
    virtual PluginHandle ConvertToGreyscale(PluginHandle bitmap) = 0;
    virtual PluginHandle ConvertTo24Bits(PluginHandle bitmap) = 0;
    virtual PluginHandle ConvertTo32Bits(PluginHandle bitmap) = 0;
    virtual PluginHandle ConvertToRGBF(PluginHandle bitmap) = 0;
    virtual PluginHandle TmoReinhard05(PluginHandle bitmap, double intensity, double contrast) = 0;
    // Copies the pixels.
    virtual PluginHandle ConvertFromRawBits(const uint8_t* bits, int32_t width, int32_t height, int32_t pitch,
                                            uint32_t bitsPerPixel, uint32_t redMask, uint32_t greenMask,
                                            uint32_t blueMask, bool topDown) = 0;

    // In place; true on success.
    virtual bool FlipVertical(PluginHandle bitmap) = 0;
    virtual bool Invert(PluginHandle bitmap) = 0;

    // Metadata, by the plug-in's model numbers.
    virtual uint32_t GetMetadataCount(int32_t model, PluginHandle bitmap) = 0;
    // A search handle, 0 when there is nothing to find; `tag` receives the first tag.
    virtual PluginHandle FindFirstMetadata(int32_t model, PluginHandle bitmap, PluginHandle& tag) = 0;
    // False at the end.
    virtual bool FindNextMetadata(PluginHandle search, PluginHandle& tag) = 0;
    virtual void FindCloseMetadata(PluginHandle search) = 0;
    // The record behind a tag handle; an empty record for 0.
    virtual PluginTag TagRecord(PluginHandle tag) = 0;
    virtual PluginHandle CreateTag() = 0;
    virtual bool SetTagKey(PluginHandle tag, const std::string& key) = 0;
    virtual bool SetTagID(PluginHandle tag, uint16_t id) = 0;
    virtual bool SetTagType(PluginHandle tag, uint16_t type) = 0;
    virtual bool SetTagCount(PluginHandle tag, uint32_t count) = 0;
    virtual bool SetTagLength(PluginHandle tag, uint32_t length) = 0;
    virtual bool SetTagValue(PluginHandle tag, const uint8_t* value) = 0;
    virtual std::string GetTagKey(PluginHandle tag) = 0;
    virtual bool SetMetadata(int32_t model, PluginHandle bitmap, const std::string& key, PluginHandle tag) = 0;
    virtual void DeleteTag(PluginHandle tag) = 0;

    // Compression.
    // Quality at most 100; applies to the next TIFF save with JPEG compression.
    virtual void SetTiffJpegCompression(int32_t quality) = 0;
    // CCITT group 4 of 1-bit rows; 0 on success, `out` sized and filled by the plug-in.
    virtual int32_t VB_CompressCCITT4(std::vector<uint8_t>& out, const std::vector<uint8_t>& rows, int32_t width,
                                      int32_t height, int32_t stride, int32_t flags) = 0;
    // The compressed length written to `dest`, 0 or less on failure.
    virtual int32_t ZLibCompress2(uint8_t* dest, int32_t destCapacity, const uint8_t* source, int32_t sourceLength) = 0;
};

}  // namespace scanvelt
