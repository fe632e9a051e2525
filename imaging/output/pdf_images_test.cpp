#include <gtest/gtest.h>

#include "imaging/engine/image_table.h"
#include "imaging/engine/save_memory.h"
#include "imaging/output/pdf_document.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "platform/gdiplus/bitmap.h"

namespace scanvelt {
namespace {

using testing_support::FixedServices;
using testing_support::ObjectText;
using testing_support::Quoted;
using testing_support::ReadBytes;
using testing_support::RunTool;

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kDarkBlue = 0xFF000080, kYellow = 0xFFFFFF00;

// A registered image of `format` whose pixels are given in that format
// (`rows`, rows back to back, `stride` bytes each), with its palette.
int32_t MakeImage(int32_t width, int32_t height, gdiplus::PixelFormat format, const std::vector<uint8_t>& rows,
                  int32_t stride, const std::vector<uint32_t>& palette = {}, float dpi = 200) {
    std::unique_ptr<gdiplus::Bitmap> bitmap;
    EXPECT_EQ(gdiplus::Bitmap::Create(width, height, format, bitmap), gdiplus::Ok);
    if (!palette.empty()) {
        gdiplus::ColorPalette entries;
        entries.Count = static_cast<uint32_t>(palette.size());
        std::copy(palette.begin(), palette.end(), entries.Entries.begin());
        EXPECT_EQ(bitmap->SetPalette(entries), gdiplus::Ok);
    }
    EXPECT_EQ(bitmap->WritePixels({0, 0, width, height}, format, stride, rows.data()), gdiplus::Ok);
    bitmap->SetResolution(dpi, dpi);
    int32_t id = 0;
    RegisterImage(id, std::move(bitmap), "", "", ImageKindMemory);
    return id;
}

// 40 x 30, red on the left half, blue on the right, as 24-bit B, G, R pixels.
int32_t MakeColourImage() {
    std::vector<uint8_t> rows;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (x < 20) rows.insert(rows.end(), {0, 0, 255});
            else rows.insert(rows.end(), {255, 0, 0});
        }
    }
    return MakeImage(40, 30, gdiplus::PixelFormat24bppRGB, rows, 120);
}

// 64 x 64, 1 bit: index 1 in the top half, index 0 in the bottom half.
int32_t MakeOneBitImage(const std::vector<uint32_t>& palette) {
    std::vector<uint8_t> rows(8 * 64, 0);
    std::fill(rows.begin(), rows.begin() + 8 * 32, 0xFF);
    return MakeImage(64, 64, gdiplus::PixelFormat1bppIndexed, rows, 8, palette);
}

std::vector<uint32_t> GreyRamp() {
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 256; ++i) ramp.push_back(0xFF000000 | i << 16 | i << 8 | i);
    return ramp;
}

class PdfImagesTest : public testing_support::PdfWriterTest {
protected:
    // A one-page document of the paper size of the image at 72 dpi, with the
    // image added by `add` drawn over the whole page.
    void WriteImagePage(const std::function<int32_t(cPDF&)>& add, bool compress = true, int32_t encryption = 0) {
        path_ = File("image.pdf");
        cPDF pdf(FixedServices(&messages_));
        ASSERT_TRUE(pdf.NewPdf(path_, "", "", "", "", "", encryption, -1, "user", "owner"));
        pdf.SetCompressData(compress);
        const int32_t image = add(pdf);
        ASSERT_EQ(image, 1);
        pdf.SetPaperWidth(static_cast<float>(pdf.ImageWidth(1)));
        pdf.SetPaperHeight(static_cast<float>(pdf.ImageHeight(1)));
        pdf.DrawImg(1, 0, 0, pdf.PaperWidth(), pdf.PaperHeight());
        pdf.DrawImg(2, 0, 0, 10, 10);  // no such image: nothing drawn
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
        testing_support::ExpectQpdfCheckPasses(path_, encryption ? "user" : "");
    }
    // pdfimages' line for the first image.
    std::string ImageList(const std::string& password = "") {
        const std::string list =
            RunTool("pdfimages -list " + (password.empty() ? "" : "-upw " + password + " ") + Quoted(path_)).Output;
        const size_t line = list.find("\n   1     0 image") != std::string::npos ? list.find("\n   1     0 image") : 0;
        return line == 0 ? list : list.substr(line + 1, list.find('\n', line + 1) - line - 1);
    }
    testing_support::Rendering Render(const std::string& password = "") {
        if (!password.empty()) {
            RunTool("qpdf --decrypt --password=" + password + " " + Quoted(path_) + " " + Quoted(File("plain.pdf")));
            return testing_support::RenderFirstPage(File("plain.pdf"), 72, File("page"));
        }
        return testing_support::RenderFirstPage(path_, 72, File("page"));
    }

