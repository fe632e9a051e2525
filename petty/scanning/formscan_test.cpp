#include "petty/scanning/formscan.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <memory>

#include "petty/scanning/testing/scripted_scanner.h"
#include "petty/shell/shell_test_support.h"
#include "platform/win/pending_messages.h"

namespace petty {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::Not;
using testing::ScriptedScanner;

// Whether the calls hold every wanted call (or call prefix) in this order.
bool inOrder(const std::vector<std::string>& calls, const std::vector<std::string>& wanted) {
    size_t next = 0;
    for (const std::string& call : calls)
        if (next < wanted.size() && call.rfind(wanted[next], 0) == 0) ++next;
    return next == wanted.size();
}

class FormscanTest : public testing::ShellTest {
protected:
    FormscanTest() : ShellTest(false) {
        appState().documentsFolder = appState().programFolder + "\\documents\\";
        std::filesystem::create_directory(documents());
        appState().scanBaseName = "153_1042";
        appState().scannedFilePath = "left by an earlier scan";
        win::SetPendingMessagesHandler([this] { ++pendingRuns; });
    }
    void TearDown() override {
        win::SetPendingMessagesHandler({});
        window.reset();
        ShellTest::TearDown();
    }
    std::filesystem::path documents() const { return folder.path() / "documents"; }
    std::string documentsPrefix() const { return appState().documentsFolder; }
    void click(int step) { window->MyButton1_Click(step); }
    long calls(const std::string& member) const {
        const std::vector<std::string> members = scanner.twain.members();
        return std::count(members.begin(), members.end(), member);
    }
    // The calls made to the scanning control, by member name, from the first call of `member` on.
    std::vector<std::string> twainCallsFrom(const std::string& member) const {
        const std::vector<std::string> all = scanner.twain.journal();
        auto it = std::find_if(all.begin(), all.end(), [&](const std::string& c) { return c.rfind(member, 0) == 0; });
        return {it, all.end()};
    }

