#pragma once
// The library's EXIF reader trusts the offsets inside an EXIF block: one that
// points outside the block makes it read outside its buffer. Before a JPEG
// reaches the library, its EXIF blocks are walked here with every offset
// checked; a file whose EXIF does not hold together is refused (the engine
// then reads it through its own decoders).
#include <cstdint>
#include <cstdio>
#include <span>

namespace mvimgplug {

// Whether every EXIF block (APP1 "Exif") before the image data of the JPEG in
// `stream` is sound. Leaves the stream position anywhere.
bool JpegExifHoldsTogether(std::FILE* stream);

// Whether one EXIF block's TIFF structure (from its "II"/"MM" header on) is
// sound: IFDs, their entries' values and the EXIF, GPS and interoperability
// sub-IFDs lie inside it, no IFD is visited twice, every field type is known.
bool ExifStructureHoldsTogether(std::span<const uint8_t> tiff);

}  // namespace mvimgplug