    std::string path_;
    std::vector<std::string> messages_;
};

TEST_F(PdfImagesTest, AColourScanBecomesAJpegImage) {
    const int32_t id = MakeColourImage();
    WriteImagePage([&](cPDF& pdf) {
        pdf.SetJpegQuality(90);
        const int32_t image = pdf.PdfAddImage(id, kPdfImageFromImageId);
        EXPECT_EQ(pdf.ImageResX(image), 200);
        EXPECT_EQ(pdf.ImageResY(image), 200);
        EXPECT_EQ(pdf.ImageWidth(image), 40);
        EXPECT_EQ(pdf.ImageHeight(image), 30);
        EXPECT_EQ(pdf.ImageWidth(2), 0);
        return image;
    });
    // The first image writes the header and leading objects before itself.
    const std::string dictionary = ObjectText(path_, 5);
    EXPECT_NE(dictionary.find("/Filter /DCTDecode"), std::string::npos) << dictionary;
    EXPECT_NE(dictionary.find("/ColorSpace /DeviceRGB"), std::string::npos) << dictionary;
    const std::string list = ImageList();
    EXPECT_NE(list.find("image      40    30  rgb     3   8  jpeg"), std::string::npos) << list;
    // The page (6) and its content (7) follow the image.
    EXPECT_EQ(testing_support::StreamData(path_, 7), "q\n40.00 0 0 30.00 0.00 0.00 cm\n/Img1 Do\nQ\n\r\n");
    const auto page = Render();
    ASSERT_EQ(page.Width, 40);
    const auto near = [](uint32_t rgb, uint32_t want) {
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((rgb >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > 40)
                return false;
        }
        return true;
    };
    EXPECT_TRUE(near(page.At(5, 15), 0xFF0000)) << std::hex << page.At(5, 15);
    EXPECT_TRUE(near(page.At(35, 15), 0x0000FF)) << std::hex << page.At(35, 15);
}

TEST_F(PdfImagesTest, WithoutCompressionTheSamplesAreWrittenRawInRgbOrder) {
    const int32_t id = MakeColourImage();
    WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(id, kPdfImageFromImageId); }, false);
    EXPECT_NE(ReadBytes(path_).find("<</Subtype/Image/Length 3600/Name/Img1/BitsPerComponent 8/ColorSpace/DeviceRGB"
                                    "/Width 40/Height 30/Type/XObject>>stream\r\n\xFF\x00\x00"),
              std::string::npos);
    const auto page = Render();
    EXPECT_EQ(page.At(5, 15), 0xFF0000u);
    EXPECT_EQ(page.At(35, 15), 0x0000FFu);
}

