#pragma once
// What one drawing of the image into the face was, and whether a later
// drawing is the same picture moved by whole pixels: then a scroll step can
// move what is already drawn and draw only the part it exposes, with the
// pixels a full drawing would give.
#include <cstdint>
#include <optional>
#include <vector>

namespace scanvelt {

struct FaceRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const FaceRect&, const FaceRect&) = default;
};

struct ImageDrawing {
    int32_t imageId = 0;
    // Which drawing copy the image was: an ID comes back for another copy.
    uint64_t copyGeneration = 0;
    int32_t interpolation = 0;
    float gamma = 1.0f;
    int32_t backColor = 0;
    int32_t faceWidth = 0, faceHeight = 0;
    FaceRect destination;  // in face pixels
    FaceRect source;       // in image pixels
    friend bool operator==(const ImageDrawing&, const ImageDrawing&) = default;
};

// How far what `before` drew moves to give `after`: after(x, y) equals
// before(x + dx, y + dy) inside the destination, which both share.
struct Shift {
    int32_t dx = 0, dy = 0;
};

// The shift when `after` draws the same image with the same settings into
// the same destination, unscaled with the nearest pixel, from a source moved
// by less than the destination; nothing otherwise (a scaled drawing rounds
// its source anew at each position, so it is not a moved copy).
std::optional<Shift> WholePixelShift(const ImageDrawing& before, const ImageDrawing& after, int32_t nearestMode);

// The parts of `area` that moving its content by `shift` leaves without
// content: at most a band of rows and a band of columns.
std::vector<FaceRect> ExposedByShift(const FaceRect& area, Shift shift);

}  // namespace scanvelt
