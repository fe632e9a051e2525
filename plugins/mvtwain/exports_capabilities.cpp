// Entry points of capability negotiation: the value loads the control reads
// by index, the generic setters, and the typed calls.
#include <cmath>
#include <vector>

#include "plugins/mvtwain/engine_instance.h"
#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/twain_codes.h"

using mvtwain::EngineLock;
using mvtwain::HandOut;
using mvtwain::Texts;
using mvtwain::TheEngine;
namespace cap = mvtwain::cap;

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;
int32_t answer(bool yes) { return yes ? 1 : 0; }

// The values of the last load, read by index afterwards.
struct LastLoad {
    std::vector<double> values;
    double current = 0;
    double minimum = 0, maximum = 0, step = 0;
};

LastLoad& lastLoad() {
    static LastLoad load;
    return load;
}

std::optional<mvtwain::CapabilityValues> describe(int32_t c) {
    auto& engine = TheEngine();
    auto* caps = engine.capabilities();
    if (!caps) return std::nullopt;
    auto values = caps->describe(c);
    engine.finish(values ? MVTWAIN_TWCC_SUCCESS : MVTWAIN_TWCC_CAPUNSUPPORTED);
    return values;
}

double fromFix32(int32_t fix) {
    // Whole part in the high 16 bits (signed), fraction in 1/65536 in the low 16 bits.
    const int16_t whole = static_cast<int16_t>(static_cast<uint32_t>(fix) >> 16);
    const uint16_t fraction = static_cast<uint16_t>(fix & 0xFFFF);
    return whole + fraction / 65536.0;
}

bool setCap(int32_t c, double value) {
    auto& engine = TheEngine();
    auto* caps = engine.capabilities();
    if (!caps) return false;
    bool snapped = false;
    const int32_t condition = caps->set(c, value, snapped);
    return engine.finish(condition, condition == MVTWAIN_TWCC_SUCCESS && snapped ? MVTWAIN_TWRC_CHECKSTATUS : -1);
}

double current(int32_t c, double fallback) {
    auto values = describe(c);
    return values ? values->current : fallback;
}

}  // namespace

MVTWAIN_EXPORT int32_t MVTWAIN_LoadCapValuesN(int32_t c, int32_t mode) {
    Guard lock(EngineLock());
    auto& load = lastLoad();
    load = {};
    if (mode != 1 && mode != 2) return answer(TheEngine().finish(MVTWAIN_TWCC_BADVALUE));
    auto values = describe(c);
    if (!values) return 0;
    load.current = values->current;
    load.values = mode == 1 ? values->values : std::vector<double>{values->current};
    return static_cast<int32_t>(load.values.size());
}

MVTWAIN_EXPORT int32_t MVTWAIN_LoadCapValuesS(int32_t c, int32_t mode) {
    Guard lock(EngineLock());
    lastLoad() = {};
    Texts().capabilityText.clear();
    // No text capability has a SANE option behind it.
    if (!TheEngine().capabilities()) return 0;
    TheEngine().finish(mode == 1 || mode == 2 ? MVTWAIN_TWCC_CAPUNSUPPORTED : MVTWAIN_TWCC_BADVALUE);
    (void)c;
    return 0;
}

MVTWAIN_EXPORT int32_t MVTWAIN_LoadCapValuesRangeN(int32_t c) {
    Guard lock(EngineLock());
    auto& load = lastLoad();
    load = {};
    auto values = describe(c);
    if (!values) return 0;
    if (!values->rangeOption) {
        // A capability offered as a list has no range, as a TWAIN source answers it.
        TheEngine().finish(MVTWAIN_TWCC_CAPBADOPERATION);
        return 0;
    }
    load.current = values->current;
    load.minimum = values->rangeOption->minimum;
    load.maximum = values->rangeOption->maximum;
    load.step = values->rangeOption->quantum;
    load.values = values->values;
    return 1;
}

MVTWAIN_EXPORT double MVTWAIN_GetLastCapValueCurrent(void) {
    Guard lock(EngineLock());
    return lastLoad().current;
}

MVTWAIN_EXPORT const char* MVTWAIN_GetLastCapValueCurrentS(void) {
    Guard lock(EngineLock());
    return Texts().capabilityText.c_str();
}

MVTWAIN_EXPORT double MVTWAIN_GetLastStepCapValueRange(void) {
    Guard lock(EngineLock());
    return lastLoad().step;
}

MVTWAIN_EXPORT double MVTWAIN_GetLastMinCapValueRange(void) {
    Guard lock(EngineLock());
    return lastLoad().minimum;
}

MVTWAIN_EXPORT double MVTWAIN_GetLastMaxCapValueRange(void) {
    Guard lock(EngineLock());
    return lastLoad().maximum;
}

MVTWAIN_EXPORT double MVTWAIN_GetCapValueFromIdx(int32_t index) {
    Guard lock(EngineLock());
    const auto& values = lastLoad().values;
    return index >= 0 && static_cast<size_t>(index) < values.size() ? values[static_cast<size_t>(index)] : 0;
}

