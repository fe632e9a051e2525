#pragma once
// How text is laid out in its rectangle: the format flags, the horizontal
// alignment and the line (vertical) alignment. The flags that act here are
// NoWrap, LineLimit, NoClip and MeasureTrailingSpaces; the others are kept
// and read back but change nothing (text runs left to right, horizontally).
#include <cstdint>

#include "platform/gdiplus/graphics/graphics_types.h"
#include "platform/gdiplus/status.h"

namespace gdiplus {

class StringFormat {
public:
    StringFormat(std::int32_t flags, std::uint16_t language) : flags_(flags), language_(language) {}

    std::int32_t Flags() const { return flags_; }
    void SetFlags(std::int32_t flags) { flags_ = flags; }
    std::uint16_t Language() const { return language_; }
    bool Has(StringFormatFlags flag) const { return (flags_ & flag) != 0; }

    StringAlignment Alignment() const { return alignment_; }
    StringAlignment LineAlignment() const { return lineAlignment_; }
    // InvalidParameter for a value outside Near, Center, Far.
    Status SetAlignment(StringAlignment alignment);
    Status SetLineAlignment(StringAlignment alignment);

private:
    std::int32_t flags_;
    std::uint16_t language_;
    StringAlignment alignment_ = StringAlignmentNear;
    StringAlignment lineAlignment_ = StringAlignmentNear;
};

}  // namespace gdiplus
