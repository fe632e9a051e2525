// The image information members as a late-bound host reaches them: by
// dispatch ID, out values handed back through the host's references.
#include <gtest/gtest.h>

#include "imaging/engine/image_table.h"
#include "imaging/engine/save_memory.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/twain_object.h"
#include "platform/com/picture_object.h"
#include "platform/com/safearray.h"
#include "platform/com/stream_object.h"
#include "platform/com/variant.h"
#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/ole_picture.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;

constexpr DISPID kSaveAsByteArray = 0x6003005a;
constexpr DISPID kGetWidth = 0x6003005e;
constexpr DISPID kGetWidthMM = 0x60030060;
constexpr DISPID kGetNativeImage = 0x6003006a;
constexpr DISPID kGetHBitmap = 0x6003006d;
constexpr DISPID kDeleteHBitmap = 0x6003006e;
constexpr DISPID kSetHorizontalResolution = 0x6003006b;
constexpr DISPID kGetHorizontalResolution = 0x60030068;
constexpr DISPID kSaveAsStream = 0x6003005b;
constexpr DISPID kGetPicture = 0x60030073;
constexpr DISPID kGetPictureFromMorvalenImage = 0x60030074;
constexpr DISPID kDeletePictureObject = 0x600300fb;
constexpr DISPID kGetGdiplusImage = 0x600300fe;

class TwainObjectImageInfoTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain_)), S_OK); }
    void TearDown() override { EXPECT_EQ(twain_->Release(), 0u); }
    HRESULT invoke(DISPID id, std::vector<VARIANT> arguments, VARIANT& result) {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        VariantInit(&result);
        HRESULT hr = twain_->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        for (auto& v : reversed) VariantClear(&v);
        return hr;
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain_)->control(); }

    IDispatch* twain_ = nullptr;
};

TEST_F(TwainObjectImageInfoTest, SizesHandlesAndResolutionAnswerByDispatchId) {
    const int32_t id = testing_support::RegisterBitmap(2480, 3, gdiplus::PixelFormat24bppRGB);
    NativeBitmapOf(id)->SetResolution(300, 300);
    control().setCurrentImage(id);
    Variant width, mm, native, bitmap, set, dpi, none;
    ASSERT_EQ(invoke(kGetWidth, {}, *width.get()), S_OK);
    EXPECT_EQ(width->vt, VT_I4);
    EXPECT_EQ(width->lVal, 2480);
    ASSERT_EQ(invoke(kGetWidthMM, {}, *mm.get()), S_OK);
    EXPECT_EQ(mm->vt, VT_R4);
    EXPECT_NEAR(mm->fltVal, 209.97333f, 1e-4);
    ASSERT_EQ(invoke(kGetNativeImage, {}, *native.get()), S_OK);
    EXPECT_EQ(native->lVal, id);
    ASSERT_EQ(invoke(kSetHorizontalResolution, {MakeR4(200)}, *set.get()), S_OK);
    EXPECT_EQ(set->lVal, 0);
    ASSERT_EQ(invoke(kGetHorizontalResolution, {}, *dpi.get()), S_OK);
    EXPECT_EQ(dpi->fltVal, 200.0f);

    const size_t bitmaps = win::LiveBitmapCount();
    ASSERT_EQ(invoke(kGetHBitmap, {}, *bitmap.get()), S_OK);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps + 1);
    ASSERT_EQ(invoke(kDeleteHBitmap, {MakeI4(bitmap->lVal)}, *none.get()), S_OK);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
}

TEST_F(TwainObjectImageInfoTest, SaveAsByteArrayFillsTheHostsArrayAndCount) {
    const int32_t id = testing_support::RegisterBitmap(12, 7, gdiplus::PixelFormat24bppRGB);
    control().setCurrentImage(id);
    std::vector<uint8_t> expected;
    int32_t expectedCount = 0;
    ASSERT_EQ(SaveImageToBytes(id, expectedCount, expected, "PNG", 0), OK);

    // The host's own variables: an old array (freed by the member) and a count.
    SAFEARRAY* array = ByteArrayFrom(std::vector<uint8_t>{1, 2, 3});
    int32_t count = -1;
    VARIANT arrayRef, countRef;
    VariantInit(&arrayRef);
    arrayRef.vt = VT_BYREF | VT_ARRAY | VT_UI1;
    arrayRef.pparray = &array;
    VariantInit(&countRef);
    countRef.vt = VT_BYREF | VT_I4;
    countRef.plVal = &count;
    Variant status;
    ASSERT_EQ(invoke(kSaveAsByteArray, {arrayRef, countRef, MakeBstrUtf8("PNG")}, *status.get()), S_OK);
    EXPECT_EQ(status->lVal, 0);
    EXPECT_EQ(count, expectedCount);
    EXPECT_EQ(BytesOf(array), expected);
    SafeArrayDestroy(array);

    // Without a current image nothing is handed back.
    control().setCurrentImage(0);
    array = nullptr;
    count = 5;
    arrayRef.pparray = &array;
    Variant failed;
    ASSERT_EQ(invoke(kSaveAsByteArray, {arrayRef, countRef, MakeBstrUtf8("PNG")}, *failed.get()), S_OK);
    EXPECT_EQ(failed->lVal, 1);
    EXPECT_EQ(array, nullptr);
}

