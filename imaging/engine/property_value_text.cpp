#include "imaging/engine/property_value_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/win/text_encoding.h"

namespace scanvelt {

namespace {

// Decimal exponents written without exponent form: magnitudes from 1E-4 below 1E15.
constexpr int kLowestFixedExponent = -4;
constexpr int kHighestFixedExponent = 14;

std::string UnsignedNumberText(double magnitude) {
    if (magnitude == 0) return "0";
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", magnitude);  // d.dddddddddddddde±x
    char* e = std::strchr(buffer, 'e');
    const int exponent = std::atoi(e + 1);
    std::string digits(1, buffer[0]);
    digits.append(buffer + 2, e);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (exponent > kHighestFixedExponent || exponent < kLowestFixedExponent) {
        std::string out = digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + exponentText;
    }
    if (exponent < 0) return "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    const size_t whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) return digits + std::string(whole - digits.size(), '0');
    return digits.substr(0, whole) + "." + digits.substr(whole);
}

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

int32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    const uint32_t value = static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
                           (static_cast<uint32_t>(bytes[at + 2]) << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
    return static_cast<int32_t>(value);
}

// Joins the first `count` values of `size` bytes that lie wholly within the bytes.
template <class Writer>
std::optional<std::string> JoinValues(std::span<const uint8_t> bytes, int32_t count, size_t size, Writer write) {
    std::string out;
    for (int64_t i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i) * size;
        if (at + size > bytes.size()) break;
        std::optional<std::string> value = write(at);
        if (!value) return std::nullopt;
        if (i > 0) out += ", ";
        out += *value;
    }
    return out;
}

std::string ByteCountText(int32_t length) { return std::to_string(length) + " Byte"; }

}  // namespace

std::string SignedNumberText(double value) {
    return (value < 0 ? "-" : " ") + UnsignedNumberText(std::fabs(value));
}

std::optional<std::string> PropertyValueText(int32_t tagId, int32_t type, int32_t length, int32_t count,
                                             std::span<const uint8_t> bytes) {
    if (tagId == kTagXmlPackets) type = 2;
    if (length > 9999) return ByteCountText(length);
    if (tagId == kTagExifUserComment || tagId == kTagPrintImData) type = 2;

    switch (type) {
        case 1:
            return JoinValues(bytes, count, 1, [&](size_t at) -> std::optional<std::string> {
                return SignedNumberText(bytes[at]);
            });
        case 2: {
            if (bytes.empty()) return "0";
            std::span<const uint8_t> text = bytes;
            // A user comment starts with an 8-byte character-code header.
            if (tagId == kTagExifUserComment) text = text.subspan(std::min<size_t>(8, text.size()));
            return win::AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
        }
        case 3:
        case 8:
            return JoinValues(bytes, count, 2, [&](size_t at) -> std::optional<std::string> {
                return SignedNumberText(Read16(bytes, at));
            });
        case 4:
        case 9:
            return JoinValues(bytes, count, 4, [&](size_t at) -> std::optional<std::string> {
                return SignedNumberText(Read32(bytes, at));
            });
        case 5:
        case 10:
            return JoinValues(bytes, count, 8, [&](size_t at) -> std::optional<std::string> {
                const int32_t denominator = Read32(bytes, at + 4);
                if (denominator == 0) return std::nullopt;
                return SignedNumberText(static_cast<double>(Read32(bytes, at)) / denominator);
            });
        case 7:
            return JoinValues(bytes, count, 1, [&](size_t at) -> std::optional<std::string> {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02X", bytes[at]);
                return std::string(hex);
            });
        default:
            return ByteCountText(length);
    }
}

}  // namespace scanvelt
