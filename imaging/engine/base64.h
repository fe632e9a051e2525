#pragma once
// Base64 with the standard alphabet, "=" padding and a "\r\n" after every 40
// characters; the decoder skips every character outside the alphabet.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scanvelt {

std::string Base64EncodeBytes(std::span<const uint8_t> bytes);
std::vector<uint8_t> Base64DecodeBytes(std::string_view text);

// Byte strings as text: each character stands for its Windows-1252 byte.
std::string Base64Encode(std::string_view byteString);
std::string Base64Decode(std::string_view text);

}  // namespace scanvelt
