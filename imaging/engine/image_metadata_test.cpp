#include "imaging/engine/image_metadata.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::EngineTest;
using testing_support::RegisterBitmap;

class ImageMetadataTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        id_ = RegisterBitmap(2, 2, gdiplus::PixelFormat24bppRGB);
    }

    gdiplus::PropertyItem ItemOf(int32_t tagId) {
        gdiplus::PropertyItem item;
        EXPECT_EQ(NativeImageOf(id_)->GetPropertyItem(static_cast<gdiplus::PROPID>(tagId), item), gdiplus::Ok);
        return item;
    }

    // The position (from 1) of a tag among the image's items.
    int32_t IndexOf(int32_t tagId) {
        const auto ids = NativeImageOf(id_)->GetPropertyIdList();
        for (size_t i = 0; i < ids.size(); ++i) {
            if (ids[i] == static_cast<gdiplus::PROPID>(tagId)) return static_cast<int32_t>(i) + 1;
        }
        return 0;
    }

    int32_t id_ = 0;
};

TEST_F(ImageMetadataTest, UserCommentGetsItsHeaderAndReadsBackWithoutIt) {
    ASSERT_EQ(SetPropertyItemAscii(id_, 37510, "hello", false), OK);
    const gdiplus::PropertyItem item = ItemOf(37510);
    EXPECT_EQ(item.type, 2);
    EXPECT_EQ(item.length, 13u);
    EXPECT_EQ(std::string(item.value.begin(), item.value.end()), "ASCII   hello");
    std::string text;
    ASSERT_EQ(ExifTagValueText(id_, IndexOf(37510), text), OK);
    EXPECT_EQ(text, "hello");

    ASSERT_EQ(SetPropertyItemAscii(id_, 37510, "ASCII   again", false), OK);
    EXPECT_EQ(ItemOf(37510).length, 13u);
}

TEST_F(ImageMetadataTest, AsciiItemsAreAnsiBytes) {
    ASSERT_EQ(SetPropertyItemAscii(id_, 271, "Caf\u00E9", false), OK);
    const gdiplus::PropertyItem item = ItemOf(271);
    EXPECT_EQ(item.value, (std::vector<uint8_t>{'C', 'a', 'f', 0xE9}));
    std::string text;
    ASSERT_EQ(ExifTagValueText(id_, IndexOf(271), text), OK);
    EXPECT_EQ(text, "Caf\u00E9");
    EXPECT_EQ(SetPropertyItemAscii(id_, 271, "", false), InvalidParameter);
    EXPECT_EQ(SetPropertyItemAscii(id_ + 1, 271, "x", false), InvalidParameter);
}

struct NumberListCase {
    const char* text;
    bool isSigned;
    std::vector<uint8_t> bytes;
};

class LongsTest : public ImageMetadataTest, public testing::WithParamInterface<NumberListCase> {};

TEST_P(LongsTest, WritesLittleEndianValues) {
    const NumberListCase& c = GetParam();
    ASSERT_EQ(SetPropertyItemLongs(id_, 20736, c.text, false, c.isSigned), OK);
    const gdiplus::PropertyItem item = ItemOf(20736);
    EXPECT_EQ(item.type, c.isSigned ? 9 : 4);
    EXPECT_EQ(item.value, c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LongsTest,
    testing::Values(NumberListCase{"10, 25 ,25", false, {10, 0, 0, 0, 25, 0, 0, 0, 25, 0, 0, 0}},
                    NumberListCase{"10,25,25", true, {10, 0, 0, 0, 25, 0, 0, 0, 25, 0, 0, 0}},
                    NumberListCase{"-1", true, {0xFF, 0xFF, 0xFF, 0xFF}},
                    NumberListCase{"2.5,3.5,x", false, {2, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0}},
                    NumberListCase{",", false, {0, 0, 0, 0, 0, 0, 0, 0}}));

TEST_F(ImageMetadataTest, ShortsAndTheirRange) {
    ASSERT_EQ(SetPropertyItemShorts(id_, 20737, "0, -5", false), OK);
    const gdiplus::PropertyItem item = ItemOf(20737);
    EXPECT_EQ(item.type, 3);
    EXPECT_EQ(item.value, (std::vector<uint8_t>{0, 0, 0xFB, 0xFF}));
    // A value outside its integer is a failure, and nothing is written.
    EXPECT_EQ(SetPropertyItemShorts(id_, 20738, "70000", false), GenericError);
    EXPECT_EQ(SetPropertyItemLongs(id_, 20738, "1, 3000000000", false, false), GenericError);
    int32_t size = 0;
    EXPECT_EQ(GetPropertyItemSize(id_, 20738, size), PropertyNotFound);
    EXPECT_EQ(SetPropertyItemShorts(id_, 20738, "", false), InvalidParameter);
    EXPECT_EQ(SetPropertyItemLongs(id_, 20738, "   ", false, false), InvalidParameter);
    // These two do not look the ID up: GDI+ refuses the missing image.
    EXPECT_EQ(SetPropertyItemLongs(id_ + 1, 20738, "1", false, false), InvalidParameter);
}

TEST_F(ImageMetadataTest, WritesMarkTheImageOnlyWhenAsked) {
    ASSERT_EQ(SetPropertyItemAscii(id_, 305, "Scanner", false), OK);
    EXPECT_FALSE(FindImageEntry(id_)->IsModified);
    ASSERT_EQ(SetPropertyItemAscii(id_, 305, "Scanner", true), OK);
    EXPECT_TRUE(FindImageEntry(id_)->IsModified);
}

TEST_F(ImageMetadataTest, ItemsByPositionAndSize) {
    ASSERT_EQ(SetPropertyItemShorts(id_, 296, "2", false), OK);
    ASSERT_EQ(SetPropertyItemAscii(id_, 305, "Scanner", false), OK);
    int32_t count = 0;
    ASSERT_EQ(GetImagePropertyCount(id_, count), OK);
    ASSERT_EQ(count, 2);
    EXPECT_FALSE(PropertyItemAt(id_, 0, count).has_value());
    EXPECT_FALSE(PropertyItemAt(id_, 3, count).has_value());
    const auto second = PropertyItemAt(id_, 2, count);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->ID(), 305);
    EXPECT_EQ(second->name(), "SoftwareUsed");
    int32_t size = 0;
    ASSERT_EQ(GetPropertyItemSize(id_, 305, size), OK);
    EXPECT_EQ(size, 16 + 7);
    EXPECT_FALSE(PropertyItemById(id_, 306).has_value());

    ASSERT_EQ(RemoveImagePropertyItem(id_, 296), OK);
    EXPECT_EQ(RemoveImagePropertyItem(id_, 296), PropertyNotFound);
    EXPECT_EQ(GetPropertyCountOrZero(id_ + 1, count), OK);
    EXPECT_EQ(count, 0);
}

TEST_F(ImageMetadataTest, ValueTextFailuresAreStatusesNotCrashes) {
    const std::vector<uint8_t> overZero{3, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(SetPropertyItemValues(id_, 282, 5, overZero, false), OK);
    std::string text = "stale";
    EXPECT_EQ(ExifTagValueText(id_, 1, text), GenericError);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ExifTagValueText(id_, 2, text), InvalidParameter);
    EXPECT_EQ(ExifTagValueText(id_ + 1, 1, text), InvalidParameter);
    EXPECT_EQ(SetPropertyItemRaw(id_, 1, 1, 4, nullptr, false), InvalidParameter);
    EXPECT_EQ(SetPropertyItemRaw(id_, 1, 70000, 0, nullptr, false), InvalidParameter);
}

}  // namespace
}  // namespace scanvelt
