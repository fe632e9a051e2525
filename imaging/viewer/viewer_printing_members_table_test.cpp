// The viewer's printing members called by dispatch ID, printing to a print
// system of the test's own at 50 dpi whose unprintable margins differ across
// and down (10 and 20 pixels a side): an A4 sheet gives pages of 393 x 544
// printable pixels, drawn from the printable corner. The picture shown is 200 x 100 pixels
// at 200 x 50 dpi: one inch wide and two high (50 x 100 printer pixels), so
// resolutions read the wrong way round, or a turn, give another shape. Each
// setting is read back and reaches the printer with the next job; each print
// member is proven by the sheet it produces.
#include <gtest/gtest.h>

#include "imaging/engine/pdf_plugin.h"
#include "imaging/viewer/testing/recording_print_system.h"
#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/files/testing/scratch_folder.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr DISPID kPrintPage = 23;

class ViewerPrintTable : public ViewerTable {
public:
    void SetUp() override {
        system = std::make_shared<RecordingPrintSystem>();
        system->printers.push_back({"Jammed", print::PrinterState::Stopped, false});
        system->geometry.offsetX = 10;  // unprintable margins of 5.08 and 10.16 mm
        system->geometry.offsetY = 20;
        print::InstallPrintSystem(system);
        ViewerTable::SetUp();
        relayed.clear();
        margins[0] = margins[1] = -1;
        picture = makeImage(200, 100, [](int32_t, int32_t) { return 0xFF000000u; }, 200, 50);
        ASSERT_EQ(callLong("SetNativeImage", {MakeI4(picture)}), 0);
        events.answer = [this](DISPID id, DISPPARAMS& p) {
            if (id == kPrintPage) relayed.push_back({p.rgvarg[1].lVal, p.rgvarg[0].lVal});
        };
    }
    void TearDown() override {
        events.answer = nullptr;
        ViewerTable::TearDown();
        ReleaseImage(picture);
        print::InstallPrintSystem(nullptr);
        SetPdfPluginFile("");
    }

    // The text of a row's result (the row clears it) or of a call's own (cleared here).
    static std::string text(const VARIANT& v) { return v.vt == VT_BSTR ? BstrToUtf8(v.bstrVal) : ""; }
    static std::string taken(VARIANT v) {
        std::string s = text(v);
        VariantClear(&v);
        return s;
    }
    // The one sheet of the one document printed, or a failure.
    const RecordingPrintSystem::Page* onlySheet() {
        EXPECT_EQ(system->documents.size(), 1u);
        if (system->documents.size() != 1) return nullptr;
        EXPECT_EQ(system->documents[0].pages.size(), 1u);
        return system->documents[0].pages.size() == 1 ? &system->documents[0].pages[0] : nullptr;
    }
    // The dark pixels of the only sheet span (left, top) to (right, bottom), within 2 pixels.
    void expectPrinted(int32_t left, int32_t top, int32_t right, int32_t bottom) {
        const RecordingPrintSystem::Page* sheet = onlySheet();
        if (!sheet) return;
        EXPECT_NEAR(sheet->left, left, 2);
        EXPECT_NEAR(sheet->top, top, 2);
        EXPECT_NEAR(sheet->right, right, 2);
        EXPECT_NEAR(sheet->bottom, bottom, 2);
    }

    std::shared_ptr<RecordingPrintSystem> system;
    files::testing::ScratchFolder scratch{"viewer-print-table"};
    int32_t picture = 0;
    std::vector<std::pair<int32_t, int32_t>> relayed;  // page, pages left after it
    float margins[2] = {-1, -1};                       // left, top, as PrintGetMargins gives them
};

ViewerPrintTable& P(ViewerTable& t) { return static_cast<ViewerPrintTable&>(t); }
void invoke(ViewerTable& t, const char* member, std::vector<VARIANT> args = {}) {
    VARIANT r = t.call(member, std::move(args));
    VariantClear(&r);
}

// ---- Settings: read back, and carried by the next job -------------------------

