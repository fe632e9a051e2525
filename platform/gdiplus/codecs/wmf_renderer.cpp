// WMF through libwmf's gd device: it plays the metafile into an image of the
// asked size, handed out as a PNG whose pixels are then copied into a bitmap
// of our own. The device paints opaque white before it draws; for a
// transparent background the metafile is played a second time over black,
// and where the two plays differ, the drawing let the background through.
#include "platform/gdiplus/codecs/wmf_renderer.h"

#include "platform/gdiplus/codecs/png_codec.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/ipa.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace gdiplus::codecs {
namespace {

// A flag of our own in the gd device's flags (libwmf's use bits 0-1 and
// 16-18): paint the image opaque black before drawing.
constexpr unsigned long kBlackBackground = 1ul << 30;
constexpr int kGdOpaqueBlack = 0x00000000;  // gd's alpha is 0 for opaque

// libwmf keeps font state in globals of its own: one metafile at a time.
std::mutex& wmfMutex() {
    static std::mutex mutex;
    return mutex;
}

// Installs libwmf's gd device, with its start of drawing wrapped so that
// black can replace the opaque white it paints first.
void gdDeviceWithOwnBackground(wmfAPI* api) {
    wmf_gd_function(api);
    auto* functions = static_cast<wmfFunctionReference*>(api->function_reference);
    static void (*const gdBegin)(wmfAPI*) = functions->device_begin;
    functions->device_begin = [](wmfAPI* session) {
        gdBegin(session);
        const wmf_gd_t* device = WMF_GD_GetData(session);
        if (!(device->flags & kBlackBackground)) return;
        // The device keeps its gdImage first in its private data and publishes
        // it only when drawing ends; its pixels are contiguous 0xAARRGGBB.
        void* image = device->gd_data ? *static_cast<void**>(device->gd_data) : nullptr;
        int* pixels = image ? wmf_gd_image_pixels(image) : nullptr;
        if (!pixels) return;
        std::fill_n(pixels, static_cast<std::size_t>(device->width) * device->height, kGdOpaqueBlack);
    };
}

// One libwmf session over the bytes (which it reads in place, so it keeps a
// copy of its own): created, opened and scanned, or failed.
class WmfSession {
public:
    explicit WmfSession(std::span<const std::uint8_t> wmf) : bytes_(wmf.begin(), wmf.end()) {
        wmfAPI_Options options{};
        options.function = gdDeviceWithOwnBackground;
        // Broken metafiles are answered by status, not by text on stderr.
        const unsigned long flags = WMF_OPT_IGNORE_NONFATAL | WMF_OPT_FUNCTION | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (bytes_.empty() || wmf_api_create(&api_, flags, &options) != wmf_E_None) return;
        if (wmf_mem_open(api_, bytes_.data(), static_cast<long>(bytes_.size())) != wmf_E_None) return;
        opened_ = true;
        scanned_ = wmf_scan(api_, 0, &box_) == wmf_E_None;
    }
    ~WmfSession() {
        if (!api_) return;
        if (opened_) wmf_mem_close(api_);
        wmf_api_destroy(api_);  // frees what libwmf allocated, the gd image with it
    }
    WmfSession(const WmfSession&) = delete;
    WmfSession& operator=(const WmfSession&) = delete;

