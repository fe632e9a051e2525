// Entry points of the source manager and the source.
#include <cstdlib>
#include <vector>

#include "plugins/mvtwain/engine_instance.h"
#include "plugins/mvtwain/mvtwain.h"

using mvtwain::EngineLock;
using mvtwain::HandOut;
using mvtwain::Texts;
using mvtwain::TheEngine;

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

int32_t answer(bool yes) { return yes ? 1 : 0; }

struct SourceWalk {
    std::vector<mvtwain::SourceEntry> list;
    size_t next = 0;
};

SourceWalk& walk() {
    static SourceWalk w;
    return w;
}

const char* nextSourceName() {
    auto& w = walk();
    std::string name = w.next < w.list.size() ? w.list[w.next++].label : "";
    return HandOut(Texts().sourceName, std::move(name));
}

}  // namespace

MVTWAIN_EXPORT int32_t MVTWAIN_State(void) {
    Guard lock(EngineLock());
    return TheEngine().state();
}

MVTWAIN_EXPORT int32_t MVTWAIN_IsAvailable(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().available());
}

MVTWAIN_EXPORT int32_t MVTWAIN_OpenSourceManager(int32_t) {
    Guard lock(EngineLock());
    return answer(TheEngine().openManager());
}

MVTWAIN_EXPORT int32_t MVTWAIN_CloseSourceManager(int32_t) {
    Guard lock(EngineLock());
    return answer(TheEngine().closeManager());
}

MVTWAIN_EXPORT int32_t MVTWAIN_UnloadSourceManager(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().unloadManager());
}

MVTWAIN_EXPORT int32_t MVTWAIN_SelectImageSource(int32_t) {
    Guard lock(EngineLock());
    return answer(TheEngine().selectSource());
}

MVTWAIN_EXPORT int32_t MVTWAIN_OpenDefaultSource(void) {
    Guard lock(EngineLock());
    auto& engine = TheEngine();
    // The open source counts as the default one: opening again is no error.
    if (engine.state() >= 4 && !engine.currentLabel().empty()) return answer(engine.finish(MVTWAIN_TWCC_SUCCESS));
    const std::string device = engine.defaultDevice();
    if (device.empty()) return answer(engine.finish(MVTWAIN_TWCC_NODS));
    return answer(engine.openSource(device));
}

MVTWAIN_EXPORT int32_t MVTWAIN_OpenSource(const char* sourceName) {
    Guard lock(EngineLock());
    return answer(TheEngine().openSource(mvtwain::FromCaller(sourceName)));
}

MVTWAIN_EXPORT int32_t MVTWAIN_CloseSource(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().closeSource());
}

MVTWAIN_EXPORT int32_t MVTWAIN_DisableSource(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().disableSource());
}

MVTWAIN_EXPORT int32_t MVTWAIN_SourceSetup(int32_t) {
    Guard lock(EngineLock());
    return answer(TheEngine().sourceSetup());
}

MVTWAIN_EXPORT const char* MVTWAIN_GetFirstSourceName(void) {
    Guard lock(EngineLock());
    walk().list = TheEngine().sources();
    walk().next = 0;
    return nextSourceName();
}

MVTWAIN_EXPORT const char* MVTWAIN_GetNextSourceName(void) {
    Guard lock(EngineLock());
    return nextSourceName();
}

MVTWAIN_EXPORT int32_t MVTWAIN_RegisterApp(int32_t majorVersion, int32_t minorVersion, int32_t, int32_t,
                                           const char*, const char*, const char*, const char* productName) {
    Guard lock(EngineLock());
    // SANE asks for no application identity; it goes into the log only.
    TheEngine().log("application " + std::string(productName ? productName : "") + " " +
                    std::to_string(majorVersion) + "." + std::to_string(minorVersion));
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetHideUI(int32_t hide) {
    Guard lock(EngineLock());
    TheEngine().settings().hideUi = hide != 0;
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetHideUI(void) {
    Guard lock(EngineLock());
    return answer(TheEngine().settings().hideUi);
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetShowError(int32_t) {
    // The engine reports failures through its condition codes and shows no messages of its own.
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetMultiTransfer(int32_t) {
    // Every acquisition is one transfer; a feeder's further pages follow by automatic scanning.
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_AutoSourceClose(int32_t) {
    // The source stays open until the host closes it.
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetLastConditionCode(void) {
    Guard lock(EngineLock());
    return TheEngine().conditionCode();
}

MVTWAIN_EXPORT int32_t MVTWAIN_GetLastResultCode(void) {
    Guard lock(EngineLock());
    return TheEngine().resultCode();
}

MVTWAIN_EXPORT int32_t MVTWAIN_StartLog(const char* logPath) {
    Guard lock(EngineLock());
    return answer(TheEngine().startLog(mvtwain::FromCaller(logPath)));
}

MVTWAIN_EXPORT int32_t MVTWAIN_StopLog(void) {
    Guard lock(EngineLock());
    TheEngine().stopLog();
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetDebugMode(int32_t debug) {
    Guard lock(EngineLock());
    TheEngine().setDebug(debug != 0);
    return 1;
}

MVTWAIN_EXPORT int32_t MVTWAIN_SetDSMPath(const char* path) {
    Guard lock(EngineLock());
    // SANE finds its backends through its configuration folder: a path given
    // here points SANE_CONFIG_DIR at it before the manager starts.
    if (path && *path && TheEngine().state() < 3) setenv("SANE_CONFIG_DIR", mvtwain::FromCaller(path).c_str(), 1);
    return 1;
}

MVTWAIN_EXPORT const char* MVTWAIN_GetCurrentSourceName(void) {
    Guard lock(EngineLock());
    return HandOut(Texts().currentName, TheEngine().currentLabel());
}

MVTWAIN_EXPORT const char* MVTWAIN_GetDefaultSourceName(void) {
    Guard lock(EngineLock());
    auto& engine = TheEngine();
    return HandOut(Texts().defaultName, engine.labelOf(engine.defaultDevice()));
}