TEST_F(PdfImagesTest, OneBitScansBecomeGroupFourImages) {
    const struct {
        std::vector<uint32_t> palette;
        bool compress;
        const char* filter;
        const char* decode;
        uint32_t top, bottom;
    } cases[] = {
        {{kBlack, kWhite}, true, "/Filter/CCITTFaxDecode/DecodeParms<</K -1/Columns 64>>", "Decode [ 1 0 ]", 0xFFFFFF, 0},
        {{kWhite, kBlack}, true, "/Filter/CCITTFaxDecode/DecodeParms<</K -1/Columns 64>>", "Decode [ 0 1 ]", 0, 0xFFFFFF},
        {{kBlack, kWhite}, false, "", "Decode [ 0 1 ]", 0xFFFFFF, 0},
        {{kWhite, kBlack}, false, "", "Decode [ 1 0 ]", 0, 0xFFFFFF},
    };
    for (const auto& c : cases) {
        const int32_t id = MakeOneBitImage(c.palette);
        WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(id, kPdfImageFromImageId); }, c.compress);
        const std::string bytes = ReadBytes(path_);
        EXPECT_NE(bytes.find(std::string(c.filter) + "/Name/Img1/BitsPerComponent 1/ColorSpace/DeviceGray/" + c.decode +
                             "/Width 64/Height 64/Type/XObject>>stream"),
                  std::string::npos)
            << c.decode;
        EXPECT_NE(ImageList().find(c.compress ? "gray    1   1  ccitt" : "gray    1   1  image"), std::string::npos)
            << ImageList();
        const auto page = Render();
        EXPECT_EQ(page.At(32, 10), c.top);
        EXPECT_EQ(page.At(32, 50), c.bottom);
        EXPECT_TRUE(messages_.empty());
    }
}

TEST_F(PdfImagesTest, PaletteImagesCarryTheirColourTable) {
    // 1 bit with a colour palette, 4 bits, and 8 bits with colours.
    const int32_t blueYellow = MakeOneBitImage({kDarkBlue, kYellow});
    WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(blueYellow, kPdfImageFromImageId); });
    // Group 4 codes set bits as black runs; BlackIs1 gives them back as index 1.
    EXPECT_NE(ReadBytes(path_).find("/Filter/CCITTFaxDecode/DecodeParms<</K -1/Columns 64/BlackIs1 true>>/Name/Img1"
                                    "/BitsPerComponent 1/ColorSpace [/Indexed/DeviceRGB 1 6 0 R]"),
              std::string::npos);
    EXPECT_NE(ObjectText(path_, 6).find("/Length 6"), std::string::npos);
    auto page = Render();
    EXPECT_EQ(page.At(32, 10), 0xFFFF00u);
    EXPECT_EQ(page.At(32, 50), 0x000080u);

    std::vector<uint8_t> nibbles;  // 16 x 8 pixels: four of entry 2, four of entry 1, ...
    for (int i = 0; i < 16; ++i) nibbles.insert(nibbles.end(), {0x22, 0x22, 0x11, 0x11});
    std::vector<uint32_t> sixteen(16, kBlack);
    sixteen[1] = 0xFF00FF00;
    sixteen[2] = 0xFFFF0000;
    const int32_t fourBit = MakeImage(16, 8, gdiplus::PixelFormat4bppIndexed, nibbles, 8, sixteen);
    WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(fourBit, kPdfImageFromImageId); });
    EXPECT_NE(ReadBytes(path_).find("/Filter/FlateDecode/Name/Img1/BitsPerComponent 4/ColorSpace [/Indexed/DeviceRGB 15 6 0 R]"),
              std::string::npos);
    EXPECT_NE(ObjectText(path_, 6).find("/Length 48"), std::string::npos);
    page = Render();
    EXPECT_EQ(page.At(1, 4), 0xFF0000u);
    EXPECT_EQ(page.At(5, 4), 0x00FF00u);

    std::vector<uint32_t> colours(256, kBlack);
    colours[7] = 0xFF123456;
    const int32_t eightBit = MakeImage(10, 10, gdiplus::PixelFormat8bppIndexed, std::vector<uint8_t>(100, 7), 10, colours);
    WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(eightBit, kPdfImageFromImageId); });
    EXPECT_NE(ObjectText(path_, 6).find("/Length 768"), std::string::npos);
    EXPECT_NE(ImageList().find("index   1   8  image"), std::string::npos) << ImageList();
    EXPECT_EQ(Render().At(5, 5), 0x123456u);
}

TEST_F(PdfImagesTest, AGreyImageIsAJpegWithThePluginAndRawWithoutIt) {
    std::vector<uint8_t> ramp(16 * 16);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i);
    const int32_t grey = MakeImage(16, 16, gdiplus::PixelFormat8bppIndexed, ramp, 16, GreyRamp());
    WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(grey, kPdfImageFromImageId); });
    EXPECT_NE(ReadBytes(path_).find("/Filter/DCTDecode/Name/Img1/BitsPerComponent 8/ColorSpace [/Indexed/DeviceRGB 255 6 0 R]"),
              std::string::npos);
    const auto page = Render();
    EXPECT_NEAR(static_cast<int>(page.At(15, 15) & 0xFF), 255, 24);
    EXPECT_NEAR(static_cast<int>(page.At(0, 0) & 0xFF), 0, 24);
}

