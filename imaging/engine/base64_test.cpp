#include "imaging/engine/base64.h"

#include <gtest/gtest.h>

namespace scanvelt {
namespace {

std::vector<uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

std::string encode(std::string_view bytes) { return Base64EncodeBytes(bytesOf(bytes)); }

std::string withoutLineBreaks(std::string text) {
    std::erase(text, '\r');
    std::erase(text, '\n');
    return text;
}

TEST(Base64, ShortInputsAreStandardBase64) {
    struct Case { const char* in; const char* out; } cases[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encode(c.in), c.out) << c.in;
        EXPECT_EQ(Base64DecodeBytes(c.out), bytesOf(c.in)) << c.out;
    }
}

TEST(Base64, LinesOfFortyCharacters) {
    std::string bytes29(29, 'a'), bytes30(30, 'a'), bytes31(31, 'a'), bytes60(60, 'a'), bytes59(59, 'a');
    EXPECT_EQ(encode(bytes29).find('\r'), std::string::npos) << "under 30 bytes: one line";
    EXPECT_EQ(encode(bytes29).size(), 40u) << "39 characters and one '='";

    std::string thirty = encode(bytes30);
    ASSERT_EQ(thirty.size(), 42u);
    EXPECT_EQ(thirty.substr(40), "\r\n") << "a full last line still ends in CR LF";
    EXPECT_EQ(thirty.find('='), std::string::npos);

    std::string thirtyOne = encode(bytes31);
    EXPECT_EQ(thirtyOne.substr(40), "\r\nYQ==");

    std::string sixty = encode(bytes60);
    EXPECT_EQ(sixty.size(), 84u);
    EXPECT_EQ(sixty.substr(40, 2), "\r\n");
    EXPECT_EQ(sixty.substr(82), "\r\n");

    std::string fiftyNine = encode(bytes59);  // 79 characters and "=": no break after the padding
    EXPECT_EQ(fiftyNine.substr(fiftyNine.size() - 2), "E=");
    EXPECT_EQ(withoutLineBreaks(fiftyNine).size(), 80u);
}

TEST(Base64, DecodingSkipsEverythingOutsideTheAlphabet) {
    std::string bytes;
    for (int i = 0; i < 200; ++i) bytes += static_cast<char>(i * 7);
    std::string encoded = encode(bytes);
    std::vector<uint8_t> expected = bytesOf(bytes);
    EXPECT_EQ(Base64DecodeBytes(encoded), expected);
    EXPECT_EQ(Base64DecodeBytes(withoutLineBreaks(encoded)), expected);
    std::string noisy;
    for (char c : encoded) {
        noisy += c;
        noisy += " ";
    }
    EXPECT_EQ(Base64DecodeBytes(noisy), expected) << "blanks anywhere";
    std::string unpadded = withoutLineBreaks(encoded);
    std::erase(unpadded, '=');
    EXPECT_EQ(Base64DecodeBytes(unpadded), expected) << "padding is optional";
    EXPECT_EQ(Base64DecodeBytes("Zm\xC3\xA9 9v*Yg=="), bytesOf("foob")) << "foreign characters in the data";
    EXPECT_EQ(Base64DecodeBytes("zM9V"), bytesOf("\xcc\xcf\x55")) << "case matters";
    EXPECT_EQ(Base64DecodeBytes("Z"), std::vector<uint8_t>{}) << "left-over bits are dropped";
    EXPECT_EQ(Base64DecodeBytes("=\r\n"), std::vector<uint8_t>{});
}

TEST(Base64, ByteStringsGoThroughWindows1252) {
    EXPECT_EQ(Base64Encode("\u20AC"), "gA==") << "the euro sign is byte 0x80";
    EXPECT_EQ(Base64Decode("gA=="), "\u20AC");
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Decode(""), "");
    std::string allBytes;
    for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
    std::string text = Base64Decode(Base64EncodeBytes(bytesOf(allBytes)));
    EXPECT_EQ(Base64Encode(text), Base64EncodeBytes(bytesOf(allBytes))) << "every byte survives as a character";
}

}  // namespace
}  // namespace scanvelt