    ScriptedScanner scanner;
    std::unique_ptr<Formscan> window = std::make_unique<Formscan>(scanner.controls());
    int pendingRuns = 0;
};

TEST_F(FormscanTest, AOnePageJpegScanWritesTheBillAndTheCloseReportsIt) {
    ui.expectMessage("Completed !");
    click(Formscan::ScanToJpeg);
    const std::string jpeg = (documents() / "153_1042.jpg").string();
    EXPECT_TRUE(std::filesystem::exists(jpeg));
    EXPECT_EQ(window->scanFileName(), "153_1042.jpg");
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042.jpg");
    EXPECT_THAT(twainCallsFrom("TwainOpenDefaultSource"),
                ElementsAre("TwainOpenDefaultSource()", "TwainSetHideUI(True)", "TwainSetIndicators(False)",
                            "TwainSetAutoBrightness(False)", "TwainSetCurrentBrightness(0)",
                            "TwainSetCurrentContrast(0)", "TwainEnableDuplex(False)", "TwainSetCurrentResolution(300)",
                            "TwainSetCurrentPixelType(2)", "TwainSetCurrentBitDepth(8)",
                            "TwainAcquireToMorvalenImage(0)", "GetNativeImage()", "SaveAsJPEG(" + jpeg + ", 75)",
                            "CloseImage(101)", "TwainCloseSource()"));
    EXPECT_THAT(scanner.viewer.journal(), ElementsAre("SetNativeImage(101)", "ImageClosed()"));
    EXPECT_EQ(pendingRuns, 1) << "the window repainted once the page was shown";
    EXPECT_THAT(ui.mousePointerHistory(), ElementsAre(forms::vbHourglass, forms::vbCustom));

    appState().scannedFilePath.clear();
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042.jpg");
}

TEST_F(FormscanTest, TheFeederScansEveryPageIntoOneTiffOrOnePdf) {
    scanner.pages = 3;
    ui.expectMessage("Completed !");
    click(Formscan::ScanAllToTiff);
    const std::string tiff = (documents() / "153_1042multipage.tif").string();
    EXPECT_TRUE(std::filesystem::exists(tiff));
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042multipage.tif");
    EXPECT_THAT(scanner.twain.members(),
                IsSupersetOf({"TwainSetAutoFeed", "TwainSetAutoScan", "TiffSaveAsNativeMultiPage",
                              "TiffAddToNativeMultiPage", "TiffCloseNativeMultiPage"}));
    const std::vector<std::string> pages = twainCallsFrom("TiffSaveAsNativeMultiPage");
    // The first page starts the file and stays open; the others are added and released.
    EXPECT_THAT(pages, Contains("TiffSaveAsNativeMultiPage(" + tiff + ", 4)"));
    EXPECT_THAT(pages, Not(Contains("CloseImage(101)")));
    EXPECT_THAT(pages, IsSupersetOf({"TiffAddToNativeMultiPage(102)", "CloseImage(102)", "TiffAddToNativeMultiPage(103)",
                                     "CloseImage(103)"}));
    EXPECT_THAT(scanner.twain.journal(), IsSupersetOf({"TwainSetCurrentResolution(200)", "TwainSetCurrentPixelType(0)",
                                                       "TwainSetCurrentBitDepth(1)"}));

    scanner.twain.calls.clear();
    ui.expectMessage("Completed !");
    click(Formscan::ScanAllToPdf);
    const std::string pdf = (documents() / "153_1042.pdf").string();
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(window->scanFileName(), "153_1042.pdf");
    EXPECT_EQ(twainCallsFrom("TwainPdfStart").front(), "TwainPdfStart(" + pdf + ")");
    EXPECT_EQ(calls("TwainAddMorvalenImageToPdf"), 3);
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042.pdf");
}

TEST_F(FormscanTest, TheFeederLoopEndsWhenNoPageCameBackWhateverTheStateSays) {
    scanner.pages = 2;
    scanner.stateStaysAbove4 = true;
    ui.expectMessage("Completed !");
    click(Formscan::ScanAllToPdf);
    EXPECT_EQ(calls("TwainAcquireToMorvalenImage"), 3);
}

TEST_F(FormscanTest, AFileLeftByAnEarlierScanIsNotTakenForTheNewOne) {
    ScriptedScanner::write((documents() / "153_1042.jpg").string(), "an earlier scan in the same minute");
    scanner.savesWork = false;
    ui.expectMessage("Failed !");
    click(Formscan::ScanToJpeg);
    EXPECT_EQ(appState().scannedFilePath, "");

    scanner.savesWork = true;
    ui.expectMessage("Completed !");
    click(Formscan::ScanToJpeg);
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042.jpg");
}

TEST_F(FormscanTest, NoPageMeansNothingSavedAndTheStepsFailureMessage) {
    scanner.pages = 0;
    ui.expectMessage("Failed to scan the document!");
    click(Formscan::ScanToPdf);
    EXPECT_EQ(window->scanFileName(), "153_1042") << "the extension follows a page only";
    EXPECT_THAT(scanner.twain.members(), Not(Contains("SaveAsPDF")));
    EXPECT_THAT(scanner.twain.members(), Contains("TwainCloseSource"));
    EXPECT_EQ(appState().scannedFilePath, "");
}

TEST_F(FormscanTest, TheMultipleJpegStepWarnsThenScansExactlyOnePage) {
    scanner.pages = 3;
    ui.expectMessage("Multiple jpg not supported. Please use multipage PDF/TIF!");
    ui.expectMessage("Completed !");
    click(Formscan::ScanAllToJpeg);
    EXPECT_EQ(calls("TwainAcquireToMorvalenImage"), 1);
    EXPECT_TRUE(std::filesystem::exists(documents() / "153_1042.jpg"));
    EXPECT_TRUE(ui.mousePointerHistory().empty()) << "this step keeps the pointer";
}

TEST_F(FormscanTest, ASourceThatDoesNotOpenNamesTheTwainState) {
    scanner.opens = false;
    ui.expectMessage("can't open default source, twain state is: 3");
    click(Formscan::ScanToJpeg);
    EXPECT_THAT(ui.mousePointerHistory(), ElementsAre(forms::vbHourglass, forms::vbCustom));
    EXPECT_THAT(scanner.twain.members(), Not(Contains("TwainAcquireToMorvalenImage")));

    // Without the control every call fails: the state reads as -1.
    window = std::make_unique<Formscan>(ScanControls{});
    ui.expectMessage("can't open default source, twain state is: -1");
    click(Formscan::ScanAllToTiff);
    ui.expectMessage("Can't open default source !");
    click(Formscan::SelectSource);
}

TEST_F(FormscanTest, TheFileNameIsAskedWhenTheRegisterGaveNoneAndMayHaveNoExtension) {
    appState().scanBaseName.clear();
    ui.expectInputBox("File name without extension:", "bill.1");
    ui.expectMessage("File name should not have extension!");
    click(Formscan::ScanToJpeg);
    ui.expectInputBox("File name without extension:", "");
    ui.expectMessage("File name has to be entered!!");
    click(Formscan::ScanToPdf);
    EXPECT_TRUE(scanner.twain.calls.empty()) << "nothing is scanned";
    EXPECT_EQ(ui.beepCount(), 2);

    ui.expectInputBox("File name without extension:", "bill1");
    ui.expectMessage("Completed !");
    click(Formscan::ScanToPdf);
    EXPECT_TRUE(std::filesystem::exists(documents() / "bill1.pdf"));
}

TEST_F(FormscanTest, AMissingDocumentsFolderStopsEveryClickWithItsPath) {
    std::filesystem::remove(documents());
    const std::string shown = folder.path().string() + "/documents/";
    for (int step : {Formscan::SelectSource, Formscan::ScanToJpeg, Formscan::Close, Formscan::SaveDocument}) {
        ui.expectMessage(shown + " not found!!");
        click(step);
    }
    EXPECT_TRUE(scanner.twain.calls.empty());
    EXPECT_EQ(appState().scannedFilePath, "");
}

TEST_F(FormscanTest, TheCloseStepWithoutAScanReportsTheFolderOnlyWhenItHoldsAFile) {
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, "");
    ScriptedScanner::write((documents() / "older.jpg").string(), "x");
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix()) << "the register rejects a folder";
}

