#include "plugins/barcode_scanner/packed_dib.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/global_memory.h"
#include "plugins/barcode_scanner/testing/zint_symbols.h"

namespace barcode {
namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A DIB header for width x height at `bits`, `colours` palette entries (all
// grey levels 0, 255/(n-1), ...), rows zero-filled.
std::vector<uint8_t> dib(int32_t width, int32_t height, uint16_t bits, uint32_t colours = 0) {
    const size_t stride = ((size_t(std::abs(width)) * bits + 31) / 32) * 4;
    std::vector<uint8_t> b(40 + colours * 4 + stride * size_t(std::abs(height)));
    put32(b, 0, 40);
    put32(b, 4, uint32_t(width));
    put32(b, 8, uint32_t(height));
    b[12] = 1;
    b[14] = uint8_t(bits);
    put32(b, 32, colours);
    for (uint32_t i = 0; i < colours; ++i) {
        const uint8_t level = uint8_t(colours == 1 ? 0 : 255 * i / (colours - 1));
        b[40 + 4 * i] = b[41 + 4 * i] = b[42 + 4 * i] = level;
    }
    return b;
}

TEST(PackedDib, BottomUpRowsComeOutTopDown) {
    // 2 x 2 at 24 bits: the first stored row is the bottom one.
    std::vector<uint8_t> b = dib(2, 2, 24);
    const size_t rows = 40, stride = 8;
    std::memset(&b[rows], 255, 6);                  // bottom row white
    b[rows + stride + 3 + 2] = 255;                 // top row, second pixel: pure red
    std::optional<GreyImage> grey = GreyFromPackedDib(b);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->width, 2);
    EXPECT_EQ(grey->height, 2);
    EXPECT_EQ(grey->pixels, (std::vector<uint8_t>{0, 77, 255, 255}));
}

TEST(PackedDib, NegativeHeightIsTopDownAndPalettesAreLooked_up) {
    std::vector<uint8_t> b = dib(3, -2, 8, 256);
    const size_t rows = 40 + 256 * 4;
    b[rows] = 255;
    b[rows + 4 + 2] = 128;  // second row, third pixel
    std::optional<GreyImage> grey = GreyFromPackedDib(b);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->pixels, (std::vector<uint8_t>{255, 0, 0, 0, 0, 128}));
}

TEST(PackedDib, OneBitRowsUseTheirTwoColours) {
    std::vector<uint8_t> b = dib(10, 1, 1, 2);
    b[40 + 8] = 0b10100000;
    b[40 + 9] = 0b01000000;
    std::optional<GreyImage> grey = GreyFromPackedDib(b);
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->pixels, (std::vector<uint8_t>{255, 0, 255, 0, 0, 0, 0, 0, 0, 255}));
}

TEST(PackedDib, ReadsTheGeneratorsSymbols) {
    files::testing::ScratchFolder folder("packed-dib");
    const std::string file = testing::ZintFile(folder, "code.bmp", "CODE128", "ABC", 2);
    ASSERT_FALSE(file.empty()) << "zint is missing";
    const std::vector<uint8_t> bytes = testing::FileBytes(file);
    ASSERT_GT(bytes.size(), 14u);
    std::optional<GreyImage> grey = GreyFromPackedDib(std::span(bytes).subspan(14));
    ASSERT_TRUE(grey);
    // The header's size, black bars and white spaces.
    EXPECT_EQ(grey->width, int32_t(bytes[18] | bytes[19] << 8));
    EXPECT_EQ(grey->height, int32_t(bytes[22] | bytes[23] << 8));
    EXPECT_NE(std::count(grey->pixels.begin(), grey->pixels.end(), 255), 0);
    EXPECT_NE(std::count(grey->pixels.begin(), grey->pixels.end(), 0), 0);
    EXPECT_EQ(std::count(grey->pixels.begin(), grey->pixels.end(), 0) +
                  std::count(grey->pixels.begin(), grey->pixels.end(), 255),
              ptrdiff_t(grey->pixels.size()));
}

TEST(PackedDib, RefusesWhatItCannotTrust) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    auto with = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
        put32(b, at, v);
        return b;
    };
    auto shortened = [](std::vector<uint8_t> b, size_t by) {
        b.resize(b.size() - by);
        return b;
    };
    const std::vector<uint8_t> good = dib(4, 4, 24);
    std::vector<uint8_t> palette = dib(2, 2, 8, 256);
    palette.resize(40 + 100 * 4);
    const Case cases[] = {
        {"empty", {}},
        {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 39)},
        {"header size below 40", with(good, 0, 12)},
        {"header size past the block", with(good, 0, 4000)},
        {"width 0", with(good, 4, 0)},
        {"negative width", with(good, 4, uint32_t(-4))},
        {"height 0", with(good, 8, 0)},
        {"width past 32767", with(good, 4, 40000)},
        {"height past -32767", with(good, 8, uint32_t(-40000))},
        {"too many pixels", with(with(good, 4, 30000), 8, 30000)},
        {"4 bits", with(good, 14, 4)},
        {"16 bits", with(good, 14, 16)},
        {"run-length coded", with(good, 16, 1)},
        {"rows cut by a byte", shortened(good, 1)},
        {"palette cut", palette},
    };
    for (const Case& c : cases) EXPECT_FALSE(GreyFromPackedDib(c.bytes)) << c.what;
    EXPECT_TRUE(GreyFromPackedDib(good));
}

TEST(PackedDib, ReadsFromGlobalMemoryAndRefusesBadHandles) {
    std::vector<uint8_t> b = dib(2, 1, 24);
    win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, b.size());
    std::memcpy(win::GlobalLock(block), b.data(), b.size());
    win::GlobalUnlock(block);
    std::optional<GreyImage> grey = GreyFromGlobalDib(uint32_t(block));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->width, 2);
    EXPECT_EQ(win::GlobalLockCount(block), 0u);
    win::GlobalFree(block);
    EXPECT_FALSE(GreyFromGlobalDib(uint32_t(block)));
    EXPECT_FALSE(GreyFromGlobalDib(0));
}

}  // namespace
}  // namespace barcode
