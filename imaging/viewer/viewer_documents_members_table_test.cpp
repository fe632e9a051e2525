// The viewer's display sources and the members that hand out or close the
// shown image, called by dispatch ID. Each source gets a picture wider than
// high, red in its left third and blue beyond, and must show it at its own
// size with the red on the left; the files carry 96 x 72 dpi.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "imaging/engine/image_table.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/viewer/testing/viewer_tables.h"
#include "platform/com/bstr.h"
#include "platform/com/safearray.h"
#include "platform/com/testing/host_stream.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/gdiplus/codecs/wmf_test_support.h"
#include "platform/win/clipboard.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/global_memory.h"
#include "platform/win/ole_picture.h"

namespace scanvelt::testing {
namespace {

using namespace com;

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu;
uint32_t redThenBlue(int32_t x, int32_t width) { return x < width / 3 ? kRed : kBlue; }

// 6 x 4 pixels, 32 bits, top row first.
win::GdiBitmap gdiPicture() {
    win::GdiBitmap b;
    b.width = 6;
    b.height = 4;
    b.bitsPerPixel = 32;
    b.topDown = true;
    b.stride = 24;
    b.bits.resize(24 * 4);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const uint32_t color = redThenBlue(x, 6);
            std::memcpy(b.row(y) + x * 4, &color, 4);
        }
    return b;
}

// A BMP file whose every byte is below 0x80, so that it travels unchanged as
// text: 3 x 2 pixels, each of its own colour.
std::string asciiBmp() {
    std::string file(54, '\0');
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
    file[0] = 'B', file[1] = 'M';
    put32(2, 54 + 24), put32(10, 54), put32(14, 40), put32(18, 3), put32(22, 2), put16(26, 1), put16(28, 24);
    put32(34, 24);
    // Bottom row first, blue green red per pixel, each row padded to 12 bytes.
    file += std::string("\x10\x20\x70" "\x30\x40\x50" "\x60\x70\x10" "\0\0\0", 12);
    file += std::string("\x70\x60\x50" "\x40\x30\x20" "\x10\x7F\x01" "\0\0\0", 12);
    return file;
}

class ViewerDocumentTable : public ViewerTable {
public:
    void SetUp() override {
        win::SetClipboardService({[] { return win::ClipboardResult::Done; },
                                  [](const win::GdiBitmap&) { return win::ClipboardResult::Done; },
                                  [] { return win::AddBitmap(gdiPicture()); }});
        ViewerTable::SetUp();
        const int32_t source = makeImage(30, 20, [](int32_t x, int32_t) { return redThenBlue(x, 30); }, 96, 72);
        png = (scratch.path() / "wide.png").string();
        ASSERT_EQ(SaveImageAsPng(source, png), 0);
        ReleaseImage(source);
        std::ifstream in(png, std::ios::binary);
        pngBytes.assign(std::istreambuf_iterator<char>(in), {});
        // Two inches by one, the left inch red.
        wmf = (scratch.path() / "drawing.wmf").string();
        std::ofstream(wmf, std::ios::binary)
            << gdiplus::codecs::wmf_testing::placeableWmf(200, 100, 100, {0, 0, 100, 100, 0x000000FF});
    }
    void TearDown() override {
        ViewerTable::TearDown();
        win::SetClipboardService({});
        for (int32_t id : lent) ReleaseImage(id);
        lent.clear();
        for (uint32_t b : bitmaps) win::DeleteObject(win::HBITMAP{b});
        bitmaps.clear();
        stream.reset();
    }

