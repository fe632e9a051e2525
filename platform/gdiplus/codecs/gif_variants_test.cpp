// GIF files with the extensions that writers other than the common ones put
// in: plain text, labels nobody defines, application blocks with short
// names, control blocks longer or shorter than four bytes, an empty first
// sub-block, stray padding bytes after an extension.
// Each is laid out byte by byte around the same two-pixel image, which must
// come out red and blue whatever the extension.
#include <gtest/gtest.h>

#include <string>

#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class GifVariantsTest : public CodecTest {};

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// A 2 x 1 GIF89a with a global table of red and blue, `before` ahead of the
// image and `after` behind it. The image's LZW codes (3 bits each, from the
// lowest bit): clear 4, index 0, index 1, end 5.
std::vector<std::uint8_t> Gif(const std::string& before, const std::string& after) {
    const std::string header = std::string("GIF89a\x02\0\x01\0\x80\0\0", 13) + std::string("\xFF\0\0\0\0\xFF", 6);
    const std::string image = std::string("\x2C\0\0\0\0\x02\0\x01\0\0", 10) + std::string("\x02\x02\x44\x0A\0", 5);
    return Bytes(header + before + image + after + "\x3B");
}

TEST_F(GifVariantsTest, OddExtensionsAroundTheImageLeaveItsPixels) {
    struct Case {
        const char* name;
        std::string extension;
    };
    const Case cases[] = {
        {"plain text", std::string("\x21\x01\x0C", 3) + std::string(12, '\0') + std::string("\x02hi\0", 4)},
        {"undefined label", std::string("\x21\x99\x03" "abc\0", 7)},
        {"application with a short name", std::string("\x21\xFF\x08" "NETSCAPE\x03\x01\0\0\0", 16)},
        {"control block of five bytes", std::string("\x21\xF9\x05\0\0\0\0\0\0", 9)},
        {"control block of three bytes", std::string("\x21\xF9\x03\0\0\0\0", 7)},
        {"empty first sub-block", std::string("\x21\xFE\0", 3)},
        {"comment in many sub-blocks", std::string("\x21\xFE\x01" "a\x02" "bc\x01" "d\0", 10)},
        {"padding after the extension", std::string("\x21\xFE\x01" "a\0\0\0", 7)},
    };
    for (const Case& c : cases) {
        for (const bool behind : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (behind ? " behind the image" : " ahead of the image"));
            std::unique_ptr<Image> image;
            ASSERT_EQ(Decode(behind ? Gif("", c.extension) : Gif(c.extension, ""), image), Ok);
            ASSERT_EQ(image->GetWidth(), 2u);
            ARGB left = 0, right = 0;
            AsBitmap(*image).GetPixel(0, 0, left);
            AsBitmap(*image).GetPixel(1, 0, right);
            EXPECT_EQ(left, 0xFFFF0000u);
            EXPECT_EQ(right, 0xFF0000FFu);
        }
    }
}

}  // namespace
}  // namespace gdiplus::codecs
