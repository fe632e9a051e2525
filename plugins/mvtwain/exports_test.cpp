// The engine as the control binds it: the shared object loaded by name and
// its C entry points called.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/win/global_memory.h"
#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/testing/sane_test_config.h"
#include "plugins/mvtwain/twain_codes.h"

namespace mvtwain {
namespace {

class ExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        library = dlopen(MVTWAIN_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        call<decltype(&MVTWAIN_SetHideUI)>("MVTWAIN_SetHideUI")(1);
    }
    void TearDown() override {
        if (library) call<decltype(&MVTWAIN_UnloadSourceManager)>("MVTWAIN_UnloadSourceManager")();
    }

    template <class Function>
    Function call(const char* name) {
        auto f = reinterpret_cast<Function>(dlsym(library, name));
        EXPECT_NE(f, nullptr) << name;
        return f;
    }

    testing::SaneTestConfig sane;
    void* library = nullptr;
};

#define ENGINE(name) call<decltype(&name)>(#name)

TEST_F(ExportsTest, EveryEntryPointOfTheInterfaceIsExported) {
    for (const char* name :
         {"MVTWAIN_GetVersion", "MVTWAIN_State", "MVTWAIN_IsAvailable", "MVTWAIN_OpenSourceManager",
          "MVTWAIN_CloseSourceManager", "MVTWAIN_UnloadSourceManager", "MVTWAIN_SelectImageSource",
          "MVTWAIN_OpenDefaultSource", "MVTWAIN_OpenSource", "MVTWAIN_CloseSource", "MVTWAIN_DisableSource",
          "MVTWAIN_SourceSetup", "MVTWAIN_GetFirstSourceName", "MVTWAIN_GetNextSourceName", "MVTWAIN_RegisterApp",
          "MVTWAIN_SetHideUI", "MVTWAIN_SetShowError", "MVTWAIN_SetMultiTransfer", "MVTWAIN_AutoSourceClose",
          "MVTWAIN_SetIndicators", "MVTWAIN_EnableDuplex", "MVTWAIN_NegotiateXferCount",
          "MVTWAIN_AbortAllPendingXfers", "MVTWAIN_EndXfer", "MVTWAIN_ResetImageLayout", "MVTWAIN_UserClosedSource",
          "MVTWAIN_XferFail", "MVTWAIN_GetLastConditionCode", "MVTWAIN_GetLastResultCode", "MVTWAIN_StartLog",
          "MVTWAIN_StopLog", "MVTWAIN_SetTransferMode", "MVTWAIN_SetFilePathTransfer", "MVTWAIN_GetFilePathTransfer",
          "MVTWAIN_AcquireNative", "MVTWAIN_LastTransferMode", "MVTWAIN_LastDibIsRAW", "MVTWAIN_LastRAWWidth",
          "MVTWAIN_LastRAWHeight", "MVTWAIN_LastRAWStride", "MVTWAIN_LastRAWBPP", "MVTWAIN_LastRAWResX",
          "MVTWAIN_LastRAWResY", "MVTWAIN_FreeNative", "MVTWAIN_LoadCapValuesN", "MVTWAIN_LoadCapValuesS",
          "MVTWAIN_LoadCapValuesRangeN", "MVTWAIN_GetLastCapValueCurrent", "MVTWAIN_GetLastCapValueCurrentS",
          "MVTWAIN_GetLastStepCapValueRange", "MVTWAIN_GetLastMinCapValueRange", "MVTWAIN_GetLastMaxCapValueRange",
          "MVTWAIN_GetCapValueFromIdx", "MVTWAIN_GetCapValueFromIdxS", "MVTWAIN_ToFix32", "MVTWAIN_SetCapOneValue",
          "MVTWAIN_SetCapOneValueS", "MVTWAIN_Reset", "MVTWAIN_GetCapItemType", "MVTWAIN_GetBitDepth",
          "MVTWAIN_SetBitDepth", "MVTWAIN_GetBrightness", "MVTWAIN_SetBrightness", "MVTWAIN_GetContrast",
          "MVTWAIN_SetContrast", "MVTWAIN_GetPixelType", "MVTWAIN_SetCurrentPixelType",
          "MVTWAIN_GetCurrentResolution", "MVTWAIN_SetCurrentResolution", "MVTWAIN_GetPhysicalHeight",
          "MVTWAIN_GetPhysicalWidth", "MVTWAIN_GetPaperSize", "MVTWAIN_SetPaperSize", "MVTWAIN_SetImageLayout",
          "MVTWAIN_GetImageLayout", "MVTWAIN_GetDuplexMode", "MVTWAIN_GetHideUI", "MVTWAIN_GetCurrentSourceName",
          "MVTWAIN_GetDefaultSourceName", "MVTWAIN_SetDebugMode", "MVTWAIN_SetDSMPath", "MVTWAIN_SetAutoBright",
          "MVTWAIN_SetAutoFeed", "MVTWAIN_SetAutoScan", "MVTWAIN_AutomaticBorderDetection",
          "MVTWAIN_AutomaticDeskew", "MVTWAIN_AutomaticRotate", "MVTWAIN_BarCodeCount", "MVTWAIN_BarCodeValue",
          "MVTWAIN_BarCodeType", "MVTWAIN_BarCodeX", "MVTWAIN_BarCodeY", "MVTWAIN_BarCodeConfidence",
          "MVTWAIN_BarCodeRotation"})
        EXPECT_NE(dlsym(library, name), nullptr) << name;
    // Nothing of the engine's own leaks out.
    EXPECT_EQ(dlsym(library, "_ZN7mvtwain18MakeEngineProviderEv"), nullptr);
}

TEST_F(ExportsTest, SourceNamesOpenTwiceAndAcquireANativePage) {
    EXPECT_EQ(ENGINE(MVTWAIN_State)(), 1);
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetFirstSourceName)()), "test:0 (Noname frontend-tester)");
    EXPECT_EQ(ENGINE(MVTWAIN_State)(), 3);
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetNextSourceName)()), "test:1 (Noname frontend-tester)");
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetNextSourceName)()), "");
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetDefaultSourceName)()), "test:0 (Noname frontend-tester)");
    EXPECT_EQ(ENGINE(MVTWAIN_SelectImageSource)(0), 1);  // UI hidden: the default stays chosen
    ASSERT_EQ(ENGINE(MVTWAIN_OpenDefaultSource)(), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_OpenDefaultSource)(), 1);  // again, while open
    EXPECT_EQ(ENGINE(MVTWAIN_State)(), 4);
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetCurrentSourceName)()), "test:0 (Noname frontend-tester)");

    EXPECT_EQ(ENGINE(MVTWAIN_SetCurrentResolution)(300), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetCurrentResolution)(), 300);
    EXPECT_EQ(ENGINE(MVTWAIN_SetCurrentPixelType)(MVTWAIN_TWPT_RGB), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_SetBitDepth)(8), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetBitDepth)(), 8);
    EXPECT_EQ(ENGINE(MVTWAIN_SetTransferMode)(MVTWAIN_XFER_NATIVE), 1);
    const int32_t handle = ENGINE(MVTWAIN_AcquireNative)(0);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(ENGINE(MVTWAIN_LastTransferMode)(), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_LastDibIsRAW)(), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_UserClosedSource)(), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_XferFail)(), 0);
    // The block is the host's: readable through its own copy of the platform layer.
    EXPECT_GT(win::GlobalSize(win::HGLOBAL{static_cast<uint32_t>(handle)}), 40u);
    EXPECT_EQ(ENGINE(MVTWAIN_FreeNative)(handle), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_FreeNative)(handle), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_State)(), 4);
    EXPECT_EQ(ENGINE(MVTWAIN_CloseSource)(), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_State)(), 3);
}

