#include "platform/gdiplus/codecs/tiff_tags.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/gdiplus/codecs/codec_support.h"
#include "platform/gdiplus/codecs/codec_test_support.h"

namespace gdiplus::codecs {
namespace {

using testing_support::Ascii;
using testing_support::Item;
using testing_support::Rationals;

TEST(TiffTagsTest, ItemsRoundTripThroughTheirIfds) {
    const std::vector<PropertyItem> items = {
        Item(0x010F, PropertyTagTypeASCII, Ascii("maker")),
        Item(0x0112, PropertyTagTypeShort, {1, 0}),
        Item(0x011A, PropertyTagTypeRational, Rationals({{300, 1}})),
        Item(0x9000, PropertyTagTypeUndefined, {'0', '2', '3', '0'}),
        Item(0x920A, PropertyTagTypeRational, Rationals({{50, 1}})),
        Item(0x0000, PropertyTagTypeByte, {2, 3, 0, 0}),
        Item(0x0004, PropertyTagTypeRational, Rationals({{13, 1}, {24, 1}, {0, 1}})),
        Item(0x9999, PropertyTagTypeDouble, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}),
    };
    std::vector<PropertyItem> read;
    ASSERT_EQ(ReadTiffTags(WriteTiffTags(items), 0, read), Ok);
    for (const auto& item : items) {
        SCOPED_TRACE(item.id);
        auto it = std::find_if(read.begin(), read.end(), [&](const PropertyItem& r) { return r.id == item.id; });
        ASSERT_NE(it, read.end());
        EXPECT_EQ(*it, item);
    }
}

TEST(TiffTagsTest, EachItemIsToldTheIfdItWasReadFrom) {
    // 0xC612 lands in IFD0 by its number, 0x829A in the EXIF IFD, 0x0002 in the GPS IFD.
    const std::vector<PropertyItem> items = {
        Item(0x010F, PropertyTagTypeASCII, Ascii("maker")),
        Item(0x829A, PropertyTagTypeRational, Rationals({{1, 60}})),
        Item(0x0002, PropertyTagTypeRational, Rationals({{13, 1}, {24, 1}, {0, 1}})),
        Item(0xC612, PropertyTagTypeShort, {7, 0}),
    };
    std::vector<PropertyItem> read;
    std::vector<TagDirectory> directories;
    ASSERT_EQ(ReadTiffTags(WriteTiffTags(items), 0, read, directories), Ok);
    ASSERT_EQ(directories.size(), read.size());
    std::map<PROPID, TagDirectory> found;
    for (std::size_t i = 0; i < read.size(); ++i) found[read[i].id] = directories[i];
    EXPECT_EQ(found.at(0x010F), TagDirectory::Main);
    EXPECT_EQ(found.at(0xC612), TagDirectory::Main);
    EXPECT_EQ(found.at(kTagExifIfd), TagDirectory::Main);
    EXPECT_EQ(found.at(kTagGpsIfd), TagDirectory::Main);
    EXPECT_EQ(found.at(0x829A), TagDirectory::Exif);
    EXPECT_EQ(found.at(0x0002), TagDirectory::Gps);
}

TEST(TiffTagsTest, LayerItemsAndBrokenItemsAreNotWritten) {
    const std::vector<PropertyItem> items = {
        Item(PropertyTagFrameDelay, PropertyTagTypeLong, {10, 0, 0, 0}),
        Item(0x0110, PropertyTagTypeShort, {1, 2, 3}),  // not a whole number of shorts
        Item(0x0131, PropertyTagTypeASCII, Ascii("kept")),
    };
    std::vector<PropertyItem> read;
    ASSERT_EQ(ReadTiffTags(WriteTiffTags(items), 0, read), Ok);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].id, 0x0131u);
}

// A big-endian block by hand: IFD0 with a SHORT, a RATIONAL out of line, an
// entry pointing past the end and one of an unknown type.
TEST(TiffTagsTest, BigEndianValuesAreTurnedLittleEndianAndBadEntriesSkipped) {
    std::vector<std::uint8_t> b = {'M', 'M', 0, 42, 0, 0, 0, 8};
    PutU16(b, 4, true);
    auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t count, std::uint32_t value) {
        PutU16(b, tag, true);
        PutU16(b, type, true);
        PutU32(b, count, true);
        PutU32(b, value, true);
    };
    entry(0x0112, PropertyTagTypeShort, 1, 0x00060000);
    entry(0x011A, PropertyTagTypeRational, 1, 8 + 2 + 4 * 12 + 4);
    entry(0x011B, PropertyTagTypeRational, 1, 0x7FFFFFF0);
    entry(0x0200, 99, 1, 0);
    PutU32(b, 0, true);
    PutU32(b, 72, true);
    PutU32(b, 1, true);
    std::vector<PropertyItem> read;
    ASSERT_EQ(ReadTiffTags(b, 0, read), Ok);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0], Item(0x0112, PropertyTagTypeShort, {6, 0}));
    EXPECT_EQ(read[1], Item(0x011A, PropertyTagTypeRational, Rationals({{72, 1}})));
}

TEST(TiffTagsTest, BrokenBlocksAreRefused) {
    std::vector<std::uint8_t> looping = {'I', 'I', 42, 0, 8, 0, 0, 0, 0, 0, 8, 0, 0, 0};  // IFD0 points at itself
    std::vector<std::uint8_t> overlong = {'I', 'I', 42, 0, 8, 0, 0, 0, 0xFF, 0xFF};
    std::vector<PropertyItem> read;
    EXPECT_EQ(ReadTiffTags(looping, 0, read), Ok);
    EXPECT_EQ(ReadTiffTags(looping, 5, read), InvalidParameter);
    EXPECT_EQ(ReadTiffTags(overlong, 0, read), InvalidParameter);
    EXPECT_EQ(ReadTiffTags(std::vector<std::uint8_t>{'I', 'I', 43, 0, 8, 0, 0, 0}, 0, read), InvalidParameter);
    EXPECT_EQ(ReadTiffTags(std::vector<std::uint8_t>{'I', 'I'}, 0, read), InvalidParameter);
}

}  // namespace
}  // namespace gdiplus::codecs
