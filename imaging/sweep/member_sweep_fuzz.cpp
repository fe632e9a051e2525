// Fuzzes the controls through the sweep's invoker: the bytes choose a control,
// a state, a member of the type library and the values of its arguments, and
// the call must come back without a sanitizer report. Text never names a
// folder: it stays a name in the sweep's working folder, or one of the
// argument classes' paths.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/sweep/member_sweep.h"
#include "imaging/sweep/member_sweep_fuzz_input.h"

namespace {

using namespace scanvelt::sweep;

struct Sweep {
    SweepFolders folders;
    std::vector<com::testing::ArgumentClass> classes;
    std::vector<SweptControl> controls;
    std::vector<std::vector<com::MemberModel>> members;  // the swept ones, per control
};

Sweep* sweep = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/member-sweep-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) std::abort();
    sweep = new Sweep;
    if (!PrepareFolders(pattern, sweep->folders)) std::abort();
    sweep->classes = ArgumentClasses(sweep->folders);
    sweep->controls = SweptControls(sweep->folders);
    for (const SweptControl& control : sweep->controls) {
        std::vector<com::MemberModel> swept;
        for (const auto& member : MembersOf(control))
            if (SkipReason(control, member) == nullptr) swept.push_back(member);
        sweep->members.push_back(std::move(swept));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    for (int call = 0; call < 4 && !input.empty(); ++call) {
        const size_t c = input.byte() % sweep->controls.size();
        const SweptControl& control = sweep->controls[c];
        const auto& state = control.states[input.byte() % control.states.size()];
        const auto& members = sweep->members[c];
        const com::MemberModel& member = members[input.u16() % members.size()];
        const com::testing::ArgumentClass argument = input.argument(sweep->classes);
        const CallOutcome outcome = CallOnce(control, state, member, argument);
        if (!outcome.answered) std::abort();
    }
    return 0;
}
