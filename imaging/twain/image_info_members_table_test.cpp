// The image information members called by dispatch ID on a page of 40 x 30
// pixels at 300 x 200 dpi: every answer belongs to its own side, so a width
// read from the height or a resolution from the other axis shows.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_loading_creators.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/com/picture_object.h"
#include "platform/com/safearray.h"
#include "platform/com/stream_object.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/gdi_icon.h"
#include "platform/win/global_memory.h"
#include "platform/win/stream.h"
#include "platform/win/text_encoding.h"

namespace scanvelt::testing {
namespace {

using namespace com;

void expectResolutions(const ImageEffect& e, float horizontal, float vertical) {
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.after, e.before);
    EXPECT_EQ(testing_support::ResolutionOf(e.after), (std::pair<float, float>{horizontal, vertical}));
}

const ImageRow kImageInfoRows[] = {
    {"GetWidth", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, 40); }},
    {"GetHeight", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, 30); }},
    {"GetWidthMM", {}, [](const ImageEffect& e) { EXPECT_NEAR(e.result.fltVal, 40 / 300.0 * 25.4, 1e-4); }},
    {"GetHeightMM", {}, [](const ImageEffect& e) { EXPECT_NEAR(e.result.fltVal, 30 / 200.0 * 25.4, 1e-4); }},
    {"GetHorizontalResolution", {}, [](const ImageEffect& e) { EXPECT_FLOAT_EQ(e.result.fltVal, 300.0f); }},
    {"GetVerticalResolution", {}, [](const ImageEffect& e) { EXPECT_FLOAT_EQ(e.result.fltVal, 200.0f); }},
    {"SetHorizontalResolution", {150.0}, [](const ImageEffect& e) { expectResolutions(e, 150.0f, 200.0f); }},
    {"SetVerticalResolution", {100.0}, [](const ImageEffect& e) { expectResolutions(e, 300.0f, 100.0f); }},
    {"GetPixelFormat", {},
     [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, static_cast<int32_t>(gdiplus::PixelFormat24bppRGB)); }},
    {"GetPixelDepth", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.lVal, 24); }},
    {"IsPixelFormatIndexed", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.boolVal, VARIANT_FALSE); }},
    {"IsPixelFormatHasAlpha", {}, [](const ImageEffect& e) { EXPECT_EQ(e.result.boolVal, VARIANT_FALSE); }},
    {"GetPixelFormatString", {},
     [](const ImageEffect& e) {
         EXPECT_EQ(BstrToUtf8(e.result.bstrVal), PixelFormatText(gdiplus::PixelFormat24bppRGB));
         EXPECT_NE(BstrToUtf8(e.result.bstrVal), "");
     }},
    {"GetImageFormat", {},
     [](const ImageEffect& e) { EXPECT_EQ(BstrToUtf8(e.result.bstrVal), FormatNameOf(e.before)); }},
};
const bool kImageInfoRowsRegistered = RegisterMemberTable("_Twain", kImageInfoRows);

class ImageInfoTable : public ImageMemberTable {};

TEST_F(ImageInfoTable, EachMemberAnswersForItsOwnSide) {
    ASSERT_TRUE(kImageInfoRowsRegistered);
    for (const ImageRow& row : kImageInfoRows) run(row);
}

// ---- The image handed out as handles ------------------------------------------

class HandleTable;

struct HandleRow {
    const char* member;
    void (*run)(HandleTable&);  // starting state, the call and its effect
};

