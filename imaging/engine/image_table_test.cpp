#include "imaging/engine/image_table.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "imaging/engine/image_ids.h"
#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::DrawIdsFrom;
using testing_support::EngineTest;
using testing_support::RegisterEmpty;

std::string MakeTempFile(const std::string& name) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("engine_table_" + name + "_" + std::to_string(::getpid()));
    std::ofstream(path) << "x";
    return path.string();
}

using ImageIdTest = EngineTest;

TEST_F(ImageIdTest, UnfitCandidatesAreDrawnAgain) {
    const int32_t first = RegisterEmpty();  // any ID, taken from now on
    DrawIdsFrom({0, 100'000'000, -5, first, 99'999'999, 0, 1});
    EXPECT_EQ(RegisterEmpty(), 99'999'999);
    EXPECT_EQ(RegisterEmpty(), 1);
}

TEST_F(ImageIdTest, OwnGeneratorStaysInRangeAndUnique) {
    std::set<int32_t> seen;
    for (int i = 0; i < 200; ++i) {
        const int32_t id = RegisterEmpty();
        EXPECT_GE(id, kLowestImageId);
        EXPECT_LE(id, kHighestImageId);
        EXPECT_TRUE(seen.insert(id).second) << id;
    }
}

TEST_F(ImageIdTest, FreedIdIsReusedWhenDrawnAgain) {
    DrawIdsFrom({11, 22, 33, 22});
    ASSERT_EQ(RegisterEmpty(), 11);
    ASSERT_EQ(RegisterEmpty(), 22);
    ASSERT_EQ(RegisterEmpty(), 33);
    ASSERT_EQ(ReleaseImage(22), OK);
    EXPECT_EQ(RegisterEmpty(), 22);
    EXPECT_EQ(FindImageIndex(22), 1);  // and it took the free middle slot
}

using ImageTableTest = EngineTest;

TEST_F(ImageTableTest, MiddleSlotStaysFreeUntilReusedOrTrimmed) {
    DrawIdsFrom({1, 2, 3, 4});
    RegisterEmpty();
    RegisterEmpty();
    RegisterEmpty();
    ASSERT_EQ(ReleaseImage(2), OK);
    EXPECT_EQ(ImageSlotCount(), 3);
    EXPECT_EQ(FindImageIndex(2), -1);
    // Releasing the last slot removes only it; the free middle slot stays.
    ASSERT_EQ(ReleaseImage(3), OK);
    EXPECT_EQ(ImageSlotCount(), 2);
    EXPECT_EQ(FindFreeSlot(), 1);
    EXPECT_EQ(RegisterEmpty(), 4);
    EXPECT_EQ(FindImageIndex(4), 1);
}

TEST_F(ImageTableTest, UnregisteredIdsAreRefusedOrIgnored) {
    const int32_t id = RegisterEmpty();
    EXPECT_EQ(FindImageIndex(0), -1);
    EXPECT_EQ(ReleaseImage(0), InvalidParameter);
    EXPECT_EQ(ReleaseImage(id + 1), InvalidParameter);
    EXPECT_EQ(ImageKindOf(id + 1), 0);
    EXPECT_EQ(NativeImageOf(id + 1), nullptr);
    SetFormatName(id + 1, "PNG");
    AttachPluginBitmap(id + 1, 7);
    MarkImageModified(id + 1);
    EXPECT_EQ(FindImageEntry(id)->FormatName, "");
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindMemory);
}

TEST_F(ImageTableTest, AttachOperationsSetTheKind) {
    const int32_t id = RegisterEmpty();
    AttachGlobalMemory(id, win::HGLOBAL{0});
    EXPECT_EQ(ImageKindOf(id), ImageKindGlobalDib);
    AttachPluginPage(id, 5, 6);
    EXPECT_EQ(ImageKindOf(id), ImageKindPluginPage);
    EXPECT_EQ(FindImageEntry(id)->PluginBitmap, 5u);
    EXPECT_EQ(FindImageEntry(id)->PluginPage, 6u);
    AttachPluginBitmap(id, 0);  // nothing left to give back at release
    EXPECT_EQ(ImageKindOf(id), ImageKindPluginBitmap);
}

