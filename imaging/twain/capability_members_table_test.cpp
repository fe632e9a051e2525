// The capability members of _Twain called by dispatch ID over SANE's test
// backend: a setter row sets a value that is not the device's default, reads
// it back through its getter and scans a page to see its effect; the other
// rows read what the two kinds of source (the test backend with a feeder, the
// engine's scripted source without one) say of themselves.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "imaging/twain/capability_members.h"
#include "imaging/twain/testing/sane_twain_table.h"
#include "platform/gdiplus/pixel_format.h"

namespace scanvelt::testing {
namespace {

using namespace com;
namespace cap = twain_capability;

// ---- Setters: the value read back and its effect on a scanned page ---------

struct SetterRow {
    const char* member;
    std::vector<RowArgument> args;
    const char* getter;  // reads the value back
    int32_t readBack;
    void (*page)(const ScannedPageFacts&);  // the scanned page's check; nullptr for none
};

void expectDpi(const ScannedPageFacts& page, int32_t dpi) {
    SaneTwainTable::expectDpiNear(page.dpiX, dpi);
    SaneTwainTable::expectDpiNear(page.dpiY, dpi);
    SaneTwainTable::expectPixels(page.width, 80, dpi, "width");
    SaneTwainTable::expectPixels(page.height, 100, dpi, "height");
}

const SetterRow kSetterRows[] = {
    {"TwainSetCurrentResolution", {int32_t{75}}, "TwainGetCurrentResolution", 75,
     [](const ScannedPageFacts& p) { expectDpi(p, 75); }},
    {"TwainSetCurrentPixelType", {kPixelRgb}, "TwainGetCurrentPixelType", kPixelRgb,
     [](const ScannedPageFacts& p) { EXPECT_EQ(p.format, gdiplus::PixelFormat24bppRGB); }},
    // Black and white: grey at one bit.
    {"TwainSetCurrentBitDepth", {int32_t{1}}, "TwainGetCurrentBitDepth", 1,
     [](const ScannedPageFacts& p) { EXPECT_EQ(p.format, gdiplus::PixelFormat1bppIndexed); }},
    {"TwainSetPaperSize", {kPaperA6}, "TwainGetPaperSize", kPaperA6,
     [](const ScannedPageFacts& p) {
         SaneTwainTable::expectPixels(p.width, 105, kScanResolution, "width");
         SaneTwainTable::expectPixels(p.height, 148, kScanResolution, "height");
     }},
    // The generic setter in the capability's own item type: FIX32 for the resolution.
    {"TwainSetCapCurrentNumeric", {int32_t{cap::kXResolution}, kItemTypeFix32, int32_t{120}},
     "TwainGetCurrentResolution", 120, [](const ScannedPageFacts& p) { expectDpi(p, 120); }},
};

class CapabilitySetterTable : public SaneTwainTable {};

TEST_F(CapabilitySetterTable, EachSetterIsReadBackAndShapesThePage) {
    for (const SetterRow& row : kSetterRows) {
        SCOPED_TRACE(row.member);
        startRow();
        open();
        ASSERT_TRUE(yes("TwainSetCurrentResolution", {MakeI4(kScanResolution)}));
        std::vector<VARIANT> arguments;
        for (const auto& a : row.args) arguments.push_back(VariantOfArgument(a));
        EXPECT_TRUE(yes(row.member, std::move(arguments)));
        EXPECT_EQ(longValue(row.getter), row.readBack);
        if (row.page) row.page(scan());
        endRow();
    }
}

// A value the device has no such setting for, or will not change, is refused
// with the engine's reason, and the getter still reads the device's value.
struct RefusedRow {
    const char* member;
    int32_t value;
    int32_t condition;
    const char* getter;
    int32_t current;
};

const RefusedRow kRefusedRows[] = {
    {"TwainSetCurrentBrightness", 10, kConditionUnsupported, "TwainGetCurrentBrightness", 0},
    {"TwainSetCurrentContrast", -10, kConditionUnsupported, "TwainGetCurrentContrast", 0},
    {"TwainSetCurrentThreshold", 128, kConditionUnsupported, "TwainGetCurrentThreshold", -1},
    // Fixed capabilities of the engine: BMP files, no compression, chunky, black is zero.
    {"TwainSetCurrentImageFileFormat", 4, kConditionReadOnly, "TwainGetCurrentImageFileFormat", 2},
    {"TwainSetCurrentCompression", 5, kConditionReadOnly, "TwainGetCurrentCompression", 0},
    {"TwainSetCurrentPlanarChunky", 1, kConditionReadOnly, "TwainGetCurrentPlanarChunky", 0},
    {"TwainSetCurrentPixelFlavor", 1, kConditionReadOnly, "TwainGetCurrentPixelFlavor", 0},
    {"TwainSetCurrentPixelType", kPixelPalette, kConditionBadValue, "TwainGetCurrentPixelType", kPixelGray},
    {"TwainSetCurrentBitDepth", 12, kConditionBadValue, "TwainGetCurrentBitDepth", kDefaultBitDepth},
    {"TwainSetPaperSize", 999, kConditionBadValue, "TwainGetPaperSize", 0},
    {"TwainSetCurrentResolution", 5000, kConditionBadValue, "TwainGetCurrentResolution", kOpeningResolution},
};
const bool kSetterRowsRegistered =
    RegisterMemberTable("_Twain", kSetterRows) && RegisterMemberTable("_Twain", kRefusedRows);

TEST_F(CapabilitySetterTable, ARefusedValueFailsWithItsReasonAndChangesNothing) {
    ASSERT_TRUE(kSetterRowsRegistered);
    for (const RefusedRow& row : kRefusedRows) {
        SCOPED_TRACE(row.member);
        startRow();
        open();
        EXPECT_FALSE(yes(row.member, {MakeI4(row.value)}));
        EXPECT_EQ(longValue("TwainGetLastConditionCode"), row.condition);
        EXPECT_EQ(longValue(row.getter), row.current);
        endRow();
    }
}

// The fixed capabilities accept their own value, as a source does.
TEST_F(CapabilitySetterTable, AFixedCapabilityAcceptsItsOwnValue) {
    open();
    for (const auto& [member, value] : std::vector<std::pair<const char*, int32_t>>{
             {"TwainSetCurrentImageFileFormat", 2}, {"TwainSetCurrentCompression", 0},
             {"TwainSetCurrentPlanarChunky", 0}, {"TwainSetCurrentPixelFlavor", 0}})
        EXPECT_TRUE(yes(member, {MakeI4(value)})) << member;
}

// ---- Everything else: each row from its own starting state ----------------

class CapabilityTable;

struct CapabilityRow {
    const char* member;
    void (*run)(CapabilityTable&);
};

class CapabilityTable : public SaneTwainTable {};

const CapabilityRow kCapabilityRows[] = {
    {"TwainGetCapItemType",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.longValue("TwainGetCapItemType", {MakeI4(cap::kXResolution)}), kItemTypeInvalid) << "no source";
         t.open();
         const std::pair<int32_t, int32_t> cases[] = {{cap::kXResolution, kItemTypeFix32},
                                                      {cap::kPixelType, kItemTypeUint16},
                                                      {cap::kBitDepth, kItemTypeUint16},
                                                      {cap::kBrightness, kItemTypeInvalid}};
         for (const auto& [capability, type] : cases)
             EXPECT_EQ(t.longValue("TwainGetCapItemType", {MakeI4(capability)}), type) << capability;
     }},
    // Typed getters answer only while a source is open.
    {"TwainGetCurrentBitDepth",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.longValue("TwainGetCurrentBitDepth"), 0);
         t.open();
         EXPECT_EQ(t.longValue("TwainGetCurrentBitDepth"), kDefaultBitDepth);
     }},
    {"TwainGetCurrentBrightness",
     [](CapabilityTable& t) { EXPECT_EQ(t.longValue("TwainGetCurrentBrightness"), -99999); }},
    {"TwainGetCurrentContrast", [](CapabilityTable& t) { EXPECT_EQ(t.longValue("TwainGetCurrentContrast"), -99999); }},
    {"TwainGetCurrentPixelType",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.longValue("TwainGetCurrentPixelType"), -1);
         t.open();
         EXPECT_EQ(t.longValue("TwainGetCurrentPixelType"), kPixelGray);
     }},
    {"TwainGetCurrentResolution",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.longValue("TwainGetCurrentResolution"), -1);
         t.open();
         EXPECT_EQ(t.longValue("TwainGetCurrentResolution"), kOpeningResolution);
     }},
    {"TwainGetCurrentSourceName",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), "");
         t.open("test:1");
         EXPECT_EQ(t.text("TwainGetCurrentSourceName"), kSecondSource);
     }},
    // The first source while none was chosen; asking opens the manager.
    {"TwainGetDefaultSourceName",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.text("TwainGetDefaultSourceName"), kFirstSource);
         EXPECT_EQ(t.longValue("TwainGetState"), 3);
     }},
    // The code of the paper the area scanned matches, whichever member set the area; 0 for none.
    {"TwainGetPaperSize",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_EQ(t.longValue("TwainGetPaperSize"), 0);
         ASSERT_TRUE(t.yes("TwainSetImageLayout", {MakeR8(0), MakeR8(0), MakeR8(105 / kMillimetresPerInch),
                                                   MakeR8(148 / kMillimetresPerInch)}));
         EXPECT_EQ(t.longValue("TwainGetPaperSize"), kPaperA6);
         ASSERT_TRUE(t.yes("TwainSetImageLayout", {MakeR8(0.5), MakeR8(0.25), MakeR8(0.5 + 125 / kMillimetresPerInch),
                                                   MakeR8(0.25 + 176 / kMillimetresPerInch)}));
         EXPECT_EQ(t.longValue("TwainGetPaperSize"), 7) << "ISO B6 away from the corner";
         ASSERT_TRUE(t.yes("TwainSetImageLayout", {MakeR8(0), MakeR8(0), MakeR8(148 / kMillimetresPerInch),
                                                   MakeR8(105 / kMillimetresPerInch)}));
         EXPECT_EQ(t.longValue("TwainGetPaperSize"), 0) << "A6 across";
     }},
    {"TwainGetDuplexMode",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_EQ(t.longValue("TwainGetDuplexMode"), 0);
     }},
    {"TwainGetHideUI",
     [](CapabilityTable& t) {
         EXPECT_TRUE(t.yes("TwainGetHideUI"));
         t.call("TwainSetHideUI", {MakeBool(false)});
         EXPECT_FALSE(t.yes("TwainGetHideUI"));
     }},
    // The bed of the test backend: 200 mm each way; no source, -1.
    {"TwainGetPhysicalWidth",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.number("TwainGetPhysicalWidth"), -1);
         t.open();
         EXPECT_NEAR(t.number("TwainGetPhysicalWidth"), 200 / kMillimetresPerInch, 1e-3);
     }},
    {"TwainGetPhysicalHeight",
     [](CapabilityTable& t) {
         EXPECT_EQ(t.number("TwainGetPhysicalHeight"), -1);
         t.open();
         EXPECT_NEAR(t.number("TwainGetPhysicalHeight"), 200 / kMillimetresPerInch, 1e-3);
     }},
    {"TwainHasCameraPreviewUI",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_FALSE(t.yes("TwainHasCameraPreviewUI"));
     }},
    // The test backend has a feeder, the scripted source none; asking leaves the flatbed chosen.
    {"TwainHasFeeder",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_TRUE(t.yes("TwainHasFeeder"));
         EXPECT_FALSE(t.yes("TwainIsFeederSelected"));
         t.open("scripted:0");
         EXPECT_FALSE(t.yes("TwainHasFeeder"));
     }},
    // Both have a flatbed; asking leaves the feeder chosen.
    {"TwainHasFlatBed",
     [](CapabilityTable& t) {
         t.open();
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         EXPECT_TRUE(t.yes("TwainHasFlatBed"));
         EXPECT_TRUE(t.yes("TwainIsFeederSelected"));
         t.open("scripted:0");
         EXPECT_TRUE(t.yes("TwainHasFlatBed"));
     }},
    // The feeder chosen and back; a source without one refuses it.
    {"TwainSelectFeeder",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_TRUE(t.yes("TwainSelectFeeder", {MakeBool(true)}));
         EXPECT_EQ(t.capCurrent(cap::kFeederEnabled), 1);
         EXPECT_TRUE(t.yes("TwainSelectFeeder", {MakeBool(false)}));
         EXPECT_EQ(t.capCurrent(cap::kFeederEnabled), 0);
         t.open("scripted:0");
         EXPECT_FALSE(t.yes("TwainSelectFeeder", {MakeBool(true)}));
     }},
    {"TwainIsFeederSelected",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_FALSE(t.yes("TwainIsFeederSelected"));
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         EXPECT_TRUE(t.yes("TwainIsFeederSelected"));
     }},
    {"TwainIsAutoFeedOn",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_FALSE(t.yes("TwainIsAutoFeedOn"));
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         EXPECT_TRUE(t.yes("TwainIsAutoFeedOn"));
     }},
    // Neither source reports whether paper is in the feeder.
    {"TwainIsFeederLoaded",
     [](CapabilityTable& t) {
         t.open();
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         EXPECT_FALSE(t.yes("TwainIsFeederLoaded"));
         EXPECT_TRUE(std::isnan(t.capCurrent(cap::kFeederLoaded)));
     }},
    {"TwainIsDeviceOnline",
     [](CapabilityTable& t) {
         EXPECT_FALSE(t.yes("TwainIsDeviceOnline"));
         t.open();
         EXPECT_TRUE(t.yes("TwainIsDeviceOnline"));
     }},
    {"TwainIsDuplexEnabled",
     [](CapabilityTable& t) {
         t.open();
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         EXPECT_FALSE(t.yes("TwainIsDuplexEnabled"));
     }},
    {"TwainIsFileTransferModeAvailable",
     [](CapabilityTable& t) {
         EXPECT_FALSE(t.yes("TwainIsFileTransferModeAvailable"));
         t.open();
         EXPECT_TRUE(t.yes("TwainIsFileTransferModeAvailable"));
     }},
    // Black and white through one-bit grey on the test backend only; no palette anywhere.
    {"TwainIsPixelTypeAvailable",
     [](CapabilityTable& t) {
         const struct {
             const char* source;
             int32_t type;
             bool available;
         } cases[] = {{"test:0", kPixelBw, true},       {"test:0", kPixelGray, true},
                      {"test:0", kPixelRgb, true},      {"test:0", kPixelPalette, false},
                      {"scripted:0", kPixelBw, false},  {"scripted:0", kPixelRgb, true}};
         for (const auto& c : cases) {
             t.open(c.source);
             EXPECT_EQ(t.yes("TwainIsPixelTypeAvailable", {MakeI4(c.type)}), c.available) << c.source << " " << c.type;
         }
     }},
    // Back to the device's own value (the nearest it allows to the one it
    // opened with); a capability the device lacks cannot be reset.
    {"TwainResetCap",
     [](CapabilityTable& t) {
         t.open();
         t.yes("TwainSetCurrentResolution", {MakeI4(120)});
         t.yes("TwainSetCurrentPixelType", {MakeI4(kPixelRgb)});
         EXPECT_TRUE(t.yes("TwainResetCap", {MakeI4(cap::kXResolution)}));
         EXPECT_EQ(t.longValue("TwainGetCurrentResolution"), 1);
         EXPECT_EQ(t.longValue("TwainGetCurrentPixelType"), kPixelRgb);
         EXPECT_TRUE(t.yes("TwainResetCap", {MakeI4(cap::kPixelType)}));
         EXPECT_EQ(t.longValue("TwainGetCurrentPixelType"), kPixelGray);
         EXPECT_FALSE(t.yes("TwainResetCap", {MakeI4(cap::kBrightness)}));
     }},
    // No capability of the engine takes a text.
    {"TwainSetCapCurrentString",
     [](CapabilityTable& t) {
         t.open();
         EXPECT_FALSE(t.yes("TwainSetCapCurrentString", {MakeI4(4100), MakeI4(12), MakeBstrUtf8("author")}));
         EXPECT_EQ(t.longValue("TwainGetLastConditionCode"), kConditionUnsupported);
     }},
    // The engine's messages go to the error stream while debugging is on.
    {"TwainSetDebugMode",
     [](CapabilityTable& t) {
         auto logged = [&](bool debug) {
             t.call("TwainSetDebugMode", {MakeBool(debug)});
             ::testing::internal::CaptureStderr();
             t.call("TwainSetApplicationInfo", {MakeI4(1), MakeI4(2), MakeI4(0), MakeI4(0), MakeBstrUtf8(""),
                                                MakeBstrUtf8(""), MakeBstrUtf8(""), MakeBstrUtf8("Debugged")});
             return ::testing::internal::GetCapturedStderr();
         };
         EXPECT_NE(logged(true).find("mvtwain: application Debugged 1.2"), std::string::npos);
         EXPECT_EQ(logged(false), "");
     }},
};
const bool kCapabilityRowsRegistered = RegisterMemberTable("_Twain", kCapabilityRows);

TEST_F(CapabilityTable, EachCapabilityMemberAnswersForTheSourceOpen) {
    ASSERT_TRUE(kCapabilityRowsRegistered);
    for (const CapabilityRow& row : kCapabilityRows) {
        SCOPED_TRACE(row.member);
        startRow();
        row.run(*this);
        endRow();
    }
}

}  // namespace
}  // namespace scanvelt::testing
