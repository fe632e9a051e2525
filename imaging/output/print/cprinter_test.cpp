#include "imaging/output/print/cprinter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <optional>
#include <filesystem>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/pdf_plugin.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/print/qt_print_system.h"
#include "platform/print/testing/pdf_pages.h"
#include "platform/win/gdi_bitmap.h"

namespace scanvelt {
namespace {

namespace fs = std::filesystem;

// A registered picture of width x height pixels at `dpi`: black, or black on
// its left half and white on its right half.
int32_t Picture(int32_t width, int32_t height, float dpi, bool halfWhite = false) {
    const int32_t id = testing_support::RegisterBitmap(width, height, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) pixels.push_back(halfWhite && x >= width / 2 ? 0xFFFFFFFFu : 0xFF000000u);
    }
    testing_support::SetPixels(id, pixels);
    SetImageResolution(id, dpi, dpi, false);
    return id;
}

// The dark part of a page in millimetres: left, top, right, bottom.
struct Box {
    double left = 1e9, top = 1e9, right = -1, bottom = -1;
};
Box DarkBox(const print::testing::Raster& page) {
    Box box;
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            if (page.grey(x, y) >= 128) continue;
            box.left = std::min(box.left, x / 2.0);
            box.top = std::min(box.top, y / 2.0);
            box.right = std::max(box.right, (x + 1) / 2.0);
            box.bottom = std::max(box.bottom, (y + 1) / 2.0);
        }
    }
    return box;
}

class CPrinterTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Install(0.0);
    }
    void TearDown() override {
        print::InstallPrintSystem(nullptr);
        EngineTest::TearDown();
    }
    void Install(double marginMm) {
        print::QtPrintSystemOptions options;
        options.filePrinterFolder = folder_.path().string();
        options.systemPrinters = false;
        options.filePrinterMarginMm = marginMm;
        print::InstallPrintSystem(print::MakeQtPrintSystem(options));
    }
    // What the file printer wrote for the printer's document name.
    std::string Printed() { return folder_.file(printer_.m_DocumentName + ".pdf"); }
    // Page `page` at 50.8 dpi: two pixels per millimetre.
    print::testing::Raster Rendered(int page = 1) {
        return print::testing::RenderPage(Printed(), page, 50.8, folder_.path().string());
    }

    files::testing::ScratchFolder folder_{"cprinter"};
    cPrinter printer_;
};

TEST_F(CPrinterTest, PrintsAtTheGivenPlaceAndSizeOnThePaper) {
    printer_.m_DocumentName = "placed";
    printer_.PrintImageBySize(Picture(100, 50, 96), 20, 30, 100, 50);
    EXPECT_EQ(printer_.GetPrinterStat(), PrinterOK);
    EXPECT_EQ(print::testing::PageSizes(Printed()), (std::vector<std::string>{"595 x 842"}));
    const Box box = DarkBox(Rendered());
    EXPECT_NEAR(box.left, 20, 1);
    EXPECT_NEAR(box.top, 30, 1);
    EXPECT_NEAR(box.right, 120, 1);
    EXPECT_NEAR(box.bottom, 80, 1);
}

