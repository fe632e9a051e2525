#include "plugins/mvtwain/scripted_source.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "plugins/mvtwain/page_layout.h"
#include "plugins/mvtwain/pnm_page.h"
#include "plugins/mvtwain/sane_devices.h"

namespace mvtwain {
namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::optional<int> count(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 1000000) return std::nullopt;
    return value;
}

enum ScriptedOption { kResolution = 1, kMode = 2, kSource = 3 };
constexpr const char* kFlatbed = "Flatbed";
constexpr const char* kFeeder = "Automatic Document Feeder";

class ScriptedDevice final : public ScanDevice {
public:
    explicit ScriptedDevice(SourceScript script) : script_(std::move(script)) {}

    std::vector<OptionInfo> options() override {
        OptionInfo resolution;
        resolution.index = kResolution;
        resolution.name = "resolution";
        resolution.title = "Resolution";
        resolution.type = OptionType::Int;
        resolution.unit = OptionUnit::Dpi;
        resolution.constraint = ConstraintKind::Range;
        resolution.minimum = 50;
        resolution.maximum = 1200;
        resolution.quantum = 1;
        OptionInfo mode;
        mode.index = kMode;
        mode.name = "mode";
        mode.title = "Scan mode";
        mode.type = OptionType::String;
        mode.constraint = ConstraintKind::StringList;
        mode.strings = {"Gray", "Color"};
        OptionInfo source;
        source.index = kSource;
        source.name = "source";
        source.title = "Scan source";
        source.type = OptionType::String;
        source.constraint = ConstraintKind::StringList;
        source.strings = {kFlatbed};
        if (script_.feederPages > 0) source.strings.push_back(kFeeder);
        return {resolution, mode, source};
    }

    DeviceStatus getOption(const OptionInfo& option, OptionValue& value) override {
        value = {};
        switch (option.index) {
        case kResolution: value.numbers = {static_cast<double>(resolution_)}; return DeviceStatus::Good;
        case kMode: value.text = mode_; return DeviceStatus::Good;
        case kSource: value.text = source_; return DeviceStatus::Good;
        default: return DeviceStatus::Invalid;
        }
    }

    DeviceStatus setOption(const OptionInfo& option, const OptionValue& value, bool& inexact) override {
        inexact = false;
        auto all = options();
        if (option.index < 1 || option.index > static_cast<int>(all.size())) return DeviceStatus::Invalid;
        const OptionInfo& o = all[option.index - 1];
        if (o.type == OptionType::String) {
            if (std::find(o.strings.begin(), o.strings.end(), value.text) == o.strings.end()) return DeviceStatus::Invalid;
            (option.index == kMode ? mode_ : source_) = value.text;
            return DeviceStatus::Good;
        }
        if (value.numbers.empty() || value.numbers[0] < o.minimum || value.numbers[0] > o.maximum)
            return DeviceStatus::Invalid;
        resolution_ = static_cast<int>(value.numbers[0] + 0.5);
        return DeviceStatus::Good;
    }

    DeviceStatus setAutomatic(const OptionInfo&) override { return DeviceStatus::Unsupported; }

    DeviceStatus start() override {
        const bool feeder = source_ == kFeeder;
        if (feeder && fed_ >= script_.feederPages) {
            fed_ = 0;  // the next batch finds the feeder loaded again
            return DeviceStatus::NoDocs;
        }
        ++pageNumber_;
        if (pageNumber_ == script_.jamAt) return DeviceStatus::Jammed;
        if (!loadPage()) return DeviceStatus::IoError;
        if (feeder) ++fed_;
        position_ = 0;
        reading_ = true;
        return DeviceStatus::Good;
    }

    DeviceStatus parameters(FrameParameters& parameters) override {
        parameters = page_.parameters;
        return DeviceStatus::Good;
    }

    DeviceStatus read(uint8_t* buffer, int capacity, int& length) override {
        length = 0;
        if (!reading_) return DeviceStatus::Invalid;
        if (pageNumber_ == script_.cancelAt) return DeviceStatus::Cancelled;
        if (pageNumber_ == script_.failAt) return DeviceStatus::IoError;
        const size_t left = page_.data.size() - position_;
        if (left == 0) return DeviceStatus::Eof;
        const size_t n = std::min(left, static_cast<size_t>(std::max(capacity, 0)));
        std::memcpy(buffer, page_.data.data() + position_, n);
        position_ += n;
        length = static_cast<int>(n);
        return DeviceStatus::Good;
    }

