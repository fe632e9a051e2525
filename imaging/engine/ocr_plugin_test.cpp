#include "imaging/engine/ocr_plugin.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/ocr_test_support.h"
#include "platform/files/testing/scratch_folder.h"

namespace scanvelt {
namespace {

using mvocr::testing::DrawTextPage;

OcrChar record(int32_t code, int16_t line, int16_t spaces = 0, int16_t left = 0) {
    OcrChar c{};
    c.code = code;
    c.line = line;
    c.spaces = spaces;
    c.left = left;
    return c;
}

class OcrPluginTest : public testing_support::EngineTest {
protected:
    testing_support::BuildTreeOcrPlugin plugin_;
};

TEST_F(OcrPluginTest, RecognisesARegionOfAColourOrOneBitImageRelativeToTheRegion) {
    const auto page = DrawTextPage(1800, 700, 300, {"Invoice 4711", "Total due"});
    for (const bool oneBit : {false, true}) {
        const int32_t image = testing_support::TextPageImage(page, 300, oneBit);
        ASSERT_NE(image, 0);
        std::vector<OcrChar> whole;
        ASSERT_EQ(OcrImage(image, 0, 0, 1800, 700, 2, "", "", whole), OK);
        EXPECT_EQ(OcrCharsToText(whole, static_cast<int32_t>(whole.size())), "Invoice 4711\r\nTotal due") << oneBit;

        // The region starting 100 pixels in and 365 down holds the second line only.
        std::vector<OcrChar> part;
        ASSERT_EQ(OcrImage(image, 100, 365, 1700, 335, 2, "  ", "", part), OK);
        ASSERT_FALSE(part.empty());
        EXPECT_EQ(OcrCharsToText(part, static_cast<int32_t>(part.size())), "Total due");
        ASSERT_GT(whole.size(), 11u);
        EXPECT_EQ(part[0].code, 'T');
        EXPECT_EQ(whole[11].code, 'T');
        EXPECT_NEAR(part[0].left, whole[11].left - 100, 2);
        EXPECT_NEAR(part[0].top, whole[11].top - 365, 2);
    }
}

TEST_F(OcrPluginTest, TheWhiteListLimitsWhatIsRead) {
    const int32_t image = testing_support::TextPageImage(DrawTextPage(1400, 400, 300, {"Code 4711"}), 300);
    std::vector<OcrChar> chars;
    ASSERT_EQ(OcrImage(image, 0, 0, 1400, 400, 2, "", "0123456789", chars), OK);
    const std::string text = OcrCharsToText(chars, static_cast<int32_t>(chars.size()));
    EXPECT_NE(text.find("4711"), std::string::npos) << text;
    EXPECT_EQ(text.find_first_not_of("0123456789 \r\n"), std::string::npos) << text;
}

TEST_F(OcrPluginTest, EmptyRegionsPagesWithoutResolutionAndImagesThatAreGoneAreRefused) {
    const auto page = DrawTextPage(1200, 400, 300, {"Receipt"});
    const int32_t image = testing_support::TextPageImage(page, 300);
    // Below half a dot per inch: no whole-number resolution to place words by.
    const int32_t noResolution = testing_support::TextPageImage(page, 0.4f);
    ASSERT_NE(noResolution, 0);
    struct Case {
        int32_t Image, Left, Top, Width, Height;
        MorvalenStatus Status;
    };
    // Nothing read is a failure, never "read, and no text".
    const Case cases[] = {{image, 0, 0, 0, 400, InvalidParameter},
                          {image, 0, 0, 1200, 0, InvalidParameter},
                          {image, 0, 0, -5, 400, InvalidParameter},
                          {noResolution, 0, 0, 1200, 400, InvalidParameter},
                          {98765432, 0, 0, 1200, 400, InvalidParameter},
                          {image, 1000, 0, 400, 400, InvalidParameter},
                          {image, -1, 0, 100, 100, InvalidParameter},
                          // Refused before a buffer of 30 GB is asked for.
                          {image, 0, 0, 100000, 100000, InvalidParameter},
                          {image, 0x7FFFFF00, 0, 0x1000, 10, InvalidParameter}};
    for (const Case& c : cases) {
        std::vector<OcrChar> chars{record('x', 1)};
        EXPECT_EQ(OcrImage(c.Image, c.Left, c.Top, c.Width, c.Height, 2, "", "", chars), c.Status)
            << c.Left << "," << c.Width << "x" << c.Height;
        EXPECT_TRUE(chars.empty()) << c.Left << "," << c.Width << "x" << c.Height;
    }
}

TEST_F(OcrPluginTest, AMissingDictionaryAnswersDictionaryNotFoundAndAMissingPluginItsOwnStatus) {
    const int32_t image = testing_support::TextPageImage(DrawTextPage(600, 200, 300, {"x"}), 300);
    files::testing::ScratchFolder empty;
    std::vector<OcrChar> chars;
    EXPECT_EQ(OcrImage(image, 0, 0, 600, 200, 2, empty.path().string(), "", chars), OCRDictionaryNotFound);
    // German is not installed with the system's English data.
    EXPECT_EQ(OcrImage(image, 0, 0, 600, 200, 0, "", "", chars), OCRDictionaryNotFound);
    for (const char* file : {"no-such-ocr.dll", MVOCR_OLD_LIBRARY}) {
        SetOcrPluginFile(file);
        EXPECT_EQ(OcrImage(image, 0, 0, 600, 200, 2, "", "", chars), OCRPluginNotLoaded) << file;
        EXPECT_TRUE(chars.empty());
        OcrClear();  // nothing to call, nothing raised
    }
}

TEST(OcrLanguages, DictionaryValuesNameTesseractLanguagesAndFoldersEndInOneSlash) {
    const std::pair<int32_t, const char*> languages[] = {{0, "deu"}, {1, "frk"}, {2, "eng"}, {3, "fra"},
                                                         {4, "ita"}, {5, "nld"}, {6, "por"}, {7, "spa"},
                                                         {8, "vie"}, {9, "pol"}, {42, "eng"}, {-1, "eng"}};
    for (const auto& [value, code] : languages) EXPECT_EQ(OcrLanguageCode(value), code) << value;
    EXPECT_EQ(OcrDictionaryFolder(" /data/tess "), "/data/tess/");
    EXPECT_EQ(OcrDictionaryFolder("/data/tess/"), "/data/tess/");
    EXPECT_EQ(OcrDictionaryFolder("   "), "");
}

TEST(OcrLanguages, ADictionaryFolderGivenTheWindowsWayIsTheFolderOnDisk) {
    files::testing::ScratchFolder scratch("ocr-dictionaries");
    std::filesystem::create_directories(scratch.path() / "Tess" / "Data");
    const std::string folder = scratch.path().string();
    EXPECT_EQ(OcrDictionaryFolder(folder + "\\tess\\DATA"), folder + "/Tess/Data/");
    EXPECT_EQ(OcrDictionaryFolder(folder + "\\tess\\DATA\\"), folder + "/Tess/Data/");
}

TEST(OcrCharsToText, LinesBreakWhereTheyChangeAndSpacesBecomeOne) {
    struct Case {
        std::vector<OcrChar> Chars;
        int32_t Count;
        std::string Text;
    };
    const Case cases[] = {
        {{record('A', 1), record('B', 1), record('C', 2)}, 3, "AB\r\nC"},
        {{record('A', 0), record('B', 0)}, 2, "\r\nAB"},
        {{record('A', 1), record('B', 1, 3)}, 2, "A B"},
        {{record('A', 1), record(-1, 1), record(0xE9, 1)}, 3, "A\xC3\xA9"},
        {{record('A', 1), record('B', 1)}, 1, "A"},
        {{record('A', 1)}, 5, "A"},
        {{}, 0, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(OcrCharsToText(c.Chars, c.Count), c.Text);
}

}  // namespace
}  // namespace scanvelt