TEST_F(FormscanTest, SaveDocumentClearsTheResultAndTheCloseSetsItAgain) {
    ui.expectMessage("Completed !");
    click(Formscan::ScanToJpeg);
    click(Formscan::SaveDocument);
    EXPECT_EQ(appState().scannedFilePath, "");
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042.jpg");
}

TEST_F(FormscanTest, TickedCleanUpsRunInTheirOrderAndBothTurnsMake270Degrees) {
    for (forms::CheckBox* box : {&window->ChkNeg, &window->chkContrast, &window->chkSepia, &window->chkRotate90,
                                 &window->chkRotate180, &window->chkAutoDesk, &window->ChkAutoCrop})
        box->setValue(forms::vbChecked);
    window->chkAutoBrightness.setValue(forms::vbChecked);
    window->chkHideUI.setValue(forms::vbUnchecked);
    window->chkIndicator.setValue(forms::vbChecked);
    window->chkDuplex.setValue(forms::vbChecked);
    window->HContrast.setValue(-250);
    ui.expectMessage("Completed !");
    click(Formscan::ScanToJpeg);
    EXPECT_TRUE(inOrder(twainCallsFrom("TwainSetHideUI"), {"TwainSetHideUI(False)", "TwainSetIndicators(True)", "TwainSetAutoBrightness(True)",
                                        "TwainSetCurrentContrast(-250)", "TwainEnableDuplex(True)", "FxNegative()",
                                        "FxStretchContrast()", "FxSepia()", "Rotate(1)", "Rotate(2)", "AutoDeskew()",
                                        "CropBorders()", "SaveAsJPEG"}))
        << ::testing::PrintToString(scanner.twain.journal());
    EXPECT_THAT(scanner.twain.members(), Not(Contains("TwainSetCurrentBrightness")));
}

TEST_F(FormscanTest, AFailingFilterEndsTheFiltersButNotTheStep) {
    window->ChkNeg.setValue(forms::vbChecked);
    window->chkSepia.setValue(forms::vbChecked);
    scanner.twain.script = [inner = scanner.twain.script](const testing::ScriptedControl::Call& c, com::VARIANT& r) {
        if (c.member == "FxNegative") return com::E_FAIL;
        return inner(c, r);
    };
    ui.expectMessage("Completed !");
    click(Formscan::ScanToJpeg);
    EXPECT_THAT(scanner.twain.members(), Not(Contains("FxSepia")));
    EXPECT_TRUE(std::filesystem::exists(documents() / "153_1042.jpg"));
}

TEST_F(FormscanTest, TheWindowUnloadsTheSourceManagerWhenItEnds) {
    window.reset();
    EXPECT_THAT(scanner.twain.members(), ElementsAre("TwainUnloadSourceManager"));
    EXPECT_EQ(scanner.twain.references(), 1u) << "the window let go of the control";
}

TEST_F(FormscanTest, DemonstrationButtonsShowTheStateAndRefuseASetupWithoutSource) {
    ui.expectMessage("TWAIN_SM_OPEN (3)");
    window->Command_Click(7);
    ui.expectMessage("You need to open a source first !");
    window->Command_Click(6);
    ui.expectMessage("Done !");
    window->Command_Click(3);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "acquire.pdf"));
    EXPECT_EQ(appState().scannedFilePath, "left by an earlier scan") << "demonstrations leave the result alone";
}

}  // namespace
}  // namespace petty
