#pragma once
// Straightening the current image by the skew the engine measures, cutting
// away borders of one colour, and cropping it to a rectangle. Each result
// takes the current image's place under its ID and keeps its resolution and
// property items; a step that fails leaves the image as it was. Every
// member stores its status as the last status.
#include <cstdint>

#include "imaging/engine/morvalen_status.h"

namespace scanvelt {

class TwainControl;

// Only skews above this many degrees are turned back.
inline constexpr double kDeskewThreshold = 0.3;
// The skew finder searches from minus this many degrees.
inline constexpr double kDeskewSearchRange = 20;
// Borders are looked for only on images at least this wide and high.
inline constexpr int32_t kSmallestCroppableSize = 10;

MorvalenStatus AutoDeskew(TwainControl& control);
// Turns the image about its centre on a canvas of its size and format by the
// angle (degrees, clockwise on the screen); the uncovered corners take the
// background (ARGB, or a Windows RGB value when the alpha byte is 0).
MorvalenStatus RotateByAngle(TwainControl& control, float angle, int32_t background);
// The skew of the current image in degrees; 0 without one (last status GenericError).
double MeasureSkewAngle(TwainControl& control);

// Border bands of white, black or the colour of a corner (1 top left, 2 top
// right, 3 bottom right, 4 bottom left) are cut away: a line belongs to the
// band when at least `confidence` percent of its pixels lie within the
// tolerance of the reference colour (exactly on a 1-bit image).
MorvalenStatus CropWhiteBorders(TwainControl& control, int32_t confidence = 100, int32_t skipLines = 0);
MorvalenStatus CropBlackBorders(TwainControl& control, int32_t confidence = 100, int32_t skipLines = 0);
MorvalenStatus CropBorders(TwainControl& control);
// A confidence outside 0..100 counts as 98, a reference outside 1..4 as 1.
MorvalenStatus CropBordersEX(TwainControl& control, int32_t confidence, int32_t pixelReference = 1);

MorvalenStatus Crop(TwainControl& control, int32_t left, int32_t top, int32_t width, int32_t height);
MorvalenStatus CropTop(TwainControl& control, int32_t lines);
MorvalenStatus CropBottom(TwainControl& control, int32_t lines);
MorvalenStatus CropLeft(TwainControl& control, int32_t lines);
MorvalenStatus CropRight(TwainControl& control, int32_t lines);

}  // namespace scanvelt
