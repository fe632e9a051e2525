#include "imaging/engine/quantiser/quantize_to_palette.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/quantiser/octree.h"
#include "imaging/engine/whole_image_pixels.h"

namespace scanvelt {

namespace {

constexpr int32_t kFewestColours = 8;
constexpr int32_t kMostColours = 256;

// The palette index of every pixel, rows of `stride` bytes; a run of one
// colour is looked up once.
void MapPixels(const Octree& tree, const WholeImagePixels& source, int32_t width, int32_t height, uint8_t* indexes,
               int32_t stride) {
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = source.bytes.data() + static_cast<size_t>(y) * source.stride;
        uint8_t* out = indexes + static_cast<size_t>(y) * stride;
        uint32_t last = 0xFFFFFFFFu;
        uint8_t lastIndex = 0;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t colour = row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
            if (colour != last) {
                last = colour;
                lastIndex = tree.ColorIndex(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
            }
            out[x] = lastIndex;
        }
    }
}

// The first entry within a summed channel distance of 3 of the colour; -1 when none.
int32_t TransparentEntry(const gdiplus::ColorPalette& palette, uint8_t red, uint8_t green, uint8_t blue) {
    for (uint32_t e = 0; e < palette.Count; ++e) {
        const gdiplus::ARGB entry = palette.Entries[e];
        const int32_t distance = std::abs(gdiplus::GreenOf(entry) - green) + std::abs(gdiplus::BlueOf(entry) - blue) +
                                 std::abs(gdiplus::RedOf(entry) - red);
        if (distance < 4) return static_cast<int32_t>(e);
    }
    return -1;
}

}  // namespace

MorvalenStatus QuantizeToPalette(int32_t imageId, int32_t& newId, int32_t& colourCount,
                                 gdiplus::ColorPalette& palette, bool transparent, uint32_t colour) {
    if (colourCount < kFewestColours) colourCount = kFewestColours;
    if (colourCount > kMostColours) colourCount = kMostColours;
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    return StatusOfRun([&]() -> MorvalenStatus {
        int32_t width = 0, height = 0;
        GetImageWidth(imageId, width);
        GetImageHeight(imageId, height);
        WholeImagePixels source;
        if (const MorvalenStatus status = ReadWholeImage(imageId, width, height, 24, source); status != OK) {
            return status;
        }
        Octree tree;
        tree.Build(source.stride, height, source.stride - 3 * width, source.bytes.data(), colourCount);

        const int32_t stride = StrideForDepth(width, 8);
        gdiplus::OwnedBuffer indexes = gdiplus::AllocBuffer(static_cast<size_t>(CheckedMultiply(stride, height)));
        if (!indexes) return OutOfMemory;
        MapPixels(tree, source, width, height, indexes.get(), stride);

        gdiplus::ColorPalette made;
        const int32_t highest = tree.ColorCount();
        for (int32_t j = 0; j <= highest; ++j) {
            uint8_t blue = 0, green = 0, red = 0;
            tree.PaletteEntry(j, blue, green, red);
            made.Entries[static_cast<size_t>(j)] = gdiplus::MakeARGB(255, red, green, blue);
        }
        made.Count = static_cast<uint32_t>(highest + 1 > kMostColours ? kMostColours : highest + 1);
        made.Flags = gdiplus::PaletteFlagsHalftone;

        const auto red = static_cast<uint8_t>(colour), green = static_cast<uint8_t>(colour >> 8),
                   blue = static_cast<uint8_t>(colour >> 16);
        const int32_t transparentEntry = transparent ? TransparentEntry(made, red, green, blue) : -1;

        int32_t id = 0;
        const MorvalenStatus status = ImageFromBuffer(width, height, stride, gdiplus::PixelFormat8bppIndexed,
                                                      std::move(indexes), id);
        if (status != OK) return status;
        if (transparentEntry >= 0) {
            made.Entries[static_cast<size_t>(transparentEntry)] = gdiplus::MakeARGB(0, red, green, blue);
            made.Flags |= gdiplus::PaletteFlagsHasAlpha;
        }
        if (const MorvalenStatus set = SetImagePaletteUnmarked(id, made); set != OK) {
            ReleaseImage(id);
            return set;
        }
        newId = id;
        colourCount = static_cast<int32_t>(made.Count);
        palette = made;
        return OK;
    });
}

}  // namespace scanvelt
