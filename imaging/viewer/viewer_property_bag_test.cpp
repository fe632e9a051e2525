// The viewer's settings in the container's property bag.
#include <gtest/gtest.h>

#include "imaging/viewer/testing/viewer_fixture.h"
#include "imaging/viewer/viewer_property_bag.h"
#include "platform/com/property_bag.h"

namespace scanvelt::testing {
namespace {

using namespace com;

// A bag that records the order of writes and reads.
class RecordingBag final : public IPropertyBag {
public:
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    HRESULT Read(const OLECHAR* name, VARIANT* value, IErrorLog* log) override {
        reads.emplace_back(name);
        return inner->Read(name, value, log);
    }
    HRESULT Write(const OLECHAR* name, VARIANT* value) override {
        writes.emplace_back(name);
        types.push_back(value->vt);
        return inner->Write(name, value);
    }
    ~RecordingBag() { inner->Release(); }
    MemoryPropertyBag* inner = MemoryPropertyBag::Create();
    std::vector<std::u16string> reads, writes;
    std::vector<VARTYPE> types;
};

std::vector<std::u16string> wide(const std::vector<std::string>& names) {
    std::vector<std::u16string> out;
    for (const auto& n : names) out.emplace_back(n.begin(), n.end());
    return out;
}

class ViewerPropertyBag : public ViewerFixture {
protected:
    IPersistPropertyBag* persist() {
        IPersistPropertyBag* p = nullptr;
        EXPECT_EQ(viewer->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&p)), S_OK);
        p->Release();  // the fixture's reference keeps it alive
        return p;
    }
};

TEST_F(ViewerPropertyBag, ANewInstanceWritesNothingButWhatDiffers) {
    persist()->InitNew();
    put("BorderStyle", MakeI4(1));  // back to its designed value
    RecordingBag bag;
    ASSERT_EQ(persist()->Save(&bag, 1, 1), S_OK);
    EXPECT_TRUE(bag.writes.empty());
    put("ZoomMode", MakeI4(2));
    put("gamma", MakeR4(2));
    put("ScrollLargeChange", MakeI2(20));
    ASSERT_EQ(persist()->Save(&bag, 1, 1), S_OK);
    EXPECT_EQ(bag.writes, (std::vector<std::u16string>{u"ScrollLargeChange", u"ZoomMode", u"Gamma"}));
    EXPECT_EQ(bag.types, (std::vector<VARTYPE>{VT_I2, VT_I4, VT_R4}));
}

TEST_F(ViewerPropertyBag, EverySettingDifferentIsWrittenInTheTableOrder) {
    ViewerSettings changed;
    // Flip every setting away from its default.
    changed.ScrollBars = false; changed.EnableMenu = false; changed.Zoom = 2; changed.ImageWidth = 1;
    changed.ImageHeight = 1; changed.MouseMode = 0; changed.ZoomStep = 5; changed.ScrollSmallChange = 2;
    changed.ScrollLargeChange = 3; changed.VerticalResolution = 1; changed.HorizontalResolution = 1;
    changed.PageCount = 1; changed.CurrentPage = 1; changed.SilentMode = true; changed.PdfDpiRendering = 100;
    changed.PdfForceTemporaryMode = true; changed.ImageForceTemporaryMode = true; changed.SkipImageResolution = true;
    changed.LockControl = true; changed.ZoomMode = 2; changed.PdfRenderingMode = 1; changed.RectBorderStyle = 2;
    changed.RectDrawMode = 1; changed.Enabled = false; changed.EnableMouseWheel = false; changed.ImageAlignment = 0;
    changed.ImagePosition = 0; changed.AnimateGIF = true; changed.RectBorderSize = 2; changed.ClipControls = false;
    changed.RectBorderColor = 1; changed.BorderStyle = 0; changed.Appearance = 0; changed.BackStyle = 0;
    changed.BackColor = 1; changed.ScrollOptimization = true; changed.ViewerQuality = 0; changed.ViewerQualityAuto = true;
    changed.ForcePictureMode = true; changed.KeepImagePosition = true; changed.MouseWheelMode = 1;
    changed.ViewerDrop = true; changed.DisableAutoFocus = true; changed.MousePointer = 1;
    changed.PdfDisplayFormField = false; changed.ForceScrollBars = true; changed.PdfEnablePageCash = true;
    changed.ImageMaskColor = 0; changed.Gamma = 2; changed.RectIsEditable = false; changed.ContinuousViewMode = false;
    changed.MouseButtonForMouseMode = 2; changed.OptimizeDrawingSpeed = true; changed.PDFShowDialogForPassword = false;
    RecordingBag bag;
    ASSERT_EQ(WriteViewerSettings(changed, bag), S_OK);
    EXPECT_EQ(bag.writes, wide(ViewerBagWriteOrder()));
    EXPECT_EQ(bag.writes.size(), 54u);
    // Read back in the reading order, every value arrives.
    ViewerSettings read;
    ASSERT_EQ(ReadViewerSettings(bag, read), S_OK);
    EXPECT_EQ(bag.reads, wide(ViewerBagReadOrder()));
    RecordingBag again;
    ASSERT_EQ(WriteViewerSettings(read, again), S_OK);
    EXPECT_EQ(again.writes, bag.writes);
    EXPECT_EQ(read.Gamma, 2.0f);
    EXPECT_EQ(read.ScrollLargeChange, 3);
    EXPECT_EQ(read.Zoom, 2.0);
}

