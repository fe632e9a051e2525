#include "plugins/mvtwain/paper_sizes.h"

#include <cmath>

namespace mvtwain {

const std::vector<PaperSize>& KnownPaperSizes() {
    static const std::vector<PaperSize> sizes = {
        {1, 210, 297},        // A4
        {2, 182, 257},        // JIS B5
        {3, 215.9, 279.4},    // US letter
        {4, 215.9, 355.6},    // US legal
        {5, 148, 210},        // A5
        {6, 250, 353},        // ISO B4
        {7, 125, 176},        // ISO B6
        {9, 279.4, 431.8},    // US ledger
        {10, 184.15, 266.7},  // US executive
        {11, 297, 420},       // A3
        {12, 353, 500},       // ISO B3
        {13, 105, 148},       // A6
    };
    return sizes;
}

std::optional<PaperSize> PaperSizeOf(int32_t code) {
    for (const auto& size : KnownPaperSizes())
        if (size.code == code) return size;
    return std::nullopt;
}

int32_t PaperSizeMatching(double widthMm, double heightMm) {
    for (const auto& size : KnownPaperSizes())
        if (std::fabs(size.widthMm - widthMm) <= 0.5 && std::fabs(size.heightMm - heightMm) <= 0.5) return size.code;
    return 0;
}

}  // namespace mvtwain
