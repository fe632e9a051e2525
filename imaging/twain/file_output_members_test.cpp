#include "imaging/twain/file_output_members.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "imaging/engine/image_entry.h"
#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_rotation.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/multi_page_queries.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/writers/gif89a_writer.h"
#include "imaging/twain/colour_members.h"
#include "imaging/twain/ocr_members.h"
#include "imaging/twain/pixel_conversion_members.h"
#include "imaging/twain/testing/image_members_support.h"
#include "imaging/twain/twain_control.h"
#include "platform/files/atomic_file_writer.h"
#include "platform/win/testing/scratch_folder.h"

namespace scanvelt {
namespace {

using namespace testing_support;

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<std::string> ToolOutput(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string output;
    std::array<char, 4096> chunk{};
    while (size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) output.append(chunk.data(), n);
    if (pclose(pipe) != 0) return std::nullopt;
    return output;
}

size_t CountOf(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// The compression of each page in the order tiffinfo lists them.
std::vector<std::string> CompressionsOf(const std::string& info) {
    std::vector<std::string> schemes;
    const std::string key = "Compression Scheme: ";
    for (size_t at = info.find(key); at != std::string::npos; at = info.find(key, at + 1)) {
        const size_t from = at + key.size();
        schemes.push_back(info.substr(from, info.find('\n', from) - from));
    }
    return schemes;
}

bool NoTemporaryLeft(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (files::isTemporaryName(entry.path().filename().string())) return false;
    return true;
}

struct SaverCase {
    const char* name;
    std::function<MorvalenStatus(TwainControl&, const std::string&)> member;
    std::function<MorvalenStatus(int32_t, const std::string&)> engine;
};

const SaverCase kSavers[] = {
    {"jpeg", [](TwainControl& c, const std::string& p) { return SaveAsJPEG(c, p, 60); },
     [](int32_t id, const std::string& p) { return SaveImageAsJpeg(id, p, 60, false); }},
    {"png", SaveAsPNG, SaveImageAsPng},
    {"gif", SaveAsGIF, SaveImageAsGif},
    {"gifi", SaveAsGIFi, SaveImageAsGif89a},
};

// The file holds what the engine's own saver writes for the image.
TEST(FileOutputMembers, EachSaverWritesTheEnginesFile) {
    for (const auto& c : kSavers) {
        SCOPED_TRACE(c.name);
        win::testing::ScratchFolder folder;
        TwainControl control;
        const int32_t page = MakePage(50, 40);
        control.setCurrentImage(page);
        const std::string path = folder.file(std::string("page.") + c.name);
        ASSERT_EQ(c.member(control, path), OK);
        EXPECT_EQ(control.GetStat(), OK);
        const std::string expected = folder.file("engine");
        ASSERT_EQ(c.engine(page, expected), OK);
        EXPECT_EQ(Contents(path), Contents(expected));
        EXPECT_TRUE(NoTemporaryLeft(folder.path()));
        int32_t loaded = 0;
        ASSERT_EQ(LoadImageFromFile(loaded, path, false, true, false, 0, true, false), OK);
        EXPECT_EQ(SizeOf(loaded), std::make_pair(50, 40));
    }
}

TEST(FileOutputMembers, SaversWithoutAnImageWriteNothing) {
    for (const auto& c : kSavers) {
        win::testing::ScratchFolder folder;
        TwainControl control;
        const std::string path = folder.file("page");
        EXPECT_EQ(c.member(control, path), GenericError) << c.name;
        EXPECT_EQ(control.GetStat(), GenericError);
        EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
    }
}

// An old file at the path stays when the save fails and is never reported as written.
TEST(FileOutputMembers, AFailedSaveLeavesTheOldFileAndSaysSo) {
    for (const auto& c : kSavers) {
        SCOPED_TRACE(c.name);
        win::testing::ScratchFolder folder;
        const std::string path = folder.write("page", "old contents");
        TwainControl control;
        const int32_t page = MakePage(10, 10);
        control.setCurrentImage(page);
        ASSERT_EQ(ReleaseImage(page), OK);  // the control still names it
        EXPECT_NE(c.member(control, path), OK);
        EXPECT_NE(control.GetStat(), OK);
        EXPECT_EQ(Contents(path), "old contents");
        EXPECT_TRUE(NoTemporaryLeft(folder.path()));

        control.setCurrentImage(MakePage(10, 10));
        EXPECT_EQ(c.member(control, folder.file("no such folder/page")), Win32Error);
    }
}

TEST(FileOutputMembers, JpegQualityAboveOneHundredSavesAtOneHundred) {
    win::testing::ScratchFolder folder;
    TwainControl control;
    control.setCurrentImage(MakePage(40, 40));
    ASSERT_EQ(SaveAsJPEG(control, folder.file("150.jpg"), 150), OK);
    ASSERT_EQ(SaveAsJPEG(control, folder.file("100.jpg"), 100), OK);
    ASSERT_EQ(SaveAsJPEG(control, folder.file("75.jpg")), OK);
    EXPECT_EQ(Contents(folder.file("150.jpg")), Contents(folder.file("100.jpg")));
    EXPECT_NE(Contents(folder.file("75.jpg")), Contents(folder.file("100.jpg")));
}

TEST(FileOutputMembers, AThreePageTiffWithItsCompressionPerPage) {
    win::testing::ScratchFolder folder;
    const std::string path = folder.file("pages.tif");
    TwainControl control;
    const int32_t first = MakePage(64, 32);
    control.setCurrentImage(first);
    ASSERT_EQ(ConvertTo1Bpp(control), OK);
    const int32_t colour = MakePage(30, 20);
    control.setCurrentImage(MakePage(64, 32));
    ASSERT_EQ(ConvertTo1Bpp(control), OK);
    const int32_t third = control.currentImage();
    control.setCurrentImage(first);

    EXPECT_EQ(TiffAddToNativeMultiPage(control, colour), GenericError);  // nothing open yet
    ASSERT_EQ(TiffSaveAsNativeMultiPage(control, path, CompressionCCITT4), OK);
    EXPECT_EQ(control.openMultiPageTiff(), first);
    EXPECT_EQ(CloseImage(control, first), Aborted);
    EXPECT_EQ(CloseNativeImage(control), Aborted);
    ASSERT_EQ(TiffAddToNativeMultiPage(control, colour), OK);
    ASSERT_EQ(TiffAddToNativeMultiPage(control, third), OK);
    ASSERT_EQ(TiffCloseNativeMultiPage(control), OK);
    EXPECT_EQ(control.openMultiPageTiff(), 0);
    // The first page's image is gone; the control still names it.
    EXPECT_EQ(control.currentImage(), first);
    EXPECT_EQ(Rotate(control, 1), InvalidParameter);
    // A second close finds nothing open: the last status, nothing stored.
    control.setLastStatus(Aborted);
    EXPECT_EQ(TiffCloseNativeMultiPage(control), Aborted);

    const auto info = ToolOutput("tiffinfo '" + path + "'");
    ASSERT_TRUE(info.has_value()) << "tiffinfo is missing or refused the file";
    EXPECT_EQ(CountOf(*info, "TIFF Directory at offset"), 3u) << *info;
    EXPECT_EQ(CompressionsOf(*info), (std::vector<std::string>{"CCITT Group 4", "LZW", "CCITT Group 4"})) << *info;
}

TEST(FileOutputMembers, MembersOnTheImageTheClosedFileReleasedFailAndChangeNothing) {
    win::testing::ScratchFolder folder;
    TwainControl control;
    const int32_t first = MakePage(30, 20);
    control.setCurrentImage(first);
    ASSERT_EQ(TiffSaveAsNativeMultiPage(control, folder.file("a.tif")), OK);
    ASSERT_EQ(TiffCloseNativeMultiPage(control), OK);
    ASSERT_EQ(control.currentImage(), first);
    const std::function<MorvalenStatus()> members[] = {
        [&] { return FxNegative(control); },        [&] { return FxSepia(control); },
        [&] { return SetBrightness(control, 20); }, [&] { return FxSmooth(control); },
        [&] { return FxDespeckle(control); },
    };
    for (const auto& member : members) {
        control.setLastStatus(OK);
        EXPECT_EQ(member(), InvalidParameter);
        EXPECT_EQ(control.GetStat(), InvalidParameter);
    }
    control.setLastStatus(OK);
    EXPECT_FALSE(control.IsBlank());
    EXPECT_EQ(control.GetStat(), InvalidParameter);
    control.setLastStatus(OK);
    EXPECT_EQ(OCRTesseractDoOCR(control, 2, "", ""), "");
    EXPECT_EQ(control.GetStat(), InvalidParameter);
}

TEST(FileOutputMembers, ARegionWithoutPixelsIsRefusedNotDoneWithSuccess) {
    TwainControl control;
    const int32_t page = MakePage(30, 20);
    control.setCurrentImage(page);
    const std::vector<uint32_t> before = PixelsOf(page);
    for (const RoiRect roi : {RoiRect{-50, -50, -10, -10}, RoiRect{0, 0, 0, 10}, RoiRect{5, 5, 10, INT32_MIN}}) {
        control.SetROI(roi.Left, roi.Top, roi.Width, roi.Height);
        EXPECT_EQ(FxNegative(control), InvalidParameter);
        EXPECT_EQ(SetBrightness(control, 50), InvalidParameter);
        control.setLastStatus(OK);
        EXPECT_FALSE(control.IsBlank());
        EXPECT_EQ(control.GetStat(), InvalidParameter);
    }
    EXPECT_EQ(PixelsOf(page), before);
}

TEST(FileOutputMembers, AMultiPageFileIsRefusedAtItsStartWhenNoFileCanBeWrittenThere) {
    win::testing::ScratchFolder folder;
    std::filesystem::create_directory(folder.file("sub"));
    for (const std::string& target : {std::string(""), folder.file("sub"), folder.file("sub") + "/"}) {
        SCOPED_TRACE(target);
        TwainControl control;
        control.setCurrentImage(MakePage(8, 8));
        EXPECT_EQ(TiffSaveAsNativeMultiPage(control, target), Win32Error);
        EXPECT_EQ(control.openMultiPageTiff(), 0);
        EXPECT_EQ(TiffAddToNativeMultiPage(control, MakePage(8, 8)), GenericError);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("sub")));
}

TEST(FileOutputMembers, TheCloseOfAMultiPageFileAnswersTheFailureToWriteIt) {
    win::testing::ScratchFolder folder;
    TwainControl control;
    control.setCurrentImage(MakePage(8, 8));
    const std::string path = folder.file("late/a.tif");
    std::filesystem::create_directory(folder.file("late"));
    ASSERT_EQ(TiffSaveAsNativeMultiPage(control, path), OK);
    ASSERT_EQ(TiffAddToNativeMultiPage(control, MakePage(8, 8)), OK);
    // The target became a folder while the pages went in: the close says so.
    std::filesystem::create_directory(path);
    EXPECT_NE(TiffCloseNativeMultiPage(control), OK);
    EXPECT_NE(control.GetStat(), OK);
    EXPECT_EQ(control.openMultiPageTiff(), 0);
}

TEST(FileOutputMembers, AFailedStartLeavesNoOpenFile) {
    win::testing::ScratchFolder folder;
    TwainControl control;
    EXPECT_EQ(TiffSaveAsNativeMultiPage(control, folder.file("a.tif")), GenericError);
    control.setCurrentImage(MakePage(4, 4));
    ASSERT_EQ(ReleaseImage(control.currentImage()), OK);
    EXPECT_NE(TiffSaveAsNativeMultiPage(control, folder.file("a.tif")), OK);
    EXPECT_EQ(control.openMultiPageTiff(), 0);
}

TEST(FileOutputMembers, RotateTurnsInPlaceUnderTheSameId) {
    TwainControl control;
    const int32_t page = MakePage(30, 20);
    int32_t expected = 0;
    ASSERT_EQ(CloneImage(expected, page), OK);
    ASSERT_EQ(RotateFlipImage(expected, 1, false), OK);
    control.setCurrentImage(page);
    ASSERT_EQ(Rotate(control, 1), OK);
    EXPECT_EQ(control.currentImage(), page);
    EXPECT_EQ(SizeOf(page), std::make_pair(20, 30));
    EXPECT_EQ(PixelsOf(page), PixelsOf(expected));
    EXPECT_TRUE(FindImageEntry(page)->IsModified);

    TwainControl empty;
    EXPECT_EQ(Rotate(empty, 1), InvalidParameter);
    EXPECT_EQ(empty.GetStat(), InvalidParameter);
}

TEST(FileOutputMembers, ClosingImages) {
    TwainControl control;
    const int32_t current = MakePage(4, 4);
    const int32_t other = MakePage(4, 4);
    control.setCurrentImage(current);
    EXPECT_EQ(CloseImage(control, 0), InvalidParameter);
    EXPECT_EQ(CloseImage(control, other), OK);
    EXPECT_EQ(control.currentImage(), current);
    EXPECT_EQ(CloseImage(control, other), InvalidParameter);
    EXPECT_EQ(CloseImage(control, current), OK);
    EXPECT_EQ(control.currentImage(), 0);

    // Without a current image: the last status, nothing stored.
    control.setLastStatus(Aborted);
    EXPECT_EQ(CloseNativeImage(control), Aborted);
    control.setCurrentImage(MakePage(4, 4));
    EXPECT_EQ(CloseNativeImage(control), OK);
    EXPECT_EQ(control.currentImage(), 0);
    EXPECT_EQ(control.GetStat(), OK);
}

}  // namespace
}  // namespace scanvelt
