#include "imaging/viewer/image_drawing_shift.h"

#include <cstdlib>

namespace scanvelt {

std::optional<Shift> WholePixelShift(const ImageDrawing& before, const ImageDrawing& after, int32_t nearestMode) {
    ImageDrawing moved = before;
    moved.source.x = after.source.x;
    moved.source.y = after.source.y;
    if (!(moved == after) || after.interpolation != nearestMode) return std::nullopt;
    const FaceRect& d = after.destination;
    if (after.source.width != d.width || after.source.height != d.height || d.width < 1 || d.height < 1)
        return std::nullopt;
    const Shift shift{after.source.x - before.source.x, after.source.y - before.source.y};
    if (std::abs(shift.dx) >= d.width || std::abs(shift.dy) >= d.height) return std::nullopt;
    return shift;
}

std::vector<FaceRect> ExposedByShift(const FaceRect& area, Shift shift) {
    std::vector<FaceRect> exposed;
    // Rows first, over the whole width; the columns then only where the rows left off.
    FaceRect rest = area;
    if (shift.dy > 0) {
        exposed.push_back({area.x, area.y + area.height - shift.dy, area.width, shift.dy});
        rest.height -= shift.dy;
    } else if (shift.dy < 0) {
        exposed.push_back({area.x, area.y, area.width, -shift.dy});
        rest.y -= shift.dy;
        rest.height += shift.dy;
    }
    if (shift.dx > 0)
        exposed.push_back({area.x + area.width - shift.dx, rest.y, shift.dx, rest.height});
    else if (shift.dx < 0)
        exposed.push_back({area.x, rest.y, -shift.dx, rest.height});
    return exposed;
}

}  // namespace scanvelt
