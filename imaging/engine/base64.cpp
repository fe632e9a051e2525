#include "imaging/engine/base64.h"

#include "platform/win/text_encoding.h"

#include <array>

namespace scanvelt {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr size_t kLineLength = 40;

constexpr std::array<int8_t, 256> makeDecodeTable() {
    std::array<int8_t, 256> table{};
    for (auto& entry : table) entry = -1;
    for (size_t i = 0; i < kAlphabet.size(); ++i) table[static_cast<uint8_t>(kAlphabet[i])] = static_cast<int8_t>(i);
    return table;
}

constexpr auto kDecodeTable = makeDecodeTable();

}  // namespace

std::string Base64EncodeBytes(std::span<const uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 4 / 3 + bytes.size() / 15 + 4);
    size_t written = 0;
    auto emit = [&](uint32_t sixBits) {
        out += kAlphabet[sixBits & 0x3F];
        if (++written % kLineLength == 0) out += "\r\n";
    };
    uint32_t accumulator = 0;
    int held = 0;
    for (uint8_t byte : bytes) {
        accumulator = (accumulator << 8) | byte;
        held += 8;
        while (held >= 6) {
            held -= 6;
            emit(accumulator >> held);
        }
        accumulator &= (1u << held) - 1;
    }
    if (held > 0) emit(accumulator << (6 - held));
    switch (bytes.size() % 3) {
        case 1: out += "=="; break;
        case 2: out += "="; break;
        default: break;
    }
    return out;
}

std::vector<uint8_t> Base64DecodeBytes(std::string_view text) {
    std::vector<uint8_t> out;
    out.reserve(text.size() * 3 / 4);
    uint32_t accumulator = 0;
    int held = 0;
    for (char c : text) {
        int8_t value = kDecodeTable[static_cast<uint8_t>(c)];
        if (value < 0) continue;
        accumulator = (accumulator << 6) | static_cast<uint32_t>(value);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out.push_back(static_cast<uint8_t>(accumulator >> held));
            accumulator &= (1u << held) - 1;
        }
    }
    return out;
}

std::string Base64Encode(std::string_view byteString) {
    std::string bytes = win::Utf8ToAnsi(byteString);
    return Base64EncodeBytes(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string Base64Decode(std::string_view text) {
    std::vector<uint8_t> bytes = Base64DecodeBytes(text);
    return win::AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace scanvelt
