#pragma once
// The windows are laid out in twips; the screen counts pixels. At the 96 dpi
// the layouts were made for, 15 twips make one pixel.
#include <QRect>

#include "platform/forms/control.h"

namespace forms_qt {

constexpr int kTwipsPerPixel = 15;

// Nearest pixel, halves away from zero, so a layout keeps its proportions.
constexpr int toPixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }

inline QRect toPixels(const forms::Geometry& g) {
    return {toPixels(g.left), toPixels(g.top), toPixels(g.width), toPixels(g.height)};
}

}  // namespace forms_qt
