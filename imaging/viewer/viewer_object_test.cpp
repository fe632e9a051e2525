#include "imaging/viewer/viewer_object.h"

#include <gtest/gtest.h>

#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/server_objects.h"
#include "platform/com/variant.h"

namespace scanvelt {
namespace {

using namespace com;

TEST(ViewerObject, IsCreatableAndAnswersItsInterfaces) {
    IDispatch* viewer = nullptr;
    ASSERT_EQ(ViewerObject::Create(typelib::MvViewerInterfaceIds().front(), reinterpret_cast<void**>(&viewer)), S_OK);
    for (const auto& iid : typelib::MvViewerInterfaceIds()) {
        IUnknown* face = nullptr;
        EXPECT_EQ(viewer->QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        face->Release();
    }
    for (const auto& iid : {IID_IControlSurface, IID_IPersistPropertyBag, IID_IObjectSafety}) {
        IUnknown* face = nullptr;
        EXPECT_EQ(viewer->QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        // Every face leads back to the same object.
        IUnknown* back = nullptr;
        ASSERT_EQ(face->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&back)), S_OK);
        EXPECT_EQ(back, static_cast<IUnknown*>(viewer));
        back->Release();
        face->Release();
    }
    IUnknown* none = nullptr;
    EXPECT_EQ(viewer->QueryInterface(typelib::TwainInterfaceId(), reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    // The same number means another member on each control: here SetNativeImage,
    // whose unknown image ID shows nothing and reports the failed size check.
    VARIANT arg = MakeI4(0);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(viewer->Invoke(0x60030077, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
    EXPECT_EQ(result.lVal, 2);  // no image: InvalidParameter
    EXPECT_EQ(viewer->Invoke(0x60030078, IID_IUnknown, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(viewer->Release(), 0u);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace scanvelt
