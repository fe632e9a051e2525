#include "imaging/engine/writers/pnm_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "imaging/engine/image_palette.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"

namespace scanvelt {
namespace {

using namespace testing_support;

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Joined(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// What netpbm's own reader makes of the file, empty when the tool is missing.
std::string PnmFileSays(const std::string& path) {
    FILE* pipe = popen(("pnmfile '" + path + "' 2>&1").c_str(), "r");
    if (pipe == nullptr) return {};
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    pclose(pipe);
    return text;
}

bool HavePnmFile() { return std::system("command -v pnmfile >/dev/null 2>&1") == 0; }

class PnmWriter : public EngineTest {
protected:
    ScopedTestFolder folder_{"pnm_writer"};
};

TEST_F(PnmWriter, AOneBitImageIsP4WithBlackAsOneBits) {
    const int32_t id = RegisterBitmap(10, 2, gdiplus::PixelFormat1bppIndexed);
    std::vector<uint32_t> pixels(20, kWhite);
    pixels[0] = pixels[9] = pixels[10] = pixels[17] = kBlack;
    SetPixels(id, pixels);
    const std::string path = folder_.PathOf("page.pbm");
    ASSERT_EQ(SaveImageAsPnm(id, path), OK);
    // Row 0: black at 0 and 9; row 1: black at 0 and 7; the six spare bits 0.
    EXPECT_EQ(ReadFileBytes(path), Joined(Bytes("P4\n10 2\n"), {0x80, 0x40, 0x81, 0x00}));
    if (HavePnmFile()) {
        EXPECT_NE(PnmFileSays(path).find("PBM raw, 10 by 2"), std::string::npos) << PnmFileSays(path);
    }
}

TEST_F(PnmWriter, AOneBitPaletteWithWhiteFirstIsNotInverted) {
    const int32_t id = RegisterBitmap(8, 1, gdiplus::PixelFormat1bppIndexed);
    gdiplus::ColorPalette whiteFirst;
    whiteFirst.Count = 2;
    whiteFirst.Entries[0] = kWhite;
    whiteFirst.Entries[1] = kBlack;
    ASSERT_EQ(SetImagePalette(id, whiteFirst), OK);
    SetPixels(id, {kBlack, kWhite, kWhite, kWhite, kWhite, kWhite, kWhite, kBlack});
    const std::string path = folder_.PathOf("inverted.pbm");
    ASSERT_EQ(SaveImageAsPnm(id, path), OK);
    EXPECT_EQ(ReadFileBytes(path), Joined(Bytes("P4\n8 1\n"), {0x81}));
}

TEST_F(PnmWriter, A24BitImageIsP6InRedGreenBlueOrder) {
    const int32_t id = RegisterBitmap(640, 480, gdiplus::PixelFormat24bppRGB);
    std::vector<uint32_t> pixels(640 * 480, 0xFF102030u);
    pixels[641] = 0xFFAABBCCu;
    SetPixels(id, pixels);
    const std::string path = folder_.PathOf("colour.ppm");
    ASSERT_EQ(SaveImageAsPnm(id, path), OK);
    const std::vector<uint8_t> file = ReadFileBytes(path);
    const std::vector<uint8_t> header{0x50, 0x36, 0x0A, 0x36, 0x34, 0x30, 0x20, 0x34, 0x38, 0x30, 0x0A, 0x32, 0x35, 0x35, 0x0A};
    ASSERT_EQ(file.size(), header.size() + 640 * 480 * 3);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), file.begin()));
    EXPECT_EQ(file[15], 0x10);
    EXPECT_EQ(file[16], 0x20);
    EXPECT_EQ(file[17], 0x30);
    const size_t second = 15 + 3 * 641;
    EXPECT_EQ((std::vector<uint8_t>{file[second], file[second + 1], file[second + 2]}),
              (std::vector<uint8_t>{0xAA, 0xBB, 0xCC}));
    if (HavePnmFile()) {
        EXPECT_NE(PnmFileSays(path).find("PPM raw, 640 by 480"), std::string::npos);
    }
}

