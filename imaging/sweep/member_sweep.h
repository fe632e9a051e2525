#pragma once
// The dispatch sweep over both controls: every member of _Twain and _MvViewer,
// taken from the type library, called through IDispatch::Invoke in each state
// that matters (no image, an image, a released image, an open multi-page
// document) with every boundary argument class. The argument classes, the
// states and the members left out (each with its reason) are tables here; the
// test and the fuzz target drive the same invoker.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/abi.h"
#include "platform/com/testing/dispatch_sweep.h"
#include "platform/com/typelib_model.h"

namespace scanvelt::sweep {

// The folders of one sweep, all inside its scratch folder: the process works
// in `work` (relative paths land there) and keeps its temporary files in `temp`.
struct SweepFolders {
    std::string root, work, temp, readOnly;
    std::string pageFile;     // a one-page PNG
    std::string pagesFile;    // a three-page TIFF
    std::string fullDevice;   // a link to /dev/full: every write fails with "disk full"
};

// Makes the folders and the sample files under `root`, points TMPDIR, SANE's
// configuration and the working folder into it. False when that failed.
bool PrepareFolders(const std::string& root, SweepFolders& folders);

// The boundary argument classes, one row each.
std::vector<com::testing::ArgumentClass> ArgumentClasses(const SweepFolders& folders);

// A member left out of the sweep and why.
struct SkippedMember {
    const char* control;
    const char* member;
    const char* reason;
};
const std::vector<SkippedMember>& SkippedMembers();

// One control as the sweep sees it: its interface in the type library, how
// to make an instance, and the states to put it in.
struct SweptControl {
    std::string name;       // "Twain", "MvViewer"
    std::string interface;  // "_Twain", "_MvViewer"
    std::function<com::IDispatch*()> create;
    struct State {
        std::string name;
        // Puts a fresh instance into the state; false when it could not.
        std::function<bool(com::IDispatch*)> setUp;
    };
    std::vector<State> states;
};
std::vector<SweptControl> SweptControls(const SweepFolders& folders);

// The members of `control` the type library lists, in dispatch-ID order.
std::vector<com::MemberModel> MembersOf(const SweptControl& control);
// The reason `member` of `control` is left out, or null when it is swept.
const char* SkipReason(const SweptControl& control, const com::MemberModel& member);

// What one call answered.
struct CallOutcome {
    bool stateReady = false; // the instance was made and put into the state
    com::HRESULT hr = 0;
    bool answered = false;   // an HRESULT a dispatch interface may give
    bool hasResult = false;  // a value where the member declares one
    bool knownStatus = true; // a MorvalenStatus result is one of its constants
};

// Calls `member` on a fresh instance of `control` put into `state`, with
// every argument of class `argument`; the instance is released afterwards.
CallOutcome CallOnce(const SweptControl& control, const SweptControl::State& state, const com::MemberModel& member,
                     const com::testing::ArgumentClass& argument);

}  // namespace scanvelt::sweep
