#include "imaging/twain/capability_members.h"

#include <algorithm>

#include "imaging/engine/engine_numeric.h"
#include "imaging/twain/acquisition_members.h"
#include "imaging/twain/mvtwain_calls.h"
#include "imaging/twain/twain_engine.h"
#include "platform/win/windows_path.h"

namespace scanvelt::twain_capability {
namespace {

using namespace mvtwain_call;

constexpr int32_t kLoadAll = 1;
constexpr int32_t kLoadCurrent = 2;

int32_t loadNumbers(int32_t cap, int32_t mode) { return Call<int32_t>("MVTWAIN_LoadCapValuesN", cap, mode); }
int32_t loadTexts(int32_t cap, int32_t mode) { return Call<int32_t>("MVTWAIN_LoadCapValuesS", cap, mode); }
double numberAt(int32_t index) { return Call<double>("MVTWAIN_GetCapValueFromIdx", index); }
std::string textAt(int32_t index) { return Text("MVTWAIN_GetCapValueFromIdxS", index); }

bool sourceOpen() { return twain_source::GetState() > 3; }

}  // namespace

bool IsStringCapability(int32_t cap) {
    switch (cap) {
    case 4096: case 4097: case 4100: case 4127: case 4132: case 4138: case 4139: case 4361: return true;
    default: return false;
    }
}

LoadedList LoadNumbers(int32_t cap) {
    LoadedList list;
    if (!TwainEngineReady()) return list;
    list.count = std::max(0, loadNumbers(cap, kLoadAll));
    list.number = numberAt;
    list.text = [](int32_t index) { return std::string(); };
    return list;
}

LoadedList LoadTexts(int32_t cap) {
    LoadedList list;
    if (!TwainEngineReady()) return list;
    list.count = std::max(0, loadTexts(cap, kLoadAll));
    list.number = [](int32_t) { return 0.0; };
    list.text = textAt;
    return list;
}

int32_t GetAvailableCapValuesCount(int32_t cap) {
    if (!TwainEngineReady()) return 0;
    return std::max(0, IsStringCapability(cap) ? loadTexts(cap, kLoadAll) : loadNumbers(cap, kLoadAll));
}

double GetAvailableCapValueNoNumeric(int32_t cap, int32_t number) { return ListValueNo(cap, number, 0); }

std::string GetAvailableCapValueNoString(int32_t cap, int32_t number) {
    const LoadedList list = LoadTexts(cap);
    return number >= 1 && number <= list.count ? list.text(number - 1) : std::string();
}

bool GetCapCurrentNumeric(int32_t cap, double& current) {
    current = 0;
    if (!TwainEngineReady() || loadNumbers(cap, kLoadCurrent) <= 0) return false;
    current = Real("MVTWAIN_GetLastCapValueCurrent");
    return true;
}

bool GetCapCurrentString(int32_t cap, std::string& current) {
    current.clear();
    if (!TwainEngineReady() || loadTexts(cap, kLoadCurrent) <= 0) return false;
    current = Text("MVTWAIN_GetLastCapValueCurrentS");
    return true;
}

bool GetCapRangeNumeric(int32_t cap, double& minimum, double& maximum, double& step) {
    if (!TwainEngineReady() || Int("MVTWAIN_LoadCapValuesRangeN", cap) <= 0) return false;
    step = Real("MVTWAIN_GetLastStepCapValueRange");
    minimum = Real("MVTWAIN_GetLastMinCapValueRange");
    maximum = Real("MVTWAIN_GetLastMaxCapValueRange");
    return true;
}

bool SetCapCurrentNumeric(int32_t cap, int32_t itemType, int32_t value) {
    if (!TwainEngineReady()) return false;
    const int32_t sent = itemType == kItemTypeFix32 ? Call<int32_t>("MVTWAIN_ToFix32", static_cast<double>(value)) : value;
    return Call<int32_t>("MVTWAIN_SetCapOneValue", cap, itemType, sent) != 0;
}

bool SetCapCurrentString(int32_t cap, int32_t itemType, std::string_view value) {
    if (!TwainEngineReady()) return false;
    const std::string text = ToEngine(value);
    return Call<int32_t>("MVTWAIN_SetCapOneValueS", cap, itemType, text.c_str()) != 0;
}

bool ResetCap(int32_t cap) { return TwainEngineReady() && Int("MVTWAIN_Reset", cap) != 0; }

int32_t GetCapItemType(int32_t cap) { return TwainEngineReady() ? Int("MVTWAIN_GetCapItemType", cap) : -1; }

int32_t GetCurrentRounded(int32_t cap) {
    double value = 0;
    return GetCapCurrentNumeric(cap, value) ? RoundToInt32(value) : -1;
}

bool SetCurrentThroughItemType(int32_t cap, int32_t value) {
    const int32_t itemType = GetCapItemType(cap);
    return SetCapCurrentNumeric(cap, itemType, value);
}

bool IsEnabled(int32_t cap) {
    double value = 0;
    return GetCapCurrentNumeric(cap, value) && value == 1.0;
}

int32_t GetCurrentBitDepth() { return sourceOpen() ? Int("MVTWAIN_GetBitDepth") : 0; }
int32_t GetCurrentBrightness() { return sourceOpen() ? RoundToInt32(Real("MVTWAIN_GetBrightness")) : -99999; }
int32_t GetCurrentContrast() { return sourceOpen() ? RoundToInt32(Real("MVTWAIN_GetContrast")) : -99999; }
int32_t GetCurrentPixelType() { return sourceOpen() ? Int("MVTWAIN_GetPixelType") : -1; }
int32_t GetCurrentResolution() { return sourceOpen() ? RoundToInt32(Real("MVTWAIN_GetCurrentResolution")) : -1; }
double GetPhysicalHeight() { return sourceOpen() ? Real("MVTWAIN_GetPhysicalHeight") : -1; }
double GetPhysicalWidth() { return sourceOpen() ? Real("MVTWAIN_GetPhysicalWidth") : -1; }

bool SetCurrentResolution(int32_t resolution) {
    return Call<int32_t>("MVTWAIN_SetCurrentResolution", static_cast<double>(resolution)) == 1;
}
bool SetCurrentPixelType(int32_t pixelType) { return Int("MVTWAIN_SetCurrentPixelType", pixelType) == 1; }
bool SetCurrentBitDepth(int32_t bitDepth) { return Int("MVTWAIN_SetBitDepth", bitDepth) == 1; }

bool SetCurrentBrightness(int32_t brightness) {
    if (Call<int32_t>("MVTWAIN_SetBrightness", static_cast<double>(brightness)) == 1) return true;
    return SetCurrentThroughItemType(kBrightness, brightness);
}

bool SetCurrentContrast(int32_t contrast) {
    if (Call<int32_t>("MVTWAIN_SetContrast", static_cast<double>(contrast)) == 1) return true;
    return SetCurrentThroughItemType(kContrast, contrast);
}

int32_t GetPaperSize() { return Int("MVTWAIN_GetPaperSize"); }
bool SetPaperSize(int32_t size) { return Int("MVTWAIN_SetPaperSize", size) == 1; }

bool SetImageLayout(double left, double top, double right, double bottom) {
    return Call<int32_t>("MVTWAIN_SetImageLayout", left, top, right, bottom) == 1;
}

bool GetImageLayout(double& left, double& top, double& right, double& bottom) {
    return Call<int32_t>("MVTWAIN_GetImageLayout", &left, &top, &right, &bottom) == 1;
}

int32_t GetDuplexMode() { return TwainEngineReady() ? Int("MVTWAIN_GetDuplexMode") : 0; }
bool GetHideUI() { return Int("MVTWAIN_GetHideUI") == 1; }
std::string GetCurrentSourceName() { return Text("MVTWAIN_GetCurrentSourceName"); }

std::string GetDefaultSourceName() {
    if (twain_source::GetState() < 3) Int("MVTWAIN_OpenSourceManager", 0);
    return Text("MVTWAIN_GetDefaultSourceName");
}

void SetDebugMode(bool debug) { Int("MVTWAIN_SetDebugMode", Flag(debug)); }

void SetDSMPath(std::string_view path) {
    // A folder the host names the Windows way, resolved as every member's path is.
    if (TwainEngineReady()) WithText("MVTWAIN_SetDSMPath", win::ResolveWindowsPath(path));
}

double ListValueNo(int32_t cap, int32_t number, double fallback) {
    const LoadedList list = LoadNumbers(cap);
    return number >= 1 && number <= list.count ? list.number(number - 1) : fallback;
}

bool ListHolds(int32_t cap, int32_t value) {
    const LoadedList list = LoadNumbers(cap);
    for (int32_t i = 0; i < list.count; ++i)
        if (RoundToInt32(list.number(i)) == value) return true;
    return false;
}

namespace {

// Sets the feeder capability to the probe value and puts the value it had back.
bool probeFeeder(int32_t probe, bool withoutCapability) {
    if (!TwainEngineReady()) return false;
    double before = 0;
    if (!GetCapCurrentNumeric(kFeederEnabled, before)) return withoutCapability;
    const bool accepted = SetCurrentThroughItemType(kFeederEnabled, probe);
    SetCurrentThroughItemType(kFeederEnabled, RoundToInt32(before));
    return accepted;
}

}  // namespace

bool HasFeeder() { return probeFeeder(1, false); }
bool HasFlatBed() { return probeFeeder(0, true); }

bool SelectFeeder(bool feeder) { return TwainEngineReady() && SetCurrentThroughItemType(kFeederEnabled, feeder ? 1 : 0); }

bool HasCameraPreviewUI() {
    double value = 0;
    GetCapCurrentNumeric(kCameraPreviewUi, value);
    return value == 1.0;
}

}  // namespace scanvelt::twain_capability
