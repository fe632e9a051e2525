// The automatic-feature members of _Twain called by dispatch ID: over SANE's
// test backend, whose feeder makes automatic feeding and scanning real and
// which has none of the other features; and over the scripted engine, whose
// every capability reads 300.25, so that each feature's rule of "on" shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/twain/testdata/scripted_engine.h"
#include "imaging/twain/testing/sane_twain_table.h"
#include "imaging/twain/testing/scripted_engine_table.h"

namespace scanvelt::testing {
namespace {

using namespace com;

class FeatureTable;

struct FeatureRow {
    const char* setter;
    const char* availability;
    const char* enabled;
    bool onTheTestBackend;  // the test backend has the feature
    bool onAt300;           // a current value of 300.25 counts as on
    void (*effect)(FeatureTable&);  // what switching it on did to the source; nullptr for none
};

class FeatureTable : public SaneTwainTable {};

const FeatureRow kFeatureRows[] = {
    {"TwainSetAutoBrightness", "TwainIsAutoBrightnessAvailable", "TwainIsAutoBrightnessEnabled", false, false, nullptr},
    // Automatic feeding chooses the feeder.
    {"TwainSetAutoFeed", "TwainIsAutoFeedAvailable", "TwainIsAutoFeedEnabled", true, false,
     [](FeatureTable& t) { EXPECT_TRUE(t.yes("TwainIsFeederSelected")); }},
    // Automatic scanning from the feeder: after a page the next one waits.
    {"TwainSetAutoScan", "TwainIsAutoScanAvailable", "TwainIsAutoScanEnabled", true, false,
     [](FeatureTable& t) {
         t.yes("TwainSelectFeeder", {MakeBool(true)});
         t.scan();
         EXPECT_EQ(t.longValue("TwainGetState"), 6);
     }},
    // Automatic size is on for any value above zero.
    {"TwainSetAutoSize", "TwainIsAutoSizeAvailable", "TwainIsAutoSizeEnabled", false, true, nullptr},
    {"TwainSetAutomaticBorderDetection", "TwainIsAutomaticBorderDetectionAvailable",
     "TwainIsAutomaticBorderDetectionEnabled", false, false, nullptr},
    {"TwainSetAutomaticDeskew", "TwainIsAutomaticDeskewAvailable", "TwainIsAutomaticDeskewEnabled", false, false,
     nullptr},
    // Discarding blank pages is on for -1 (automatic) or a threshold above zero.
    {"TwainSetAutomaticDiscardBlankPages", "TwainIsAutomaticDiscardBlankPagesAvailable",
     "TwainIsAutomaticDiscardBlankPagesEnabled", false, true, nullptr},
    {"TwainSetAutomaticRotation", "TwainIsAutomaticRotationAvailable", "TwainIsAutomaticRotationEnabled", false, false,
     nullptr},
    {"TwainSetBarcodeDetection", "TwainIsBarcodeDetectionAvailable", "TwainIsBarcodeDetectionEnabled", false, false,
     nullptr},
};

// The three members of every row, for the coverage test.
struct NamedMember {
    const char* member;
};
std::vector<NamedMember> featureMembers() {
    std::vector<NamedMember> names = {{"TwainGetAvailableBarCodeTypeCount"}, {"TwainGetAvailableBarCodeTypeNo"}};
    for (const FeatureRow& row : kFeatureRows)
        for (const char* member : {row.setter, row.availability, row.enabled}) names.push_back({member});
    return names;
}
const bool kFeatureRowsRegistered = RegisterMemberTable("_Twain", featureMembers());

TEST_F(FeatureTable, EachFeatureSwitchesWhereTheSourceHasIt) {
    ASSERT_TRUE(kFeatureRowsRegistered);
    for (const FeatureRow& row : kFeatureRows) {
        SCOPED_TRACE(row.setter);
        startRow();
        // No source open: nothing to switch.
        EXPECT_FALSE(yes(row.setter, {MakeBool(true)}));
        EXPECT_FALSE(yes(row.availability));
        EXPECT_FALSE(yes(row.enabled));
        open();
        EXPECT_EQ(yes(row.availability), row.onTheTestBackend);
        EXPECT_EQ(yes(row.setter, {MakeBool(true)}), row.onTheTestBackend);
        EXPECT_EQ(yes(row.enabled), row.onTheTestBackend);
        if (!row.onTheTestBackend) {
            EXPECT_EQ(longValue("TwainGetLastConditionCode"), kConditionUnsupported);
        } else {
            if (row.effect) row.effect(*this);
            call("TwainEndAllXfers");
            EXPECT_EQ(longValue("TwainGetState"), 4);
            EXPECT_TRUE(yes(row.setter, {MakeBool(false)}));
            EXPECT_FALSE(yes(row.enabled));
        }
        endRow();
    }
}

// The source's barcode types: the test backend lists none.
TEST_F(FeatureTable, TheTestBackendListsNoBarcodeType) {
    open();
    EXPECT_EQ(longValue("TwainGetAvailableBarCodeTypeCount"), 0);
    EXPECT_EQ(longValue("TwainGetAvailableBarCodeTypeNo", {MakeI4(1)}), -1);
}

// The scripted engine, whose capabilities list `count` values and read 300.25.
class ScriptedFeatureTable : public ScriptedEngineTable {
protected:
    void list(int32_t count) {
        ScriptedEngineScript script;
        script.listCount = count;
        play(script);
    }
    bool yes(const char* member, std::vector<VARIANT> arguments = {}) {
        return call(member, std::move(arguments)).boolVal == VARIANT_TRUE;
    }
    int32_t longValue(const char* member, std::vector<VARIANT> arguments = {}) {
        return call(member, std::move(arguments)).lVal;
    }
};

TEST_F(ScriptedFeatureTable, EachFeatureReadsItsValueByItsOwnRule) {
    for (const FeatureRow& row : kFeatureRows) {
        SCOPED_TRACE(row.setter);
        ASSERT_NO_FATAL_FAILURE(list(1));
        EXPECT_TRUE(yes(row.availability));
        EXPECT_EQ(yes(row.enabled), row.onAt300);
        ASSERT_NO_FATAL_FAILURE(list(0));
        EXPECT_FALSE(yes(row.availability));
        EXPECT_FALSE(yes(row.enabled));
    }
}

// Barcode types by number from 1, rounded; -1 outside the list.
TEST_F(ScriptedFeatureTable, BarcodeTypesByNumber) {
    for (const int32_t count : {1, 3}) {
        ASSERT_NO_FATAL_FAILURE(list(count));
        EXPECT_EQ(longValue("TwainGetAvailableBarCodeTypeCount"), count);
        for (int32_t number = 0; number <= count + 1; ++number) {
            const int32_t expected = number >= 1 && number <= count ? 100 * number : -1;
            EXPECT_EQ(longValue("TwainGetAvailableBarCodeTypeNo", {MakeI4(number)}), expected) << count << " " << number;
        }
    }
}

}  // namespace
}  // namespace scanvelt::testing
