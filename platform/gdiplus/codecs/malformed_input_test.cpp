// Broken files of every format are refused with a status, never a crash
// (the sanitizer build runs these too).
#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using namespace testing_support;

class MalformedInputTest : public CodecTest {};

std::vector<std::uint8_t> Half(std::vector<std::uint8_t> bytes) {
    bytes.resize(bytes.size() / 2);
    return bytes;
}

void PutChunk(std::vector<std::uint8_t>& png, std::vector<std::uint8_t> chunk) {
    PutU32(png, static_cast<std::uint32_t>(chunk.size() - 4), true);
    png.insert(png.end(), chunk.begin(), chunk.end());
    PutU32(png, static_cast<std::uint32_t>(crc32(0, chunk.data(), static_cast<uInt>(chunk.size()))), true);
}

// A PNG whose header chunk claims the given size (CRCs right), with no data.
std::vector<std::uint8_t> PngClaiming(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> header = {'I', 'H', 'D', 'R'};
    PutU32(header, width, true);
    PutU32(header, height, true);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    PutChunk(png, header);
    PutChunk(png, {'I', 'D', 'A', 'T'});
    PutChunk(png, {'I', 'E', 'N', 'D'});
    return png;
}

std::vector<std::uint8_t> BmpFile(std::uint32_t headerSize, std::int32_t width, std::int32_t height,
                                  std::size_t pixelBytes) {
    std::vector<std::uint8_t> file = {'B', 'M'};
    PutU32(file, 0);
    PutU32(file, 0);
    PutU32(file, 14 + 40);
    PutU32(file, headerSize);
    PutU32(file, static_cast<std::uint32_t>(width));
    PutU32(file, static_cast<std::uint32_t>(height));
    PutU16(file, 1);
    PutU16(file, 24);
    file.resize(14 + 40 + pixelBytes, 0);
    return file;
}

TEST_F(MalformedInputTest, BrokenFilesOfEveryFormatAreRefused) {
    auto picture = Pattern(64, 48, PixelFormat24bppRGB);
    std::vector<std::uint8_t> tiffPointingAway = {'I', 'I', 42, 0, 0xF0, 0xFF, 0xFF, 0x7F};
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        Status status;
    };
    const std::vector<Case> cases = {
        {"BmpShortPixels", BmpFile(40, 4, 4, 47), InvalidParameter},
        {"BmpHeaderSize30", BmpFile(30, 4, 4, 48), InvalidParameter},
        {"BmpHugeDimensions", BmpFile(40, 1 << 20, 1 << 20, 16), InvalidParameter},
        {"BmpSignatureOnly", {'B', 'M'}, InvalidParameter},
        {"PngTruncated", Half(Encode(*picture, kPngCodec.clsid)), InvalidParameter},
        {"PngHugeDimensions", PngClaiming(900000, 900000), InvalidParameter},
        {"PngZeroWidth", PngClaiming(0, 10), InvalidParameter},
        {"JpegTruncated", Half(Encode(*picture, kJpegCodec.clsid)), InvalidParameter},
        {"JpegMarkersOnly", {0xFF, 0xD8, 0xFF, 0xD9}, InvalidParameter},
        {"GifTruncated", Half(Encode(*picture, kGifCodec.clsid)), InvalidParameter},
        {"GifHeaderOnly", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, InvalidParameter},
        {"TiffTruncated", Half(Encode(*picture, kTiffCodec.clsid)), InvalidParameter},
        {"TiffDirectoryPastTheEnd", tiffPointingAway, InvalidParameter},
        {"IcoWithoutImages", {0, 0, 1, 0, 0, 0}, InvalidParameter},
        {"NothingKnown", {'n', 'o', 'p', 'e'}, UnknownImageFormat},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Image> image;
        EXPECT_EQ(Decode(c.bytes, image), c.status);
        EXPECT_FALSE(image);
    }
}

TEST_F(MalformedInputTest, TheDecodeBudgetBoundsWhatAFileMayAskFor) {
    auto picture = Pattern(64, 48, PixelFormat24bppRGB);
    const std::uint64_t saved = MaxDecodedImageBytes();
    SetMaxDecodedImageBytes(64 * 48 * 3 - 1);  // one byte short of the 24-bit pixels
    for (const Guid& clsid : {kBmpCodec.clsid, kPngCodec.clsid, kJpegCodec.clsid, kTiffCodec.clsid}) {
        std::unique_ptr<Image> image;
        EXPECT_EQ(Decode(Encode(*picture, clsid), image), InvalidParameter);
    }
    SetMaxDecodedImageBytes(saved);
}

}  // namespace
}  // namespace gdiplus::codecs
