#include "platform/com/object_safety.h"

#include <gtest/gtest.h>

namespace com {
namespace {

TEST(ObjectSafety, AnswersPerInterface) {
    SafetyFlags flags;
    struct Row { const IID* iid; HRESULT result; uint32_t enabled; };
    const IID other = makeOleGuid(0x12345678);
    const Row rows[] = {
        {&IID_IDispatch, S_OK, 1},
        {&IID_IPersistPropertyBag, S_OK, 2},
        {&IID_IPersistStream, S_OK, 2},
        {&IID_IPersistStorage, S_OK, 2},
        {&other, E_NOINTERFACE, 77},
        {nullptr, S_OK, 77},
    };
    for (const auto& r : rows) {
        uint32_t supported = 0, enabled = 77;
        EXPECT_EQ(GetSafetyOptions(flags, r.iid, &supported, &enabled), r.result);
        EXPECT_EQ(supported, 3u);  // set whatever the interface
        EXPECT_EQ(enabled, r.enabled);
    }
    flags.safeForScripting = false;
    uint32_t supported = 0, enabled = 77;
    GetSafetyOptions(flags, &IID_IDispatch, &supported, &enabled);
    EXPECT_EQ(enabled, 0u);
}

TEST(ObjectSafety, SettingsMustMatchExactly) {
    SafetyFlags flags;
    const IID other = makeOleGuid(0x12345678);
    EXPECT_EQ(SetSafetyOptions(flags, &IID_IDispatch, 1, 1), S_OK);
    EXPECT_EQ(SetSafetyOptions(flags, &IID_IDispatch, 3, 3), E_FAIL);  // masked value 3, not 1
    EXPECT_EQ(SetSafetyOptions(flags, &IID_IDispatch, 3, 1), S_OK);
    EXPECT_EQ(SetSafetyOptions(flags, &IID_IPersistPropertyBag, 2, 2), S_OK);
    EXPECT_EQ(SetSafetyOptions(flags, &IID_IPersistPropertyBag, 1, 1), E_FAIL);
    EXPECT_EQ(SetSafetyOptions(flags, &other, 1, 1), E_NOINTERFACE);
    EXPECT_EQ(SetSafetyOptions(flags, nullptr, 1, 1), S_OK);
    flags.safeForInitializing = false;
    EXPECT_EQ(SetSafetyOptions(flags, &IID_IPersistStream, 2, 2), E_FAIL);
    EXPECT_TRUE(ThreadSafetyFlags().safeForScripting);
    EXPECT_TRUE(ThreadSafetyFlags().safeForInitializing);
}

}  // namespace
}  // namespace com
