#pragma once
// The TWAIN paper sizes the engine knows, in millimetres.
#include <cstdint>
#include <optional>
#include <vector>

namespace mvtwain {

struct PaperSize {
    int32_t code;  // TWSS_ number
    double widthMm;
    double heightMm;
};

const std::vector<PaperSize>& KnownPaperSizes();
std::optional<PaperSize> PaperSizeOf(int32_t code);
// The size whose width and height match within half a millimetre; 0 (TWSS_NONE) when none does.
int32_t PaperSizeMatching(double widthMm, double heightMm);

}  // namespace mvtwain
