// The members that write the current image to a file, called by dispatch ID:
// each writes its own format (its first bytes), with the arguments after the
// path reaching the file (compression, size), and the page of 48 x 36 pixels
// at 300 x 200 dpi reads back with its width and height, and its resolution
// where the format keeps one, each the right way round. The multi-page TIFF
// members build a document of pages of unequal sizes, one directory a page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/files/atomic_file_writer.h"

namespace scanvelt::testing {
namespace {

namespace fs = std::filesystem;
using testing_support::Quoted;
using testing_support::RunTool;

constexpr int32_t kWidth = 48, kHeight = 36;

class FileOutputTable : public TwainTableOver<testing_support::WithBuildTreePlugin> {
protected:
    std::string file(const std::string& name) { return scratch_.file(name); }
};

// What a tool says of a file: its output must hold `expected`.
struct ToolSays {
    const char* command;  // the file's quoted path is appended
    const char* expected;
};

struct SaverRow {
    const char* member;
    std::vector<RowArgument> after;  // the arguments after sFilePath
    const char* file;
    std::string magic;               // the file's first bytes
    int32_t width, height;           // as it reads back
    bool keepsResolution;            // 300 x 200 dpi read back
    ToolSays tool;                   // an argument's effect, when a tool shows it
    int32_t pixelFormat = gdiplus::PixelFormat24bppRGB;  // of the page saved
    bool engineReads = true;  // WBMP has no signature: only its tool reads it
};

using namespace std::string_literals;
const SaverRow kSaverRows[] = {
    {"SaveAsJPEG", {int32_t{60}}, "a.jpg", "\xFF\xD8\xFF", kWidth, kHeight, true, {}},
    {"SaveAsPNG", {}, "a.png", "\x89PNG", kWidth, kHeight, true, {}},
    {"SaveAsGIF", {}, "a.gif", "GIF8", kWidth, kHeight, false, {}},
    {"SaveAsGIFi", {}, "b.gif", "GIF89a", kWidth, kHeight, false, {}},
    {"SaveAsBmp", {}, "a.bmp", "BM", kWidth, kHeight, true, {}},
    {"SaveAsWBMP", {}, "a.wbmp", "\0\0"s, kWidth, kHeight, false, {"identify -format '%w %h' wbmp:", "48 36"},
     gdiplus::PixelFormat1bppIndexed, false},
    {"SaveAsXPM", {}, "a.xpm", "/* XPM */", kWidth, kHeight, false, {}},
    {"SaveAsPNM", {}, "a.ppm", "P6", kWidth, kHeight, false, {}},
    {"SaveAsPBM", {}, "a.pbm", "P4", kWidth, kHeight, false, {}, gdiplus::PixelFormat1bppIndexed},
    {"SaveAsTGA", {}, "a.tga", "", kWidth, kHeight, false, {"identify -format '%m %w %h' ", "TGA 48 36"}},
    {"SaveAsEXR", {int32_t{4}}, "a.exr", "\x76\x2F\x31\x01", kWidth, kHeight, false, {"exrheader ", "zip"}},
    {"SaveAsJ2K", {int32_t{8}}, "a.j2k", "\xFF\x4F\xFF\x51", kWidth, kHeight, false, {}},
    {"SaveAsJP2", {int32_t{8}}, "a.jp2", "\0\0\0\x0CjP  "s, kWidth, kHeight, false, {}},
    {"SaveAsTIFF", {int32_t{6}}, "a.tif", "II*", kWidth, kHeight, true, {"tiffinfo ", "Compression Scheme: None"}},
    {"SaveAsTIFFjpg", {}, "b.tif", "II*", kWidth, kHeight, true, {"tiffinfo ", "Compression Scheme: JPEG"}},
    {"SaveAsTIFFjpgEx", {int32_t{30}}, "c.tif", "II*", kWidth, kHeight, true, {"tiffinfo ", "Compression Scheme: JPEG"}},
    {"SaveAsICO", {}, "a.ico", "\0\0\1\0"s, 32, 32, false, {}},
};
const bool kSaverRowsRegistered = RegisterMemberTable("_Twain", kSaverRows);

TEST_F(FileOutputTable, EachSaverWritesItsFormatAndThePageReadsBackTheRightWayRound) {
    ASSERT_TRUE(kSaverRowsRegistered);
    for (const SaverRow& row : kSaverRows) {
        SCOPED_TRACE(row.member);
        control().setCurrentImage(testing_support::MakePage(kWidth, kHeight, row.pixelFormat));
        const std::string path = file(row.file);
        std::vector<RowArgument> args{path};
        args.insert(args.end(), row.after.begin(), row.after.end());
        EXPECT_EQ(call(row.member, args).number, OK);
        EXPECT_EQ(status(), OK);
        const std::string bytes = testing_support::ReadBytes(path);
        ASSERT_GE(bytes.size(), row.magic.size());
        EXPECT_EQ(bytes.substr(0, row.magic.size()), row.magic);
        int32_t loaded = 0;
        if (row.engineReads) {
            ASSERT_EQ(LoadImageFromFile(loaded, path, false, false, true, 0, true, true), OK);
            EXPECT_EQ(testing_support::SizeOf(loaded), std::make_pair(row.width, row.height));
        }
        if (row.keepsResolution) {
            const auto [x, y] = testing_support::ResolutionOf(loaded);
            EXPECT_NEAR(x, 300.0f, 0.5f);
            EXPECT_NEAR(y, 200.0f, 0.5f);
        }
        if (loaded != 0) ReleaseImage(loaded);
        if (row.tool.command) {
            const std::string said = RunTool(row.tool.command + Quoted(path) + " 2>&1").Output;
            EXPECT_NE(said.find(row.tool.expected), std::string::npos) << said;
        }
        ReleaseImage(control().currentImage());
        control().setCurrentImage(0);
    }
    for (const auto& entry : fs::directory_iterator(scratch_.path()))
        EXPECT_FALSE(files::isTemporaryName(entry.path().filename().string())) << entry.path();
}

// The multi-page TIFF: each step by dispatch, on one control, in order.
enum class Page { None, Second, Third };
struct MultiPageRow {
    const char* member;
    Page page;          // the page handed to the member, if any
    int32_t expected;   // its status
};
const MultiPageRow kMultiPageRows[] = {
    {"TiffAddToNativeMultiPage", Page::Second, GenericError},  // no document open yet
    {"TiffSaveAsNativeMultiPage", Page::None, OK},             // with the current page, uncompressed
    {"TiffAddToNativeMultiPage", Page::Second, OK},
    {"TiffAddToNativeMultiPage", Page::Third, OK},
    {"TiffCloseNativeMultiPage", Page::None, OK},
};
const bool kMultiPageRowsRegistered = RegisterMemberTable("_Twain", kMultiPageRows);

TEST_F(FileOutputTable, TheMultiPageMembersWriteOneDirectoryAPageInTheirOrder) {
    ASSERT_TRUE(kMultiPageRowsRegistered);
    const std::string path = file("pages.tif");
    // Three pages of three sizes, none of them square.
    control().setCurrentImage(testing_support::MakePage(kWidth, kHeight));
    const int32_t second = testing_support::MakePage(24, 36);
    const int32_t third = testing_support::MakePage(50, 20);
    for (const MultiPageRow& row : kMultiPageRows) {
        std::vector<RowArgument> args;
        if (row.member == std::string("TiffSaveAsNativeMultiPage")) args = {path, int32_t{6}};
        if (row.page == Page::Second) args = {second};
        if (row.page == Page::Third) args = {third};
        EXPECT_EQ(call(row.member, args).number, row.expected) << row.member;
        EXPECT_EQ(status(), row.expected) << row.member;
    }
    const std::string info = RunTool("tiffinfo " + Quoted(path) + " 2>&1").Output;
    const auto at = [&](const std::string& what, size_t from = 0) { return info.find(what, from); };
    const size_t first = at("Image Width: 48 Image Length: 36");
    const size_t middle = at("Image Width: 24 Image Length: 36");
    const size_t last = at("Image Width: 50 Image Length: 20");
    ASSERT_NE(first, std::string::npos) << info;
    ASSERT_NE(middle, std::string::npos) << info;
    ASSERT_NE(last, std::string::npos) << info;
    EXPECT_LT(first, middle);
    EXPECT_LT(middle, last);
    size_t uncompressed = 0;
    for (size_t i = at("Compression Scheme: None"); i != std::string::npos; i = at("Compression Scheme: None", i + 1))
        ++uncompressed;
    EXPECT_EQ(uncompressed, 3u) << info;
    EXPECT_EQ(at("Compression Scheme: LZW"), std::string::npos) << info;
    EXPECT_NE(at("Resolution: 300, 200 pixels/inch"), std::string::npos) << info;
    ReleaseImage(second);
    ReleaseImage(third);
}

}  // namespace
}  // namespace scanvelt::testing