// Each row starts from the page of 40 x 30 pixels at 300 x 200 dpi as the
// current image. A handle is proven usable by giving it back to the engine,
// which makes an image of it again: the page's size and colours.
class HandleTable : public TwainTable {
public:
    using TwainTable::call;
    HandleTable() {
        page = testing_support::MakePage(40, 30);
        control().setCurrentImage(page);
    }
    ~HandleTable() override {
        control().setCurrentImage(0);
        ReleaseImage(page);
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }
    uint32_t handle(const char* member, std::vector<VARIANT> arguments = {}) {
        return static_cast<uint32_t>(call(member, std::move(arguments)).lVal);
    }
    void giveBack(const char* member, uint32_t handle) {
        VARIANT result = call(member, {MakeI4(static_cast<int32_t>(handle))});
        VariantClear(&result);
    }
    // DeletePictureObject with a picture the host keeps its own reference to.
    void giveBackPicture(const VARIANT& picture) {
        picture.pdispVal->AddRef();
        VARIANT result = call("DeletePictureObject", {picture});
        VariantClear(&result);
    }
    int32_t page = 0;
};

// `made` (released here) has the size and colours of `original`; alpha aside,
// as bitmaps for hosts carry none of a page in 24 bits.
void ExpectSameImage(MorvalenStatus status, int32_t made, int32_t original) {
    ASSERT_EQ(status, OK);
    ASSERT_NE(made, 0);
    EXPECT_EQ(testing_support::SizeOf(made), testing_support::SizeOf(original));
    std::vector<uint32_t> got = testing_support::PixelsOf(made), wanted = testing_support::PixelsOf(original);
    for (auto* pixels : {&got, &wanted})
        for (uint32_t& p : *pixels) p &= 0xFFFFFF;
    EXPECT_EQ(got, wanted);
    ReleaseImage(made);
}

// The bitmap handle behind a host's picture object (its default property).
uint32_t PictureHandle(const VARIANT& picture) {
    EXPECT_EQ(picture.vt, VT_DISPATCH);
    if (picture.vt != VT_DISPATCH || !picture.pdispVal) return 0;
    VARIANT handle;
    VariantInit(&handle);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(picture.pdispVal->Invoke(DISPID_PICT_HANDLE, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &handle,
                                       nullptr, nullptr),
              S_OK);
    VARIANT number;
    VariantInit(&number);
    EXPECT_EQ(VariantChangeType(&number, &handle, 0, VT_I4), S_OK);
    VariantClear(&handle);
    return static_cast<uint32_t>(number.lVal);
}

// The bitmap behind a picture, made into an image again.
void ExpectPictureOf(const VARIANT& picture, int32_t original) {
    int32_t made = 0;
    const MorvalenStatus status = ImageFromHBitmap(win::HBITMAP{PictureHandle(picture)}, win::HPALETTE{}, made);
    ExpectSameImage(status, made, original);
}

