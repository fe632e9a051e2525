#include "imaging/twain/further_formats.h"

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "imaging/engine/testing/plugin_test_support.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/twain_control.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt {
namespace {

namespace fs = std::filesystem;
using testing_support::Quoted;
using testing_support::RunTool;

// A picture whose pixels differ across the whole image.
int32_t Picture(int32_t width, int32_t height, int32_t format = gdiplus::PixelFormat24bppRGB) {
    const int32_t id = testing_support::RegisterBitmap(width, height, format);
    if (format == gdiplus::PixelFormat1bppIndexed) return id;
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pixels.push_back(0xFF000000u | static_cast<uint32_t>(x * 4 % 256) << 16 |
                             static_cast<uint32_t>(y * 5 % 256) << 8 | 0x40u);
        }
    }
    testing_support::SetPixels(id, pixels);
    return id;
}

// "width height" of the first image ImageMagick finds in the file.
std::string MagickSize(const std::string& path) {
    std::string out = RunTool("identify -format '%w %h\\n' " + Quoted(path) + " 2>/dev/null").Output;
    return out.substr(0, out.find('\n'));
}

class FurtherFormatsTest : public testing_support::WithBuildTreePlugin {
protected:
    void SetUp() override {
        WithBuildTreePlugin::SetUp();
        control_ = std::make_unique<TwainControl>();
    }
    void TearDown() override {
        control_.reset();
        WithBuildTreePlugin::TearDown();
    }
    std::string File(const std::string& name) { return scratch_.file(name); }

    std::unique_ptr<TwainControl> control_;
};

struct SaverCase {
    const char* name;
    const char* file;
    int32_t format;  // pixel format of the picture saved
    MorvalenStatus (*save)(TwainControl&, const std::string&);
    // Reads the file back with its own tool; "width height".
    std::string (*readBack)(const std::string& path, const std::string& folder);
};

std::string ByMagick(const std::string& path, const std::string&) { return MagickSize(path); }
std::string ByMagickAsWbmp(const std::string& path, const std::string&) { return MagickSize("wbmp:" + path); }
std::string ByExrHeader(const std::string& path, const std::string&) {
    // "dataWindow (type box2i): (0 0) - (63 47)"
    const std::string out = RunTool("exrheader " + Quoted(path)).Output;
    const size_t at = out.find("dataWindow (type box2i): (0 0) - (");
    if (at == std::string::npos) return out;
    std::istringstream corner(out.substr(at + 34));
    int32_t right = 0, bottom = 0;
    corner >> right >> bottom;
    return std::to_string(right + 1) + " " + std::to_string(bottom + 1);
}
std::string ByOpenJpeg(const std::string& path, const std::string& folder) {
    const std::string decoded = folder + "/decoded.ppm";
    fs::remove(decoded);
    const auto run = RunTool("opj_decompress -i " + Quoted(path) + " -o " + Quoted(decoded) + " 2>&1");
    if (run.Status != 0) return run.Output;
    return MagickSize(decoded);
}
std::string ByTiffJpeg(const std::string& path, const std::string&) {
    const std::string info = RunTool("tiffinfo " + Quoted(path) + " 2>&1").Output;
    if (info.find("Compression Scheme: JPEG") == std::string::npos) return info;
    return MagickSize(path);
}

MorvalenStatus Exr(TwainControl& c, const std::string& p) { return SaveAsEXR(c, p, 4); }
MorvalenStatus J2k(TwainControl& c, const std::string& p) { return SaveAsJ2K(c, p); }
MorvalenStatus Jp2(TwainControl& c, const std::string& p) { return SaveAsJP2(c, p); }
MorvalenStatus Tiff(TwainControl& c, const std::string& p) { return SaveAsTIFF(c, p); }
MorvalenStatus TiffJpegOver100(TwainControl& c, const std::string& p) { return SaveAsTIFFjpgEx(c, p, 120); }
MorvalenStatus Icon(TwainControl& c, const std::string& p) { return SaveAsICO(c, p); }

