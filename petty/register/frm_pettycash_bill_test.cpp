// The register's scan and view buttons, with the scan window driving
// scripted scanning controls.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "petty/register/register_save_test_support.h"
#include "petty/scanning/formscan.h"
#include "petty/scanning/testing/scripted_scanner.h"

namespace petty {
namespace {

using ::testing::ElementsAre;

class BillButtonsTest : public testing::RegisterSaveTest {
protected:
    BillButtonsTest() {
        appState().documentsFolder = appState().programFolder + "\\documents\\";
        std::filesystem::create_directory(documents());
        setScanControlsFactory([this] { return ScanControlsOrReason{scanner.controls(), {}}; });
    }
    ~BillButtonsTest() override { setScanControlsFactory({}); }
    std::filesystem::path documents() const { return folder.path() / "documents"; }
    // The register showing a saved voucher of the open period.
    frmpettycash& registerAt(int64_t voucherId) {
        frmpettycash& w = shownRegister();
        showVoucher(w, voucherId);
        return w;
    }
    // The scan window's steps the user clicks once it shows.
    void expectStored(const std::string& name) {
        ui.expectMessage("Completed ! The bill is stored as " + (documents() / name).string() + ".");
    }
    void userScans(std::vector<int> steps) {
        host.expectModal<Formscan>("Formscan", [steps](Formscan& window) {
            for (int step : steps) ASSERT_TRUE(forms::user::click(window.MyButton1[step]));
        });
    }

    testing::ScriptedScanner scanner;
    vb::FixedClock tenFortyTwo{*vb::DateTime::fromParts(2024, 5, 15, 10, 42, 5)};
    vb::ScopedClock useTenFortyTwo{tenFortyTwo};
};

TEST_F(BillButtonsTest, AScannedBillIsStoredWithItsVoucherAndTheNamesAreClearedAfter) {
    const int64_t voucher = fund("500");
    setColumn(voucher, "Narration", "cash from the bank");
    frmpettycash& w = registerAt(voucher);
    const std::string bill = std::to_string(voucher) + "_1042.jpg";
    userScans({Formscan::ScanToJpeg, Formscan::Close});
    expectStored(bill);
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));

    EXPECT_TRUE(std::filesystem::exists(documents() / bill));
    EXPECT_EQ(stored(voucher, "document").asText(), bill) << "the name carries its extension";
    EXPECT_EQ(w.Textpcash[kDocumentBox].text(), bill);
    EXPECT_EQ(appState().scanBaseName, "");
    EXPECT_EQ(appState().scannedFilePath, "");
}

// The bill belongs to the voucher the scan started from: the register moved
// on meanwhile (the window's events run between the scanner's chunks), yet
// the name is written to the first voucher, by its number, and that voucher
// is shown again; no "not saved" for a voucher that is not the last.
TEST_F(BillButtonsTest, TheBillStaysWithTheVoucherTheScanStartedFrom) {
    const int64_t first = fund("500");
    const int64_t second = fund("200");
    const int64_t last = fund("100");
    for (int64_t id : {first, second, last}) setColumn(id, "Narration", "cash from the bank");
    frmpettycash& w = registerAt(first);
    scanner.pages = 3;
    scanner.duringPage = [&](int page) {
        if (page == 2) showVoucher(w, second);
    };
    const std::string bill = std::to_string(first) + "_1042.pdf";
    userScans({Formscan::ScanAllToPdf, Formscan::Close});
    expectStored(bill);
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));

    EXPECT_EQ(stored(first, "document").asText(), bill);
    EXPECT_TRUE(stored(second, "document").isNull());
    EXPECT_TRUE(stored(last, "document").isNull());
    EXPECT_EQ(w.Textpcash[kVoucherIdBox].text(), std::to_string(first)) << "the scanned voucher is shown";
    EXPECT_EQ(w.Textpcash[kDocumentBox].text(), bill);
    EXPECT_NO_THROW(ui.verifyDone());
}