const HandleRow kHandleRows[] = {
    {"GetHBitmap",
     [](HandleTable& t) {
         const uint32_t bitmap = t.handle("GetHBitmap");
         EXPECT_EQ(win::handleKindOf(bitmap), win::HandleKind::Bitmap);
         int32_t made = 0;
         const MorvalenStatus status = ImageFromHBitmap(win::HBITMAP{bitmap}, win::HPALETTE{}, made);
         ExpectSameImage(status, made, t.page);
         win::DeleteObject(win::HBITMAP{bitmap});
     }},
    // The bitmap goes; a second delete, or a handle of another kind, frees nothing.
    {"DeleteHBitmap",
     [](HandleTable& t) {
         const uint32_t bitmap = t.handle("GetHBitmap"), icon = t.handle("GetHICON");
         const size_t bitmaps = win::LiveBitmapCount(), icons = win::LiveIconCount();
         t.giveBack("DeleteHBitmap", icon);
         EXPECT_NE(win::FindIcon(win::HICON{icon}), nullptr);
         t.giveBack("DeleteHBitmap", bitmap);
         EXPECT_EQ(win::FindBitmap(win::HBITMAP{bitmap}), nullptr);
         EXPECT_EQ(win::LiveBitmapCount(), bitmaps - 1);
         t.giveBack("DeleteHBitmap", bitmap);
         EXPECT_EQ(win::LiveBitmapCount(), bitmaps - 1);
         EXPECT_EQ(win::LiveIconCount(), icons);
         win::DestroyIcon(win::HICON{icon});
     }},
    {"GetHICON",
     [](HandleTable& t) {
         const uint32_t icon = t.handle("GetHICON");
         EXPECT_EQ(win::handleKindOf(icon), win::HandleKind::Icon);
         int32_t made = 0;
         const MorvalenStatus status = ImageFromHIcon(win::HICON{icon}, made);
         ExpectSameImage(status, made, t.page);
         win::DestroyIcon(win::HICON{icon});
     }},
    {"DeleteHICON",
     [](HandleTable& t) {
         const uint32_t icon = t.handle("GetHICON"), bitmap = t.handle("GetHBitmap");
         const size_t bitmaps = win::LiveBitmapCount(), icons = win::LiveIconCount();
         t.giveBack("DeleteHICON", bitmap);
         EXPECT_NE(win::FindBitmap(win::HBITMAP{bitmap}), nullptr);
         t.giveBack("DeleteHICON", icon);
         EXPECT_EQ(win::FindIcon(win::HICON{icon}), nullptr);
         EXPECT_EQ(win::LiveIconCount(), icons - 1);
         t.giveBack("DeleteHICON", icon);
         EXPECT_EQ(win::LiveIconCount(), icons - 1);
         EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
         win::DeleteObject(win::HBITMAP{bitmap});
     }},
    // A packed DIB of the page, its resolution with it.
    {"GetDib",
     [](HandleTable& t) {
         const uint32_t dib = t.handle("GetDib");
         EXPECT_EQ(win::handleKindOf(dib), win::HandleKind::GlobalMemory);
         int32_t made = 0;
         const MorvalenStatus status = LoadImageFromDib(made, win::HGLOBAL{dib}, false, true);
         if (status == OK)
             EXPECT_EQ(testing_support::ResolutionOf(made), (std::pair<float, float>{300.0f, 200.0f}));
         ExpectSameImage(status, made, t.page);
         win::GlobalFree(win::HGLOBAL{dib});
     }},
    {"RemoveDib",
     [](HandleTable& t) {
         const uint32_t dib = t.handle("GetDib"), bitmap = t.handle("GetHBitmap");
         const size_t blocks = win::LiveGlobalBlockCount(), bitmaps = win::LiveBitmapCount();
         t.giveBack("RemoveDib", bitmap);
         EXPECT_NE(win::FindBitmap(win::HBITMAP{bitmap}), nullptr);
         t.giveBack("RemoveDib", dib);
         EXPECT_EQ(win::GlobalSize(win::HGLOBAL{dib}), 0u);
         EXPECT_EQ(win::LiveGlobalBlockCount(), blocks - 1);
         t.giveBack("RemoveDib", dib);
         EXPECT_EQ(win::LiveGlobalBlockCount(), blocks - 1);
         EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
         win::DeleteObject(win::HBITMAP{bitmap});
     }},
    // A context over the image given (not the current one), one per image;
    // its bitmap holds the image's pixels.
    {"GetMorvalenImageDC",
     [](HandleTable& t) {
         const int32_t other = testing_support::MakePage(20, 10);
         const uint32_t dc = t.handle("GetMorvalenImageDC", {MakeI4(other)});
         EXPECT_EQ(win::handleKindOf(dc), win::HandleKind::DeviceContext);
         EXPECT_EQ(t.handle("GetMorvalenImageDC", {MakeI4(other)}), dc);
         const auto bitmap = win::FindBitmap(win::SelectedBitmap(win::HDC{dc}));
         ASSERT_NE(bitmap, nullptr);
         EXPECT_EQ(std::make_pair(bitmap->width, bitmap->height), (std::pair<int32_t, int32_t>{20, 10}));
         ASSERT_EQ(bitmap->bitsPerPixel, 32);
         uint32_t lastPixel = 0;
         std::memcpy(&lastPixel, bitmap->row(9) + 19 * 4, 4);
         EXPECT_EQ(lastPixel & 0xFFFFFF, PageAt(19, 9) & 0xFFFFFF);
         EXPECT_EQ(t.handle("GetMorvalenImageDC", {MakeI4(4711)}), 0u);
         EXPECT_NE(t.call("GetStat").lVal, 0);
         EXPECT_EQ(t.call("ReleaseMorvalenImageDC", {MakeI4(static_cast<int32_t>(dc))}).lVal, 0);
         ReleaseImage(other);
     }},
    // What was drawn into the context reaches the image; a second release fails.
    {"ReleaseMorvalenImageDC",
     [](HandleTable& t) {
         const uint32_t dc = t.handle("GetMorvalenImageDC", {MakeI4(t.page)});
         const auto bitmap = win::FindBitmap(win::SelectedBitmap(win::HDC{dc}));
         ASSERT_NE(bitmap, nullptr);
         const uint32_t drawn = 0xFF123456;
         std::memcpy(bitmap->row(29) + 39 * 4, &drawn, 4);
         EXPECT_EQ(t.call("ReleaseMorvalenImageDC", {MakeI4(static_cast<int32_t>(dc))}).lVal, 0);
         EXPECT_EQ(PixelAt(t.page, 39, 29), drawn);
         EXPECT_EQ(PixelAt(t.page, 0, 0), PageAt(0, 0));
         EXPECT_EQ(t.call("ReleaseMorvalenImageDC", {MakeI4(static_cast<int32_t>(dc))}).lVal, GenericError);
     }},
    {"GetGdiplusImage",
     [](HandleTable& t) {
         EXPECT_EQ(t.call("GetGdiplusImage").lVal, t.page);
         t.control().setCurrentImage(0);
         EXPECT_EQ(t.call("GetGdiplusImage").lVal, 0);
         t.control().setCurrentImage(t.page);
     }},
    {"GetPicture",
     [](HandleTable& t) {
         VARIANT picture = t.call("GetPicture");
         ExpectPictureOf(picture, t.page);
         VariantClear(&picture);
     }},
    // The picture of the image named, not of the current one; none for an unknown ID.
    {"GetPictureFromMorvalenImage",
     [](HandleTable& t) {
         const int32_t other = testing_support::MakePage(20, 10);
         VARIANT picture = t.call("GetPictureFromMorvalenImage", {MakeI4(other)});
         ExpectPictureOf(picture, other);
         VariantClear(&picture);
         VARIANT none = t.call("GetPictureFromMorvalenImage", {MakeI4(4711)});
         EXPECT_TRUE(none.vt == VT_DISPATCH && none.pdispVal == nullptr);
         EXPECT_NE(t.call("GetStat").lVal, 0);
         VariantClear(&none);
         ReleaseImage(other);
     }},
    // The picture's bitmap goes; the second time nothing else does.
    {"DeletePictureObject",
     [](HandleTable& t) {
         VARIANT picture = t.call("GetPicture");
         const uint32_t bitmap = PictureHandle(picture);
         ASSERT_NE(win::FindBitmap(win::HBITMAP{bitmap}), nullptr);
         const size_t bitmaps = win::LiveBitmapCount();
         t.giveBackPicture(picture);
         EXPECT_EQ(win::FindBitmap(win::HBITMAP{bitmap}), nullptr);
         EXPECT_EQ(win::LiveBitmapCount(), bitmaps - 1);
         t.giveBackPicture(picture);
         EXPECT_EQ(win::LiveBitmapCount(), bitmaps - 1);
         VariantClear(&picture);
     }},
};
const bool kHandleRowsRegistered = RegisterMemberTable("_Twain", kHandleRows);

