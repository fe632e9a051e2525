#include "imaging/engine/iptc_tags.h"

#include <gtest/gtest.h>

#include <string>

#include "imaging/engine/testing/engine_test_support.h"

namespace scanvelt {
namespace {

using testing_support::OnFreshThread;
using testing_support::RegisterEmpty;

IptcTag TextTag(int32_t id, const std::string& text) {
    IptcTag tag;
    tag.TagId = id;
    tag.Type = 2;
    tag.Length = static_cast<int32_t>(text.size());
    tag.Count = tag.Length;
    tag.Data.assign(text.begin(), text.end());
    return tag;
}

TEST(IptcTags, WithoutThePluginEveryCallNeedsIt) {
    OnFreshThread([] {
        SetModuleVersionReader([](std::string_view) { return std::string("Unknown"); });
        ASSERT_TRUE(StartImaging());
        const int32_t id = RegisterEmpty();
        FindImageEntry(id)->IptcTags = {TextTag(80, "Smith")};
        int32_t count = 0;
        int32_t tagId = 0;
        std::string text;
        EXPECT_EQ(GetIptcTagCount(id, count), MvimgplugDllRequired);
        EXPECT_EQ(GetIptcTagId(id, 1, tagId), MvimgplugDllRequired);
        EXPECT_EQ(GetIptcTagValueText(id, 1, text), MvimgplugDllRequired);
        StopImaging();
    });
}

TEST(IptcTags, WithThePlugin) {
    OnFreshThread([] {
        testing_support::InstallPlugin(std::make_shared<testing_support::RecordingCodecPlugin>());
        ASSERT_TRUE(StartImaging());
        const int32_t id = RegisterEmpty();
        IptcTag overZero;
        overZero.TagId = 5;
        overZero.Type = 5;
        overZero.Length = 8;
        overZero.Count = 1;
        overZero.Data = {1, 0, 0, 0, 0, 0, 0, 0};
        FindImageEntry(id)->IptcTags = {TextTag(80, "Smith"), overZero};

        int32_t count = 0;
        ASSERT_EQ(GetIptcTagCount(id, count), OK);
        EXPECT_EQ(count, 2);
        int32_t tagId = 0;
        ASSERT_EQ(GetIptcTagId(id, 1, tagId), OK);
        EXPECT_EQ(tagId, 80);
        std::string text;
        ASSERT_EQ(GetIptcTagValueText(id, 1, text), OK);
        EXPECT_EQ(text, "Smith");
        EXPECT_EQ(GetIptcTagValueText(id, 2, text), GenericError);
        for (const int32_t bad : {0, 3, -1}) {
            EXPECT_EQ(GetIptcTagId(id, bad, tagId), PropertyNotFound) << bad;
            EXPECT_EQ(GetIptcTagValueText(id, bad, text), PropertyNotFound) << bad;
        }
        // An unregistered ID: the count is left as it was.
        count = 7;
        EXPECT_EQ(GetIptcTagCount(id + 1, count), OK);
        EXPECT_EQ(count, 7);
        EXPECT_EQ(GetIptcTagId(id + 1, 1, tagId), PropertyNotFound);
        StopImaging();
    });
}

}  // namespace
}  // namespace scanvelt