TEST_F(CPrinterTest, FitAndShrinkKeepTheAspectRatioInsideThePrintableArea) {
    Install(10.0);  // printable area 190 x 277 mm from 10 mm in
    float left = 0, top = 0;
    printer_.GetMargins(left, top);
    EXPECT_NEAR(left, 10, 0.1);
    EXPECT_NEAR(top, 10, 0.1);
    struct Case {
        const char* name;
        int32_t width, height;  // pixels at 25.4 dpi: millimetres
        bool fit;
        double expectWidth, expectHeight;
    };
    const Case cases[] = {
        {"fit enlarges", 100, 50, true, 190, 95},
        {"fit reduces", 400, 1000, true, 111, 277},
        {"shrink by the smaller ratio", 270, 377, false, 190, 265},
        {"shrink a wide picture", 300, 100, false, 190, 63},
        {"small picture keeps its size", 100, 50, false, 100, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        printer_.m_DocumentName = std::string("fit ") + c.name;
        printer_.PrintImage(Picture(c.width, c.height, 25.4f), c.fit);
        ASSERT_EQ(printer_.GetPrinterStat(), PrinterOK);
        const Box box = DarkBox(Rendered());
        // The picture starts at the printable area's corner (alignment 3).
        EXPECT_NEAR(box.left, 10, 1);
        EXPECT_NEAR(box.top, 10, 1);
        EXPECT_NEAR(box.right - box.left, c.expectWidth, 1.5);
        EXPECT_NEAR(box.bottom - box.top, c.expectHeight, 1.5);
    }
}

TEST_F(CPrinterTest, AlignmentPlacesThePictureOnThePaper) {
    struct Case {
        int32_t alignment;
        double left, top;
    };
    // 100 x 50 mm on A4 (210 x 297 mm) at (20, 30).
    const Case cases[] = {{2, 55, 124}, {3, 20, 30}, {4, 20, 30}, {8, 110, 247}, {0, 20, 124}, {6, 55, 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        printer_.m_ImageAlignment = c.alignment;
        printer_.m_DocumentName = "aligned " + std::to_string(c.alignment);
        printer_.PrintImageBySize(Picture(100, 50, 96), 20, 30, 100, 50);
        const Box box = DarkBox(Rendered());
        EXPECT_NEAR(box.left, c.left, 1);
        EXPECT_NEAR(box.top, c.top, 1);
    }
}

TEST_F(CPrinterTest, AutomaticRotationTurnsAPictureThatDoesNotFitTheOrientation) {
    // Black left half, white right half; turned by 270 degrees the black half is at the bottom.
    const int32_t image = Picture(400, 300, 96, true);
    printer_.m_DocumentName = "unturned";
    printer_.PrintImageBySize(image, 0, 0, 400, 300);
    auto page = Rendered();
    EXPECT_LT(page.grey(200, 200), 128);  // (100, 100) mm: the black half
    printer_.m_AutomaticRotation = true;
    printer_.m_DocumentName = "turned";
    printer_.PrintImageBySize(image, 0, 0, 400, 300);
    page = Rendered();
    EXPECT_GT(page.grey(200, 200), 128);  // the white half is on top now
    EXPECT_LT(page.grey(200, 500), 128);  // (100, 250) mm
    // The caller's image is never turned.
    EXPECT_EQ(testing_support::SizeOf(image), std::make_pair(400, 300));
    // A picture that fits is left as it is.
    printer_.m_DocumentName = "small";
    printer_.PrintImageBySize(image, 0, 0, 100, 50);
    const Box box = DarkBox(Rendered());
    EXPECT_NEAR(box.right - box.left, 50, 1);
    EXPECT_NEAR(box.bottom - box.top, 50, 1);
}

TEST_F(CPrinterTest, PagesOfAMultiPageTiffInARange) {
    // Page n is n * 20 mm wide (at 25.4 dpi a pixel is a millimetre).
    const std::string tiff = folder_.file("three.tif");
    const int32_t first = Picture(20, 10, 25.4f);
    ASSERT_EQ(TiffMultiPageStart(first, tiff, 6), OK);
    for (int32_t n = 2; n <= 3; ++n) ASSERT_EQ(TiffMultiPageAdd(first, Picture(20 * n, 10, 25.4f)), OK);
    ASSERT_EQ(ReleaseImage(first), OK);
    int32_t image = 0;
    ASSERT_EQ(LoadImageFromFile(image, tiff, false, false, true, 0, true, false), OK);

    std::vector<std::pair<int32_t, int32_t>> events;
    printer_.PrintPage = [&](int32_t& page, int32_t& left) { events.emplace_back(page, left); };
    printer_.SetFromToPage(2, 7);
    printer_.m_DocumentName = "tiff range";
    printer_.PrintImageBySize(image, 0, 0, 0, 0);
    EXPECT_EQ(printer_.GetPrinterStat(), PrinterOK);
    EXPECT_EQ(events, (std::vector<std::pair<int32_t, int32_t>>{{2, 1}, {3, 0}}));
    ASSERT_EQ(print::testing::PageSizes(Printed()).size(), 2u);
    const Box second = DarkBox(Rendered(1));
    const Box third = DarkBox(Rendered(2));
    EXPECT_NEAR(second.right - second.left, 40, 1);
    EXPECT_NEAR(third.right - third.left, 60, 1);
}

TEST_F(CPrinterTest, PaperSizeAndOrientationShapeThePrintedPage) {
    printer_.SetUserPaperSize(100, 150);
    EXPECT_NEAR(printer_.GetPaperWidth(), 100, 0.01);
    EXPECT_NEAR(printer_.GetPaperHeight(), 150, 0.01);
    EXPECT_EQ(printer_.GetpaperSize(), print::DMPAPER_USER);
    printer_.m_DocumentName = "card";
    printer_.PrintImageBySize(Picture(10, 10, 96), 0, 0, 10, 10);
    EXPECT_EQ(print::testing::PageSizes(Printed()), (std::vector<std::string>{"283 x 425"}));

    printer_.SetPaperSize(print::DMPAPER_A4);
    printer_.SetOrientation(print::DMORIENT_LANDSCAPE);
    EXPECT_NEAR(printer_.GetPaperWidth(), 297, 0.05);
    printer_.m_DocumentName = "landscape";
    printer_.PrintImageBySize(Picture(10, 10, 96), 0, 0, 10, 10);
    EXPECT_EQ(print::testing::PageSizes(Printed()), (std::vector<std::string>{"842 x 595"}));
}

// A five-page PDF whose page n carries a black bar n * 20 mm from the top.
std::string FivePagePdf(const std::string& path) {
    QPdfWriter writer(QString::fromStdString(path));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int n = 1; n <= 5; ++n) {
        if (n > 1) writer.newPage();
        const double mm = 72 / 25.4;
        painter.fillRect(QRectF(20 * mm, n * 20 * mm, 100 * mm, 10 * mm), Qt::black);
    }
    painter.end();
    return path;
}

class CPrinterPdfTest : public CPrinterTest {
protected:
    void SetUp() override {
        CPrinterTest::SetUp();
        SetPdfPluginFile(MVPDFPLUG_LIBRARY);
        document_ = PdfPluginLoad(FivePagePdf(folder_.file("five.pdf")));
        ASSERT_GT(document_, 0);
        printer_.m_PDFMode = true;
        printer_.ForceResolution(100, 100);
        printer_.PrintPage = [this](int32_t& page, int32_t& left) { events_.emplace_back(page, left); };
    }
    void TearDown() override {
        BoundPdfPlugin().Close(document_);
        SetPdfPluginFile("");
        CPrinterTest::TearDown();
    }
    // The page of the document that printed page `printed` shows.
    int BarOf(int printed) {
        const Box box = DarkBox(Rendered(printed));
        return static_cast<int>(std::lround(box.top / 20));
    }

    int32_t document_ = 0;
    std::vector<std::pair<int32_t, int32_t>> events_;
};

TEST_F(CPrinterPdfTest, PagesOfARangeWithTheirEvents) {
    printer_.m_DocumentName = "single";
    printer_.PrintImageBySize(document_, 0, 0, 0, 0);
    EXPECT_EQ(printer_.GetPrinterStat(), PrinterOK);
    EXPECT_EQ(events_, (std::vector<std::pair<int32_t, int32_t>>{{1, 0}}));
    EXPECT_EQ(print::testing::PageSizes(Printed()).size(), 1u);
    EXPECT_EQ(BarOf(1), 1);

    events_.clear();
    printer_.SetFromToPage(2, 4);
    printer_.m_DocumentName = "range";
    printer_.PrintImageBySize(document_, 0, 0, 0, 0);
    EXPECT_EQ(events_, (std::vector<std::pair<int32_t, int32_t>>{{2, 2}, {3, 1}, {4, 0}}));
    ASSERT_EQ(print::testing::PageSizes(Printed()).size(), 3u);
    EXPECT_EQ(BarOf(1), 2);
    EXPECT_EQ(BarOf(3), 4);

    events_.clear();
    printer_.SetFromToPage(3, 9);
    printer_.m_DocumentName = "lowered";
    printer_.PrintImageBySize(document_, 0, 0, 0, 0);
    EXPECT_EQ(events_, (std::vector<std::pair<int32_t, int32_t>>{{3, 2}, {4, 1}, {5, 0}}));
    EXPECT_EQ(printer_.lastPage(), 5);

    printer_.SetFromToPage(0, 0);
    EXPECT_FALSE(printer_.IsSetFromTo());
    EXPECT_EQ(printer_.firstPage(), 3);
    EXPECT_EQ(printer_.lastPage(), 5);
}

TEST_F(CPrinterPdfTest, APageThatCannotBeSelectedStopsTheJobWithItsStatus) {
    printer_.SetFromToPage(4, 9);
    printer_.m_DocumentName = "stopped";
    printer_.PrintImageBySize(12345, 0, 0, 0, 0);  // no such document
    EXPECT_NE(printer_.GetPrinterStat(), PrinterOK);
    EXPECT_TRUE(events_.empty());
}

// A print system of printers that draw nowhere, a dialog that answers from a script.
class FakePrintSystem : public print::PrintSystem {
public:
    struct Job : print::PrintJob {
        explicit Job(FakePrintSystem& owner) : owner(owner) {
            dc = win::CreateCompatibleDC(win::HDC{});
            win::BitmapInfoHeader header;
            header.width = 210;
            header.height = -297;
            header.bitCount = 32;
            void* bits = nullptr;
            bitmap = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
            previous = win::SelectObject(dc, bitmap);
            win::DeviceCaps caps;
            caps.dpiX = caps.dpiY = 25;
            win::SetDeviceCaps(dc, caps);
        }
        ~Job() override {
            win::SelectObject(dc, previous);
            win::DeleteDC(dc);
            win::DeleteObject(bitmap);
        }
        win::HDC PageDC() override { return dc; }
        bool NewPage() override { return ++owner.pages, true; }
        bool EndDoc() override { return ++owner.pages, ++owner.documents, true; }
        FakePrintSystem& owner;
        win::HDC dc{};
        win::HBITMAP bitmap{}, previous{};
    };

    std::vector<print::PrinterInfo> printers;
    std::optional<print::PrintDialogChoice> answer;
    print::PrintDialogRequest asked;
    int pages = 0, documents = 0;

    std::vector<print::PrinterInfo> Printers() override { return printers; }
    print::PrinterSettings DefaultSettings(const std::string& name) override {
        print::PrinterSettings s;
        s.deviceName = name;
        return s;
    }
    print::DeviceGeometry Geometry(const print::PrinterSettings&) override { return {25, 25, 0, 0}; }
    std::unique_ptr<print::PrintJob> StartDoc(const print::PrinterSettings&, const std::string&) override {
        return std::make_unique<Job>(*this);
    }
    std::optional<print::PrintDialogChoice> ShowPrintDialog(const print::PrintDialogRequest& request,
                                                            const print::PrinterSettings&) override {
        asked = request;
        return answer;
    }
};

class CPrinterSelectionTest : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        system_ = std::make_shared<FakePrintSystem>();
        system_->printers = {{"Office Laser 2", print::PrinterState::Idle, false},
                             {"Office Laser", print::PrinterState::Idle, true},
                             {"Jammed", print::PrinterState::Stopped, false}};
        print::InstallPrintSystem(system_);
    }
    void TearDown() override {
        print::InstallPrintSystem(nullptr);
        EngineTest::TearDown();
    }
    std::shared_ptr<FakePrintSystem> system_;
    cPrinter printer_;
};