TEST_F(HandleTable, EachHandleIsUsableAndItsDeleterFreesItOnce) {
    ASSERT_TRUE(kHandleRowsRegistered);
    for (const HandleRow& row : kHandleRows) {
        SCOPED_TRACE(row.member);
        row.run(*this);
    }
}

// ---- The image encoded into the host's memory ------------------------------

struct MemoryOutputRow {
    const char* member;
    const char* format;
    int32_t quality;
    std::string magic;
    bool keepsResolution;
};
const MemoryOutputRow kMemoryOutputRows[] = {
    {"SaveAsByteArray", "PNG", 0, "\x89PNG", true},
    {"SaveAsString", "JPEG", 90, "\xFF\xD8\xFF", true},
    {"SaveAsStream", "BMP", 0, "BM", true},
};
const bool kMemoryOutputRowsRegistered = RegisterMemberTable("_Twain", kMemoryOutputRows);

class MemoryOutputTable : public TwainTable {};

TEST_F(MemoryOutputTable, EachMemberHandsBackThePageEncodedInItsFormat) {
    ASSERT_TRUE(kMemoryOutputRowsRegistered);
    files::testing::ScratchFolder scratch("memory-output");
    for (const MemoryOutputRow& row : kMemoryOutputRows) {
        SCOPED_TRACE(row.member);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(testing_support::MakePage(40, 30));
        const std::string member = row.member;
        // The host's own variables, passed by reference where the member fills them.
        SAFEARRAY* array = nullptr;
        int32_t count = -1;
        std::shared_ptr<win::Stream> empty;
        ASSERT_EQ(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, empty), win::S_OK);
        IUnknown* stream = MakeStreamObject(empty);
        std::vector<VARIANT> arguments;
        if (member == "SaveAsByteArray") {
            VARIANT arrayRef, countRef;
            VariantInit(&arrayRef);
            arrayRef.vt = VT_BYREF | VT_ARRAY | VT_UI1;
            arrayRef.pparray = &array;
            VariantInit(&countRef);
            countRef.vt = VT_BYREF | VT_I4;
            countRef.plVal = &count;
            arguments = {arrayRef, countRef};
        } else if (member == "SaveAsStream") {
            VARIANT streamRef;
            VariantInit(&streamRef);
            streamRef.vt = VT_BYREF | VT_UNKNOWN;
            streamRef.ppunkVal = &stream;
            arguments = {streamRef};
        }
        arguments.push_back(MakeBstrUtf8(row.format));
        arguments.push_back(MakeI4(row.quality));
        VARIANT result = call(row.member, std::move(arguments));
        EXPECT_EQ(call("GetStat").lVal, 0);

        std::string bytes;
        if (member == "SaveAsByteArray") {
            EXPECT_EQ(result.lVal, 0);
            const std::vector<uint8_t> held = BytesOf(array);
            bytes.assign(held.begin(), held.end());
            EXPECT_EQ(count, static_cast<int32_t>(bytes.size()));
            SafeArrayDestroy(array);
        } else if (member == "SaveAsStream") {
            EXPECT_EQ(result.lVal, 0);
            auto* host = static_cast<IStream*>(stream);
            char chunk[4096];
            for (uint32_t read = 0; host->Read(chunk, sizeof chunk, &read) == S_OK && read > 0;) bytes.append(chunk, read);
        } else {
            ASSERT_EQ(result.vt, VT_BSTR);
            bytes = win::Utf8ToAnsi(BstrToUtf8(result.bstrVal));
        }
        stream->Release();
        VariantClear(&result);

        ASSERT_GE(bytes.size(), row.magic.size());
        EXPECT_EQ(bytes.substr(0, row.magic.size()), row.magic);
        const std::string file = scratch.file(std::string(row.member) + "." + row.format);
        std::ofstream(file, std::ios::binary) << bytes;
        int32_t loaded = 0;
        ASSERT_EQ(LoadImageFromFile(loaded, file, false, false, true, 0, true, true), OK);
        EXPECT_EQ(testing_support::SizeOf(loaded), std::make_pair(40, 30));
        if (row.keepsResolution) {
            const auto [x, y] = testing_support::ResolutionOf(loaded);
            EXPECT_NEAR(x, 300.0f, 0.5f);
            EXPECT_NEAR(y, 200.0f, 0.5f);
        }
        ReleaseImage(loaded);
        ReleaseImage(static_cast<TwainObject*>(twain)->control().currentImage());
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
    }
}

}  // namespace
}  // namespace scanvelt::testing
