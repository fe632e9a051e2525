#include "imaging/engine/image_loading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_palette.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/codec_spy_support.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/engine/testing/test_files.h"
#include "platform/gdiplus/codecs/wmf_test_support.h"
#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/gdi_palette.h"
#include "platform/win/global_memory.h"
#include "platform/win/ole_picture.h"
#include "platform/win/open_file_dialog.h"

namespace scanvelt {
namespace {

using namespace testing_support;

class ImageLoadingTest : public EngineTest {
protected:
    void TearDown() override {
        win::SetOpenFileDialogHandler({});
        SetClipboardPictureSource({});
        EngineTest::TearDown();
    }
    std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
        return folder_.Write(name, bytes);
    }

    ScopedTestFolder folder_{"scanvelt_loading"};
};

const std::vector<uint8_t> kNotAnImage = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};

TEST_F(ImageLoadingTest, AMissingFileIsNotFoundWithoutADialog) {
    bool asked = false;
    win::SetOpenFileDialogHandler([&](const win::OpenFileDialogRequest&) -> std::optional<std::string> {
        asked = true;
        return std::nullopt;
    });
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromFile(id, "/no/such/folder/x.png", false, false, true, 0, false, true), FileNotFound);
    EXPECT_FALSE(asked);
    EXPECT_EQ(LoadImageFromFile(id, "  ", false, false, true, 0, true, true), FileNotFound);
    EXPECT_FALSE(asked) << "a ready path asks no dialog";
    EXPECT_EQ(LoadImageFromFile(id, "  ", false, false, true, 0, false, true), FileNotFound);
    EXPECT_TRUE(asked) << "an empty path asks, and cancelling is not found";
    EXPECT_EQ(id, 0);
}

TEST_F(ImageLoadingTest, TheDialogsChoiceIsLoaded) {
    ScopedFakeDecoder decoder;
    // A fake-codec file of one 2 x 3 frame.
    std::vector<uint8_t> bytes{'F', 'A', 'K', 'E'};
    for (uint32_t value : {1u, 2u, 3u}) gdiplus::testing_support::PutU32(bytes, value);
    bytes.resize(bytes.size() + 2 * 3 * 4, 0xFF);
    const std::string file = WriteFile("chosen.fake", bytes);
    win::SetOpenFileDialogHandler([&](const win::OpenFileDialogRequest&) { return std::optional<std::string>(file); });
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromFile(id, "", false, false, true, 0, false, true), OK);
    EXPECT_EQ(SizeOf(id), std::make_pair(2, 3));
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindFile);
}

TEST_F(ImageLoadingTest, AFileNoRouteCanReadGivesThePluginsStatus) {
    const std::string file = WriteFile("garbage.bin", kNotAnImage);
    const int32_t before = RegisteredImageCount();
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromFile(id, file, false, false, true, 0, true, true), Aborted) << "no plug-in";
    EXPECT_EQ(LoadImageFromFile(id, file, true, false, true, 0, true, true), Aborted);
    EXPECT_EQ(LoadImageFromFile(id, file, false, true, true, 0, true, true), UnknownImageFormat) << "GDI+ only";
    EXPECT_EQ(RegisteredImageCount(), before);
}

TEST_F(ImageLoadingTest, AStreamIsRequired) {
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromStream(id, nullptr, false), InvalidParameter);
    std::shared_ptr<win::Stream> empty;
    ASSERT_EQ(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, empty), win::S_OK);
    EXPECT_EQ(LoadImageFromStream(id, empty, false), InvalidParameter) << "no bytes to decode";
}

