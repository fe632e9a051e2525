#include "imaging/twain/feature_members.h"

#include "imaging/engine/engine_numeric.h"
#include "imaging/twain/capability_members.h"
#include "imaging/twain/mvtwain_calls.h"
#include "imaging/twain/twain_engine.h"

namespace scanvelt::twain_feature {
namespace {

using namespace mvtwain_call;

enum class Rule { EqualsOne, AboveZero, BlankPages };

struct FeatureInfo {
    int32_t cap;
    // The engine's switch; nullptr when the capability is set directly.
    const char* engineCall;
    bool guarded;
    int32_t onValue, offValue;
    Rule rule;
};

FeatureInfo infoOf(Feature feature) {
    switch (feature) {
    case Feature::AutoBrightness: return {4352, "MVTWAIN_SetAutoBright", true, -1, 0, Rule::EqualsOne};
    case Feature::AutoFeed: return {4103, "MVTWAIN_SetAutoFeed", true, 1, 0, Rule::EqualsOne};
    case Feature::AutoScan: return {4112, "MVTWAIN_SetAutoScan", false, 1, 0, Rule::EqualsOne};
    case Feature::AutoSize: return {4438, nullptr, false, 1, 0, Rule::AboveZero};
    case Feature::BorderDetection: return {4432, "MVTWAIN_AutomaticBorderDetection", true, 1, 0, Rule::EqualsOne};
    case Feature::Deskew: return {4433, "MVTWAIN_AutomaticDeskew", true, 1, 0, Rule::EqualsOne};
    case Feature::DiscardBlankPages: return {4404, nullptr, false, -1, -2, Rule::BlankPages};
    case Feature::Rotation: return {4434, "MVTWAIN_AutomaticRotate", false, 1, 0, Rule::EqualsOne};
    case Feature::BarcodeDetection: return {4407, nullptr, true, 1, 0, Rule::EqualsOne};
    }
    return {};
}

constexpr int32_t kSupportedBarcodeTypes = 4408;

// Asks the engine for barcode `number` only when it is one of the last transfer's.
template <class Answer, class Ask>
Answer barcode(int32_t number, Answer outOfRange, Ask ask) {
    if (number < 1 || number > BarCodeGetCount()) return outOfRange;
    return ask(number - 1);
}

}  // namespace

bool Set(Feature feature, bool on) {
    const FeatureInfo f = infoOf(feature);
    if (f.guarded && !TwainEngineReady()) return false;
    const int32_t value = on ? f.onValue : f.offValue;
    if (f.engineCall) return Int(f.engineCall, value) == 1;
    return twain_capability::SetCurrentThroughItemType(f.cap, value);
}

bool IsAvailable(Feature feature) {
    double value = 0;
    return twain_capability::GetCapCurrentNumeric(infoOf(feature).cap, value);
}

bool IsEnabled(Feature feature) {
    const FeatureInfo f = infoOf(feature);
    double value = 0;
    if (!twain_capability::GetCapCurrentNumeric(f.cap, value)) return false;
    switch (f.rule) {
    case Rule::EqualsOne: return value == 1.0;
    case Rule::AboveZero: return value > 0;
    case Rule::BlankPages: return value == -1.0 || value > 0;
    }
    return false;
}

int32_t GetAvailableBarCodeTypeCount() { return twain_capability::LoadNumbers(kSupportedBarcodeTypes).count; }

int32_t GetAvailableBarCodeTypeNo(int32_t number) {
    return RoundToInt32(twain_capability::ListValueNo(kSupportedBarcodeTypes, number, -1));
}

int32_t BarCodeGetCount() { return Int("MVTWAIN_BarCodeCount"); }

std::string BarCodeGetValue(int32_t number) {
    return barcode(number, std::string(), [](int32_t i) { return Text("MVTWAIN_BarCodeValue", i); });
}
int32_t BarCodeGetType(int32_t number) {
    return barcode(number, 0, [](int32_t i) { return Int("MVTWAIN_BarCodeType", i); });
}
int32_t BarCodeGetXPos(int32_t number) {
    return barcode(number, 0, [](int32_t i) { return Int("MVTWAIN_BarCodeX", i); });
}
int32_t BarCodeGetYPos(int32_t number) {
    return barcode(number, 0, [](int32_t i) { return Int("MVTWAIN_BarCodeY", i); });
}
int32_t BarCodeGetConfidence(int32_t number) {
    return barcode(number, 0, [](int32_t i) { return Int("MVTWAIN_BarCodeConfidence", i); });
}
int32_t BarCodeGetRotation(int32_t number) {
    return barcode(number, 0, [](int32_t i) { return Int("MVTWAIN_BarCodeRotation", i); });
}

}  // namespace scanvelt::twain_feature