TEST_F(TwainObjectImageInfoTest, PicturesAreObjectsWhoseBitmapDeletePictureObjectFrees) {
    const int32_t id = testing_support::RegisterBitmap(12, 7, gdiplus::PixelFormat24bppRGB);
    control().setCurrentImage(id);
    const size_t bitmaps = win::LiveBitmapCount(), pictures = win::LivePictureCount();
    VARIANT picture;
    ASSERT_EQ(invoke(kGetPicture, {}, picture), S_OK);
    ASSERT_EQ(picture.vt, VT_DISPATCH);
    ASSERT_NE(picture.pdispVal, nullptr);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps + 1);

    // The host's variable holding the picture, passed by reference.
    IDispatch* held = picture.pdispVal;
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_DISPATCH;
    ref.ppdispVal = &held;
    Variant none;
    ASSERT_EQ(invoke(kDeletePictureObject, {ref}, *none.get()), S_OK);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);
    EXPECT_EQ(held, picture.pdispVal);  // the object itself stays the host's
    VariantClear(&picture);
    EXPECT_EQ(win::LivePictureCount(), pictures);

    VARIANT missing;
    ASSERT_EQ(invoke(kGetPictureFromMorvalenImage, {MakeI4(4711)}, missing), S_OK);
    EXPECT_EQ(missing.vt, VT_DISPATCH);
    EXPECT_EQ(missing.pdispVal, nullptr);
    EXPECT_EQ(win::LivePictureCount(), pictures);

    Variant native;
    ASSERT_EQ(invoke(kGetGdiplusImage, {}, *native.get()), S_OK);
    EXPECT_EQ(native->lVal, id);
}

TEST_F(TwainObjectImageInfoTest, SaveAsStreamHandsTheEncodedImageBackInAStream) {
    const int32_t id = testing_support::RegisterBitmap(12, 7, gdiplus::PixelFormat24bppRGB);
    control().setCurrentImage(id);
    std::shared_ptr<win::Stream> empty;
    ASSERT_EQ(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, empty), win::S_OK);
    IUnknown* hostStream = MakeStreamObject(empty);
    VARIANT ref;
    VariantInit(&ref);
    ref.vt = VT_BYREF | VT_UNKNOWN;
    ref.ppunkVal = &hostStream;
    Variant status;
    ASSERT_EQ(invoke(kSaveAsStream, {ref, MakeBstrUtf8("png")}, *status.get()), S_OK);
    EXPECT_EQ(status->lVal, 0);
    auto* stream = static_cast<IStream*>(hostStream);
    STATSTG stat;
    ASSERT_EQ(stream->Stat(&stat, 1), S_OK);
    EXPECT_GT(stat.cbSize, 8u);
    uint8_t signature[4] = {};
    uint32_t read = 0;
    ASSERT_EQ(stream->Read(signature, 4, &read), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(signature) + 1, 3), "PNG");
    hostStream->Release();

    // An object that is no stream: a type mismatch raised to the host.
    IDispatch* notAStream = twain_;
    twain_->AddRef();
    VARIANT wrong;
    VariantInit(&wrong);
    wrong.vt = VT_BYREF | VT_UNKNOWN;
    IUnknown* asUnknown = notAStream;
    wrong.ppunkVal = &asUnknown;
    Variant failed;
    EXPECT_EQ(invoke(kSaveAsStream, {wrong, MakeBstrUtf8("png")}, *failed.get()), DISP_E_EXCEPTION);
    twain_->Release();
}

}  // namespace
}  // namespace scanvelt
