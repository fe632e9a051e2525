#include "plugins/mvtwain/option_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace mvtwain {
namespace {

constexpr double kStandardResolutions[] = {50, 75, 100, 150, 200, 240, 300, 400, 600, 800, 1200, 2400, 4800, 9600};

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool finiteRange(const OptionInfo& o) {
    return std::isfinite(o.minimum) && std::isfinite(o.maximum) && std::isfinite(o.quantum) && o.minimum <= o.maximum;
}

}  // namespace

std::vector<double> AllowedNumbers(const OptionInfo& option) {
    std::vector<double> values;
    if (option.type == OptionType::Bool) return {0, 1};
    switch (option.constraint) {
    case ConstraintKind::WordList:
        values = option.numbers;
        values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return !std::isfinite(v); }),
                     values.end());
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        if (values.size() > kMaxListedValues) values.resize(kMaxListedValues);
        return values;
    case ConstraintKind::Range: {
        if (!finiteRange(option)) return values;
        const double span = option.maximum - option.minimum;
        double step = option.quantum > 0 ? option.quantum : (option.type == OptionType::Int ? 1 : span / 100);
        if (step <= 0) return {option.minimum};
        if (option.unit == OptionUnit::Dpi && span / step + 1 > 64) {
            for (double r : kStandardResolutions)
                if (r >= option.minimum && r <= option.maximum) values.push_back(r);
            if (values.empty() || values.front() != option.minimum) values.insert(values.begin(), option.minimum);
            if (values.back() != option.maximum) values.push_back(option.maximum);
            return values;
        }
        const double steps = std::floor(span / step + 1e-9);
        if (steps + 1 > kMaxListedValues) step *= std::ceil((steps + 1) / kMaxListedValues);
        for (double v = option.minimum; v <= option.maximum + step * 1e-9 && values.size() < kMaxListedValues; v += step)
            values.push_back(std::min(v, option.maximum));
        return values;
    }
    default: return values;
    }
}

std::optional<double> NearestAllowed(const OptionInfo& option, double wanted) {
    if (!std::isfinite(wanted)) return std::nullopt;
    if (option.type == OptionType::Bool) return wanted != 0 ? 1.0 : 0.0;
    switch (option.constraint) {
    case ConstraintKind::Range: {
        if (!finiteRange(option)) return std::nullopt;
        constexpr double kSlack = 1e-6;
        if (wanted < option.minimum - kSlack || wanted > option.maximum + kSlack) return std::nullopt;
        double value = std::clamp(wanted, option.minimum, option.maximum);
        if (option.quantum > 0) {
            value = option.minimum + std::round((value - option.minimum) / option.quantum) * option.quantum;
            value = std::clamp(value, option.minimum, option.maximum);
        }
        return value;
    }
    case ConstraintKind::WordList: {
        std::optional<double> best;
        double lowest = INFINITY, highest = -INFINITY;
        for (double v : option.numbers) {
            if (!std::isfinite(v)) continue;
            lowest = std::min(lowest, v);
            highest = std::max(highest, v);
            if (!best || std::fabs(v - wanted) < std::fabs(*best - wanted)) best = v;
        }
        if (!best || wanted < lowest - 1e-6 || wanted > highest + 1e-6) return std::nullopt;
        return best;
    }
    default: return option.type == OptionType::Int ? std::round(wanted) : wanted;
    }
}

int PixelTypeOfMode(const std::string& mode) {
    const std::string m = lower(mode);
    if (m.find("lineart") != std::string::npos || m.find("line art") != std::string::npos || m == "binary" ||
        m == "black & white" || m == "black and white" || m == "bw" || m == "halftone" || m == "monochrome")
        return 0;
    if (m.find("gray") != std::string::npos || m.find("grey") != std::string::npos) return 1;
    if (m.find("color") != std::string::npos || m.find("colour") != std::string::npos || m == "rgb") return 2;
    return -1;
}

std::string ModeForPixelType(const std::vector<std::string>& modes, int pixelType) {
    for (const auto& mode : modes)
        if (PixelTypeOfMode(mode) == pixelType) return mode;
    return "";
}

}  // namespace mvtwain