TEST_F(PnmWriter, A32BitImageWithAlphaIsP6WithoutTheAlpha) {
    const int32_t id = RegisterBitmap(2, 1, gdiplus::PixelFormat32bppARGB);
    SetPixels(id, {0x80FF0000u, 0xFF00FF00u});
    const std::string path = folder_.PathOf("alpha.ppm");
    ASSERT_EQ(SaveImageAsPnm(id, path), OK);
    EXPECT_EQ(ReadFileBytes(path), Joined(Bytes("P6\n2 1\n255\n"), {0xFF, 0, 0, 0, 0xFF, 0}));
}

TEST_F(PnmWriter, IndexedImagesAreP5ThroughTheGreenOfTheirPalette) {
    for (const int32_t format : {gdiplus::PixelFormat8bppIndexed, gdiplus::PixelFormat4bppIndexed}) {
        const int32_t id = RegisterBitmap(3, 1, format);
        gdiplus::ColorPalette palette;
        palette.Count = 3;
        palette.Entries[0] = 0xFF112233u;
        palette.Entries[1] = 0xFF445566u;
        palette.Entries[2] = 0xFF778899u;
        ASSERT_EQ(SetImagePalette(id, palette), OK);
        SetPixels(id, {0xFF778899u, 0xFF112233u, 0xFF445566u});
        const std::string path = folder_.PathOf("grey.pgm");
        ASSERT_EQ(SaveImageAsPnm(id, path), OK);
        EXPECT_EQ(ReadFileBytes(path), Joined(Bytes("P5\n3 1\n255\n"), {0x88, 0x22, 0x55})) << format;
    }
}

TEST_F(PnmWriter, AnUnregisteredImageIsInvalidParameterAndWritesNothing) {
    const std::string path = folder_.PathOf("none.pnm");
    EXPECT_EQ(SaveImageAsPnm(424242, path), InvalidParameter);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PnmWriter, AFailedWriteLeavesNoFileAndTheOldOneUntouched) {
    const int32_t id = RegisterBitmap(4, 4, gdiplus::PixelFormat24bppRGB);
    EXPECT_EQ(SaveImageAsPnm(id, folder_.PathOf("missing/folder.ppm")), GenericError);
    EXPECT_EQ(folder_.FileCount(), 0u);

    const std::string path = folder_.Write("old.ppm", {1, 2, 3});
    ASSERT_EQ(chmod(folder_.path().c_str(), 0500), 0);
    const MorvalenStatus status = SaveImageAsPnm(id, path);
    chmod(folder_.path().c_str(), 0700);
    if (geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
    EXPECT_EQ(status, GenericError);
    EXPECT_EQ(ReadFileBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(folder_.FileCount(), 1u);
}

TEST(PnmWriterInput, WidthsAndHeightsAreWrittenInDecimalDigits) {
    testing_support::ScopedTestFolder folder("pnm_digits");
    for (const int32_t side : {1, 9, 10, 100, 1000}) {
        std::vector<uint8_t> bytes(static_cast<size_t>(side) * 4, 0);
        PnmPixels pixels;
        pixels.width = side;
        pixels.height = 1;
        pixels.depth = 24;
        pixels.stride = side * 4;
        pixels.bytes = bytes;
        const std::string path = folder.PathOf("digits.ppm");
        ASSERT_TRUE(WritePnm(path, pixels, kPnmGreyFlag));
        const std::string header = "P6\n" + std::to_string(side) + " 1\n255\n";
        const std::vector<uint8_t> file = ReadFileBytes(path);
        EXPECT_EQ(std::string(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(header.size())), header);
    }
}

TEST(PnmWriterInput, TooFewBytesForTheRowsWriteNothing) {
    testing_support::ScopedTestFolder folder("pnm_short");
    std::vector<uint8_t> bytes(10, 0);
    PnmPixels pixels;
    pixels.width = 4;
    pixels.height = 4;
    pixels.depth = 8;
    pixels.stride = 4;
    pixels.bytes = bytes;
    EXPECT_FALSE(WritePnm(folder.PathOf("short.pgm"), pixels, kPnmGreyFlag));
    EXPECT_EQ(folder.FileCount(), 0u);
}

}  // namespace
}  // namespace scanvelt
