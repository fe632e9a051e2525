#pragma once
// GUIDs in their 16-byte layout and their registry text form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace win {

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};

    // The 16 bytes as they lie in memory: data1, data2 and data3 little-endian.
    std::array<uint8_t, 16> bytes() const;
    static Guid fromBytes(const std::array<uint8_t, 16>& bytes);

    bool isNull() const { return *this == Guid{}; }
    friend bool operator==(const Guid&, const Guid&) = default;
};

// Parses the registry form with braces; hex digits in either case. nullopt for
// any other text (missing braces, wrong group lengths, stray characters).
std::optional<Guid> ParseGuid(std::string_view text);

// The registry form with braces and upper-case hex digits.
std::string FormatGuid(const Guid& guid);

}  // namespace win
