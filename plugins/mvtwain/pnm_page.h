#pragma once
// A page image from a PNM file (P4 line art, P5 grey, P6 colour; 8 or 16
// bits), in the layout a SANE device sends: 1 marks black in line art,
// 16-bit samples in the host's byte order.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

struct PnmPage {
    FrameParameters parameters;
    std::vector<uint8_t> data;  // lines x bytesPerLine
};

// nullopt for anything but a whole, well-formed P4/P5/P6 image within the
// page memory ceiling.
std::optional<PnmPage> ParsePnm(std::span<const uint8_t> bytes);

}  // namespace mvtwain
