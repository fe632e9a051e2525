// The picture and stream objects a host receives: what they answer, and that
// they give back what they hold when the host releases them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/com/picture_object.h"
#include "platform/com/stream_object.h"
#include "platform/com/variant.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/ole_picture.h"

namespace com {
namespace {

VARIANT Property(IDispatch* object, DISPID id) {
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(object->Invoke(id, IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
    return result;
}

TEST(PictureObject, AnswersItsPropertiesAndReleasesThePictureWithItsLastReference) {
    const size_t pictures = win::LivePictureCount(), bitmaps = win::LiveBitmapCount();
    const win::HBITMAP bitmap = win::CreateCompatibleBitmap(win::HDC{}, 10, 20);
    win::PictureDescription description;
    description.type = win::PictureType::Bitmap;
    description.handle = win::handleValue(bitmap);
    win::HPICTURE picture{};
    ASSERT_EQ(win::OleCreatePictureIndirect(description, true, picture), S_OK);
    IDispatch* object = MakePictureObject(picture);
    ASSERT_NE(object, nullptr);

    void* asPictureDisp = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IPictureDisp, &asPictureDisp), S_OK);
    static_cast<IDispatch*>(asPictureDisp)->Release();
    void* other = nullptr;
    EXPECT_EQ(object->QueryInterface(IID_IStream, &other), E_NOINTERFACE);

    EXPECT_EQ(Property(object, DISPID_PICT_HANDLE).lVal, static_cast<int32_t>(win::handleValue(bitmap)));
    EXPECT_EQ(Property(object, DISPID_PICT_TYPE).iVal, 1);
    win::PictureInfo info;
    ASSERT_TRUE(win::GetPictureInfo(picture, info));
    EXPECT_EQ(Property(object, DISPID_PICT_WIDTH).lVal, info.width);
    EXPECT_EQ(Property(object, DISPID_PICT_HEIGHT).lVal, info.height);
    EXPECT_GT(info.height, info.width);
    OLECHAR name[] = u"handle";
    OLECHAR* names[] = {name};
    DISPID id = 99;
    EXPECT_EQ(object->GetIDsOfNames(IID_IUnknown, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, DISPID_PICT_HANDLE);
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(object->Invoke(77, IID_IUnknown, 0, DISPATCH_PROPERTYGET, nullptr, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);

    EXPECT_EQ(win::LivePictureCount(), pictures + 1);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(win::LivePictureCount(), pictures);
    EXPECT_EQ(win::LiveBitmapCount(), bitmaps);  // the picture owned its bitmap
    EXPECT_EQ(MakePictureObject(win::HPICTURE{}), nullptr);
}

TEST(StreamObject, ReadsWritesAndSeeksItsStreamAndIsRecognisedOnlyThroughItsOwnInterface) {
    std::shared_ptr<win::Stream> stream;
    ASSERT_EQ(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, stream), S_OK);
    IStream* object = MakeStreamObject(stream);
    ASSERT_NE(object, nullptr);
    uint32_t written = 0, read = 0;
    ASSERT_EQ(object->Write("bill", 4, &written), S_OK);
    EXPECT_EQ(written, 4u);
    uint64_t position = 9;
    ASSERT_EQ(object->Seek(0, 0, &position), S_OK);
    EXPECT_EQ(position, 0u);
    char buffer[8] = {};
    ASSERT_EQ(object->Read(buffer, sizeof buffer, &read), S_OK);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(std::string(buffer, 4), "bill");
    STATSTG stat;
    ASSERT_EQ(object->Stat(&stat, 1), S_OK);
    EXPECT_EQ(stat.cbSize, 4u);
    EXPECT_NE(object->Seek(0, 7, &position), S_OK);

    EXPECT_EQ(StreamOfObject(object), stream);
    // A host's own stream is asked, never cast.
    struct HostStream final : IUnknown {
        int asked = 0;
        HRESULT QueryInterface(REFIID, void** out) override {
            ++asked;
            *out = nullptr;
            return E_NOINTERFACE;
        }
        uint32_t AddRef() override { return 2; }
        uint32_t Release() override { return 1; }
    } host;
    EXPECT_EQ(StreamOfObject(&host), nullptr);
    EXPECT_EQ(host.asked, 1);
    EXPECT_EQ(StreamOfObject(nullptr), nullptr);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_EQ(MakeStreamObject(nullptr), nullptr);
}

}  // namespace
}  // namespace com
