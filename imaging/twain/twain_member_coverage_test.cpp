// Every member of _Twain in the type library is named by a table of cases
// that proves its effect; a member added to the library without a row fails.
#include <gtest/gtest.h>

#include "imaging/typelib/testing/member_tables.h"

namespace scanvelt::testing {
namespace {

// Every member has a row; a new member of the library must come with one.


TEST(TwainMemberCoverage, EveryMemberOfTheTypeLibraryHasARow) {
    ExpectEveryMemberTabled("_Twain", {});
}

}  // namespace
}  // namespace scanvelt::testing
