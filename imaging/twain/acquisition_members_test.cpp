// The acquisition members against a scripted engine: what the control makes
// of each answer an engine can give, and the files it leaves behind.
#include "imaging/twain/acquisition_members.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/twain/testdata/scripted_engine.h"
#include "imaging/twain/twain_control.h"
#include "imaging/twain/twain_engine.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/global_memory.h"
#include "platform/win/message_box.h"

namespace scanvelt {
namespace {

namespace fs = std::filesystem;
using namespace twain_acquisition;

class AcquisitionMembersTest : public ::testing::Test {
protected:
    AcquisitionMembersTest() {
        win::SetMessageBoxHandler([](const win::MessageBoxRequest&) { return win::IDOK; });
        SetTwainEngineFile(SCRIPTED_ENGINE_PATH);
        // The control's temporary files go into the scratch folder ("tmp" wins over TMPDIR).
        if (const char* old = std::getenv("TMP")) oldTmp_ = old;
        setenv("TMP", temp.path().c_str(), 1);
        library_ = dlopen(SCRIPTED_ENGINE_PATH, RTLD_NOW | RTLD_LOCAL);
        set_ = reinterpret_cast<ScriptedEngineSetFunction>(dlsym(library_, "ScriptedEngine_Set"));
    }
    ~AcquisitionMembersTest() override {
        if (oldTmp_) setenv("TMP", oldTmp_->c_str(), 1);
        else unsetenv("TMP");
        SetTwainEngineFile("");
        win::SetMessageBoxHandler(nullptr);
    }
    ScriptedEngineRecord& run(const ScriptedEngineScript& script) {
        ScriptedEngineRecord* record = nullptr;
        set_(&script, &record);
        return *record;
    }
    size_t leftInTemp() const { return static_cast<size_t>(std::distance(fs::directory_iterator(temp.path()), {})); }