    files::testing::ScratchFolder scratch{"viewer-document-table"};
    std::string png;
    std::string pngBytes;
    std::string wmf;
    std::vector<int32_t> lent;
    std::vector<uint32_t> bitmaps;
    std::unique_ptr<com::testing::HostStream> stream;
    uint32_t handle = 0;  // what the row's start made for the call
};

ViewerDocumentTable& D(ViewerTable& t) { return static_cast<ViewerDocumentTable&>(t); }

// The source's picture is shown at its size: fitted, red at the face's left, blue at its right.
void expectShown(ViewerTable& t, const VARIANT& r, int32_t width, int32_t height) {
    EXPECT_EQ(r.lVal, 0);
    EXPECT_EQ(t.get("ImageWidth").lVal, width);
    EXPECT_EQ(t.get("ImageHeight").lVal, height);
    EXPECT_EQ(t.callLong("GetDocumentType"), 1);
    EXPECT_EQ(t.callLong("SetZoomFitControl"), 0);
    const int32_t left = t.callLong("GetImageLeft"), top = t.callLong("GetImageTop");
    EXPECT_EQ(t.pixel(left + 3, top + 3), kRed);
    EXPECT_EQ(t.pixel(400 - left - 4, 300 - top - 4), kBlue);
}
void expectPng(ViewerTable& t, const VARIANT& r) {
    expectShown(t, r, 30, 20);
    EXPECT_NEAR(t.number("HorizontalResolution"), 96, 0.5);
    EXPECT_NEAR(t.number("VerticalResolution"), 72, 0.5);
}
void expectGdiPicture(ViewerTable& t, const VARIANT& r) { expectShown(t, r, 6, 4); }

std::vector<VARIANT> pngPath(ViewerTable& t) { return {MakeBstrUtf8(D(t).png)}; }
std::vector<VARIANT> pngArray(ViewerTable& t) {
    const std::string& bytes = D(t).pngBytes;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<uint32_t>(bytes.size()));
    std::memcpy(array->pvData, bytes.data(), bytes.size());
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = array;
    return {v};
}
std::vector<VARIANT> hostStream(ViewerTable& t) {
    D(t).stream = std::make_unique<com::testing::HostStream>(D(t).pngBytes);
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UNKNOWN;
    v.punkVal = D(t).stream.get();
    v.punkVal->AddRef();  // the argument's own reference, given back when it is cleared
    return {v};
}
std::vector<VARIANT> madeHandle(ViewerTable& t) { return {MakeI4(static_cast<int32_t>(D(t).handle))}; }

void streamGivenBack(ViewerTable& t, const VARIANT& r) {
    expectPng(t, r);
    EXPECT_EQ(D(t).stream->references(), 1u);
}

void aGdiBitmap(ViewerTable& t) {
    D(t).handle = win::handleValue(win::AddBitmap(gdiPicture()));
    D(t).bitmaps.push_back(D(t).handle);
}
void aMemoryBlock(ViewerTable& t) {
    const std::string& bytes = D(t).pngBytes;
    win::HGLOBAL block = win::GlobalAlloc(win::GHND, bytes.size());
    ASSERT_NE(block, win::HGLOBAL{});
    std::memcpy(win::GlobalLock(block), bytes.data(), bytes.size());
    win::GlobalUnlock(block);
    D(t).handle = win::handleValue(block);
}
std::vector<VARIANT> memoryBlock(ViewerTable& t) {
    return {MakeI4(static_cast<int32_t>(D(t).handle)), MakeI4(static_cast<int32_t>(D(t).pngBytes.size()))};
}
std::vector<VARIANT> beyondMemoryBlock(ViewerTable& t) {
    return {MakeI4(static_cast<int32_t>(D(t).handle)), MakeI4(static_cast<int32_t>(D(t).pngBytes.size() + 1))};
}
void anIcon(ViewerTable& t) {
    aGdiBitmap(t);
    win::GdiBitmap mask;  // one bit a pixel, all 0: opaque everywhere
    mask.width = 6;
    mask.height = 4;
    mask.bitsPerPixel = 1;
    mask.topDown = true;
    mask.stride = 4;
    mask.bits.assign(16, 0);
    mask.colorTable = {0x000000u, 0xFFFFFFu};
    const uint32_t maskHandle = win::handleValue(win::AddBitmap(mask));
    D(t).bitmaps.push_back(maskHandle);
    win::IconInfo info;
    info.mask = win::HBITMAP{maskHandle};
    info.color = win::HBITMAP{D(t).handle};
    D(t).handle = win::handleValue(win::CreateIconIndirect(info));
    ASSERT_NE(D(t).handle, 0u);
}
void aPicture(ViewerTable& t) {
    aGdiBitmap(t);
    win::PictureDescription description;
    description.type = win::PictureType::Bitmap;
    description.handle = D(t).handle;
    win::HPICTURE picture{};
    ASSERT_EQ(win::OleCreatePictureIndirect(description, false, picture), S_OK);
    D(t).handle = win::handleValue(picture);
}
// A packed DIB in global memory: the header, then the rows bottom first.
void aPackedDib(ViewerTable& t) {
    const win::GdiBitmap picture = gdiPicture();
    std::vector<uint8_t> dib(40 + picture.bits.size(), 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&dib[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&dib[at], &v, 2); };
    put32(0, 40), put32(4, 6), put32(8, 4), put16(12, 1), put16(14, 32);
    put32(20, static_cast<uint32_t>(picture.bits.size()));
    for (int32_t y = 0; y < 4; ++y) std::memcpy(&dib[40 + (3 - y) * 24], picture.row(y), 24);
    win::HGLOBAL block = win::GlobalAlloc(win::GHND, dib.size());
    ASSERT_NE(block, win::HGLOBAL{});
    std::memcpy(win::GlobalLock(block), dib.data(), dib.size());
    win::GlobalUnlock(block);
    D(t).handle = win::handleValue(block);
}
// A second image of the host's, 40 x 10, to show by its ID.
void aLentImage(ViewerTable& t) {
    const int32_t id = ViewerTable::makeImage(40, 10, [](int32_t x, int32_t) { return redThenBlue(x, 40); }, 96, 72);
    D(t).lent.push_back(id);
    D(t).handle = static_cast<uint32_t>(id);
}
void shownGdiBitmap(ViewerTable& t) {
    D(t).handle = static_cast<uint32_t>(t.callLong("GetHBitmap"));
    ASSERT_NE(D(t).handle, 0u);
}
void fitted(ViewerTable& t) { EXPECT_EQ(t.callLong("SetZoomFitControl"), 0); }