TEST_F(ImageTableTest, TempSourceFileIsDeletedAtReleaseOtherSourcesAreKept) {
    const std::string temporary = MakeTempFile("temp");
    const std::string kept = MakeTempFile("kept");
    int32_t tempId = 0;
    int32_t keptId = 0;
    RegisterImage(tempId, nullptr, "", "", ImageKindMemory);
    SetImageTempFile(tempId, temporary);
    RegisterImage(keptId, nullptr, "", kept, ImageKindMemory);
    EXPECT_EQ(FindImageEntry(keptId)->SourcePath, kept);

    ASSERT_EQ(ReleaseImage(tempId), OK);
    ASSERT_EQ(ReleaseImage(keptId), OK);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    EXPECT_TRUE(std::filesystem::exists(kept));
    std::filesystem::remove(kept);
}

TEST_F(ImageTableTest, ReleasingASplitContainerReleasesItsPageAndDeletesEveryPageFile) {
    DrawIdsFrom({50, 60});
    const int32_t container = RegisterEmpty();
    const int32_t page = RegisterEmpty();
    const std::string file0 = MakeTempFile("page0");
    const std::string file1 = MakeTempFile("page1");
    ImageEntry& entry = *FindImageEntry(container);
    entry.MultiPageTiff = true;
    entry.PageCount = 2;
    entry.PageFiles = {file0, file1};
    entry.PageImageIds = {0, page};
    entry.CurrentPage = 1;
    entry.FormatName = "TIFF";

    EXPECT_EQ(CurrentPageImageId(container), page);
    ASSERT_EQ(ReleaseImage(container), OK);
    EXPECT_EQ(FindImageIndex(page), -1);
    EXPECT_EQ(ImageSlotCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(file0));
    EXPECT_FALSE(std::filesystem::exists(file1));
}

TEST_F(ImageTableTest, MarkingAPagedImageMarksItsCurrentPage) {
    const int32_t container = RegisterEmpty();
    const int32_t page = RegisterEmpty();
    ImageEntry& entry = *FindImageEntry(container);
    entry.MultiFrameGif = true;
    entry.PageCount = 2;
    entry.PageImageIds = {page, 0};
    entry.PageFiles = {"", ""};
    entry.CurrentPage = 0;

    MarkImageModified(container);
    EXPECT_TRUE(FindImageEntry(page)->IsModified);
    EXPECT_FALSE(FindImageEntry(container)->IsModified);
    ClearImageModified(container);
    EXPECT_FALSE(FindImageEntry(page)->IsModified);

    // No page selected: the container has no image and no kind of its own.
    FindImageEntry(container)->CurrentPage = -1;
    EXPECT_EQ(CurrentPageImageId(container), 0);
    EXPECT_EQ(ImageKindOf(container), 0);
    EXPECT_EQ(NativeImageOf(container), nullptr);
}

TEST_F(ImageTableTest, FindByDeviceContext) {
    const int32_t first = RegisterEmpty();
    const int32_t second = RegisterEmpty();
    FindImageEntry(first)->ImageDC = win::HDC{0x40000007};
    EXPECT_EQ(FindImageIndexByDC(win::HDC{0x40000007}), FindImageIndex(first));
    // The null context finds the first slot without one.
    EXPECT_EQ(FindImageIndexByDC(win::HDC{}), FindImageIndex(second));
    EXPECT_EQ(FindImageIndexByDC(win::HDC{0x40000008}), -1);
}

TEST_F(ImageTableTest, ReleaseDestroysTheDrawingContext) {
    struct Context : ImageDrawingContext {
        explicit Context(bool& destroyed) : destroyed_(destroyed) {}
        ~Context() override { destroyed_ = true; }
        bool& destroyed_;
    };
    bool destroyed = false;
    const int32_t id = RegisterEmpty();
    FindImageEntry(id)->ImageDC = win::HDC{0x40000001};
    FindImageEntry(id)->ImageDCGraphics = std::make_unique<Context>(destroyed);
    ASSERT_EQ(ReleaseImage(id), OK);
    EXPECT_TRUE(destroyed);
}

