#pragma once
// The codec plug-in's C interface. The shared object libmvimgplug.so is
// loaded by name at run time; every function below is one export, named
// MVIMGPLUG_<Name> after the function of the well-known image library it
// mirrors. The plug-in reads and writes image files through Debian's
// FreeImage, with libjpeg-turbo for JPEG files, libtiff for TIFF files and
// CCITT group 4, and zlib.
//
// Handles: opaque non-zero 32-bit values from a table inside the plug-in,
// never addresses. 0 means none or failure. A handle of one kind (file,
// bitmap, multi-bitmap, page, metadata search, tag) is refused where another
// kind is wanted, and a handle that was given back stays refused. Releasing a
// handle releases what depends on it: closing a multi-bitmap unlocks its
// pages, unloading a bitmap ends the metadata searches over it, ending a
// search drops the tag handles it found.
//
// Row order: every bitmap crosses this interface upright, whatever its file
// format. GetBits addresses the TOP row, rows follow downwards GetPitch bytes
// apart, and the header GetInfo returns has a negative height (a top-down
// DIB). ConvertFromRawBits takes the caller's rows in the order its topDown
// argument names. Inside, the plug-in keeps the library's bitmaps turned over
// so that this holds, and turns them back for the library's encoders.
//
// Pixels: 32-bit bitmaps hold B, G, R, A bytes; palettes are B, G, R, reserved
// quads. Colour type 4 means RGB with alpha. Photometric 0 means a min-is-white
// 1-bit bitmap (pixel value 0 is white).
//
// Formats: only the formats the imaging engine uses reach the library (see
// format_allow_list.h); any other format code is answered like an unknown
// one (-1 from the type queries, 0 from loads, saves and opens).
//
// Paths are UTF-16 (NUL-terminated) Linux paths. Files are written under a
// temporary name beside the target and renamed into place, or removed when
// the save fails.
//
// Every function may be called from any thread; calls are serialised inside.
#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#define MVIMGPLUG_API __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t MvimgplugHandle;

// The record behind a tag handle. The addresses stay valid while the tag does
// and it is not changed.
typedef struct MvimgplugTagRecord {
    const char* key;          // NUL-terminated 8-bit text
    const char* description;  // NUL-terminated 8-bit text, may be empty
    uint16_t id;
    uint16_t type;  // the EXIF/TIFF field type
    uint32_t count;
    uint32_t length;  // bytes of the value
    const void* value;
} MvimgplugTagRecord;

// Bytes handed to the plug-in.
typedef struct MvimgplugBytes {
    const uint8_t* data;
    int32_t length;
} MvimgplugBytes;

// Where the plug-in puts bytes it makes: it asks `resize` for room for
// exactly `length` bytes and fills them. `resize` returns null when the room
// cannot be had.
typedef struct MvimgplugByteSink {
    void* context;
    uint8_t* (*resize)(void* context, int32_t length);
} MvimgplugByteSink;

// --- files ---
// An open file for reading, for OpenMultiBitmapU. A multi-bitmap opened
// through it keeps the file open until the multi-bitmap is closed.
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_OpenFileU(const char16_t* path);
MVIMGPLUG_API void MVIMGPLUG_CloseFileHandle(MvimgplugHandle file);
// Format code by content (`size` bytes looked at, 0: as many as needed) and by
// the name's extension; -1 unknown.
MVIMGPLUG_API int32_t MVIMGPLUG_GetFileTypeU(const char16_t* path, int32_t size);
MVIMGPLUG_API int32_t MVIMGPLUG_GetFIFFromFilenameU(const char16_t* path);

// --- whole bitmaps ---
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_LoadU(int32_t format, const char16_t* path, int32_t flags);
// 1 on success. TIFF with the JPEG flag (0x8000) is written by libtiff with
// the quality of the last SetTiffJpegCompression.
MVIMGPLUG_API int32_t MVIMGPLUG_SaveU(int32_t format, MvimgplugHandle bitmap, const char16_t* path, int32_t flags);
MVIMGPLUG_API void MVIMGPLUG_Unload(MvimgplugHandle bitmap);

