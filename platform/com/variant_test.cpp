#include "platform/com/variant.h"

#include <gtest/gtest.h>

#include "platform/com/bstr.h"
#include "platform/com/safearray.h"

namespace com {
namespace {

struct Conversion {
    const char* name;
    VARIANT (*make)();
    VARTYPE to;
    HRESULT result;
    double expected;  // numeric value of the result when it succeeds
};

double numberOf(const VARIANT& v) {
    switch (v.vt) {
        case VT_I2: return v.iVal;
        case VT_I4: return v.lVal;
        case VT_UI1: return v.bVal;
        case VT_R4: return v.fltVal;
        case VT_R8: return v.dblVal;
        case VT_BOOL: return v.boolVal;
        default: return -999;
    }
}

TEST(VariantChangeType, ConvertsWhatLateBoundHostsPass) {
    const Conversion cases[] = {
        {"I2 where I4 is declared", [] { return MakeI2(-7); }, VT_I4, S_OK, -7},
        {"I4 into I2 that fits", [] { return MakeI4(300); }, VT_I2, S_OK, 300},
        {"I4 into I2 that overflows", [] { return MakeI4(40000); }, VT_I2, DISP_E_OVERFLOW, 0},
        {"number text into I4", [] { return MakeBstr(u" 42 "); }, VT_I4, S_OK, 42},
        {"decimal text into R8", [] { return MakeBstr(u"-3.25"); }, VT_R8, S_OK, -3.25},
        {"hex text into I4", [] { return MakeBstr(u"&HFF"); }, VT_I4, S_OK, 255},
        {"word into I4", [] { return MakeBstr(u"twelve"); }, VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"empty text into I4", [] { return MakeBstr(u""); }, VT_I4, DISP_E_TYPEMISMATCH, 0},
        {"R8 half rounds to even", [] { return MakeR8(2.5); }, VT_I4, S_OK, 2},
        {"R8 other half rounds to even", [] { return MakeR8(3.5); }, VT_I4, S_OK, 4},
        {"R8 too large for I4", [] { return MakeR8(3e10); }, VT_I4, DISP_E_OVERFLOW, 0},
        {"true into I4", [] { return MakeBool(true); }, VT_I4, S_OK, -1},
        {"I4 into Boolean", [] { return MakeI4(5); }, VT_BOOL, S_OK, -1},
        {"text True into Boolean", [] { return MakeBstr(u"true"); }, VT_BOOL, S_OK, -1},
        {"text 0 into Boolean", [] { return MakeBstr(u"0"); }, VT_BOOL, S_OK, 0},
        {"R8 into R4", [] { return MakeR8(99.0); }, VT_R4, S_OK, 99},
        {"negative into byte", [] { return MakeI4(-1); }, VT_UI1, DISP_E_OVERFLOW, 0},
        {"empty into I4", [] { VARIANT v; VariantInit(&v); return v; }, VT_I4, S_OK, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VARIANT source = c.make();
        VARIANT target;
        VariantInit(&target);
        EXPECT_EQ(VariantChangeType(&target, &source, 0, c.to), c.result);
        if (c.result == S_OK) {
            EXPECT_EQ(target.vt, c.to);
            EXPECT_DOUBLE_EQ(numberOf(target), c.expected);
        } else {
            EXPECT_EQ(target.vt, VT_EMPTY);
        }
        VariantClear(&source);
        VariantClear(&target);
    }
}

TEST(VariantChangeType, ReadsThroughAReference) {
    int16_t shortValue = 12;
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_I2 | VT_BYREF;
    byRef.piVal = &shortValue;
    VARIANT target;
    VariantInit(&target);
    ASSERT_EQ(VariantChangeType(&target, &byRef, 0, VT_I4), S_OK);
    EXPECT_EQ(target.vt, VT_I4);
    EXPECT_EQ(target.lVal, 12);

    BSTR text = SysAllocString(u"17");
    byRef.vt = VT_BSTR | VT_BYREF;
    byRef.pbstrVal = &text;
    ASSERT_EQ(VariantChangeType(&target, &byRef, 0, VT_I4), S_OK);
    EXPECT_EQ(target.lVal, 17);
    VariantClear(&byRef);  // a reference owns nothing: the text stays
    EXPECT_EQ(BstrView(text), u"17");
    SysFreeString(text);

    byRef.vt = VT_I4 | VT_BYREF;
    byRef.plVal = nullptr;
    EXPECT_EQ(VariantChangeType(&target, &byRef, 0, VT_I4), DISP_E_BADVARTYPE);
}

TEST(VariantChangeType, WritesNumbersAsText) {
    struct { VARIANT value; const char16_t* text; } cases[] = {
        {MakeR8(5.9901306), u"5.9901306"}, {MakeI4(-12), u"-12"}, {MakeBool(true), u"True"}, {MakeR4(0.5f), u"0.5"},
    };
    for (auto& c : cases) {
        VARIANT target;
        VariantInit(&target);
        ASSERT_EQ(VariantChangeType(&target, &c.value, 0, VT_BSTR), S_OK);
        EXPECT_EQ(BstrView(target.bstrVal), c.text);
        VariantClear(&target);
    }
}

TEST(VariantChangeType, ConvertsInPlace) {
    VARIANT value = MakeBstr(u"8");
    ASSERT_EQ(VariantChangeType(&value, &value, 0, VT_I4), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 8);
}

TEST(VariantCopy, CopiesStringsAndArraysDeeply) {
    VARIANT text = MakeBstr(u"bill");
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(VariantCopy(&copy, &text), S_OK);
    EXPECT_NE(copy.bstrVal, text.bstrVal);
    VariantClear(&text);
    EXPECT_EQ(BstrView(copy.bstrVal), u"bill");
    VariantClear(&copy);

    const uint8_t bytes[] = {1, 2, 3};
    VARIANT array;
    VariantInit(&array);
    array.vt = VT_ARRAY | VT_UI1;
    array.parray = ByteArrayFrom(bytes);
    ASSERT_EQ(VariantCopy(&copy, &array), S_OK);
    VariantClear(&array);
    EXPECT_EQ(BytesOf(copy.parray), (std::vector<uint8_t>{1, 2, 3}));
    VariantClear(&copy);
}

TEST(Variant, AnOutValueGoesThroughTheCallersReferenceConvertedToItsType) {
    int32_t number = 0;
    float single = 0;
    BSTR text = SysAllocString(u"old");
    SAFEARRAY* array = ByteArrayFrom(std::vector<uint8_t>{9});
    VARIANT inner;
    VariantInit(&inner);
    VARIANT refs[4];
    for (auto& r : refs) VariantInit(&r);
    refs[0].vt = VT_BYREF | VT_I4, refs[0].plVal = &number;
    refs[1].vt = VT_BYREF | VT_R4, refs[1].pfltVal = &single;
    refs[2].vt = VT_BYREF | VT_BSTR, refs[2].pbstrVal = &text;
    refs[3].vt = VT_BYREF | VT_VARIANT, refs[3].pvarVal = &inner;

    EXPECT_EQ(VariantStoreByRef(&refs[0], MakeR8(41.5)), S_OK);
    EXPECT_EQ(number, 42);  // halves to even
    EXPECT_EQ(VariantStoreByRef(&refs[1], MakeI4(7)), S_OK);
    EXPECT_EQ(single, 7.0f);
    VARIANT value = MakeBstrUtf8("new");
    EXPECT_EQ(VariantStoreByRef(&refs[2], value), S_OK);  // the old text is freed
    EXPECT_EQ(BstrView(text), u"new");
    EXPECT_EQ(VariantStoreByRef(&refs[3], value), S_OK);
    EXPECT_EQ(inner.vt, VT_BSTR);
    VariantClear(&value);

    VARIANT bytes;
    VariantInit(&bytes);
    bytes.vt = VT_ARRAY | VT_UI1;
    bytes.parray = ByteArrayFrom(std::vector<uint8_t>{1, 2});
    VARIANT arrayRef;
    VariantInit(&arrayRef);
    arrayRef.vt = VT_BYREF | VT_ARRAY | VT_UI1;
    arrayRef.pparray = &array;
    EXPECT_EQ(VariantStoreByRef(&arrayRef, bytes), S_OK);  // the old array is freed
    EXPECT_EQ(BytesOf(array), (std::vector<uint8_t>{1, 2}));

    // Refused: a value where no reference is, and a text that is no number.
    VARIANT plain = MakeI4(1);
    EXPECT_EQ(VariantStoreByRef(&plain, MakeI4(2)), E_INVALIDARG);
    VARIANT word = MakeBstrUtf8("word");
    EXPECT_EQ(VariantStoreByRef(&refs[0], word), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(number, 42);
    VariantClear(&word);
    VariantClear(&bytes);
    VariantClear(&inner);
    SafeArrayDestroy(array);
    SysFreeString(text);
}

}  // namespace
}  // namespace com
