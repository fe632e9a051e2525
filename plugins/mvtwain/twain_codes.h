#pragma once
// The TWAIN numbers the engine answers with: capabilities, paper sizes.
// States, result and condition codes, item and pixel types are in mvtwain.h.
#include <cstdint>

namespace mvtwain::cap {

inline constexpr int32_t XferCount = 1;
inline constexpr int32_t Compression = 256;
inline constexpr int32_t PixelType = 257;
inline constexpr int32_t Units = 258;
inline constexpr int32_t XferMech = 259;
inline constexpr int32_t FeederEnabled = 4098;
inline constexpr int32_t FeederLoaded = 4099;
inline constexpr int32_t AutoFeed = 4103;
inline constexpr int32_t Indicators = 4107;
inline constexpr int32_t UiControllable = 4110;
inline constexpr int32_t DeviceOnline = 4111;
inline constexpr int32_t AutoScan = 4112;
inline constexpr int32_t Duplex = 4114;
inline constexpr int32_t DuplexEnabled = 4115;
inline constexpr int32_t AutoBright = 4352;
inline constexpr int32_t Brightness = 4353;
inline constexpr int32_t Contrast = 4355;
inline constexpr int32_t ImageFileFormat = 4364;
inline constexpr int32_t PhysicalWidth = 4369;
inline constexpr int32_t PhysicalHeight = 4370;
inline constexpr int32_t XResolution = 4376;
inline constexpr int32_t YResolution = 4377;
inline constexpr int32_t PixelFlavor = 4383;
inline constexpr int32_t PlanarChunky = 4384;
inline constexpr int32_t SupportedSizes = 4386;
inline constexpr int32_t Threshold = 4387;
inline constexpr int32_t BitDepth = 4395;
inline constexpr int32_t AutoDiscardBlankPages = 4404;
inline constexpr int32_t AutomaticBorderDetection = 4432;
inline constexpr int32_t AutomaticDeskew = 4433;
inline constexpr int32_t AutomaticRotate = 4434;
inline constexpr int32_t AutoSize = 4438;

// Image file formats: the engine writes BMP files.
inline constexpr int32_t FileFormatBmp = 2;

}  // namespace mvtwain::cap
