// The scripted TWAIN engine of the acquisition members' tests (see scripted_engine.h).
#include "imaging/twain/testdata/scripted_engine.h"

#include <sys/time.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/win/global_memory.h"
#include "platform/win/version_note.h"

WIN_FILE_VERSION_NOTE(6, 30, 0, 0);

namespace {

ScriptedEngineScript script;
ScriptedEngineRecord record;

constexpr int kWidth = 4, kHeight = 2;

// A 4 x 2 packed DIB of 24 bits without a resolution.
void fillDib(uint8_t* p) {
    const uint32_t header[10] = {40, kWidth, kHeight, 1 | (24u << 16), 0, 0, 0, 0, 0, 0};
    std::memcpy(p, header, sizeof header);
    for (int i = 0; i < kWidth * kHeight * 3; ++i) p[40 + i] = static_cast<uint8_t>(i * 9);
}

size_t dibBytes() { return 40 + static_cast<size_t>(kWidth * 3) * kHeight; }
int32_t rawStride() { return (kWidth * script.rawBitsPerPixel + 31) / 32 * 4; }

void writeBmp(const char* path) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return;
    uint8_t dib[64];
    fillDib(dib);
    const uint32_t size = static_cast<uint32_t>(14 + dibBytes());
    const uint8_t fileHeader[14] = {'B', 'M', static_cast<uint8_t>(size), 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    std::fwrite(fileHeader, 1, sizeof fileHeader, f);
    std::fwrite(dib, 1, dibBytes(), f);
    std::fclose(f);
    if (script.fileAgeSeconds > 0) {
        const time_t then = std::time(nullptr) - script.fileAgeSeconds;
        const struct timeval times[2] = {{then, 0}, {then, 0}};
        ::utimes(path, times);
    }
}

}  // namespace

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT void ScriptedEngine_Set(const ScriptedEngineScript* s, ScriptedEngineRecord** r) {
    script = *s;
    record = ScriptedEngineRecord{};
    if (r) *r = &record;
}

EXPORT int32_t MVTWAIN_GetVersion() { return 630; }
EXPORT int32_t MVTWAIN_State() { return script.state; }
EXPORT int32_t MVTWAIN_SetTransferMode(int32_t mode) { return record.transferModeSet = mode, 1; }
EXPORT int32_t MVTWAIN_SetFilePathTransfer(const char* path) {
    std::snprintf(record.transferPath, sizeof record.transferPath, "%s", path ? path : "");
    return 1;
}
EXPORT const char* MVTWAIN_GetFilePathTransfer() { return record.transferPath; }
EXPORT int32_t MVTWAIN_LastTransferMode() { return script.transferMode; }
EXPORT int32_t MVTWAIN_UserClosedSource() { return script.cancelled ? 1 : 0; }
EXPORT int32_t MVTWAIN_XferFail() { return script.failed ? 1 : 0; }
EXPORT int32_t MVTWAIN_GetLastResultCode() { return script.resultCode; }
EXPORT int32_t MVTWAIN_GetLastConditionCode() { return script.conditionCode; }
EXPORT int32_t MVTWAIN_LastDibIsRAW() { return script.handleKind == 2 ? 1 : 0; }
EXPORT int32_t MVTWAIN_LastRAWWidth() { return kWidth; }
EXPORT int32_t MVTWAIN_LastRAWHeight() { return kHeight; }
EXPORT int32_t MVTWAIN_LastRAWStride() { return rawStride(); }
EXPORT int32_t MVTWAIN_LastRAWBPP() { return script.rawBitsPerPixel; }
EXPORT double MVTWAIN_LastRAWResX() { return script.rawResolution; }
EXPORT double MVTWAIN_LastRAWResY() { return script.rawResolution; }

EXPORT int32_t MVTWAIN_FreeNative(int32_t handle) {
    ++record.freedHandles;
    return win::GlobalFree(win::HGLOBAL{static_cast<uint32_t>(handle)}) == win::HGLOBAL{} ? 1 : 0;
}

