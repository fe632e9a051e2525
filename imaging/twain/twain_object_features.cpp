// Automatic feature and engine barcode members of _Twain bound to their dispatch IDs.
#include "imaging/twain/feature_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"

namespace scanvelt {
namespace {

using twain_feature::Feature;

struct FeatureMembers {
    Feature feature;
    const char* setter;
    const char* availability;
    const char* enabled;
};

constexpr FeatureMembers kFeatureMembers[] = {
    {Feature::AutoBrightness, "TwainSetAutoBrightness", "TwainIsAutoBrightnessAvailable", "TwainIsAutoBrightnessEnabled"},
    {Feature::AutoFeed, "TwainSetAutoFeed", "TwainIsAutoFeedAvailable", "TwainIsAutoFeedEnabled"},
    {Feature::AutoScan, "TwainSetAutoScan", "TwainIsAutoScanAvailable", "TwainIsAutoScanEnabled"},
    {Feature::AutoSize, "TwainSetAutoSize", "TwainIsAutoSizeAvailable", "TwainIsAutoSizeEnabled"},
    {Feature::BorderDetection, "TwainSetAutomaticBorderDetection", "TwainIsAutomaticBorderDetectionAvailable",
     "TwainIsAutomaticBorderDetectionEnabled"},
    {Feature::Deskew, "TwainSetAutomaticDeskew", "TwainIsAutomaticDeskewAvailable", "TwainIsAutomaticDeskewEnabled"},
    {Feature::DiscardBlankPages, "TwainSetAutomaticDiscardBlankPages", "TwainIsAutomaticDiscardBlankPagesAvailable",
     "TwainIsAutomaticDiscardBlankPagesEnabled"},
    {Feature::Rotation, "TwainSetAutomaticRotation", "TwainIsAutomaticRotationAvailable",
     "TwainIsAutomaticRotationEnabled"},
    {Feature::BarcodeDetection, "TwainSetBarcodeDetection", "TwainIsBarcodeDetectionAvailable",
     "TwainIsBarcodeDetectionEnabled"},
};

}  // namespace

void TwainObject::bindFeatureMembers() {
    MemberBinder b([this](com::DISPID id, com::MemberHandler handler) { Bind(id, std::move(handler)); });
    using A = const com::BoundArguments&;
    namespace f = twain_feature;

    for (const auto& members : kFeatureMembers) {
        const Feature feature = members.feature;
        b.Bool(members.setter, [feature](A a) { return f::Set(feature, a.boolean(0)); });
        b.Bool(members.availability, [feature](A) { return f::IsAvailable(feature); });
        b.Bool(members.enabled, [feature](A) { return f::IsEnabled(feature); });
    }
    b.Long("TwainGetAvailableBarCodeTypeCount", [](A) { return f::GetAvailableBarCodeTypeCount(); });
    b.Long("TwainGetAvailableBarCodeTypeNo", [](A a) { return f::GetAvailableBarCodeTypeNo(a.i4(0)); });
    b.Long("TwainBarCodeGetCount", [](A) { return f::BarCodeGetCount(); });
    b.Text("TwainBarCodeGetValue", [](A a) { return f::BarCodeGetValue(a.i4(0)); });
    b.Long("TwainBarCodeGetType", [](A a) { return f::BarCodeGetType(a.i4(0)); });
    b.Long("TwainBarCodeGetXPos", [](A a) { return f::BarCodeGetXPos(a.i4(0)); });
    b.Long("TwainBarCodeGetYPos", [](A a) { return f::BarCodeGetYPos(a.i4(0)); });
    b.Long("TwainBarCodeGetConfidence", [](A a) { return f::BarCodeGetConfidence(a.i4(0)); });
    b.Long("TwainBarCodeGetRotation", [](A a) { return f::BarCodeGetRotation(a.i4(0)); });
}

}  // namespace scanvelt
