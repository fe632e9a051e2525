// Capability negotiation members of _Twain bound to their dispatch IDs.
#include "imaging/engine/engine_numeric.h"
#include "imaging/twain/caller_arrays.h"
#include "imaging/twain/capability_members.h"
#include "imaging/twain/member_binder.h"
#include "imaging/twain/twain_object.h"
#include "platform/com/variant.h"

namespace scanvelt {
namespace {

using com::BoundArguments;
using namespace twain_capability;

// The value lists: array, count and number members of one capability.
struct ValueList {
    const char* arrayMember;
    const char* countMember;
    const char* numberMember;
    int32_t cap;
    ListElement element;
    double fallback;
};

constexpr ValueList kValueLists[] = {
    {"TwainGetAvailableImageFileFormat", "TwainGetAvailableImageFileFormatCount", "TwainGetAvailableImageFileFormatNo",
     kImageFileFormat, ListElement::Long, -1},
    {"TwainGetAvailableCompression", "TwainGetAvailableCompressionCount", "TwainGetAvailableCompressionNo", kCompression,
     ListElement::Long, -1},
    {"TwainGetAvailableBrightness", "TwainGetAvailableBrightnessCount", "TwainGetAvailableBrightnessNo", kBrightness,
     ListElement::Double, 0},
    {"TwainGetAvailableContrast", "TwainGetAvailableContrastCount", "TwainGetAvailableContrastNo", kContrast,
     ListElement::Double, 0},
    {"TwainGetAvailableBitDepths", "TwainGetAvailableBitDepthsCount", "TwainGetAvailableBitDepthNo", kBitDepth,
     ListElement::Long, 0},
    {"TwainGetAvailablePixelTypes", "TwainGetAvailablePixelTypesCount", "TwainGetAvailablePixelTypeNo", kPixelType,
     ListElement::Long, 0},
    {"TwainGetAvailableXResolutions", "TwainGetAvailableXResolutionsCount", "TwainGetAvailableXResolutionNo",
     kXResolution, ListElement::Long, 0},
    {"TwainGetAvailableYResolutions", "TwainGetAvailableYResolutionsCount", "TwainGetAvailableYResolutionNo",
     kYResolution, ListElement::Long, 0},
    {"TwainGetAvailablePaperSize", "TwainGetAvailablePaperSizeCount", "TwainGetAvailablePaperSizeNo", kSupportedSizes,
     ListElement::Long, 0},
};

// Capabilities read and set as a Long through the generic members.
struct TypedCapability {
    const char* getter;
    const char* setter;
    int32_t cap;
};

constexpr TypedCapability kTypedCapabilities[] = {
    {"TwainGetCurrentImageFileFormat", "TwainSetCurrentImageFileFormat", kImageFileFormat},
    {"TwainGetCurrentCompression", "TwainSetCurrentCompression", kCompression},
    {"TwainGetCurrentThreshold", "TwainSetCurrentThreshold", kThreshold},
    {"TwainGetCurrentPlanarChunky", "TwainSetCurrentPlanarChunky", kPlanarChunky},
    {"TwainGetCurrentPixelFlavor", "TwainSetCurrentPixelFlavor", kPixelFlavor},
};

// Capabilities whose test is "read and equal to 1.0".
struct EnabledTest {
    const char* member;
    int32_t cap;
};

constexpr EnabledTest kEnabledTests[] = {
    {"TwainIsFeederSelected", kFeederEnabled},
    {"TwainIsFeederLoaded", kFeederLoaded},
    {"TwainIsDeviceOnline", kDeviceOnline},
    {"TwainIsDuplexEnabled", kDuplexEnabled},
};

void writeBack(const BoundArguments& a, size_t i, double value) { a.setOut(i, com::MakeR8(value)); }

}  // namespace

void TwainObject::bindCapabilityMembers() {
    MemberBinder b([this](com::DISPID id, com::MemberHandler handler) { Bind(id, std::move(handler)); });
    using A = const BoundArguments&;

    b.Long("TwainGetAvailableCapValuesCount", [](A a) { return GetAvailableCapValuesCount(a.i4(0)); });
    b.Long("TwainGetAvailableCapValuesNumeric",
           [](A a) { return FillCallerArray(a, 1, LoadNumbers(a.i4(0)), ListElement::Double); });
    b.Long("TwainGetAvailableCapValuesString",
           [](A a) { return FillCallerArray(a, 1, LoadTexts(a.i4(0)), ListElement::Text); });
    b.Double("TwainGetAvailableCapValueNoNumeric", [](A a) { return GetAvailableCapValueNoNumeric(a.i4(0), a.i4(1)); });
    b.Text("TwainGetAvailableCapValueNoString", [](A a) { return GetAvailableCapValueNoString(a.i4(0), a.i4(1)); });
    b.Bool("TwainGetCapCurrentNumeric", [](A a) {
        double current = 0;
        const bool read = GetCapCurrentNumeric(a.i4(0), current);
        writeBack(a, 1, current);
        return read;
    });
    b.Bool("TwainGetCapRangeNumeric", [](A a) {
        double minimum = 0, maximum = 0, step = 0;
        if (!GetCapRangeNumeric(a.i4(0), minimum, maximum, step)) return false;
        writeBack(a, 1, minimum);
        writeBack(a, 2, maximum);
        writeBack(a, 3, step);
        return true;
    });
    b.Bool("TwainGetCapCurrentString", [](A a) {
        std::string current;
        const bool read = GetCapCurrentString(a.i4(0), current);
        // setOut copies the text into the caller's variant; ours is freed here.
        const com::Variant text(com::MakeBstrUtf8(current));
        a.setOut(1, *text);
        return read;
    });
    b.Bool("TwainSetCapCurrentNumeric", [](A a) { return SetCapCurrentNumeric(a.i4(0), a.i4(1), a.i4(2)); });
    b.Bool("TwainSetCapCurrentString",
           [](A a) { return SetCapCurrentString(a.i4(0), a.i4(1), Utf8Argument(a, 2)); });
    b.Bool("TwainResetCap", [](A a) { return ResetCap(a.i4(0)); });
    b.Long("TwainGetCapItemType", [](A a) { return GetCapItemType(a.i4(0)); });

    for (const auto& typed : kTypedCapabilities) {
        const int32_t cap = typed.cap;
        b.Long(typed.getter, [cap](A) { return GetCurrentRounded(cap); });
        b.Bool(typed.setter, [cap](A a) { return SetCurrentThroughItemType(cap, a.i4(0)); });
    }

    b.Long("TwainGetCurrentBitDepth", [](A) { return GetCurrentBitDepth(); });
    b.Long("TwainGetCurrentBrightness", [](A) { return GetCurrentBrightness(); });
    b.Long("TwainGetCurrentContrast", [](A) { return GetCurrentContrast(); });
    b.Long("TwainGetCurrentPixelType", [](A) { return GetCurrentPixelType(); });
    b.Long("TwainGetCurrentResolution", [](A) { return GetCurrentResolution(); });
    b.Double("TwainGetPhysicalHeight", [](A) { return GetPhysicalHeight(); });
    b.Double("TwainGetPhysicalWidth", [](A) { return GetPhysicalWidth(); });

    b.Bool("TwainSetCurrentResolution", [](A a) { return SetCurrentResolution(a.i4(0)); });
    b.Bool("TwainSetCurrentPixelType", [](A a) { return SetCurrentPixelType(a.i4(0)); });
    b.Bool("TwainSetCurrentBitDepth", [](A a) { return SetCurrentBitDepth(a.i4(0)); });
    b.Bool("TwainSetCurrentBrightness", [](A a) { return SetCurrentBrightness(a.i4(0)); });
    b.Bool("TwainSetCurrentContrast", [](A a) { return SetCurrentContrast(a.i4(0)); });
    b.Long("TwainGetPaperSize", [](A) { return GetPaperSize(); });
    b.Bool("TwainSetPaperSize", [](A a) { return SetPaperSize(a.i4(0)); });
    b.Bool("TwainSetImageLayout", [](A a) { return SetImageLayout(a.r8(0), a.r8(1), a.r8(2), a.r8(3)); });
    b.Bool("TwainGetImageLayout", [](A a) {
        double left = a.r8(0), top = a.r8(1), right = a.r8(2), bottom = a.r8(3);
        const bool read = GetImageLayout(left, top, right, bottom);
        writeBack(a, 0, left);
        writeBack(a, 1, top);
        writeBack(a, 2, right);
        writeBack(a, 3, bottom);
        return read;
    });
    b.Long("TwainGetDuplexMode", [](A) { return GetDuplexMode(); });
    b.Bool("TwainGetHideUI", [](A) { return GetHideUI(); });
    b.Text("TwainGetCurrentSourceName", [](A) { return GetCurrentSourceName(); });
    b.Text("TwainGetDefaultSourceName", [](A) { return GetDefaultSourceName(); });
    b.None("TwainSetDebugMode", [](A a) { SetDebugMode(a.boolean(0)); });
    b.None("TwainSetDSMPath", [](A a) { SetDSMPath(Utf8Argument(a, 0)); });

    for (const auto& list : kValueLists) {
        const ValueList l = list;
        b.Long(l.arrayMember, [l](A a) { return FillCallerArray(a, 0, LoadNumbers(l.cap), l.element); });
        b.Long(l.countMember, [l](A) { return LoadNumbers(l.cap).count; });
        if (l.element == ListElement::Double)
            b.Double(l.numberMember, [l](A a) { return ListValueNo(l.cap, a.i4(0), l.fallback); });
        else
            b.Long(l.numberMember,
                   [l](A a) { return RoundToInt32(ListValueNo(l.cap, a.i4(0), l.fallback)); });
    }

    b.Bool("TwainHasFeeder", [](A) { return HasFeeder(); });
    b.Bool("TwainHasFlatBed", [](A) { return HasFlatBed(); });
    for (const auto& test : kEnabledTests) {
        const int32_t cap = test.cap;
        b.Bool(test.member, [cap](A) { return IsEnabled(cap); });
    }
    // The same answer as the automatic-feeding test.
    b.Bool("TwainIsAutoFeedOn", [](A) { return IsEnabled(kAutoFeed); });
    b.Bool("TwainSelectFeeder", [](A a) { return SelectFeeder(a.boolean(0)); });
    b.Bool("TwainHasCameraPreviewUI", [](A) { return HasCameraPreviewUI(); });
    b.Bool("TwainIsFileTransferModeAvailable", [](A) { return ListHolds(kTransferMechanism, 1); });
    b.Bool("TwainIsPixelTypeAvailable", [](A a) { return ListHolds(kPixelType, a.i4(0)); });
}

}  // namespace scanvelt