TEST_F(CPrinterSelectionTest, SelectsByExactNameThenByBeginning) {
    EXPECT_EQ(printer_.GetDefaultPrinter(), "Office Laser");
    EXPECT_EQ(printer_.GetPrintersCount(), 3);
    EXPECT_EQ(printer_.GetPrinterName(1), "Office Laser 2");
    EXPECT_EQ(printer_.GetPrinterName(4), "");
    EXPECT_EQ(printer_.GetPrinterName(0), "");
    EXPECT_TRUE(printer_.SelectPrinter("  office laser 2 "));
    EXPECT_EQ(printer_.GetDefaultPrinter(), "Office Laser 2");
    EXPECT_TRUE(printer_.SelectPrinter("office laser"));
    EXPECT_EQ(printer_.GetDefaultPrinter(), "Office Laser");
    EXPECT_TRUE(printer_.SelectPrinter(" OFFICE"));
    EXPECT_EQ(printer_.GetDefaultPrinter(), "Office Laser 2");  // the first that begins with it
    EXPECT_FALSE(printer_.SelectPrinter("Plotter"));
    EXPECT_FALSE(printer_.PrintImage2Printer(Picture(4, 4, 96), "Plotter", false));
    EXPECT_EQ(system_->documents, 0);
    EXPECT_TRUE(printer_.PrintImage2Printer(Picture(4, 4, 96), "office laser", false));
    EXPECT_EQ(system_->documents, 1);
}