struct SettingRow {
    const char* member;  // the setter
    const char* getter;
    int32_t value;
    int32_t expected;  // read back and in the job's settings
    int16_t print::PrinterSettings::*field;
};

const SettingRow kSettingRows[] = {
    {"PrintSetCopies", "PrintGetCopies", 3, 3, &print::PrinterSettings::copies},
    {"PrintSetColorMode", "PrintGetColorMode", 1, 1, &print::PrinterSettings::colorMode},
    {"PrintSetColorMode", "PrintGetColorMode", 7, 2, &print::PrinterSettings::colorMode},  // no such mode
    {"PrintSetDuplexMode", "PrintGetDuplexMode", 3, 3, &print::PrinterSettings::duplex},
    {"PrintSetQuality", "PrintGetQuality", -3, -3, &print::PrinterSettings::printQuality},
    {"PrintSetPaperBin", "PrintGetPaperBin", 4, 4, &print::PrinterSettings::paperBin},
    {"PrintSetOrientation", "PrintGetOrientation", 2, 2, &print::PrinterSettings::orientation},
    {"PrintSetOrientation", "PrintGetOrientation", 3, 1, &print::PrinterSettings::orientation},  // no such one
    {"PrintSetStdPaperSize", "PrintGetPaperSize", 1, 1, &print::PrinterSettings::paperSize},
    {"PrintSetStdPaperSize", "PrintGetPaperSize", 42, 9, &print::PrinterSettings::paperSize},  // beyond 41: A4 stays
};

struct Named {
    const char* member;
};
template <size_t N>
std::vector<Named> gettersOf(const SettingRow (&rows)[N]) {
    std::vector<Named> names;
    for (const SettingRow& r : rows) names.push_back({r.getter});
    return names;
}
const bool kSettingRowsRegistered =
    RegisterMemberTable("_MvViewer", kSettingRows) && RegisterMemberTable("_MvViewer", gettersOf(kSettingRows));

TEST_F(ViewerPrintTable, EachSettingIsReadBackAndReachesThePrinter) {
    ASSERT_TRUE(kSettingRowsRegistered);
    for (const SettingRow& row : kSettingRows) {
        SCOPED_TRACE(std::string(row.member) + " " + std::to_string(row.value));
        TearDown();
        SetUp();
        invoke(*this, row.member, {MakeI4(row.value)});
        VARIANT read = ViewerTable::call(row.getter);
        VARIANT asLong;
        VariantInit(&asLong);
        ASSERT_EQ(VariantChangeType(&asLong, &read, 0, VT_I4), S_OK);
        EXPECT_EQ(asLong.lVal, row.expected);
        invoke(*this, "PrintImage");
        ASSERT_EQ(system->documents.size(), 1u);
        EXPECT_EQ(system->documents[0].settings.*row.field, row.expected);
    }
}

// ---- The rest: by the document, sheet and answers they produce ----------------

