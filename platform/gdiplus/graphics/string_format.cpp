#include "platform/gdiplus/graphics/string_format.h"

namespace gdiplus {
namespace {

bool ValidAlignment(StringAlignment alignment) {
    return alignment >= StringAlignmentNear && alignment <= StringAlignmentFar;
}

}  // namespace

Status StringFormat::SetAlignment(StringAlignment alignment) {
    if (!ValidAlignment(alignment)) return InvalidParameter;
    alignment_ = alignment;
    return Ok;
}

Status StringFormat::SetLineAlignment(StringAlignment alignment) {
    if (!ValidAlignment(alignment)) return InvalidParameter;
    lineAlignment_ = alignment;
    return Ok;
}

}  // namespace gdiplus
