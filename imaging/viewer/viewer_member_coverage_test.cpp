// Every member of _MvViewer in the type library is named by a table of cases
// that proves its effect; a member added to the library without a row fails.
#include <gtest/gtest.h>

#include "imaging/typelib/testing/member_tables.h"

namespace scanvelt::testing {
namespace {

TEST(ViewerMemberCoverage, EveryMemberOfTheTypeLibraryHasARow) {
    ExpectEveryMemberTabled("_MvViewer", {});
}

}  // namespace
}  // namespace scanvelt::testing
