#pragma once
// The control's file output of its current image (JPEG, PNG, GIF, multi-page
// TIFF), its rotation and resizing in place, and the end of image IDs. Each
// member stores its status as the last status unless said otherwise. Paths
// are UTF-8, Windows or Linux style.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// The single-image savers write under a temporary name beside the file and
// rename it into place only when the encoder succeeded and wrote something,
// so an old file at the path is never taken for the new one. GenericError
// without a current image (nothing written), Win32Error when the file cannot
// be created or put into place, else the engine's status.
// Quality above 100 saves at 100; a negative one leaves it to the encoder.
MorvalenStatus SaveAsJPEG(TwainControl& control, const std::string& path, int32_t quality = 75);
MorvalenStatus SaveAsPNG(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsGIF(TwainControl& control, const std::string& path);
// Interlaced GIF89a after reduction to at most 256 colours.
MorvalenStatus SaveAsGIFi(TwainControl& control, const std::string& path);

// A multi-page TIFF begun by the current image, which stays open (and cannot
// be closed) until TiffCloseNativeMultiPage releases it and so finishes the file.
MorvalenStatus TiffSaveAsNativeMultiPage(TwainControl& control, const std::string& path, int32_t compression = 2);
// GenericError without an open file.
MorvalenStatus TiffAddToNativeMultiPage(TwainControl& control, int32_t imageId);
// Without an open file: the last status, nothing stored.
MorvalenStatus TiffCloseNativeMultiPage(TwainControl& control);

// Rotates or flips the current image in place (GDI+ RotateFlipType); the
// image counts as modified.
MorvalenStatus Rotate(TwainControl& control, int32_t rotation);
// Resizes the current image in place, keeping its ID, pixel format,
// physical size and property items. On failure the image stays as it was.
MorvalenStatus ResizeImage(TwainControl& control, int32_t width, int32_t height, int32_t interpolationMode = 3);

// Releases an image: InvalidParameter for 0, Aborted for the image of an
// open multi-page TIFF; the current image ID is cleared when it was that image.
MorvalenStatus CloseImage(TwainControl& control, int32_t imageId);
// CloseImage of the current image; without one, the last status, nothing stored.
MorvalenStatus CloseNativeImage(TwainControl& control);

}  // namespace scanvelt
