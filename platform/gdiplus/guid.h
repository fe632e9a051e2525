#pragma once
// A 16-byte GUID in the Windows layout, as the layer uses them for image
// formats, codec class IDs, frame dimensions and encoder parameters.
#include <array>
#include <compare>
#include <cstdint>

namespace gdiplus {

struct Guid {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    constexpr auto operator<=>(const Guid&) const = default;
    constexpr bool IsNull() const { return *this == Guid{}; }
};

}  // namespace gdiplus
