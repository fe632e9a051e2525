#pragma once
// Frames of an image: the pages of a TIFF, the frames of an animated GIF, the
// resolutions of an icon, each along its frame dimension. A decoder that finds
// more than one frame hands the image a FrameSource, which decodes the other
// frames when they are selected.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdiplus/guid.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

class Bitmap;

inline constexpr Guid FrameDimensionTime{0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
inline constexpr Guid FrameDimensionResolution{0x84236f7b, 0x3bd3, 0x428f, {0x8d, 0xab, 0x4e, 0xa1, 0x43, 0x9c, 0xa3, 0x15}};
inline constexpr Guid FrameDimensionPage{0x7462dc86, 0x6180, 0x4c7e, {0x8e, 0x3f, 0xee, 0x73, 0x33, 0xa7, 0xa4, 0x83}};

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // The dimensions the frames lie along, the main one first; never empty.
    virtual std::vector<Guid> Dimensions() const = 0;
    // Frames along a dimension; 0 for a dimension the source does not have.
    virtual std::uint32_t FrameCount(const Guid& dimension) const = 0;
    // Decodes one frame into a new bitmap: its pixels, palette, resolution
    // and property items. Called only with a dimension of Dimensions() and an
    // index below its FrameCount.
    virtual Status DecodeFrame(const Guid& dimension, std::uint32_t index,
                               std::unique_ptr<Bitmap>& frame) const = 0;
};

}  // namespace gdiplus
