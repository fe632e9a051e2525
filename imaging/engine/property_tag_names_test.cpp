#include "imaging/engine/property_tag_names.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

struct NameCase {
    int32_t tagId;
    const char* name;
};

class PropertyTagNameTest : public testing::TestWithParam<NameCase> {};

TEST_P(PropertyTagNameTest, GivesTheTableNameOrTheHexadecimalId) {
    EXPECT_EQ(PropertyTagName(GetParam().tagId), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PropertyTagNameTest,
    testing::Values(NameCase{0, "GpsVer"}, NameCase{30, "GpsDifferential"}, NameCase{31, "1F"},
                    NameCase{271, "EquipMake"}, NameCase{282, "XResolution"}, NameCase{301, "TransferFuncition"},
                    NameCase{512, "JPEroc"}, NameCase{516, "204"}, NameCase{20507, "ThumbnailData"},
                    NameCase{20539, "ThumbnailCopyRight"}, NameCase{20736, "FrameDelay"},
                    NameCase{20737, "LoopCount"}, NameCase{34853, "8825"}, NameCase{37510, "ExifUserComment"},
                    NameCase{41996, "SubjectDistanceRange"}, NameCase{50341, "PrintIMData"},
                    NameCase{65535, "FFFF"}, NameCase{-1, "FFFFFFFF"}));

}  // namespace
}  // namespace scanvelt