TEST_F(FurtherFormatsTest, EveryFormatReadsBackWithItsSize) {
    const SaverCase cases[] = {
        {"BMP", "a.bmp", gdiplus::PixelFormat24bppRGB, &SaveAsBmp, &ByMagick},
        {"WBMP", "a.wbmp", gdiplus::PixelFormat1bppIndexed, &SaveAsWBMP, &ByMagickAsWbmp},
        {"XPM", "a.xpm", gdiplus::PixelFormat24bppRGB, &SaveAsXPM, &ByMagick},
        {"PNM", "a.ppm", gdiplus::PixelFormat24bppRGB, &SaveAsPNM, &ByMagick},
        {"TGA", "a.tga", gdiplus::PixelFormat24bppRGB, &SaveAsTGA, &ByMagick},
        {"PBM", "a.pbm", gdiplus::PixelFormat24bppRGB, &SaveAsPBM, &ByMagick},
        {"EXR", "a.exr", gdiplus::PixelFormat24bppRGB, &Exr, &ByExrHeader},
        {"J2K", "a.j2k", gdiplus::PixelFormat24bppRGB, &J2k, &ByOpenJpeg},
        {"JP2", "a.jp2", gdiplus::PixelFormat24bppRGB, &Jp2, &ByOpenJpeg},
        {"TIFF", "a.tif", gdiplus::PixelFormat24bppRGB, &Tiff, &ByMagick},
        {"TIFF JPEG", "b.tif", gdiplus::PixelFormat24bppRGB, &SaveAsTIFFjpg, &ByTiffJpeg},
        {"TIFF JPEG quality 120", "c.tif", gdiplus::PixelFormat24bppRGB, &TiffJpegOver100, &ByTiffJpeg},
    };
    for (const SaverCase& c : cases) {
        SCOPED_TRACE(c.name);
        control_->setCurrentImage(Picture(64, 48, c.format));
        const std::string path = File(c.file);
        ASSERT_EQ(c.save(*control_, path), OK);
        EXPECT_EQ(control_->GetStat(), OK);
        EXPECT_EQ(c.readBack(path, scratch_.path()), "64 48");
    }
}

TEST_F(FurtherFormatsTest, NoCurrentImageOrAnUnsuitableFormatWritesNothing) {
    for (auto save : {&SaveAsBmp, &SaveAsTGA, &SaveAsTIFFjpg, &Exr, &SaveAsPNM}) {
        const std::string path = File("none.out");
        EXPECT_EQ(save(*control_, path), GenericError);
        EXPECT_EQ(control_->GetStat(), GenericError);
        EXPECT_FALSE(fs::exists(path));
    }
    // The icon saver ends with its first failing engine step: the size of no image.
    EXPECT_EQ(Icon(*control_, File("none.ico")), InvalidParameter);
    EXPECT_FALSE(fs::exists(File("none.ico")));
    control_->setCurrentImage(Picture(16, 16));
    EXPECT_EQ(SaveAsWBMP(*control_, File("deep.wbmp")), UnsupportedPixelFormat);
    EXPECT_EQ(control_->GetStat(), UnsupportedPixelFormat);
    EXPECT_FALSE(fs::exists(File("deep.wbmp")));
}

TEST_F(FurtherFormatsTest, SaversNeedThePluginForItsFormats) {
    testing_support::WithMissingPlugin([&] {
        TwainControl control;
        control.setCurrentImage(Picture(8, 8));
        EXPECT_EQ(SaveAsTGA(control, File("x.tga")), MvimgplugDllRequired);
        EXPECT_EQ(SaveAsJ2K(control, File("x.j2k")), MvimgplugDllRequired);
        EXPECT_EQ(control.GetStat(), MvimgplugDllRequired);
        EXPECT_FALSE(fs::exists(File("x.tga")));
        EXPECT_EQ(SaveAsBmp(control, File("x.bmp")), OK);  // the engine's own writer
    });
}

// Alpha of pixel (x, y) of the icon as ImageMagick reads it (0 transparent, 1 opaque).
std::string AlphaAt(const std::string& icon, int x, int y) {
    return RunTool("convert " + Quoted(icon) + "[0] -format '%[fx:p{" + std::to_string(x) + "," + std::to_string(y) +
                   "}.a]' info: 2>&1")
        .Output;
}

