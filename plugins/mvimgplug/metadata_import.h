#pragma once
// A file's metadata into a bitmap's models, read by our own bounded parsers
// (never by the library's metadata readers, which trust the offsets they are
// given). Every length and offset is checked against the bytes handed in; a
// part that does not hold together is skipped, and the rest is kept.
//
// Models, as the engine reads them: 1 the main IFD's fields, 2 the EXIF
// sub-IFD, 3 the GPS sub-IFD, 6 IPTC (record 2 data sets, under id
// record << 8 | data set), 7 XMP (the packet under "XMLPacket", tag 700).
// Values are little-endian, whatever the file's byte order.
#include <FreeImage.h>

#include <cstdint>
#include <span>

namespace mvimgplug {

// Where a TIFF structure comes from: a JPEG's EXIF block, or a TIFF file,
// whose main IFDs also say how the file stores its pixels.
enum class TagSource { ExifBlock, TiffFile };

// The tags of IFD `ifdIndex` of a TIFF structure (from its "II"/"MM" header
// on) with its EXIF and GPS sub-IFDs. The sub-IFD pointers, and in a TIFF
// file the fields about its pixels' storage, are left out; IPTC, Photoshop
// resources and XMP found among them go into their own models, an ICC profile
// stays out. False when the structure's header or that IFD cannot be read.
bool ImportTiffTags(FIBITMAP* dib, std::span<const uint8_t> block, uint32_t ifdIndex, TagSource source);

// IPTC-IIM data sets. Repeated data sets (keywords, categories) become one
// tag, their texts joined by ';'.
void ImportIptc(FIBITMAP* dib, std::span<const uint8_t> iim);

// Photoshop image resources ("8BIM" blocks): the IPTC block among them.
void ImportPhotoshopResources(FIBITMAP* dib, std::span<const uint8_t> resources);

// An XMP packet.
void ImportXmp(FIBITMAP* dib, std::span<const uint8_t> packet);

}  // namespace mvimgplug