const ViewerRow kSourceRows[] = {
    {"DisplayFromFile", kMethod, {}, nullptr, expectPng, pngPath},
    {"DisplayFromFileICM", kMethod, {}, nullptr, expectPng, pngPath},
    {"DisplayFromFile", kMethod, {std::string("/no/such/folder/none.png")}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_NE(r.lVal, 0);
         EXPECT_EQ(t.callLong("GetStat"), r.lVal);
     }},
    {"DisplayFromByteArray", kMethod, {}, nullptr, expectPng, pngArray},
    {"DisplayFromByteArrayICM", kMethod, {}, nullptr, expectPng, pngArray},
    {"DisplayFromMemory", kMethod, {}, aMemoryBlock, expectPng, memoryBlock},
    // A length beyond the host's block is refused before a byte is read.
    {"DisplayFromMemory", kMethod, {}, aMemoryBlock,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 2);
         EXPECT_EQ(t.get("ImageWidth").lVal, 1200);
     },
     beyondMemoryBlock},
    {"DisplayFromString", kMethod, {asciiBmp()}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.get("ImageWidth").lVal, 3);
         EXPECT_EQ(t.get("ImageHeight").lVal, 2);
     }},
    {"DisplayFromStream", kMethod, {}, nullptr, streamGivenBack, hostStream},
    {"DisplayFromStreamICM", kMethod, {}, nullptr, streamGivenBack, hostStream},
    {"DisplayFromHBitmap", kMethod, {}, aGdiBitmap, expectGdiPicture, madeHandle},
    {"DisplayFromHICON", kMethod, {}, anIcon, expectGdiPicture, madeHandle},
    {"DisplayFromStdPicture", kMethod, {}, aPicture,
     [](ViewerTable& t, const VARIANT& r) {
         expectGdiPicture(t, r);
         win::PictureRelease(win::HPICTURE{D(t).handle});
     },
     madeHandle},
    {"DisplayFromGdiDib", kMethod, {}, aPackedDib,
     [](ViewerTable& t, const VARIANT& r) {
         expectGdiPicture(t, r);
         win::GlobalFree(win::HGLOBAL{D(t).handle});
     },
     madeHandle},
    {"DisplayFromClipboardData", kMethod, {}, nullptr, expectGdiPicture},
    // Drawn at 96 dpi times the scale: 240 x 120 pixels, red in the left half; the right half, where
    // the metafile draws nothing, is transparent and shows the viewer's black background.
    {"DisplayFromMetaFile", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 0);
         EXPECT_EQ(t.get("ImageWidth").lVal, 240);
         EXPECT_EQ(t.get("ImageHeight").lVal, 120);
         EXPECT_EQ(t.callLong("SetZoomFitControl"), 0);
         EXPECT_EQ(t.pixel(100, 150), kRed);
         EXPECT_EQ(t.pixel(300, 150), 0xFF000000u);
     },
     [](ViewerTable& t) { return std::vector<VARIANT>{MakeBstrUtf8(D(t).wmf), MakeR4(1.25f)}; }},
    {"DisplayFromMorvalenImage", kMethod, {}, aLentImage,
     [](ViewerTable& t, const VARIANT& r) {
         expectShown(t, r, 40, 10);
         EXPECT_EQ(static_cast<uint32_t>(t.callLong("GetNativeImage")), D(t).handle);
     },
     madeHandle},
    {"SetNativeImage", kMethod, {}, aLentImage,
     [](ViewerTable& t, const VARIANT& r) {
         expectShown(t, r, 40, 10);
         EXPECT_EQ(static_cast<uint32_t>(t.callLong("GetNativeImage")), D(t).handle);
     },
     madeHandle},
    // No image: refused, the document closed, the host's image kept.
    {"SetNativeImage", kMethod, {int32_t{0}}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         EXPECT_EQ(r.lVal, 2);
         EXPECT_EQ(t.callLong("GetNativeImage"), 0);
         EXPECT_NE(FindImageEntry(t.image), nullptr);
     }},
};
const bool kSourceRowsRegistered = RegisterMemberTable("_MvViewer", kSourceRows);

