// The scan window with the real scanning library: both controls made from
// their class IDs out of a private registry, the scanner being SANE's own
// test backend through a private configuration. What the window writes is
// checked with the tools that own the formats.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "petty/scanning/formscan.h"
#include "platform/win/testing/sane_test_backend.h"
#include "petty/scanning/scan_controls.h"
#include "petty/shell/shell_test_support.h"
#include "platform/com/class_objects.h"
#include "platform/com/testing/private_registry.h"
#include "platform/win/pending_messages.h"
#include "platform/win/scan_dialogs.h"
#include "platform/win/testing/scratch_folder.h"

namespace petty {
namespace {

// The output of a command, or "" when it cannot run.
std::string outputOf(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
        std::array<char, 4096> chunk;
        while (size_t n = fread(chunk.data(), 1, chunk.size(), pipe)) text.append(chunk.data(), n);
        pclose(pipe);
    }
    return text;
}

size_t occurrences(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

// SANE sees only its test backend, whose feeder gives ten pages; the
// scanning engine keeps its settings in a folder of the test's own. SANE
// reads its configuration folder once per process, so there is one for all.
class SaneTestBackend {
public:
    SaneTestBackend()
        : sane_(std::filesystem::path(folder_.path()) / "sane"),
          configDir_("SANE_CONFIG_DIR", sane_.string().c_str()),
          configHome_("XDG_CONFIG_HOME", (std::filesystem::path(folder_.path()) / "config").string().c_str()) {
        std::filesystem::create_directories(sane_);
        std::filesystem::create_directories(std::filesystem::path(folder_.path()) / "config");
        std::ofstream(sane_ / "dll.conf") << "test\n";
        win::testing::KeepSaneTestBackendLoaded();
    }

    // The device reads as a real feeder does: small chunks with a pause
    // before each (its own "read limit" and "read delay" options), so that a
    // page takes a while and the window's events run between the chunks.
    void slowDown(bool on) {
        if (on)
            std::ofstream(sane_ / "test.conf") << "read-limit true\nread-limit-size 32768\n"
                                                  "read-delay true\nread-delay-duration 10000\n";
        else
            std::filesystem::remove(sane_ / "test.conf");
    }

private:
    win::testing::ScratchFolder folder_;
    std::filesystem::path sane_;
    win::testing::ScopedEnvironment configDir_;
    win::testing::ScopedEnvironment configHome_;
};

class FormscanWithSaneTest : public testing::ShellTest {
protected:
    FormscanWithSaneTest() : ShellTest(false) {
        appState().documentsFolder = appState().programFolder + "/documents/";
        std::filesystem::create_directory(documents());
        appState().scanBaseName = "153_1042";
    }
    void SetUp() override {
        ASSERT_EQ(com::CallServerRegistration(SCANVELT_LIBRARY_PATH, false), com::S_OK);
        ScanControlsOrReason made = createScanControls();
        ASSERT_TRUE(made.controls) << made.reason;
        window = std::make_unique<Formscan>(std::move(*made.controls));
    }
    void TearDown() override {
        window.reset();
        ShellTest::TearDown();
    }
    std::filesystem::path documents() const { return folder.path() / "documents"; }
    void click(int step) { window->MyButton1_Click(step); }
    void expectStored(const std::string& name) {
        ui.expectMessage("Completed ! The bill is stored as " + (documents() / name).string() + ".");
    }

    static inline SaneTestBackend* sane = new SaneTestBackend();  // kept to the end of the process
    com::testing::PrivateRegistry registry;
    std::unique_ptr<Formscan> window;
};

TEST(ScanControls, ADamagedClassRegistryIsNamedInTheReason) {
    com::testing::PrivateRegistry registry;
    std::ofstream(registry.path()) << "not a registry";
    const ScanControlsOrReason made = createScanControls();
    EXPECT_FALSE(made.controls);
    EXPECT_NE(made.reason.find("the class registry " + registry.path() + " is damaged or cannot be read (0x80040150)"),
              std::string::npos)
        << made.reason;
}

TEST_F(FormscanWithSaneTest, OnePageBecomesAJpegOfThePage) {
    expectStored("153_1042.jpg");
    click(Formscan::ScanToJpeg);
    const std::filesystem::path jpeg = documents() / "153_1042.jpg";
    ASSERT_TRUE(std::filesystem::exists(jpeg));
    std::ifstream in(jpeg, std::ios::binary);
    unsigned char magic[3] = {};
    in.read(reinterpret_cast<char*>(magic), 3);
    EXPECT_EQ(magic[0], 0xFF);
    EXPECT_EQ(magic[1], 0xD8);
    EXPECT_EQ(magic[2], 0xFF);
    EXPECT_EQ(appState().scannedFilePath, appState().documentsFolder + "153_1042.jpg");
    // The test scanner's page is 80 by 100 mm; at the window's 300 dpi, 945 by 1181 pixels.
    const std::string size = outputOf("/usr/bin/identify -format '%w %h' '" + jpeg.string() + "'");
    int width = 0, height = 0;
    ASSERT_EQ(std::sscanf(size.c_str(), "%d %d", &width, &height), 2) << size;
    EXPECT_NEAR(width, 945, 2);
    EXPECT_NEAR(height, 1181, 2);
}

TEST_F(FormscanWithSaneTest, TheFeederBecomesOnePdfOfEveryPage) {
    expectStored("153_1042.pdf");
    click(Formscan::ScanAllToPdf);
    const std::filesystem::path pdf = documents() / "153_1042.pdf";
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_THAT(outputOf("/usr/bin/qpdf --check '" + pdf.string() + "'"),
                ::testing::HasSubstr("No syntax or stream encoding errors"));
    EXPECT_THAT(outputOf("/usr/bin/pdfinfo '" + pdf.string() + "'"), ::testing::ContainsRegex("Pages: +10\n"));
}

TEST_F(FormscanWithSaneTest, TheFeederBecomesOneGroup4MultiPageTiff) {
    expectStored("153_1042multipage.tif");
    click(Formscan::ScanAllToTiff);
    const std::filesystem::path tiff = documents() / "153_1042multipage.tif";
    ASSERT_TRUE(std::filesystem::exists(tiff));
    const std::string info = outputOf("/usr/bin/tiffinfo '" + tiff.string() + "'");
    EXPECT_EQ(occurrences(info, "TIFF Directory"), 10u) << info;
    EXPECT_EQ(occurrences(info, "CCITT Group 4"), 10u) << info;
}

// What the user set in the source's setup dialog holds for every later scan
// of the window, though the source closes after each scan and the feeder
// scan switches it to its feeder: a picture scanned after a feeder scan has
// the pixel type, resolution and picture set there (the device's own
// default picture is solid black), and the dialog shows them again.
TEST_F(FormscanWithSaneTest, SetupChoicesHoldAfterAFeederScanAndTheSourceClosing) {
    const auto valueOf = [](const win::ScanSetupRequest& request, const std::string& name) -> std::string {
        for (const win::ScanSetting& s : request.settings)
            if (s.name == name)
                return s.kind == win::ScanSetting::Kind::TextChoice ? s.text : std::to_string(static_cast<int>(s.value));
        return "(not shown)";
    };
    std::vector<win::ScanSetupRequest> shown;
    win::ScanDialogService service;
    service.editSetup = [&](win::ScanSetupRequest& request) {
        shown.push_back(request);
        for (win::ScanSetting& s : request.settings) {
            if (s.name == "test-picture") s.text = "Color pattern";
            if (s.name == "mode") s.text = "Gray";
            if (s.name == "resolution") s.value = 150;
        }
        return win::DialogAnswer::Accepted;
    };
    win::SetScanDialogService(service);
    window->Command_Click(8);  // Open selected source
    window->Command_Click(6);  // Source SETUP...
    ASSERT_EQ(shown.size(), 1u);
    // The dialog showed what the window scans with until then.
    EXPECT_EQ(valueOf(shown[0], "resolution"), "300");
    EXPECT_EQ(valueOf(shown[0], "mode"), "Color");

    expectStored("153_1042.pdf");
    click(Formscan::ScanAllToPdf);
    expectStored("153_1042.jpg");
    click(Formscan::ScanToJpeg);
    const std::filesystem::path jpeg = documents() / "153_1042.jpg";
    ASSERT_TRUE(std::filesystem::exists(jpeg));
    // 80 by 100 mm at 150 dpi, grey, and the colour pattern's bars, not the default's black.
    const std::string facts =
        outputOf("/usr/bin/identify -format '%w %h %[colorspace] %[fx:mean]' '" + jpeg.string() + "'");
    int width = 0, height = 0;
    char colourSpace[32] = {};
    double mean = 0;
    ASSERT_EQ(std::sscanf(facts.c_str(), "%d %d %31s %lf", &width, &height, colourSpace, &mean), 4) << facts;
    EXPECT_NEAR(width, 472, 2);
    EXPECT_NEAR(height, 591, 2);
    EXPECT_STREQ(colourSpace, "Gray");
    EXPECT_GT(mean, 0.1) << "the page is black: the device's defaults were scanned";

    // The dialog opened again shows the values the scans used. The device's
    // picture is chosen back there, as the engine keeps choices for the
    // process (the tests after this one scan with it).
    window->Command_Click(8);
    service.editSetup = [&](win::ScanSetupRequest& request) {
        shown.push_back(request);
        for (win::ScanSetting& s : request.settings)
            if (s.name == "test-picture") s.text = "Solid black";
        return win::DialogAnswer::Accepted;
    };
    win::SetScanDialogService(service);
    window->Command_Click(6);
    win::SetScanDialogService({});
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(valueOf(shown[1], "test-picture"), "Color pattern");
    EXPECT_EQ(valueOf(shown[1], "mode"), "Gray");
    EXPECT_EQ(valueOf(shown[1], "resolution"), "150");
}

// A slowed feeder scan with the real engine, whose page loop lets the
// window's events run between chunks.
class SlowFeederTest : public FormscanWithSaneTest {
protected:
    SlowFeederTest() { sane->slowDown(true); }
    ~SlowFeederTest() override {
        win::SetPendingMessagesHandler({});
        win::SetScanDialogService({});
        sane->slowDown(false);
    }
};

// The progress window's Cancel on the third page: the engine stops within
// that page, the two pages read make no bill, and the user is told so.
TEST_F(SlowFeederTest, CancelInTheProgressWindowStoresNothingAndSaysSo) {
    window->chkIndicator.setValue(forms::vbChecked);
    int lastPage = 0;
    win::ScanDialogService service;
    service.showProgress = [&](const win::ScanProgress& progress) {
        lastPage = progress.page;
        return progress.page < 3;
    };
    win::SetScanDialogService(service);
    ui.expectMessage("The scan was cancelled: no bill was stored.");
    click(Formscan::ScanAllToPdf);
    EXPECT_EQ(lastPage, 3) << "no page was read after the cancel";
    EXPECT_TRUE(std::filesystem::is_empty(documents()));
    EXPECT_EQ(appState().scannedFilePath, "");
}

// The window closed by its title bar while the feeder runs: the user is
// asked; on Yes the engine stops between two chunks and the window goes only
// then, leaving no file.
TEST_F(SlowFeederTest, ClosingTheWindowMidScanStopsTheEngineFirst) {
    window->load();
    int pumps = 0;
    bool asked = false;
    win::SetPendingMessagesHandler([&] {
        if (++pumps < 60 || asked) return;
        asked = true;
        EXPECT_FALSE(window->unload(forms::vbFormControlMenu)) << "the window stays while the engine runs";
    });
    ui.expectMessage("A scan is running. Cancel it and close the window?", forms::MsgResult::Yes);
    ui.expectMessage("The scan was cancelled: no bill was stored.");
    click(Formscan::ScanAllToPdf);
    EXPECT_TRUE(asked);
    EXPECT_LT(pumps, 200) << "the scan stopped soon after the answer, not after ten pages";
    EXPECT_FALSE(window->isLoaded());
    EXPECT_TRUE(std::filesystem::is_empty(documents()));
    EXPECT_EQ(appState().scannedFilePath, "");
}

// A scan killed while the feeder runs leaves no file under the bill's name:
// at most the writer's hidden temporary, which the next start clears.
TEST_F(SlowFeederTest, AKilledScanLeavesNoHalfBill) {
    const auto leftovers = [this] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(documents()))
            names.push_back(entry.path().filename().string());
        return names;
    };
    const pid_t scan = ::fork();
    ASSERT_GE(scan, 0);
    if (scan == 0) {
        window->MyButton1_Click(Formscan::ScanAllToPdf);
        ::_exit(0);
    }
    // Killed a while after the scan began writing (or after a second and a half).
    for (int i = 0; i < 150 && leftovers().empty(); ++i) ::usleep(10000);
    ::usleep(500000);
    ::kill(scan, SIGKILL);
    int status = 0;
    ::waitpid(scan, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the scan ended before it was killed";
    for (const std::string& name : leftovers())
        EXPECT_TRUE(name.front() == '.' && name.find(".part-") != std::string::npos) << name;
}

}  // namespace
}  // namespace petty
