// Files of a few hundred bytes that claim gigabytes are refused with
// InvalidParameter before anything of that size is allocated (the sanitizer
// build runs these too, where such an allocation would also fail the test).
#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class DecompressionBombTest : public CodecTest {};

// The bound is wide (the machine may be busy); an allocation of a gigabyte
// and its clearing take seconds.
constexpr auto kQuickly = std::chrono::milliseconds(500);

void PutChunk(std::vector<std::uint8_t>& png, std::vector<std::uint8_t> chunk) {
    PutU32(png, static_cast<std::uint32_t>(chunk.size() - 4), true);
    png.insert(png.end(), chunk.begin(), chunk.end());
    PutU32(png, static_cast<std::uint32_t>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size()))), true);
}

// 57 bytes: signature, a 1 x 1 header, and a chunk of `type` that declares
// 1 GiB of data of which 16 bytes follow.
std::vector<std::uint8_t> PngDeclaringAHugeChunk(const char* type) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header = {'I', 'H', 'D', 'R'};
    PutU32(header, 1, true);
    PutU32(header, 1, true);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(png, header);
    PutU32(png, 1u << 30, true);
    png.insert(png.end(), type, type + 4);
    png.resize(png.size() + 16, 'x');
    return png;
}

// 214 bytes: a 4-bit run-length BMP of 117,440,521 x 1 pixels and the given
// number of planes, whose runs could draw a few thousand pixels at most.
std::vector<std::uint8_t> RleBmpBomb(std::uint16_t planes) {
    std::vector<std::uint8_t> file = {'B', 'M'};
    PutU32(file, 214);
    PutU32(file, 0);
    PutU32(file, 14 + 40 + 64);
    PutU32(file, 40);
    PutU32(file, 117'440'521);
    PutU32(file, 1);
    PutU16(file, planes);
    PutU16(file, 4);
    PutU32(file, 2);  // RLE4
    PutU32(file, 96);
    PutU32(file, 2835);
    PutU32(file, 2835);
    PutU32(file, 16);
    PutU32(file, 0);
    for (std::uint32_t i = 0; i < 16; ++i) PutU32(file, i * 0x111111u);
    // Runs of 255 pixels, then the end of the bitmap.
    while (file.size() < 212) file.insert(file.end(), {255, 0x12});
    file.insert(file.end(), {0, 1});
    return file;
}

void ExpectRefusedQuickly(const std::vector<std::uint8_t>& bytes) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<Image> image;
    EXPECT_EQ(Decode(bytes, image), InvalidParameter);
    EXPECT_FALSE(image);
    EXPECT_LT(std::chrono::steady_clock::now() - start, kQuickly);
}

TEST_F(DecompressionBombTest, APngDeclaringAGigabyteChunkIsRefusedAtOnce) {
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sCAL", "pCAL", "sPLT"}) {
        SCOPED_TRACE(type);
        const std::vector<std::uint8_t> png = PngDeclaringAHugeChunk(type);
        ASSERT_EQ(png.size(), 57u);
        ExpectRefusedQuickly(png);
    }
}

TEST_F(DecompressionBombTest, ARunLengthBmpOfAHundredMillionPixelsIsRefused) {
    for (std::uint16_t planes : {0, 1}) {
        SCOPED_TRACE(planes);
        const std::vector<std::uint8_t> bmp = RleBmpBomb(planes);
        ASSERT_EQ(bmp.size(), 214u);
        ExpectRefusedQuickly(bmp);
    }
}

TEST_F(DecompressionBombTest, SizesAreJudgedAgainstTheFile) {
    // A 4000 x 4000 ARGB page (64 MB) needs more than a few bytes of file ...
    EXPECT_EQ(CheckDecodedSize(4000, 4000, 32, 200), InvalidParameter);
    // ... but not more than its compression can pack, and small images are never judged.
    EXPECT_EQ(CheckDecodedSize(4000, 4000, 32, 64'000'000 / kMaxDecodedBytesPerFileByte + 1), Ok);
    EXPECT_EQ(CheckDecodedSize(1000, 1000, 32, 1), Ok);
    // Beyond the ceiling nothing helps.
    EXPECT_EQ(CheckDecodedSize(1u << 20, 1u << 20, 32, 1ull << 40), InvalidParameter);
}

}  // namespace
}  // namespace gdiplus::codecs
