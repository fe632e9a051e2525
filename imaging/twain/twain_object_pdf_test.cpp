// The PDF members as a late-bound host reaches them: by their published
// dispatch IDs, arguments as variants in reverse order, defaults left out.
#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/twain_object.h"
#include "platform/com/variant.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;
using testing_support::ExpectQpdfCheckPasses;
using testing_support::Quoted;
using testing_support::RunTool;

constexpr DISPID kSaveAsPDF = 0x60030058;
constexpr DISPID kSaveAsPDFA = 0x60030059;
constexpr DISPID kSaveAsPDFEx = 0x60030130;
constexpr DISPID kSaveAsPDFAEx = 0x60030131;
constexpr DISPID kPdfCreateRights = 0x6003013b;
constexpr DISPID kTwainPdfStart = 0x60030075;
constexpr DISPID kTwainPdfStartEx = 0x60030133;
constexpr DISPID kTwainAddMorvalenImageToPdf = 0x60030076;
constexpr DISPID kTwainPdfStop = 0x60030077;

class TwainObjectPdfTest : public testing_support::PdfWriterTest {
protected:
    void SetUp() override {
        PdfWriterTest::SetUp();
        ASSERT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain_)), S_OK);
    }
    void TearDown() override {
        if (twain_) EXPECT_EQ(twain_->Release(), 0u);
        PdfWriterTest::TearDown();
    }
    // Invokes `id` with `arguments` in the host's order; the result as a variant.
    // Every result here is a number or a Boolean: nothing to free.
    VARIANT call(DISPID id, std::vector<VARIANT> arguments) {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(twain_->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
        for (auto& v : reversed) VariantClear(&v);
        return result;
    }
    VARIANT text(const std::string& value) { return MakeBstr(win::Utf8ToUtf16(value)); }
    TwainControl& control() { return static_cast<TwainObject*>(twain_)->control(); }
    int32_t colourPage(int32_t width, int32_t height, float dpi) {
        const int32_t id = testing_support::RegisterBitmap(width, height, gdiplus::PixelFormat24bppRGB);
        auto* bitmap = static_cast<gdiplus::Bitmap*>(NativeBitmapOf(id));
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) bitmap->SetPixel(x, y, (x + y) % 16 < 8 ? 0xFF204080 : 0xFFFFFFFF);
        bitmap->SetResolution(dpi, dpi);
        return id;
    }

    IDispatch* twain_ = nullptr;
};

TEST_F(TwainObjectPdfTest, OnePageMembersTakeTheirArgumentsInTheirDeclaredOrder) {
    control().setCurrentImage(colourPage(150, 100, 50));
    const std::string plain = File("plain.pdf"), pdfa = File("pdfa.pdf"), secret = File("secret.pdf"),
                      pdfaEx = File("pdfa-ex.pdf");
    // sFilePath, sTitle, sCreator, sAuthor, sProducer.
    VARIANT saved = call(kSaveAsPDF, {text(plain), text("Title"), text("Creator"), text("Author"), text("Producer")});
    EXPECT_EQ(saved.vt, VT_BOOL);
    EXPECT_EQ(saved.boolVal, VARIANT_TRUE);
    const std::string info = RunTool("pdfinfo " + Quoted(plain)).Output;
    EXPECT_NE(info.find("Title:           Title\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Creator:         Creator\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Author\n"), std::string::npos) << info;
    EXPECT_EQ(info.find("Producer:        Producer"), std::string::npos) << info;
    EXPECT_NE(info.find("Page size:       216 x 144 pts"), std::string::npos) << info;

    EXPECT_EQ(call(kSaveAsPDFA, {text(pdfa)}).boolVal, VARIANT_TRUE);
    EXPECT_NE(RunTool("pdfinfo " + Quoted(pdfa)).Output.find("Creator:         Morvalen ToolKit\n"), std::string::npos);
    EXPECT_EQ(testing_support::ReadBytes(pdfa).rfind("%PDF-1.4\r%\xE2\xE3\xCF\xD3", 0), 0u);

    // sFilePath, sTitle, sAuthor, sSubject, sKeywords, sCreator, nPdfEncryption, nPDFRight, passwords.
    const VARIANT rights = call(kPdfCreateRights, {MakeBool(true), MakeBool(false), MakeBool(true), MakeBool(false),
                                                   MakeBool(false), MakeBool(false), MakeBool(false), MakeBool(true)});
    EXPECT_EQ(rights.vt, VT_I4);
    EXPECT_EQ(rights.lVal, 131);
    EXPECT_EQ(call(kSaveAsPDFEx, {text(secret), text("T"), text("A"), text("S"), text("K"), text("C"), MakeI4(2),
                                  MakeI4(rights.lVal), text("user"), text("owner")})
                  .boolVal,
              VARIANT_TRUE);
    ExpectQpdfCheckPasses(secret, "user");
    ExpectQpdfCheckPasses(secret, "owner");
    EXPECT_NE(RunTool("qpdf --check " + Quoted(secret) + " 2>&1").Status, 0);
    const std::string secretInfo = RunTool("pdfinfo -upw user " + Quoted(secret)).Output;
    EXPECT_NE(secretInfo.find("Subject:         S\n"), std::string::npos) << secretInfo;
    EXPECT_NE(secretInfo.find("Keywords:        K\n"), std::string::npos) << secretInfo;

    EXPECT_EQ(call(kSaveAsPDFAEx, {text(pdfaEx), text("T")}).boolVal, VARIANT_TRUE);
    ExpectQpdfCheckPasses(pdfaEx);
}

TEST_F(TwainObjectPdfTest, AThreePageSessionGivesOneDocumentOfThreePages) {
    const std::string path = File("three.pdf");
    EXPECT_EQ(call(kTwainPdfStart, {text(path)}).lVal, OK);
    for (const auto& [width, height, dpi] : {std::tuple{200, 300, 100.0f}, {300, 200, 150.0f}, {400, 400, 200.0f}}) {
        const int32_t page = colourPage(width, height, dpi);
        const VARIANT added = call(kTwainAddMorvalenImageToPdf, {MakeI4(page)});
        EXPECT_EQ(added.vt, VT_I4);
        EXPECT_EQ(added.lVal, OK);
    }
    EXPECT_EQ(call(kTwainPdfStop, {}).lVal, OK);
    ExpectQpdfCheckPasses(path);
    const std::string info = RunTool("pdfinfo -f 1 -l 3 " + Quoted(path)).Output;
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    1 size:  144 x 216 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    2 size:  144 x 96 pts"), std::string::npos) << info;
    EXPECT_NE(info.find("Page    3 size:  144 x 144 pts"), std::string::npos) << info;

    // The Ex start with encryption; add and stop without a document answer 35.
    const std::string secret = File("secret-session.pdf");
    EXPECT_EQ(call(kTwainPdfStartEx, {text(secret), text(""), text(""), text(""), text(""), text(""), MakeI4(1),
                                      MakeI4(-1), text("u"), text("o")})
                  .lVal,
              OK);
    EXPECT_EQ(call(kTwainAddMorvalenImageToPdf, {MakeI4(colourPage(50, 50, 72))}).lVal, OK);
    EXPECT_EQ(call(kTwainPdfStop, {}).lVal, OK);
    ExpectQpdfCheckPasses(secret, "u");
    EXPECT_EQ(call(kTwainAddMorvalenImageToPdf, {MakeI4(colourPage(50, 50, 72))}).lVal, TwainPdfMustBeCreatedFirst);
    EXPECT_EQ(call(kTwainPdfStop, {}).lVal, TwainPdfMustBeCreatedFirst);
}

}  // namespace
}  // namespace scanvelt
