#pragma once
// Capability negotiation of the scanning control: any capability by number
// (the generic members), typed members for the common ones, value lists,
// and the feeder, duplex and availability tests. The control keeps no
// capability state: every member asks the engine afresh. Guarded members
// answer their fallback without an engine; the others call it directly.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace scanvelt::twain_capability {

// TWAIN capability numbers the members use by name.
enum Capability : int32_t {
    kCompression = 256,
    kPixelType = 257,
    kTransferMechanism = 259,
    kFeederEnabled = 4098,
    kFeederLoaded = 4099,
    kAutoFeed = 4103,
    kDeviceOnline = 4111,
    kDuplexEnabled = 4115,
    kCameraPreviewUi = 4129,
    kBrightness = 4353,
    kContrast = 4355,
    kImageFileFormat = 4364,
    kXResolution = 4376,
    kYResolution = 4377,
    kPixelFlavor = 4383,
    kPlanarChunky = 4384,
    kSupportedSizes = 4386,
    kThreshold = 4387,
    kBitDepth = 4395,
};
inline constexpr int32_t kItemTypeFix32 = 7;

// The eight capabilities whose count member loads text values.
bool IsStringCapability(int32_t cap);

// A loaded list: its count (0 when unsupported) and its values by 0-based index.
struct LoadedList {
    int32_t count = 0;
    std::function<double(int32_t)> number;
    std::function<std::string(int32_t)> text;
};

// Guarded loads of all values (mode 1); count 0 without an engine.
LoadedList LoadNumbers(int32_t cap);
LoadedList LoadTexts(int32_t cap);

int32_t GetAvailableCapValuesCount(int32_t cap);
double GetAvailableCapValueNoNumeric(int32_t cap, int32_t number);
std::string GetAvailableCapValueNoString(int32_t cap, int32_t number);
// `current` is set to 0 (or "") first.
bool GetCapCurrentNumeric(int32_t cap, double& current);
bool GetCapCurrentString(int32_t cap, std::string& current);
// The outputs stay untouched unless the range loaded.
bool GetCapRangeNumeric(int32_t cap, double& minimum, double& maximum, double& step);
bool SetCapCurrentNumeric(int32_t cap, int32_t itemType, int32_t value);
bool SetCapCurrentString(int32_t cap, int32_t itemType, std::string_view value);
bool ResetCap(int32_t cap);
// -1 without an engine.
int32_t GetCapItemType(int32_t cap);

// The current value rounded (halves to even), -1 when it cannot be read.
int32_t GetCurrentRounded(int32_t cap);
// Sets through the capability's own item type.
bool SetCurrentThroughItemType(int32_t cap, int32_t value);
// Read and equal to 1.0.
bool IsEnabled(int32_t cap);

// Typed getters answered only while a source is open (state 4 or more).
int32_t GetCurrentBitDepth();
int32_t GetCurrentBrightness();
int32_t GetCurrentContrast();
int32_t GetCurrentPixelType();
int32_t GetCurrentResolution();
double GetPhysicalHeight();
double GetPhysicalWidth();

bool SetCurrentResolution(int32_t resolution);
bool SetCurrentPixelType(int32_t pixelType);
bool SetCurrentBitDepth(int32_t bitDepth);
bool SetCurrentBrightness(int32_t brightness);
bool SetCurrentContrast(int32_t contrast);
int32_t GetPaperSize();
bool SetPaperSize(int32_t size);
bool SetImageLayout(double left, double top, double right, double bottom);
bool GetImageLayout(double& left, double& top, double& right, double& bottom);
int32_t GetDuplexMode();
bool GetHideUI();
std::string GetCurrentSourceName();
std::string GetDefaultSourceName();
void SetDebugMode(bool debug);
void SetDSMPath(std::string_view path);

// Value number `number` (1-based) of a list, or `fallback` outside 1..count.
double ListValueNo(int32_t cap, int32_t number, double fallback);
// Whether the list of `cap` holds `value` (each value rounded first).
bool ListHolds(int32_t cap, int32_t value);

bool HasFeeder();
bool HasFlatBed();
bool SelectFeeder(bool feeder);
bool HasCameraPreviewUI();

}  // namespace scanvelt::twain_capability
