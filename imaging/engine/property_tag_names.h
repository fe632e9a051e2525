#pragma once
// Readable names of the EXIF, GPS and TIFF tags of GDI+ property items, as the
// viewer returns them.
#include <cstdint>
#include <string>

namespace scanvelt {

// The tag's name; for a tag outside the table, its ID in upper-case hexadecimal
// without leading zeros (34853 gives "8825").
std::string PropertyTagName(int32_t tagId);

}  // namespace scanvelt
