#include "plugins/mvtwain/setup_settings.h"

#include <gtest/gtest.h>

#include "plugins/mvtwain/scripted_source.h"

namespace mvtwain {
namespace {

const win::ScanSetting* find(const std::vector<win::ScanSetting>& settings, const std::string& name) {
    for (const auto& s : settings)
        if (s.name == name) return &s;
    return nullptr;
}

TEST(SetupSettings, OptionsBecomeSettingsOfTheirKind) {
    SourceScript script;
    script.feederPages = 2;
    auto device = MakeScriptedDevice(script);
    auto settings = SettingsOf(*device);
    const auto* resolution = find(settings, "resolution");
    ASSERT_TRUE(resolution);
    EXPECT_EQ(resolution->kind, win::ScanSetting::Kind::Number);
    EXPECT_EQ(resolution->unit, "dpi");
    EXPECT_EQ(resolution->minimum, 50);
    EXPECT_EQ(resolution->maximum, 1200);
    EXPECT_EQ(resolution->value, 100);
    const auto* source = find(settings, "source");
    ASSERT_TRUE(source);
    EXPECT_EQ(source->kind, win::ScanSetting::Kind::TextChoice);
    EXPECT_EQ(source->choices, (std::vector<std::string>{"Flatbed", "Automatic Document Feeder"}));
}

TEST(SetupSettings, OnlyChangedSettingsAreApplied) {
    auto device = MakeScriptedDevice({});
    const auto before = SettingsOf(*device);
    auto after = before;
    EXPECT_EQ(ApplySettings(*device, before, after), 0);
    for (auto& s : after) {
        if (s.name == "resolution") s.value = 300;
        if (s.name == "mode") s.text = "Color";
    }
    EXPECT_EQ(ApplySettings(*device, before, after), 2);
    auto now = SettingsOf(*device);
    EXPECT_EQ(find(now, "resolution")->value, 300);
    EXPECT_EQ(find(now, "mode")->text, "Color");
    // A value the device refuses is not counted.
    for (auto& s : after)
        if (s.name == "mode") s.text = "Infrared";
    EXPECT_EQ(ApplySettings(*device, now, after), 0);
}

}  // namespace
}  // namespace mvtwain