TEST_F(CPrinterSelectionTest, SettingsKeepOnlyValuesThePrinterTakes) {
    printer_.SetColorMode(1);
    printer_.SetColorMode(5);
    EXPECT_EQ(printer_.GetColorMode(), 1);
    printer_.SetCopies(3);
    EXPECT_EQ(printer_.GetCopies(), 3);
    EXPECT_TRUE(printer_.SetPaperBin(4));
    EXPECT_EQ(printer_.GetPaperBin(), 4);
    printer_.SetDuplexMode(2);
    EXPECT_EQ(printer_.GetDuplexMode(), 2);
    // Without a printer the getters answer 0 and nothing prints.
    print::InstallPrintSystem(nullptr);
    EXPECT_EQ(printer_.GetCopies(), 0);
    EXPECT_EQ(printer_.GetPaperWidth(), 0);
    EXPECT_EQ(printer_.GetDefaultPrinter(), "");
    EXPECT_FALSE(printer_.SetPaperBin(4));
    printer_.PrintImage(Picture(4, 4, 96), true);
    EXPECT_EQ(printer_.GetPrinterStat(), PrinterOK);
}

TEST_F(CPrinterSelectionTest, AStoppedPrinterFailsTheJob) {
    ASSERT_TRUE(printer_.SelectPrinter("jammed"));
    printer_.PrintImage(Picture(4, 4, 96), false);
    EXPECT_EQ(printer_.GetPrinterStat(), PrinterUnexpectedError);
    EXPECT_EQ(system_->documents, 0);
}