TEST_F(ExportsTest, CapabilityLoadsAndFix32) {
    EXPECT_EQ(ENGINE(MVTWAIN_ToFix32)(150), 150 << 16);
    EXPECT_EQ(ENGINE(MVTWAIN_ToFix32)(0.5), 0x8000);
    EXPECT_EQ(ENGINE(MVTWAIN_ToFix32)(-1), static_cast<int32_t>(0xFFFF0000u));
    // Without an open source nothing loads.
    EXPECT_EQ(ENGINE(MVTWAIN_LoadCapValuesN)(cap::BitDepth, 1), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastConditionCode)(), MVTWAIN_TWCC_SEQERROR);
    ASSERT_EQ(ENGINE(MVTWAIN_OpenSource)("test:0"), 1);

    ASSERT_EQ(ENGINE(MVTWAIN_LoadCapValuesN)(cap::BitDepth, 1), 3);
    EXPECT_EQ(ENGINE(MVTWAIN_GetCapValueFromIdx)(0), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetCapValueFromIdx)(2), 16);
    EXPECT_EQ(ENGINE(MVTWAIN_GetCapValueFromIdx)(3), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastCapValueCurrent)(), 8);
    ASSERT_EQ(ENGINE(MVTWAIN_LoadCapValuesN)(cap::BitDepth, 2), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetCapValueFromIdx)(0), 8);

    EXPECT_EQ(ENGINE(MVTWAIN_GetCapItemType)(cap::XResolution), MVTWAIN_TWTY_FIX32);
    EXPECT_EQ(ENGINE(MVTWAIN_SetCapOneValue)(cap::XResolution, MVTWAIN_TWTY_FIX32, ENGINE(MVTWAIN_ToFix32)(200)), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetCurrentResolution)(), 200);
    EXPECT_EQ(ENGINE(MVTWAIN_SetCapOneValue)(cap::PixelType, MVTWAIN_TWTY_UINT16, 2), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetPixelType)(), 2);
    ASSERT_EQ(ENGINE(MVTWAIN_LoadCapValuesRangeN)(cap::XResolution), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastMinCapValueRange)(), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastMaxCapValueRange)(), 1200);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastStepCapValueRange)(), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_Reset)(cap::XResolution), 1);

    // The test backend has no brightness: unsupported, as a TWAIN source says it.
    EXPECT_EQ(ENGINE(MVTWAIN_GetCapItemType)(cap::Brightness), MVTWAIN_TWTY_INVALID);
    EXPECT_EQ(ENGINE(MVTWAIN_LoadCapValuesN)(cap::Brightness, 1), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastConditionCode)(), MVTWAIN_TWCC_CAPUNSUPPORTED);
    EXPECT_EQ(ENGINE(MVTWAIN_SetBrightness)(10), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastConditionCode)(), MVTWAIN_TWCC_CAPUNSUPPORTED);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastResultCode)(), MVTWAIN_TWRC_FAILURE);
    EXPECT_EQ(ENGINE(MVTWAIN_LoadCapValuesS)(4096, 1), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_EnableDuplex)(1), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_AutomaticDeskew)(1), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_SetAutoBright)(-1), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_BarCodeCount)(), 0);
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_BarCodeValue)(0)), "");

    double l = -1, t = -1, r = -1, b = -1;
    EXPECT_EQ(ENGINE(MVTWAIN_SetPaperSize)(13), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_GetPaperSize)(), 13);
    EXPECT_EQ(ENGINE(MVTWAIN_GetImageLayout)(&l, &t, &r, &b), 1);
    EXPECT_NEAR(r, 105 / 25.4, 1e-3);
    EXPECT_NEAR(b, 148 / 25.4, 1e-3);
    EXPECT_EQ(ENGINE(MVTWAIN_SetImageLayout)(0, 0, 10, 10), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_GetLastConditionCode)(), MVTWAIN_TWCC_BADVALUE);
    EXPECT_EQ(ENGINE(MVTWAIN_ResetImageLayout)(), 1);
    EXPECT_NEAR(ENGINE(MVTWAIN_GetPhysicalWidth)(), 200 / 25.4, 1e-3);
}

