#include "platform/com/model_dispatch.h"

#include <gtest/gtest.h>

#include "platform/com/bstr.h"
#include "platform/com/testing/sample_typelib.h"

namespace com {
namespace {

class ModelDispatchTest : public ::testing::Test {
protected:
    ModelDispatchTest() : dispatch(testing::SampleTypeLib(), "_Widget") {
        dispatch.Bind(0x60030000, [](const BoundArguments&, VARIANT& result, EXCEPINFO*) {
            result = MakeR8(5.9901306);
            return S_OK;
        });
        dispatch.Bind(0x60030001, [this](const BoundArguments& args, VARIANT& result, EXCEPINFO* e) {
            if (args.i4(0) < 0) return RaiseException(e, "Widget", "Invalid procedure call or argument", 0x800A0005);
            lastLeft = args.i4(0);
            lastLabel = std::u16string(args.text(2));
            result = MakeI2(7);  // converted to the declared enumeration
            return S_OK;
        });
    }
    ModelDispatch dispatch;
    int32_t lastLeft = 0;
    std::u16string lastLabel;
};

TEST_F(ModelDispatchTest, CallsTheHandlerWithBoundArgumentsAndConvertsTheResult) {
    VARIANT args[] = {MakeBstr(u"9"), MakeI2(3)};
    DISPPARAMS params{args, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dispatch.Invoke(0x60030001, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(lastLeft, 3);
    EXPECT_EQ(lastLabel, u"none");
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 7);
    VariantClear(&args[0]);
}

TEST_F(ModelDispatchTest, NumbersAndNamesAnswerAsHostsExpect) {
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(dispatch.Invoke(0x60030002, DISPATCH_METHOD, nullptr, &result, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(dispatch.Invoke(0x60030055, DISPATCH_METHOD, nullptr, &result, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(dispatch.Invoke(0x60030001, DISPATCH_METHOD, nullptr, &result, nullptr, nullptr), DISP_E_PARAMNOTOPTIONAL);
    ASSERT_EQ(dispatch.Invoke(0x60030000, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.vt, VT_R8);
    EXPECT_DOUBLE_EQ(result.dblVal, 5.9901306);
    OLECHAR* names[] = {const_cast<OLECHAR*>(u"GETVERSION")};
    DISPID id = 0;
    ASSERT_EQ(dispatch.GetIDsOfNames(names, 1, &id), S_OK);
    EXPECT_EQ(id, 0x60030000);
    OLECHAR* unknown[] = {const_cast<OLECHAR*>(u"Nope")};
    EXPECT_EQ(dispatch.GetIDsOfNames(unknown, 1, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST_F(ModelDispatchTest, ErrorsRaisedToTheHostCarryTheirDescription) {
    VARIANT args[] = {MakeI4(1), MakeI4(-1)};
    DISPPARAMS params{args, nullptr, 2, 0};
    EXCEPINFO info{};
    EXPECT_EQ(dispatch.Invoke(0x60030001, DISPATCH_METHOD, &params, nullptr, &info, nullptr), DISP_E_EXCEPTION);
    EXPECT_EQ(BstrToUtf8(info.bstrDescription), "Invalid procedure call or argument");
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
}

TEST_F(ModelDispatchTest, GivesItsTypeInformation) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(dispatch.GetTypeInfo(0, &info), S_OK);
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    EXPECT_EQ(attributes->guid, testing::SampleTypeLib().types[0].guid);
    info->ReleaseTypeAttr(attributes);
    info->Release();
    EXPECT_EQ(dispatch.GetTypeInfo(1, &info), DISP_E_BADINDEX);
}

}  // namespace
}  // namespace com
