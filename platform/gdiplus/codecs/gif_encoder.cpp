#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/gif_codec.h"

namespace gdiplus::codecs {
namespace {

// In the halftone palette entries 16-39 repeat black, so no colour maps to
// them and one can stand for transparency.
constexpr std::uint8_t kHalftoneTransparentIndex = 39;
constexpr std::uint8_t kOpaqueFrom = 128;

struct IndexedFrame {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> indices;
    std::vector<ARGB> palette;  // at most 256 entries
    int transparent = NO_TRANSPARENT_COLOR;
    int delay = 0;
};

std::optional<PropertyItem> ItemOf(const Image& image, PROPID id) {
    PropertyItem item;
    if (image.GetPropertyItem(id, item) != Ok) return std::nullopt;
    return item;
}

int DelayOf(const Image& image, std::size_t frameIndex) {
    const auto item = ItemOf(image, PropertyTagFrameDelay);
    if (!item || item->type != PropertyTagTypeLong || item->length < 4) return 0;
    const std::size_t count = item->length / 4;
    ByteView values(item->value);
    std::uint32_t delay = 0;
    values.U32(4 * (frameIndex < count ? frameIndex : 0), delay);
    return static_cast<int>(std::min<std::uint32_t>(delay, 0xFFFF));
}

// Indexed images keep their indices and palette; entries with little alpha
// become the one transparent index.
Status FromIndexed(const Image& image, IndexedFrame& frame) {
    PixelBuffer pixels;
    if (Status s = ReadPixels(image, PixelFormat8bppIndexed, pixels); s != Ok) return s;
    ColorPalette palette;
    if (Status s = image.GetPalette(palette); s != Ok) return s;
    frame.palette.assign(palette.Entries.begin(), palette.Entries.begin() + palette.Count);
    std::vector<std::uint8_t> remap(256);
    for (std::uint32_t i = 0; i < 256; ++i) {
        remap[i] = static_cast<std::uint8_t>(i);
        if (i < palette.Count && AlphaOf(palette.Entries[i]) < kOpaqueFrom) {
            if (frame.transparent == NO_TRANSPARENT_COLOR) frame.transparent = static_cast<int>(i);
            remap[i] = static_cast<std::uint8_t>(frame.transparent);
        }
    }
    for (std::uint32_t y = 0; y < pixels.height; ++y) {
        const std::uint8_t* row = pixels.Row(y);
        for (std::uint32_t x = 0; x < pixels.width; ++x) frame.indices.push_back(remap[row[x]]);
    }
    return Ok;
}

// Other images keep their colours exactly when there are at most 256 of
// them; otherwise they are mapped onto the halftone palette.
Status FromColour(const Image& image, IndexedFrame& frame) {
    PixelBuffer argb;
    if (Status s = ReadPixels(image, PixelFormat32bppARGB, argb); s != Ok) return s;
    std::map<ARGB, std::uint8_t> colours;
    bool transparent = false, exact = true;
    for (std::uint32_t y = 0; y < argb.height && exact; ++y) {
        const auto* row = reinterpret_cast<const ARGB*>(argb.Row(y));
        for (std::uint32_t x = 0; x < argb.width && exact; ++x) {
            if (AlphaOf(row[x]) < kOpaqueFrom) {
                transparent = true;
            } else if (!colours.count(row[x] | 0xFF000000)) {
                colours.emplace(row[x] | 0xFF000000, 0);
            }
            exact = colours.size() + (transparent ? 1 : 0) <= 256;
        }
    }
    if (exact) {
        for (auto& [colour, index] : colours) {
            index = static_cast<std::uint8_t>(frame.palette.size());
            frame.palette.push_back(colour);
        }
        if (transparent) {
            frame.transparent = static_cast<int>(frame.palette.size());
            frame.palette.push_back(0);
        }
    } else {
        PixelBuffer halftone;
        if (Status s = ReadPixels(image, PixelFormat8bppIndexed, halftone); s != Ok) return s;
        const ColorPalette palette = DefaultPalette(PixelFormat8bppIndexed);
        frame.palette.assign(palette.Entries.begin(), palette.Entries.end());
        frame.transparent = kHalftoneTransparentIndex;
        frame.indices.reserve(std::size_t{argb.width} * argb.height);
        for (std::uint32_t y = 0; y < argb.height; ++y)
            for (std::uint32_t x = 0; x < argb.width; ++x) {
                const bool clear = AlphaOf(reinterpret_cast<const ARGB*>(argb.Row(y))[x]) < kOpaqueFrom;
                frame.indices.push_back(clear ? kHalftoneTransparentIndex : halftone.Row(y)[x]);
            }
        return Ok;
    }
    frame.indices.reserve(std::size_t{argb.width} * argb.height);
    for (std::uint32_t y = 0; y < argb.height; ++y) {
        const auto* row = reinterpret_cast<const ARGB*>(argb.Row(y));
        for (std::uint32_t x = 0; x < argb.width; ++x) {
            frame.indices.push_back(AlphaOf(row[x]) < kOpaqueFrom ? static_cast<std::uint8_t>(frame.transparent)
                                                                   : colours[row[x] | 0xFF000000]);
        }
    }
    return Ok;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapDeleter>;

// giflib's colour maps hold a power of two of entries, at least two.
ColorMap MapOf(const std::vector<ARGB>& palette) {
    int size = 2;
    while (size < static_cast<int>(palette.size())) size *= 2;
    std::vector<GifColorType> colours(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.size(); ++i)
        colours[i] = GifColorType{RedOf(palette[i]), GreenOf(palette[i]), BlueOf(palette[i])};
    return ColorMap(GifMakeMapObject(size, colours.data()));
}

int AppendOutput(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

class GifSession final : public EncoderSession {
public:
    Status AddFrame(const Image& image, const EncoderParameters&) override {
        IndexedFrame frame;
        frame.width = image.GetWidth();
        frame.height = image.GetHeight();
        if (frame.width > 0xFFFF || frame.height > 0xFFFF) return InvalidParameter;
        const Status s = IsIndexedPixelFormat(image.GetPixelFormat()) ? FromIndexed(image, frame)
                                                                     : FromColour(image, frame);
        if (s != Ok) return s;
        frame.delay = DelayOf(image, frames_.size());
        if (frames_.empty()) {
            if (auto loop = ItemOf(image, PropertyTagLoopCount); loop && loop->length >= 2)
                loopCount_ = static_cast<std::uint16_t>(loop->value[0] | loop->value[1] << 8);
            if (auto comment = ItemOf(image, PropertyTagExifUserComment)) comment_ = CommentTextOf(*comment);
        }
        frames_.push_back(std::move(frame));
        return Ok;
    }

    Status Finish(std::vector<std::uint8_t>& bytes) override {
        if (frames_.empty()) return WrongState;
        std::vector<std::uint8_t> out;
        int error = 0;
        GifFileType* gif = EGifOpen(&out, AppendOutput, &error);
        if (!gif) return OutOfMemory;
        const bool written = Write(gif);
        if (EGifCloseFile(gif, &error) == GIF_ERROR || !written) return GenericError;
        bytes = std::move(out);
        return Ok;
    }

private:
    bool Write(GifFileType* gif) {
        EGifSetGifVersion(gif, true);
        std::uint32_t width = 0, height = 0;
        for (const auto& f : frames_) {
            width = std::max(width, f.width);
            height = std::max(height, f.height);
        }
        ColorMap global = MapOf(frames_[0].palette);
        if (!global || EGifPutScreenDesc(gif, static_cast<int>(width), static_cast<int>(height), 8, 0,
                                         global.get()) == GIF_ERROR)
            return false;
        const bool animated = frames_.size() > 1;
        if ((animated || loopCount_) && !PutLoop(gif)) return false;
        if (comment_ && !comment_->empty() && EGifPutComment(gif, comment_->c_str()) == GIF_ERROR) return false;
        for (const auto& f : frames_) {
            // A frame of an animation stands alone: its area is cleared after it is shown.
            GraphicsControlBlock gcb{animated ? DISPOSE_BACKGROUND : DISPOSAL_UNSPECIFIED, false, f.delay,
                                     f.transparent};
            GifByteType extension[4];
            EGifGCBToExtension(&gcb, extension);
            if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR) return false;
            ColorMap local;
            if (&f != &frames_[0] && f.palette != frames_[0].palette) local = MapOf(f.palette);
            if (EGifPutImageDesc(gif, 0, 0, static_cast<int>(f.width), static_cast<int>(f.height), false,
                                 local.get()) == GIF_ERROR)
                return false;
            for (std::uint32_t y = 0; y < f.height; ++y) {
                auto* row = const_cast<GifPixelType*>(f.indices.data() + std::size_t{y} * f.width);
                if (EGifPutLine(gif, row, static_cast<int>(f.width)) == GIF_ERROR) return false;
            }
        }
        return true;
    }

    bool PutLoop(GifFileType* gif) const {
        const std::uint16_t loops = loopCount_.value_or(0);
        const GifByteType id[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        const GifByteType data[] = {1, static_cast<GifByteType>(loops & 0xFF), static_cast<GifByteType>(loops >> 8)};
        return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
               EGifPutExtensionBlock(gif, sizeof id, id) != GIF_ERROR &&
               EGifPutExtensionBlock(gif, sizeof data, data) != GIF_ERROR &&
               EGifPutExtensionTrailer(gif) != GIF_ERROR;
    }

    std::vector<IndexedFrame> frames_;
    std::optional<std::uint16_t> loopCount_;
    std::optional<std::string> comment_;
};

}  // namespace

std::unique_ptr<EncoderSession> GifEncoder::StartSession() const { return std::make_unique<GifSession>(); }

}  // namespace gdiplus::codecs
