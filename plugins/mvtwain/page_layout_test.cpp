#include "plugins/mvtwain/page_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace mvtwain {
namespace {

using Format = FrameParameters::Format;

FrameParameters frame(Format format, int depth, int width, int bytesPerLine, int lines) {
    FrameParameters p;
    p.format = format;
    p.depth = depth;
    p.pixelsPerLine = width;
    p.bytesPerLine = bytesPerLine;
    p.lines = lines;
    return p;
}

uint32_t read32(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
    return v;
}

std::vector<uint8_t> build(const PageLayout& layout, const std::vector<uint8_t>& data, double dpi) {
    // Stale bytes in the output must never survive into the page.
    std::vector<uint8_t> out(layout.outputBytes, 0xAA);
    EXPECT_TRUE(BuildPage(layout, data, dpi, out));
    return out;
}

TEST(PageLayout, FormsAndSizesByDepth) {
    struct Case {
        Format format;
        int depth, width, bytesPerLine;
        PageForm form;
        int bitsPerPixel, outputStride;
        size_t headerBytes;
    };
    const Case cases[] = {
        {Format::Gray, 1, 10, 2, PageForm::Dib1, 1, 4, 40 + 8},
        {Format::Gray, 8, 5, 5, PageForm::Dib8, 8, 8, 40 + 1024},
        {Format::Rgb, 8, 5, 15, PageForm::Dib24, 24, 16, 40},
        {Format::Gray, 16, 3, 6, PageForm::Raw48, 48, 20, 0},
        {Format::Rgb, 16, 3, 18, PageForm::Raw48, 48, 20, 0},
    };
    for (const auto& c : cases) {
        auto layout = PlanPage(frame(c.format, c.depth, c.width, c.bytesPerLine, 4), 4);
        ASSERT_TRUE(layout) << c.depth;
        EXPECT_EQ(layout->form, c.form);
        EXPECT_EQ(layout->bitsPerPixel, c.bitsPerPixel);
        EXPECT_EQ(layout->outputStride, c.outputStride);
        EXPECT_EQ(layout->headerBytes, c.headerBytes);
        EXPECT_EQ(layout->outputBytes, c.headerBytes + static_cast<size_t>(c.outputStride) * 4);
    }
}

TEST(PageLayout, RefusesFormsItCannotHandOverAndSizesThatDoNotHold) {
    EXPECT_FALSE(PlanPage(frame(Format::Red, 8, 4, 4, 1), 1));        // three-pass frame
    EXPECT_FALSE(PlanPage(frame(Format::Rgb, 1, 8, 3, 1), 1));        // colour line art
    EXPECT_FALSE(PlanPage(frame(Format::Gray, 4, 8, 4, 1), 1));       // 4-bit grey
    EXPECT_FALSE(PlanPage(frame(Format::Rgb, 8, 10, 29, 1), 1));      // a line too short for its pixels
    EXPECT_FALSE(PlanPage(frame(Format::Gray, 8, 0, 4, 1), 1));       // no width
    EXPECT_FALSE(PlanPage(frame(Format::Gray, 8, 4, 4, 1), 0));       // no lines read
    EXPECT_FALSE(PlanPage(frame(Format::Gray, 8, 4, 4, 1), -3));
    // Beyond the page memory ceiling.
    EXPECT_FALSE(PlanPage(frame(Format::Rgb, 8, 60000, 180000, 60000), 60000));
}

TEST(PageLayout, ColourDibIsBottomUpBlueGreenRedWithResolution) {
    // Two lines of two pixels, with one spare byte per line as a device may send.
    const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 99,   // top line: (1,2,3) (4,5,6)
                                       7, 8, 9, 10, 11, 12, 99};
    auto layout = PlanPage(frame(Format::Rgb, 8, 2, 7, 2), 2);
    ASSERT_TRUE(layout);
    auto dib = build(*layout, data, 300);
    EXPECT_EQ(read32(dib, 0), 40u);
    EXPECT_EQ(read32(dib, 4), 2u);
    EXPECT_EQ(read32(dib, 8), 2u);
    EXPECT_EQ(read32(dib, 24), 11811u);  // 300 dpi in pixels per metre
    const uint8_t* bottomRow = dib.data() + 40;
    const uint8_t* topRow = bottomRow + 8;
    EXPECT_EQ(std::vector<uint8_t>(bottomRow, bottomRow + 8), (std::vector<uint8_t>{9, 8, 7, 12, 11, 10, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(topRow, topRow + 6), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
}

TEST(PageLayout, NoResolutionStaysZeroNeverDivided) {
    auto layout = PlanPage(frame(Format::Gray, 8, 1, 1, 1), 1);
    ASSERT_TRUE(layout);
    for (double dpi : {0.0, -5.0, 1e300}) {
        auto dib = build(*layout, {7}, dpi);
        EXPECT_EQ(read32(dib, 24), 0u) << dpi;
        EXPECT_EQ(read32(dib, 28), 0u) << dpi;
    }
}

TEST(PageLayout, LineArtTurnsSaneBlackIntoPaletteEntryZero) {
    // SANE marks black with 1: 0b1010'0000 for a 3-pixel line, spare bits set.
    auto layout = PlanPage(frame(Format::Gray, 1, 3, 1, 1), 1);
    ASSERT_TRUE(layout);
    auto dib = build(*layout, {0xBF}, 0);
    EXPECT_EQ(read32(dib, 32), 2u);  // two palette entries: black, white
    EXPECT_EQ(dib[40], 0);
    EXPECT_EQ(dib[44], 255);
    EXPECT_EQ(dib[48], 0x40);  // black, white, black; the spare bits cleared
}

TEST(PageLayout, SixteenBitGreyBecomesFortyEightBitRawTopDown) {
    std::vector<uint8_t> data(4);
    const uint16_t top = 0x1234, bottom = 0xABCD;
    std::memcpy(data.data(), &top, 2);
    std::memcpy(data.data() + 2, &bottom, 2);
    auto layout = PlanPage(frame(Format::Gray, 16, 1, 2, 2), 2);
    ASSERT_TRUE(layout);
    auto raw = build(*layout, data, 0);
    EXPECT_EQ(std::vector<uint8_t>(raw.begin(), raw.begin() + 6), (std::vector<uint8_t>{0x34, 0x12, 0x34, 0x12, 0x34, 0x12}));
    EXPECT_EQ(raw[8], 0xCD);
    EXPECT_EQ(raw[9], 0xAB);
}

TEST(PageLayout, BuildRefusesTooLittleDataOrAWrongOutput) {
    auto layout = PlanPage(frame(Format::Gray, 8, 4, 4, 2), 2);
    ASSERT_TRUE(layout);
    std::vector<uint8_t> out(layout->outputBytes);
    EXPECT_FALSE(BuildPage(*layout, std::vector<uint8_t>(7), 0, out));
    std::vector<uint8_t> small(layout->outputBytes - 1);
    EXPECT_FALSE(BuildPage(*layout, std::vector<uint8_t>(8), 0, small));
}

TEST(PageLayout, BmpFileHeaderPointsAtThePixels) {
    auto layout = PlanPage(frame(Format::Gray, 8, 1, 1, 1), 1);
    ASSERT_TRUE(layout);
    auto dib = build(*layout, {5}, 0);
    std::vector<uint8_t> header(BmpFileHeaderBytes());
    WriteBmpFileHeader(dib, header);
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    EXPECT_EQ(read32(header, 2), 14 + dib.size());
    EXPECT_EQ(read32(header, 10), 14u + 40 + 1024);
}

}  // namespace
}  // namespace mvtwain

namespace mvtwain {
namespace {

// Row padding and the palette's reserved bytes are written as zero over an
// output that held other bytes, for every form and a width that leaves padding.
TEST(PageLayout, PaddingAndReservedBytesAreZero) {
    const struct {
        FrameParameters parameters;
        int bytesPerPixelTimes8;
    } cases[] = {
        {frame(Format::Gray, 1, 5, 1, 3), 1},
        {frame(Format::Gray, 8, 5, 5, 3), 8},
        {frame(Format::Rgb, 8, 5, 15, 3), 24},
        {frame(Format::Rgb, 16, 5, 30, 3), 48},
    };
    for (const auto& c : cases) {
        auto layout = PlanPage(c.parameters, 3);
        ASSERT_TRUE(layout) << c.bytesPerPixelTimes8;
        const std::vector<uint8_t> data(static_cast<size_t>(c.parameters.bytesPerLine) * 3, 0x5C);
        const auto out = build(*layout, data, 0);
        const size_t used = (static_cast<size_t>(layout->width) * c.bytesPerPixelTimes8 + 7) / 8;
        for (int row = 0; row < layout->height; ++row) {
            const size_t start = layout->headerBytes + static_cast<size_t>(row) * layout->outputStride;
            for (size_t i = used; i < static_cast<size_t>(layout->outputStride); ++i)
                EXPECT_EQ(out[start + i], 0) << c.bytesPerPixelTimes8 << " bits, row " << row << ", byte " << i;
        }
        for (size_t entry = 0; entry * 4 + 40 < layout->headerBytes; ++entry)
            EXPECT_EQ(out[40 + entry * 4 + 3], 0) << "palette entry " << entry;
    }
}

}  // namespace
}  // namespace mvtwain