TEST_F(FurtherFormatsTest, IconsAreThirtyTwoSquareWithTheirTransparentColour) {
    // 32 x 32: only the exact corner colour goes transparent.
    const int32_t exact = testing_support::RegisterBitmap(32, 32, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels(32 * 32, 0xFF204060u);  // the corner colour
    for (int i = 0; i < 16; ++i) pixels[32 * 10 + i] = 0xFF204061u;  // off by one in blue
    for (int i = 0; i < 16; ++i) pixels[32 * 20 + i] = 0xFFF0F0F0u;
    testing_support::SetPixels(exact, pixels);
    control_->setCurrentImage(exact);
    const std::string path = File("exact.ico");
    ASSERT_EQ(SaveAsICO(*control_, path, true, 0x604020), OK);  // RGB value: red in the low byte
    EXPECT_EQ(control_->currentImage(), exact);
    EXPECT_EQ(MagickSize(path), "32 32");
    EXPECT_EQ(AlphaAt(path, 0, 0), "0");
    EXPECT_EQ(AlphaAt(path, 3, 10), "1");
    EXPECT_EQ(AlphaAt(path, 3, 20), "1");
    // The caller's image keeps its pixels and format.
    EXPECT_EQ(testing_support::PixelsOf(exact), pixels);

    // 32 x 100, scaled: colours within tolerance 80 go too, far ones stay.
    const int32_t tall = testing_support::RegisterBitmap(32, 100, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> tallPixels(32 * 100, 0xFF204060u);
    for (int y = 50; y < 100; ++y) {
        for (int x = 0; x < 32; ++x) tallPixels[y * 32 + x] = x < 16 ? 0xFF305070u : 0xFFF0F0F0u;
    }
    testing_support::SetPixels(tall, tallPixels);
    control_->setCurrentImage(tall);
    const std::string scaled = File("scaled.ico");
    ASSERT_EQ(SaveAsICO(*control_, scaled, true, 0x604020), OK);
    EXPECT_EQ(MagickSize(scaled), "32 32");
    EXPECT_EQ(AlphaAt(scaled, 5, 5), "0");     // the colour itself
    EXPECT_EQ(AlphaAt(scaled, 5, 28), "0");    // 16 + 16 + 16 away: within 153
    EXPECT_EQ(AlphaAt(scaled, 28, 28), "1");   // far away
    EXPECT_EQ(testing_support::SizeOf(tall), std::make_pair(32, 100));

    // Without a transparent colour every pixel is shown.
    const std::string plain = File("plain.ico");
    ASSERT_EQ(SaveAsICO(*control_, plain), OK);
    EXPECT_EQ(AlphaAt(plain, 5, 5), "1");
}

TEST_F(FurtherFormatsTest, WithoutThePluginIconsMaskExactlyTheTransparentColour) {
    win::testing::ScratchFolder temp;
    win::testing::ScopedEnvironment tmp("tmp", temp.path().c_str());
    testing_support::WithMissingPlugin([&] {
        TwainControl control;
        // 32 x 100: scaled to 32 x 32; the top part is the colour, the bottom a near one.
        const int32_t tall = testing_support::RegisterBitmap(32, 100, gdiplus::PixelFormat24bppRGB);
        std::vector<uint32_t> pixels(32 * 100, 0xFF204060u);
        for (size_t i = 32 * 50; i < pixels.size(); ++i) pixels[i] = 0xFF305070u;
        testing_support::SetPixels(tall, pixels);
        control.setCurrentImage(tall);
        const std::string path = File("bare.ico");
        ASSERT_EQ(SaveAsICO(control, path, true, 0x604020), OK);
        EXPECT_EQ(MagickSize(path), "32 32");
        EXPECT_EQ(AlphaAt(path, 5, 3), "0");    // the colour itself
        EXPECT_EQ(AlphaAt(path, 5, 28), "1");   // near is not enough without the plug-in
        // The temporary bitmap file is gone.
        EXPECT_TRUE(fs::is_empty(temp.path()));
        // No transparent colour: every pixel shown.
        ASSERT_EQ(SaveAsICO(control, File("shown.ico")), OK);
        EXPECT_EQ(AlphaAt(File("shown.ico"), 5, 3), "1");
        control.setCurrentImage(0);
        EXPECT_EQ(SaveAsICO(control, File("none.ico")), InvalidParameter);
    });
}

}  // namespace
}  // namespace scanvelt
