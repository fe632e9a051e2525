#pragma once
// How a page read from a device becomes what a native transfer hands over:
// a packed DIB (1-bit line art, 8-bit grey, 24-bit colour) or, for 16-bit
// samples, a RAW buffer of 48-bit colour. Pure functions on checked sizes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

// The most a page may take in memory, read or built.
inline constexpr uint64_t kPageMemoryCeiling = 1536ull << 20;

enum class PageForm { Dib1, Dib8, Dib24, Raw48 };

struct PageLayout {
    PageForm form = PageForm::Dib8;
    int width = 0;
    int height = 0;
    int sourceStride = 0;  // bytes per line as read
    int depth = 8;
    bool colour = false;
    int outputStride = 0;       // bytes per row of the result
    size_t headerBytes = 0;     // header and palette (0 for RAW)
    size_t outputBytes = 0;     // the whole result
    int bitsPerPixel = 0;       // of the result
};

// The layout of a page of `linesRead` complete lines with the parameters the
// device reported; nullopt when the form is not one we hand over (three-pass
// frames, colour line art, other depths) or the sizes do not hold together
// or exceed the ceiling.
std::optional<PageLayout> PlanPage(const FrameParameters& parameters, int64_t linesRead);

// Writes the packed DIB or RAW buffer of `layout` from `data` (linesRead x
// sourceStride bytes) into `out` (layout.outputBytes). `dpi` 0 leaves the
// resolution unset. False when a size does not match.
bool BuildPage(const PageLayout& layout, std::span<const uint8_t> data, double dpi, std::span<uint8_t> out);

// The bytes of a BMP file for a packed DIB (file header prepended).
size_t BmpFileHeaderBytes();
void WriteBmpFileHeader(std::span<const uint8_t> dib, std::span<uint8_t> header);

}  // namespace mvtwain
