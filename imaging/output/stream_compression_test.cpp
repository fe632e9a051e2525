#include "imaging/output/stream_compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "imaging/output/testing/pdf_test_support.h"

namespace scanvelt {
namespace {

std::string Inflate(const std::vector<uint8_t>& packed, size_t size) {
    std::string out(size, '\0');
    uLongf length = size;
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &length, packed.data(), packed.size()) != Z_OK) return "";
    out.resize(length);
    return out;
}

TEST(StreamCompressionTest, FlateDataInflatesToTheSource) {
    const std::string text = "BT\r\n/Font1 12 Tf\r\n100 700 Td\r\n(Total) Tj\r\nET\r\n";
    std::vector<uint8_t> packed;
    ASSERT_TRUE(CompressText(CompressorKind::ZlibLibrary, text, packed));
    EXPECT_EQ(Inflate(packed, text.size()), text);
    // A thousand equal bytes pack into far fewer.
    const std::vector<uint8_t> source(1000, 'x');
    for (int16_t level : {0, 1, 9}) {
        ASSERT_TRUE(CompressBytes(CompressorKind::ZlibLibrary, source, packed, level));
        EXPECT_EQ(Inflate(packed, 1000), std::string(1000, 'x'));
        if (level > 0) {
            EXPECT_LT(packed.size(), 100u);
        }
    }
}

TEST(StreamCompressionTest, EmptySourcesAndAMissingCompressorFail) {
    std::vector<uint8_t> packed{1, 2, 3};
    EXPECT_FALSE(CompressText(CompressorKind::ZlibLibrary, "", packed));
    EXPECT_TRUE(packed.empty());
    packed = {1};
    EXPECT_FALSE(CompressText(CompressorKind::None, "BT ET", packed));
    EXPECT_TRUE(packed.empty());
}

TEST(StreamCompressionTest, AOneByteSourceStillCompresses) {
    std::vector<uint8_t> packed;
    ASSERT_TRUE(CompressText(CompressorKind::ZlibLibrary, "q", packed));
    EXPECT_EQ(Inflate(packed, 1), "q");
}

class CcittCompressionTest : public testing_support::WithBuildTreePlugin {};

TEST_F(CcittCompressionTest, GroupFourCodeOfAWhitePageIsSmall) {
    // 64 x 64 white (clear bits), one black row across the middle.
    std::vector<uint8_t> rows(8 * 64, 0);
    for (int x = 0; x < 8; ++x) rows[32 * 8 + x] = 0xFF;
    std::vector<uint8_t> code;
    std::string failure;
    ASSERT_TRUE(CompressCcittG4(rows, code, 64, 64, 8, failure)) << failure;
    EXPECT_FALSE(code.empty());
    EXPECT_LT(code.size(), 40u);
}

TEST_F(CcittCompressionTest, RowsShorterThanTheirDescriptionFail) {
    std::vector<uint8_t> rows(10, 0);
    std::vector<uint8_t> code{1};
    std::string failure;
    EXPECT_FALSE(CompressCcittG4(rows, code, 64, 64, 8, failure));
    EXPECT_TRUE(code.empty());
    EXPECT_FALSE(failure.empty());
}

TEST(CcittCompressionWithoutPluginTest, SaysThatThePluginIsMissing) {
    testing_support::WithMissingPlugin([] {
        std::vector<uint8_t> rows(8, 0);
        std::vector<uint8_t> code{1};
        std::string failure;
        EXPECT_FALSE(CompressCcittG4(rows, code, 8, 8, 1, failure));
        EXPECT_TRUE(code.empty());
        EXPECT_EQ(failure, "File not found: mvimgplug.dll");
    });
}

}  // namespace
}  // namespace scanvelt
