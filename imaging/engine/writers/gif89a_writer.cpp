#include "imaging/engine/writers/gif89a_writer.h"

#include <vector>

#include "platform/gdiplus/file_io.h"

namespace scanvelt {

namespace {

constexpr int32_t kLargestSide = 32767;

void PutWord(std::vector<uint8_t>& out, int32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

// The palette index to mark transparent for `colour`: the entry of that
// colour that is itself transparent (alpha 0; the last one, as the saver takes
// the last such entry), so that an opaque entry of the same colour earlier in
// the palette keeps showing; else the first entry of that colour.
int32_t TransparentIndex(std::span<const gdiplus::ARGB> palette, int32_t colour) {
    if (colour == kNoTransparentColour) return -1;
    const auto red = static_cast<uint8_t>(colour), green = static_cast<uint8_t>(colour >> 8),
               blue = static_cast<uint8_t>(colour >> 16);
    int32_t firstOfColour = -1, transparentOfColour = -1;
    for (size_t i = 0; i < palette.size(); ++i) {
        if (gdiplus::RedOf(palette[i]) != red || gdiplus::GreenOf(palette[i]) != green ||
            gdiplus::BlueOf(palette[i]) != blue) {
            continue;
        }
        if (firstOfColour < 0) firstOfColour = static_cast<int32_t>(i);
        if (gdiplus::AlphaOf(palette[i]) == 0) transparentOfColour = static_cast<int32_t>(i);
    }
    return transparentOfColour >= 0 ? transparentOfColour : firstOfColour;
}

bool SoundInput(int32_t bpp, const GifIndexes& pixels) {
    if (bpp != 1 && bpp != 4 && bpp != 8) return false;
    if (pixels.width < 1 || pixels.height < 1 || pixels.width > kLargestSide || pixels.height > kLargestSide) {
        return false;
    }
    const int64_t rowBytes = (int64_t{pixels.width} * pixels.depth + 7) / 8;
    return pixels.stride >= rowBytes &&
           static_cast<int64_t>(pixels.bytes.size()) >= int64_t{pixels.stride} * (pixels.height - 1) + rowBytes;
}

}  // namespace

bool WriteGif89a(const std::string& path, int32_t bpp, const GifIndexes& pixels,
                 std::span<const gdiplus::ARGB> palette, int32_t transparentColour) {
    if (!SoundInput(bpp, pixels)) return false;
    std::vector<uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    PutWord(out, pixels.width);
    PutWord(out, pixels.height);
    out.push_back(static_cast<uint8_t>(0xF0 | (bpp - 1)));
    out.push_back(0);  // background colour index
    out.push_back(0);  // pixel aspect ratio
    for (size_t i = 0; i < (size_t{1} << bpp); ++i) {
        const gdiplus::ARGB entry = i < palette.size() ? palette[i] : 0;
        out.push_back(gdiplus::RedOf(entry));
        out.push_back(gdiplus::GreenOf(entry));
        out.push_back(gdiplus::BlueOf(entry));
    }
    const int32_t transparent = TransparentIndex(palette, transparentColour);
    const uint8_t control[8] = {0x21, 0xF9, 0x04, static_cast<uint8_t>(transparent >= 0 ? 1 : 0), 0, 0,
                                static_cast<uint8_t>(transparent >= 0 ? transparent : 0), 0};
    out.insert(out.end(), control, control + 8);
    out.push_back(0x2C);
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, pixels.width);
    PutWord(out, pixels.height);
    out.push_back(static_cast<uint8_t>((bpp - 1) | (pixels.interlaced ? 0x40 : 0)));
    const int32_t minimumCodeSize = bpp == 1 ? 2 : bpp;
    out.push_back(static_cast<uint8_t>(minimumCodeSize));
    GifCompress(minimumCodeSize + 1, pixels, out);
    out.push_back(0x00);
    out.push_back(';');

    gdiplus::AtomicFileWriter file;
    return file.Open(path) == gdiplus::Ok && file.Write(out) == gdiplus::Ok && file.Commit() == gdiplus::Ok;
}

}  // namespace scanvelt