TEST_F(PdfImagesTest, WithoutThePluginAOneBitImageIsWrittenRawAfterAMessage) {
    testing_support::WithMissingPlugin([&] {
        std::vector<uint8_t> ramp(16 * 16, 128);
        const int32_t grey = MakeImage(16, 16, gdiplus::PixelFormat8bppIndexed, ramp, 16, GreyRamp());
        const int32_t bits = MakeOneBitImage({kBlack, kWhite});
        const std::string path = File("noplugin.pdf");
        std::vector<std::string> messages;
        cPDF pdf(FixedServices(&messages));
        ASSERT_TRUE(pdf.NewPdf(path, "", "", "", "", "", 0, -1, "", ""));
        EXPECT_EQ(pdf.PdfAddImage(bits, kPdfImageFromImageId), 1);
        EXPECT_EQ(pdf.PdfAddImage(grey, kPdfImageFromImageId), 2);
        pdf.DrawImg(1, 0, 0, 64, 64);
        ASSERT_EQ(pdf.ClosePdfFile(), OK);
        EXPECT_EQ(messages, std::vector<std::string>{"File not found: mvimgplug.dll"});
        const std::string bytes = ReadBytes(path);
        EXPECT_NE(bytes.find("<</Subtype/Image/Length 512/Name/Img1/BitsPerComponent 1/ColorSpace/DeviceGray/Decode [ 0 1 ]"),
                  std::string::npos);
        EXPECT_NE(bytes.find("<</Subtype/Image/Length 256/Name/Img2/BitsPerComponent 8/ColorSpace [/Indexed/DeviceRGB 255"),
                  std::string::npos);
        testing_support::ExpectQpdfCheckPasses(path);
    });
}

TEST_F(PdfImagesTest, ImagesComeFromFilesToo) {
    const int32_t id = MakeColourImage();
    int32_t count = 0;
    std::vector<uint8_t> jpeg;
    ASSERT_EQ(SaveImageToBytes(id, count, jpeg, "JPG", 90), OK);
    const std::string file = scratch_.write("scan.jpg", std::string(jpeg.begin(), jpeg.end()));
    WriteImagePage([&](cPDF& pdf) {
        EXPECT_EQ(pdf.PdfAddImage(File("missing.jpg"), kPdfImageFromFile), 0);
        EXPECT_EQ(pdf.PdfAddImage(id, 3), 0);
        EXPECT_EQ(pdf.PdfAddImage(std::string("not an id"), kPdfImageFromImageId), 0);
        EXPECT_EQ(pdf.ImageCount(), 0);
        return pdf.PdfAddImage(file, kPdfImageFromFile);
    });
    EXPECT_NE(ImageList().find("image      40    30  rgb     3   8  jpeg"), std::string::npos) << ImageList();
}

TEST_F(PdfImagesTest, ImagesOfAnEncryptedDocumentAreEncrypted) {
    const int32_t id = MakeColourImage();
    ASSERT_NO_FATAL_FAILURE(WriteImagePage([&](cPDF& pdf) { return pdf.PdfAddImage(id, kPdfImageFromImageId); },
                                           false, kPdfEncryption128BitRC4));
    EXPECT_EQ(ReadBytes(path_).find(std::string("\xFF\x00\x00\xFF\x00\x00", 6)), std::string::npos);
    EXPECT_NE(ImageList("user").find("image      40    30  rgb     3   8  image"), std::string::npos);
    const auto page = Render("user");
    ASSERT_EQ(page.Width, 40) << "the decrypted page did not render";
    ASSERT_EQ(page.Height, 30);
    EXPECT_EQ(page.At(5, 15), 0xFF0000u);
    EXPECT_EQ(page.At(35, 15), 0x0000FFu);
}

}  // namespace
}  // namespace scanvelt