// The book refuses the name (another program closed the voucher's period
// while the window was open): the user is told where the file is and that
// the voucher has no bill; nothing else is written.
TEST_F(BillButtonsTest, ABillTheBookRefusesIsToldWithItsFile) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    const std::string bill = std::to_string(voucher) + "_1042.pdf";
    scanner.duringPage = [&](int) { setColumn(voucher, "Closed", "Yes"); };
    userScans({Formscan::ScanAllToPdf, Formscan::Close});
    expectStored(bill);
    ui.expectMessage("The bill was scanned to " + (documents() / bill).string() + " but the book did not store it: voucher " +
                     std::to_string(voucher) +
                     " is no longer an open voucher of the book. The file stays in the documents folder.");
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(std::filesystem::exists(documents() / bill));
    EXPECT_TRUE(stored(voucher, "document").isNull());
}

// A voucher with changes not saved is saved first: its pending row is not
// written behind the user's back.
TEST_F(BillButtonsTest, AVoucherWithUnsavedChangesIsNotScanned) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    w.Textpcash[kNarrationBox].setText("changed");
    ASSERT_TRUE(w.Textpcash[kNarrationBox].dataChanged());
    ui.expectMessage("Please save the record and then scan the bill!");
    forms::user::click(w.cmdScanDoc);
    EXPECT_TRUE(host.modalsShown().empty());
    EXPECT_TRUE(stored(voucher, "document").isNull());
}

// Closing the scan window without a bill says nothing and writes nothing.
TEST_F(BillButtonsTest, AScanWindowClosedWithoutAFileLeavesTheVoucherAloneAndSaysNothing) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    host.expectModal<Formscan>("Formscan", [](Formscan& window) { window.unload(); });
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(stored(voucher, "document").isNull());

    testing::ScriptedScanner::write((documents() / "older.jpg").string(), "x");
    userScans({Formscan::Close});
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(stored(voucher, "document").isNull());
    EXPECT_NO_THROW(ui.verifyDone());
}

// A re-scan of the same voucher in the same minute (the approval user may
// scan a voucher that has a bill) keeps the first bill and stores the second
// under a free name.
TEST_F(BillButtonsTest, AReScanInTheSameMinuteNeverOverwritesTheEarlierBill) {
    const int64_t voucher = fund("500");
    appState().superUserLogin = true;
    appState().currentUserName = testing::kApprovalUser;
    frmpettycash& w = registerAt(voucher);
    const std::string first = std::to_string(voucher) + "_1042.jpg";
    const std::string second = std::to_string(voucher) + "_1042-2.jpg";
    userScans({Formscan::ScanToJpeg, Formscan::Close});
    expectStored(first);
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    testing::ScriptedScanner::write((documents() / first).string(), "the first bill");
    userScans({Formscan::ScanToJpeg, Formscan::Close});
    expectStored(second);
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_EQ(stored(voucher, "document").asText(), second);
    std::ifstream in(documents() / first);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the first bill");
}

TEST_F(BillButtonsTest, ClosedUnsavedAndUnnumberedVouchersAreNotScanned) {
    const int64_t voucher = fund("500");
    setColumn(voucher, "Closed", "Yes");
    frmpettycash& w = shownRegister();
    w.Textpcash[kClosedBox].setText("Yes");
    ui.expectMessage("Closed!");
    w.cmdScanDoc_Click();
    w.Textpcash[kClosedBox].setText("No");
    w.Textpcash[kVoucherIdBox].setText("");
    ui.expectMessage("Voucher No is not available for this pettycash voucher!");
    w.cmdScanDoc_Click();
    EXPECT_EQ(ui.beepCount(), 2);
    EXPECT_TRUE(host.modalsShown().empty());
}

TEST_F(BillButtonsTest, AScanningLibraryThatCannotBeCreatedIsNamedOnTheButton) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    setScanControlsFactory([] { return ScanControlsOrReason{std::nullopt, "Bill scanning is not available: test."}; });
    ui.expectMessage("Bill scanning is not available: test.");
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(host.modalsShown().empty());
}

