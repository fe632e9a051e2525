#pragma once
// The values the drawing layer takes: quality settings, units, coordinate
// spaces, font styles, string-format flags and alignments, wrap modes and
// colour-adjust types, under their GDI+ names and numbers, and the point and
// rectangle records of single-precision coordinates.
#include <cmath>
#include <cstdint>

#include "platform/gdiplus/argb.h"

namespace gdiplus {

enum SmoothingMode : std::int32_t {
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
    SmoothingModeAntiAlias8x8 = 5,
};

enum InterpolationMode : std::int32_t {
    InterpolationModeDefault = 0,
    InterpolationModeLowQuality = 1,
    InterpolationModeHighQuality = 2,
    InterpolationModeBilinear = 3,
    InterpolationModeBicubic = 4,
    InterpolationModeNearestNeighbor = 5,
    InterpolationModeHighQualityBilinear = 6,
    InterpolationModeHighQualityBicubic = 7,
};

enum CompositingQuality : std::int32_t {
    CompositingQualityDefault = 0,
    CompositingQualityHighSpeed = 1,
    CompositingQualityHighQuality = 2,
    CompositingQualityGammaCorrected = 3,
    CompositingQualityAssumeLinear = 4,
};

enum CompositingMode : std::int32_t {
    CompositingModeSourceOver = 0,
    CompositingModeSourceCopy = 1,
};

enum PixelOffsetMode : std::int32_t {
    PixelOffsetModeDefault = 0,
    PixelOffsetModeHighSpeed = 1,
    PixelOffsetModeHighQuality = 2,
    PixelOffsetModeNone = 3,
    PixelOffsetModeHalf = 4,
};

enum TextRenderingHint : std::int32_t {
    TextRenderingHintSystemDefault = 0,
    TextRenderingHintSingleBitPerPixelGridFit = 1,
    TextRenderingHintSingleBitPerPixel = 2,
    TextRenderingHintAntiAliasGridFit = 3,
    TextRenderingHintAntiAlias = 4,
    TextRenderingHintClearTypeGridFit = 5,
};

enum Unit : std::int32_t {
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
    UnitInch = 4,
    UnitDocument = 5,
    UnitMillimeter = 6,
};

enum MatrixOrder : std::int32_t {
    MatrixOrderPrepend = 0,
    MatrixOrderAppend = 1,
};

enum CoordinateSpace : std::int32_t {
    CoordinateSpaceWorld = 0,
    CoordinateSpacePage = 1,
    CoordinateSpaceDevice = 2,
};

enum FontStyle : std::int32_t {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

enum StringFormatFlags : std::int32_t {
    StringFormatFlagsDirectionRightToLeft = 0x0001,
    StringFormatFlagsDirectionVertical = 0x0002,
    StringFormatFlagsNoFitBlackBox = 0x0004,
    StringFormatFlagsDisplayFormatControl = 0x0020,
    StringFormatFlagsNoFontFallback = 0x0400,
    StringFormatFlagsMeasureTrailingSpaces = 0x0800,
    StringFormatFlagsNoWrap = 0x1000,
    StringFormatFlagsLineLimit = 0x2000,
    StringFormatFlagsNoClip = 0x4000,
};

enum StringAlignment : std::int32_t {
    StringAlignmentNear = 0,
    StringAlignmentCenter = 1,
    StringAlignmentFar = 2,
};

enum WrapMode : std::int32_t {
    WrapModeTile = 0,
    WrapModeTileFlipX = 1,
    WrapModeTileFlipY = 2,
    WrapModeTileFlipXY = 3,
    WrapModeClamp = 4,
};

enum LinearGradientMode : std::int32_t {
    LinearGradientModeHorizontal = 0,
    LinearGradientModeVertical = 1,
    LinearGradientModeForwardDiagonal = 2,
    LinearGradientModeBackwardDiagonal = 3,
};

enum ColorAdjustType : std::int32_t {
    ColorAdjustTypeDefault = 0,
    ColorAdjustTypeBitmap = 1,
    ColorAdjustTypeBrush = 2,
    ColorAdjustTypePen = 3,
    ColorAdjustTypeText = 4,
};
constexpr std::int32_t kColorAdjustTypeCount = 5;

struct PointF {
    float X = 0;
    float Y = 0;

    friend bool operator==(const PointF&, const PointF&) = default;
};

struct RectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;

    friend bool operator==(const RectF&, const RectF&) = default;
};

inline bool IsFinite(const PointF& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }
inline bool IsFinite(const RectF& r) {
    return std::isfinite(r.X) && std::isfinite(r.Y) && std::isfinite(r.Width) && std::isfinite(r.Height);
}

// One entry of a colour remap table: pixels of exactly oldColor become newColor.
struct ColorMap {
    ARGB oldColor = 0;
    ARGB newColor = 0;
};

}  // namespace gdiplus