    files::testing::ScratchFolder temp{"twain-temp"};
    files::testing::ScratchFolder out{"twain-out"};
    TwainControl control;

private:
    std::optional<std::string> oldTmp_;
    void* library_ = nullptr;
    ScriptedEngineSetFunction set_ = nullptr;
};

ScriptedEngineScript fileTransfer(bool write, int ageSeconds) {
    ScriptedEngineScript s;
    s.transferMode = 1;
    s.writeFile = write;
    s.fileAgeSeconds = ageSeconds;
    return s;
}

TEST_F(AcquisitionMembersTest, AFreshFileTransferBecomesTheCurrentImageAndGoesWithIt) {
    run(fileTransfer(true, 0));
    const int32_t id = AcquireToMorvalenImage(control, 0);
    ASSERT_NE(id, 0);
    EXPECT_EQ(control.GetStat(), OK);
    EXPECT_EQ(control.currentImage(), id);
    const std::string transferred = control.transferFilePath();
    EXPECT_EQ(transferred.back(), '_');
    EXPECT_TRUE(fs::exists(transferred));
    EXPECT_EQ(ReleaseImage(id), OK);
    EXPECT_FALSE(fs::exists(transferred));
    EXPECT_EQ(leftInTemp(), 0u);
}

TEST_F(AcquisitionMembersTest, AFileNotWrittenByThisTransferIsNeverTakenForThePage) {
    const struct {
        ScriptedEngineScript script;
        const char* why;
    } cases[] = {
        {fileTransfer(true, 3600), "a stale file the engine did not replace"},
        {fileTransfer(false, 0), "no file at all"},
        {[] {
             auto s = fileTransfer(true, 0);
             s.resultCode = 1;  // TWRC_FAILURE
             s.conditionCode = 22;
             return s;
         }(),
         "a file the engine does not report as transferred"},
    };
    for (const auto& c : cases) {
        run(c.script);
        control.setCurrentImage(0);
        EXPECT_EQ(AcquireToMorvalenImage(control, 0), 0) << c.why;
        EXPECT_EQ(control.GetStat(), TwainError) << c.why;
        EXPECT_EQ(control.currentImage(), 0) << c.why;
        EXPECT_EQ(leftInTemp(), 0u) << c.why;

        run(c.script);
        const std::string target = out.file("page.bmp");
        EXPECT_EQ(AcquireToFile(control, target, 0), TwainError) << c.why;
        EXPECT_FALSE(fs::exists(target)) << c.why;
        EXPECT_EQ(leftInTemp(), 0u) << c.why;
    }
}

TEST_F(AcquisitionMembersTest, AFileTransferIsCopiedToTheHostsPathOnlyWhenTheCopyArrives) {
    run(fileTransfer(true, 0));
    const std::string target = out.file("page.bmp");
    EXPECT_EQ(AcquireToFile(control, target, 0), OK);
    EXPECT_GT(fs::file_size(target), 54u);
    EXPECT_EQ(leftInTemp(), 0u);
    // A target that exists but cannot be written (a folder) is no success.
    fs::create_directories(out / "folder.bmp");
    run(fileTransfer(true, 0));
    EXPECT_EQ(AcquireToFile(control, out.file("folder.bmp"), 0), TwainError);
    EXPECT_EQ(leftInTemp(), 0u);
}

TEST_F(AcquisitionMembersTest, TheTemporaryFileOfADibAcquisitionIsDeletedOnEveryPath) {
    ScriptedEngineScript dib;
    dib.handleKind = 1;
    ScriptedEngineScript none;
    ScriptedEngineScript file = fileTransfer(true, 0);
    for (const auto& script : {dib, none, file}) {
        ScriptedEngineRecord& record = run(script);
        const uint32_t handle = AcquireToDib(control, 0);
        EXPECT_EQ(record.transferModeSet, 0);  // state 4: native
        if (handle) win::GlobalFree(win::HGLOBAL{handle});
        if (script.transferMode == 1) {
            // Left for the caller, as the member promises, and only that file.
            EXPECT_EQ(control.GetStat(), TwainInvalidTransferMode);
            EXPECT_TRUE(fs::exists(control.transferFilePath()));
            fs::remove(control.transferFilePath());
        }
        EXPECT_EQ(leftInTemp(), 0u);
    }
}

TEST_F(AcquisitionMembersTest, ACancelOrAFailureKeepsItsStatusAndTheCurrentImage) {
    control.setCurrentImage(77);
    ScriptedEngineScript cancelled;
    cancelled.cancelled = true;
    ScriptedEngineScript failed;
    failed.failed = true;
    ScriptedEngineScript nothing;
    const std::pair<ScriptedEngineScript, MorvalenStatus> cases[] = {
        {cancelled, TwainTransferCanceled}, {failed, TwainTransferError}, {nothing, TwainError}};
    for (const auto& [script, status] : cases) {
        run(script);
        EXPECT_EQ(AcquireToMorvalenImage(control, 0), 0);
        EXPECT_EQ(control.GetStat(), status);
        EXPECT_EQ(control.currentImage(), 77);
    }
}

TEST_F(AcquisitionMembersTest, RawBuffersBecomeImagesOfTheirDepth) {
    const struct {
        int32_t bits;
        double resolution;
        int32_t format;  // 0: no image
    } cases[] = {
        {24, 300, gdiplus::PixelFormat24bppRGB},
        {48, 0, gdiplus::PixelFormat48bppRGB},  // no resolution: the image keeps its default
        {8, 200, gdiplus::PixelFormat8bppIndexed},
        {2, 300, 0},
    };
    for (const auto& c : cases) {
        ScriptedEngineScript raw;
        raw.handleKind = 2;
        raw.rawBitsPerPixel = c.bits;
        raw.rawResolution = c.resolution;
        const size_t blocksBefore = win::LiveGlobalBlockCount();
        ScriptedEngineRecord& record = run(raw);
        const int32_t id = AcquireToMorvalenImage(control, 0);
        EXPECT_EQ(record.freedHandles, 1) << c.bits;  // copied into the image or dropped
        EXPECT_EQ(win::LiveGlobalBlockCount(), blocksBefore) << c.bits;
        if (c.format == 0) {
            EXPECT_EQ(id, 0);
            continue;
        }
        ASSERT_NE(id, 0) << c.bits;
        EXPECT_EQ(control.GetStat(), OK);
        EXPECT_EQ(PixelFormatOf(id), c.format);
        float dpi = 0;
        EXPECT_EQ(GetImageHorizontalResolution(id, dpi), OK);
        if (c.resolution > 0) EXPECT_EQ(dpi, static_cast<float>(c.resolution));
        else EXPECT_GT(dpi, 0.0f);
        ReleaseImage(id);
    }
}

TEST_F(AcquisitionMembersTest, WithoutAnEngineNothingIsAskedAndTheStatusIs31) {
    SetTwainEngineFile("/nonexistent/libmvtwain.so");
    control.setCurrentImage(5);
    EXPECT_EQ(AcquireToMorvalenImage(control, 0), 0);
    EXPECT_EQ(control.GetStat(), WrongMvTwainVersion);
    EXPECT_EQ(control.currentImage(), 5);
    EXPECT_EQ(AcquireToFile(control, out.file("x.bmp"), 0), WrongMvTwainVersion);
    EXPECT_EQ(AcquireToDib(control, 0), 0u);
}

}  // namespace
}  // namespace scanvelt
