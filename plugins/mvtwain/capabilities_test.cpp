#include "plugins/mvtwain/capabilities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "plugins/mvtwain/mvtwain.h"
#include "plugins/mvtwain/testing/engine_fixture.h"
#include "plugins/mvtwain/twain_codes.h"

namespace mvtwain {
namespace {

class CapabilitiesTest : public testing::EngineTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.openSource("test:0"));
        caps = engine.capabilities();
        ASSERT_NE(caps, nullptr);
    }

    double current(int32_t c) {
        auto v = caps->describe(c);
        EXPECT_TRUE(v) << c;
        return v ? v->current : NAN;
    }

    Capabilities* caps = nullptr;
};

// Set, then read back, every capability the test backend carries.
TEST_F(CapabilitiesTest, RoundTripsOfEverySupportedCapability) {
    struct Case {
        int32_t cap;
        double value;
        int32_t itemType;
    };
    const Case cases[] = {
        {cap::XResolution, 150, MVTWAIN_TWTY_FIX32},   {cap::XResolution, 300, MVTWAIN_TWTY_FIX32},
        {cap::YResolution, 200, MVTWAIN_TWTY_FIX32},   {cap::PixelType, 2, MVTWAIN_TWTY_UINT16},
        {cap::PixelType, 1, MVTWAIN_TWTY_UINT16},      {cap::PixelType, 0, MVTWAIN_TWTY_UINT16},
        {cap::PixelType, 1, MVTWAIN_TWTY_UINT16},      {cap::BitDepth, 16, MVTWAIN_TWTY_UINT16},
        {cap::BitDepth, 8, MVTWAIN_TWTY_UINT16},       {cap::FeederEnabled, 1, MVTWAIN_TWTY_BOOL},
        {cap::FeederEnabled, 0, MVTWAIN_TWTY_BOOL},    {cap::AutoFeed, 1, MVTWAIN_TWTY_BOOL},
        {cap::AutoFeed, 0, MVTWAIN_TWTY_BOOL},         {cap::AutoScan, 1, MVTWAIN_TWTY_BOOL},
        {cap::AutoScan, 0, MVTWAIN_TWTY_BOOL},         {cap::XferCount, 3, MVTWAIN_TWTY_INT16},
        {cap::XferCount, -1, MVTWAIN_TWTY_INT16},      {cap::Indicators, 0, MVTWAIN_TWTY_BOOL},
        {cap::Indicators, 1, MVTWAIN_TWTY_BOOL},       {cap::XferMech, 1, MVTWAIN_TWTY_UINT16},
        {cap::XferMech, 0, MVTWAIN_TWTY_UINT16},       {cap::SupportedSizes, 7, MVTWAIN_TWTY_UINT16},
        {cap::SupportedSizes, 13, MVTWAIN_TWTY_UINT16},
    };
    for (const auto& c : cases) {
        bool snapped = true;
        EXPECT_EQ(caps->set(c.cap, c.value, snapped), MVTWAIN_TWCC_SUCCESS) << c.cap << " := " << c.value;
        EXPECT_FALSE(snapped) << c.cap;
        auto v = caps->describe(c.cap);
        ASSERT_TRUE(v) << c.cap;
        EXPECT_EQ(v->current, c.value) << c.cap;
        EXPECT_EQ(v->itemType, c.itemType) << c.cap;
    }
}

TEST_F(CapabilitiesTest, ValueListsAndRangesAsTheBackendOffersThem) {
    auto depth = caps->describe(cap::BitDepth);
    ASSERT_TRUE(depth);
    EXPECT_EQ(depth->values, (std::vector<double>{1, 8, 16}));
    EXPECT_FALSE(depth->rangeOption);
    auto types = caps->describe(cap::PixelType);
    ASSERT_TRUE(types);
    // Grey and colour modes, and line art as grey at one bit.
    EXPECT_EQ(types->values, (std::vector<double>{0, 1, 2}));
    auto resolution = caps->describe(cap::XResolution);
    ASSERT_TRUE(resolution && resolution->rangeOption);
    EXPECT_EQ(resolution->rangeOption->minimum, 1);
    EXPECT_EQ(resolution->rangeOption->maximum, 1200);
    // The 200 mm square scan area.
    EXPECT_NEAR(current(cap::PhysicalWidth), 200 / 25.4, 1e-3);
    EXPECT_NEAR(current(cap::PhysicalHeight), 200 / 25.4, 1e-3);
    auto sizes = caps->describe(cap::SupportedSizes);
    ASSERT_TRUE(sizes);
    EXPECT_EQ(sizes->values, (std::vector<double>{0, 7, 13}));  // none, B6, A6 fit
    EXPECT_EQ(current(cap::Duplex), 0);
    EXPECT_EQ(current(cap::DeviceOnline), 1);
}