// --- pages ---
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_OpenMultiBitmapU(int32_t format, int32_t flags, MvimgplugHandle file);
MVIMGPLUG_API int32_t MVIMGPLUG_GetPageCount(MvimgplugHandle multiBitmap);
// Page `index` (from 0) as a bitmap handle of its own, until UnlockPage.
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_LockPage(MvimgplugHandle multiBitmap, int32_t index);
MVIMGPLUG_API void MVIMGPLUG_UnlockPage(MvimgplugHandle multiBitmap, MvimgplugHandle page, int32_t changed);
MVIMGPLUG_API void MVIMGPLUG_CloseMultiBitmap(MvimgplugHandle multiBitmap, int32_t flags);

// --- queries (a bitmap or a locked page; 0 or null for any other handle) ---
MVIMGPLUG_API uint32_t MVIMGPLUG_GetWidth(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetHeight(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetPitch(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetBPP(MvimgplugHandle bitmap);
// The top row; valid while the bitmap lives.
MVIMGPLUG_API uint8_t* MVIMGPLUG_GetBits(MvimgplugHandle bitmap);
// A 40-byte BITMAPINFOHEADER (negative height); when its compression is bit
// fields (3, a 16-bit bitmap) the red, green and blue masks follow it, as in
// a DIB; then GetColorsUsed palette quads. Valid until the next GetInfo of
// the bitmap or its release.
MVIMGPLUG_API const void* MVIMGPLUG_GetInfo(MvimgplugHandle bitmap);
MVIMGPLUG_API int32_t MVIMGPLUG_GetImageType(MvimgplugHandle bitmap);
MVIMGPLUG_API int32_t MVIMGPLUG_GetColorType(MvimgplugHandle bitmap);
// TIFF photometric numbering: 0 min-is-white, 1 min-is-black, 2 RGB, 3 palette, 5 CMYK.
MVIMGPLUG_API int32_t MVIMGPLUG_GetPhotoMetric(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetColorsUsed(MvimgplugHandle bitmap);
// GetColorsUsed writable quads; null without a palette.
MVIMGPLUG_API uint8_t* MVIMGPLUG_GetPalette(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetTransparencyCount(MvimgplugHandle bitmap);
MVIMGPLUG_API int32_t MVIMGPLUG_IsTransparent(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetDotsPerMeterX(MvimgplugHandle bitmap);
MVIMGPLUG_API uint32_t MVIMGPLUG_GetDotsPerMeterY(MvimgplugHandle bitmap);
MVIMGPLUG_API void MVIMGPLUG_SetDotsPerMeterX(MvimgplugHandle bitmap, uint32_t value);
MVIMGPLUG_API void MVIMGPLUG_SetDotsPerMeterY(MvimgplugHandle bitmap, uint32_t value);
MVIMGPLUG_API void MVIMGPLUG_SetTransparentIndex(MvimgplugHandle bitmap, int32_t index);

// --- new bitmaps; the source stays valid and stays the caller's ---
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_ConvertToType(MvimgplugHandle bitmap, int32_t type, int32_t scaleLinear);
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_ConvertToGreyscale(MvimgplugHandle bitmap);
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_ConvertTo24Bits(MvimgplugHandle bitmap);
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_ConvertTo32Bits(MvimgplugHandle bitmap);
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_ConvertToRGBF(MvimgplugHandle bitmap);
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_TmoReinhard05(MvimgplugHandle bitmap, double intensity, double contrast);
// A copy of `height` rows of `pitch` bytes from `bits`; topDown says that the
// first row given is the top one.
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_ConvertFromRawBits(const uint8_t* bits, int32_t width, int32_t height,
                                                           int32_t pitch, uint32_t bitsPerPixel, uint32_t redMask,
                                                           uint32_t greenMask, uint32_t blueMask, int32_t topDown);

// --- in place; non-zero on success ---
MVIMGPLUG_API int32_t MVIMGPLUG_FlipVertical(MvimgplugHandle bitmap);
MVIMGPLUG_API int32_t MVIMGPLUG_Invert(MvimgplugHandle bitmap);

// --- metadata, by model number (1 EXIF main, 2 EXIF, 3 GPS, 6 IPTC, 7 XMP, ...) ---
MVIMGPLUG_API uint32_t MVIMGPLUG_GetMetadataCount(int32_t model, MvimgplugHandle bitmap);
// A search handle, 0 when the model has no tag; `tag` receives the first tag.
// Found tags stay valid until the search ends or the bitmap's metadata is set.
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_FindFirstMetadata(int32_t model, MvimgplugHandle bitmap,
                                                          MvimgplugHandle* tag);
// 0 at the end.
MVIMGPLUG_API int32_t MVIMGPLUG_FindNextMetadata(MvimgplugHandle search, MvimgplugHandle* tag);
MVIMGPLUG_API void MVIMGPLUG_FindCloseMetadata(MvimgplugHandle search);
// Fills the record; 0 (record zeroed) for a handle that is not a tag.
MVIMGPLUG_API int32_t MVIMGPLUG_GetTagRecord(MvimgplugHandle tag, MvimgplugTagRecord* record);
MVIMGPLUG_API MvimgplugHandle MVIMGPLUG_CreateTag(void);
// The setters change only tags made by CreateTag (a found tag is part of its
// bitmap); non-zero when the change was made. Once a tag holds a value, its
// length, count and type stay those the value was checked against.
MVIMGPLUG_API int32_t MVIMGPLUG_SetTagKey(MvimgplugHandle tag, const char* key);
MVIMGPLUG_API int32_t MVIMGPLUG_SetTagID(MvimgplugHandle tag, uint16_t id);
MVIMGPLUG_API int32_t MVIMGPLUG_SetTagType(MvimgplugHandle tag, uint16_t type);
MVIMGPLUG_API int32_t MVIMGPLUG_SetTagCount(MvimgplugHandle tag, uint32_t count);
MVIMGPLUG_API int32_t MVIMGPLUG_SetTagLength(MvimgplugHandle tag, uint32_t length);
// Copies the tag's length in bytes from `value`; 0 when the length does not
// agree with the type and count.
MVIMGPLUG_API int32_t MVIMGPLUG_SetTagValue(MvimgplugHandle tag, const void* value);
// Null for a handle that is not a tag.
MVIMGPLUG_API const char* MVIMGPLUG_GetTagKey(MvimgplugHandle tag);
// Stores a copy of the tag under the key.
MVIMGPLUG_API int32_t MVIMGPLUG_SetMetadata(int32_t model, MvimgplugHandle bitmap, const char* key,
                                            MvimgplugHandle tag);
// Only tags made by CreateTag are deleted.
MVIMGPLUG_API void MVIMGPLUG_DeleteTag(MvimgplugHandle tag);

// --- compression ---
// Quality of the next TIFF saves with JPEG compression, clamped to 1..100 (75 until set).
MVIMGPLUG_API void MVIMGPLUG_SetTiffJpegCompression(int32_t quality);
// CCITT group 4 (K = -1, bits filled from the most significant one) of
// `height` packed 1-bit rows, `stride` bytes apart, top row first; set bits
// are black. 0 on success with the code in `out`; non-zero on failure.
MVIMGPLUG_API int32_t MVIMGPLUG_VB_CompressCCITT4(MvimgplugByteSink* out, const MvimgplugBytes* source, int32_t width,
                                                  int32_t height, int32_t stride, int32_t flags);
// A zlib stream of the source into dest: its length, 0 or less on failure
// (dest too small, bad arguments).
MVIMGPLUG_API int32_t MVIMGPLUG_ZLibCompress2(uint8_t* dest, int32_t destCapacity, const uint8_t* source,
                                              int32_t sourceLength);

// --- limits ---
// Largest pixel buffer, in bytes, of one bitmap the plug-in decodes; a file
// claiming more is refused before anything is allocated. 2^31 - 1 (what the
// engine's bitmaps hold) until set lower; 0, or a value above it, restores it.
MVIMGPLUG_API void MVIMGPLUG_SetMaxDecodedImageBytes(uint64_t bytes);

#ifdef __cplusplus
}
#endif
