#pragma once
// A Windows icon file of one image: 24-bit colour with its AND mask, the
// form an icon made of a colour and a mask bitmap is saved in. Written whole
// or not at all.
#include <cstdint>
#include <string>
#include <vector>

namespace scanvelt {

// `rgb`: width x height pixels, top row first, as 0x00RRGGBB; `transparent`:
// one flag per pixel (masked pixels are shown through). Sizes from 1 to 256.
bool WriteIconFile(const std::string& path, int32_t width, int32_t height, const std::vector<uint32_t>& rgb,
                   const std::vector<bool>& transparent);

}  // namespace scanvelt
