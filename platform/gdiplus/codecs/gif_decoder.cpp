#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/gif_codec.h"

namespace gdiplus::codecs {
namespace {

constexpr std::uint8_t kCommentHeader[8] = {'A', 'S', 'C', 'I', 'I', 0, 0, 0};

struct GifFrame {
    std::uint32_t left = 0, top = 0, width = 0, height = 0;
    std::vector<std::uint8_t> indices;  // width x height, top row first
    ColorPalette palette;               // opaque; the transparent index is apart
    int transparent = NO_TRANSPARENT_COLOR;
    int disposal = DISPOSAL_UNSPECIFIED;
    int delay = 0;
};

struct GifFile {
    std::uint32_t width = 0, height = 0;
    int background = 0;
    std::vector<GifFrame> frames;
    std::optional<std::uint16_t> loopCount;
    std::optional<std::string> comment;
    std::vector<PropertyItem> items;
};

struct MemoryInput {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

int ReadInput(GifFileType* gif, GifByteType* out, int length) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(length), in->bytes.size() - in->at);
    std::memcpy(out, in->bytes.data() + in->at, n);
    in->at += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

ColorPalette PaletteOf(const ColorMapObject* map) {
    ColorPalette palette;
    if (!map || !map->Colors) return palette;
    palette.Count = static_cast<std::uint32_t>(std::clamp(map->ColorCount, 0, 256));
    for (std::uint32_t i = 0; i < palette.Count; ++i) {
        const GifColorType& c = map->Colors[i];
        palette.Entries[i] = MakeARGB(0xFF, c.Red, c.Green, c.Blue);
    }
    return palette;
}

class GifParser {
public:
    GifParser(GifFileType* gif, GifFile& file) : gif_(gif), file_(file) {}

    Status Parse() {
        file_.width = static_cast<std::uint32_t>(std::max(gif_->SWidth, 0));
        file_.height = static_cast<std::uint32_t>(std::max(gif_->SHeight, 0));
        file_.background = gif_->SBackGroundColor;
        global_ = PaletteOf(gif_->SColorMap);
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        while (true) {
            if (DGifGetRecordType(gif_, &type) == GIF_ERROR) {
                // Writers leave stray bytes (padding after an extension) between
                // blocks: each is skipped, as readers of such files do. Anything
                // else, such as a missing trailer, ends the file.
                if (gif_->Error == D_GIF_ERR_WRONG_RECORD) continue;
                break;
            }
            if (type == TERMINATE_RECORD_TYPE) break;
            Status s = type == IMAGE_DESC_RECORD_TYPE ? ReadImage()
                     : type == EXTENSION_RECORD_TYPE ? ReadExtension()
                                                     : InvalidParameter;
            if (s != Ok) return s;
        }
        if (file_.frames.empty()) return InvalidParameter;
        if (file_.width == 0 || file_.height == 0) {
            for (const auto& f : file_.frames) {
                file_.width = std::max(file_.width, f.left + f.width);
                file_.height = std::max(file_.height, f.top + f.height);
            }
        }
        return CheckDecodedSize(file_.width, file_.height, 32);
    }

private:
    Status ReadImage() {
        if (DGifGetImageDesc(gif_) == GIF_ERROR) return InvalidParameter;
        const GifImageDesc& d = gif_->Image;
        if (d.Left < 0 || d.Top < 0 || d.Width <= 0 || d.Height <= 0) return InvalidParameter;
        GifFrame frame;
        frame.left = static_cast<std::uint32_t>(d.Left);
        frame.top = static_cast<std::uint32_t>(d.Top);
        frame.width = static_cast<std::uint32_t>(d.Width);
        frame.height = static_cast<std::uint32_t>(d.Height);
        // Every frame's indices are kept: together they stay within the budget.
        rasterBytes_ += std::uint64_t{frame.width} * frame.height;
        if (Status s = CheckDecodedSize(rasterBytes_, 1, 8); s != Ok) return s;
        frame.palette = d.ColorMap ? PaletteOf(d.ColorMap) : global_;
        frame.indices.resize(std::size_t{frame.width} * frame.height);
        for (std::uint32_t row : RowOrder(frame.height, d.Interlace)) {
            if (DGifGetLine(gif_, frame.indices.data() + std::size_t{row} * frame.width, d.Width) == GIF_ERROR)
                return InvalidParameter;
        }
        frame.transparent = pending_.TransparentColor;
        frame.disposal = pending_.DisposalMode;
        frame.delay = pending_.DelayTime;
        pending_ = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        file_.frames.push_back(std::move(frame));
        return Ok;
    }

