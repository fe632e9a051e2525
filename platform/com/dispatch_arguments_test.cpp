#include "platform/com/dispatch_arguments.h"

#include <gtest/gtest.h>

#include "platform/com/bstr.h"
#include "platform/com/testing/sample_typelib.h"

namespace com {
namespace {

const MemberModel& setArea() { return testing::SampleTypeLib().types[0].members[1]; }
const MemberModel& scale() { return testing::SampleTypeLib().types[0].members[2]; }

// Arguments as a host lays them out: the last one first.
struct Call {
    Call(std::vector<VARIANT> r = {}, std::vector<DISPID> n = {}) : reversed(std::move(r)), named(std::move(n)) {}
    std::vector<VARIANT> reversed;
    std::vector<DISPID> named;
    DISPPARAMS params() {
        return {reversed.data(), named.empty() ? nullptr : named.data(), static_cast<uint32_t>(reversed.size()),
                static_cast<uint32_t>(named.size())};
    }
    ~Call() {
        for (auto& v : reversed) VariantClear(&v);
    }
};

TEST(BindArguments, ConvertsPositionalArgumentsAndFillsDefaults) {
    Call call{{MakeBstr(u"20"), MakeI2(10)}};
    auto params = call.params();
    BoundArguments bound;
    uint32_t argError = 99;
    ASSERT_EQ(BindArguments(setArea(), &params, bound, &argError), S_OK);
    ASSERT_EQ(bound.size(), 4u);
    EXPECT_EQ(bound.i4(0), 10);
    EXPECT_EQ(bound.i4(1), 20);
    EXPECT_EQ(bound.text(2), u"none");
    EXPECT_EQ(bound[3].vt, VT_I4);
    EXPECT_EQ(bound.i4(3), 2);
}

TEST(BindArguments, ATextArgumentReadsAsUtf8) {
    Call call{{MakeBstr(u"Gr\u00fc\u00dfe \u20ac"), MakeI4(2), MakeI4(1)}};
    auto params = call.params();
    BoundArguments bound;
    ASSERT_EQ(BindArguments(setArea(), &params, bound, nullptr), S_OK);
    EXPECT_EQ(bound.utf8(2), "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac");
    EXPECT_EQ(bound.utf8(0), "");  // a number is no text
}

TEST(BindArguments, TakesNamedArgumentsAndLeftOutMarkers) {
    Call call{{MakeI4(5), MakeMissing(), MakeI4(1), MakeI4(2)}, {3}};
    auto params = call.params();
    // rgvarg[0] is the named nMode; rgvarg[1..3] are sLabel (left out), nTop, nLeft.
    BoundArguments bound;
    ASSERT_EQ(BindArguments(setArea(), &params, bound, nullptr), S_OK);
    EXPECT_EQ(bound.i4(0), 2);
    EXPECT_EQ(bound.i4(1), 1);
    EXPECT_EQ(bound.text(2), u"none");
    EXPECT_EQ(bound.i4(3), 5);
}

TEST(BindArguments, OptionalWithoutDefaultStaysMissing) {
    Call call;
    auto params = call.params();
    BoundArguments bound;
    ASSERT_EQ(BindArguments(scale(), &params, bound, nullptr), S_OK);
    EXPECT_FLOAT_EQ(bound.r4(0), 99.5f);
    EXPECT_TRUE(bound.boolean(1));
    EXPECT_TRUE(bound.missing(2));
}

TEST(BindArguments, ReportsTheDispatchErrors) {
    BoundArguments bound;
    uint32_t argError = 99;
    {
        Call call{{MakeI4(1)}};
        auto params = call.params();
        EXPECT_EQ(BindArguments(setArea(), &params, bound, &argError), DISP_E_PARAMNOTOPTIONAL);
    }
    {
        Call call{{MakeI4(1), MakeI4(1), MakeI4(1), MakeI4(1), MakeI4(1)}};
        auto params = call.params();
        EXPECT_EQ(BindArguments(setArea(), &params, bound, &argError), DISP_E_BADPARAMCOUNT);
    }
    {
        Call call{{MakeI4(1), MakeBstr(u"wide"), MakeI4(3)}};
        auto params = call.params();
        EXPECT_EQ(BindArguments(setArea(), &params, bound, &argError), DISP_E_TYPEMISMATCH);
        EXPECT_EQ(argError, 1u);  // the position in rgvarg
    }
    {
        Call call{{MakeI4(1), MakeI4(2), MakeI4(3)}, {7}};
        auto params = call.params();
        EXPECT_EQ(BindArguments(setArea(), &params, bound, &argError), DISP_E_PARAMNOTFOUND);
        EXPECT_EQ(argError, 0u);
    }
}

// The error index names the bad argument's slot in rgvarg (where the host
// put it, last argument first), not its parameter number: the two agree only
// for the middle one of three, so the table puts it first, last and named.
TEST(BindArguments, TheErrorIndexIsTheBadArgumentsSlotInRgvarg) {
    const auto bad = [] { return MakeBstr(u"wide"); };
    const struct {
        const char* what;
        std::vector<VARIANT> reversed;  // rgvarg as the host lays it out
        std::vector<DISPID> named;
        uint32_t slot;
    } cases[] = {
        {"first of two (nLeft)", {MakeI4(2), bad()}, {}, 1},
        {"first of four (nLeft)", {MakeI4(1), MakeBstr(u"x"), MakeI4(3), bad()}, {}, 3},
        {"last of four (nMode)", {bad(), MakeBstr(u"x"), MakeI4(3), MakeI4(4)}, {}, 0},
        {"second of two (nTop)", {bad(), MakeI4(1)}, {}, 0},
        {"named nMode after two positional", {bad(), MakeI4(2), MakeI4(1)}, {3}, 0},
        {"named nTop given second of two named", {MakeI4(2), bad(), MakeI4(3)}, {3, 1}, 1},
    };
    for (const auto& c : cases) {
        Call call{c.reversed, c.named};
        auto params = call.params();
        BoundArguments bound;
        uint32_t argError = 99;
        EXPECT_EQ(BindArguments(setArea(), &params, bound, &argError), DISP_E_TYPEMISMATCH) << c.what;
        EXPECT_EQ(argError, c.slot) << c.what;
    }
}

TEST(BindArguments, PropertyPutTakesTheNamedValue) {
    const MemberModel& put = testing::SampleTypeLib().types[0].members[4];
    Call call{{MakeBstr(u"Title")}, {DISPID_PROPERTYPUT}};
    auto params = call.params();
    BoundArguments bound;
    ASSERT_EQ(BindArguments(put, &params, bound, nullptr), S_OK);
    EXPECT_EQ(bound.text(0), u"Title");
}

TEST(BindArguments, OutValuesReachTheHostsReferencesOnly) {
    int32_t width = 1;
    BSTR label = AllocBstr(u"old");
    VARIANT byRefWidth{};
    byRefWidth.vt = VT_I4 | VT_BYREF;
    byRefWidth.plVal = &width;
    VARIANT byRefLabel{};
    byRefLabel.vt = VT_BSTR | VT_BYREF;
    byRefLabel.pbstrVal = &label;
    // Host order: width (by reference), height (by value), label (by reference).
    VARIANT reversed[3] = {byRefLabel, MakeI4(5), byRefWidth};
    DISPPARAMS params{reversed, nullptr, 3, 0};
    BoundArguments bound;
    ASSERT_EQ(BindArguments(setArea(), &params, bound, nullptr), S_OK);
    EXPECT_EQ(bound.i4(0), 1);
    EXPECT_TRUE(bound.byRef(0));
    EXPECT_FALSE(bound.byRef(1));
    EXPECT_EQ(bound.setOut(0, MakeR8(7.5)), S_OK);  // converted to the host's type, halves to even
    EXPECT_EQ(width, 8);
    EXPECT_EQ(bound.setOut(1, MakeI4(9)), S_OK);  // by value: nothing to write
    EXPECT_EQ(reversed[1].lVal, 5);
    VARIANT text = MakeBstrUtf8("new");
    EXPECT_EQ(bound.setOut(2, text), S_OK);
    VariantClear(&text);
    EXPECT_EQ(BstrView(label), u"new");
    SysFreeString(label);
}

TEST(RaiseException, FillsTheExceptionForTheHost) {
    EXCEPINFO info{};
    EXPECT_EQ(RaiseException(&info, "Scanvelt", "File not found", 0x800A0035), DISP_E_EXCEPTION);
    EXPECT_EQ(BstrToUtf8(info.bstrDescription), "File not found");
    EXPECT_EQ(info.scode, static_cast<SCODE>(0x800A0035));
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    EXPECT_EQ(RaiseException(nullptr, "a", "b", 1), DISP_E_EXCEPTION);
}

}  // namespace
}  // namespace com