    void cancel() override { reading_ = false; }

private:
    bool loadPage() {
        if (!script_.pages.empty()) {
            const std::string& path = script_.pages[static_cast<size_t>(pageNumber_ - 1) % script_.pages.size()];
            std::ifstream in(path, std::ios::binary);
            if (!in) return false;
            std::vector<uint8_t> bytes;
            in.seekg(0, std::ios::end);
            const auto size = static_cast<uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
            if (size > kPageMemoryCeiling) return false;
            in.seekg(0);
            bytes.resize(size);
            if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) return false;
            auto page = ParsePnm(bytes);
            if (!page) return false;
            page_ = std::move(*page);
            return true;
        }
        // A page one inch square at the set resolution, a shade of its own per page.
        const bool colour = mode_ == "Color";
        FrameParameters& p = page_.parameters;
        p.format = colour ? FrameParameters::Format::Rgb : FrameParameters::Format::Gray;
        p.depth = 8;
        p.pixelsPerLine = resolution_;
        p.lines = resolution_;
        p.bytesPerLine = resolution_ * (colour ? 3 : 1);
        p.lastFrame = true;
        page_.data.assign(static_cast<size_t>(p.bytesPerLine) * p.lines, static_cast<uint8_t>(pageNumber_ * 37));
        return true;
    }

    SourceScript script_;
    int resolution_ = 100;
    std::string mode_ = "Gray";
    std::string source_ = kFlatbed;
    int pageNumber_ = 0;
    int fed_ = 0;
    bool reading_ = false;
    size_t position_ = 0;
    PnmPage page_;
};

class EngineProvider final : public DeviceProvider {
public:
    EngineProvider() : sane_(MakeSaneProvider()) {}

    // Read at every start of the source manager, not once per process: a
    // program that loads the engine before it sets the variable still gets it.
    bool initialise() override {
        script_.reset();
        if (const char* text = std::getenv(kScriptedSourceVariable)) script_ = ParseSourceScript(text);
        // Without SANE the scripted source still serves the tests that ask for it.
        return sane_->initialise() || script_.has_value();
    }

    void shutdown() override { sane_->shutdown(); }

    std::vector<SourceEntry> sources() override {
        auto list = sane_->sources();
        if (script_) list.push_back({kScriptedDeviceName, std::string(kScriptedDeviceName) + " (Scripted test source)"});
        return list;
    }

    std::unique_ptr<ScanDevice> open(const std::string& device, DeviceStatus& status) override {
        if (script_ && device == kScriptedDeviceName) {
            status = DeviceStatus::Good;
            return MakeScriptedDevice(*script_);
        }
        return sane_->open(device, status);
    }

private:
    std::unique_ptr<DeviceProvider> sane_;
    std::optional<SourceScript> script_;
};

}  // namespace

std::optional<SourceScript> ParseSourceScript(std::string_view text) {
    SourceScript script;
    for (std::string_view part : split(text, ';')) {
        if (part.empty()) continue;
        const size_t equals = part.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view key = part.substr(0, equals);
        const std::string_view value = part.substr(equals + 1);
        if (key == "pages") {
            for (std::string_view path : split(value, ','))
                if (!path.empty()) script.pages.emplace_back(path);
            if (script.pages.empty()) return std::nullopt;
            continue;
        }
        auto n = count(value);
        if (!n) return std::nullopt;
        if (key == "feeder") script.feederPages = *n;
        else if (key == "cancel-at") script.cancelAt = *n;
        else if (key == "fail-at") script.failAt = *n;
        else if (key == "jam-at") script.jamAt = *n;
        else return std::nullopt;
    }
    return script;
}

std::unique_ptr<ScanDevice> MakeScriptedDevice(SourceScript script) {
    return std::make_unique<ScriptedDevice>(std::move(script));
}

std::unique_ptr<DeviceProvider> MakeEngineProvider() { return std::make_unique<EngineProvider>(); }

}  // namespace mvtwain
