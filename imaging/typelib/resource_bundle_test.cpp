#include "imaging/typelib/resource_bundle.h"

#include <gtest/gtest.h>

namespace scanvelt::typelib {
namespace {

TEST(ResourceBundle, CarriesTheServerResources) {
    auto resources = ScanveltResources();
    auto bytes = WriteResourceBundle(resources);
    auto read = ReadResourceBundle(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, resources);
    ASSERT_GE(read->size(), 9u);
    EXPECT_EQ((*read)[0].kind, ResourceKind::TypeLib);
    EXPECT_EQ((*read)[0].number, 1u);
    EXPECT_EQ((*read)[1].number, 30000u);
    EXPECT_EQ((*read)[2].number, 30001u);
    EXPECT_EQ((*read)[3].name, "_IID_TWAIN");
    EXPECT_EQ((*read)[3].data.size(), 4u + 9 * 16);
    EXPECT_EQ((*read)[3].data[0], 9);
    EXPECT_EQ((*read)[8].name, "OLESelfRegister");
}

TEST(ResourceBundle, ToolboxBitmapsAreSixteenPixelBmpFiles) {
    auto bmp = ToolboxBitmap('T');
    ASSERT_EQ(bmp.size(), 14u + 40 + 16 * 16 * 3);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(bmp[18], 16);  // width
    EXPECT_EQ(bmp[22], 16);  // height
    EXPECT_EQ(bmp[28], 24);  // bits per pixel
    EXPECT_NE(ToolboxBitmap('T'), ToolboxBitmap('V'));
}

TEST(ResourceBundle, RefusesCutOrForeignBytes) {
    auto bytes = WriteResourceBundle(ScanveltResources());
    for (size_t size : {size_t{0}, size_t{3}, size_t{8}, size_t{40}, bytes.size() - 1}) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_FALSE(ReadResourceBundle(cut)) << size;
    }
    auto foreign = bytes;
    foreign[0] = 'X';
    EXPECT_FALSE(ReadResourceBundle(foreign));
}

}  // namespace
}  // namespace scanvelt::typelib
