#pragma once
// The engine's side of the codec plug-in (codec_plugin.h): opening files in
// it, turning its bitmaps into engine images and engine images into its
// bitmaps, its resolution, palette and metadata, and saving through it.
// Every operation asks for the plug-in first (ActiveCodecPlugin) and answers
// as if it failed when the plug-in is not there.
//
// Row order: the plug-in hands every bitmap over upright (top row first, its
// DIB header says top-down), whatever the file format, so nothing here turns
// rows over by format.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/engine/codec_plugin.h"
#include "imaging/engine/morvalen_status.h"
#include "platform/win/handles.h"

namespace scanvelt {

// Opens a file of a known format: a TIFF of two or more pages as a
// multi-bitmap (isMulti; the file handle stays open in fileHandle), anything
// else as one bitmap. 0 for an unknown format or a file the plug-in refuses.
PluginHandle PluginOpen(int32_t formatCode, const std::string& path, bool& isMulti, bool useIcm,
                        PluginHandle& fileHandle);

// The plug-in route of loading a file: Aborted without the plug-in,
// UnknownImageFormat for BMP, PNG, GIF and unknown files (GDI+ reads them),
// OutOfMemory when the plug-in cannot open the file. A TIFF of two or more
// pages becomes one paged image with page 0 selected.
MorvalenStatus LoadWithPlugin(int32_t& outId, const std::string& path, bool useIcm, bool keepTiffNative,
                              bool keepGifNative);

// A new engine image from a plug-in bitmap (or a locked page of multiBitmap
// while `locked`). A bitmap that needs a conversion first is replaced by the
// converted one, and the unconverted bitmap is given back to the plug-in at
// once: the caller holds only `bitmap`, so nothing else would free it. On return `release` says
// whether the caller must give `bitmap` back (UnlockPage while `locked`, else
// Unload) or keep it alive for the image, which then borrows its pixels.
MorvalenStatus ImportPluginBitmap(PluginHandle& bitmap, int32_t& outId, bool& release, bool& locked,
                                  PluginHandle multiBitmap, int32_t formatCode);

// Loads page n of a paged image whose pages stay in the plug-in: locks it,
// imports it and records it as page n's image. The page selection of paged
// images (SelectPage, multi_page.h) calls this for their plug-in form once it
// has released the old page and made n the current page. OK without an
// image when the plug-in gives no page.
MorvalenStatus SelectPluginPage(int32_t containerId, int32_t page);

// A new plug-in bitmap of an engine image, for the plug-in savers; the caller
// saves and unloads it. UnsupportedImageFormat above 32 bits per pixel. The
// pixels go over in `pixelFormat`, converted by the engine (0: the image's
// own format, 16-bit pixels with their bit fields).
MorvalenStatus ImageToPluginBitmap(PluginHandle& bitmap, int32_t imageId, int32_t pixelFormat = 0);

// A DIB section with the bitmap's header, palette and pixels; 0 on failure.
// Without a device context the screen's is used.
win::HBITMAP DibSectionFromPluginBitmap(PluginHandle bitmap, win::HDC dc, bool unload);

// Whole dpi from dots per metre, and back, rounded half up.
int32_t PluginDpiX(PluginHandle bitmap);
int32_t PluginDpiY(PluginHandle bitmap);
void SetPluginDpiX(PluginHandle bitmap, int32_t dpi);
void SetPluginDpiY(PluginHandle bitmap, int32_t dpi);

// Copies the bitmap's number of colours from `colours` (ARGB values) into its
// palette; that number is the result.
int32_t SetPluginPalette(PluginHandle bitmap, std::span<const uint32_t> colours);

// The tags of a metadata model, in the plug-in's order; their number (tags
// untouched when there is none).
int32_t ReadPluginMetadata(int32_t model, PluginHandle bitmap, std::vector<PluginTag>& tags);
PluginTag PluginTagRecord(PluginHandle tag);

// True when the plug-in's save reported success.
bool PluginSave(int32_t formatCode, PluginHandle bitmap, const std::string& path, int32_t flags);

// Writes an image through the plug-in: its resolution items brought in line,
// a plug-in bitmap made of it (ImageToPluginBitmap), saved with the format
// code and save flags, and unloaded. MvimgplugDllRequired without the
// plug-in, the conversion's status when it fails, GenericError when the
// plug-in's save fails.
MorvalenStatus SaveImageWithPlugin(int32_t imageId, int32_t formatCode, const std::string& path, int32_t flags);

}  // namespace scanvelt