TEST_F(ImageTableTest, ReplaceImageBitmapKeepsTheTargetId) {
    DrawIdsFrom({70, 80});
    const int32_t target = RegisterEmpty();
    const int32_t replacement = RegisterEmpty();
    FindImageEntry(replacement)->FormatName = "new";
    EXPECT_EQ(ReplaceImageBitmap(target, replacement), target);
    EXPECT_EQ(FindImageEntry(target)->FormatName, "new");
    EXPECT_EQ(FindImageIndex(replacement), -1);
    // The new entry keeps its own slot; the target's slot is freed.
    EXPECT_EQ(FindImageIndex(target), 1);
    EXPECT_EQ(ImageSlot(0).ImageID, 0);
}

TEST_F(ImageTableTest, ReplaceImageBitmapKeepsAChangePendingOnEitherImage) {
    struct Case {
        bool targetModified;
        bool replacementModified;
        bool expected;
    };
    for (const Case& c : {Case{false, false, false}, Case{true, false, true}, Case{false, true, true},
                          Case{true, true, true}}) {
        const int32_t target = RegisterEmpty();
        const int32_t replacement = RegisterEmpty();
        FindImageEntry(target)->IsModified = c.targetModified;
        FindImageEntry(replacement)->IsModified = c.replacementModified;
        ASSERT_EQ(ReplaceImageBitmap(target, replacement), target);
        EXPECT_EQ(FindImageEntry(target)->IsModified, c.expected)
            << "target " << c.targetModified << ", replacement " << c.replacementModified;
        ReleaseImage(target);
    }
}

TEST_F(ImageTableTest, ReplaceImageBitmapRefusesABadNewIdWithoutReleasingTheTarget) {
    const std::string file = MakeTempFile("target");
    const int32_t target = RegisterEmpty();
    SetImageTempFile(target, file);
    const int32_t unregistered = target == kHighestImageId ? 1 : target + 1;

    for (const int32_t bad : {0, unregistered, target}) {
        EXPECT_EQ(ReplaceImageBitmap(target, bad), 0) << bad;
        EXPECT_GE(FindImageIndex(target), 0);
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_EQ(ReplaceImageBitmap(0, target), 0);
    EXPECT_EQ(ReplaceImageBitmap(unregistered, target), 0);
    EXPECT_GE(FindImageIndex(target), 0);
    ReleaseImage(target);
}

TEST_F(ImageTableTest, ReplaceImageBitmapRefusesAPageOfTheTarget) {
    const int32_t container = RegisterEmpty();
    const int32_t page = RegisterEmpty();
    ImageEntry& entry = *FindImageEntry(container);
    entry.MultiPageTiff = true;
    entry.FramesNative = true;
    entry.Kind = ImageKindPluginBitmap;
    entry.PageCount = 2;
    entry.PageImageIds = {page, 0};
    entry.PageFiles = {"", ""};
    EXPECT_EQ(ReplaceImageBitmap(container, page), 0);
    EXPECT_GE(FindImageIndex(container), 0);
    EXPECT_GE(FindImageIndex(page), 0);
}

TEST_F(ImageTableTest, ReleaseGivesPluginHandlesBack) {
    testing_support::OnFreshThread([] {
        auto plugin = std::make_shared<testing_support::RecordingCodecPlugin>();
        testing_support::InstallPlugin(plugin);
        ASSERT_TRUE(StartImaging());
        ASSERT_TRUE(PluginAvailable());
        const int32_t bitmapImage = RegisterEmpty();
        AttachPluginBitmap(bitmapImage, 11);
        const int32_t pageImage = RegisterEmpty();
        AttachPluginPage(pageImage, 21, 22);
        const int32_t paged = RegisterEmpty();
        AttachPluginBitmap(paged, 31);
        ImageEntry& entry = *FindImageEntry(paged);
        entry.MultiPageTiff = true;
        entry.FramesNative = true;
        entry.PluginFile = 32;
        entry.PageCount = 2;
        entry.PageImageIds = {0, 0};
        entry.PageFiles = {"", ""};

        StopImaging();  // the last stop releases them all
        EXPECT_EQ(ImageSlotCount(), 0);
        EXPECT_EQ(plugin->unloaded, std::vector<PluginHandle>{11});
        EXPECT_EQ(plugin->unlockedPages, std::vector<PluginHandle>{22});
        EXPECT_EQ(plugin->closedMultiBitmaps, std::vector<PluginHandle>{31});
        EXPECT_EQ(plugin->closedFiles, std::vector<PluginHandle>{32});
    });
}

}  // namespace
}  // namespace scanvelt
