#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/quantiser/quantize_to_palette.h"
#include "imaging/engine/whole_image_pixels.h"
#include "imaging/engine/writers/gif89a_writer.h"

namespace scanvelt {

namespace {

// The Windows RGB value of the last palette entry with alpha 0.
int32_t TransparentColourOf(const gdiplus::ColorPalette& palette) {
    int32_t colour = kNoTransparentColour;
    for (uint32_t i = 0; i < palette.Count && i < gdiplus::ColorPalette::kMaxEntries; ++i) {
        const gdiplus::ARGB entry = palette.Entries[i];
        if (gdiplus::AlphaOf(entry) == 0) {
            colour = gdiplus::RedOf(entry) | gdiplus::GreenOf(entry) << 8 | gdiplus::BlueOf(entry) << 16;
        }
    }
    return colour;
}

MorvalenStatus WriteIndexedImage(int32_t sourceId, int32_t width, int32_t height, int32_t depth,
                                 const std::string& path) {
    gdiplus::ColorPalette palette;
    if (const MorvalenStatus status = ReadImagePalette(sourceId, palette); status != OK) return status;
    WholeImagePixels pixels;
    if (const MorvalenStatus status = ReadWholeImage(sourceId, width, height, depth, pixels); status != OK) {
        return status;
    }
    GifIndexes indexes;
    indexes.width = width;
    indexes.height = height;
    indexes.depth = depth;
    indexes.stride = pixels.stride;
    indexes.bytes = pixels.bytes;
    indexes.interlaced = true;
    const bool written = WriteGif89a(path, depth, indexes, std::span(palette.Entries.data(), palette.Count),
                                     TransparentColourOf(palette));
    return written ? OK : GenericError;
}

}  // namespace

MorvalenStatus SaveImageAsGif89a(int32_t imageId, const std::string& path) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    return StatusOfRun([&]() -> MorvalenStatus {
        SyncResolutionTags(imageId);
        int32_t width = 0, height = 0, depth = 0;
        GetImageWidth(imageId, width);
        GetImageHeight(imageId, height);
        GetImageBitDepth(imageId, depth);
        if (depth <= 8) return WriteIndexedImage(imageId, width, height, depth, path);

        // A deeper image goes out through a reduced copy, released in every case.
        int32_t reduced = 0, colours = 256;
        gdiplus::ColorPalette palette;
        const MorvalenStatus status = QuantizeToPalette(imageId, reduced, colours, palette, false, 0);
        if (status != OK) return status;
        MorvalenStatus result = GenericError;
        try {
            result = WriteIndexedImage(reduced, width, height, 8, path);
        } catch (...) {
            ReleaseImage(reduced);
            throw;
        }
        ReleaseImage(reduced);
        return result;
    });
}

}  // namespace scanvelt