TEST_F(ExportsTest, FeederBatchThroughTheEntryPoints) {
    ASSERT_EQ(ENGINE(MVTWAIN_OpenDefaultSource)(), 1);
    ASSERT_EQ(ENGINE(MVTWAIN_SetAutoFeed)(1), 1);
    ASSERT_EQ(ENGINE(MVTWAIN_SetAutoScan)(1), 1);
    int pages = 0;
    do {
        const int32_t handle = ENGINE(MVTWAIN_AcquireNative)(0);
        ASSERT_NE(handle, 0);
        ENGINE(MVTWAIN_FreeNative)(handle);
        ++pages;
    } while (ENGINE(MVTWAIN_State)() > 4 && pages < 20);
    EXPECT_EQ(pages, 10);
}

TEST_F(ExportsTest, FileTransferPathAndLog) {
    ASSERT_EQ(ENGINE(MVTWAIN_OpenDefaultSource)(), 1);
    const std::string log = (sane.folder() / "engine.log").string();
    EXPECT_EQ(ENGINE(MVTWAIN_StartLog)(log.c_str()), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_StartLog)("/no/such/folder/engine.log"), 0);
    const std::string path = (sane.folder() / "scan").string();
    ENGINE(MVTWAIN_SetFilePathTransfer)(path.c_str());
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetFilePathTransfer)()), path);
    ENGINE(MVTWAIN_SetTransferMode)(MVTWAIN_XFER_FILE);
    EXPECT_EQ(ENGINE(MVTWAIN_AcquireNative)(0), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_LastTransferMode)(), 1);
    EXPECT_EQ(ENGINE(MVTWAIN_XferFail)(), 0);
    EXPECT_TRUE(std::filesystem::exists(path + "_"));
    ENGINE(MVTWAIN_StopLog)();
}

}  // namespace
}  // namespace mvtwain

namespace mvtwain {
namespace {

// Callers speak Windows-1252: a transfer path with an accented folder ("é" is
// byte 0xE9) names the UTF-8 folder on disk and comes back as it was given.
TEST_F(ExportsTest, TextsCrossInTheCallersCodePage) {
    ASSERT_EQ(ENGINE(MVTWAIN_OpenDefaultSource)(), 1);
    const std::filesystem::path folder = sane.folder() / "re\xC3\xA7us";  // "reçus" in UTF-8
    std::filesystem::create_directories(folder);
    const std::string ansi = (sane.folder() / "re\xE7us" / "scan").string();
    ENGINE(MVTWAIN_SetFilePathTransfer)(ansi.c_str());
    EXPECT_EQ(std::string(ENGINE(MVTWAIN_GetFilePathTransfer)()), ansi);
    ENGINE(MVTWAIN_SetTransferMode)(MVTWAIN_XFER_FILE);
    EXPECT_EQ(ENGINE(MVTWAIN_AcquireNative)(0), 0);
    EXPECT_EQ(ENGINE(MVTWAIN_XferFail)(), 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "scan_"));
}

}  // namespace
}  // namespace mvtwain
