#include "petty/scanning/late_bound_control.h"

#include <gmock/gmock.h>

#include "petty/scanning/testing/scripted_control.h"

namespace petty {
namespace {

using testing::ScriptedControl;

TEST(LateBoundControl, CallsByDispatchIdWithArgumentsInOrderAndConvertsResults) {
    ScriptedControl control({{7, "Member"}});
    control.script = [](const ScriptedControl::Call&, com::VARIANT& r) {
        r = com::MakeBstrUtf8("42");
        return com::S_OK;
    };
    LateBoundControl bound(&control);
    EXPECT_EQ(bound.callLong(7, {int32_t{1}, true, "text"}), 42) << "a text result converts to a number";
    EXPECT_TRUE(bound.callBool(7));
    EXPECT_THAT(control.journal(), ::testing::ElementsAre("Member(1, True, text)", "Member()"));
}

TEST(LateBoundControl, AFailedCallOrAMissingControlRaises) {
    ScriptedControl control({{7, "Member"}});
    control.script = [](const ScriptedControl::Call&, com::VARIANT&) { return com::E_FAIL; };
    LateBoundControl bound(&control);
    EXPECT_THROW(bound.call(7), ControlCallFailed);
    EXPECT_THROW(bound.call(8), ControlCallFailed) << "an unknown dispatch ID";
    control.script = [](const ScriptedControl::Call&, com::VARIANT& r) {
        r = com::MakeBstrUtf8("not a number");
        return com::S_OK;
    };
    EXPECT_THROW(bound.callLong(7), ControlCallFailed);
    EXPECT_THROW(LateBoundControl().call(7), ControlCallFailed);
}

TEST(LateBoundControl, HoldsOneReferenceForItsLife) {
    ScriptedControl control({});
    {
        LateBoundControl bound(&control);
        LateBoundControl moved(std::move(bound));
        EXPECT_EQ(control.references(), 2u);
        EXPECT_FALSE(bound.available());
    }
    EXPECT_EQ(control.references(), 1u);
}

}  // namespace
}  // namespace petty
