#include "plugins/mvtwain/setup_settings.h"

#include <limits>

namespace mvtwain {
namespace {

const char* unitText(OptionUnit unit) {
    switch (unit) {
    case OptionUnit::Dpi: return "dpi";
    case OptionUnit::Mm: return "mm";
    case OptionUnit::Percent: return "%";
    case OptionUnit::Pixel: return "px";
    case OptionUnit::Bit: return "bit";
    case OptionUnit::Microsecond: return "µs";
    default: return "";
    }
}

bool sameSetting(const win::ScanSetting& a, const win::ScanSetting& b) {
    return a.kind == win::ScanSetting::Kind::TextChoice ? a.text == b.text : a.value == b.value;
}

// Whether `setting` is unchanged from its entry in `before` (one without an entry is a change).
bool unchanged(const win::ScanSetting& setting, const std::vector<win::ScanSetting>& before) {
    for (const auto& b : before)
        if (b.name == setting.name) return sameSetting(b, setting);
    return false;
}

}  // namespace

std::vector<win::ScanSetting> SettingsOf(ScanDevice& device) {
    std::vector<win::ScanSetting> settings;
    for (const auto& o : device.options()) {
        if (!o.active || !o.settable || !o.readable || o.advanced || o.valueCount != 1 || o.name.empty()) continue;
        win::ScanSetting s;
        s.name = o.name;
        s.title = o.title.empty() ? o.name : o.title;
        s.description = o.description;
        s.unit = unitText(o.unit);
        OptionValue value;
        if (device.getOption(o, value) != DeviceStatus::Good) continue;
        switch (o.type) {
        case OptionType::Bool:
            s.kind = win::ScanSetting::Kind::Toggle;
            s.value = !value.numbers.empty() && value.numbers[0] != 0 ? 1 : 0;
            break;
        case OptionType::String:
            if (o.constraint != ConstraintKind::StringList) continue;
            s.kind = win::ScanSetting::Kind::TextChoice;
            s.text = value.text;
            s.choices = o.strings;
            break;
        case OptionType::Int:
        case OptionType::Fixed:
            if (value.numbers.empty()) continue;
            s.value = value.numbers[0];
            s.whole = o.type == OptionType::Int;
            if (o.constraint == ConstraintKind::WordList) {
                s.kind = win::ScanSetting::Kind::NumberChoice;
                s.numbers = o.numbers;
            } else if (o.constraint == ConstraintKind::Range) {
                s.kind = win::ScanSetting::Kind::Number;
                s.minimum = o.minimum;
                s.maximum = o.maximum;
                s.step = o.quantum;
            } else {
                s.kind = win::ScanSetting::Kind::Number;
                s.minimum = std::numeric_limits<int32_t>::min();
                s.maximum = std::numeric_limits<int32_t>::max();
            }
            break;
        default: continue;
        }
        settings.push_back(std::move(s));
    }
    return settings;
}

int ApplySettings(ScanDevice& device, const std::vector<win::ScanSetting>& before,
                  const std::vector<win::ScanSetting>& after) {
    int applied = 0;
    for (const auto& setting : after) {
        if (unchanged(setting, before)) continue;
        for (const auto& o : device.options()) {
            if (o.name != setting.name) continue;
            if (!o.active || !o.settable) break;
            OptionValue value;
            if (setting.kind == win::ScanSetting::Kind::TextChoice) value.text = setting.text;
            else value.numbers = {setting.value};
            bool inexact = false;
            if (device.setOption(o, value, inexact) == DeviceStatus::Good) ++applied;
            break;
        }
    }
    return applied;
}

void KeepChangedSettings(std::vector<win::ScanSetting>& kept, const std::vector<win::ScanSetting>& before,
                         const std::vector<win::ScanSetting>& after) {
    for (const auto& setting : after) {
        if (unchanged(setting, before)) continue;
        std::erase_if(kept, [&](const win::ScanSetting& k) { return k.name == setting.name; });
        kept.push_back(setting);
    }
}

}  // namespace mvtwain
