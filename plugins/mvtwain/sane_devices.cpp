#include "plugins/mvtwain/sane_devices.h"

#include <sane/sane.h>

#include <algorithm>
#include <cstring>

namespace mvtwain {
namespace {

DeviceStatus statusOf(SANE_Status status) {
    switch (status) {
    case SANE_STATUS_GOOD: return DeviceStatus::Good;
    case SANE_STATUS_UNSUPPORTED: return DeviceStatus::Unsupported;
    case SANE_STATUS_CANCELLED: return DeviceStatus::Cancelled;
    case SANE_STATUS_DEVICE_BUSY: return DeviceStatus::Busy;
    case SANE_STATUS_INVAL: return DeviceStatus::Invalid;
    case SANE_STATUS_EOF: return DeviceStatus::Eof;
    case SANE_STATUS_JAMMED: return DeviceStatus::Jammed;
    case SANE_STATUS_NO_DOCS: return DeviceStatus::NoDocs;
    case SANE_STATUS_COVER_OPEN: return DeviceStatus::CoverOpen;
    case SANE_STATUS_IO_ERROR: return DeviceStatus::IoError;
    case SANE_STATUS_NO_MEM: return DeviceStatus::NoMemory;
    case SANE_STATUS_ACCESS_DENIED: return DeviceStatus::AccessDenied;
    }
    return DeviceStatus::IoError;
}

OptionType typeOf(SANE_Value_Type type) {
    switch (type) {
    case SANE_TYPE_BOOL: return OptionType::Bool;
    case SANE_TYPE_INT: return OptionType::Int;
    case SANE_TYPE_FIXED: return OptionType::Fixed;
    case SANE_TYPE_STRING: return OptionType::String;
    case SANE_TYPE_BUTTON: return OptionType::Button;
    case SANE_TYPE_GROUP: return OptionType::Group;
    }
    return OptionType::Group;
}

OptionUnit unitOf(SANE_Unit unit) {
    switch (unit) {
    case SANE_UNIT_NONE: return OptionUnit::None;
    case SANE_UNIT_PIXEL: return OptionUnit::Pixel;
    case SANE_UNIT_BIT: return OptionUnit::Bit;
    case SANE_UNIT_MM: return OptionUnit::Mm;
    case SANE_UNIT_DPI: return OptionUnit::Dpi;
    case SANE_UNIT_PERCENT: return OptionUnit::Percent;
    case SANE_UNIT_MICROSECOND: return OptionUnit::Microsecond;
    }
    return OptionUnit::None;
}

double numberOf(SANE_Word word, OptionType type) {
    return type == OptionType::Fixed ? SANE_UNFIX(word) : static_cast<double>(word);
}

SANE_Word wordOf(double value, OptionType type) {
    if (type == OptionType::Fixed) return SANE_FIX(value);
    return static_cast<SANE_Word>(value < 0 ? value - 0.5 : value + 0.5);
}

OptionInfo infoOf(int index, const SANE_Option_Descriptor& d) {
    OptionInfo info;
    info.index = index;
    info.name = d.name ? d.name : "";
    info.title = d.title ? d.title : "";
    info.description = d.desc ? d.desc : "";
    info.type = typeOf(d.type);
    info.unit = unitOf(d.unit);
    info.valueCount =
        (d.type == SANE_TYPE_INT || d.type == SANE_TYPE_FIXED || d.type == SANE_TYPE_BOOL)
            ? std::max<int>(1, d.size / static_cast<int>(sizeof(SANE_Word)))
            : 1;
    info.active = SANE_OPTION_IS_ACTIVE(d.cap);
    info.settable = SANE_OPTION_IS_SETTABLE(d.cap);
    info.readable = (d.cap & SANE_CAP_SOFT_DETECT) != 0;
    info.advanced = (d.cap & SANE_CAP_ADVANCED) != 0;
    info.automatic = (d.cap & SANE_CAP_AUTOMATIC) != 0;
    switch (d.constraint_type) {
    case SANE_CONSTRAINT_RANGE:
        if (d.constraint.range) {
            info.constraint = ConstraintKind::Range;
            info.minimum = numberOf(d.constraint.range->min, info.type);
            info.maximum = numberOf(d.constraint.range->max, info.type);
            info.quantum = numberOf(d.constraint.range->quant, info.type);
        }
        break;
    case SANE_CONSTRAINT_WORD_LIST:
        if (d.constraint.word_list) {
            info.constraint = ConstraintKind::WordList;
            const SANE_Word count = d.constraint.word_list[0];
            for (SANE_Word i = 1; i <= count; ++i) info.numbers.push_back(numberOf(d.constraint.word_list[i], info.type));
        }
        break;
    case SANE_CONSTRAINT_STRING_LIST:
        if (d.constraint.string_list) {
            info.constraint = ConstraintKind::StringList;
            for (auto* s = d.constraint.string_list; *s; ++s) info.strings.emplace_back(*s);
        }
        break;
    default: break;
    }
    return info;
}

class SaneDevice final : public ScanDevice {
public:
    explicit SaneDevice(SANE_Handle handle) : handle_(handle) {}
    ~SaneDevice() override { sane_close(handle_); }

    std::vector<OptionInfo> options() override {
        std::vector<OptionInfo> list;
        for (int i = 1;; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, i);
            if (!d) break;
            list.push_back(infoOf(i, *d));
        }
        return list;
    }

