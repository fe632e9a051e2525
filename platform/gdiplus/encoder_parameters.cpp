#include "platform/gdiplus/encoder_parameters.h"

#include <algorithm>

namespace gdiplus {

EncoderParameter EncoderParameter::Long(const gdiplus::Guid& guid, std::uint32_t value) {
    EncoderParameter p;
    p.Guid = guid;
    p.NumberOfValues = 1;
    p.Type = EncoderParameterValueTypeLong;
    p.Value = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
               static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return p;
}

std::optional<std::uint32_t> EncoderParameter::LongValue() const {
    if (Type != EncoderParameterValueTypeLong || NumberOfValues < 1 || Value.size() < 4) return std::nullopt;
    return std::uint32_t{Value[0]} | (std::uint32_t{Value[1]} << 8) | (std::uint32_t{Value[2]} << 16) |
           (std::uint32_t{Value[3]} << 24);
}

const EncoderParameter* FindEncoderParameter(const EncoderParameters& parameters, const Guid& guid) {
    auto it = std::find_if(parameters.begin(), parameters.end(),
                           [&](const EncoderParameter& p) { return p.Guid == guid; });
    return it == parameters.end() ? nullptr : &*it;
}

std::optional<std::uint32_t> FindEncoderLong(const EncoderParameters& parameters, const Guid& guid) {
    const EncoderParameter* p = FindEncoderParameter(parameters, guid);
    return p ? p->LongValue() : std::nullopt;
}

}  // namespace gdiplus