TEST_F(ImageLoadingTest, AWindowsMetafileIsDrawnAtItsSizeTimesTheScale) {
    // Two inches by one at 96 dpi: 192 x 96 pixels, the left inch red.
    const std::string wmf =
        gdiplus::codecs::wmf_testing::placeableWmf(200, 100, 100, {0, 0, 100, 100, 0x000000FF});
    const std::string file = WriteFile("drawing.wmf", std::vector<uint8_t>(wmf.begin(), wmf.end()));
    const struct {
        float scale;
        int32_t width, height;
    } cases[] = {{1.0f, 192, 96}, {2.0f, 384, 192}, {0.5f, 96, 48}, {1.25f, 240, 120}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        int32_t id = 0;
        ASSERT_EQ(LoadMetafileImage(id, file, c.scale, true), OK);
        EXPECT_EQ(SizeOf(id), std::make_pair(c.width, c.height));
        const std::vector<uint32_t> pixels = PixelsOf(id);
        EXPECT_EQ(pixels[static_cast<size_t>(c.height / 2) * c.width + c.width / 4], 0xFFFF0000u);
        EXPECT_EQ(pixels[static_cast<size_t>(c.height / 2) * c.width + c.width * 3 / 4], 0x00000000u)
            << "transparent where nothing is drawn";
        ReleaseImage(id);
    }
    int32_t id = 0;
    EXPECT_EQ(LoadMetafileImage(id, file, 0.001f, true), InvalidParameter) << "less than a pixel";
    EXPECT_EQ(LoadMetafileImage(id, file, 1000.0f, true), InvalidParameter) << "beyond the largest drawing";
    EXPECT_EQ(id, 0);
}

TEST_F(ImageLoadingTest, AMetafilePictureIsDrawnWithTheFrameOfItsSize) {
    // The picture's size becomes the frame in 1440ths of an inch: 2880 x 1440
    // are two inches by one, 192 x 96 pixels, the left inch green.
    const std::string records =
        gdiplus::codecs::wmf_testing::wmfRecords(2880, 1440, {0, 0, 1440, 1440, 0x0000FF00});
    win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, records.size());
    std::memcpy(win::GlobalLock(block), records.data(), records.size());
    win::GlobalUnlock(block);
    win::PictureDescription description;
    description.type = win::PictureType::Metafile;
    description.handle = win::handleValue(block);
    description.metafileWidth = 2880;
    description.metafileHeight = 1440;
    win::HPICTURE picture{};
    ASSERT_EQ(win::OleCreatePictureIndirect(description, false, picture), win::S_OK);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromPicture(id, picture), OK);
    EXPECT_EQ(SizeOf(id), std::make_pair(192, 96));
    EXPECT_EQ(PixelsOf(id)[48 * 192 + 40], 0xFF00FF00u);
    EXPECT_EQ(PixelsOf(id)[48 * 192 + 150], 0xFFFFFFFFu) << "on white";
    EXPECT_EQ(win::GlobalSize(block), records.size()) << "the picture keeps its metafile";
    ReleaseImage(id);

    // The engine's own creator, told to free the block.
    int32_t direct = 0;
    WmfPlaceableHeader header;
    header.right = 2880;
    header.bottom = 1440;
    ASSERT_EQ(ImageFromWmf(block, true, header, direct), OK);
    EXPECT_EQ(SizeOf(direct), std::make_pair(192, 96));
    EXPECT_EQ(win::GlobalSize(block), 0u) << "freed once read";
    ReleaseImage(direct);
    EXPECT_EQ(ImageFromWmf(block, false, header, direct), InvalidParameter) << "a freed block";
    win::PictureRelease(picture);
}

TEST_F(ImageLoadingTest, FilesThatAreNoWindowsMetafileAreRefused) {
    const std::string file = WriteFile("drawing.wmf", kNotAnImage);
    int32_t id = 0;
    EXPECT_EQ(LoadMetafileImage(id, "/no/such.emf", 2.0f, true), FileNotFound);
    EXPECT_EQ(LoadMetafileImage(id, file, 2.0f, false), Aborted);
    EXPECT_EQ(LoadMetafileImage(id, file, 2.0f, true), UnknownImageFormat);
    EXPECT_EQ(id, 0);
}

