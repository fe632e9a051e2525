#pragma once
// A scan device as the engine drives it: its options (as SANE describes
// them), and one page after another read in chunks. SANE devices and the
// scripted source of the tests both stand behind this interface.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mvtwain {

// The outcome of a device call, as SANE names them.
enum class DeviceStatus {
    Good,
    Unsupported,
    Cancelled,
    Busy,
    Invalid,
    Eof,
    Jammed,
    NoDocs,
    CoverOpen,
    IoError,
    NoMemory,
    AccessDenied,
};

enum class OptionType { Bool, Int, Fixed, String, Button, Group };
enum class OptionUnit { None, Pixel, Bit, Mm, Dpi, Percent, Microsecond };
enum class ConstraintKind { None, Range, WordList, StringList };

struct OptionInfo {
    int index = 0;  // the device's option number
    std::string name;
    std::string title;
    std::string description;
    OptionType type = OptionType::Int;
    OptionUnit unit = OptionUnit::None;
    int valueCount = 1;  // numbers in the value (arrays have more)
    bool active = true;
    bool settable = true;   // the program may set it
    bool readable = true;
    bool advanced = false;
    bool automatic = false;  // the device can choose the value itself
    ConstraintKind constraint = ConstraintKind::None;
    double minimum = 0, maximum = 0, quantum = 0;  // Range
    std::vector<double> numbers;                   // WordList
    std::vector<std::string> strings;              // StringList
};

// A value: numbers (Bool as 0/1, Int and Fixed as their real value) or text.
struct OptionValue {
    std::vector<double> numbers;
    std::string text;
};

struct FrameParameters {
    enum class Format { Gray, Rgb, Red, Green, Blue };
    Format format = Format::Gray;
    bool lastFrame = true;
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
    int lines = -1;  // -1 when the device does not know before the end
    int depth = 8;
};

class ScanDevice {
public:
    virtual ~ScanDevice() = default;
    // The options as they stand now (a change of one may change others).
    virtual std::vector<OptionInfo> options() = 0;
    virtual DeviceStatus getOption(const OptionInfo& option, OptionValue& value) = 0;
    // `inexact` is set when the device stored another value than asked.
    virtual DeviceStatus setOption(const OptionInfo& option, const OptionValue& value, bool& inexact) = 0;
    virtual DeviceStatus setAutomatic(const OptionInfo& option) = 0;
    // Starts the next page (or frame).
    virtual DeviceStatus start() = 0;
    virtual DeviceStatus parameters(FrameParameters& parameters) = 0;
    // Up to `capacity` bytes of the page; Eof at its end.
    virtual DeviceStatus read(uint8_t* buffer, int capacity, int& length) = 0;
    // Ends the page or batch under way (also after the last page).
    virtual void cancel() = 0;
};

struct SourceEntry {
    std::string device;  // the name the device opens by ("test:0")
    std::string label;   // device with vendor and model: "test:0 (Noname frontend-tester)"
};

// Where sources come from: libsane, and the scripted source when enabled.
class DeviceProvider {
public:
    virtual ~DeviceProvider() = default;
    virtual bool initialise() = 0;
    virtual void shutdown() = 0;
    virtual std::vector<SourceEntry> sources() = 0;
    // nullptr with the status when the device cannot be opened.
    virtual std::unique_ptr<ScanDevice> open(const std::string& device, DeviceStatus& status) = 0;
};

}  // namespace mvtwain
