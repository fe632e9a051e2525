#pragma once
// What the control tells of its current image (size, format, pixel format,
// resolution), the resolution setters, and the image handed out as handles
// and encoded bytes. Every handle handed out comes from platform/win's tables
// and belongs to the caller, who gives it back with the matching member.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/engine/morvalen_status.h"
#include "platform/win/handles.h"
#include "platform/win/stream.h"

namespace scanvelt {

class TwainControl;

// Pixels as millimetres at a resolution; a resolution of 0 or below (or not
// a number: some decoders leave one) counts as 96 dpi, so that no size is
// ever infinite.
float MillimetresAt(int32_t pixels, float dpi);

// Sizes and formats; each stores the engine's status (0 / "" / False on failure).
int32_t GetWidth(TwainControl& control);
int32_t GetHeight(TwainControl& control);
// Millimetres at the image's resolution (MillimetresAt).
float GetWidthMM(TwainControl& control);
float GetHeightMM(TwainControl& control);
// The engine's format name ("BMP", "JPEG", ...); the last status is untouched.
std::string GetImageFormat(const TwainControl& control);
std::string GetPixelFormatString(TwainControl& control);
int32_t GetPixelFormat(TwainControl& control);
int32_t GetPixelDepth(TwainControl& control);
bool IsPixelFormatIndexed(TwainControl& control);
bool IsPixelFormatHasAlpha(TwainControl& control);
float GetHorizontalResolution(TwainControl& control);
float GetVerticalResolution(TwainControl& control);

// GenericError without a current image; the other direction keeps its value.
MorvalenStatus SetHorizontalResolution(TwainControl& control, float dpi);
MorvalenStatus SetVerticalResolution(TwainControl& control, float dpi);

// Handles of the current image (0 on failure, the status stored).
uint32_t GetHBitmap(TwainControl& control);
uint32_t GetHICON(TwainControl& control);
uint32_t GetDib(TwainControl& control);
uint32_t GetMorvalenImageDC(TwainControl& control, int32_t imageId);
// The picture handle of an image (0 on failure, the status stored).
uint32_t GetPictureOf(TwainControl& control, int32_t imageId);
// Giving handles back; a handle of another kind or one already freed is ignored.
void DeleteHBitmap(uint32_t bitmap);
void DeleteHICON(uint32_t icon);
void RemoveDib(uint32_t dib);
// The status is returned only, never stored.
MorvalenStatus ReleaseMorvalenImageDC(uint32_t dc);
// Deletes the GDI object behind a picture's handle; the picture itself stays
// the caller's. A handle that names no bitmap is ignored.
void DeletePictureHandle(uint32_t handle);
// The drawing layer's image behind the current image, named as the engine's
// drawing wrappers name images: by the ID of its current page (the image
// itself for a single page); 0 when there is none. Not the caller's to free;
// the last status is untouched.
int32_t GetGdiplusImage(const TwainControl& control);

// Encoded output of the current image; GenericError without one (nothing encoded).
MorvalenStatus SaveAsByteArray(TwainControl& control, std::vector<uint8_t>& bytes, int32_t& count,
                               const std::string& format, int32_t encoderParameter = 0);
MorvalenStatus SaveAsStream(TwainControl& control, std::shared_ptr<win::Stream>& stream, const std::string& format,
                            int32_t encoderParameter = 0);
// "" without a current image; the status is stored, not returned.
std::string SaveAsString(TwainControl& control, const std::string& format, int32_t encoderParameter = 0);

}  // namespace scanvelt