    static std::vector<std::uint32_t> RowOrder(std::uint32_t height, bool interlaced) {
        std::vector<std::uint32_t> rows;
        rows.reserve(height);
        if (!interlaced) {
            for (std::uint32_t y = 0; y < height; ++y) rows.push_back(y);
            return rows;
        }
        constexpr std::uint32_t kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (std::uint32_t y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
        return rows;
    }

    Status ReadExtension() {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) return InvalidParameter;
        std::vector<std::vector<std::uint8_t>> blocks;
        while (block) {
            blocks.emplace_back(block + 1, block + 1 + block[0]);
            if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) return InvalidParameter;
        }
        if (blocks.empty()) return Ok;
        if (code == GRAPHICS_EXT_FUNC_CODE && blocks[0].size() >= 4) {
            DGifExtensionToGCB(blocks[0].size(), blocks[0].data(), &pending_);
        } else if (code == COMMENT_EXT_FUNC_CODE && !file_.comment) {
            std::string text;
            for (const auto& b : blocks) text.append(b.begin(), b.end());
            file_.comment = text;
        } else if (code == APPLICATION_EXT_FUNC_CODE && blocks.size() >= 2 && blocks[0].size() == 11) {
            const std::string id(blocks[0].begin(), blocks[0].end());
            const auto& data = blocks[1];
            if ((id == "NETSCAPE2.0" || id == "ANIMEXTS1.0") && data.size() >= 3 && data[0] == 1)
                file_.loopCount = static_cast<std::uint16_t>(data[1] | data[2] << 8);
        }
        return Ok;
    }

    GifFileType* gif_;
    GifFile& file_;
    ColorPalette global_;
    GraphicsControlBlock pending_{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    std::uint64_t rasterBytes_ = 0;
};

void BuildItems(GifFile& file) {
    PropertyItem delays{PropertyTagFrameDelay, 0, PropertyTagTypeLong, {}};
    for (const auto& f : file.frames) PutU32(delays.value, static_cast<std::uint32_t>(f.delay));
    delays.length = static_cast<std::uint32_t>(delays.value.size());
    file.items.push_back(std::move(delays));
    if (file.loopCount) {
        PropertyItem loop{PropertyTagLoopCount, 2, PropertyTagTypeShort, {}};
        PutU16(loop.value, *file.loopCount);
        file.items.push_back(std::move(loop));
    }
    if (file.comment) {
        PropertyItem comment{PropertyTagExifUserComment, 0, PropertyTagTypeUndefined, {}};
        comment.value.resize(sizeof kCommentHeader + file.comment->size());
        std::memcpy(comment.value.data(), kCommentHeader, sizeof kCommentHeader);
        std::memcpy(comment.value.data() + sizeof kCommentHeader, file.comment->data(), file.comment->size());
        comment.length = static_cast<std::uint32_t>(comment.value.size());
        file.items.push_back(std::move(comment));
    }
}

void AddItems(const GifFile& file, Bitmap& bitmap) {
    for (const auto& item : file.items) bitmap.SetPropertyItem(item);
    bitmap.SetRawFormat(ImageFormatGIF);
}

// A file of one frame stays indexed: the frame on the logical screen, the
// rest of the screen in the transparent index, or the background colour.
Status SingleFrameBitmap(const GifFile& file, std::unique_ptr<Bitmap>& bitmap) {
    const GifFrame& f = file.frames[0];
    if (Status s = NewDecodedBitmap(file.width, file.height, PixelFormat8bppIndexed, bitmap); s != Ok) return s;
    ColorPalette palette = f.palette;
    if (palette.Count == 0) palette = DefaultPalette(PixelFormat1bppIndexed);
    if (f.transparent >= 0 && static_cast<std::uint32_t>(f.transparent) < palette.Count) {
        palette.Entries[f.transparent] &= 0x00FFFFFF;
        palette.Flags |= PaletteFlagsHasAlpha;
    }
    if (Status s = bitmap->SetPalette(palette); s != Ok) return s;
    const auto fill = static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : file.background);
    PixelRows rows(*bitmap);
    if (!rows.ok()) return GenericError;
    for (std::uint32_t y = 0; y < file.height; ++y) {
        std::uint8_t* row = rows.Row(y);
        std::memset(row, fill, file.width);
        if (y < f.top || y - f.top >= f.height || f.left >= file.width) continue;
        const std::uint32_t n = std::min(f.width, file.width - f.left);
        std::memcpy(row + f.left, f.indices.data() + std::size_t{y - f.top} * f.width, n);
    }
    return Ok;
}

// The frames of an animated file, composed one after the other on the
// logical screen. The screen after the last frame composed is kept, so that
// stepping through the frames in order composes each one once.
class GifFrames final : public FrameSource {
public:
    explicit GifFrames(std::shared_ptr<const GifFile> file) : file_(std::move(file)) {}

    std::vector<Guid> Dimensions() const override { return {FrameDimensionTime}; }
    std::uint32_t FrameCount(const Guid& dimension) const override {
        return dimension == FrameDimensionTime ? static_cast<std::uint32_t>(file_->frames.size()) : 0;
    }

