#pragma once
// Colours as the windows' layouts store them: a 32-bit value holding 0x00BBGGRR
// for an RGB colour, or 0x800000nn for the system colour with index nn, which
// the front end resolves from the user's colour scheme.
#include <cstdint>

namespace forms {

using Color = uint32_t;

constexpr Color rgb(int red, int green, int blue) {
    return static_cast<Color>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr bool isSystemColor(Color c) { return (c & 0x80000000u) != 0; }
constexpr int systemColorIndex(Color c) { return static_cast<int>(c & 0xFFu); }
constexpr int redOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Color vbBlack = rgb(0, 0, 0);
constexpr Color vbWhite = rgb(255, 255, 255);
constexpr Color vbRed = rgb(255, 0, 0);
constexpr Color vbGreen = rgb(0, 255, 0);
constexpr Color vbBlue = rgb(0, 0, 255);
constexpr Color vbYellow = rgb(255, 255, 0);

// System colours (index 15 is the button face the windows paint locked fields with).
constexpr Color vbWindowBackground = 0x80000005u;
constexpr Color vbWindowText = 0x80000008u;
constexpr Color vbButtonFace = 0x8000000Fu;
constexpr Color vbButtonText = 0x80000012u;
constexpr Color vbInfoBackground = 0x80000018u;

// The RGB value of a colour under the default light colour scheme, for front
// ends without a scheme of their own and for tests.
Color resolveColor(Color c);

}  // namespace forms
