#include "platform/com/typelib_binary.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/testing/sample_typelib.h"

namespace com {
namespace {

TEST(TypeLibImage, StartsWithTheFormatHeader) {
    auto image = WriteTypeLibImage(testing::SampleTypeLib());
    ASSERT_GE(image.size(), 0x54u);
    EXPECT_EQ(std::memcmp(image.data(), "MSFT", 4), 0);
    EXPECT_EQ(image[4] | image[5] << 8 | image[6] << 16 | image[7] << 24, 0x00010002);
    EXPECT_EQ(image[0x20], 5);  // type entries
}

TEST(TypeLibImage, ReadsBackAsTheModel) {
    auto image = WriteTypeLibImage(testing::SampleTypeLib());
    std::string error;
    auto read = ReadTypeLibImage(image, &error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, testing::SampleTypeLib());
}

TEST(TypeLibImage, RefusesEveryTruncation) {
    auto image = WriteTypeLibImage(testing::SampleTypeLib());
    for (size_t size = 0; size < image.size(); size += 3) {
        std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ReadTypeLibImage(cut)) << "cut at " << size;
    }
}

TEST(TypeLibImage, SurvivesCorruptedBytes) {
    auto image = WriteTypeLibImage(testing::SampleTypeLib());
    // Every byte in turn set to 0xFF: the reader either refuses or reads a
    // model, but never reads outside the image (the sanitizer build checks).
    size_t refused = 0;
    for (size_t i = 8; i < image.size(); ++i) {
        auto bad = image;
        bad[i] = 0xFF;
        refused += ReadTypeLibImage(bad) ? 0 : 1;
    }
    EXPECT_GT(refused, 0u);
}

TEST(TypeLibImage, RefusesAnotherFormat) {
    std::vector<uint8_t> image(200, 0);
    std::memcpy(image.data(), "SLTG", 4);
    std::string error;
    EXPECT_FALSE(ReadTypeLibImage(image, &error));
    EXPECT_EQ(error, "the image does not start with MSFT");
}

}  // namespace
}  // namespace com