TEST_F(ViewerPropertyBag, OnlyGammaStoredGivesDefaultsElsewhere) {
    MemoryPropertyBag* bag = MemoryPropertyBag::Create();
    VARIANT gamma = MakeR4(2);
    bag->Write(u"Gamma", &gamma);
    put("ZoomStep", MakeI4(25));  // changed before: a missing key gives the default again
    ASSERT_EQ(persist()->Load(bag, nullptr), S_OK);
    EXPECT_EQ(get("gamma").fltVal, 2.0f);
    EXPECT_EQ(get("ZoomStep").lVal, 10);
    EXPECT_EQ(get("ViewerQuality").lVal, 4);
    EXPECT_EQ(get("ImageMaskColor").lVal, 0x10000);
    bag->Release();
}

TEST_F(ViewerPropertyBag, ReadingAppliesNoLayoutButSetsTheBars) {
    show(400, 300);
    MemoryPropertyBag* bag = MemoryPropertyBag::Create();
    VARIANT large = MakeI2(20), mode = MakeI4(2);
    bag->Write(u"ScrollLargeChange", &large);
    bag->Write(u"ZoomMode", &mode);
    events.events.clear();
    ASSERT_EQ(persist()->Load(bag, nullptr), S_OK);
    EXPECT_TRUE(events.events.empty());
    auto& control = static_cast<ViewerObject*>(static_cast<DispatchControl*>(viewer))->control();
    EXPECT_EQ(control.hScroll().largeChange, 20);
    EXPECT_EQ(control.vScroll().largeChange, 20);
    EXPECT_EQ(get("ZoomMode").lVal, 2);
    bag->Release();
}

TEST_F(ViewerPropertyBag, ALetTellsTheContainerWhatChanged) {
    site.changed.clear();
    put("ZoomStep", MakeI4(0));  // refused, still reported
    put("PdfDpiRendering", MakeI4(1201));
    EXPECT_EQ(get("PdfDpiRendering").lVal, 200);
    put("PdfDpiRendering", MakeI4(1200));
    EXPECT_EQ(get("PdfDpiRendering").lVal, 1200);
    put("PageCount", MakeI4(7));
    EXPECT_EQ(get("PageCount").lVal, 0);
    put("gamma", MakeR4(1.5f));
    EXPECT_EQ(site.changed, (std::vector<DISPID>{id("ZoomStep"), id("PdfDpiRendering"), id("PdfDpiRendering"),
                                                  id("gamma")}));
}

TEST_F(ViewerPropertyBag, FrameAnswers) {
    EXPECT_DOUBLE_EQ(call("GetVersion").dblVal, 5.9901306);
    IObjectSafety* safety = nullptr;
    ASSERT_EQ(viewer->QueryInterface(IID_IObjectSafety, reinterpret_cast<void**>(&safety)), S_OK);
    uint32_t supported = 0, enabled = 0;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(&IID_IPersistPropertyBag, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, 3u);
    EXPECT_EQ(enabled, 2u);
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(&IID_IClassFactory, &supported, &enabled), E_NOINTERFACE);
    safety->Release();
    // A resize to no height does nothing.
    events.events.clear();
    surface->Resize(100, 0);
    EXPECT_TRUE(events.events.empty());
    surface->Resize(100, 50);
    EXPECT_EQ(events.events, (std::vector<DISPID>{19}));
}

}  // namespace
}  // namespace scanvelt::testing
