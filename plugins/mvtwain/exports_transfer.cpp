// Entry points of transfers.
#include "platform/win/global_memory.h"
#include "plugins/mvtwain/engine_instance.h"
#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/twain_codes.h"

using mvtwain::EngineLock;
using mvtwain::HandOut;
using mvtwain::Texts;
using mvtwain::TheEngine;

namespace {
using Guard = std::lock_guard<std::recursive_mutex>;
int32_t answer(bool yes) { return yes ? 1 : 0; }
}  // namespace

MVTWAIN_EXPORT int32_t MVTWAIN_SetTransferMode(int32_t mode) {
    Guard lock(EngineLock());
    if (mode != MVTWAIN_XFER_NATIVE && mode != MVTWAIN_XFER_FILE) return answer(TheEngine().finish(MVTWAIN_TWCC_BADVALUE));
    TheEngine().settings().transferMode = mode;
    return answer(TheEngine().finish(MVTWAIN_TWCC_SUCCESS));
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetFilePathTransfer(const char* filePath) {
    Guard lock(EngineLock());
    TheEngine().transferPath() = mvtwain::FromCaller(filePath);
    return 1;
}

MVTWAIN_EXPORT const char* MVTWAIN_GetFilePathTransfer(void) {
    Guard lock(EngineLock());
    return HandOut(Texts().transferPath, TheEngine().transferPath());
}

MVTWAIN_EXPORT int32_t MVTWAIN_AcquireNative(int32_t) {
    Guard lock(EngineLock());
    return static_cast<int32_t>(TheEngine().acquire());
}

MVTWAIN_EXPORT int32_t MVTWAIN_LastTransferMode(void) {
    Guard lock(EngineLock());
    return TheEngine().last().mode;
}

MVTWAIN_EXPORT int32_t MVTWAIN_LastDibIsRAW(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().last().raw);
}

MVTWAIN_EXPORT int32_t MVTWAIN_LastRAWWidth(void) {
    Guard lock(EngineLock());
    return TheEngine().last().width;
}

MVTWAIN_EXPORT int32_t MVTWAIN_LastRAWHeight(void) {
    Guard lock(EngineLock());
    return TheEngine().last().height;
}

MVTWAIN_EXPORT int32_t MVTWAIN_LastRAWStride(void) {
    Guard lock(EngineLock());
    return TheEngine().last().stride;
}

MVTWAIN_EXPORT int32_t MVTWAIN_LastRAWBPP(void) {
    Guard lock(EngineLock());
    return TheEngine().last().bitsPerPixel;
}

MVTWAIN_EXPORT double MVTWAIN_LastRAWResX(void) {
    Guard lock(EngineLock());
    return TheEngine().last().resolutionX;
}

MVTWAIN_EXPORT double MVTWAIN_LastRAWResY(void) {
    Guard lock(EngineLock());
    return TheEngine().last().resolutionY;
}

MVTWAIN_EXPORT int32_t MVTWAIN_FreeNative(int32_t handle) {
    const win::HGLOBAL block{static_cast<uint32_t>(handle)};
    return answer(handle != 0 && win::GlobalFree(block) == win::HGLOBAL{});
}

MVTWAIN_EXPORT int32_t MVTWAIN_UserClosedSource(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().last().cancelled);
}

MVTWAIN_EXPORT int32_t MVTWAIN_XferFail(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().last().failed);
}

MVTWAIN_EXPORT int32_t MVTWAIN_EndXfer(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().endTransfer());
}

MVTWAIN_EXPORT int32_t MVTWAIN_AbortAllPendingXfers(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().abortAllTransfers());
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetIndicators(int32_t show) {
    Guard lock(EngineLock());
    TheEngine().settings().indicators = show != 0;
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_NegotiateXferCount(int32_t transfers) {
    Guard lock(EngineLock());
    auto* caps = TheEngine().capabilities();
    if (!caps) return 0;
    bool snapped = false;
    return answer(TheEngine().finish(caps->set(mvtwain::cap::XferCount, transfers, snapped)));
}
