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
    IUnknown* none = nullptr;
    EXPECT_EQ(viewer->QueryInterface(typelib::TwainInterfaceId(), reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    // The same number means another member on each control.
    VARIANT arg = MakeI4(5);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    EXPECT_EQ(viewer->Invoke(0x60030077, IID_IUnknown, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(viewer->Invoke(0x60030078, IID_IUnknown, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(viewer->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(container->FindConnectionPoint(typelib::MvViewerEventsId(), &point), S_OK);
    point->Release();
    container->Release();
    EXPECT_EQ(viewer->Release(), 0u);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace scanvelt
