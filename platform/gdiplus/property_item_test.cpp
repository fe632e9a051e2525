#include "platform/gdiplus/property_item.h"

#include <gtest/gtest.h>

#include "platform/gdiplus/test_support.h"

namespace gdiplus {
namespace {

class PropertyItemTest : public testing_support::StartedTest {};

TEST_F(PropertyItemTest, ItemsOfEveryTypeRoundTripInTheirOrder) {
    auto bitmap = testing_support::MakeBitmap(1, 1, PixelFormat24bppRGB);
    const PropertyItem items[] = {
        {0x0100, 1, PropertyTagTypeByte, {7}},
        {0x010F, 5, PropertyTagTypeASCII, {'A', 'c', 'm', 'e', 0}},
        {0x0112, 2, PropertyTagTypeShort, {1, 0}},
        {0x5100, 8, PropertyTagTypeLong, {10, 0, 0, 0, 25, 0, 0, 0}},
        {PropertyTagXResolution, 8, PropertyTagTypeRational, {44, 1, 0, 0, 1, 0, 0, 0}},
        {0x9000, 1, PropertyTagTypeSByte, {0xFF}},
        {0x9286, 0, PropertyTagTypeUndefined, {}},
        {0x9001, 2, PropertyTagTypeSShort, {0xFE, 0xFF}},
        {0x9002, 4, PropertyTagTypeSLONG, {0xFF, 0xFF, 0xFF, 0xFF}},
        {0x9201, 8, PropertyTagTypeSRational, {1, 0, 0, 0, 2, 0, 0, 0}},
        {0x9003, 4, PropertyTagTypeFloat, {0, 0, 0x80, 0x3F}},
        {0x9004, 8, PropertyTagTypeDouble, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
    };
    for (const auto& item : items) ASSERT_EQ(bitmap->SetPropertyItem(item), Ok) << item.id;

    EXPECT_EQ(bitmap->GetPropertyCount(), std::size(items));
    std::vector<PROPID> ids;
    std::uint32_t total = 0;
    for (const auto& item : items) {
        ids.push_back(item.id);
        total += kPropertyItemHeaderSize + item.length;
        PropertyItem read;
        ASSERT_EQ(bitmap->GetPropertyItem(item.id, read), Ok);
        EXPECT_EQ(read, item);
        std::uint32_t size = 0;
        ASSERT_EQ(bitmap->GetPropertyItemSize(item.id, size), Ok);
        EXPECT_EQ(size, 16 + item.length);
    }
    EXPECT_EQ(bitmap->GetPropertyIdList(), ids);
    std::uint32_t totalSize = 0, count = 0;
    bitmap->GetPropertySize(totalSize, count);
    EXPECT_EQ(totalSize, total);
    EXPECT_EQ(count, std::size(items));
}

TEST_F(PropertyItemTest, SettingAnIdAgainReplacesItInPlace) {
    auto bitmap = testing_support::MakeBitmap(1, 1, PixelFormat24bppRGB);
    ASSERT_EQ(bitmap->SetPropertyItem({1, 1, PropertyTagTypeByte, {1}}), Ok);
    ASSERT_EQ(bitmap->SetPropertyItem({2, 1, PropertyTagTypeByte, {2}}), Ok);
    ASSERT_EQ(bitmap->SetPropertyItem({1, 2, PropertyTagTypeShort, {3, 0}}), Ok);
    EXPECT_EQ(bitmap->GetPropertyIdList(), (std::vector<PROPID>{1, 2}));
    PropertyItem read;
    ASSERT_EQ(bitmap->GetPropertyItem(1, read), Ok);
    EXPECT_EQ(read, (PropertyItem{1, 2, PropertyTagTypeShort, {3, 0}}));
}

TEST_F(PropertyItemTest, OnlyTheStatedLengthIsKept) {
    auto bitmap = testing_support::MakeBitmap(1, 1, PixelFormat24bppRGB);
    // An ASCII item whose closing zero follows the value without being counted.
    ASSERT_EQ(bitmap->SetPropertyItem({0x9286, 3, PropertyTagTypeASCII, {'a', 'b', 'c', 0}}), Ok);
    PropertyItem read;
    ASSERT_EQ(bitmap->GetPropertyItem(0x9286, read), Ok);
    EXPECT_EQ(read.value, (std::vector<std::uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(bitmap->SetPropertyItem({0x9287, 4, PropertyTagTypeLong, {1, 2}}), InvalidParameter);
    EXPECT_EQ(bitmap->GetPropertyCount(), 1u);
}

TEST_F(PropertyItemTest, MissingItemsAreReportedAsNotFound) {
    auto bitmap = testing_support::MakeBitmap(1, 1, PixelFormat24bppRGB);
    ASSERT_EQ(bitmap->SetPropertyItem({5, 1, PropertyTagTypeByte, {1}}), Ok);
    PropertyItem read;
    std::uint32_t size = 99;
    EXPECT_EQ(bitmap->GetPropertyItem(6, read), PropertyNotFound);
    EXPECT_EQ(bitmap->GetPropertyItemSize(6, size), PropertyNotFound);
    EXPECT_EQ(size, 99u);
    EXPECT_EQ(bitmap->RemovePropertyItem(6), PropertyNotFound);
    EXPECT_EQ(bitmap->RemovePropertyItem(5), Ok);
    EXPECT_EQ(bitmap->RemovePropertyItem(5), PropertyNotFound);
    EXPECT_EQ(bitmap->GetPropertyCount(), 0u);
    EXPECT_TRUE(bitmap->GetPropertyIdList().empty());
}

}  // namespace
}  // namespace gdiplus
