#pragma once
// A 16-byte GUID in the Windows layout, as the layer uses them for image
// formats, codec class IDs, frame dimensions and encoder parameters.
#include <array>
#include <compare>
#include <cstdint>

#include "platform/win/guid.h"

namespace gdiplus {

struct Guid {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    constexpr auto operator<=>(const Guid&) const = default;
    constexpr bool IsNull() const { return *this == Guid{}; }
};

// The Windows layer's GUID holds the same fields and knows the registry text
// form ("{557CF401-1A04-...}"): these move a GUID between the two, so that
// GUID texts are parsed and written in one place.
constexpr Guid FromWinGuid(const win::Guid& guid) { return Guid{guid.data1, guid.data2, guid.data3, guid.data4}; }
constexpr win::Guid ToWinGuid(const Guid& guid) { return win::Guid{guid.Data1, guid.Data2, guid.Data3, guid.Data4}; }

}  // namespace gdiplus
