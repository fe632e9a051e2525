#include "petty/scanning/formscan.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>

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
    // The message of a step that stored the bill `name` in the documents folder.
    void expectStored(const std::string& name) {
        ui.expectMessage("Completed ! The bill is stored as " + (documents() / name).string() + ".");
    }
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
    expectStored("153_1042.jpg");
    click(Formscan::ScanToJpeg);
    const std::string jpeg = (documents() / "153_1042.jpg").string();
    EXPECT_TRUE(std::filesystem::exists(jpeg));
    EXPECT_EQ(std::filesystem::status(jpeg).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
        << "a bill is its owner's alone";
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
    expectStored("153_1042multipage.tif");
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
    expectStored("153_1042.pdf");
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
    expectStored("153_1042.pdf");
    click(Formscan::ScanAllToPdf);
    EXPECT_EQ(calls("TwainAcquireToMorvalenImage"), 3);
}

// A bill of the same name (an earlier scan of the same minute) is neither
// taken for the new one nor overwritten: the new scan takes the next free name.
TEST_F(FormscanTest, AFileLeftByAnEarlierScanIsNeitherTakenNorOverwritten) {
    const std::string earlier = "an earlier scan in the same minute";
    ScriptedScanner::write((documents() / "153_1042.jpg").string(), earlier);
    scanner.savesWork = false;
    ui.expectMessage("Failed !");
    click(Formscan::ScanToJpeg);
    EXPECT_EQ(appState().scannedFilePath, "");

    scanner.savesWork = true;
    expectStored("153_1042-2.jpg");
    click(Formscan::ScanToJpeg);
    EXPECT_EQ(appState().scannedFilePath, documentsPrefix() + "153_1042-2.jpg");
    expectStored("153_1042-3.jpg");
    click(Formscan::ScanToJpeg);
    std::ifstream in(documents() / "153_1042.jpg");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), earlier);
    // Another kind of file takes the plain name while it is free.
    expectStored("153_1042.pdf");
    click(Formscan::ScanAllToPdf);
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
    expectStored("153_1042.jpg");
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
    expectStored("bill1.pdf");
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

TEST_F(FormscanTest, TheCloseStepWithoutAScanReportsNoFile) {
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, "");
    ScriptedScanner::write((documents() / "older.jpg").string(), "x");
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, "") << "a file of the folder is no bill of this window";
}

TEST_F(FormscanTest, SaveDocumentClearsTheResultAndTheCloseSetsItAgain) {
    expectStored("153_1042.jpg");
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
    expectStored("153_1042.jpg");
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
    expectStored("153_1042.jpg");
    click(Formscan::ScanToJpeg);
    EXPECT_THAT(scanner.twain.members(), Not(Contains("FxSepia")));
    EXPECT_TRUE(std::filesystem::exists(documents() / "153_1042.jpg"));
}

// A Cancel in the progress window during a feeder scan: the pages read so far
// are no bill (their file goes), the user is told, and no "Completed !".
TEST_F(FormscanTest, ACancelledFeederScanStoresNothingAndSaysSo) {
    for (int step : {Formscan::ScanAllToPdf, Formscan::ScanAllToTiff}) {
        scanner.pages = 10;
        scanner.cancelAtPage = 3;
        ui.expectMessage("The scan was cancelled: no bill was stored.");
        click(step);
        EXPECT_EQ(calls("TwainAcquireToMorvalenImage"), 3) << step;
        EXPECT_TRUE(std::filesystem::is_empty(documents())) << step;
        EXPECT_EQ(appState().scannedFilePath, "") << step;
        scanner.twain.calls.clear();
        window = std::make_unique<Formscan>(scanner.controls());
    }
    scanner.cancelAtPage = 1;
    ui.expectMessage("The scan was cancelled: no bill was stored.");
    click(Formscan::ScanToJpeg);
    EXPECT_TRUE(std::filesystem::is_empty(documents()));
    click(Formscan::Close);
    EXPECT_EQ(appState().scannedFilePath, "");
}

