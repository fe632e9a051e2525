// Every member of both controls that takes a path (a text parameter named for
// a path or a file, found in the type library) meets a Windows path the one
// way every member resolves it: "\" separates folders, so a drive or a server
// that is no folder here is refused like any missing folder, never written as
// a file with "\" in its name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "imaging/sweep/member_sweep.h"
#include "imaging/sweep/process_places.h"
#include "imaging/twain/twain_engine.h"
#include "platform/com/testing/dispatch_sweep.h"
#include "platform/files/testing/scratch_folder.h"
#include "platform/win/text_encoding.h"

namespace scanvelt::sweep {
namespace {

namespace fs = std::filesystem;
using com::MemberModel;
using com::ParamModel;

bool NamesAPath(const ParamModel& param) {
    if (param.type != com::VT_BSTR) return false;
    std::string lower = param.name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("path") != std::string::npos || lower.find("file") != std::string::npos;
}

// A path on a server the member reaches, not a file of this machine.
bool NamesAServer(const MemberModel& member) {
    return std::any_of(member.params.begin(), member.params.end(), [](const ParamModel& p) { return p.name == "sHost"; });
}

// Members whose refusal shows otherwise than by their result or the
// control's status, each with the way it shows.
struct OwnAnswer {
    const char* member;
    const char* why;
};
const OwnAnswer kOwnAnswers[] = {
    {"TwainSetDSMPath", "answers nothing and stores no status: the folder the engine is told must be the resolved one"},
};

const OwnAnswer* OwnAnswerOf(const std::string& member) {
    for (const OwnAnswer& own : kOwnAnswers)
        if (member == own.member) return &own;
    return nullptr;
}

// The arguments of a call: the Windows path for every path, a plain value for
// every other required parameter; optional ones keep their defaults.
std::vector<com::VARIANT> ArgumentsOf(const MemberModel& member, const std::u16string& windowsPath) {
    const com::testing::ArgumentClass plain{"plain", 1, 1.0, false, u"", 1};
    std::vector<com::VARIANT> arguments;
    for (const ParamModel& param : member.params) {
        if (NamesAPath(param)) arguments.push_back(com::MakeBstr(windowsPath));
        else if (param.optional) break;
        else arguments.push_back(com::testing::ValueOfClass(param, plain));
    }
    return arguments;
}

int32_t StatusOf(com::IDispatch* control) {
    com::OLECHAR name[] = u"GetStat";
    com::OLECHAR* names[] = {name};
    com::DISPID id = 0;
    if (control->GetIDsOfNames(com::IID_IUnknown, names, 1, 0, &id) != com::S_OK) return -1;
    com::Variant result;
    if (com::testing::InvokeMethod(control, id, {}, *result.get()) != com::S_OK) return -1;
    return result->lVal;
}

// Every name under `folder`, at any depth.
std::set<std::string> TreeOf(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error))
        names.insert(fs::relative(it->path(), folder).string());
    return names;
}

TEST(WindowsPathMembers, EveryPathIsResolvedAndAPathToNoFolderHereIsRefused) {
    const ProcessPlaces back;
    files::testing::ScratchFolder scratch("windows-paths");
    SweepFolders folders;
    ASSERT_TRUE(PrepareFolders((scratch.path() / "sweep").string(), folders));
    // The build's own engine, so that the members handing a path to it reach it.
    SetTwainEngineFile(MVTWAIN_PATH);

    int members = 0, calls = 0;
    for (const SweptControl& control : SweptControls(folders)) {
        const auto state = std::find_if(control.states.begin(), control.states.end(),
                                        [](const SweptControl::State& s) { return s.name == "an image"; });
        ASSERT_NE(state, control.states.end()) << control.name;
        for (const MemberModel& member : MembersOf(control)) {
            if (std::none_of(member.params.begin(), member.params.end(), NamesAPath) || NamesAServer(member)) continue;
            ++members;
            for (const std::u16string& windowsPath : {std::u16string(u"C:\\temp\\x.pdf"), std::u16string(u"\\\\server\\share\\x")}) {
                SCOPED_TRACE(control.name + "." + member.name + "(\"" + win::Utf16ToUtf8(windowsPath) + "\")");
                com::IDispatch* object = control.create();
                ASSERT_NE(object, nullptr);
                ASSERT_TRUE(state->setUp(object));
                com::Variant result;
                const com::HRESULT hr =
                    com::testing::InvokeMember(object, member, ArgumentsOf(member, windowsPath), *result.get());
                ++calls;
                // Refused: raised to the host, or False, or a status other than
                // 0 as the result or, for other results, as the control's status.
                if (const OwnAnswer* own = OwnAnswerOf(member.name)) {
                    EXPECT_EQ(hr, com::S_OK) << own->why;
                    const char* folder = std::getenv("SANE_CONFIG_DIR");
                    EXPECT_TRUE(folder == nullptr || std::string(folder).find('\\') == std::string::npos)
                        << own->why << ": " << folder;
                } else if (hr != com::DISP_E_EXCEPTION) {
                    ASSERT_EQ(hr, com::S_OK);
                    if (result->vt == com::VT_BOOL) EXPECT_EQ(result->boolVal, com::VARIANT_FALSE);
                    else if (member.resultTypeName == "MorvalenStatus") EXPECT_NE(result->lVal, 0);
                    else EXPECT_NE(StatusOf(object), 0);
                }
                object->Release();
                // Nothing at all in the working folder, where a relative path lands;
                // what a faulty member wrote there goes, so that the next is seen alone.
                for (const std::string& name : TreeOf(folders.work)) {
                    ADD_FAILURE() << "the call wrote into the working folder: " << name;
                    std::error_code ignored;
                    fs::remove_all(fs::path(folders.work) / name, ignored);
                }
            }
        }
    }
    for (const std::string& name : TreeOf(folders.root))
        EXPECT_EQ(name.find('\\'), std::string::npos) << "a file named with a Windows path: " << name;
    std::printf("Windows paths: %d members that take a path, %d calls\n", members, calls);
    // Both controls' savers and loaders at the least: a type library whose
    // parameters were renamed would leave nothing to check.
    EXPECT_GE(members, 40);
    SetTwainEngineFile("");
}

}  // namespace
}  // namespace scanvelt::sweep
