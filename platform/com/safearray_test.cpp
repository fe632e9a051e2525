#include "platform/com/safearray.h"

#include <gtest/gtest.h>

#include "platform/com/bstr.h"

namespace com {
namespace {

TEST(SafeArray, ByteVectorHasItsBoundsAndData) {
    const uint8_t bytes[] = {9, 8, 7, 6};
    SAFEARRAY* array = ByteArrayFrom(bytes);
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->cDims, 1);
    EXPECT_EQ(array->cbElements, 1u);
    int32_t low = -1, high = -1;
    EXPECT_EQ(SafeArrayGetLBound(array, 1, &low), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(array, 1, &high), S_OK);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 3);
    EXPECT_EQ(SafeArrayGetUBound(array, 2, &high), DISP_E_BADINDEX);
    VARTYPE vt = 0;
    EXPECT_EQ(SafeArrayGetVartype(array, &vt), S_OK);
    EXPECT_EQ(vt, VT_UI1);
    EXPECT_EQ(BytesOf(array), (std::vector<uint8_t>{9, 8, 7, 6}));
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArray, AnEmptyArrayHasUpperBoundBelowLower) {
    SAFEARRAY* array = ByteArrayFrom({});
    int32_t high = 0;
    SafeArrayGetUBound(array, 1, &high);
    EXPECT_EQ(high, -1);
    EXPECT_TRUE(BytesOf(array).empty());
    SafeArrayDestroy(array);
}

TEST(SafeArray, LockedArrayIsNotDestroyed) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 1, 2);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    EXPECT_NE(SafeArrayDestroy(array), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArray, StringArrayFreesItsStrings) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, 2);
    static_cast<BSTR*>(array->pvData)[0] = SysAllocString(u"a");
    SAFEARRAY* copy = nullptr;
    ASSERT_EQ(SafeArrayCopy(array, &copy), S_OK);
    EXPECT_EQ(BstrView(static_cast<BSTR*>(copy->pvData)[0]), u"a");
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
    EXPECT_EQ(SafeArrayDestroy(copy), S_OK);  // the sanitizer build checks nothing leaked
}

TEST(SafeArray, RefusesTypesWithoutFixedSize) {
    EXPECT_EQ(SafeArrayCreateVector(VT_USERDEFINED, 0, 1), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_UI1, 0, 0xFFFFFFFFu), nullptr);
}

}  // namespace
}  // namespace com
