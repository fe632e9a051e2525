#include "imaging/twain/twain_object.h"

#include <gtest/gtest.h>

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/bstr.h"
#include "platform/com/server_objects.h"
#include "platform/com/testing/live_heap_bytes.h"
#include "platform/com/variant.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

class TwainObjectTest : public ::testing::Test {
protected:
    TwainObjectTest() { EXPECT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain)), S_OK); }
    ~TwainObjectTest() override {
        if (twain) {
            EXPECT_EQ(twain->Release(), 0u);
        }
        EXPECT_EQ(ServerCanUnloadNow(), S_OK);
    }
    HRESULT call(DISPID id, std::vector<VARIANT> reversed, VARIANT* result, EXCEPINFO* e = nullptr) {
        DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        // The tests reuse one result: the text a previous call left in it is the caller's to free.
        if (result) VariantClear(result);
        HRESULT hr = twain->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, result, e, nullptr);
        for (auto& v : reversed) VariantClear(&v);
        return hr;
    }
    DISPID id(const char16_t* name) {
        OLECHAR* names[] = {const_cast<OLECHAR*>(name)};
        DISPID out = 0;
        EXPECT_EQ(twain->GetIDsOfNames(IID_IUnknown, names, 1, 0, &out), S_OK) << win::Utf16ToUtf8(name);
        return out;
    }
    IDispatch* twain = nullptr;
};

TEST_F(TwainObjectTest, TheCapabilityTextHandedBackLeavesNothingBehind) {
    const DISPID member = id(u"TwainGetCapCurrentString");
    const auto callOnce = [&] {
        BSTR text = nullptr;
        VARIANT out;
        VariantInit(&out);
        out.vt = VT_BSTR | VT_BYREF;
        out.pbstrVal = &text;
        Variant result;
        // Arguments last first: the text by reference, then the capability.
        EXPECT_EQ(call(member, {out, MakeI4(0x1101)}, result.get()), S_OK);
        SysFreeString(text);
    };
    callOnce();  // the first call may set up what stays for the process
    const size_t before = com::testing::LiveHeapBytes();
    for (int i = 0; i < 500; ++i) callOnce();
    // One BSTR left per call would be at least 500 x 6 bytes.
    EXPECT_LT(com::testing::LiveHeapBytes(), before + 1000);
}

TEST_F(TwainObjectTest, AnswersTheFrameMembersByDispatchId) {
    Variant result;
    ASSERT_EQ(call(typelib::kDispidGetVersion, {}, result.get()), S_OK);
    EXPECT_EQ(result->vt, VT_R8);
    EXPECT_DOUBLE_EQ(result->dblVal, 5.9901306);
    ASSERT_EQ(call(typelib::kDispidGetStat, {}, result.get()), S_OK);
    EXPECT_EQ(result->vt, VT_I4);
    EXPECT_EQ(result->lVal, 0);
    // IsBlank without a current image stores GenericError.
    ASSERT_EQ(call(id(u"isblank"), {}, result.get()), S_OK);
    EXPECT_EQ(result->vt, VT_BOOL);
    EXPECT_EQ(result->boolVal, VARIANT_FALSE);
    ASSERT_EQ(call(typelib::kDispidGetStat, {}, result.get()), S_OK);
    EXPECT_EQ(result->lVal, 1);
    ASSERT_EQ(call(id(u"Encode64String"), {MakeBstr(u"Scan")}, result.get()), S_OK);
    EXPECT_EQ(BstrView(result->bstrVal), u"U2Nhbg==");
    ASSERT_EQ(call(id(u"GetDesktopHwnd"), {}, result.get()), S_OK);
    EXPECT_GT(result->lVal, 0);
    // Arguments in the types a late-bound host passes.
    ASSERT_EQ(call(id(u"SetROI"), {MakeBstr(u"40"), MakeI2(30), MakeR8(20.0), MakeI4(10)}, nullptr), S_OK);
    auto& control = static_cast<TwainObject*>(twain)->control();
    EXPECT_EQ(control.roi().Left, 10);
    EXPECT_EQ(control.roi().Top, 20);
    EXPECT_EQ(control.roi().Height, 40);
}

// Every member of the model now has a handler; numbers that are no member
// and arguments that do not bind are refused before any handler runs.
TEST_F(TwainObjectTest, CallsThatReachNoMemberAreRefused) {
    Variant result;
    EXPECT_EQ(call(0x60030023, {}, result.get()), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call(0x60030163, {}, result.get()), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(call(id(u"SetROI"), {MakeI4(1)}, result.get()), DISP_E_PARAMNOTOPTIONAL);
    EXPECT_EQ(call(id(u"SetROI"), {MakeBstr(u"x"), MakeI4(1), MakeI4(1), MakeI4(1)}, result.get()), DISP_E_TYPEMISMATCH);
}

TEST_F(TwainObjectTest, AnswersEveryVersionOfItsInterface) {
    for (const auto& iid : typelib::TwainInterfaceIds()) {
        IDispatch* face = nullptr;
        ASSERT_EQ(twain->QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        EXPECT_EQ(face, twain);
        face->Release();
    }
    IUnknown* none = nullptr;
    EXPECT_EQ(twain->QueryInterface(typelib::MvViewerInterfaceId(), reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(twain->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(container->FindConnectionPoint(typelib::TwainSourceInterfaceIds().front(), &point), S_OK);
    point->Release();
    container->Release();
}

TEST_F(TwainObjectTest, IsSafeForScriptingAndInitialising) {
    IObjectSafety* safety = nullptr;
    ASSERT_EQ(twain->QueryInterface(IID_IObjectSafety, reinterpret_cast<void**>(&safety)), S_OK);
    uint32_t supported = 0, enabled = 0;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(&IID_IDispatch, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, 3u);
    EXPECT_EQ(enabled, 1u);
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(&IID_IPersistPropertyBag, &supported, &enabled), S_OK);
    EXPECT_EQ(enabled, 2u);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(&IID_IDispatch, 3, 3), E_FAIL);
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(nullptr, &supported, &enabled), S_OK);
    safety->Release();
}

TEST_F(TwainObjectTest, GivesTheTypeInformationOfItsInterface) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(twain->GetTypeInfo(0, 0, &info), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->guid, typelib::TwainInterfaceId());
    EXPECT_EQ(attributes->wTypeFlags, 0x11d0);
    info->ReleaseTypeAttr(attributes);
    info->Release();
}

}  // namespace
}  // namespace scanvelt
