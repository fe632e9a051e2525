// Every member of both controls, from the type library, through
// IDispatch::Invoke, in every state and with every boundary argument class:
// each call answers an HRESULT (and its status where it declares one), the
// sanitizers see nothing, no file descriptor is left open, and nothing is
// written outside the scratch folder.
#include "imaging/sweep/member_sweep.h"
#include "imaging/sweep/process_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/testing/scratch_folder.h"

namespace scanvelt::sweep {
namespace {

namespace fs = std::filesystem;

std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->path().extension() != ".cmake") names.insert(name);
    }
    return names;
}

// Runs every call of one member; the number of calls made.
int SweepMember(const SweptControl& control, const com::MemberModel& member,
                const std::vector<com::testing::ArgumentClass>& classes) {
    int calls = 0;
    for (const SweptControl::State& state : control.states) {
        for (const auto& argument : classes) {
            SCOPED_TRACE(control.name + "." + member.name + " in state \"" + state.name + "\" with \"" +
                         argument.name + "\"");
            const CallOutcome outcome = CallOnce(control, state, member, argument);
            ++calls;
            EXPECT_TRUE(outcome.stateReady);
            EXPECT_TRUE(outcome.answered) << std::hex << "HRESULT 0x" << static_cast<uint32_t>(outcome.hr);
            EXPECT_TRUE(outcome.hasResult) << "S_OK without the value the member declares";
            EXPECT_TRUE(outcome.knownStatus) << "a status that is none of MorvalenStatus's constants";
        }
    }
    return calls;
}

// The sweep is cut into shards by member, each a test of its own, so that
// the runner spreads them over the CPUs it has.
constexpr int kShards = 8;

TEST(DispatchSweepCoverage, EveryMemberOfTheTypeLibraryIsSweptOrSkippedWithItsReason) {
    // Preparing the folders moves the process into the scratch folder: all of
    // it is put back, so that the shards can run after this test in one process.
    const ProcessPlaces back;
    files::testing::ScratchFolder scratch("dispatch-sweep-coverage");
    SweepFolders folders;
    ASSERT_TRUE(PrepareFolders((scratch.path() / "sweep").string(), folders));
    const auto classes = ArgumentClasses(folders);
    const auto controls = SweptControls(folders);

    for (const SkippedMember& skipped : SkippedMembers()) {
        EXPECT_TRUE(skipped.reason != nullptr && *skipped.reason != '\0') << skipped.member;
        bool listed = false;
        for (const SweptControl& control : controls)
            for (const auto& member : MembersOf(control))
                listed = listed || (control.name == skipped.control && member.name == skipped.member);
        EXPECT_TRUE(listed) << skipped.control << "." << skipped.member << " is not in the type library";
    }

    int totalMembers = 0, totalSwept = 0;
    for (const SweptControl& control : controls) {
        const auto members = MembersOf(control);
        ASSERT_FALSE(members.empty()) << control.interface;
        int swept = 0;
        for (const auto& member : members) {
            if (const char* reason = SkipReason(control, member)) {
                std::printf("skipped %s.%s: %s\n", control.name.c_str(), member.name.c_str(), reason);
                continue;
            }
            ++swept;
        }
        std::printf("%s: %zu members in the type library, %d swept x %zu argument classes x %zu states\n",
                    control.interface.c_str(), members.size(), swept, classes.size(), control.states.size());
        totalMembers += static_cast<int>(members.size());
        totalSwept += swept;
    }
    std::printf("sweep: %d of %d members, %zu argument classes, in %d shards\n", totalSwept, totalMembers,
                classes.size(), kShards);
    EXPECT_EQ(totalSwept + static_cast<int>(SkippedMembers().size()), totalMembers);
}

class DispatchSweep : public ::testing::TestWithParam<int> {};

TEST_P(DispatchSweep, EveryMemberAnswersEveryArgumentClassInEveryState) {
    // The sweep works in its scratch folder, with HOME and TMPDIR there; the
    // folder it was started in and the root folder must not gain a name
    // (ctest's own files beside the test aside).
    const fs::path started = fs::current_path();
    const std::vector<fs::path> watched = {started, "/"};
    std::vector<std::set<std::string>> before;
    for (const fs::path& folder : watched) before.push_back(NamesIn(folder));

    files::testing::ScratchFolder scratch("dispatch-sweep");
    SweepFolders folders;
    ASSERT_TRUE(PrepareFolders((scratch.path() / "sweep").string(), folders));
    const auto classes = ArgumentClasses(folders);
    const auto controls = SweptControls(folders);

    int index = 0, swept = 0, calls = 0;
    for (const SweptControl& control : controls) {
        for (const auto& member : MembersOf(control)) {
            if (index++ % kShards != GetParam() || SkipReason(control, member)) continue;
            const int fdsBefore = com::testing::OpenFileDescriptors();
            calls += SweepMember(control, member, classes);
            // A member that opens something for the process (a font cache, a
            // library) does it once; one that leaks grows again on a second round.
            if (com::testing::OpenFileDescriptors() > fdsBefore) {
                const int fdsSecond = com::testing::OpenFileDescriptors();
                calls += SweepMember(control, member, classes);
                EXPECT_EQ(com::testing::OpenFileDescriptors(), fdsSecond)
                    << control.name << "." << member.name << " leaves file descriptors open";
            }
            ++swept;
        }
    }
    std::printf("shard %d of %d: %d members, %d calls\n", GetParam() + 1, kShards, swept, calls);
    EXPECT_GT(swept, 0);

    ASSERT_EQ(::chdir(started.c_str()), 0);
    ::chmod(folders.readOnly.c_str(), 0700);
    for (size_t i = 0; i < watched.size(); ++i)
        EXPECT_EQ(NamesIn(watched[i]), before[i]) << "a member wrote outside the scratch folder, in " << watched[i];
    for (const std::string& name : NamesIn(folders.temp)) ADD_FAILURE() << "temporary file left behind: " << name;
}

INSTANTIATE_TEST_SUITE_P(Shards, DispatchSweep, ::testing::Range(0, kShards));

}  // namespace
}  // namespace scanvelt::sweep