// --- packed DIBs ---

struct DibLayout {
    uint32_t headerSize = 40;
    int32_t width = 10;
    int32_t height = 2;
    uint16_t bits = 1;
    uint32_t compression = 0;
    int32_t pelsX = 3780;
    int32_t pelsY = 3780;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> colours = {0xFF000000u, 0xFFFFFFFFu};
    std::vector<uint32_t> masks;
    size_t cutBytes = 0;
};

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }

// A packed DIB in global memory whose rows hold the pattern 0x5A...
win::HGLOBAL MakeDib(const DibLayout& layout) {
    const uint32_t stride = win::DibStride(layout.width, layout.bits);
    const size_t rows = static_cast<size_t>(std::abs(layout.height));
    // A core header is shorter than the fields written below; they stay in the block.
    std::vector<uint8_t> bytes(std::max<uint32_t>(layout.headerSize, 40), 0);
    Put32(bytes, 0, layout.headerSize);
    Put32(bytes, 4, static_cast<uint32_t>(layout.width));
    Put32(bytes, 8, static_cast<uint32_t>(layout.height));
    bytes[12] = 1;
    std::memcpy(bytes.data() + 14, &layout.bits, 2);
    Put32(bytes, 16, layout.compression);
    Put32(bytes, 24, static_cast<uint32_t>(layout.pelsX));
    Put32(bytes, 28, static_cast<uint32_t>(layout.pelsY));
    Put32(bytes, 32, layout.colorsUsed);
    for (uint32_t mask : layout.masks) {
        bytes.resize(bytes.size() + 4);
        Put32(bytes, bytes.size() - 4, mask);
    }
    for (uint32_t colour : layout.colours) {
        bytes.resize(bytes.size() + 4);
        Put32(bytes, bytes.size() - 4, colour);
    }
    bytes.resize(bytes.size() + stride * rows, 0x5A);
    bytes.resize(bytes.size() - layout.cutBytes);
    const win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE, bytes.size());
    std::memcpy(win::GlobalLock(block), bytes.data(), bytes.size());
    win::GlobalUnlock(block);
    return block;
}

// The layouts the DIB reader takes and refuses are the BMP codec's tests;
// these are the loader's answers.
TEST_F(ImageLoadingTest, ARefusedDibRegistersNothing) {
    struct Case {
        const char* what;
        DibLayout layout;
        MorvalenStatus status;
    };
    const Case cases[] = {
        {"one byte short", DibLayout{.cutBytes = 1}, InvalidParameter},
        {"rows missing", DibLayout{.height = 500, .cutBytes = 4 * 498}, InvalidParameter},
        {"colour table past the block", DibLayout{.bits = 8, .colorsUsed = 0, .colours = {}}, InvalidParameter},
        {"JPEG inside", DibLayout{.bits = 0, .compression = 4, .colours = {}}, UnknownImageFormat},
    };
    const int32_t before = RegisteredImageCount();
    for (const Case& c : cases) {
        const win::HGLOBAL dib = MakeDib(c.layout);
        int32_t id = 0;
        EXPECT_EQ(LoadImageFromDib(id, dib, true, false), c.status) << c.what;
        EXPECT_EQ(id, 0) << c.what;
        EXPECT_NE(win::GlobalSize(dib), 0u) << "a refused block stays the caller's: " << c.what;
        win::GlobalFree(dib);
    }
    EXPECT_EQ(RegisteredImageCount(), before);
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromDib(id, win::HGLOBAL{}, false, false), InvalidParameter);
}