    Status DecodeFrame(const Guid&, std::uint32_t index, std::unique_ptr<Bitmap>& frame) const override {
        std::lock_guard lock(mutex_);
        if (next_ > index || base_.empty()) {
            base_.assign(std::size_t{file_->width} * file_->height, 0);
            next_ = 0;
        }
        // Frames before the one asked for only prepare the screen; the screen
        // is copied once, for the frame that is shown. A host stepping through
        // the frames backwards recomposes from the first each time, so no step
        // may cost a copy of the screen.
        for (; next_ < index; ++next_) Compose(file_->frames[next_]);
        std::vector<ARGB> shown = base_;
        Draw(file_->frames[index], shown);
        Dispose(file_->frames[index], shown);
        ++next_;
        std::unique_ptr<Bitmap> bitmap;
        if (Status s = NewDecodedBitmap(file_->width, file_->height, PixelFormat32bppARGB, bitmap); s != Ok) return s;
        const auto w = static_cast<std::int32_t>(file_->width), h = static_cast<std::int32_t>(file_->height);
        if (Status s = bitmap->WritePixels(Rect{0, 0, w, h}, PixelFormat32bppARGB, w * 4, shown.data()); s != Ok)
            return s;
        AddItems(*file_, *bitmap);
        frame = std::move(bitmap);
        return Ok;
    }

private:
    void Draw(const GifFrame& f, std::vector<ARGB>& screen) const {
        for (std::uint32_t y = 0; y < f.height && f.top + y < file_->height; ++y) {
            for (std::uint32_t x = 0; x < f.width && f.left + x < file_->width; ++x) {
                const int index = f.indices[std::size_t{y} * f.width + x];
                if (index == f.transparent) continue;
                const ARGB colour = static_cast<std::uint32_t>(index) < f.palette.Count ? f.palette.Entries[index]
                                                                                         : ARGB{0xFF000000};
                screen[std::size_t{f.top + y} * file_->width + f.left + x] = colour;
            }
        }
    }

    void ClearArea(const GifFrame& f, std::vector<ARGB>& screen) const {
        for (std::uint32_t y = f.top; y < f.top + f.height && y < file_->height; ++y)
            for (std::uint32_t x = f.left; x < f.left + f.width && x < file_->width; ++x)
                screen[std::size_t{y} * file_->width + x] = 0;
    }

    // What a frame that is not shown leaves on the screen for the next one:
    // the same as drawing it and then disposing of it, without the copy.
    void Compose(const GifFrame& f) const {
        if (f.disposal == DISPOSE_BACKGROUND) ClearArea(f, base_);
        else if (f.disposal != DISPOSE_PREVIOUS) Draw(f, base_);
    }

    // Prepares the screen the next frame is drawn on from the one `shown`.
    void Dispose(const GifFrame& f, const std::vector<ARGB>& shown) const {
        if (f.disposal == DISPOSE_BACKGROUND) {
            base_ = shown;
            ClearArea(f, base_);
        } else if (f.disposal != DISPOSE_PREVIOUS) {
            base_ = shown;
        }
    }

    std::shared_ptr<const GifFile> file_;
    mutable std::mutex mutex_;
    mutable std::uint32_t next_ = 0;
    mutable std::vector<ARGB> base_;
};

}  // namespace

Status GifDecoder::Decode(const EncodedBytes& bytes, bool, std::unique_ptr<Image>& image) const {
    MemoryInput input{*bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, ReadInput, &error));
    if (!gif) return error == D_GIF_ERR_NOT_ENOUGH_MEM ? OutOfMemory : InvalidParameter;
    auto file = std::make_shared<GifFile>();
    if (Status s = GifParser(gif.get(), *file).Parse(); s != Ok) return s;
    gif.reset();
    BuildItems(*file);

    std::unique_ptr<Bitmap> first;
    if (file->frames.size() == 1) {
        if (Status s = SingleFrameBitmap(*file, first); s != Ok) return s;
        AddItems(*file, *first);
    } else {
        auto frames = std::make_shared<GifFrames>(file);
        if (Status s = frames->DecodeFrame(FrameDimensionTime, 0, first); s != Ok) return s;
        first->SetFrameSource(std::move(frames));
    }
    image = std::move(first);
    return Ok;
}

std::string CommentTextOf(const PropertyItem& item) {
    std::size_t start = 0, end = std::min<std::size_t>(item.length, item.value.size());
    if (end >= 8 && std::memcmp(item.value.data(), "ASCII", 5) == 0) start = 8;
    while (end > start && item.value[end - 1] == 0) --end;
    return std::string(item.value.begin() + static_cast<std::ptrdiff_t>(start),
                       item.value.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace gdiplus::codecs
