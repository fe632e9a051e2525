#include "plugins/mvtwain/pnm_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace mvtwain {
namespace {

std::optional<PnmPage> parse(const std::string& text) {
    return ParsePnm(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

TEST(PnmPage, ReadsGreyColourAndLineArt) {
    auto grey = parse(std::string("P5\n# a comment\n2 1\n255\n") + "\x10\x20");
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->parameters.format, FrameParameters::Format::Gray);
    EXPECT_EQ(grey->parameters.depth, 8);
    EXPECT_EQ(grey->data, (std::vector<uint8_t>{0x10, 0x20}));

    auto colour = parse(std::string("P6 1 1 255 ") + "\x01\x02\x03");
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->parameters.format, FrameParameters::Format::Rgb);
    EXPECT_EQ(colour->parameters.bytesPerLine, 3);

    auto art = parse(std::string("P4\n9 2\n") + std::string("\x80\x00\x00\x80", 4));
    ASSERT_TRUE(art);
    EXPECT_EQ(art->parameters.depth, 1);
    EXPECT_EQ(art->parameters.bytesPerLine, 2);
    EXPECT_EQ(art->parameters.lines, 2);
}

TEST(PnmPage, SixteenBitSamplesComeInTheHostsOrder) {
    auto page = parse(std::string("P5 1 1 65535\n") + "\x12\x34");
    ASSERT_TRUE(page);
    uint16_t sample;
    std::memcpy(&sample, page->data.data(), 2);
    EXPECT_EQ(sample, 0x1234);
}

TEST(PnmPage, RefusesMalformedOrOversizedFiles) {
    const std::string cases[] = {
        "",
        "P3 1 1 255 1 2 3",               // text form
        "P5 1 1 255",                     // no pixel data
        std::string("P5 2 2 255\n") + "\x01\x02\x03",  // too short
        "P5 0 1 255\n",                   // no width
        "P5 1 1 100\n\x01",               // a maximum we do not read
        "P5 99999999999 1 255\n",         // a number too long
        "P6 60000 60000 255\n",           // beyond the memory ceiling
        "P5 1 1 255",                     // header not ended
        "P4 -1 1\n",
    };
    for (const auto& text : cases) EXPECT_FALSE(parse(text)) << text;
}

}  // namespace
}  // namespace mvtwain
