// Icons keep their transparency: every depth of icon written here and the
// public icons Debian ships decode to the pixels ImageMagick reads from them,
// alpha included (an AND mask, or a 32-bit icon's own alpha).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"
#include "platform/gdiplus/codecs/icon_test_files.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;
using namespace icon_test_files;
namespace fs = std::filesystem;

class IcoTransparency : public CodecTest {
protected:
    // What the decoder makes of the file, as BGRA rows top first.
    static std::vector<std::uint8_t> DecodedBgra(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::unique_ptr<Image> image;
        EXPECT_EQ(Decode(bytes, image), Ok);
        PixelBuffer pixels;
        if (!image || ReadPixels(*image, PixelFormat32bppARGB, pixels) != Ok) return {};
        std::vector<std::uint8_t> out;
        for (std::uint32_t y = 0; y < pixels.height; ++y) out.insert(out.end(), pixels.Row(y), pixels.Row(y) + 4 * pixels.width);
        return out;
    }
    ScratchFolder scratch_;
};

TEST_F(IcoTransparency, EveryDepthAndThePublicIconsDecodeAsImageMagickReadsThem) {
    if (!fs::exists(kImageMagickConvert)) GTEST_SKIP() << "ImageMagick's convert is not installed (scripts/setup)";
    for (const auto& [path, differing] : IconsReadDifferentlyFromImageMagick(scratch_.path(), DecodedBgra))
        EXPECT_EQ(differing, 0) << path;
}

}  // namespace
}  // namespace gdiplus::codecs
