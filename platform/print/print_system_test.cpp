#include "platform/print/print_system.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/files/testing/scratch_folder.h"
#include "platform/print/qt_print_system.h"
#include "platform/print/testing/pdf_pages.h"
#include "platform/win/gdi_bitmap.h"

namespace print {
namespace {

// Paints pixels [x0, x1) x [y0, y1) of the page black.
void Blacken(win::HDC dc, int x0, int y0, int x1, int y1) {
    auto page = win::FindBitmap(win::SelectedBitmap(dc));
    ASSERT_TRUE(page);
    for (int y = y0; y < y1; ++y) std::memset(page->row(y) + x0 * 4, 0, static_cast<size_t>(x1 - x0) * 4);
}

class FilePrinterTest : public ::testing::Test {
protected:
    void SetUp() override { Install(0.0); }
    void TearDown() override { InstallPrintSystem(nullptr); }
    void Install(double marginMm) {
        QtPrintSystemOptions options;
        options.filePrinterFolder = folder_.path().string();
        options.systemPrinters = false;
        options.filePrinterMarginMm = marginMm;
        InstallPrintSystem(MakeQtPrintSystem(options));
    }
    std::string Pdf(const std::string& name) { return folder_.file(name + ".pdf"); }

    files::testing::ScratchFolder folder_{"print-file"};
};

TEST_F(FilePrinterTest, PagesOfTheSheetSizeWithWhatWasDrawnWhereItWasDrawn) {
    ASSERT_TRUE(HasCurrentPrinter());
    EXPECT_EQ(CurrentSettings().deviceName, kFilePrinterName);
    const win::HDC info = CurrentInformationContext();
    EXPECT_EQ(win::GetDeviceCaps(info, win::LOGPIXELSX), 300);
    EXPECT_EQ(win::GetDeviceCaps(info, win::PHYSICALWIDTH), 2480);
    EXPECT_EQ(win::GetDeviceCaps(info, win::PHYSICALOFFSETX), 0);

    auto job = StartCurrentDoc("Bill: 7/2");
    ASSERT_TRUE(job);
    EXPECT_EQ(win::GetDeviceCaps(job->PageDC(), win::LOGPIXELSY), 300);
    // One inch square one inch from the top left corner.
    Blacken(job->PageDC(), 300, 300, 600, 600);
    ASSERT_TRUE(job->NewPage());
    Blacken(job->PageDC(), 1800, 3000, 2100, 3300);
    ASSERT_TRUE(job->EndDoc());
    job.reset();

    const std::string pdf = Pdf("Bill_ 7_2");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    // A4 (210 x 297 mm) in whole points, as Qt's PDF writer sets its media box.
    EXPECT_EQ(testing::PageSizes(pdf), (std::vector<std::string>{"595 x 842", "595 x 842"}));
    const auto first = testing::RenderPage(pdf, 1, 30, folder_.path().string());
    ASSERT_EQ(first.width, 248);
    EXPECT_LT(first.grey(45, 45), 60);    // inside the square
    EXPECT_GT(first.grey(25, 45), 200);   // left of it
    EXPECT_GT(first.grey(200, 330), 200);  // where the second page has its square
    const auto second = testing::RenderPage(pdf, 2, 30, folder_.path().string());
    EXPECT_LT(second.grey(195, 315), 60);
    EXPECT_GT(second.grey(45, 45), 200);
}

TEST_F(FilePrinterTest, OrientationPaperAndMarginsShapeThePage) {
    Install(10.0);
    PrinterSettings letter = CurrentSettings();
    letter.paperSize = DMPAPER_LETTER;
    ASSERT_TRUE(PaperSizeTwips(DMPAPER_LETTER, letter.paperWidthTwips, letter.paperHeightTwips));
    letter.orientation = DMORIENT_LANDSCAPE;
    SetCurrentSettings(letter);
    const win::HDC info = CurrentInformationContext();
    EXPECT_EQ(win::GetDeviceCaps(info, win::PHYSICALOFFSETX), 118);  // 10 mm at 300 dpi
    EXPECT_EQ(win::GetDeviceCaps(info, win::PHYSICALWIDTH), 3300);   // 11 inches across

    auto job = StartCurrentDoc("letter");
    ASSERT_TRUE(job);
    // The context starts at the printable area: its (0, 0) is 10 mm into the sheet.
    EXPECT_EQ(win::GetDeviceCaps(job->PageDC(), win::HORZRES), 3300 - 2 * 118);
    Blacken(job->PageDC(), 0, 0, 60, 60);
    ASSERT_TRUE(job->EndDoc());
    const std::string pdf = Pdf("letter");
    EXPECT_EQ(testing::PageSizes(pdf), (std::vector<std::string>{"792 x 612"}));
    const auto page = testing::RenderPage(pdf, 1, 100, folder_.path().string());
    ASSERT_EQ(page.width, 1100);
    EXPECT_GT(page.grey(20, 20), 200);  // the margin stays white
    EXPECT_LT(page.grey(45, 45), 60);   // 10 mm = 39 pixels in, then 20 pixels of black
    EXPECT_GT(page.grey(65, 45), 200);
}

TEST(PrintSystemTest, WithoutAPrintSystemThereIsNoPrinter) {
    InstallPrintSystem(nullptr);
    EXPECT_FALSE(HasCurrentPrinter());
    EXPECT_TRUE(InstalledPrinters().empty());
    EXPECT_EQ(StartCurrentDoc("x"), nullptr);
    EXPECT_FALSE(ShowPrintDialog({}).has_value());
    EXPECT_FALSE(MakeCurrent(kFilePrinterName));
    EXPECT_EQ(CurrentInformationContext(), win::HDC{});
}

}  // namespace
}  // namespace print

namespace print {
namespace {

// A queue of CUPS's PDF printer (cups-pdf), when the machine has one.
TEST(CupsPrinterTest, AJobToTheCupsPdfQueueIsTaken) {
    QtPrintSystemOptions options;
    options.filePrinterFolder = std::filesystem::temp_directory_path().string();
    auto system = MakeQtPrintSystem(options);
    std::string queue;
    for (const auto& p : system->Printers()) {
        if (p.deviceName != kFilePrinterName && p.deviceName.find("PDF") != std::string::npos) queue = p.deviceName;
    }
    if (queue.empty()) GTEST_SKIP() << "no CUPS queue of cups-pdf on this machine (printer-driver-cups-pdf and cupsd)";
    InstallPrintSystem(system);
    ASSERT_TRUE(MakeCurrent(queue));
    auto job = StartCurrentDoc("scanvelt cups test");
    ASSERT_TRUE(job);
    EXPECT_TRUE(job->EndDoc());
    InstallPrintSystem(nullptr);
}

}  // namespace
}  // namespace print
