#include "imaging/engine/encoder_table.h"

#include <gtest/gtest.h>

#include "imaging/engine/imaging_session.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/gdiplus/image_format.h"

namespace scanvelt {
namespace {

TEST(EncoderTable, IsBuiltAtTheFirstStartAndFindsEveryPatternInAnyCase) {
    testing_support::OnFreshThread([] {
        EXPECT_EQ(EncoderIndexOf("*.jpg"), -1);  // no table before the first start
        // The first start registers the built-in codecs (when another start
        // has not already done so) and lists their encoders.
        ASSERT_TRUE(StartImaging());

        const int32_t jpeg = EncoderIndexOf("*.jpg");
        ASSERT_GE(jpeg, 0);
        EXPECT_EQ(EncoderClsid(jpeg), gdiplus::kJpegCodec.clsid);
        for (const char* pattern : {"*.JPG", "*.Jpeg", "*.jpe", "*.JFIF"}) EXPECT_EQ(EncoderIndexOf(pattern), jpeg);
        const int32_t bmp = EncoderIndexOf("*.dib");
        ASSERT_GE(bmp, 0);
        EXPECT_EQ(EncoderClsid(bmp), gdiplus::kBmpCodec.clsid);
        EXPECT_EQ(EncoderIndexOf("*.pcx"), -1);  // no codec writes it
        EXPECT_EQ(EncoderIndexOf("jpg"), -1);
        StopImaging();
    });
}

TEST(EncoderTable, KeysOfOneEncoder) {
    testing_support::OnFreshThread([] {
        // Parts ending at a separator are kept as they are; the last part is trimmed.
        AddEncoderKeys("*.A; *.B ;  *.C  ", ";", 4);
        EXPECT_EQ(EncoderIndexOf("*.a"), 4);
        EXPECT_EQ(EncoderIndexOf(" *.B "), 4);
        EXPECT_EQ(EncoderIndexOf("*.B"), -1);
        EXPECT_EQ(EncoderIndexOf("*.c"), 4);
        // A pattern already listed keeps the first encoder that listed it.
        AddEncoderKeys("*.a;*.d", ";", 5);
        EXPECT_EQ(EncoderIndexOf("*.A"), 4);
        EXPECT_EQ(EncoderIndexOf("*.D"), 5);
        AddEncoderKeys("   ", ";", 6);
        EXPECT_EQ(EncoderIndexOf(""), -1);
    });
}

TEST(EncoderTable, ClsidOutsideTheTableIsTheNullGuid) {
    testing_support::OnFreshThread([] {
        EXPECT_TRUE(EncoderClsid(-1).IsNull());
        EXPECT_TRUE(EncoderClsid(0).IsNull());
    });
}

}  // namespace
}  // namespace scanvelt