    DeviceStatus getOption(const OptionInfo& option, OptionValue& value) override {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, option.index);
        if (!d) return DeviceStatus::Invalid;
        std::vector<SANE_Word> buffer(static_cast<size_t>(std::max<SANE_Int>(d->size, 1)) / sizeof(SANE_Word) + 2, 0);
        SANE_Status status = sane_control_option(handle_, option.index, SANE_ACTION_GET_VALUE, buffer.data(), nullptr);
        if (status != SANE_STATUS_GOOD) return statusOf(status);
        value = {};
        if (option.type == OptionType::String) {
            const char* text = reinterpret_cast<const char*>(buffer.data());
            value.text.assign(text, strnlen(text, static_cast<size_t>(std::max<SANE_Int>(d->size, 0))));
        } else {
            for (int i = 0; i < option.valueCount; ++i) value.numbers.push_back(numberOf(buffer[i], option.type));
        }
        return DeviceStatus::Good;
    }

    DeviceStatus setOption(const OptionInfo& option, const OptionValue& value, bool& inexact) override {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(handle_, option.index);
        if (!d) return DeviceStatus::Invalid;
        SANE_Int info = 0;
        SANE_Status status;
        if (option.type == OptionType::String) {
            std::vector<char> text(static_cast<size_t>(std::max<SANE_Int>(d->size, 1)), '\0');
            std::strncpy(text.data(), value.text.c_str(), text.size() - 1);
            status = sane_control_option(handle_, option.index, SANE_ACTION_SET_VALUE, text.data(), &info);
        } else {
            // Every element of an array takes the first number unless more are given.
            std::vector<SANE_Word> words(static_cast<size_t>(option.valueCount), 0);
            for (size_t i = 0; i < words.size(); ++i) {
                double number = value.numbers.empty() ? 0 : value.numbers[std::min(i, value.numbers.size() - 1)];
                words[i] = option.type == OptionType::Bool ? (number != 0 ? SANE_TRUE : SANE_FALSE) : wordOf(number, option.type);
            }
            status = sane_control_option(handle_, option.index, SANE_ACTION_SET_VALUE, words.data(), &info);
        }
        inexact = (info & SANE_INFO_INEXACT) != 0;
        return statusOf(status);
    }

    DeviceStatus setAutomatic(const OptionInfo& option) override {
        return statusOf(sane_control_option(handle_, option.index, SANE_ACTION_SET_AUTO, nullptr, nullptr));
    }

    DeviceStatus start() override { return statusOf(sane_start(handle_)); }

    DeviceStatus parameters(FrameParameters& p) override {
        SANE_Parameters s{};
        SANE_Status status = sane_get_parameters(handle_, &s);
        if (status != SANE_STATUS_GOOD) return statusOf(status);
        switch (s.format) {
        case SANE_FRAME_GRAY: p.format = FrameParameters::Format::Gray; break;
        case SANE_FRAME_RGB: p.format = FrameParameters::Format::Rgb; break;
        case SANE_FRAME_RED: p.format = FrameParameters::Format::Red; break;
        case SANE_FRAME_GREEN: p.format = FrameParameters::Format::Green; break;
        case SANE_FRAME_BLUE: p.format = FrameParameters::Format::Blue; break;
        default: return DeviceStatus::Unsupported;
        }
        p.lastFrame = s.last_frame != SANE_FALSE;
        p.bytesPerLine = s.bytes_per_line;
        p.pixelsPerLine = s.pixels_per_line;
        p.lines = s.lines;
        p.depth = s.depth;
        return DeviceStatus::Good;
    }

    DeviceStatus read(uint8_t* buffer, int capacity, int& length) override {
        SANE_Int got = 0;
        SANE_Status status = sane_read(handle_, buffer, capacity, &got);
        length = got;
        return statusOf(status);
    }

    void cancel() override { sane_cancel(handle_); }

private:
    SANE_Handle handle_;
};

class SaneProvider final : public DeviceProvider {
public:
    bool initialise() override {
        if (initialised_) return true;
        SANE_Int version = 0;
        initialised_ = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
        return initialised_;
    }

    void shutdown() override {
        if (initialised_) sane_exit();
        initialised_ = false;
    }

    std::vector<SourceEntry> sources() override {
        std::vector<SourceEntry> list;
        if (!initialised_) return list;
        const SANE_Device** devices = nullptr;
        if (sane_get_devices(&devices, SANE_FALSE) != SANE_STATUS_GOOD || !devices) return list;
        for (auto** d = devices; *d; ++d) {
            SourceEntry entry;
            entry.device = (*d)->name ? (*d)->name : "";
            std::string maker = (*d)->vendor ? (*d)->vendor : "";
            std::string model = (*d)->model ? (*d)->model : "";
            std::string description = maker.empty() ? model : model.empty() ? maker : maker + " " + model;
            entry.label = description.empty() ? entry.device : entry.device + " (" + description + ")";
            if (!entry.device.empty()) list.push_back(std::move(entry));
        }
        return list;
    }

    std::unique_ptr<ScanDevice> open(const std::string& device, DeviceStatus& status) override {
        SANE_Handle handle = nullptr;
        status = statusOf(sane_open(device.c_str(), &handle));
        if (status != DeviceStatus::Good || !handle) {
            if (status == DeviceStatus::Good) status = DeviceStatus::Invalid;
            return nullptr;
        }
        return std::make_unique<SaneDevice>(handle);
    }

private:
    bool initialised_ = false;
};

}  // namespace

std::unique_ptr<DeviceProvider> MakeSaneProvider() { return std::make_unique<SaneProvider>(); }

}  // namespace mvtwain
