#include <vector>

#include "imaging/engine/engine_numeric.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/engine/pixel_locks.h"
#include "imaging/engine/writers/pnm_writer.h"
#include "imaging/engine/whole_image_pixels.h"
#include "platform/win/windows_path.h"

namespace scanvelt {

MorvalenStatus SaveImageAsPnm(int32_t imageId, const std::string& path) {
    if (FindImageIndex(imageId) < 0) return InvalidParameter;
    return StatusOfRun([&]() -> MorvalenStatus {
        SyncResolutionTags(imageId);
        int32_t width = 0, height = 0, depth = 0;
        GetImageWidth(imageId, width);
        GetImageHeight(imageId, height);
        GetImageBitDepth(imageId, depth);

        // An image of up to 8 bits goes out through its own palette: its
        // indexes as they are for 1 bit, as bytes for 4 and 8 bits.
        gdiplus::ColorPalette palette;
        if (depth <= 8) {
            if (const MorvalenStatus status = ReadImagePalette(imageId, palette); status != OK) return status;
        }
        const int32_t readDepth = depth == 1 ? 1 : depth <= 8 ? 8 : 24;
        WholeImagePixels pixels;
        if (const MorvalenStatus status = ReadWholeImage(imageId, width, height, readDepth, pixels); status != OK) {
            return status;
        }
        PnmPixels input;
        input.width = width;
        input.height = height;
        input.depth = readDepth;
        input.stride = pixels.stride;
        input.bytes = pixels.bytes;
        if (readDepth <= 8) input.palette = std::span(palette.Entries.data(), palette.Count);
        // The host's path is a Windows path, resolved as every saver resolves it.
        return WritePnm(win::ResolveWindowsPath(path), input, kPnmGreyFlag) ? OK : GenericError;
    });
}

}  // namespace scanvelt
