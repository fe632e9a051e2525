// The image information members called by dispatch ID on a page of 40 x 30
// pixels at 300 x 200 dpi: every answer belongs to its own side, so a width
// read from the height or a resolution from the other axis shows.
#include <gtest/gtest.h>

#include <fstream>

#include "imaging/engine/image_loading.h"
#include "imaging/engine/image_queries.h"
#include "imaging/engine/pixel_formats.h"
#include "imaging/twain/testing/twain_tables.h"
#include "platform/com/safearray.h"
#include "platform/com/stream_object.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/gdiplus/pixel_format.h"
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