TEST_F(CapabilitiesTest, WhatTheBackendLacksIsUnsupported) {
    for (int32_t c : {cap::Brightness, cap::Contrast, cap::Threshold, cap::AutoBright, cap::DuplexEnabled,
                      cap::FeederLoaded, cap::AutomaticDeskew, cap::AutomaticBorderDetection, cap::AutoSize,
                      cap::AutomaticRotate, cap::AutoDiscardBlankPages, 4407, 4129, 9999}) {
        EXPECT_FALSE(caps->describe(c)) << c;
        bool snapped = false;
        EXPECT_EQ(caps->set(c, 1, snapped), MVTWAIN_TWCC_CAPUNSUPPORTED) << c;
        EXPECT_EQ(caps->reset(c), MVTWAIN_TWCC_CAPUNSUPPORTED) << c;
    }
}

TEST_F(CapabilitiesTest, BadValuesAreRefusedAndLeaveTheOldValue) {
    bool snapped = false;
    const double before = current(cap::XResolution);
    EXPECT_EQ(caps->set(cap::XResolution, 5000, snapped), MVTWAIN_TWCC_BADVALUE);
    EXPECT_EQ(caps->set(cap::BitDepth, 12, snapped), MVTWAIN_TWCC_BADVALUE);
    EXPECT_EQ(caps->set(cap::PixelType, 5, snapped), MVTWAIN_TWCC_BADVALUE);
    EXPECT_EQ(caps->set(cap::XferCount, 0, snapped), MVTWAIN_TWCC_BADVALUE);
    EXPECT_EQ(caps->set(cap::SupportedSizes, 1, snapped), MVTWAIN_TWCC_BADVALUE);  // A4 is larger than 200 mm
    EXPECT_EQ(caps->set(cap::PhysicalWidth, 3, snapped), MVTWAIN_TWCC_CAPBADOPERATION);
    EXPECT_EQ(current(cap::XResolution), before);
    // Within the range, a value between steps is taken as the nearest.
    EXPECT_EQ(caps->set(cap::XResolution, 150.4, snapped), MVTWAIN_TWCC_SUCCESS);
    EXPECT_TRUE(snapped);
    EXPECT_EQ(current(cap::XResolution), 150);
}

TEST_F(CapabilitiesTest, ResetGivesBackTheValueAtOpening) {
    // The test backend opens with a resolution below its own range; reset
    // brings the nearest value it allows.
    const double resolution = std::clamp(current(cap::XResolution), 1.0, 1200.0);
    bool snapped = false;
    ASSERT_EQ(caps->set(cap::XResolution, 600, snapped), MVTWAIN_TWCC_SUCCESS);
    ASSERT_EQ(caps->set(cap::PixelType, 2, snapped), MVTWAIN_TWCC_SUCCESS);
    EXPECT_EQ(caps->reset(cap::XResolution), MVTWAIN_TWCC_SUCCESS);
    EXPECT_EQ(caps->reset(cap::PixelType), MVTWAIN_TWCC_SUCCESS);
    EXPECT_EQ(current(cap::XResolution), resolution);
    EXPECT_EQ(current(cap::PixelType), 1);
}

TEST_F(CapabilitiesTest, ImageLayoutInInches) {
    ASSERT_EQ(caps->setLayout({1, 2, 3, 4}), MVTWAIN_TWCC_SUCCESS);
    auto layout = caps->layout();
    ASSERT_TRUE(layout);
    // The backend keeps whole millimetres.
    EXPECT_NEAR(layout->left, 1, 0.5 / 25.4);
    EXPECT_NEAR(layout->top, 2, 0.5 / 25.4);
    EXPECT_NEAR(layout->right, 3, 0.5 / 25.4);
    EXPECT_NEAR(layout->bottom, 4, 0.5 / 25.4);
    EXPECT_EQ(caps->setLayout({0, 0, 9, 9}), MVTWAIN_TWCC_BADVALUE);  // beyond the 200 mm area
    EXPECT_EQ(caps->setLayout({3, 0, 1, 2}), MVTWAIN_TWCC_BADVALUE);  // right of its right edge
    EXPECT_NEAR(caps->layout()->right, 3, 0.5 / 25.4);
    ASSERT_EQ(caps->resetLayout(), MVTWAIN_TWCC_SUCCESS);
    EXPECT_NEAR(caps->layout()->right, 200 / 25.4, 1e-3);
    ASSERT_EQ(caps->setPaperSize(7), MVTWAIN_TWCC_SUCCESS);
    EXPECT_EQ(caps->paperSize(), 7);
    EXPECT_NEAR(caps->layout()->bottom, 176 / 25.4, 1e-3);
    EXPECT_EQ(caps->setPaperSize(5), MVTWAIN_TWCC_BADVALUE);  // A5 is 210 mm high
    EXPECT_EQ(caps->paperSize(), 7);
}

}  // namespace
}  // namespace mvtwain