EXPORT int32_t MVTWAIN_AcquireNative(int32_t) {
    if (script.transferMode == 1) {
        if (script.writeFile) writeBmp((std::string(record.transferPath) + "_").c_str());
        return 0;
    }
    if (script.handleKind == 0) return 0;
    const size_t bytes = script.handleKind == 1 ? dibBytes() : static_cast<size_t>(rawStride()) * kHeight;
    const win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, bytes);
    auto* p = static_cast<uint8_t*>(win::GlobalLock(block));
    if (script.handleKind == 1) fillDib(p);
    else for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(i);
    win::GlobalUnlock(block);
    return static_cast<int32_t>(block);
}

// Value lists (see ScriptedEngineScript::listCount).
EXPORT int32_t MVTWAIN_LoadCapValuesN(int32_t, int32_t) { return script.listCount; }
EXPORT int32_t MVTWAIN_LoadCapValuesS(int32_t, int32_t) { return script.listCount; }
EXPORT double MVTWAIN_GetCapValueFromIdx(int32_t index) {
    return index >= 0 && index < script.listCount ? 100.0 * (index + 1) + 0.25 : 0;
}
EXPORT const char* MVTWAIN_GetCapValueFromIdxS(int32_t index) {
    static char text[32];
    if (index >= 0 && index < script.listCount) std::snprintf(text, sizeof text, "value %d", index + 1);
    else text[0] = 0;
    return text;
}
EXPORT double MVTWAIN_GetLastCapValueCurrent() { return 300.25; }
EXPORT const char* MVTWAIN_GetLastCapValueCurrentS() { return "current text"; }
EXPORT int32_t MVTWAIN_LoadCapValuesRangeN(int32_t) { return script.listCount > 0 ? 1 : 0; }
EXPORT double MVTWAIN_GetLastMinCapValueRange() { return 10.5; }
EXPORT double MVTWAIN_GetLastMaxCapValueRange() { return 20.25; }
EXPORT double MVTWAIN_GetLastStepCapValueRange() { return 0.5; }
// Barcodes of the last transfer (see ScriptedEngineScript::barcodeCount).
EXPORT int32_t MVTWAIN_BarCodeCount() { return script.barcodeCount; }
EXPORT const char* MVTWAIN_BarCodeValue(int32_t index) {
    static char text[32];
    text[0] = '\0';
    if (index >= 0 && index < script.barcodeCount) std::snprintf(text, sizeof text, "code %d", index + 1);
    return text;
}
namespace {
int32_t barcodeField(int32_t index, int32_t first, int32_t step) {
    return index >= 0 && index < script.barcodeCount ? first + step * index : 0;
}
}  // namespace
EXPORT int32_t MVTWAIN_BarCodeType(int32_t index) { return barcodeField(index, 2, 1); }
EXPORT int32_t MVTWAIN_BarCodeX(int32_t index) { return barcodeField(index, 100, 10); }
EXPORT int32_t MVTWAIN_BarCodeY(int32_t index) { return barcodeField(index, 40, 7); }
EXPORT int32_t MVTWAIN_BarCodeConfidence(int32_t index) { return barcodeField(index, 90, -5); }
EXPORT int32_t MVTWAIN_BarCodeRotation(int32_t index) {
    return index >= 0 && index < script.barcodeCount ? index % 5 : 0;
}
EXPORT int32_t MVTWAIN_GetImageLayout(double* left, double* top, double* right, double* bottom) {
    *left = 1.25, *top = 2.5, *right = 3.75, *bottom = 5.0;
    return 1;
}
EXPORT int32_t MVTWAIN_SetImageLayout(double left, double top, double right, double bottom) {
    record.layoutSet[0] = left, record.layoutSet[1] = top, record.layoutSet[2] = right, record.layoutSet[3] = bottom;
    return 1;
}

// Switches the engine only takes note of (see ScriptedEngineRecord).
EXPORT int32_t MVTWAIN_AutoSourceClose(int32_t on) { return record.autoSourceClose = on, 1; }
EXPORT int32_t MVTWAIN_SetShowError(int32_t on) { return record.showError = on, 1; }
EXPORT int32_t MVTWAIN_SetMultiTransfer(int32_t on) { return record.multiTransfer = on, 1; }
EXPORT int32_t MVTWAIN_EnableDuplex(int32_t on) { return record.duplex = on, 1; }
