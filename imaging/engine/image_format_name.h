#pragma once
// The format name of an image from its GDI+ raw format, and making GDI+
// decode an image now.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"
#include "platform/gdiplus/guid.h"

namespace scanvelt {

// "UNKNOWN", "Memory BMP", "BMP", "EMF", "WMF", "JPEG", "PNG", "GIF", "TIFF",
// "EXIF", "ICON" for the GDI+ raw formats; "Undefined" for any other GUID.
std::string RawFormatName(const gdiplus::Guid& rawFormat);

// InvalidParameter for an unregistered ID or one without a GDI+ image (name
// empty); otherwise OK with the name of the image's raw format.
MorvalenStatus ImageFormatName(int32_t imageId, std::string& name);
// The same name without the status; empty on failure.
std::string RawFormatNameOf(int32_t imageId);

// Makes GDI+ decode the image now. InvalidParameter for an unregistered ID.
MorvalenStatus ValidateImage(int32_t imageId);
// Decodes the image now and, when its entry has no format name yet, stores
// the name of its raw format.
void CacheImageInfo(int32_t imageId);

}  // namespace scanvelt
