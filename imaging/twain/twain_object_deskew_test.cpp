// A host's scanned page straightened and trimmed by dispatch ID only, the
// result measured again by the engine's skew finder and by ImageMagick.
#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/engine/auto_deskew.h"
#include "imaging/output/testing/pdf_test_support.h"
#include "imaging/twain/testing/scanned_page.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "platform/com/variant.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/text_encoding.h"

namespace scanvelt {
namespace {

using namespace com;
using testing_support::Quoted;
using testing_support::RunTool;

constexpr DISPID kAutoDeskew = 0x60030010;
constexpr DISPID kCropBorders = 0x60030015;
constexpr DISPID kSaveAsPNG = 0x60030052;
constexpr DISPID kGetWidth = 0x6003005e;
constexpr DISPID kGetHeight = 0x6003005f;
constexpr DISPID kGetNativeImage = 0x6003006a;

class TwainObjectDeskewTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TwainObject::Create(IID_IDispatch, reinterpret_cast<void**>(&twain_)), S_OK); }
    void TearDown() override { EXPECT_EQ(twain_->Release(), 0u); }
    int32_t call(DISPID id, std::vector<VARIANT> arguments = {}) {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(twain_->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr), S_OK);
        for (auto& v : reversed) VariantClear(&v);
        EXPECT_EQ(result.vt, VT_I4);
        return result.lVal;
    }
    TwainControl& control() { return static_cast<TwainObject*>(twain_)->control(); }
    // ImageMagick's own measurement of the skew of a file, in degrees.
    static double MagickSkew(const std::string& path) {
        const auto run = RunTool("convert " + Quoted(path) + " -deskew 40% -print '%[deskew:angle]\\n' null: 2>&1");
        EXPECT_EQ(run.Status, 0) << run.Output;
        return std::atof(run.Output.c_str());
    }

    IDispatch* twain_ = nullptr;
    files::testing::ScratchFolder folder_;
};

TEST_F(TwainObjectDeskewTest, AutoDeskewStraightensAPageTurnedBy4Point5Degrees) {
    testing_support::ScannedPage page;
    page.degrees = 4.5;
    page.width = 1240, page.height = 1754;  // A4 at 150 dpi
    const int32_t id = testing_support::MakeScannedPage(page);
    control().setCurrentImage(id);
    const std::string before = (folder_.path() / "before.png").string();
    const std::string after = (folder_.path() / "after.png").string();
    ASSERT_EQ(call(kSaveAsPNG, {MakeBstrUtf8(before)}), 0);
    // ImageMagick sees the turn the page was made with (its sign is the other way round).
    EXPECT_NEAR(MagickSkew(before), -4.5, 0.2);

    EXPECT_EQ(call(kAutoDeskew), 0);
    EXPECT_EQ(call(kGetNativeImage), id);
    EXPECT_EQ(call(kGetWidth), page.width);
    EXPECT_EQ(call(kGetHeight), page.height);
    cAutoDeskew finder;
    ASSERT_EQ(finder.GetSkewAngle(id), OK);
    EXPECT_NEAR(finder.SkewAngle, 0.0, 0.2);
    ASSERT_EQ(call(kSaveAsPNG, {MakeBstrUtf8(after)}), 0);
    EXPECT_NEAR(MagickSkew(after), 0.0, 0.2);
}

TEST_F(TwainObjectDeskewTest, CropBordersCutsTheBlackFrameAwayWithinTwoPixels) {
    testing_support::ScannedPage page;
    page.degrees = 0;
    page.border = 24;
    page.width = 620, page.height = 877;
    control().setCurrentImage(testing_support::MakeScannedPage(page));
    EXPECT_EQ(call(kCropBorders), 0);
    EXPECT_NEAR(call(kGetWidth), page.width - 2 * page.border, 2);
    EXPECT_NEAR(call(kGetHeight), page.height - 2 * page.border, 2);
}

// Every member of these families has its handler: called with plain
// arguments of its declared types on a control without an image, none
// answers E_NOTIMPL.
TEST_F(TwainObjectDeskewTest, EveryMemberOfTheImageFamiliesIsBound) {
    std::vector<com::MemberModel> members;
    for (auto&& family : {typelib::TwainDeskewMembers(), typelib::TwainImageInfoMembers(), typelib::TwainTextMembers()})
        members.insert(members.end(), family.begin(), family.end());
    ASSERT_EQ(members.size(), 59u);
    int32_t number = 0;
    SAFEARRAY* array = nullptr;
    IUnknown* object = nullptr;
    for (const com::MemberModel& member : members) {
        SCOPED_TRACE(member.name);
        std::vector<VARIANT> arguments;
        for (const com::ParamModel& p : member.params) {
            VARIANT v;
            VariantInit(&v);
            if (p.byRef && p.type == VT_SAFEARRAY) {
                v.vt = VT_BYREF | VT_ARRAY | VT_UI1, v.pparray = &array;
            } else if (p.byRef && p.type == VT_I4) {
                v.vt = VT_BYREF | VT_I4, v.plVal = &number;
            } else if (p.byRef) {
                v.vt = VT_BYREF | p.type, v.ppunkVal = &object;
            } else if (p.type == VT_BSTR) {
                v = MakeBstrUtf8("");
            } else if (p.type == VT_R4) {
                v = MakeR4(0);
            } else if (p.type == VT_BOOL) {
                v = MakeBool(false);
            } else {
                v = MakeI4(0);
            }
            arguments.push_back(v);
        }
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.data(), nullptr, static_cast<uint32_t>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        const HRESULT hr = twain_->Invoke(member.id, IID_IUnknown, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        EXPECT_NE(hr, E_NOTIMPL);
        EXPECT_NE(hr, DISP_E_MEMBERNOTFOUND);
        VariantClear(&result);
        for (auto& v : reversed) VariantClear(&v);
    }
}

}  // namespace
}  // namespace scanvelt
