#include "plugins/mvtwain/capabilities.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/option_values.h"
#include "plugins/mvtwain/paper_sizes.h"
#include "plugins/mvtwain/twain_codes.h"

namespace mvtwain {
namespace {

constexpr int32_t kCapsWithDefaults[] = {
    cap::XResolution, cap::YResolution, cap::PixelType, cap::BitDepth, cap::Brightness, cap::Contrast,
    cap::Threshold, cap::FeederEnabled, cap::DuplexEnabled, cap::AutoDiscardBlankPages,
    cap::AutomaticBorderDetection, cap::AutomaticDeskew, cap::AutomaticRotate, cap::AutoSize};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool isFeederSource(const std::string& source) {
    const std::string s = lower(source);
    return s.find("adf") != std::string::npos || s.find("feeder") != std::string::npos ||
           s.find("duplex") != std::string::npos;
}

bool isDuplexSource(const std::string& source) { return lower(source).find("duplex") != std::string::npos; }

double toInches(double value, OptionUnit unit) { return unit == OptionUnit::Mm ? value / kMillimetresPerInch : value; }
double fromInches(double value, OptionUnit unit) { return unit == OptionUnit::Mm ? value * kMillimetresPerInch : value; }

}  // namespace

Capabilities::Capabilities(ScanDevice& device, TransferSettings& settings) : device_(device), settings_(settings) {
    for (int32_t c : kCapsWithDefaults)
        if (auto values = describe(c)) defaults_[c] = values->current;
}

std::optional<OptionInfo> Capabilities::option(const char* name) {
    for (auto& o : device_.options())
        if (o.name == name && o.active) return o;
    return std::nullopt;
}

std::optional<OptionInfo> Capabilities::firstOption(std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (auto o = option(name)) return o;
    return std::nullopt;
}

std::optional<double> Capabilities::number(const OptionInfo& o) {
    OptionValue value;
    if (!o.readable || o.type == OptionType::String || device_.getOption(o, value) != DeviceStatus::Good ||
        value.numbers.empty())
        return std::nullopt;
    return value.numbers[0];
}

std::optional<std::string> Capabilities::text(const OptionInfo& o) {
    OptionValue value;
    if (!o.readable || o.type != OptionType::String || device_.getOption(o, value) != DeviceStatus::Good)
        return std::nullopt;
    return value.text;
}

int32_t Capabilities::setNumber(const OptionInfo& o, double wanted, bool& snapped) {
    if (!o.settable) return MVTWAIN_TWCC_CAPBADOPERATION;
    auto allowed = NearestAllowed(o, wanted);
    if (!allowed) return MVTWAIN_TWCC_BADVALUE;
    bool inexact = false;
    const DeviceStatus status = device_.setOption(o, OptionValue{{*allowed}, {}}, inexact);
    if (status == DeviceStatus::Invalid) return MVTWAIN_TWCC_BADVALUE;
    if (status != DeviceStatus::Good) return MVTWAIN_TWCC_OPERATIONERROR;
    auto stored = number(o);
    snapped = inexact || std::fabs(*allowed - wanted) > 1e-9 || (stored && std::fabs(*stored - wanted) > 1e-4);
    return MVTWAIN_TWCC_SUCCESS;
}

int32_t Capabilities::setText(const OptionInfo& o, const std::string& value) {
    if (!o.settable) return MVTWAIN_TWCC_CAPBADOPERATION;
    bool inexact = false;
    const DeviceStatus status = device_.setOption(o, OptionValue{{}, value}, inexact);
    if (status == DeviceStatus::Invalid) return MVTWAIN_TWCC_BADVALUE;
    return status == DeviceStatus::Good ? MVTWAIN_TWCC_SUCCESS : MVTWAIN_TWCC_OPERATIONERROR;
}

std::optional<CapabilityValues> Capabilities::fixedList(int32_t itemType, std::vector<double> values, double current,
                                                        bool readOnly) {
    CapabilityValues v;
    v.itemType = itemType;
    v.values = std::move(values);
    v.current = current;
    v.defaultValue = v.values.empty() ? current : v.values.front();
    v.readOnly = readOnly;
    return v;
}

std::optional<CapabilityValues> Capabilities::optionCapability(const OptionInfo& o, int32_t itemType) {
    auto current = number(o);
    if (!current) return std::nullopt;
    CapabilityValues v;
    v.itemType = itemType;
    v.values = AllowedNumbers(o);
    if (v.values.empty()) v.values = {*current};
    v.current = *current;
    v.readOnly = !o.settable;
    if (o.constraint == ConstraintKind::Range) v.rangeOption = o;
    return v;
}

std::optional<OptionInfo> Capabilities::resolutionOption(bool vertical) {
    if (auto o = option(vertical ? "y-resolution" : "x-resolution")) return o;
    return option("resolution");
}

std::optional<CapabilityValues> Capabilities::pixelType() {
    auto mode = option("mode");
    if (!mode) return std::nullopt;
    auto current = text(*mode);
    if (!current) return std::nullopt;
    auto depth = option("depth");
    const bool depthOne = depth && number(*depth) == 1.0;
    std::vector<double> types;
    for (const auto& m : mode->strings) {
        const int t = PixelTypeOfMode(m);
        if (t >= 0) types.push_back(t);
    }
    // Line art through grey at one bit, where the device has no mode of its own for it.
    if (depth && std::count(types.begin(), types.end(), 1.0) && !std::count(types.begin(), types.end(), 0.0)) {
        auto depths = AllowedNumbers(*depth);
        if (std::count(depths.begin(), depths.end(), 1.0)) types.push_back(0);
    }
    std::sort(types.begin(), types.end());
    types.erase(std::unique(types.begin(), types.end()), types.end());
    int type = PixelTypeOfMode(*current);
    if (type == 1 && depthOne) type = 0;
    if (type < 0) return std::nullopt;
    return fixedList(MVTWAIN_TWTY_UINT16, types, type, !mode->settable);
}

int32_t Capabilities::setPixelType(int32_t type) {
    auto mode = option("mode");
    if (!mode) return MVTWAIN_TWCC_CAPUNSUPPORTED;
    std::string wanted = ModeForPixelType(mode->strings, type);
    bool viaDepth = false;
    if (wanted.empty() && type == 0) {
        wanted = ModeForPixelType(mode->strings, 1);
        viaDepth = true;
    }
    if (wanted.empty()) return MVTWAIN_TWCC_BADVALUE;
    if (int32_t c = setText(*mode, wanted)) return c;
    if (auto depth = option("depth")) {
        bool snapped = false;
        const auto d = number(*depth);
        // Line art is one bit; grey and colour start at eight, as a TWAIN source sets them.
        if (viaDepth) {
            if (int32_t c = setNumber(*depth, 1, snapped)) return c;
        } else if (d && *d == 1 && type != 0) {
            auto depths = AllowedNumbers(*depth);
            if (std::count(depths.begin(), depths.end(), 8.0)) setNumber(*depth, 8, snapped);
        }
    }
    return MVTWAIN_TWCC_SUCCESS;
}

std::vector<std::string> Capabilities::sources() {
    auto o = option("source");
    return o ? o->strings : std::vector<std::string>{};
}

std::string Capabilities::sourceOf(bool feeder, bool duplex) {
    for (const auto& s : sources())
        if (isFeederSource(s) == feeder && isDuplexSource(s) == duplex) return s;
    return "";
}

bool Capabilities::feederSelected() {
    auto o = option("source");
    if (!o) return false;
    auto current = text(*o);
    return current && isFeederSource(*current);
}

std::optional<OptionInfo> Capabilities::automaticOption(int32_t c) {
    switch (c) {
    case cap::AutomaticBorderDetection: return firstOption({"swcrop", "auto-crop", "autocrop"});
    case cap::AutomaticDeskew: return firstOption({"swdeskew", "deskew", "auto-deskew"});
    case cap::AutomaticRotate: return firstOption({"swrotate", "auto-rotate"});
    case cap::AutoSize: return firstOption({"page-auto", "auto-size", "autosize"});
    case cap::AutoDiscardBlankPages: return firstOption({"swskip", "blank-page-skip", "skip-blank-pages"});
    default: return std::nullopt;
    }
}

std::optional<CapabilityValues> Capabilities::describe(int32_t c) {
    std::optional<CapabilityValues> v;
    switch (c) {
    case cap::XResolution:
    case cap::YResolution:
        if (auto o = resolutionOption(c == cap::YResolution)) v = optionCapability(*o, MVTWAIN_TWTY_FIX32);
        break;
    case cap::PixelType: v = pixelType(); break;
    case cap::BitDepth:
        if (auto o = option("depth")) v = optionCapability(*o, MVTWAIN_TWTY_UINT16);
        break;
    case cap::Brightness:
        if (auto o = option("brightness")) v = optionCapability(*o, MVTWAIN_TWTY_FIX32);
        break;
    case cap::Contrast:
        if (auto o = option("contrast")) v = optionCapability(*o, MVTWAIN_TWTY_FIX32);
        break;
    case cap::Threshold:
        if (auto o = option("threshold")) v = optionCapability(*o, MVTWAIN_TWTY_FIX32);
        break;
    case cap::AutoBright:
        if (auto o = option("brightness"); o && o->automatic)
            v = fixedList(MVTWAIN_TWTY_BOOL, {0, 1}, autoBright_ ? 1 : 0, false);
        break;
    case cap::FeederEnabled:
    case cap::AutoFeed: {
        const bool hasFeeder = !sourceOf(true, false).empty() || !sourceOf(true, true).empty();
        if (!hasFeeder) break;
        std::vector<double> values = {1};
        if (!sourceOf(false, false).empty()) values.insert(values.begin(), 0);
        v = fixedList(MVTWAIN_TWTY_BOOL, values, feederSelected() ? 1 : 0, false);
        break;
    }
    case cap::AutoScan:
        if (!sourceOf(true, false).empty() || !sourceOf(true, true).empty())
            v = fixedList(MVTWAIN_TWTY_BOOL, {0, 1}, settings_.autoScan ? 1 : 0, false);
        break;
    case cap::FeederLoaded:
        if (auto o = option("page-loaded"); o && o->type == OptionType::Bool)
            if (auto n = number(*o)) v = fixedList(MVTWAIN_TWTY_BOOL, {0, 1}, *n != 0 ? 1 : 0);
        break;
    case cap::Duplex: v = fixedList(MVTWAIN_TWTY_UINT16, {sourceOf(true, true).empty() ? 0.0 : 1.0}, sourceOf(true, true).empty() ? 0 : 1); break;
    case cap::DuplexEnabled:
        if (!sourceOf(true, true).empty()) {
            auto o = option("source");
            auto current = o ? text(*o) : std::nullopt;
            v = fixedList(MVTWAIN_TWTY_BOOL, {0, 1}, current && isDuplexSource(*current) ? 1 : 0, false);
        }
        break;
    case cap::DeviceOnline: v = fixedList(MVTWAIN_TWTY_BOOL, {1}, 1); break;
    case cap::UiControllable: v = fixedList(MVTWAIN_TWTY_BOOL, {1}, 1); break;
    case cap::Indicators: v = fixedList(MVTWAIN_TWTY_BOOL, {0, 1}, settings_.indicators ? 1 : 0, false); break;
    case cap::XferCount:
        v = fixedList(MVTWAIN_TWTY_INT16, {static_cast<double>(settings_.transferCount)}, settings_.transferCount, false);
        v->defaultValue = -1;
        break;
    case cap::Units: v = fixedList(MVTWAIN_TWTY_UINT16, {0}, 0); break;
    case cap::XferMech: v = fixedList(MVTWAIN_TWTY_UINT16, {0, 1}, settings_.transferMode, false); break;
    case cap::ImageFileFormat: v = fixedList(MVTWAIN_TWTY_UINT16, {cap::FileFormatBmp}, cap::FileFormatBmp); break;
    case cap::Compression:
    case cap::PlanarChunky:
    case cap::PixelFlavor: v = fixedList(MVTWAIN_TWTY_UINT16, {0}, 0); break;
    case cap::PhysicalWidth:
    case cap::PhysicalHeight:
        if (auto area = fullArea())
            v = fixedList(MVTWAIN_TWTY_FIX32, {c == cap::PhysicalWidth ? area->right : area->bottom},
                          c == cap::PhysicalWidth ? area->right : area->bottom);
        break;
    case cap::SupportedSizes:
        if (auto area = fullArea()) {
            std::vector<double> codes = {0};
            for (const auto& size : KnownPaperSizes())
                if (size.widthMm <= area->right * kMillimetresPerInch + 0.5 &&
                    size.heightMm <= area->bottom * kMillimetresPerInch + 0.5)
                    codes.push_back(size.code);
            v = fixedList(MVTWAIN_TWTY_UINT16, codes, paperSize(), false);
        }
        break;
    case cap::AutomaticBorderDetection:
    case cap::AutomaticDeskew:
    case cap::AutomaticRotate:
    case cap::AutoSize:
        if (auto o = automaticOption(c)) {
            auto n = number(*o);
            if (n) v = fixedList(c == cap::AutoSize ? MVTWAIN_TWTY_UINT16 : MVTWAIN_TWTY_BOOL, {0, 1}, *n != 0 ? 1 : 0, !o->settable);
        }
        break;
    case cap::AutoDiscardBlankPages:
        if (auto o = automaticOption(c)) {
            auto n = number(*o);
            if (n) v = fixedList(MVTWAIN_TWTY_INT32, {-2, -1}, *n != 0 ? -1 : -2, !o->settable);
        }
        break;
    default: break;
    }
    if (v) {
        auto d = defaults_.find(c);
        if (d != defaults_.end()) v->defaultValue = d->second;
    }
    return v;
}

int32_t Capabilities::set(int32_t c, double value, bool& snapped) {
    snapped = false;
    auto described = describe(c);
    if (!described) return MVTWAIN_TWCC_CAPUNSUPPORTED;
    if (described->readOnly) {
        // A read-only capability accepts its own value, as a source does.
        return std::fabs(value - described->current) < 1e-9 ? MVTWAIN_TWCC_SUCCESS : MVTWAIN_TWCC_CAPBADOPERATION;
    }
    switch (c) {
    case cap::XResolution:
    case cap::YResolution: {
        auto o = resolutionOption(c == cap::YResolution);
        return o ? setNumber(*o, value, snapped) : MVTWAIN_TWCC_CAPUNSUPPORTED;
    }
    case cap::PixelType: return setPixelType(static_cast<int32_t>(std::lround(value)));
    case cap::BitDepth: {
        auto o = option("depth");
        if (!o) return MVTWAIN_TWCC_CAPUNSUPPORTED;
        auto depths = AllowedNumbers(*o);
        if (!std::count(depths.begin(), depths.end(), value)) return MVTWAIN_TWCC_BADVALUE;
        return setNumber(*o, value, snapped);
    }
    case cap::Brightness:
    case cap::Contrast:
    case cap::Threshold: {
        const char* name = c == cap::Brightness ? "brightness" : c == cap::Contrast ? "contrast" : "threshold";
        auto o = option(name);
        if (!o) return MVTWAIN_TWCC_CAPUNSUPPORTED;
        if (c == cap::Brightness) autoBright_ = false;
        return setNumber(*o, value, snapped);
    }
    case cap::AutoBright: {
        auto o = option("brightness");
        if (!o) return MVTWAIN_TWCC_CAPUNSUPPORTED;
        if (value != 0) {
            if (device_.setAutomatic(*o) != DeviceStatus::Good) return MVTWAIN_TWCC_OPERATIONERROR;
            autoBright_ = true;
        } else {
            autoBright_ = false;
        }
        return MVTWAIN_TWCC_SUCCESS;
    }
    case cap::FeederEnabled:
    case cap::AutoFeed: {
        auto o = option("source");
        if (!o) return MVTWAIN_TWCC_CAPUNSUPPORTED;
        std::string wanted;
        if (value != 0) {
            wanted = sourceOf(true, false);
            if (wanted.empty()) wanted = sourceOf(true, true);
            if (feederSelected()) return MVTWAIN_TWCC_SUCCESS;  // a duplex feeder stays as it is
        } else {
            wanted = sourceOf(false, false);
        }
        return wanted.empty() ? MVTWAIN_TWCC_BADVALUE : setText(*o, wanted);
    }
    case cap::DuplexEnabled: {
        auto o = option("source");
        std::string wanted = value != 0 ? sourceOf(true, true) : sourceOf(true, false);
        if (value == 0 && !feederSelected()) return MVTWAIN_TWCC_SUCCESS;
        return !o || wanted.empty() ? MVTWAIN_TWCC_BADVALUE : setText(*o, wanted);
    }
    case cap::AutoScan: settings_.autoScan = value != 0; return MVTWAIN_TWCC_SUCCESS;
    case cap::Indicators: settings_.indicators = value != 0; return MVTWAIN_TWCC_SUCCESS;
    case cap::XferCount: {
        const double n = std::round(value);
        if (n != value || (n != -1 && (n < 1 || n > 32767))) return MVTWAIN_TWCC_BADVALUE;
        settings_.transferCount = static_cast<int32_t>(n);
        return MVTWAIN_TWCC_SUCCESS;
    }
    case cap::XferMech:
        if (value != 0 && value != 1) return MVTWAIN_TWCC_BADVALUE;
        settings_.transferMode = static_cast<int32_t>(value);
        return MVTWAIN_TWCC_SUCCESS;
    case cap::SupportedSizes: return setPaperSize(static_cast<int32_t>(std::lround(value)));
    case cap::AutomaticBorderDetection:
    case cap::AutomaticDeskew:
    case cap::AutomaticRotate:
    case cap::AutoSize:
    case cap::AutoDiscardBlankPages: {
        auto o = automaticOption(c);
        if (!o) return MVTWAIN_TWCC_CAPUNSUPPORTED;
        bool on = c == cap::AutoDiscardBlankPages ? (value == -1 || value > 0) : value != 0;
        if (c == cap::AutoDiscardBlankPages && !on && value != -2) return MVTWAIN_TWCC_BADVALUE;
        if (o->type == OptionType::Bool) return setNumber(*o, on ? 1 : 0, snapped);
        // A numeric switch (a blank-page threshold in per cent): its smallest
        // non-zero value turns it on, zero off.
        double target = 0;
        if (on) {
            auto allowed = AllowedNumbers(*o);
            auto first = std::find_if(allowed.begin(), allowed.end(), [](double x) { return x > 0; });
            if (first == allowed.end()) return MVTWAIN_TWCC_BADVALUE;
            target = *first;
        }
        return setNumber(*o, target, snapped);
    }
    default: return MVTWAIN_TWCC_CAPUNSUPPORTED;
    }
}

int32_t Capabilities::reset(int32_t c) {
    auto described = describe(c);
    if (!described) return MVTWAIN_TWCC_CAPUNSUPPORTED;
    if (described->readOnly) return MVTWAIN_TWCC_SUCCESS;
    bool snapped = false;
    if (c == cap::SupportedSizes) return resetLayout();
    double value = described->defaultValue;
    // A device may open with a value outside its own range: the nearest end it allows.
    if (described->rangeOption)
        value = std::clamp(value, described->rangeOption->minimum, described->rangeOption->maximum);
    return set(c, value, snapped);
}

std::optional<ImageLayout> Capabilities::fullArea() {
    auto right = option("br-x");
    auto bottom = option("br-y");
    if (!right || !bottom || right->constraint != ConstraintKind::Range || bottom->constraint != ConstraintKind::Range)
        return std::nullopt;
    if (right->unit != OptionUnit::Mm && right->unit != OptionUnit::None) return std::nullopt;
    ImageLayout area;
    area.left = toInches(right->minimum, right->unit);
    area.top = toInches(bottom->minimum, bottom->unit);
    area.right = toInches(right->maximum, right->unit);
    area.bottom = toInches(bottom->maximum, bottom->unit);
    return area;
}

std::optional<ImageLayout> Capabilities::layout() {
    auto l = option("tl-x"), t = option("tl-y"), r = option("br-x"), b = option("br-y");
    if (!l || !t || !r || !b) return std::nullopt;
    auto vl = number(*l), vt = number(*t), vr = number(*r), vb = number(*b);
    if (!vl || !vt || !vr || !vb) return std::nullopt;
    return ImageLayout{toInches(*vl, l->unit), toInches(*vt, t->unit), toInches(*vr, r->unit), toInches(*vb, b->unit)};
}

int32_t Capabilities::setLayout(const ImageLayout& wanted) {
    auto l = option("tl-x"), t = option("tl-y"), r = option("br-x"), b = option("br-y");
    if (!l || !t || !r || !b) return MVTWAIN_TWCC_CAPUNSUPPORTED;
    if (!(wanted.left < wanted.right) || !(wanted.top < wanted.bottom)) return MVTWAIN_TWCC_BADVALUE;
    const double values[] = {fromInches(wanted.left, l->unit), fromInches(wanted.top, t->unit),
                             fromInches(wanted.right, r->unit), fromInches(wanted.bottom, b->unit)};
    const OptionInfo* options[] = {&*l, &*t, &*r, &*b};
    // Every corner must fit before any is changed: a refused area leaves the old one.
    for (int i = 0; i < 4; ++i)
        if (!NearestAllowed(*options[i], values[i])) return MVTWAIN_TWCC_BADVALUE;
    bool snapped = false;
    // Far corner first when the area grows, near corner first when it shrinks,
    // so that no step leaves the top-left below or right of the bottom-right.
    for (int i : {2, 3, 0, 1, 2, 3})
        if (int32_t c = setNumber(*options[i], values[i], snapped)) return c;
    return MVTWAIN_TWCC_SUCCESS;
}

int32_t Capabilities::resetLayout() {
    auto area = fullArea();
    if (!area) return MVTWAIN_TWCC_CAPUNSUPPORTED;
    return setLayout(*area);
}

int32_t Capabilities::setPaperSize(int32_t code) {
    auto area = fullArea();
    if (!area) return MVTWAIN_TWCC_CAPUNSUPPORTED;
    if (code == 0) return resetLayout();
    auto size = PaperSizeOf(code);
    if (!size) return MVTWAIN_TWCC_BADVALUE;
    return setLayout({area->left, area->top, area->left + size->widthMm / kMillimetresPerInch,
                      area->top + size->heightMm / kMillimetresPerInch});
}

int32_t Capabilities::paperSize() {
    auto current = layout();
    if (!current) return 0;
    return PaperSizeMatching((current->right - current->left) * kMillimetresPerInch,
                             (current->bottom - current->top) * kMillimetresPerInch);
}

double Capabilities::resolutionDpi() {
    auto o = resolutionOption(false);
    if (!o) return 0;
    auto n = number(*o);
    return n && *n > 0 ? *n : 0;
}

}  // namespace mvtwain