// A name with its extension opens that file, whatever else shares its base name.
TEST_F(BillButtonsTest, TheViewButtonOpensTheFileTheVoucherNames) {
    const int64_t voucher = fund("500");
    setColumn(voucher, "document", "3_0915.pdf");
    for (const char* name : {"3_0915.jpg", "3_0915multipage.tif", "3_0915.pdf"})
        testing::ScriptedScanner::write((documents() / name).string(), "x");
    frmpettycash& w = registerAt(voucher);
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    EXPECT_THAT(ui.journalLines(), ElementsAre("shell Open: " + (documents() / "3_0915.pdf").string() + " -> 42"));
}

// A name without extension (books from before) opens its one file, and asks
// which when several files share it; a cancelled choice opens nothing.
TEST_F(BillButtonsTest, AnOldNameWithoutExtensionOpensItsFileOrAsksWhich) {
    const int64_t voucher = fund("500");
    setColumn(voucher, "document", "7_0900");
    frmpettycash& w = registerAt(voucher);
    ASSERT_EQ(w.Textpcash[kDocumentBox].text(), "7_0900");

    ui.expectMessage("Document does not exist or is in the root of hard-disk!");
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    testing::ScriptedScanner::write((documents() / "7_0900multipage.tif").string(), "x");
    ui.clearJournal();
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    EXPECT_THAT(ui.journalLines(), ElementsAre("shell Open: " + (documents() / "7_0900multipage.tif").string() + " -> 42"));

    for (const char* name : {"7_0900.jpg", "7_0900.pdf"}) testing::ScriptedScanner::write((documents() / name).string(), "x");
    const std::string question = "Several files carry this bill's name:\r\n1: " + (documents() / "7_0900.jpg").string() +
                                 "\r\n2: " + (documents() / "7_0900.pdf").string() + "\r\n3: " +
                                 (documents() / "7_0900multipage.tif").string() +
                                 "\r\nType the number of the file to open:";
    ui.expectInputBox(question, "2");
    ui.clearJournal();
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    EXPECT_EQ(ui.journalLines().back(), "shell Open: " + (documents() / "7_0900.pdf").string() + " -> 42");
    ui.expectInputBox(question, "");
    ui.clearJournal();
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    for (const std::string& line : ui.journalLines()) EXPECT_EQ(line.rfind("shell", 0), std::string::npos) << line;
}

// No program on the desktop opens the file: the user is told which file it is.
TEST_F(BillButtonsTest, AMissingOpenerIsToldWithTheFilesPath) {
    const int64_t voucher = fund("500");
    setColumn(voucher, "document", "7_0900.jpg");
    testing::ScriptedScanner::write((documents() / "7_0900.jpg").string(), "x");
    frmpettycash& w = registerAt(voucher);
    ui.setShellResult(31);
    ui.expectMessage("No program on this desktop opens 7_0900.jpg; the file is " + (documents() / "7_0900.jpg").string());
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    EXPECT_EQ(ui.journal().back().icon, forms::MsgIcon::Information);
}

// A stored name that is not a plain file name never reaches outside the folder.
TEST_F(BillButtonsTest, ANameWithAFolderOrWildcardOpensNothing) {
    const int64_t voucher = fund("500");
    testing::ScriptedScanner::write((documents() / "7_0900.jpg").string(), "x");
    frmpettycash& w = registerAt(voucher);
    for (const char* stored : {"*", "../business.mdb", "..\\business.mdb", ".hidden.jpg"}) {
        std::string name = stored;
        ui.expectMessage("Document does not exist or is in the root of hard-disk!");
        w.OpenBillDocument(name);
    }
    for (const std::string& line : ui.journalLines()) EXPECT_EQ(line.rfind("shell", 0), std::string::npos) << line;
}

TEST_F(BillButtonsTest, AVoucherWithoutABillSaysSo) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    ui.expectMessage("No scanned bill found for this pettycash voucher!!");
    w.cmdViewBill_Click();
    std::string name;
    ui.expectMessage("No document specified!");
    w.OpenBillDocument(name);
}

}  // namespace
}  // namespace petty
