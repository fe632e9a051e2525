#pragma once
// The control's further file formats: savers of the current image that the
// image engine writes (its own BMP, TIFF and PNM writers, the codec plug-in's
// WBMP, XPM, TGA, PBM, OpenEXR, JPEG 2000 and JPEG-in-TIFF), and the 32 by 32
// icon with an optional transparent colour. Every member stores its status
// as the last status and returns it; with no current image it is 1 and
// nothing is written. Paths are UTF-8.
#include <cstdint>
#include <string>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

MorvalenStatus SaveAsBmp(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsWBMP(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsXPM(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsPNM(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsTGA(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsPBM(TwainControl& control, const std::string& path);
// nCompression: ExrCompression flags.
MorvalenStatus SaveAsEXR(TwainControl& control, const std::string& path, int32_t compression = 0);
MorvalenStatus SaveAsJ2K(TwainControl& control, const std::string& path, int32_t rate = 16);
MorvalenStatus SaveAsJP2(TwainControl& control, const std::string& path, int32_t rate = 16);
// nModeCompression: TifCompression (2 LZW).
MorvalenStatus SaveAsTIFF(TwainControl& control, const std::string& path, int32_t compression = 2);
// JPEG-compressed TIFF of quality 75; the Ex form takes the quality (the
// engine brings it into 0..100).
MorvalenStatus SaveAsTIFFjpg(TwainControl& control, const std::string& path);
MorvalenStatus SaveAsTIFFjpgEx(TwainControl& control, const std::string& path, int32_t quality);

// A 32 by 32 icon of the current image (scaled when it has another size).
// With `transparent`, pixels of `transparentColor` (a Windows RGB value, red
// in the low byte) become transparent: with the codec plug-in exactly that
// colour for an image already 32 by 32 and colours within tolerance 80 of
// it after scaling; without it exactly that colour, through the icon's
// mask. The current image is never changed.
MorvalenStatus SaveAsICO(TwainControl& control, const std::string& path, bool transparent = false,
                         int32_t transparentColor = -1);

}  // namespace scanvelt