// Closing the window while the feeder runs: the user is asked; on No the scan
// goes on and the window stays; on Yes the scan stops, and the window goes
// only once the engine has stopped. Clicks that come meanwhile start nothing.
TEST_F(FormscanTest, ClosingTheWindowMidScanAsksAndWaitsForTheEngine) {
    window->load();
    scanner.pages = 10;
    int closesAsked = 0;
    scanner.duringPage = [&](int page) {
        if (page == 2) {
            window->MyButton1_Click(Formscan::Close);  // the close step asks too
            EXPECT_TRUE(window->isLoaded());
        }
        if (page == 2 || page == 4) {
            ++closesAsked;
            EXPECT_FALSE(window->unload(forms::vbFormControlMenu)) << "the window stays while the engine runs";
            EXPECT_TRUE(window->isLoaded());
            window->MyButton1_Click(Formscan::ScanToJpeg);  // refused: one scan at a time
        }
    };
    ui.expectMessage("A scan is running. Cancel it and close the window?", forms::MsgResult::No);
    ui.expectMessage("A scan is running. Cancel it and close the window?", forms::MsgResult::No);
    ui.expectMessage("A scan is running. Cancel it and close the window?", forms::MsgResult::Yes);
    ui.expectMessage("The scan was cancelled: no bill was stored.");
    click(Formscan::ScanAllToPdf);
    EXPECT_EQ(closesAsked, 2);
    EXPECT_EQ(calls("TwainAcquireToMorvalenImage"), 4) << "the page being read when Yes came was the last";
    EXPECT_FALSE(window->isLoaded()) << "the window went once the scan had stopped";
    EXPECT_TRUE(std::filesystem::is_empty(documents()));
    EXPECT_EQ(appState().scannedFilePath, "");
    EXPECT_EQ(ui.beepCount(), 2) << "the clicks during the scan were refused";
}

// The source's setup dialog shows the format the next scan uses, and what the
// user sets there holds for the window's later scans, although the source
// closes (and forgets it) after each scan.
// The close comes while a page is shown, between two transfers: the run
// still ends as cancelled, with no file.
TEST_F(FormscanTest, AStopAskedForBetweenTwoPagesCancelsTheRun) {
    window->load();
    scanner.pages = 3;
    bool asked = false;
    win::SetPendingMessagesHandler([&] {
        if (std::exchange(asked, true)) return;
        EXPECT_FALSE(window->unload(forms::vbFormControlMenu));
    });
    ui.expectMessage("A scan is running. Cancel it and close the window?", forms::MsgResult::Yes);
    ui.expectMessage("The scan was cancelled: no bill was stored.");
    click(Formscan::ScanAllToPdf);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(window->isLoaded());
    EXPECT_TRUE(std::filesystem::is_empty(documents()));
    EXPECT_EQ(appState().scannedFilePath, "");
}

TEST_F(FormscanTest, TheSetupDialogShowsAndKeepsTheScansFormat) {
    click(Formscan::SelectSource);
    int32_t shownResolution = 0, shownPixelType = -1;
    scanner.userSetsUp = [&] {
        shownResolution = scanner.resolution;
        shownPixelType = scanner.pixelType;
        scanner.resolution = 150;
        scanner.pixelType = 1;
    };
    window->Command_Click(6);
    EXPECT_EQ(shownResolution, 300);
    EXPECT_EQ(shownPixelType, 2);
    scanner.resolution = 50;  // the source's own default again
    scanner.pixelType = 0;
    expectStored("153_1042.jpg");
    click(Formscan::ScanToJpeg);
    EXPECT_EQ(scanner.resolution, 150);
    EXPECT_EQ(scanner.pixelType, 1);
    scanner.resolution = 50;
    scanner.pixelType = 0;
    expectStored("153_1042.pdf");
    click(Formscan::ScanAllToPdf);
    EXPECT_EQ(scanner.resolution, 150);
    EXPECT_EQ(scanner.pixelType, 1);
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
