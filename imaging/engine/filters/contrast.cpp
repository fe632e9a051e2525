#include <array>
#include <cmath>
#include <vector>

#include "imaging/engine/filters/channel_rows.h"
#include "imaging/engine/filters/channel_rules.h"
#include "imaging/engine/filters/row_bands.h"
#include "imaging/engine/filters/wide_byte_table.h"
#include "imaging/engine/filters/point_filters.h"

namespace scanvelt::filters {

namespace {

// The floored mean of grey(R + G + B) over every pixel.
double MeanGrey(const ArgbPixels& pixels) {
    double sum = 0;
    for (const uint32_t p : pixels) sum += GreyOfSum(RedOf(p) + GreenOf(p) + BlueOf(p));
    return std::floor(sum / static_cast<double>(pixels.size()));
}

bool InRange(int32_t v) { return v >= 0 && v <= 255; }

// Brings the three mapped channels into 0..255: a channel out of range gives
// half its excess to the other two, so the pixel keeps its hue where it can.
void SpreadExcess(int32_t& r, int32_t& g, int32_t& b) {
    while (!InRange(r) || !InRange(g) || !InRange(b)) {
        if (r <= 0 && g <= 0 && b <= 0) r = g = b = 0;
        if (r >= 255 && g >= 255 && b >= 255) r = g = b = 255;
        const auto give = [](int32_t& self, int32_t& a, int32_t& c) {
            if (self < 0) {
                const int32_t h = self / 2;
                a = CheckedAdd(a, h);
                c = CheckedAdd(c, h);
                self = 0;
            }
            if (self > 255) {
                const int32_t h = (self - 255) / 2;
                a = CheckedAdd(a, h);
                c = CheckedAdd(c, h);
                self = 255;
            }
        };
        give(r, g, b);
        give(g, r, b);
        give(b, r, g);
    }
}

// Table entries beyond this are declined in place: the excess handed on
// stays within a small multiple of the largest entry, so every sum then stays
// far inside 32 bits and the spreading cannot fail half way through the rows.
constexpr int32_t kLargestSafeEntry = 1 << 24;

}  // namespace

std::array<int32_t, 256> ContrastTable(double meanGrey, double amount) {
    const float factor = PercentFactorAbove100(AmountAsInteger(amount));
    std::array<int32_t, 256> t{};
    for (int32_t v = 0; v < 256; ++v) {
        t[static_cast<size_t>(v)] = RoundToInt32((v - meanGrey) * static_cast<double>(factor) + meanGrey);
    }
    return t;
}

bool PrepareContrastRows(const ChannelRows& rows, const FilterArguments& arguments, ChannelPlan& plan) {
    const double count = static_cast<double>(PixelCountOf(rows));
    const double mean = std::floor(static_cast<double>(SumOfGreys(rows)) / count);
    plan.Table = ContrastTable(mean, arguments.amount);
    for (const int32_t v : plan.Table) {
        if (v > kLargestSafeEntry || v < -kLargestSafeEntry) return false;
    }
    return true;
}

namespace {

// The spread colours of the pixels met last, by their colour before: the
// pixels that leave the range are mostly a few colours again and again (the
// paper, the ink, a fill), and the spreading loop costs far more than a look
// in this. A pixel's result depends on its colour alone, so a hit is exact.
class SpreadCache {
public:
    SpreadCache() : keys_(kEntries, kEmpty), values_(kEntries) {}

