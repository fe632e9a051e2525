#include "plugins/mvtwain/scripted_source.h"

#include <gtest/gtest.h>

namespace mvtwain {
namespace {

TEST(ScriptedSource, ParsesEveryKey) {
    auto script = ParseSourceScript("pages=/a.pnm,/b.pnm;feeder=5;cancel-at=3;fail-at=2;jam-at=4");
    ASSERT_TRUE(script);
    EXPECT_EQ(script->pages, (std::vector<std::string>{"/a.pnm", "/b.pnm"}));
    EXPECT_EQ(script->feederPages, 5);
    EXPECT_EQ(script->cancelAt, 3);
    EXPECT_EQ(script->failAt, 2);
    EXPECT_EQ(script->jamAt, 4);
    auto empty = ParseSourceScript("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->feederPages, 0);
}

TEST(ScriptedSource, RefusesWhatItDoesNotKnow) {
    for (const char* text : {"feeder", "feeder=0", "feeder=-2", "feeder=x", "feeder=3x", "colour=2", "pages=",
                             "jam-at=99999999999"})
        EXPECT_FALSE(ParseSourceScript(text)) << text;
}

TEST(ScriptedSource, FeederDeliversItsPagesThenReportsEmpty) {
    SourceScript script;
    script.feederPages = 2;
    auto device = MakeScriptedDevice(script);
    auto options = device->options();
    bool inexact = false;
    ASSERT_EQ(device->setOption(options[2], OptionValue{{}, "Automatic Document Feeder"}, inexact), DeviceStatus::Good);
    for (int page = 0; page < 2; ++page) {
        ASSERT_EQ(device->start(), DeviceStatus::Good);
        uint8_t buffer[4096];
        int length = 0;
        size_t total = 0;
        DeviceStatus status;
        while ((status = device->read(buffer, sizeof buffer, length)) == DeviceStatus::Good) total += length;
        EXPECT_EQ(status, DeviceStatus::Eof);
        EXPECT_EQ(total, 100u * 100u);
    }
    EXPECT_EQ(device->start(), DeviceStatus::NoDocs);
}

}  // namespace
}  // namespace mvtwain
