#pragma once
// For tests of any folder: Windows metafiles made in code, a frame of known
// size with a solid rectangle at a known place.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/wmf_renderer.h"

namespace gdiplus::codecs::wmf_testing {

struct WmfRectangle {
    std::int16_t left, top, right, bottom;
    std::uint32_t color;  // COLORREF: 0x00BBGGRR
};

// The metafile's records (META_HEADER onwards): window origin 0 and extent
// width x height, no pen, a solid brush of the rectangle's colour, the rectangle.
inline std::string wmfRecords(std::int16_t width, std::int16_t height, const WmfRectangle& r) {
    std::vector<std::uint16_t> words;
    auto u16 = [&](std::uint32_t v) { words.push_back(static_cast<std::uint16_t>(v)); };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto record = [&](std::uint16_t function, std::vector<std::uint16_t> params) {
        u32(static_cast<std::uint32_t>(3 + params.size()));
        u16(function);
        for (std::uint16_t p : params) u16(p);
    };
    // type memory, 9 header words, version 3, size (below), 2 objects, largest record 8 words, no members
    u16(1), u16(9), u16(0x0300), u32(0), u16(2), u32(8), u16(0);
    record(0x020B, {0, 0});                                                                         // SETWINDOWORG
    record(0x020C, {static_cast<std::uint16_t>(height), static_cast<std::uint16_t>(width)});          // SETWINDOWEXT
    record(0x02FC, {0, static_cast<std::uint16_t>(r.color & 0xFFFF), static_cast<std::uint16_t>(r.color >> 16), 0});
    record(0x012D, {0});                                                                              // SELECTOBJECT
    record(0x02FA, {5, 0, 0, 0, 0});                                                                  // a null pen
    record(0x012D, {1});
    record(0x041B, {static_cast<std::uint16_t>(r.bottom), static_cast<std::uint16_t>(r.right),
                    static_cast<std::uint16_t>(r.top), static_cast<std::uint16_t>(r.left)});          // RECTANGLE
    record(0x0000, {});                                                                               // EOF
    words[3] = static_cast<std::uint16_t>(words.size() & 0xFFFF);
    words[4] = static_cast<std::uint16_t>(words.size() >> 16);
    std::string bytes;
    for (std::uint16_t w : words) {
        bytes.push_back(static_cast<char>(w & 0xFF));
        bytes.push_back(static_cast<char>(w >> 8));
    }
    return bytes;
}

// A placeable WMF of width x height units at `unitsPerInch` with the rectangle.
inline std::string placeableWmf(std::int16_t width, std::int16_t height, std::uint16_t unitsPerInch,
                                const WmfRectangle& r) {
    const std::vector<std::uint8_t> header = WmfPlaceableHeader(0, 0, width, height, unitsPerInch);
    return std::string(header.begin(), header.end()) + wmfRecords(width, height, r);
}

}  // namespace gdiplus::codecs::wmf_testing
