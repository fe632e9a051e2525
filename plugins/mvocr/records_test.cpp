#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "plugins/mvocr/grey_page.h"
#include "plugins/mvocr/ocr_records.h"

namespace mvocr {
namespace {

RecognisedSymbol symbol(const std::string& text, bool line, bool word, int left = 10, float confidence = 90) {
    RecognisedSymbol s;
    s.Utf8 = text;
    s.Left = left;
    s.Top = 20;
    s.Right = left + 8;
    s.Bottom = 40;
    s.StartsLine = line;
    s.StartsWord = word;
    s.Confidence = confidence;
    return s;
}

TEST(OcrRecords, RecordIsTwentyFourBytesInItsFixedLayout) {
    MvocrChar record{};
    record.code = 0x41;
    record.line = 2;
    record.left = 3;
    record.right = 4;
    record.top = 5;
    record.bottom = 6;
    record.confidence = 7;
    record.spaces = 8;
    unsigned char bytes[24];
    static_assert(sizeof(record) == sizeof(bytes));
    std::memcpy(bytes, &record, sizeof(bytes));
    const int16_t fields[][2] = {{4, 2}, {6, 3}, {8, 4}, {10, 5}, {12, 6}, {16, 7}, {20, 8}};
    EXPECT_EQ(bytes[0], 0x41);
    for (const auto& [offset, value] : fields) {
        int16_t read = 0;
        std::memcpy(&read, bytes + offset, 2);
        EXPECT_EQ(read, value) << "offset " << offset;
    }
}

TEST(OcrRecords, ConfidenceRunsFromZeroForSureToTwoHundredFiftyFiveForAGuess) {
    const std::pair<float, int16_t> cases[] = {{100, 0}, {0, 255}, {50, 128}, {90, 26}, {150, 0}, {-3, 255}};
    for (const auto& [tesseract, record] : cases) EXPECT_EQ(RecordConfidence(tesseract), record) << tesseract;
    EXPECT_EQ(RecordConfidence(std::nanf("")), 255);
}

TEST(OcrRecords, LinesCountFromOneAndWordsAfterTheFirstOfALineHaveOneSpace) {
    const std::vector<RecognisedSymbol> symbols = {symbol("A", true, true),  symbol("B", false, false),
                                                   symbol("C", false, true), symbol("D", true, true),
                                                   symbol("E", false, true)};
    const auto records = BuildRecords(symbols, 100);
    ASSERT_EQ(records.size(), 5u);
    const int expected[][3] = {{'A', 1, 0}, {'B', 1, 0}, {'C', 1, 1}, {'D', 2, 0}, {'E', 2, 1}};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].code, expected[i][0]) << i;
        EXPECT_EQ(records[i].line, expected[i][1]) << i;
        EXPECT_EQ(records[i].spaces, expected[i][2]) << i;
        EXPECT_EQ(records[i].top, 20);
        EXPECT_EQ(records[i].bottom, 40);
    }
}

TEST(OcrRecords, SymbolsBecomeUtf16CodeUnitsAndBrokenTextIsNoCharacter) {
    // "fi" ligature read as two letters, an e acute, a character outside the
    // basic plane, then a stray continuation byte and a truncated sequence.
    const std::vector<RecognisedSymbol> symbols = {symbol("fi", true, true), symbol("\xC3\xA9", false, false),
                                                   symbol("\xF0\x9D\x84\x9E", false, true),
                                                   symbol("\x80", false, false), symbol("\xE2\x82", false, false),
                                                   symbol("\xC0\xAF", false, false)};
    const auto records = BuildRecords(symbols, 100);
    const int32_t codes[] = {'f', 'i', 0xE9, 0xD834, 0xDD1E, -1, -1, -1, -1, -1};
    ASSERT_EQ(records.size(), std::size(codes));
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].code, codes[i]) << i;
    EXPECT_EQ(records[3].spaces, 1) << "the word's space goes before its first unit only";
    EXPECT_EQ(records[4].spaces, 0);
}

TEST(OcrRecords, BoxesBeyondSixteenBitsAreClampedAndTheCountIsBounded) {
    RecognisedSymbol wide = symbol("W", true, true, 40000);
    wide.Top = -70000;
    const auto records = BuildRecords({wide}, 10);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].left, 32767);
    EXPECT_EQ(records[0].top, -32768);
    EXPECT_EQ(BuildRecords(std::vector<RecognisedSymbol>(50, symbol("xy", false, true)), 7).size(), 7u);
    EXPECT_EQ(BuildRecords({symbol("\xF0\x9D\x84\x9E", true, true)}, 1).size(), 1u);
}

TEST(GreyPage, BothDepthsBecomeGreyWithTheirOwnRowPitch) {
    // 2 x 2 at 24 bits with 8 bytes per row: white, black / blue, red.
    const uint8_t colour[] = {255, 255, 255, 0, 0, 0, 9, 9, 255, 0, 0, 0, 0, 255, 9, 9};
    std::vector<uint8_t> grey;
    ASSERT_EQ(MakeGreyPage(colour, 2, 2, 24, 8, grey), GreyPageResult::Made);
    EXPECT_EQ(grey, (std::vector<uint8_t>{255, 0, 29, 76}));
    // 10 x 2 at 1 bit, 3 bytes per row: first pixel is the high bit, 1 white.
    const uint8_t bits[] = {0x80, 0x40, 0xEE, 0x00, 0xFF, 0xEE};
    ASSERT_EQ(MakeGreyPage(bits, 10, 2, 1, 3, grey), GreyPageResult::Made);
    EXPECT_EQ(grey, (std::vector<uint8_t>{255, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255}));
}

TEST(GreyPage, SizesThatDoNotFitAreRefusedBeforeAnythingIsRead) {
    const uint8_t pixels[16] = {};
    std::vector<uint8_t> grey;
    struct Case {
        const uint8_t* Pixels;
        int32_t Width, Height, Bits, Pitch;
        GreyPageResult Result;
    };
    const Case cases[] = {
        {nullptr, 2, 2, 24, 6, GreyPageResult::BadArgument},  {pixels, 0, 2, 24, 6, GreyPageResult::BadArgument},
        {pixels, 2, -1, 24, 6, GreyPageResult::BadArgument},  {pixels, 2, 2, 8, 6, GreyPageResult::BadArgument},
        {pixels, 2, 2, 24, 5, GreyPageResult::BadArgument},   {pixels, 9, 1, 1, 1, GreyPageResult::BadArgument},
        {pixels, 100000, 100000, 1, 12500, GreyPageResult::TooLarge},
        {pixels, 0x7FFFFFFF, 2, 24, 0x7FFFFFFF, GreyPageResult::BadArgument},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeGreyPage(c.Pixels, c.Width, c.Height, c.Bits, c.Pitch, grey), c.Result)
            << c.Width << "x" << c.Height << "@" << c.Bits << "/" << c.Pitch;
    }
}

}  // namespace
}  // namespace mvocr
