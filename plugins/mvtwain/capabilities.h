#pragma once
// TWAIN capabilities of an open source, answered from the device's options
// (resolution, mode, depth, brightness, contrast, threshold, scan area,
// source) and from the engine's own transfer settings. A capability the
// device has no option for is unsupported, as a TWAIN source answers it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "plugins/mvtwain/scan_device.h"

namespace mvtwain {

// What the engine itself decides about transfers.
struct TransferSettings {
    int32_t transferMode = 0;  // 0 native, 1 file
    int32_t transferCount = -1;
    bool indicators = true;
    bool autoScan = false;
    bool hideUi = false;
};

struct CapabilityValues {
    int32_t itemType = -1;
    std::vector<double> values;  // all values the source offers
    double current = 0;
    double defaultValue = 0;
    bool readOnly = false;
    std::optional<OptionInfo> rangeOption;  // the option behind a ranged value
};

// The scan area in inches from the top-left corner of the device's area.
struct ImageLayout {
    double left = 0, top = 0, right = 0, bottom = 0;
};

class Capabilities {
public:
    Capabilities(ScanDevice& device, TransferSettings& settings);

    // nullopt when unsupported.
    std::optional<CapabilityValues> describe(int32_t cap);
    // A TWAIN condition code (0 success); `snapped` when the source took the
    // allowed value nearest to the one asked for.
    int32_t set(int32_t cap, double value, bool& snapped);
    int32_t reset(int32_t cap);

    int32_t setLayout(const ImageLayout& layout);
    std::optional<ImageLayout> layout();
    int32_t resetLayout();
    // The whole area of the device, inches.
    std::optional<ImageLayout> fullArea();
    int32_t setPaperSize(int32_t code);
    int32_t paperSize();

    // The resolution in dots per inch for the page about to be read (0 when unknown).
    double resolutionDpi();
    // The label of the device's current scan source ("" without a source option).
    bool feederSelected();

private:
    std::optional<OptionInfo> option(const char* name);
    std::optional<OptionInfo> firstOption(std::initializer_list<const char*> names);
    std::optional<double> number(const OptionInfo& option);
    std::optional<std::string> text(const OptionInfo& option);
    int32_t setNumber(const OptionInfo& option, double value, bool& snapped);
    int32_t setText(const OptionInfo& option, const std::string& value);
    std::optional<CapabilityValues> optionCapability(const OptionInfo& option, int32_t itemType);
    std::optional<CapabilityValues> pixelType();
    int32_t setPixelType(int32_t type);
    std::optional<OptionInfo> resolutionOption(bool vertical);
    std::vector<std::string> sources();
    std::string sourceOf(bool feeder, bool duplex);
    std::optional<OptionInfo> automaticOption(int32_t cap);
    std::optional<CapabilityValues> fixedList(int32_t itemType, std::vector<double> values, double current,
                                              bool readOnly = true);

    ScanDevice& device_;
    TransferSettings& settings_;
    std::map<int32_t, double> defaults_;
    bool autoBright_ = false;
};

}  // namespace mvtwain