MVTWAIN_EXPORT const char* MVTWAIN_GetCapValueFromIdxS(int32_t) {
    Guard lock(EngineLock());
    return HandOut(Texts().capabilityText, "");
}

MVTWAIN_EXPORT int32_t MVTWAIN_ToFix32(double value) {
    if (!std::isfinite(value)) return 0;
    const double clamped = std::fmax(-32768.0, std::fmin(value, 32767.0 + 65535.0 / 65536.0));
    const int64_t scaled = std::llround(clamped * 65536.0);
    return static_cast<int32_t>(static_cast<uint32_t>(scaled & 0xFFFFFFFF));
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetCapOneValue(int32_t c, int32_t itemType, int32_t value) {
    Guard lock(EngineLock());
    const double number = itemType == MVTWAIN_TWTY_FIX32 ? fromFix32(value) : static_cast<double>(value);
    return answer(setCap(c, number));
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetCapOneValueS(int32_t, int32_t, const char*) {
    Guard lock(EngineLock());
    if (!TheEngine().capabilities()) return 0;
    TheEngine().finish(MVTWAIN_TWCC_CAPUNSUPPORTED);
    return 0;
}

MVTWAIN_EXPORT int32_t MVTWAIN_Reset(int32_t c) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    if (!caps) return 0;
    return answer(TheEngine().finish(caps->reset(c)));
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetCapItemType(int32_t c) {
    Guard lock(EngineLock());
    auto values = describe(c);
    return values ? values->itemType : MVTWAIN_TWTY_INVALID;
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetBitDepth(void) {
    Guard lock(EngineLock());
    return static_cast<int32_t>(std::lround(current(cap::BitDepth, 0)));
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetBitDepth(int32_t bitDepth) {
    Guard lock(EngineLock());
    return answer(setCap(cap::BitDepth, bitDepth));
}

MVTWAIN_EXPORT double MVTWAIN_GetBrightness(void) {
    Guard lock(EngineLock());
    return current(cap::Brightness, 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetBrightness(double brightness) {
    Guard lock(EngineLock());
    return answer(setCap(cap::Brightness, brightness));
}

MVTWAIN_EXPORT double MVTWAIN_GetContrast(void) {
    Guard lock(EngineLock());
    return current(cap::Contrast, 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetContrast(double contrast) {
    Guard lock(EngineLock());
    return answer(setCap(cap::Contrast, contrast));
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetPixelType(void) {
    Guard lock(EngineLock());
    return static_cast<int32_t>(std::lround(current(cap::PixelType, -1)));
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetCurrentPixelType(int32_t pixelType) {
    Guard lock(EngineLock());
    return answer(setCap(cap::PixelType, pixelType));
}

MVTWAIN_EXPORT double MVTWAIN_GetCurrentResolution(void) {
    Guard lock(EngineLock());
    return current(cap::XResolution, 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetCurrentResolution(double resolution) {
    Guard lock(EngineLock());
    if (!setCap(cap::XResolution, resolution)) return 0;
    // One option serves both directions on most devices; a second one follows the first.
    auto y = describe(cap::YResolution);
    if (y && y->current != resolution && !setCap(cap::YResolution, resolution)) return 0;
    return 1;
}

MVTWAIN_EXPORT double MVTWAIN_GetPhysicalHeight(void) {
    Guard lock(EngineLock());
    return current(cap::PhysicalHeight, 0);
}

MVTWAIN_EXPORT double MVTWAIN_GetPhysicalWidth(void) {
    Guard lock(EngineLock());
    return current(cap::PhysicalWidth, 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetPaperSize(void) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    return caps ? caps->paperSize() : 0;
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetPaperSize(int32_t paperSize) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    return caps ? answer(TheEngine().finish(caps->setPaperSize(paperSize))) : 0;
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetImageLayout(double left, double top, double right, double bottom) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    return caps ? answer(TheEngine().finish(caps->setLayout({left, top, right, bottom}))) : 0;
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetImageLayout(double* left, double* top, double* right, double* bottom) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    if (!caps) return 0;
    auto layout = caps->layout();
    if (!layout) return answer(TheEngine().finish(MVTWAIN_TWCC_CAPUNSUPPORTED));
    if (left) *left = layout->left;
    if (top) *top = layout->top;
    if (right) *right = layout->right;
    if (bottom) *bottom = layout->bottom;
    return answer(TheEngine().finish(MVTWAIN_TWCC_SUCCESS));
}

MVTWAIN_EXPORT int32_t MVTWAIN_ResetImageLayout(void) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    return caps ? answer(TheEngine().finish(caps->resetLayout())) : 0;
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetDuplexMode(void) {
    Guard lock(EngineLock());
    return static_cast<int32_t>(std::lround(current(cap::Duplex, 0)));
}

MVTWAIN_EXPORT int32_t MVTWAIN_EnableDuplex(int32_t duplex) {
    Guard lock(EngineLock());
    return answer(setCap(cap::DuplexEnabled, duplex != 0 ? 1 : 0));
}
