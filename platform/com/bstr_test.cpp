#include "platform/com/bstr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace com {
namespace {

TEST(Bstr, HoldsItsByteLengthBeforeAndANulAfterTheText) {
    BSTR text = SysAllocString(u"Scan");
    ASSERT_NE(text, nullptr);
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const uint8_t*>(text) - 4, 4);
    EXPECT_EQ(bytes, 8u);
    EXPECT_EQ(text[4], u'\0');
    EXPECT_EQ(SysStringLen(text), 4u);
    EXPECT_EQ(SysStringByteLen(text), 8u);
    SysFreeString(text);
}

TEST(Bstr, KeepsEmbeddedNulsAndOddByteLengths) {
    BSTR text = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(BstrView(text), std::u16string_view(u"a\0b", 3));
    SysFreeString(text);
    BSTR odd = SysAllocStringByteLen("abc", 3);
    EXPECT_EQ(SysStringByteLen(odd), 3u);
    EXPECT_EQ(SysStringLen(odd), 1u);
    EXPECT_EQ(reinterpret_cast<const char*>(odd)[3], '\0');
    SysFreeString(odd);
}

TEST(Bstr, NullIsTheEmptyString) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(BstrToUtf8(nullptr), "");
    SysFreeString(nullptr);
    BSTR target = SysAllocString(u"old");
    EXPECT_EQ(SysReAllocString(&target, u"newer"), 1);
    EXPECT_EQ(BstrToUtf8(target), "newer");
    SysFreeString(target);
}

TEST(Bstr, ConvertsUtf8BothWays) {
    BSTR text = AllocBstrUtf8("Grüße €");
    EXPECT_EQ(BstrView(text), u"Grüße €");
    EXPECT_EQ(BstrToUtf8(text), "Grüße €");
    SysFreeString(text);
}

}  // namespace
}  // namespace com