TEST_F(ViewerDocumentTable, EachSourceShowsItsPictureAtItsSize) {
    ASSERT_TRUE(kSourceRowsRegistered);
    for (const ViewerRow& row : kSourceRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

const ViewerRow kHandOutRows[] = {
    // A GDI bitmap of the shown image for the host, which deletes it.
    {"GetHBitmap", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT& r) {
         ASSERT_NE(r.lVal, 0);
         D(t).bitmaps.push_back(static_cast<uint32_t>(r.lVal));
         std::shared_ptr<win::GdiBitmap> made = win::FindBitmap(win::HBITMAP{static_cast<uint32_t>(r.lVal)});
         ASSERT_TRUE(made);
         EXPECT_EQ(made->width, 1200);
         EXPECT_EQ(made->height, 600);
         const size_t bytes = made->bitsPerPixel / 8;
         EXPECT_EQ(made->row(300)[10 * bytes + 2], 0xFF);  // red on the left
         EXPECT_EQ(made->row(300)[1190 * bytes], 0xFF);    // blue on the right
     }},
    {"DeleteHBitmap", kMethod, {}, shownGdiBitmap,
     [](ViewerTable& t, const VARIANT&) { EXPECT_FALSE(win::FindBitmap(win::HBITMAP{D(t).handle})); }, madeHandle},
    // Closed for another image: the geometry stays, the pages go, the image stays the host's.
    {"ImageClosed", kMethod, {}, nullptr,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(t.get("ImageWidth").lVal, 1200);
         EXPECT_EQ(t.get("PageCount").lVal, 0);
         EXPECT_EQ(t.get("CurrentPage").lVal, 0);
         EXPECT_NE(FindImageEntry(t.image), nullptr);
     }},
    // Closed and released, the face emptied to the back colour.
    {"CloseImage", kMethod, {}, fitted,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(FindImageEntry(t.image), nullptr);
         t.image = 0;
         EXPECT_EQ(t.callLong("GetNativeImage"), 0);
         EXPECT_EQ(t.get("ImageWidth").lVal, 0);
         EXPECT_EQ(t.pixel(5, 150), 0xFF000000u);
     }},
    // Closed and released, the face left as drawn.
    {"CloseImageEx", kMethod, {}, fitted,
     [](ViewerTable& t, const VARIANT&) {
         EXPECT_EQ(FindImageEntry(t.image), nullptr);
         t.image = 0;
         EXPECT_EQ(t.callLong("GetNativeImage"), 0);
         EXPECT_EQ(t.get("PageCount").lVal, 0);
         EXPECT_EQ(t.pixel(5, 150), kRed);
     }},
    {"GetDocumentType", kMethod, {}, nullptr, [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 1); }},
    {"GetDocumentType", kMethod, {},
     [](ViewerTable& t) {
         VARIANT r = t.call("CloseImageEx");
         VariantClear(&r);
         t.image = 0;
     },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(r.lVal, 0); }},
    {"GetImageFormat", kMethod, {},
     [](ViewerTable& t) { EXPECT_EQ(t.callLong("DisplayFromFile", {MakeBstrUtf8(D(t).png)}), 0); },
     [](ViewerTable&, const VARIANT& r) { EXPECT_EQ(BstrToUtf8(r.bstrVal), "PNG"); }},
};
const bool kHandOutRowsRegistered = RegisterMemberTable("_MvViewer", kHandOutRows);

TEST_F(ViewerDocumentTable, EachMemberHandsOutOrClosesTheShownImage) {
    ASSERT_TRUE(kHandOutRowsRegistered);
    for (const ViewerRow& row : kHandOutRows) {
        TearDown();
        SetUp();
        run(row);
    }
}

}  // namespace
}  // namespace scanvelt::testing