    bool ready() const { return scanned_; }
    wmfAPI* api() const { return api_; }
    wmfD_Rect& box() { return box_; }

private:
    std::vector<unsigned char> bytes_;
    wmfAPI* api_ = nullptr;
    bool opened_ = false;
    bool scanned_ = false;
    wmfD_Rect box_{};
};

// A placeable header's frame in points, libwmf's device unit; false for a
// metafile without one (its drawing's own extent is the frame then).
bool placeableFrame(std::span<const std::uint8_t> wmf, wmfD_Rect& frame) {
    if (wmf.size() < 22) return false;
    auto u16 = [&](size_t at) { return static_cast<std::uint16_t>(wmf[at] | wmf[at + 1] << 8); };
    auto i16 = [&](size_t at) { return static_cast<std::int16_t>(u16(at)); };
    if ((u16(0) | static_cast<std::uint32_t>(u16(2)) << 16) != 0x9AC6CDD7u) return false;
    const double unitsPerInch = u16(14);
    if (unitsPerInch < 1) return false;
    frame.TL.x = static_cast<float>(i16(6) * 72.0 / unitsPerInch);
    frame.TL.y = static_cast<float>(i16(8) * 72.0 / unitsPerInch);
    frame.BR.x = static_cast<float>(i16(10) * 72.0 / unitsPerInch);
    frame.BR.y = static_cast<float>(i16(12) * 72.0 / unitsPerInch);
    return frame.BR.x > frame.TL.x && frame.BR.y > frame.TL.y;
}

// A memory stream that gd's PNG writer writes into.
class MemoryFile {
public:
    MemoryFile() : file_(open_memstream(&bytes_, &size_)) {}
    ~MemoryFile() {
        close();
        std::free(bytes_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    FILE* file() const { return file_; }
    // Closes the stream; its bytes then stay readable.
    std::span<const std::uint8_t> close() {
        if (file_) std::fclose(file_);
        file_ = nullptr;
        return {reinterpret_cast<const std::uint8_t*>(bytes_), bytes_ ? size_ : 0};
    }

private:
    char* bytes_ = nullptr;
    std::size_t size_ = 0;
    FILE* file_;
};

// The metafile played once into width x height opaque pixels (0xFFRRGGBB,
// row after row), over white or over black. libwmf's gd device hands its
// image out as a PNG (the image itself it would not free).
Status playWmf(std::span<const std::uint8_t> wmf, std::int32_t width, std::int32_t height, bool overBlack,
               std::vector<std::uint32_t>& pixels) {
    MemoryFile png;
    if (!png.file()) return OutOfMemory;
    {
        std::lock_guard lock(wmfMutex());
        WmfSession session(wmf);
        if (!session.ready()) return UnknownImageFormat;
        wmfD_Rect frame = session.box();
        placeableFrame(wmf, frame);
        wmf_gd_t* device = WMF_GD_GetData(session.api());
        device->type = wmf_gd_png;
        device->flags |= WMF_GD_OUTPUT_FILE;
        if (overBlack) device->flags |= kBlackBackground;
        device->file = png.file();
        device->bbox = frame;
        device->width = static_cast<unsigned int>(width);
        device->height = static_cast<unsigned int>(height);
        if (wmf_play(session.api(), 0, &frame) != wmf_E_None) return UnknownImageFormat;
    }
    std::unique_ptr<Bitmap> drawn;
    if (DecodePng(png.close(), drawn) != Ok || static_cast<std::int32_t>(drawn->GetWidth()) != width ||
        static_cast<std::int32_t>(drawn->GetHeight()) != height)
        return UnknownImageFormat;
    BitmapData from{};
    if (drawn->LockBits(Rect{0, 0, width, height}, ImageLockModeRead, PixelFormat32bppARGB, from) != Ok)
        return UnknownImageFormat;
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::int32_t y = 0; y < height; ++y)
        std::memcpy(pixels.data() + static_cast<std::ptrdiff_t>(y) * width,
                    static_cast<const std::uint8_t*>(from.Scan0) + static_cast<std::ptrdiff_t>(y) * from.Stride,
                    static_cast<std::size_t>(width) * 4);
    drawn->UnlockBits(from);
    return Ok;
}

// The pixel a drawing gave over white and over black, as one pixel over
// nothing: the background shows through by as much as the two differ
// (white minus black is 255 where nothing was drawn, 0 where the drawing
// covers), and the colour is the one over black un-premultiplied.
std::uint32_t matte(std::uint32_t overWhite, std::uint32_t overBlack) {
    if (overWhite == overBlack) return overWhite;
    int through = 0;
    for (int shift : {0, 8, 16})
        through = std::max(through, static_cast<int>((overWhite >> shift) & 0xFF) -
                                        static_cast<int>((overBlack >> shift) & 0xFF));
    const int alpha = 255 - through;
    if (alpha <= 0) return 0;
    std::uint32_t colour = static_cast<std::uint32_t>(alpha) << 24;
    for (int shift : {0, 8, 16}) {
        const int channel = static_cast<int>((overBlack >> shift) & 0xFF);
        colour |= static_cast<std::uint32_t>(std::min(255, (channel * 255 + alpha / 2) / alpha)) << shift;
    }
    return colour;
}

}  // namespace

std::vector<std::uint8_t> WmfPlaceableHeader(std::int16_t left, std::int16_t top, std::int16_t right,
                                             std::int16_t bottom, std::uint16_t unitsPerInch) {
    const std::uint16_t words[10] = {0xCDD7,
                                     0x9AC6,
                                     0,
                                     static_cast<std::uint16_t>(left),
                                     static_cast<std::uint16_t>(top),
                                     static_cast<std::uint16_t>(right),
                                     static_cast<std::uint16_t>(bottom),
                                     unitsPerInch,
                                     0,
                                     0};
    std::vector<std::uint8_t> bytes;
    std::uint16_t sum = 0;  // the XOR of the ten words before it
    for (std::uint16_t word : words) {
        sum ^= word;
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    bytes.push_back(static_cast<std::uint8_t>(sum & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(sum >> 8));
    return bytes;
}

bool WmfPixelSize(std::span<const std::uint8_t> wmf, double dpi, std::int32_t& width, std::int32_t& height) {
    std::lock_guard lock(wmfMutex());
    WmfSession session(wmf);
    if (!session.ready() || !(dpi > 0)) return false;
    unsigned int w = 0, h = 0;
    if (wmf_display_size(session.api(), &w, &h, dpi, dpi) != wmf_E_None || w < 1 || h < 1 ||
        static_cast<std::int64_t>(w) * h > kMaxWmfPixels)
        return false;
    width = static_cast<std::int32_t>(w);
    height = static_cast<std::int32_t>(h);
    return true;
}

Status RenderWmf(std::span<const std::uint8_t> wmf, std::int32_t width, std::int32_t height,
                 WmfBackground background, std::unique_ptr<Bitmap>& bitmap) {
    if (width < 1 || height < 1 || static_cast<std::int64_t>(width) * height > kMaxWmfPixels) return InvalidParameter;
    std::vector<std::uint32_t> pixels, overBlack;
    if (const Status status = playWmf(wmf, width, height, false, pixels); status != Ok) return status;
    if (background == WmfBackground::Transparent) {
        if (const Status status = playWmf(wmf, width, height, true, overBlack); status != Ok) return status;
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = matte(pixels[i], overBlack[i]);
    }
    // A bitmap of its own in memory, as a drawing made here would be.
    std::unique_ptr<Bitmap> made;
    if (const Status status = Bitmap::Create(width, height, PixelFormat32bppARGB, made); status != Ok) return status;
    BitmapData to{};
    if (const Status status = made->LockBits(Rect{0, 0, width, height}, ImageLockModeWrite, PixelFormat32bppARGB, to);
        status != Ok)
        return status;
    for (std::int32_t y = 0; y < height; ++y)
        std::memcpy(static_cast<std::uint8_t*>(to.Scan0) + static_cast<std::ptrdiff_t>(y) * to.Stride,
                    pixels.data() + static_cast<std::ptrdiff_t>(y) * width, static_cast<std::size_t>(width) * 4);
    made->UnlockBits(to);
    bitmap = std::move(made);
    return Ok;
}

}  // namespace gdiplus::codecs
