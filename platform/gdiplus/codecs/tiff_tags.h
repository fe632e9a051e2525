#pragma once
// The tag block of TIFF files and of EXIF data (a byte-order mark "II" or
// "MM", the number 42, then chained IFDs of 12-byte entries), read into
// property items and written from them. Reading takes one IFD of the chain
// with its EXIF (0x8769) and GPS (0x8825) sub-IFDs; the pointer tags
// themselves are kept as items, as GDI+ lists them. Every count, offset and
// length is checked against the block; an entry that does not fit, or has a
// type outside 1 to 12, is skipped. Values are handed out little-endian.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdiplus/property_item.h"

namespace gdiplus::codecs {

constexpr PROPID kTagExifIfd = 0x8769;
constexpr PROPID kTagGpsIfd = 0x8825;
constexpr PROPID kTagInteropIfd = 0xA005;

// Bytes of one value of a tag type; 0 for a type outside 1 to 12.
std::uint32_t TagTypeSize(std::uint16_t type);

// The items of IFD number `ifdIndex` (0 for the first) and its sub-IFDs, in
// file order. InvalidParameter for a block without a sound header or with
// fewer IFDs.
Status ReadTiffTags(std::span<const std::uint8_t> block, std::uint32_t ifdIndex, std::vector<PropertyItem>& items);

// The IFD an item was read from: the chain's own, or its EXIF or GPS sub-IFD.
enum class TagDirectory : std::uint8_t { Main, Exif, Gps };

// ReadTiffTags, with the IFD of each item beside it (one entry per item), for
// readers that keep the directories apart.
Status ReadTiffTags(std::span<const std::uint8_t> block, std::uint32_t ifdIndex, std::vector<PropertyItem>& items,
                    std::vector<TagDirectory>& directories);

// A little-endian block: IFD0 with the image's tags, and the EXIF and GPS
// sub-IFDs when items belong there. The pointer tags among the items are
// replaced by the block's own; the layer's own tags (0x5000-0x5FFF) and items
// whose length does not fit their type are left out.
std::vector<std::uint8_t> WriteTiffTags(const std::vector<PropertyItem>& items);

}  // namespace gdiplus::codecs

namespace gdiplus::codecs {

// Tags that describe how a TIFF image's pixels are stored (size, samples,
// compression, strips, tiles, colour map): they belong to the file being
// written, not to the items an image carries over.
bool IsImageStructureTag(PROPID tag);

}  // namespace gdiplus::codecs