TEST_F(ImageLoadingTest, AWhiteFirstOneBitDibKeepsItsLookWithBlackFirst) {
    for (const bool whiteFirst : {true, false}) {
        DibLayout layout;
        if (whiteFirst) layout.colours = {0xFFFFFFu, 0x000000u};
        const win::HGLOBAL dib = MakeDib(layout);
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromDib(id, dib, false, false), OK);
        gdiplus::ColorPalette palette;
        ASSERT_EQ(GetImagePalette(id, palette), OK);
        EXPECT_EQ(palette.Entries[0], 0xFF000000u);
        EXPECT_EQ(palette.Entries[1], 0xFFFFFFFFu);
        // 0x5A = 01011010: bit 1 is the second colour of the DIB's table.
        const std::vector<uint32_t> pixels = PixelsOf(id);
        for (int32_t x = 0; x < 8; ++x) {
            const bool second = (0x5A >> (7 - x) & 1) != 0;
            EXPECT_EQ(pixels[x], second == whiteFirst ? 0xFF000000u : 0xFFFFFFFFu) << x << whiteFirst;
        }
        // The caller's block was not written to.
        EXPECT_EQ(static_cast<uint8_t*>(win::GlobalLock(dib))[48], 0x5A);
        win::GlobalUnlock(dib);
        ReleaseImage(id);
        win::GlobalFree(dib);
    }
}

TEST_F(ImageLoadingTest, DibResolutionToThreeDecimalsOrWholeDpi) {
    struct Case {
        int32_t pels;
        bool whole;
        float dpi;
    };
    for (const Case& c : {Case{3780, false, 96.012f}, Case{3780, true, 96.0f}, Case{0, false, 96.0f}}) {
        const win::HGLOBAL dib = MakeDib(DibLayout{.pelsX = c.pels, .pelsY = c.pels});
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromDib(id, dib, false, c.whole), OK);
        EXPECT_FLOAT_EQ(ResolutionOf(id).first, c.dpi) << c.pels;
        EXPECT_FLOAT_EQ(ResolutionOf(id).second, c.dpi) << c.pels;
        ReleaseImage(id);
        win::GlobalFree(dib);
    }
}

TEST_F(ImageLoadingTest, DibLayoutsBeyondTheFixedOneAreRead) {
    struct Case {
        const char* what;
        DibLayout layout;
        int32_t format;
        uint32_t firstPixel;
    };
    // Rows of 0x5A bytes: index 0x5A, pixel 0x5A5A of 16 bits, a run of 0x5A
    // pixels of index 0x5A under RLE8.
    std::vector<uint32_t> grey(256);
    for (uint32_t i = 0; i < 256; ++i) grey[i] = i * 0x010101u;
    const Case cases[] = {
        {"4 colours used of 256", DibLayout{.width = 1, .bits = 8, .colorsUsed = 4, .colours = {1, 2, 3, 4}},
         gdiplus::PixelFormat8bppIndexed, 0xFF000000u},
        {"5-6-5 bit fields", DibLayout{.bits = 16, .compression = 3, .colours = {}, .masks = {0xF800, 0x7E0, 0x1F}},
         gdiplus::PixelFormat16bppRGB565, 0xFF5A49D6u},
        {"4-4-4 bit fields", DibLayout{.bits = 16, .compression = 3, .colours = {}, .masks = {0xF00, 0xF0, 0xF}},
         gdiplus::PixelFormat32bppRGB, 0xFFAA55AAu},
        {"run-length compressed", DibLayout{.width = 90, .height = 1, .bits = 8, .compression = 1, .colours = grey},
         gdiplus::PixelFormat8bppIndexed, 0xFF5A5A5Au},
        {"24 bits top-down", DibLayout{.height = -3, .bits = 24, .colours = {}}, gdiplus::PixelFormat24bppRGB,
         0xFF5A5A5Au},
        {"V5 header", DibLayout{.headerSize = 124, .bits = 32, .colours = {}}, gdiplus::PixelFormat32bppRGB,
         0xFF5A5A5Au},
    };
    for (const Case& c : cases) {
        const win::HGLOBAL dib = MakeDib(c.layout);
        int32_t id = 0;
        ASSERT_EQ(LoadImageFromDib(id, dib, true, false), OK) << c.what;
        EXPECT_EQ(PixelFormatOf(id), c.format) << c.what;
        EXPECT_EQ(SizeOf(id), std::make_pair(c.layout.width, std::abs(c.layout.height))) << c.what;
        EXPECT_EQ(PixelsOf(id)[0], c.firstPixel) << c.what;
        EXPECT_EQ(FindImageEntry(id)->GlobalMemory, dib) << c.what;
        EXPECT_EQ(ReleaseImage(id), OK);
        EXPECT_EQ(win::GlobalSize(dib), 0u) << "the block went with the image: " << c.what;
    }
}

