// Thumbnails of an exact size: every target pixel is the area-weighted mean
// of the source pixels it covers, taken over premultiplied colours so that
// transparent pixels lend no colour.
#include <vector>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_convert.h"

namespace gdiplus {
namespace {

// The source pixels that one target pixel covers along an axis, and how much
// of each.
struct Span {
    std::int32_t first = 0;
    std::vector<double> weights;
};

std::vector<Span> SpansFor(std::int32_t sourceLength, std::int32_t targetLength) {
    std::vector<Span> spans(static_cast<std::size_t>(targetLength));
    const double scale = static_cast<double>(sourceLength) / targetLength;
    for (std::int32_t i = 0; i < targetLength; ++i) {
        const double start = i * scale;
        const double end = (i + 1) * scale;
        Span& span = spans[static_cast<std::size_t>(i)];
        span.first = static_cast<std::int32_t>(start);
        for (std::int32_t j = span.first; j < sourceLength && j < end; ++j) {
            const double lo = j < start ? start : j;
            const double hi = j + 1 > end ? end : j + 1;
            span.weights.push_back((hi - lo) / scale);
        }
    }
    return spans;
}

struct Premultiplied {
    double b = 0, g = 0, r = 0, a = 0;
};

std::uint8_t ToByte(double unit) {
    const double v = unit * 255.0 + 0.5;
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

Status Bitmap::GetThumbnailImage(std::uint32_t width, std::uint32_t height,
                                 std::unique_ptr<Image>& thumbnail) const {
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return InvalidParameter;
    if (IsLocked()) return ObjectBusy;
    const auto targetWidth = static_cast<std::int32_t>(width);
    const auto targetHeight = static_cast<std::int32_t>(height);
    std::unique_ptr<Bitmap> small;
    if (Status s = MakeOwned(targetWidth, targetHeight, PixelFormat32bppPARGB, small); s != Ok) return s;

    return AnswerOutOfMemory([&] {
        // Each source row is first narrowed to the target width, then rows are
        // mixed down to the target height.
        const std::vector<Span> columns = SpansFor(width_, targetWidth);
        const std::vector<Span> rows = SpansFor(height_, targetHeight);
        std::vector<Argb64> source(static_cast<std::size_t>(width_));
        std::vector<Premultiplied> narrowed(static_cast<std::size_t>(targetWidth) * height_);
        for (std::int32_t y = 0; y < height_; ++y) {
            DecodePixels(Row(y), 0, width_, format_, palette_, source.data());
            for (std::int32_t x = 0; x < targetWidth; ++x) {
                const Span& span = columns[static_cast<std::size_t>(x)];
                Premultiplied sum;
                for (std::size_t k = 0; k < span.weights.size(); ++k) {
                    const Argb64& p = source[static_cast<std::size_t>(span.first) + k];
                    const double alpha = p.a / 65535.0 * span.weights[k];
                    sum.b += p.b / 65535.0 * alpha;
                    sum.g += p.g / 65535.0 * alpha;
                    sum.r += p.r / 65535.0 * alpha;
                    sum.a += alpha;
                }
                narrowed[static_cast<std::size_t>(y) * targetWidth + x] = sum;
            }
        }
        for (std::int32_t y = 0; y < targetHeight; ++y) {
            const Span& span = rows[static_cast<std::size_t>(y)];
            std::uint8_t* target = small->Row(y);
            for (std::int32_t x = 0; x < targetWidth; ++x) {
                Premultiplied sum;
                for (std::size_t k = 0; k < span.weights.size(); ++k) {
                    const Premultiplied& p = narrowed[(static_cast<std::size_t>(span.first) + k) * targetWidth + x];
                    sum.b += p.b * span.weights[k];
                    sum.g += p.g * span.weights[k];
                    sum.r += p.r * span.weights[k];
                    sum.a += p.a * span.weights[k];
                }
                std::uint8_t* pixel = target + 4 * x;
                pixel[0] = ToByte(sum.b);
                pixel[1] = ToByte(sum.g);
                pixel[2] = ToByte(sum.r);
                pixel[3] = ToByte(sum.a);
            }
        }
        small->dpiX_ = dpiX_;
        small->dpiY_ = dpiY_;
        thumbnail = std::move(small);
        return Ok;
    });
}

}  // namespace gdiplus
