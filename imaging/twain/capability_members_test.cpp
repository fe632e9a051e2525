// The value-list members of capability negotiation, called by dispatch ID
// against an engine that lists values on demand: the members that fill a
// host's array, for lists of one and of three values and for no array, a
// larger one and one of the list's size, every element read back; and the
// count and value-number members of the same lists.
#include "imaging/twain/capability_members.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/twain/testing/scripted_engine_table.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/win/message_box.h"

namespace scanvelt::testing {
namespace {

using namespace com;

enum class Kind { Double, Long, Text };

// The engine's value i (from 0) of a list of `count`, as the member hands it over.
double numberAt(Kind kind, int32_t i, int32_t count) {
    if (i >= count) return 0;
    return kind == Kind::Long ? 100.0 * (i + 1) : 100.0 * (i + 1) + 0.25;
}
std::string textAt(int32_t i, int32_t count) { return i < count ? "value " + std::to_string(i + 1) : ""; }

VARTYPE elementType(Kind kind) {
    switch (kind) {
    case Kind::Double: return VT_R8;
    case Kind::Long: return VT_I4;
    case Kind::Text: return VT_BSTR;
    }
    return VT_EMPTY;
}

class CapabilityTable : public ScriptedEngineTable {
protected:
    void list(int32_t count) {
        ScriptedEngineScript script;
        script.listCount = count;
        play(script);
    }
};

// ---- Members that fill a host's array -------------------------------------

struct ArrayRow {
    const char* member;
    bool takesCapability;  // the generic members name the capability first
    Kind kind;
};

const ArrayRow kArrayRows[] = {
    {"TwainGetAvailableCapValuesNumeric", true, Kind::Double},
    {"TwainGetAvailableCapValuesString", true, Kind::Text},
    {"TwainGetAvailableImageFileFormat", false, Kind::Long},
    {"TwainGetAvailableCompression", false, Kind::Long},
    {"TwainGetAvailableBrightness", false, Kind::Double},
    {"TwainGetAvailableContrast", false, Kind::Double},
    {"TwainGetAvailableBitDepths", false, Kind::Long},
    {"TwainGetAvailablePixelTypes", false, Kind::Long},
    {"TwainGetAvailableXResolutions", false, Kind::Long},
    {"TwainGetAvailableYResolutions", false, Kind::Long},
    {"TwainGetAvailablePaperSize", false, Kind::Long},
};
const bool kArrayRowsRegistered = RegisterMemberTable("_Twain", kArrayRows);

// What the host passes: no array yet (a null array of the list's element
// type), or an array of `size` elements filled with a mark the member must overwrite.
struct HostArray {
    const char* what;
    int32_t size;  // -1: no array
};

SAFEARRAY* markedArray(Kind kind, int32_t size) {
    SAFEARRAY* array = SafeArrayCreateVector(elementType(kind), 0, static_cast<uint32_t>(size));
    void* data = nullptr;
    if (!array || FAILED(SafeArrayAccessData(array, &data))) return array;
    for (int32_t i = 0; i < size; ++i) {
        switch (kind) {
        case Kind::Double: static_cast<double*>(data)[i] = -7; break;
        case Kind::Long: static_cast<int32_t*>(data)[i] = -7; break;
        case Kind::Text: static_cast<BSTR*>(data)[i] = AllocBstr(u"mark"); break;
        }
    }
    SafeArrayUnaccessData(array);
    return array;
}

// Every element of the host's array after the call, equal to the engine's value at its index.
void expectFilled(SAFEARRAY* array, Kind kind, int32_t count, int32_t size, const std::string& why) {
    ASSERT_NE(array, nullptr) << why;
    VARTYPE type = VT_EMPTY;
    ASSERT_EQ(SafeArrayGetVartype(array, &type), S_OK) << why;
    ASSERT_EQ(type, elementType(kind)) << why;
    int32_t lower = -1, upper = -1;
    ASSERT_EQ(SafeArrayGetLBound(array, 1, &lower), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(array, 1, &upper), S_OK);
    ASSERT_EQ(lower, 0) << why;
    ASSERT_EQ(upper, size - 1) << why;
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK) << why;
    for (int32_t i = 0; i < size; ++i) {
        switch (kind) {
        case Kind::Double: EXPECT_DOUBLE_EQ(static_cast<double*>(data)[i], numberAt(kind, i, count)) << why << " [" << i << "]"; break;
        case Kind::Long: EXPECT_EQ(static_cast<int32_t*>(data)[i], numberAt(kind, i, count)) << why << " [" << i << "]"; break;
        case Kind::Text:
            EXPECT_EQ(BstrToUtf8(static_cast<BSTR*>(data)[i]), textAt(i, count)) << why << " [" << i << "]";
            break;
        }
    }
    SafeArrayUnaccessData(array);
}

class CapabilityArrayMembers : public CapabilityTable {
protected:
    // Calls the row's member with the host's array by reference (and the
    // capability first where the member takes one).
    VARIANT callWithArray(const ArrayRow& row, SAFEARRAY** array) {
        VARIANT byRef;
        VariantInit(&byRef);
        byRef.vt = static_cast<VARTYPE>(VT_BYREF | VT_ARRAY | elementType(row.kind));
        byRef.pparray = array;
        std::vector<VARIANT> arguments;
        if (row.takesCapability) arguments.push_back(MakeI4(twain_capability::kXResolution));
        arguments.push_back(byRef);
        return call(row.member, std::move(arguments));
    }
};

TEST_F(CapabilityArrayMembers, FillEveryElementOfTheHostsArray) {
    ASSERT_TRUE(kArrayRowsRegistered);
    const HostArray arrays[] = {{"no array", -1}, {"a larger array", 5}, {"an array of the list's size", 0}};
    for (const ArrayRow& row : kArrayRows) {
        for (const int32_t count : {1, 3}) {
            for (const HostArray& given : arrays) {
                const int32_t size = given.size < 0 ? -1 : given.size == 0 ? count : given.size;
                const std::string why = std::string(row.member) + ", a list of " + std::to_string(count) + ", " +
                                        given.what;
                ASSERT_NO_FATAL_FAILURE(list(count));
                SAFEARRAY* array = size < 0 ? nullptr : markedArray(row.kind, size);
                VARIANT result = callWithArray(row, &array);
                EXPECT_EQ(result.vt, VT_I4) << why;
                EXPECT_EQ(result.lVal, count) << why;
                expectFilled(array, row.kind, count, std::max(size, count), why);
                if (array) SafeArrayDestroy(array);
            }
        }
    }
}

TEST_F(CapabilityArrayMembers, AnEmptyListLeavesTheHostsArrayAsItWas) {
    for (const ArrayRow& row : kArrayRows) {
        ASSERT_NO_FATAL_FAILURE(list(0));
        SAFEARRAY* array = markedArray(row.kind, 2);
        SAFEARRAY* const given = array;
        VARIANT result = callWithArray(row, &array);
        EXPECT_EQ(result.lVal, 0) << row.member;
        EXPECT_EQ(array, given) << row.member;
        SafeArrayDestroy(array);
    }
}

// ---- Count and value-number members of the same lists ---------------------

struct ListRow {
    const char* member;
    bool takesCapability;
    bool isCount;  // else the value by its number (from 1)
    Kind kind;
    double outside;  // the answer for a number outside 1..count
};

const ListRow kListRows[] = {
    {"TwainGetAvailableCapValuesCount", true, true, Kind::Double, 0},
    {"TwainGetAvailableCapValueNoNumeric", true, false, Kind::Double, 0},
    {"TwainGetAvailableCapValueNoString", true, false, Kind::Text, 0},
    {"TwainGetAvailableImageFileFormatCount", false, true, Kind::Long, 0},
    {"TwainGetAvailableImageFileFormatNo", false, false, Kind::Long, -1},
    {"TwainGetAvailableCompressionCount", false, true, Kind::Long, 0},
    {"TwainGetAvailableCompressionNo", false, false, Kind::Long, -1},
    {"TwainGetAvailableBrightnessCount", false, true, Kind::Double, 0},
    {"TwainGetAvailableBrightnessNo", false, false, Kind::Double, 0},
    {"TwainGetAvailableContrastCount", false, true, Kind::Double, 0},
    {"TwainGetAvailableContrastNo", false, false, Kind::Double, 0},
    {"TwainGetAvailableBitDepthsCount", false, true, Kind::Long, 0},
    {"TwainGetAvailableBitDepthNo", false, false, Kind::Long, 0},
    {"TwainGetAvailablePixelTypesCount", false, true, Kind::Long, 0},
    {"TwainGetAvailablePixelTypeNo", false, false, Kind::Long, 0},
    {"TwainGetAvailableXResolutionsCount", false, true, Kind::Long, 0},
    {"TwainGetAvailableXResolutionNo", false, false, Kind::Long, 0},
    {"TwainGetAvailableYResolutionsCount", false, true, Kind::Long, 0},
    {"TwainGetAvailableYResolutionNo", false, false, Kind::Long, 0},
    {"TwainGetAvailablePaperSizeCount", false, true, Kind::Long, 0},
    {"TwainGetAvailablePaperSizeNo", false, false, Kind::Long, 0},
};
const bool kListRowsRegistered = RegisterMemberTable("_Twain", kListRows);

class CapabilityListMembers : public CapabilityTable {};

TEST_F(CapabilityListMembers, CountAndNumberAnswerFromTheSameList) {
    ASSERT_TRUE(kListRowsRegistered);
    for (const ListRow& row : kListRows) {
        for (const int32_t count : {1, 3}) {
            const std::string why = std::string(row.member) + ", a list of " + std::to_string(count);
            ASSERT_NO_FATAL_FAILURE(list(count));
            auto ask = [&](int32_t number) {
                std::vector<VARIANT> arguments;
                if (row.takesCapability) arguments.push_back(MakeI4(twain_capability::kXResolution));
                if (!row.isCount) arguments.push_back(MakeI4(number));
                return call(row.member, std::move(arguments));
            };
            if (row.isCount) {
                VARIANT result = ask(0);
                EXPECT_EQ(result.lVal, count) << why;
                continue;
            }
            for (int32_t number = 0; number <= count + 1; ++number) {
                const bool inside = number >= 1 && number <= count;
                VARIANT result = ask(number);
                const std::string at = why + ", number " + std::to_string(number);
                switch (row.kind) {
                case Kind::Text:
                    EXPECT_EQ(BstrToUtf8(result.bstrVal), inside ? textAt(number - 1, count) : "") << at;
                    break;
                case Kind::Double:
                    EXPECT_EQ(result.vt, VT_R8) << at;
                    EXPECT_DOUBLE_EQ(result.dblVal, inside ? numberAt(row.kind, number - 1, count) : row.outside)
                        << at;
                    break;
                case Kind::Long:
                    EXPECT_EQ(result.vt, VT_I4) << at;
                    EXPECT_EQ(result.lVal, inside ? numberAt(row.kind, number - 1, count) : row.outside) << at;
                    break;
                }
                VariantClear(&result);
            }
        }
    }
}

// ---- Current values, ranges and the layout, out values in every position ----

VARIANT refTo(double& value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_R8;
    v.pdblVal = &value;
    return v;
}

class CapabilityValueMembers;

struct ValueRow {
    const char* member;
    void (*run)(CapabilityValueMembers&);
};

class CapabilityValueMembers : public CapabilityTable {
public:
    using CapabilityTable::call;
    using CapabilityTable::record;
};

// The engine's current value 300.25, as the typed getters round it.
void expectRoundedCurrent(CapabilityValueMembers& t, const char* member) {
    EXPECT_EQ(t.call(member).lVal, 300) << member;
}

const ValueRow kValueRows[] = {
    {"TwainGetCapCurrentNumeric",
     [](CapabilityValueMembers& t) {
         double current = -1;
         EXPECT_EQ(t.call("TwainGetCapCurrentNumeric", {MakeI4(twain_capability::kXResolution), refTo(current)}).boolVal,
                   VARIANT_TRUE);
         EXPECT_DOUBLE_EQ(current, 300.25);
     }},
    {"TwainGetCapCurrentString",
     [](CapabilityValueMembers& t) {
         BSTR current = AllocBstr(u"old");
         VARIANT ref;
         VariantInit(&ref);
         ref.vt = VT_BYREF | VT_BSTR;
         ref.pbstrVal = &current;
         EXPECT_EQ(t.call("TwainGetCapCurrentString", {MakeI4(4100), ref}).boolVal, VARIANT_TRUE);
         EXPECT_EQ(BstrToUtf8(current), "current text");
         SysFreeString(current);
     }},
    {"TwainGetCapRangeNumeric",
     [](CapabilityValueMembers& t) {
         double minimum = -1, maximum = -1, step = -1;
         EXPECT_EQ(t.call("TwainGetCapRangeNumeric", {MakeI4(twain_capability::kBrightness), refTo(minimum),
                                                      refTo(maximum), refTo(step)})
                       .boolVal,
                   VARIANT_TRUE);
         EXPECT_DOUBLE_EQ(minimum, 10.5);
         EXPECT_DOUBLE_EQ(maximum, 20.25);
         EXPECT_DOUBLE_EQ(step, 0.5);
     }},
    {"TwainGetImageLayout",
     [](CapabilityValueMembers& t) {
         double left = -1, top = -1, right = -1, bottom = -1;
         EXPECT_EQ(t.call("TwainGetImageLayout", {refTo(left), refTo(top), refTo(right), refTo(bottom)}).boolVal,
                   VARIANT_TRUE);
         EXPECT_DOUBLE_EQ(left, 1.25);
         EXPECT_DOUBLE_EQ(top, 2.5);
         EXPECT_DOUBLE_EQ(right, 3.75);
         EXPECT_DOUBLE_EQ(bottom, 5.0);
     }},
    {"TwainSetImageLayout",
     [](CapabilityValueMembers& t) {
         EXPECT_EQ(t.call("TwainSetImageLayout", {MakeR8(0.5), MakeR8(1.5), MakeR8(7.5), MakeR8(10.25)}).boolVal,
                   VARIANT_TRUE);
         const double* sent = t.record().layoutSet;
         EXPECT_EQ(std::vector<double>(sent, sent + 4), (std::vector<double>{0.5, 1.5, 7.5, 10.25}));
     }},
    {"TwainGetCurrentImageFileFormat", [](CapabilityValueMembers& t) { expectRoundedCurrent(t, "TwainGetCurrentImageFileFormat"); }},
    {"TwainGetCurrentCompression", [](CapabilityValueMembers& t) { expectRoundedCurrent(t, "TwainGetCurrentCompression"); }},
    {"TwainGetCurrentThreshold", [](CapabilityValueMembers& t) { expectRoundedCurrent(t, "TwainGetCurrentThreshold"); }},
    {"TwainGetCurrentPlanarChunky", [](CapabilityValueMembers& t) { expectRoundedCurrent(t, "TwainGetCurrentPlanarChunky"); }},
    {"TwainGetCurrentPixelFlavor", [](CapabilityValueMembers& t) { expectRoundedCurrent(t, "TwainGetCurrentPixelFlavor"); }},
};
const bool kValueRowsRegistered = RegisterMemberTable("_Twain", kValueRows);

TEST_F(CapabilityValueMembers, EachOutValueLandsInItsOwnArgument) {
    ASSERT_TRUE(kValueRowsRegistered);
    for (const ValueRow& row : kValueRows) {
        SCOPED_TRACE(row.member);
        ASSERT_NO_FATAL_FAILURE(list(1));
        row.run(*this);
    }
}

}  // namespace
}  // namespace scanvelt::testing