TEST_F(ImageLoadingTest, ABitmapPictureAndTheClipboard) {
    win::BitmapInfoHeader header;
    header.width = 3;
    header.height = 2;
    header.bitCount = 24;
    void* bits = nullptr;
    const win::HBITMAP bitmap = win::CreateDIBSection(win::HDC{}, header, {}, &bits);
    ASSERT_NE(bitmap, win::HBITMAP{});
    std::memset(bits, 0x40, win::DibStride(3, 24) * 2);
    win::HPICTURE picture{};
    ASSERT_EQ(win::OleCreatePictureIndirect({win::PictureType::Bitmap, win::handleValue(bitmap)}, true, picture),
              win::S_OK);
    int32_t id = 0;
    ASSERT_EQ(LoadImageFromPicture(id, picture), OK);
    EXPECT_EQ(SizeOf(id), std::make_pair(3, 2));
    EXPECT_EQ(PixelsOf(id)[5], 0xFF404040u);
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindHBitmap);

    int32_t fromClipboard = 0;
    EXPECT_EQ(LoadImageFromClipboard(fromClipboard), GenericError) << "no clipboard service";
    SetClipboardPictureSource([] { return std::optional<win::HPICTURE>(); });
    EXPECT_EQ(LoadImageFromClipboard(fromClipboard), GenericError) << "nothing on it";
    win::PictureAddRef(picture);
    SetClipboardPictureSource([picture] { return std::optional<win::HPICTURE>(picture); });
    ASSERT_EQ(LoadImageFromClipboard(fromClipboard), OK);
    EXPECT_EQ(PixelsOf(fromClipboard), PixelsOf(id));
    win::PictureRelease(picture);
    EXPECT_EQ(LoadImageFromPicture(id, win::HPICTURE{}), InvalidParameter);
}

// A host that installs only platform/win's clipboard service (as the
// program does with Qt's clipboard) pastes through it.
TEST_F(ImageLoadingTest, TheHostsClipboardServicePastesItsBitmap) {
    struct ServiceRemoved {
        ~ServiceRemoved() { win::SetClipboardService({}); }
    } removed;
    win::HBITMAP held{};
    int handedOut = 0;
    win::ClipboardService service;
    service.takeBitmap = [&] {
        if (held == win::HBITMAP{}) return win::HBITMAP{};
        ++handedOut;
        // A copy for the caller, as a real clipboard hands out.
        return win::AddBitmap(*win::FindBitmap(held));
    };
    win::SetClipboardService(service);
    int32_t id = 0;
    EXPECT_EQ(LoadImageFromClipboard(id), GenericError) << "an empty clipboard";
    win::GdiBitmap gdi;
    gdi.width = 2;
    gdi.height = 1;
    gdi.bitsPerPixel = 32;
    gdi.stride = win::DibStride(2, 32);
    gdi.bits = {0x30, 0x20, 0x10, 0, 0xFF, 0xFF, 0xFF, 0};
    held = win::AddBitmap(gdi);
    const size_t bitmaps = win::LiveBitmapCount();
    ASSERT_EQ(LoadImageFromClipboard(id), OK);
    EXPECT_EQ(handedOut, 1);
    EXPECT_EQ(SizeOf(id), std::make_pair(2, 1));
    EXPECT_EQ(PixelsOf(id)[0] & 0xFFFFFFu, 0x102030u);
    EXPECT_EQ(PixelsOf(id)[1] & 0xFFFFFFu, 0xFFFFFFu);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps) << "the pasted copy is deleted after loading";
    win::DeleteObject(held);
}

