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

// The changes of two dialogs in turn: each setting once, at the place of its
// last change, with the value chosen last; unchanged settings are not kept.
TEST(SetupSettings, ChangesAreKeptInTheOrderTheyWereLastMade) {
    const auto setting = [](const char* name, double value, const char* text = "") {
        win::ScanSetting s;
        s.name = name;
        s.kind = *text ? win::ScanSetting::Kind::TextChoice : win::ScanSetting::Kind::Number;
        s.value = value;
        s.text = text;
        return s;
    };
    const auto namesAndValues = [](const std::vector<win::ScanSetting>& kept) {
        std::vector<std::string> out;
        for (const auto& s : kept) out.push_back(s.name + "=" + (s.text.empty() ? std::to_string(int(s.value)) : s.text));
        return out;
    };
    std::vector<win::ScanSetting> kept;
    const std::vector<win::ScanSetting> shown = {setting("mode", 0, "Gray"), setting("resolution", 100),
                                                 setting("brightness", 0)};
    KeepChangedSettings(kept, shown, {setting("mode", 0, "Color"), setting("resolution", 300), setting("brightness", 0)});
    EXPECT_EQ(namesAndValues(kept), (std::vector<std::string>{"mode=Color", "resolution=300"}));
    const std::vector<win::ScanSetting> shownAgain = {setting("mode", 0, "Color"), setting("resolution", 300),
                                                      setting("brightness", 0)};
    KeepChangedSettings(kept, shownAgain,
                        {setting("mode", 0, "Lineart"), setting("resolution", 300), setting("brightness", 20)});
    EXPECT_EQ(namesAndValues(kept), (std::vector<std::string>{"resolution=300", "mode=Lineart", "brightness=20"}));
    // A dialog whose settings stayed as shown adds nothing.
    const auto before = kept;
    KeepChangedSettings(kept, shownAgain, shownAgain);
    EXPECT_EQ(namesAndValues(kept), namesAndValues(before));
}

}  // namespace
}  // namespace mvtwain