TEST_F(CPrinterSelectionTest, TheDialogsChoiceIsAppliedAndACancelChangesNothing) {
    const int32_t image = Picture(40, 40, 96);
    EXPECT_FALSE(printer_.PrintImageDialog(image, true, 0, 0, 0, 0, 0));
    EXPECT_EQ(system_->documents, 0);
    EXPECT_EQ(printer_.GetCopies(), 1);
    EXPECT_EQ(system_->asked.maxPage, 0);  // one page: no range offered

    print::PrintDialogChoice choice;
    choice.settings.deviceName = "Office Laser 2";
    choice.settings.copies = 2;
    choice.settings.orientation = print::DMORIENT_LANDSCAPE;
    choice.settings.colorMode = print::DMCOLOR_MONOCHROME;
    system_->answer = choice;
    EXPECT_TRUE(printer_.PrintImageDialog(image, true, 0, 0, 0, 0, 0));
    EXPECT_EQ(system_->documents, 1);
    EXPECT_EQ(printer_.GetDefaultPrinter(), "Office Laser 2");
    EXPECT_EQ(printer_.GetCopies(), 2);
    EXPECT_EQ(printer_.GetOrientation(), print::DMORIENT_LANDSCAPE);
    EXPECT_EQ(printer_.GetColorMode(), print::DMCOLOR_MONOCHROME);
    EXPECT_FALSE(printer_.IsSetFromTo());
}

}  // namespace
}  // namespace scanvelt
