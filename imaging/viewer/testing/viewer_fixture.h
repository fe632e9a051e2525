#pragma once
// A viewer inside the test site: made through its class, shown at a given
// size with no border, its events recorded; images made in memory.
#include <gtest/gtest.h>

#include <functional>

#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/testing/event_recorder.h"
#include "imaging/viewer/testing/test_site.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/variant.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt::testing {

class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // The host keeps the engine running, as the scanning control does:
        // the viewer's own teardown then is not the engine's last stop.
        StartImaging();
        ASSERT_EQ(ViewerObject::Create(typelib::MvViewerInterfaceIds().back(), reinterpret_cast<void**>(&viewer)),
                  com::S_OK);
        ASSERT_EQ(viewer->QueryInterface(com::IID_IControlSurface, reinterpret_cast<void**>(&surface)), com::S_OK);
        ASSERT_TRUE(events.connect(*viewer));
        surface->SetSite(&site);
        put("BorderStyle", com::MakeI4(0));
    }
    void TearDown() override {
        if (surface) {
            surface->SetSite(nullptr);
            surface->Release();
        }
        events.disconnect();
        if (viewer) {
            EXPECT_EQ(viewer->Release(), 0u);
        }
        StopImaging();
    }

    // The face's size; shows the control.
    void show(int32_t width, int32_t height) {
        surface->Resize(width, height);
        surface->Show(1);
        events.events.clear();
    }

    com::DISPID id(const char* name) {
        std::u16string wide(name, name + std::char_traits<char>::length(name));
        return com::FindMemberId(*com::FindType(typelib::ScanveltTypeLib(), "_MvViewer"), wide);
    }
    // Calls a member by dispatch ID; arguments in declaration order.
    com::VARIANT call(const char* name, std::vector<com::VARIANT> args = {}, uint16_t flags = com::DISPATCH_METHOD) {
        std::vector<com::VARIANT> reversed(args.rbegin(), args.rend());
        com::DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr,
                               static_cast<uint32_t>(reversed.size()), 0};
        com::DISPID named = com::DISPID_PROPERTYPUT;
        if (flags == com::DISPATCH_PROPERTYPUT) {
            params.rgdispidNamedArgs = &named;
            params.cNamedArgs = 1;
        }
        com::VARIANT result;
        com::VariantInit(&result);
        EXPECT_EQ(viewer->Invoke(id(name), com::IID_IUnknown, 0, flags, &params, &result, nullptr, nullptr), com::S_OK)
            << name;
        for (auto& a : args) com::VariantClear(&a);
        return result;
    }
    int32_t callLong(const char* name, std::vector<com::VARIANT> args = {}) {
        return call(name, std::move(args)).lVal;
    }
    com::VARIANT get(const char* name) { return call(name, {}, com::DISPATCH_PROPERTYGET); }
    void put(const char* name, com::VARIANT value) { call(name, {value}, com::DISPATCH_PROPERTYPUT); }

    uint32_t pixel(int32_t x, int32_t y) { return TestSite::pixel(*surface, x, y); }

    // A 32-bit ARGB image whose pixels `color` gives.
    static int32_t makeImage(int32_t width, int32_t height, const std::function<uint32_t(int32_t, int32_t)>& color,
                             float dpiX = 96, float dpiY = 96) {
        int32_t image = testing_support::RegisterBitmap(width, height, gdiplus::PixelFormat32bppARGB);
        gdiplus::Bitmap* bitmap = NativeBitmapOf(image);
        gdiplus::BitmapData data;
        EXPECT_EQ(bitmap->LockBits(gdiplus::Rect{0, 0, width, height}, gdiplus::ImageLockModeWrite,
                                   gdiplus::PixelFormat32bppARGB, data),
                  gdiplus::Ok);
        for (int32_t y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride);
            for (int32_t x = 0; x < width; ++x) row[x] = color(x, y);
        }
        bitmap->UnlockBits(data);
        bitmap->SetResolution(dpiX, dpiY);
        return image;
    }

    com::IDispatch* viewer = nullptr;
    com::IControlSurface* surface = nullptr;
    TestSite site;
    EventRecorder events;
};

}  // namespace scanvelt::testing
