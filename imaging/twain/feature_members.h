#pragma once
// Automatic features of the open source (brightness, feeding, scanning,
// size, border detection, deskew, blank-page discarding, rotation, barcode
// detection) and the barcodes the source detected in the last transfer.
// The control remembers nothing: every member asks the engine.
#include <cstdint>
#include <string>

namespace scanvelt::twain_feature {

enum class Feature {
    AutoBrightness,
    AutoFeed,
    AutoScan,
    AutoSize,
    BorderDetection,
    Deskew,
    DiscardBlankPages,
    Rotation,
    BarcodeDetection,
};

// The switch: the engine's own call or the capability, as each feature has it.
bool Set(Feature feature, bool on);
// The source reports a current value for the feature's capability.
bool IsAvailable(Feature feature);
// That value meets the feature's rule of "on".
bool IsEnabled(Feature feature);

int32_t GetAvailableBarCodeTypeCount();
// -1 outside 1..count.
int32_t GetAvailableBarCodeTypeNo(int32_t number);

int32_t BarCodeGetCount();
// Barcode `number` (1-based) of the last transfer; "" or 0 out of range,
// without asking the engine.
std::string BarCodeGetValue(int32_t number);
int32_t BarCodeGetType(int32_t number);
int32_t BarCodeGetXPos(int32_t number);
int32_t BarCodeGetYPos(int32_t number);
int32_t BarCodeGetConfidence(int32_t number);
int32_t BarCodeGetRotation(int32_t number);

}  // namespace scanvelt::twain_feature
