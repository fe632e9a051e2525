#include "platform/win/guid.h"

#include <cstdio>

namespace win {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits at `pos`; nullopt when one of them is not hex.
std::optional<uint32_t> readHex(std::string_view text, size_t pos, size_t digits) {
    uint32_t value = 0;
    for (size_t i = 0; i < digits; ++i) {
        int v = hexValue(text[pos + i]);
        if (v < 0) return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(v);
    }
    return value;
}

}  // namespace

std::array<uint8_t, 16> Guid::bytes() const {
    std::array<uint8_t, 16> out{};
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(data1 >> (8 * i));
    for (int i = 0; i < 2; ++i) out[4 + i] = static_cast<uint8_t>(data2 >> (8 * i));
    for (int i = 0; i < 2; ++i) out[6 + i] = static_cast<uint8_t>(data3 >> (8 * i));
    for (int i = 0; i < 8; ++i) out[8 + i] = data4[i];
    return out;
}

Guid Guid::fromBytes(const std::array<uint8_t, 16>& bytes) {
    Guid g;
    for (int i = 3; i >= 0; --i) g.data1 = (g.data1 << 8) | bytes[i];
    g.data2 = static_cast<uint16_t>(bytes[4] | (bytes[5] << 8));
    g.data3 = static_cast<uint16_t>(bytes[6] | (bytes[7] << 8));
    for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
    return g;
}

std::optional<Guid> ParseGuid(std::string_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: 38 characters.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return std::nullopt;
    Guid g;
    auto d1 = readHex(text, 1, 8);
    auto d2 = readHex(text, 10, 4);
    auto d3 = readHex(text, 15, 4);
    if (!d1 || !d2 || !d3) return std::nullopt;
    g.data1 = *d1;
    g.data2 = static_cast<uint16_t>(*d2);
    g.data3 = static_cast<uint16_t>(*d3);
    static constexpr size_t kData4Positions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        auto b = readHex(text, kData4Positions[i], 2);
        if (!b) return std::nullopt;
        g.data4[i] = static_cast<uint8_t>(*b);
    }
    return g;
}

std::string FormatGuid(const Guid& g) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                  g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
    return text;
}

}  // namespace win
