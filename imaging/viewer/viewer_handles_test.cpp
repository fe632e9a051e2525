// The viewer shows images from stream objects (ours, or a host's own) and
// hands the shown image out as a GDI bitmap, by dispatch ID.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/stream_object.h"
#include "platform/com/testing/host_stream.h"
#include "platform/com/variant.h"
#include "platform/win/gdi_bitmap.h"
#include "platform/win/stream.h"

namespace scanvelt {
namespace {

using namespace com;
using com::testing::HostStream;

// A 3 x 2 pixel 24-bit BMP file.
std::vector<uint8_t> SmallBmp() {
    const uint32_t rowBytes = 12, size = 54 + rowBytes * 2;
    std::vector<uint8_t> file(size, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
    file[0] = 'B', file[1] = 'M';
    put32(2, size), put32(10, 54), put32(14, 40), put32(18, 3), put32(22, 2);
    put16(26, 1), put16(28, 24), put32(34, rowBytes * 2);
    for (size_t i = 54; i < size; ++i) file[i] = static_cast<uint8_t>(i * 37);
    return file;
}

class ViewerHandles : public ::testing::Test {
protected:
    ViewerHandles() {
        EXPECT_EQ(ViewerObject::Create(typelib::MvViewerInterfaceIds().front(), reinterpret_cast<void**>(&viewer)),
                  S_OK);
    }
    ~ViewerHandles() override { viewer->Release(); }

    DISPID id(const char* name) { return typelib::MvViewerMemberId(name); }
    // The member's result as a long; the arguments are the caller's.
    int32_t call(const char* name, std::vector<VARIANT> args = {}) {
        DISPPARAMS params{args.data(), nullptr, static_cast<uint32_t>(args.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(viewer->Invoke(id(name), IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK)
            << name;
        VARIANT converted;
        VariantInit(&converted);
        VariantChangeType(&converted, &result, 0, VT_I4);
        VariantClear(&result);
        return converted.lVal;
    }
    int32_t property(const char* name) {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(viewer->Invoke(id(name), IID_IUnknown, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr), S_OK);
        return result.lVal;
    }
    static VARIANT object(IUnknown* o) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_UNKNOWN;
        v.punkVal = o;
        return v;
    }

    IDispatch* viewer = nullptr;
};

TEST_F(ViewerHandles, StreamsOfOursAndOfTheHostAreShown) {
    std::shared_ptr<win::Stream> stream;
    ASSERT_EQ(win::CreateStreamOnHGlobal(win::HGLOBAL{}, true, stream), S_OK);
    const std::vector<uint8_t> bmp = SmallBmp();
    uint32_t written = 0;
    ASSERT_EQ(stream->Write(bmp.data(), static_cast<uint32_t>(bmp.size()), &written), S_OK);
    ASSERT_EQ(stream->Seek(0, win::SeekOrigin::Begin, nullptr), S_OK);
    IStream* ours = MakeStreamObject(stream);
    EXPECT_EQ(call("DisplayFromStream", {object(ours)}), 0);
    EXPECT_EQ(property("ImageWidth"), 3);
    EXPECT_EQ(property("ImageHeight"), 2);
    ours->Release();

    HostStream host(std::string(bmp.begin(), bmp.end()));
    EXPECT_EQ(call("DisplayFromStreamICM", {object(&host)}), 0);
    EXPECT_EQ(property("ImageWidth"), 3);
    EXPECT_EQ(host.references(), 1u) << "the viewer keeps no reference to the host's stream";

    HostStream notAnImage("not an image");
    EXPECT_NE(call("DisplayFromStream", {object(&notAnImage)}), 0);
    EXPECT_NE(call("DisplayFromStream", {object(nullptr)}), 0);
    EXPECT_EQ(property("ImageWidth"), 0) << "a failed load shows nothing";
}

TEST_F(ViewerHandles, TheShownImageIsHandedOutAsABitmapTheCallerDeletes) {
    EXPECT_EQ(call("GetHBitmap"), 0) << "nothing shown";
    EXPECT_NE(call("GetStat"), 0);

    const std::vector<uint8_t> file = SmallBmp();
    HostStream host(std::string(file.begin(), file.end()));
    ASSERT_EQ(call("DisplayFromStream", {object(&host)}), 0);
    const int32_t handle = call("GetHBitmap");
    ASSERT_NE(handle, 0);
    EXPECT_EQ(call("GetStat"), 0);
    const auto bitmap = static_cast<win::HBITMAP>(handle);
    std::shared_ptr<win::GdiBitmap> made = win::FindBitmap(bitmap);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->width, 3);
    EXPECT_EQ(made->height, 2);
    made.reset();
    call("DeleteHBitmap", {MakeI4(handle)});
    EXPECT_FALSE(win::FindBitmap(bitmap)) << "the bitmap is gone";
}

}  // namespace
}  // namespace scanvelt
