#include "imaging/viewer/hand_cursors.h"

#include <array>
#include <cstdint>

namespace scanvelt {
namespace {

constexpr int32_t kSide = 32;
using Pixels = std::array<uint32_t, kSide * kSide>;

// 'X' outline, '.' palm, anything else transparent; drawn from the top-left.
constexpr const char* kOpenHand[] = {
    "       XX       ",
    "   XX X..XXX    ",
    "  X..XX..X..X   ",
    "  X..XX..X..X X ",
    "   X..X..X..XX.X",
    "   X..X..X..X..X",
    " XX X.......X..X",
    "X..XX..........X",
    "X...X.........X ",
    " X............X ",
    "  X...........X ",
    "  X..........X  ",
    "   X.........X  ",
    "    X.......X   ",
    "     X......X   ",
    "     XXXXXXXX   ",
};

constexpr const char* kClosedHand[] = {
    "                ",
    "                ",
    "                ",
    "                ",
    "    XX XX XX    ",
    "   X..X..X..XX  ",
    "   X........X.X ",
    "    X..........X",
    "   XX..........X",
    "  X............X",
    "  X...........X ",
    "   X..........X ",
    "    X........X  ",
    "     X.......X  ",
    "     XXXXXXXXX  ",
};

template <size_t Rows>
Pixels draw(const char* const (&rows)[Rows]) {
    Pixels pixels{};
    for (size_t y = 0; y < Rows; ++y)
        for (size_t x = 0; rows[y][x] != '\0'; ++x) {
            const char c = rows[y][x];
            if (c == 'X') pixels[y * kSide + x] = 0xFF000000u;
            else if (c == '.') pixels[y * kSide + x] = 0xFFFFFFFFu;
        }
    return pixels;
}

}  // namespace

const com::ControlCursorImage& OpenHandCursor() {
    static const Pixels pixels = draw(kOpenHand);
    static const com::ControlCursorImage image{pixels.data(), kSide, kSide, 8, 1};
    return image;
}

const com::ControlCursorImage& ClosedHandCursor() {
    static const Pixels pixels = draw(kClosedHand);
    static const com::ControlCursorImage image{pixels.data(), kSide, kSide, 8, 6};
    return image;
}

}  // namespace scanvelt
