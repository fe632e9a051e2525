#pragma once
// For the tables of the source, capability and feature members: a Twain
// object reached by dispatch ID over the build tree's TWAIN engine, which
// drives SANE's test backend in a private configuration. Every row starts
// from the source manager unloaded, the user interface hidden and no dialog
// service, and leaves the engine so; the control's temporary files go to a
// scratch folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "imaging/engine/image_queries.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/testing/engine_test_support.h"
#include "imaging/twain/testing/twain_tables.h"
#include "imaging/twain/twain_engine.h"
#include "platform/com/bstr.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/message_box.h"
#include "platform/win/scan_dialogs.h"
#include "plugins/mvtwain/testing/sane_test_config.h"

namespace scanvelt::testing {

// The test backend's devices as the engine lists them, and after them the
// engine's own scripted source (listed while MVTWAIN_SCRIPTED_SOURCE is set,
// as the fixture sets it), whose second page fails.
inline constexpr const char* kFirstSource = "test:0 (Noname frontend-tester)";
inline constexpr const char* kSecondSource = "test:1 (Noname frontend-tester)";
inline constexpr const char* kScriptedSource = "scripted:0 (Scripted test source)";
inline constexpr const char* kScriptedSourceScript = "fail-at=2";
// TWAIN codes the rows expect.
inline constexpr int32_t kConditionSuccess = 0, kConditionNoSource = 3, kConditionBadValue = 10,
                         kConditionSequence = 11, kConditionUnsupported = 13, kConditionReadOnly = 14;
inline constexpr int32_t kResultSuccess = 0, kResultFailure = 1;
inline constexpr int32_t kPixelBw = 0, kPixelGray = 1, kPixelRgb = 2, kPixelPalette = 3;
inline constexpr int32_t kItemTypeUint16 = 4, kItemTypeFix32 = 7, kItemTypeInvalid = -1;
inline constexpr int32_t kPaperA6 = 13;  // 105 x 148 mm
inline constexpr double kMillimetresPerInch = 25.4;
// The test backend opens grey at 8 bits on 80 x 100 mm, at a resolution
// below its own range of 1 to 1200 dpi (read as 0): rows that scan set one first.
inline constexpr int32_t kOpeningResolution = 0, kScanResolution = 50, kDefaultBitDepth = 8;

// What a scanned page is: its size, pixel format and resolution.
struct ScannedPageFacts {
    int32_t width = 0, height = 0, format = 0;
    float dpiX = 0, dpiY = 0;
};

class SaneTwainTable : public TwainTable {
public:
    SaneTwainTable() {
        win::SetMessageBoxHandler([](const win::MessageBoxRequest&) { return win::IDOK; });
        if (const char* old = std::getenv("TMP")) oldTmp_ = old;
        setenv("TMP", temp.path().c_str(), 1);
        SetTwainEngineFile(MVTWAIN_PATH);
        startRow();
    }
    ~SaneTwainTable() override {
        endRow();
        SetTwainEngineFile("");
        win::SetMessageBoxHandler(nullptr);
        if (oldTmp_) setenv("TMP", oldTmp_->c_str(), 1);
        else unsetenv("TMP");
    }

    using TwainTable::call;
    using TwainTable::invoke;
    TwainControl& control() { return static_cast<TwainObject*>(twain)->control(); }

    // The engine back where a row starts: manager unloaded, no dialogs, UI hidden, no indicators.
    void startRow() {
        win::SetScanDialogService({});
        longValue("TwainUnloadSourceManager");
        call("TwainSetHideUI", {com::MakeBool(true)});
        call("TwainSetIndicators", {com::MakeBool(false)});
    }
    void endRow() {
        call("TwainUnloadSourceManager");
        win::SetScanDialogService({});
    }

    // The member's result as a number (Long, Double or Boolean -1/0).
    double number(const char* member, std::vector<com::VARIANT> arguments = {}) {
        com::VARIANT r = call(member, std::move(arguments));
        double value = r.vt == com::VT_R8 ? r.dblVal : r.vt == com::VT_BOOL ? (r.boolVal ? 1 : 0) : r.lVal;
        com::VariantClear(&r);
        return value;
    }
    int32_t longValue(const char* member, std::vector<com::VARIANT> arguments = {}) {
        return static_cast<int32_t>(number(member, std::move(arguments)));
    }
    bool yes(const char* member, std::vector<com::VARIANT> arguments = {}) {
        com::VARIANT r = call(member, std::move(arguments));
        EXPECT_EQ(r.vt, com::VT_BOOL) << member;
        return r.boolVal == com::VARIANT_TRUE;
    }
    std::string text(const char* member, std::vector<com::VARIANT> arguments = {}) {
        com::VARIANT r = call(member, std::move(arguments));
        std::string value = r.vt == com::VT_BSTR ? com::BstrToUtf8(r.bstrVal) : "(not a text)";
        com::VariantClear(&r);
        return value;
    }

    // The current value of a capability as TwainGetCapCurrentNumeric reads it; NaN when it cannot be read.
    double capCurrent(int32_t cap) {
        double value = -12345;
        com::VARIANT ref;
        com::VariantInit(&ref);
        ref.vt = com::VT_BYREF | com::VT_R8;
        ref.pdblVal = &value;
        if (!yes("TwainGetCapCurrentNumeric", {com::MakeI4(cap), ref})) {
            EXPECT_EQ(value, 0) << "an unread value is 0";
            return std::nan("");
        }
        return value;
    }

    // Opens the first test device (state 4).
    void open(const char* source = "test:0") {
        ASSERT_TRUE(yes("TwainOpenSource", {com::MakeBstrUtf8(source)})) << source;
        ASSERT_EQ(longValue("TwainGetState"), 4);
    }
    // Scans one page into a new image through the control and tells what it is; the image is released.
    ScannedPageFacts scan() {
        ScannedPageFacts facts;
        const int32_t id = longValue("TwainAcquireToMorvalenImage", {com::MakeI4(0)});
        EXPECT_NE(id, 0) << "status " << longValue("GetStat");
        if (id == 0) return facts;
        std::tie(facts.width, facts.height) = testing_support::SizeOf(id);
        std::tie(facts.dpiX, facts.dpiY) = testing_support::ResolutionOf(id);
        facts.format = PixelFormatOf(id);
        ReleaseImage(id);
        return facts;
    }
    // The pixels of `millimetres` at `dpi`, as the test backend rounds them (within one).
    static void expectPixels(int32_t pixels, double millimetres, int32_t dpi, const char* what) {
        EXPECT_NEAR(pixels, millimetres / kMillimetresPerInch * dpi, 1.0) << what;
    }

    // A resolution that went through a DIB's pixels per metre comes back within a hundredth.
    static void expectDpiNear(float dpi, double expected) { EXPECT_NEAR(dpi, expected, 0.01); }

    mvtwain::testing::SaneTestConfig sane;
    // Read once, when the engine starts in the test program.
    mvtwain::testing::ScopedVariable scripted{"MVTWAIN_SCRIPTED_SOURCE", kScriptedSourceScript};
    files::testing::ScratchFolder temp{"twain-table-temp"};

private:
    std::optional<std::string> oldTmp_;
};

}  // namespace scanvelt::testing
