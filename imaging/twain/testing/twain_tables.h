#pragma once
// For the scanning control's tables of cases: a Twain object reached as a
// host reaches it, through IDispatch::Invoke by dispatch ID.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/testing/image_members_support.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/typelib/testing/member_tables.h"
#include "platform/com/testing/invoke_method.h"
#include "platform/com/variant.h"

namespace scanvelt::testing {

class TwainTable : public ::testing::Test {
protected:
    TwainTable() { EXPECT_EQ(TwainObject::Create(com::IID_IDispatch, reinterpret_cast<void**>(&twain)), com::S_OK); }
    ~TwainTable() override {
        if (twain) {
            EXPECT_EQ(twain->Release(), 0u);
        }
    }

    // Calls `member` with `arguments` in their written order; the caller clears `result`.
    com::HRESULT invoke(const char* member, std::vector<com::VARIANT> arguments, com::VARIANT& result) {
        const com::DISPID id = typelib::TwainMemberId(member);
        EXPECT_NE(id, com::DISPID_UNKNOWN) << member;
        return com::testing::InvokeMethod(twain, id, std::move(arguments), result);
    }
    // The result of a call that must succeed.
    com::VARIANT call(const char* member, std::vector<com::VARIANT> arguments = {}) {
        com::VARIANT result;
        EXPECT_EQ(invoke(member, std::move(arguments), result), com::S_OK) << member;
        return result;
    }

    com::IDispatch* twain = nullptr;
};

// What a member answered, taken out of its variant: the HRESULT, the result's
// type, its number (a Boolean as VARIANT_TRUE/VARIANT_FALSE) and its text.
struct CallAnswer {
    com::HRESULT hr = com::E_FAIL;
    com::VARTYPE vt = com::VT_EMPTY;
    int32_t number = 0;
    std::string text;
};

// A Twain object reached by dispatch ID over a fixture that starts the engine
// its own way (with the build tree's codec or OCR plug-in); `Base` runs first.
template <class Base>
class TwainTableOver : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure()) return;
        ASSERT_EQ(TwainObject::Create(com::IID_IDispatch, reinterpret_cast<void**>(&twain)), com::S_OK);
    }
    void TearDown() override {
        if (twain) {
            EXPECT_EQ(twain->Release(), 0u);
        }
        twain = nullptr;
        Base::TearDown();
    }
    // Calls `member` with `args` in their written order.
    CallAnswer call(const char* member, const std::vector<RowArgument>& args = {}) {
        const com::DISPID id = typelib::TwainMemberId(member);
        EXPECT_NE(id, com::DISPID_UNKNOWN) << member;
        std::vector<com::VARIANT> arguments;
        for (const auto& a : args) arguments.push_back(VariantOfArgument(a));
        com::Variant result;
        CallAnswer answer;
        answer.hr = com::testing::InvokeMethod(twain, id, std::move(arguments), *result.get());
        answer.vt = result->vt;
        answer.number = result->vt == com::VT_BOOL ? result->boolVal : result->vt == com::VT_I4 ? result->lVal : 0;
        if (result->vt == com::VT_BSTR && result->bstrVal) answer.text = com::BstrToUtf8(result->bstrVal);
        return answer;
    }
    int32_t status() { return call("GetStat").number; }
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }

    com::IDispatch* twain = nullptr;
};

// What a row of an image member sees after the call: the member's result,
// the control's status and the current image before and after.
struct ImageEffect {
    const com::VARIANT& result;
    int32_t status;
    int32_t before;  // the page the row started from
    int32_t after;   // the current image after the call (GetNativeImage)
};

// A row of an image member: called with `args` on the current image, a page
// of 40 x 30 pixels at 300 x 200 dpi drawn with PatternPixel in 24 bits.
struct ImageRow {
    const char* member;
    std::vector<RowArgument> args;
    void (*effect)(const ImageEffect&);
};

class ImageMemberTable : public TwainTable {
protected:
    static constexpr int32_t kWidth = 40, kHeight = 30;

    void run(const ImageRow& row) {
        SCOPED_TRACE(row.member);
        const int32_t page = testing_support::MakePage(kWidth, kHeight);
        ASSERT_NE(page, 0);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(page);
        std::vector<com::VARIANT> arguments;
        for (const auto& a : row.args) arguments.push_back(VariantOfArgument(a));
        com::VARIANT result = call(row.member, std::move(arguments));
        com::VARIANT status = call("GetStat");
        com::VARIANT current = call("GetNativeImage");
        row.effect(ImageEffect{result, status.lVal, page, current.lVal});
        com::VariantClear(&result);
        ReleaseImage(current.lVal);
        if (current.lVal != page) ReleaseImage(page);
        static_cast<TwainObject*>(twain)->control().setCurrentImage(0);
    }
    void runAll(const std::vector<ImageRow>& rows) {
        for (const ImageRow& row : rows) run(row);
    }
};

// The pixel (x, y) of PatternPixel's page as 0xAARRGGBB.
inline uint32_t PageAt(int32_t x, int32_t y) { return testing_support::PatternPixel(x, y); }

// The pixel (x, y) of an image as 0xAARRGGBB (0 outside it).
inline uint32_t PixelAt(int32_t image, int32_t x, int32_t y) {
    const gdiplus::Bitmap* bitmap = NativeBitmapOf(image);
    uint32_t color = 0;
    if (!bitmap || x < 0 || y < 0 || x >= static_cast<int32_t>(bitmap->GetWidth()) ||
        y >= static_cast<int32_t>(bitmap->GetHeight()) || bitmap->GetPixel(x, y, color) != gdiplus::Ok)
        return 0;
    return color;
}

}  // namespace scanvelt::testing