TEST_F(ImageLoadingTest, AnIndexedBitmapWithoutAColourTableTakesTheGivenPalette) {
    win::GdiBitmap gdi;
    gdi.width = 2;
    gdi.height = 1;
    gdi.bitsPerPixel = 8;
    gdi.stride = win::DibStride(2, 8);
    gdi.bits = {0, 1, 0, 0};
    const win::HBITMAP bitmap = win::AddBitmap(gdi);
    const win::PaletteEntry entries[] = {{0x10, 0x20, 0x30, 0}, {0xFF, 0x80, 0x00, 0}};
    const win::HPALETTE palette = win::CreatePalette(entries);
    int32_t id = 0;
    ASSERT_EQ(ImageFromHBitmap(bitmap, palette, id), OK);
    EXPECT_EQ(PixelsOf(id), (std::vector<uint32_t>{0xFF102030u, 0xFFFF8000u}));
    EXPECT_EQ(FindImageEntry(id)->Kind, ImageKindHBitmap);
    win::DeleteObject(palette);
    win::DeleteObject(bitmap);
}

// An icon of 2 x 1 pixels: colour bitmap of `bits` per pixel holding `colour`
// bytes, AND mask 0b01 (the right pixel transparent).
win::HICON MakeIcon(uint16_t bits, const std::vector<uint8_t>& colour) {
    win::BitmapInfoHeader header;
    header.width = 2;
    header.height = -1;
    header.bitCount = bits;
    void* colourBits = nullptr;
    const win::HBITMAP colourBitmap = win::CreateDIBSection(win::HDC{}, header, {}, &colourBits);
    std::memcpy(colourBits, colour.data(), colour.size());
    header.bitCount = 1;
    void* maskBits = nullptr;
    const win::HBITMAP mask = win::CreateDIBSection(win::HDC{}, header, std::vector<uint32_t>{0, 0xFFFFFF}, &maskBits);
    static_cast<uint8_t*>(maskBits)[0] = 0x40;
    const win::HICON icon = win::CreateIconIndirect(win::IconInfo{true, 0, 0, mask, colourBitmap});
    win::DeleteObject(mask);
    win::DeleteObject(colourBitmap);
    return icon;
}

TEST_F(ImageLoadingTest, AnIconKeepsTheAlphaOfItsColoursOrElseTakesItsMask) {
    struct Case {
        const char* what;
        uint16_t bits;
        std::vector<uint8_t> colour;
        std::vector<uint32_t> pixels;
    };
    const Case cases[] = {
        {"24 bits, mask", 24, {0x30, 0x20, 0x10, 0x60, 0x50, 0x40}, {0xFF102030u, 0x00000000u}},
        {"32 bits without alpha, mask", 32, {0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0}, {0xFF102030u, 0x00000000u}},
        {"32 bits with alpha of its own", 32, {0x30, 0x20, 0x10, 0x80, 0x60, 0x50, 0x40, 0xFF},
         {0x80102030u, 0xFF405060u}},
    };
    for (const Case& c : cases) {
        const win::HICON icon = MakeIcon(c.bits, c.colour);
        ASSERT_NE(icon, win::HICON{}) << c.what;
        int32_t id = 0;
        ASSERT_EQ(ImageFromHIcon(icon, id), OK) << c.what;
        EXPECT_EQ(PixelFormatOf(id), gdiplus::PixelFormat32bppARGB) << c.what;
        EXPECT_EQ(PixelsOf(id), c.pixels) << c.what;
        ReleaseImage(id);
        win::DestroyIcon(icon);
    }
}

}  // namespace
}  // namespace scanvelt