    // Blue, green and red of the pixel whose bytes were `b`, `g`, `r`, spread.
    void Spread(const std::array<int32_t, 256>& t, uint8_t b, uint8_t g, uint8_t r, int32_t& outB, int32_t& outG,
                int32_t& outR) {
        const uint32_t key = uint32_t{b} | uint32_t{g} << 8 | uint32_t{r} << 16;
        const uint32_t slot = (key * 2654435761u) >> (32 - kBits);
        if (keys_[slot] != key) {
            int32_t sb = t[b], sg = t[g], sr = t[r];
            SpreadExcess(sr, sg, sb);
            keys_[slot] = key;
            values_[slot] = static_cast<uint32_t>(sb) | static_cast<uint32_t>(sg) << 8 | static_cast<uint32_t>(sr) << 16;
        }
        const uint32_t v = values_[slot];
        outB = static_cast<int32_t>(v & 0xFF), outG = static_cast<int32_t>(v >> 8 & 0xFF);
        outR = static_cast<int32_t>(v >> 16 & 0xFF);
    }

private:
    static constexpr uint32_t kBits = 12, kEntries = 1u << kBits, kEmpty = 0xFFFFFFFFu;  // no colour's key
    std::vector<uint32_t> keys_, values_;
};

// One pixel through the table, spread when a channel leaves the range.
inline void ContrastPixel(const std::array<int32_t, 256>& t, SpreadCache& spread, uint8_t* pixel) {
    int32_t b = t[pixel[0]], g = t[pixel[1]], r = t[pixel[2]];
    // Most pixels stay in range: no spreading for them.
    if ((static_cast<uint32_t>(r) | static_cast<uint32_t>(g) | static_cast<uint32_t>(b)) > 255u)
        spread.Spread(t, pixel[0], pixel[1], pixel[2], b, g, r);
    pixel[0] = static_cast<uint8_t>(b);
    pixel[1] = static_cast<uint8_t>(g);
    pixel[2] = static_cast<uint8_t>(r);
}

#if defined(__x86_64__)
// Sixteen pixels at a time through the byte table; those with a channel
// whose value maps outside (`outside`) are then done one by one from their
// bytes as they were. Answers where it stopped (fewer than sixteen left).
template <int32_t step>
SCANVELT_WIDE_TABLES int32_t ContrastRowWide(uint8_t* row, int32_t width, const std::array<int32_t, 256>& t,
                                             const std::array<uint8_t, 256>& bytes,
                                             const std::array<uint8_t, 256>& outside, SpreadCache& spread) {
    const WideTable mapped = LoadWide(bytes), flags = LoadWide(outside);
    const __mmask64 loaded = SixteenPixelBytes(step), colours = SixteenPixelColours(step);
    int32_t x = 0;
    for (; x + 16 <= width; x += 16) {
        uint8_t* at = row + static_cast<std::ptrdiff_t>(x) * step;
        const __m512i v = _mm512_maskz_loadu_epi8(loaded, at);
        const __m512i flagged = LookUpWide(flags, v);
        const uint64_t spreadBytes = _mm512_mask_test_epi8_mask(colours, flagged, flagged);
        alignas(64) uint8_t before[64];
        if (spreadBytes != 0) _mm512_store_si512(before, v);
        _mm512_mask_storeu_epi8(at, colours, LookUpWide(mapped, v));
        for (uint64_t left = spreadBytes; left != 0;) {
            const int32_t p = static_cast<int32_t>(__builtin_ctzll(left)) / step;
            uint8_t* pixel = at + static_cast<std::ptrdiff_t>(p) * step;
            const uint8_t* was = before + p * step;
            int32_t b = 0, g = 0, r = 0;
            spread.Spread(t, was[0], was[1], was[2], b, g, r);
            pixel[0] = static_cast<uint8_t>(b);
            pixel[1] = static_cast<uint8_t>(g);
            pixel[2] = static_cast<uint8_t>(r);
            left &= ~(uint64_t{7} << (p * step));  // the pixel's three colour bytes
        }
    }
    return x;
}
#endif

}  // namespace

void ApplyContrastRows(ChannelRows& rows, const ChannelPlan& plan) {
    const std::array<int32_t, 256>& t = plan.Table;
    // A pixel whose channels all map in range is a plain byte map.
    const std::array<uint8_t, 256> bytes = ByteTableOf(plan);
    std::array<uint8_t, 256> outside{};
    for (size_t v = 0; v < 256; ++v) outside[v] = static_cast<uint32_t>(t[v]) > 255u ? 0xFF : 0;
    ForEachRowBand(HeightOf(rows), PixelCountOf(rows), [&](int32_t, int32_t first, int32_t end) {
        const int32_t width = WidthOf(rows), step = BytesPerPixelOf(rows);
        SpreadCache spread;
        for (int32_t y = first; y < end; ++y) {
            uint8_t* row = RowOf(rows, y);
            int32_t x = 0;
#if defined(__x86_64__)
            if (HasWideByteTables() && step == 3) x = ContrastRowWide<3>(row, width, t, bytes, outside, spread);
            if (HasWideByteTables() && step == 4) x = ContrastRowWide<4>(row, width, t, bytes, outside, spread);
#endif
            for (uint8_t* pixel = row + static_cast<std::ptrdiff_t>(x) * step; x < width; ++x, pixel += step)
                ContrastPixel(t, spread, pixel);
        }
    });
}

bool ContrastFilter(FilterPixels& pixels, const FilterArguments& arguments) {
    if (pixels.Pixels.empty()) return false;
    const double mean = MeanGrey(pixels.Pixels);
    const std::array<int32_t, 256> t = ContrastTable(mean, arguments.amount);
    for (pixels.Position = 0; pixels.Position < pixels.Pixels.size(); ++pixels.Position) {
        uint32_t& p = pixels.Pixels[pixels.Position];
        int32_t r = t[RedOf(p)], g = t[GreenOf(p)], b = t[BlueOf(p)];
        SpreadExcess(r, g, b);
        p = WithColour(p, r, g, b);
    }
    return false;
}

}  // namespace scanvelt::filters
