#include "platform/forms/text_editing.h"

#include <gtest/gtest.h>

namespace forms {
namespace {

// "é" is two bytes, "€" three.
constexpr std::string_view kCafe = "caf\xC3\xA9";
constexpr std::string_view kEuro = "\xE2\x82\xAC";

TEST(TextEditingTest, CharactersAreWholeUtf8SequencesAndTheCaretStepsOverALineEnd) {
    EXPECT_EQ(characterCount(kCafe), 4u);
    EXPECT_EQ(characterCount("a\r\nb"), 4u);  // a line end counts two towards MaxLength
    EXPECT_EQ(previousCharacterStart(kCafe, 5), 3u);
    EXPECT_EQ(nextCharacterEnd(kCafe, 3), 5u);
    EXPECT_EQ(characterEnd(kCafe, 3), 5u);
    EXPECT_EQ(characterEnd("a\r\nb", 1), 2u);  // one character of the line end
    EXPECT_EQ(previousCharacterStart("a\r\nb", 3), 1u);
    EXPECT_EQ(nextCharacterEnd("a\r\nb", 1), 3u);
    EXPECT_EQ(previousCharacterStart("", 0), 0u);
    EXPECT_EQ(nextCharacterEnd("ab", 2), 2u);
    EXPECT_EQ(previousCharacterStart(kCafe, 99), 3u);  // beyond the end: from the end
}

TEST(TextEditingTest, ASelectionIsKeptInsideTheTextOnCharacterBoundaries) {
    EXPECT_EQ(clampSelection({4, 0}, kCafe), (TextSelection{3, 0}));  // inside "é"
    EXPECT_EQ(clampSelection({1, 99}, kCafe), (TextSelection{1, 4}));
    EXPECT_EQ(clampSelection({99, 5}, kCafe), (TextSelection{5, 0}));
    EXPECT_EQ(clampSelection({0, 4}, kCafe), (TextSelection{0, 3}));  // its end inside "é"
}

struct ReplaceCase {
    const char* name;
    std::string text;
    TextSelection at;
    std::string inserted;
    int maxLength;
    std::string after;
    size_t caret;
};

class ReplaceSelectionTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceSelectionTest, KeepsOfTheInsertionWhatTheLimitLeavesRoomFor) {
    const ReplaceCase& c = GetParam();
    const TextEdit edit = replaceSelection(c.text, c.at, c.inserted, c.maxLength);
    EXPECT_EQ(edit.text, c.after);
    EXPECT_EQ(edit.caret, c.caret);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceSelectionTest,
    ::testing::Values(ReplaceCase{"AtTheCaret", "15", {1, 0}, "0", 0, "105", 2},
                      ReplaceCase{"OverTheSelection", "1000", {1, 2}, "x", 0, "1x0", 2},
                      ReplaceCase{"Deleting", "abc", {1, 1}, "", 3, "ac", 1},
                      ReplaceCase{"CutToTheLimit", "ab", {2, 0}, "cdefgh", 6, "abcdef", 6},
                      ReplaceCase{"CutInTheMiddleKeepsTheTail", "abcdef", {1, 0}, "XYZ", 8, "aXYbcdef", 3},
                      ReplaceCase{"FullRefusesMore", "abc", {3, 0}, "d", 3, "abc", 3},
                      ReplaceCase{"FullTakesWhatReplacesASelection", "abc", {1, 1}, "x", 3, "axc", 2},
                      ReplaceCase{"BeyondTheLimitTakesNoMore", "123456", {6, 0}, "7", 3, "123456", 6},
                      ReplaceCase{"BeyondTheLimitMayShrink", "123456", {5, 1}, "", 3, "12345", 5},
                      ReplaceCase{"CountsCharactersNotBytes", "caf", {3, 0}, "\xC3\xA9\xC3\xA9", 4, "caf\xC3\xA9", 5},
                      ReplaceCase{"NeverSplitsALineEnd", "ab", {2, 0}, "\r\nc", 3, "ab", 2}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

struct BetweenCase {
    const char* name;
    std::string before;
    std::string after;
    TextSelection replaced;
    std::string inserted;
};

class ReplacementBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(ReplacementBetweenTest, FindsTheOneReplacementAFieldMade) {
    const BetweenCase& c = GetParam();
    const TextReplacement r = replacementBetween(c.before, c.after);
    EXPECT_EQ(r.replaced, c.replaced);
    EXPECT_EQ(r.inserted, c.inserted);
    // Applying it gives the field's text back.
    EXPECT_EQ(replaceSelection(c.before, r.replaced, r.inserted, 0).text, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplacementBetweenTest,
    ::testing::Values(BetweenCase{"Pasted", "abef", "abcdef", {2, 0}, "cd"},
                      BetweenCase{"Cut", "abcdef", "af", {1, 4}, ""},
                      BetweenCase{"RepeatedLetters", "aa", "aaa", {2, 0}, "a"},
                      BetweenCase{"Replaced", "tea", "taxi", {1, 2}, "axi"},
                      BetweenCase{"Same", "x", "x", {1, 0}, ""},
                      // "é" and "è" share their first byte: the replacement is the whole character.
                      BetweenCase{"WholeCharacters", "caf\xC3\xA9", "caf\xC3\xA8", {3, 2}, "\xC3\xA8"},
                      BetweenCase{"FromNothing", "", "new", {0, 0}, "new"}),
    [](const ::testing::TestParamInfo<BetweenCase>& info) { return std::string(info.param.name); });

TEST(TextEditingTest, AnEuroSignIsOneCharacter) {
    const std::string text = "5" + std::string(kEuro);
    EXPECT_EQ(characterCount(text), 2u);
    EXPECT_EQ(previousCharacterStart(text, text.size()), 1u);
    EXPECT_EQ(replaceSelection(text, {0, 0}, "1", 2).text, text);  // full: nothing more goes in
}

}  // namespace
}  // namespace forms
