// Entry points of the automatic features, and the barcodes a source found.
// SANE reports no barcodes, so the list of the last transfer is empty.
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

int32_t setFeature(int32_t c, double value) {
    auto& engine = TheEngine();
    auto* caps = engine.capabilities();
    if (!caps) return 0;
    bool snapped = false;
    return engine.finish(caps->set(c, value, snapped)) ? 1 : 0;
}

}  // namespace

MVTWAIN_EXPORT int32_t MVTWAIN_SetAutoBright(int32_t on) {
    Guard lock(EngineLock());
    return setFeature(cap::AutoBright, on != 0 ? 1 : 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetAutoFeed(int32_t on) {
    Guard lock(EngineLock());
    return setFeature(cap::AutoFeed, on != 0 ? 1 : 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetAutoScan(int32_t on) {
    Guard lock(EngineLock());
    return setFeature(cap::AutoScan, on != 0 ? 1 : 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_AutomaticBorderDetection(int32_t on) {
    Guard lock(EngineLock());
    return setFeature(cap::AutomaticBorderDetection, on != 0 ? 1 : 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_AutomaticDeskew(int32_t on) {
    Guard lock(EngineLock());
    return setFeature(cap::AutomaticDeskew, on != 0 ? 1 : 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_AutomaticRotate(int32_t on) {
    Guard lock(EngineLock());
    return setFeature(cap::AutomaticRotate, on != 0 ? 1 : 0);
}

MVTWAIN_EXPORT int32_t MVTWAIN_BarCodeCount(void) { return 0; }

MVTWAIN_EXPORT const char* MVTWAIN_BarCodeValue(int32_t) {
    Guard lock(EngineLock());
    return HandOut(Texts().barcode, "");
}

MVTWAIN_EXPORT int32_t MVTWAIN_BarCodeType(int32_t) { return 0; }
MVTWAIN_EXPORT int32_t MVTWAIN_BarCodeX(int32_t) { return 0; }
MVTWAIN_EXPORT int32_t MVTWAIN_BarCodeY(int32_t) { return 0; }
MVTWAIN_EXPORT int32_t MVTWAIN_BarCodeConfidence(int32_t) { return 0; }
MVTWAIN_EXPORT int32_t MVTWAIN_BarCodeRotation(int32_t) { return 0; }
