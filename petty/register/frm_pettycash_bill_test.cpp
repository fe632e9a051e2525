// The register's scan and view buttons, with the scan window driving
// scripted scanning controls.
#include <gmock/gmock.h>

#include <filesystem>

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
    const std::string bill = std::to_string(voucher) + "_1042";
    userScans({Formscan::ScanToJpeg, Formscan::Close});
    ui.expectMessage("Completed !");
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));

    EXPECT_TRUE(std::filesystem::exists(documents() / (bill + ".jpg")));
    EXPECT_EQ(stored(voucher, "document").asText(), bill);
    EXPECT_EQ(w.Textpcash[kDocumentBox].text(), bill);
    EXPECT_EQ(appState().scanBaseName, "");
    EXPECT_EQ(appState().scannedFilePath, "");
}

// The register's checks refuse the save (no narration): the bill stays in the
// folder and its name in the box, and the user is told.
TEST_F(BillButtonsTest, ABillWhoseVoucherFailsToSaveKeepsItsNameInTheBox) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    const std::string bill = std::to_string(voucher) + "_1042";
    userScans({Formscan::ScanAllToPdf, Formscan::Close});
    ui.expectMessage("Completed !");
    ui.expectMessage("Please enter narration for the transaction!");
    ui.expectMessage("The bill was scanned to " + folder.path().string() + "/documents/" + bill +
                     ".pdf but the voucher was not saved: its name stays in the box until the voucher is saved.");
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(std::filesystem::exists(documents() / (bill + ".pdf")));
    EXPECT_EQ(w.Textpcash[kDocumentBox].text(), bill);
    EXPECT_TRUE(stored(voucher, "document").isNull());

    w.Textpcash[kNarrationBox].setText("cash from the bank");
    w.cmdupdate_Click();
    EXPECT_EQ(stored(voucher, "document").asText(), bill) << "a later save stores the name";
}

TEST_F(BillButtonsTest, AScanWindowClosedWithoutAFileLeavesTheVoucherAlone) {
    const int64_t voucher = fund("500");
    frmpettycash& w = registerAt(voucher);
    host.expectModal<Formscan>("Formscan", [](Formscan& window) { window.unload(); });
    ui.expectMessage("Report not selected or file name is not available!!");
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(stored(voucher, "document").isNull());

    // The close step without a scan reports the folder when it holds a file: rejected too.
    testing::ScriptedScanner::write((documents() / "older.jpg").string(), "x");
    userScans({Formscan::Close});
    ASSERT_TRUE(forms::user::click(w.cmdScanDoc));
    EXPECT_TRUE(stored(voucher, "document").isNull());
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

TEST_F(BillButtonsTest, TheViewButtonOpensTheJpegThenThePdfThenTheMultiPageTiff) {
    const int64_t voucher = fund("500");
    setColumn(voucher, "document", "7_0900");
    frmpettycash& w = registerAt(voucher);
    ASSERT_EQ(w.Textpcash[kDocumentBox].text(), "7_0900");

    ui.expectMessage("Document does not exist or is in the root of hard-disk!");
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
    for (const char* ending : {"multipage.tif", ".pdf", ".jpg"}) {
        testing::ScriptedScanner::write((documents() / (std::string("7_0900") + ending)).string(), "x");
        ui.clearJournal();
        ASSERT_TRUE(forms::user::click(w.cmdViewBill));
        EXPECT_THAT(ui.journalLines(),
                    ElementsAre("shell Open: " + (documents() / (std::string("7_0900") + ending)).string() + " -> 42"));
    }

    ui.setShellResult(2);
    ui.expectMessage("Failed to open '" + folder.path().string() + "/documents/7_0900.jpg'");
    ASSERT_TRUE(forms::user::click(w.cmdViewBill));
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
