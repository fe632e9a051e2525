#include "plugins/mvpdfplug/mvpdfplug.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/files/testing/scratch_folder.h"
#include "platform/files/testing/working_folder.h"
#include "platform/win/text_encoding.h"
#include "plugins/mvpdfplug/object_numbers.h"
#include "plugins/mvpdfplug/testing/form_field_pdf.h"
#include "plugins/mvpdfplug/testing/sample_pdfs.h"

namespace mvpdfplug {
namespace {

using files::testing::ScratchFolder;

int32_t load(const std::string& path) { return MVPDFPLUG_LoadFromFileW(win::Utf8ToUtf16(path).c_str()); }
std::string text(const char16_t* t) { return win::Utf16ToUtf8(t); }

// A page rendered by the plug-in, freed with it.
struct Rendered {
    MvpdfplugImage* image = nullptr;
    ~Rendered() { MVPDFPLUG_FreeImage(image); }
    // The blue byte of a pixel (the pages are grey: 0 black, 255 white).
    int at(int x, int y) const { return image->pixels[static_cast<size_t>(y) * image->stride + x * 4]; }
};

bool tool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

TEST(PdfPlugin, OpensPagesWithTheirSizesAndRendersThemAtTheAskedResolution) {
    ScratchFolder folder;
    const std::string file = folder.file("boxes.pdf");
    testing::writeBoxPages(file, {{612, 792}, {595.2, 841.8}});
    const int32_t pdf = load(file);
    ASSERT_NE(pdf, 0);
    EXPECT_EQ(MVPDFPLUG_HasEncryption(pdf), 0);
    EXPECT_EQ(MVPDFPLUG_PageCount(pdf), 2);
    EXPECT_EQ(MVPDFPLUG_PageWidth(pdf), 0) << "no page selected yet";
    ASSERT_EQ(MVPDFPLUG_SelectPage(pdf, 2), 1);
    EXPECT_DOUBLE_EQ(MVPDFPLUG_PageWidth(pdf), 595.2);
    EXPECT_DOUBLE_EQ(MVPDFPLUG_PageHeight(pdf), 841.8);
    ASSERT_EQ(MVPDFPLUG_SelectPage(pdf, 1), 1);
    EXPECT_EQ(MVPDFPLUG_SelectPage(pdf, 3), 0);
    EXPECT_EQ(MVPDFPLUG_SelectPage(pdf, 0), 0);

    // At 144 dpi the box of 72..144 points lies at pixels 144..288.
    Rendered page;
    ASSERT_EQ(MVPDFPLUG_Rasterize(pdf, 144, &page.image, 1224, 1584, 0, 1), 1);
    ASSERT_NE(page.image, nullptr);
    EXPECT_EQ(page.image->width, 1224);
    EXPECT_EQ(page.image->height, 1584);
    EXPECT_EQ(page.at(200, 200), 0);
    EXPECT_EQ(page.at(100, 100), 255);
    EXPECT_EQ(page.at(300, 200), 255);
    EXPECT_EQ(page.image->pixels[3], 255) << "opaque";

    EXPECT_EQ(text(MVPDFPLUG_GetDescriptionW(pdf, 2)), "Boxes");
    EXPECT_EQ(text(MVPDFPLUG_GetDescriptionW(pdf, 1)), "Ostrelle tests");
    EXPECT_EQ(text(MVPDFPLUG_GetDescriptionW(pdf, 0)).rfind("PDF-1.", 0), 0u);
    EXPECT_EQ(text(MVPDFPLUG_GetDescriptionW(pdf, 9)), "");
    EXPECT_EQ(MVPDFPLUG_Close(pdf), 1);
    EXPECT_EQ(MVPDFPLUG_Close(pdf), 0);
    EXPECT_EQ(MVPDFPLUG_PageCount(pdf), 0) << "a closed handle is refused";
}

TEST(PdfPlugin, SizesBeyondWhatItRendersAreRefusedBeforeAnyAllocation) {
    ScratchFolder folder;
    const std::string file = folder.file("boxes.pdf");
    testing::writeBoxPages(file, {{612, 792}});
    const int32_t pdf = load(file);
    ASSERT_EQ(MVPDFPLUG_SelectPage(pdf, 1), 1);
    MvpdfplugImage* image = reinterpret_cast<MvpdfplugImage*>(1);
    // A poster of 200 x 200 inches at 600 dpi.
    EXPECT_EQ(MVPDFPLUG_Rasterize(pdf, 600, &image, 120000, 120000, 0, 1), 0);
    EXPECT_EQ(image, nullptr);
    for (auto [w, h, reserved, dpi] : {std::tuple{0, 10, 0, 72.0}, {10, -1, 0, 72.0}, {10, 10, 1, 72.0},
                                       {10, 10, 0, 0.0}, {40000, 10, 0, 72.0}}) {
        EXPECT_EQ(MVPDFPLUG_Rasterize(pdf, dpi, &image, w, h, reserved, 1), 0) << w << "x" << h;
        EXPECT_EQ(image, nullptr);
    }
    EXPECT_EQ(MVPDFPLUG_Rasterize(pdf, 72, nullptr, 10, 10, 0, 1), 0);
    MVPDFPLUG_Close(pdf);
}

TEST(PdfPlugin, FormFieldsAreDrawnOnlyWhenAsked) {
    ScratchFolder folder;
    const std::string file = folder.write("form.pdf", testing::formFieldPdf());
    const int32_t pdf = load(file);
    ASSERT_NE(pdf, 0);
    ASSERT_EQ(MVPDFPLUG_SelectPage(pdf, 1), 1);
    Rendered with, without;
    ASSERT_EQ(MVPDFPLUG_Rasterize(pdf, 72, &with.image, 200, 200, 0, 1), 1);
    ASSERT_EQ(MVPDFPLUG_Rasterize(pdf, 72, &without.image, 200, 200, 0, 0), 1);
    EXPECT_EQ(with.at(100, 100), 0) << "the field's box";
    EXPECT_EQ(without.at(100, 100), 255);
    MVPDFPLUG_Close(pdf);
}

// A relative name is read against the working folder when it is opened, not
// later against whatever the working folder has become.
TEST(PdfPlugin, RelativeNamesOpenAgainstTheWorkingFolder) {
    ScratchFolder folder;
    testing::writeBoxPages(folder.file("page.pdf"), {{612, 792}});
    std::filesystem::create_directory(folder.path() / "sub");
    testing::writeBoxPages(folder.file("sub/page.pdf"), {{300, 200}});
    const struct {
        const char* name;
        double width;
    } cases[] = {{"page.pdf", 612}, {"./page.pdf", 612}, {"sub/page.pdf", 300}, {"sub/../page.pdf", 612}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t pdf = 0;
        {
            files::testing::WorkingFolder here(folder.path());
            pdf = load(c.name);
        }
        ASSERT_NE(pdf, 0);
        EXPECT_EQ(MVPDFPLUG_PageCount(pdf), 1);
        ASSERT_EQ(MVPDFPLUG_SelectPage(pdf, 1), 1);
        EXPECT_DOUBLE_EQ(MVPDFPLUG_PageWidth(pdf), c.width);
        MVPDFPLUG_Close(pdf);
    }
}

TEST(PdfPlugin, AnEncryptedDocumentOpensItsPagesOnlyWithItsPassword) {
    if (!tool("command -v qpdf")) GTEST_SKIP() << "qpdf is not installed";
    ScratchFolder folder;
    testing::writeBoxPages(folder.file("plain.pdf"), {{612, 792}});
    ASSERT_TRUE(tool("qpdf --encrypt 'user pw' owner 256 -- " + folder.file("plain.pdf") + " " + folder.file("locked.pdf")));
    const int32_t pdf = load(folder.file("locked.pdf"));
    ASSERT_NE(pdf, 0) << "a locked document opens as a handle that asks for its password";
    EXPECT_EQ(MVPDFPLUG_HasEncryption(pdf), 1);
    EXPECT_EQ(MVPDFPLUG_PageCount(pdf), 0);
    EXPECT_EQ(MVPDFPLUG_SelectPage(pdf, 1), 0);
    EXPECT_EQ(MVPDFPLUG_SetPasswordW(pdf, u"wrong"), 0);
    EXPECT_EQ(MVPDFPLUG_SetPasswordW(pdf, u""), 0);
    EXPECT_EQ(MVPDFPLUG_SetPasswordW(pdf, u"user pw"), 1);
    EXPECT_EQ(MVPDFPLUG_HasEncryption(pdf), 0);
    EXPECT_EQ(MVPDFPLUG_PageCount(pdf), 1);
    MVPDFPLUG_Close(pdf);
}

TEST(PdfPlugin, RotatedPagesGiveTheirSizeBeforeTurningAndRenderTurned) {
    if (!tool("command -v qpdf")) GTEST_SKIP() << "qpdf is not installed";
    ScratchFolder folder;
    testing::writeBoxPages(folder.file("plain.pdf"), {{200, 100}});
    ASSERT_TRUE(tool("qpdf " + folder.file("plain.pdf") + " --rotate=+90:1 " + folder.file("turned.pdf")));
    const int32_t pdf = load(folder.file("turned.pdf"));
    ASSERT_EQ(MVPDFPLUG_SelectPage(pdf, 1), 1);
    EXPECT_EQ(MVPDFPLUG_PageRotation(pdf), 90);
    EXPECT_DOUBLE_EQ(MVPDFPLUG_PageWidth(pdf), 200);
    EXPECT_DOUBLE_EQ(MVPDFPLUG_PageHeight(pdf), 100);
    Rendered page;
    ASSERT_EQ(MVPDFPLUG_Rasterize(pdf, 72, &page.image, 100, 200, 0, 1), 1);
    // Turned clockwise, the box at x 72..144, y 72..100 (cut by the page)
    // lies at x 0..28, y 72..144.
    EXPECT_EQ(page.at(10, 100), 0);
    EXPECT_EQ(page.at(60, 100), 255);
    MVPDFPLUG_Close(pdf);
}

TEST(PdfPlugin, FilesThatAreNoPdfOrCutShortNeverCrash) {
    ScratchFolder folder;
    testing::writeBoxPages(folder.file("whole.pdf"), {{612, 792}, {612, 792}});
    std::ifstream in(folder.file("whole.pdf"), std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(load(folder.write("empty.pdf", "")), 0);
    EXPECT_EQ(load(folder.write("text.pdf", "just some text")), 0);
    EXPECT_EQ(load(folder.file("missing.pdf")), 0);
    EXPECT_EQ(MVPDFPLUG_LoadFromFileW(nullptr), 0);
    for (size_t keep : {size_t{9}, whole.size() / 3, whole.size() / 2, whole.size() - 30}) {
        const int32_t pdf = load(folder.write("cut.pdf", whole.substr(0, keep)));
        if (pdf == 0) continue;  // refused as unreadable
        // What poppler rebuilds of a cut file is read as far as it goes.
        for (int page = 1; page <= MVPDFPLUG_PageCount(pdf); ++page) {
            if (MVPDFPLUG_SelectPage(pdf, page) != 1) continue;
            Rendered rendered;
            MVPDFPLUG_Rasterize(pdf, 36, &rendered.image, 306, 396, 0, 1);
        }
        MVPDFPLUG_Close(pdf);
    }
}

// poppler sizes its cross-reference table by the largest object number it
// meets: a damaged file claiming a billion objects is refused before it reads it.
TEST(PdfPlugin, AFileClaimingFarMoreObjectsThanItHoldsIsRefused) {
    EXPECT_EQ(LargestObjectNumber("1 0 obj << >> endobj\n12 0 obj\n7\nendobj trailer << /Size 13 >>"), 13u);
    EXPECT_EQ(LargestObjectNumber("%PDF-1.4\n999999999 0 obj"), 999999999u);
    EXPECT_EQ(LargestObjectNumber("<< /Size  4000000000 >>"), 4000000000u);
    EXPECT_EQ(LargestObjectNumber("no objects, obj alone"), 0u);

    ScratchFolder folder;
    testing::writeBoxPages(folder.file("whole.pdf"), {{612, 792}});
    const int32_t sound = load(folder.file("whole.pdf"));
    EXPECT_NE(sound, 0);
    MVPDFPLUG_Close(sound);
    EXPECT_EQ(load(folder.write("huge.pdf", "%PDF-1.4\n999999999 0 obj\n<< >>\nendobj\n")), 0);
}

}  // namespace
}  // namespace mvpdfplug