const ViewerRow kPrintRows[] = {
    // At its own size from the top left corner: 50 x 100 printer pixels.
    {"PrintImage", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         P(t).expectPrinted(0, 0, 49, 99);
         EXPECT_EQ(P(t).system->documents[0].printer, "Office Laser");
         EXPECT_EQ(P(t).relayed, (std::vector<std::pair<int32_t, int32_t>>{{1, 0}}));
     }},
    // Fitted to the printable 393 x 544 pixels: the height decides.
    {"PrintImageFit", kMethod, {}, nullptr, [](ViewerTable& t, const VARIANT&) { P(t).expectPrinted(0, 0, 271, 543); }},
    // 40 x 20 mm at (5, 10) mm.
    {"PrintImageBySize", kMethod, {5.0, 10.0, 40.0, 20.0}, nullptr,
     [](ViewerTable& t, const VARIANT&) { P(t).expectPrinted(10, 20, 88, 59); }},
    {"PrintImage2Printer", kMethod, {std::string("arch")}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         P(t).expectPrinted(0, 0, 49, 99);
         EXPECT_EQ(P(t).system->documents[0].printer, "Archive");
     }},
    {"PrintImage2Printer", kMethod, {std::string("Nowhere")}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_FALSE);
         EXPECT_TRUE(P(t).system->documents.empty());
     }},
    {"PrintImageBySize2Printer", kMethod, {std::string("Archive"), 5.0, 10.0, 40.0, 20.0}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         P(t).expectPrinted(10, 20, 88, 59);
         EXPECT_EQ(P(t).system->documents[0].printer, "Archive");
     }},
    // The dialog belongs to the viewer's window; a cancelled one prints nothing.
    {"PrintImageDialog", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         EXPECT_EQ(P(t).system->dialogOwners, std::vector<uint32_t>{uint32_t(t.get("hwnd").lVal)});
         P(t).expectPrinted(0, 0, 49, 99);
     }},
    {"PrintImageDialog", kMethod, {}, [](ViewerTable& t) { P(t).system->acceptDialog = false; },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_FALSE);
         EXPECT_EQ(P(t).system->dialogOwners.size(), 1u);
         EXPECT_TRUE(P(t).system->documents.empty());
     }},
    {"PrintImageDialogFit", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         P(t).expectPrinted(0, 0, 271, 543);
     }},
    {"PrintImageDialogBySize", kMethod, {5.0, 10.0, 40.0, 20.0}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         P(t).expectPrinted(10, 20, 88, 59);
     }},
    // Right and bottom: against the sheet's far corner (placed on the whole
    // sheet, so on a printer without margins, where the sheet is all printable).
    {"PrintSetImageAlignment", kMethod, {int32_t{8}},
     [](ViewerTable& t) { P(t).system->geometry = print::DeviceGeometry{50, 50, 0, 0}; },
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.callLong("PrintGetImageAlignment"), 8);
         invoke(t, "PrintImage");
         P(t).expectPrinted(413 - 50, 584 - 100, 412, 583);
     }},
    {"PrintGetImageAlignment", kMethod, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 3); }},
    // A picture too wide for the upright sheet (250 x 100 mm) is turned to
    // stand on it: 100 x 250 mm, 197 x 492 pixels. Unturned it is cut at the sheet's edge.
    {"PrintSetAutoRotation", kMethod, {true}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         invoke(t, "PrintImageBySize", {MakeR4(0), MakeR4(0), MakeR4(250), MakeR4(100)});
         P(t).expectPrinted(0, 0, 196, 491);
         P(t).system->documents.clear();
         invoke(t, "PrintSetAutoRotation", {MakeBool(false)});
         invoke(t, "PrintImageBySize", {MakeR4(0), MakeR4(0), MakeR4(250), MakeR4(100)});
         P(t).expectPrinted(0, 0, 392, 196);
     }},
    {"PrintSetUserPaperSize", kMethod, {100.0, 150.0}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_NEAR(t.call("PrintGetPaperWidth").fltVal, 100, 0.1);
         EXPECT_NEAR(t.call("PrintGetPaperHeight").fltVal, 150, 0.1);
         invoke(t, "PrintImage");
         const RecordingPrintSystem::Page* sheet = P(t).onlySheet();
         ASSERT_NE(sheet, nullptr);
         EXPECT_NEAR(sheet->width, 100 / 25.4 * 50 - 20, 1.5);
         EXPECT_NEAR(sheet->height, 150 / 25.4 * 50 - 40, 1.5);
     }},
    // Letter: 215.9 x 279.4 mm.
    {"PrintGetPaperWidth", kMethod, {}, [](ViewerTable& t) { invoke(t, "PrintSetStdPaperSize", {MakeI4(1)}); },
     [](ViewerTable&, const VARIANT& r) { EXPECT_NEAR(r.fltVal, 215.9, 0.1); }},
    {"PrintGetPaperHeight", kMethod, {}, [](ViewerTable& t) { invoke(t, "PrintSetStdPaperSize", {MakeI4(1)}); },
     [](ViewerTable&, const VARIANT& r) { EXPECT_NEAR(r.fltVal, 279.4, 0.1); }},
    {"PrintSetDocumentName", kMethod, {std::string("Bill 42")}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         invoke(t, "PrintImage");
         ASSERT_EQ(P(t).system->documents.size(), 1u);
         EXPECT_EQ(P(t).system->documents[0].name, "Bill 42");
     }},
    {"PrintGetDocumentName", kMethod, {},
     [](ViewerTable& t) { invoke(t, "PrintSetDocumentName", {MakeBstrUtf8("Petty cash 7")}); },
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(P(t).text(r), "Petty cash 7"); }},
    // The unprintable margins: 10 and 20 pixels at 50 dpi.
    {"PrintGetMargins", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_NEAR(P(t).margins[0], 5.08, 0.01);
         EXPECT_NEAR(P(t).margins[1], 10.16, 0.01);
     },
     [](ViewerTable& t) {
         std::vector<VARIANT> args(2);
         for (size_t i = 0; i < 2; ++i) {
             VariantInit(&args[i]);
             args[i].vt = VT_R4 | VT_BYREF;
             args[i].pfltVal = &P(t).margins[i];
         }
         return args;
     }},
    {"PrintGetPrintersCount", kMethod, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 3); }},
    {"PrintGetPrinterName", kMethod, {int32_t{1}}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(P(t).text(r), "Office Laser"); }},
    {"PrintGetPrinterName", kMethod, {int32_t{3}}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(P(t).text(r), "Jammed"); }},
    {"PrintSetActivePrinter", kMethod, {std::string("arch")}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_TRUE);
         EXPECT_EQ(P(t).taken(t.call("PrintGetActivePrinter")), "Archive");
         invoke(t, "PrintImage");
         ASSERT_EQ(P(t).system->documents.size(), 1u);
         EXPECT_EQ(P(t).system->documents[0].printer, "Archive");
     }},
    {"PrintSetActivePrinter", kMethod, {std::string("Nowhere")}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.boolVal, VARIANT_FALSE);
         EXPECT_EQ(P(t).taken(t.call("PrintGetActivePrinter")), "Office Laser");
     }},
    {"PrintGetActivePrinter", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) { EXPECT_EQ(P(t).text(r), "Office Laser"); }},
    // A stopped printer fails the job with 10 and gets nothing; the next good job clears it.
    {"PrintGetStat", kMethod, {},
     [](ViewerTable& t) {
         invoke(t, "PrintSetActivePrinter", {MakeBstrUtf8("Jammed")});
         invoke(t, "PrintImage");
     },
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 10);
         EXPECT_TRUE(P(t).system->documents.empty());
         invoke(t, "PrintSetActivePrinter", {MakeBstrUtf8("Office Laser")});
         invoke(t, "PrintImage");
         EXPECT_EQ(t.callLong("PrintGetStat"), 0);
     }},
    // Pages 2 and 3 of a PDF of four, each relayed with the pages left after it.
    {"PrintSetFromToPage", kMethod, {int32_t{2}, int32_t{3}},
     [](ViewerTable& t) {
         SetPdfPluginFile(MVPDFPLUG_LIBRARY);
         const std::string path = P(t).scratch.file("four.pdf");
         mvpdfplug::testing::writeBoxPages(path, {{216, 216}, {288, 216}, {216, 288}, {216, 216}});
         ASSERT_EQ(t.callLong("DisplayFromPdfFile", {MakeBstrUtf8(path), MakeBstrUtf8("")}), 0);
     },
     [](ViewerTable& t, const VARIANT&) {
         invoke(t, "PrintImage");
         ASSERT_EQ(P(t).system->documents.size(), 1u);
         EXPECT_EQ(P(t).system->documents[0].pages.size(), 2u);
         EXPECT_EQ(P(t).relayed, (std::vector<std::pair<int32_t, int32_t>>{{2, 1}, {3, 0}}));
         invoke(t, "CloseImage");
     }},
};
const bool kPrintRowsRegistered = RegisterMemberTable("_MvViewer", kPrintRows);

TEST_F(ViewerPrintTable, EachMemberPrintsOrAnswersAsItsRowSays) {
    ASSERT_TRUE(kPrintRowsRegistered);
    for (const ViewerRow& row : kPrintRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
