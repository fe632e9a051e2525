#include "imaging/engine/gdip_property_item.h"

#include <gtest/gtest.h>

#include <vector>

namespace scanvelt {
namespace {

struct CountCase {
    int32_t type;
    int32_t length;
    int32_t count;
};

class ValueCountTest : public testing::TestWithParam<CountCase> {};

TEST_P(ValueCountTest, ByTypeWithHalvesToEven) {
    cGDIPPropertyItem item;
    item.Init(1, GetParam().length, GetParam().type, nullptr, 0);
    EXPECT_EQ(item.ValueCount(), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Types, ValueCountTest,
                         testing::Values(CountCase{3, 6, 3}, CountCase{3, 3, 2}, CountCase{8, 5, 2},
                                         CountCase{2, 20, 1}, CountCase{5, 16, 2}, CountCase{10, 12, 2},
                                         CountCase{12, 20, 2}, CountCase{4, 10, 2}, CountCase{9, 6, 2},
                                         CountCase{11, 14, 4}, CountCase{1, 5, 5}, CountCase{6, 3, 3},
                                         CountCase{7, 9, 9}, CountCase{13, 8, 0}, CountCase{0, 8, 0}));

TEST(GdipPropertyItem, CopiesTheValueBehindTheHeader) {
    const std::vector<uint8_t> value{'C', 'a', 'm', 0};
    cGDIPPropertyItem item;
    item.Init(271, 4, 2, value.data(), 16 + 4);
    EXPECT_EQ(item.ID(), 271);
    EXPECT_EQ(item.Length(), 4);
    EXPECT_EQ(item.ItemType(), 2);
    EXPECT_EQ(item.name(), "EquipMake");
    ASSERT_NE(item.DataPtr(), nullptr);
    EXPECT_NE(item.DataPtr(), value.data());  // a copy of its own
    std::vector<uint8_t> bytes{9};
    item.GetDataB(bytes);
    EXPECT_EQ(bytes, value);
}

TEST(GdipPropertyItem, WithoutAValueThereIsNothingToCopy) {
    const std::vector<uint8_t> value{1, 2};
    for (const auto& [length, total] : {std::pair{0, 18}, std::pair{2, 16}}) {
        cGDIPPropertyItem item;
        item.Init(34853, length, 1, value.data(), total);
        EXPECT_EQ(item.DataPtr(), nullptr);
        EXPECT_EQ(item.name(), "8825");
        std::vector<uint8_t> bytes{7};
        item.GetDataB(bytes);
        if (length < 1) EXPECT_EQ(bytes, std::vector<uint8_t>{7});  // left alone
        else EXPECT_TRUE(bytes.empty());
    }
    cGDIPPropertyItem empty;
    EXPECT_EQ(empty.ID(), 0);
    EXPECT_EQ(empty.ValueCount(), 0);
}

}  // namespace
}  // namespace scanvelt
