#include "platform/win/text_encoding.h"

#include <gtest/gtest.h>

namespace win {
namespace {

TEST(TextEncoding, Windows1252SpecialBytes) {
    struct Case { unsigned char byte; const char* utf8; } cases[] = {
        {0x41, "A"}, {0x80, "\u20AC"}, {0x85, "\u2026"}, {0x8A, "\u0160"}, {0x99, "\u2122"},
        {0x9F, "\u0178"}, {0xA0, "\u00A0"}, {0xE9, "\u00E9"}, {0xFF, "\u00FF"},
        {0x81, "\u0081"}, {0x8D, "\u008D"}, {0x8F, "\u008F"}, {0x90, "\u0090"}, {0x9D, "\u009D"},
    };
    for (const auto& c : cases) {
        std::string byte(1, static_cast<char>(c.byte));
        EXPECT_EQ(AnsiToUtf8(byte), c.utf8) << int(c.byte);
        EXPECT_EQ(Utf8ToAnsi(c.utf8), byte) << int(c.byte);
    }
}

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(Utf8Length(AnsiToUtf8(all)), 256u);
}

TEST(TextEncoding, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("a\u4E2Db"), "a?b");
    EXPECT_EQ(Utf8ToAnsi("\U0001F600"), "?");
    EXPECT_EQ(Utf8ToAnsi("\xC3"), "?") << "truncated sequence";
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??") << "overlong form";
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "???") << "encoded surrogate";
}

TEST(TextEncoding, Utf16BothWays) {
    EXPECT_EQ(Utf16ToUtf8(u"A\u00E9\u20AC\U0001F600"), "A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Utf8ToUtf16("A\u00E9\u20AC\U0001F600"), u"A\u00E9\u20AC\U0001F600");
    std::u16string lone = {u'a', static_cast<char16_t>(0xD800), u'b', static_cast<char16_t>(0xDC00)};
    EXPECT_EQ(Utf16ToUtf8(lone), "a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
}

}  // namespace
}  // namespace win
