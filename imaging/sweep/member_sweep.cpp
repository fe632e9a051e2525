#include "imaging/sweep/member_sweep.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>

#include "imaging/engine/image_creators.h"
#include "imaging/engine/image_resolution.h"
#include "imaging/engine/image_table.h"
#include "imaging/engine/imaging_session.h"
#include "imaging/engine/save_gdiplus.h"
#include "imaging/engine/save_tiff_multipage.h"
#include "imaging/twain/twain_control.h"
#include "imaging/twain/twain_object.h"
#include "imaging/typelib/scanvelt_typelib.h"
#include "imaging/viewer/viewer_object.h"
#include "platform/com/dispatch_arguments.h"
#include "platform/gdiplus/pixel_format.h"
#include "platform/win/text_encoding.h"

// fontconfig keeps its configuration for the process and frees it at no
// point the library can reach; it is not a leak of ours. Here, the sweep's
// test and its fuzz target both carry the suppression.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace scanvelt::sweep {
namespace {

namespace fs = std::filesystem;
using com::testing::ArgumentClass;

constexpr int32_t kPageWidth = 40, kPageHeight = 30;
constexpr float kPageDpi = 150;

// A small page of the engine, with a resolution; 0 when it could not be made.
int32_t MakePage() {
    int32_t id = 0;
    if (ImageFromBuffer(kPageWidth, kPageHeight, 0, gdiplus::PixelFormat24bppRGB, nullptr, id) != OK) return 0;
    SetImageResolution(id, kPageDpi, kPageDpi, true);
    return id;
}

bool WriteSampleFiles(const SweepFolders& folders) {
    StartImaging();
    const int32_t page = MakePage();
    bool written = page != 0 && SaveImageAsPng(page, folders.pageFile) == OK;
    const int32_t second = MakePage(), third = MakePage();
    written = written && TiffMultiPageStart(page, folders.pagesFile, 5) == OK &&
              TiffMultiPageAdd(page, second) == OK && TiffMultiPageAdd(page, third) == OK &&
              TiffMultiPageFinish(page) == OK;
    for (int32_t id : {page, second, third})
        if (id != 0) ReleaseImage(id);
    StopImaging();
    return written;
}

com::IDispatch* Created(com::HRESULT (*create)(com::REFIID, void**)) {
    com::IDispatch* object = nullptr;
    if (create(com::IID_IDispatch, reinterpret_cast<void**>(&object)) != com::S_OK) return nullptr;
    return object;
}

TwainControl& ControlOf(com::IDispatch* twain) { return static_cast<TwainObject*>(twain)->control(); }

// Calls a member by name with string and long arguments; its HRESULT.
com::HRESULT CallByName(com::IDispatch* target, const std::u16string& name, std::vector<com::VARIANT> arguments) {
    com::OLECHAR* names[] = {const_cast<com::OLECHAR*>(name.c_str())};
    com::DISPID id = 0;
    if (target->GetIDsOfNames(com::IID_IUnknown, names, 1, 0, &id) != com::S_OK) {
        for (auto& v : arguments) com::VariantClear(&v);
        return com::DISP_E_UNKNOWNNAME;
    }
    com::Variant result;
    return com::testing::InvokeMethod(target, id, std::move(arguments), *result.get());
}

std::vector<SweptControl::State> TwainStates(const SweepFolders& folders) {
    return {
        {"no image", [](com::IDispatch*) { return true; }},
        {"an image",
         [](com::IDispatch* twain) {
             ControlOf(twain).setCurrentImage(MakePage());
             return ControlOf(twain).currentImage() != 0;
         }},
        // The page began a multi-page file that was closed: the control still
        // names the image the close released.
        {"a released image",
         [folders](com::IDispatch* twain) {
             TwainControl& control = ControlOf(twain);
             control.setCurrentImage(MakePage());
             return CallByName(twain, u"TiffSaveAsNativeMultiPage",
                               {com::MakeBstrUtf8(folders.work + "/released.tif"), com::MakeI4(5)}) == com::S_OK &&
                    CallByName(twain, u"TiffCloseNativeMultiPage", {}) == com::S_OK &&
                    FindImageEntry(control.currentImage()) == nullptr;
         }},
        // A multi-page TIFF and a scan-to-PDF session are open.
        {"an open multi-page document",
         [folders](com::IDispatch* twain) {
             TwainControl& control = ControlOf(twain);
             control.setCurrentImage(MakePage());
             return CallByName(twain, u"TiffSaveAsNativeMultiPage",
                               {com::MakeBstrUtf8(folders.work + "/open.tif"), com::MakeI4(5)}) == com::S_OK &&
                    CallByName(twain, u"TwainPdfStart", {com::MakeBstrUtf8(folders.work + "/open.pdf")}) ==
                        com::S_OK &&
                    control.openMultiPageTiff() != 0;
         }},
    };
}

std::vector<SweptControl::State> ViewerStates(const SweepFolders& folders) {
    const auto display = [](com::IDispatch* viewer, const std::string& file) {
        return CallByName(viewer, u"DisplayFromFile", {com::MakeBstrUtf8(file)}) == com::S_OK;
    };
    return {
        {"no image", [](com::IDispatch*) { return true; }},
        {"an image", [=](com::IDispatch* viewer) { return display(viewer, folders.pageFile); }},
        {"a released image",
         [=](com::IDispatch* viewer) {
             return display(viewer, folders.pageFile) && CallByName(viewer, u"CloseImage", {}) == com::S_OK;
         }},
        {"an open multi-page document", [=](com::IDispatch* viewer) { return display(viewer, folders.pagesFile); }},
    };
}

bool IsStatusEnumeration(const com::MemberModel& member) {
    return member.result == com::VT_USERDEFINED && member.resultTypeName == "MorvalenStatus";
}

bool IsKnownStatus(int32_t value) {
    const com::TypeInfoModel* statuses = com::FindType(typelib::ScanveltTypeLib(), "MorvalenStatus");
    if (statuses == nullptr) return false;
    return std::any_of(statuses->constants.begin(), statuses->constants.end(),
                       [value](const com::ConstantModel& c) { return c.value == value; });
}

}  // namespace

bool PrepareFolders(const std::string& root, SweepFolders& folders) {
    folders.root = root;
    folders.work = root + "/work";
    folders.temp = root + "/temp";
    folders.readOnly = root + "/read-only";
    folders.pageFile = root + "/page.png";
    folders.pagesFile = root + "/pages.tif";
    folders.fullDevice = root + "/full";
    std::error_code error;
    for (const std::string& folder : {folders.work, folders.temp, folders.readOnly, root + "/sane"}) {
        fs::create_directories(folder, error);
        if (error) return false;
    }
    ::chmod(folders.readOnly.c_str(), 0500);
    // A link rather than /dev/full itself: whatever a member removes or
    // renames is the link in the scratch folder, never the device.
    fs::create_symlink("/dev/full", folders.fullDevice, error);
    // SANE sees no scanner: no member of the sweep reaches a device.
    std::ofstream(root + "/sane/dll.conf") << "";
    ::setenv("SANE_CONFIG_DIR", (root + "/sane").c_str(), 1);
    ::setenv("TMPDIR", folders.temp.c_str(), 1);
    // Whatever a member keeps in the user's folders stays in the scratch folder too.
    fs::create_directories(root + "/home", error);
    ::setenv("HOME", (root + "/home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/home/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root + "/home/.local/share").c_str(), 1);
    ::unsetenv("TMP");
    ::unsetenv("TEMP");
    if (::chdir(folders.work.c_str()) != 0) return false;
    return WriteSampleFiles(folders);
}

std::vector<ArgumentClass> ArgumentClasses(const SweepFolders& folders) {
    const auto text = [](const std::string& utf8) { return win::Utf8ToUtf16(utf8); };
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    // Unpaired surrogates, a non-character and an embedded NUL: text no
    // conversion to UTF-8 can take as it is.
    const std::u16string notUtf8{u'\xD800', u'a', u'\xDC00', u'\xFFFF', u'\0', u'b', u'\xDBFF'};
    return {
        //  name                 integer     real     boolean  text                                     array
        {"zero / empty", 0, 0.0, false, u"", 0},
        {"minus one", -1, -1.0, true, u"-1", -1},
        {"INT_MIN / NaN", INT32_MIN, kNaN, false, std::u16string(100000, u'x'), 1},
        {"INT_MAX / +Inf", INT32_MAX, kInf, true, notUtf8, 3},
        {"folder / -Inf", 1, -kInf, true, text(folders.root), 2},
        {"missing folder", 2, 1e308, false, text(folders.root + "/missing/x.pdf"), 0},
        {"read-only folder", 100, -1e-308, true, text(folders.readOnly + "/x.tif"), 0},
        {"disk full", 7, 0.5, false, text(folders.fullDevice), 0},
        {"Windows path", 3, 72.0, true, u"C:\\temp\\x.pdf", 0},
        {"a new file", 1, 1.0, true, text(folders.work + "/new.out"), 4},
    };
}

const std::vector<SkippedMember>& SkippedMembers() {
    static const std::vector<SkippedMember> skipped = {
        {"Twain", "SaveToFTP", "uploads to the server its arguments name: the network (ftp_upload_test covers it on 127.0.0.1)"},
        {"MvViewer", "DisplayFromFTP", "downloads from the server its arguments name: the network (viewer_internet_test)"},
        {"MvViewer", "DisplayFromURL", "downloads from the address it is given: the network (viewer_internet_test)"},
        {"MvViewer", "DisplayFromMemory", "reads the host's memory at the address it is given; its address check is built with the viewer's memory members"},
        {"MvViewer", "PrintImage", "sends a job to the system's printers (viewer_printing_test prints to a file)"},
        {"MvViewer", "PrintImage2Printer", "sends a job to the printer it names"},
        {"MvViewer", "PrintImageBySize", "sends a job to the system's printers"},
        {"MvViewer", "PrintImageBySize2Printer", "sends a job to the printer it names"},
        {"MvViewer", "PrintImageFit", "sends a job to the system's printers"},
        {"MvViewer", "PrintImageDialog", "opens the host's print dialog and prints"},
        {"MvViewer", "PrintImageDialogBySize", "opens the host's print dialog and prints"},
        {"MvViewer", "PrintImageDialogFit", "opens the host's print dialog and prints"},
    };
    return skipped;
}

std::vector<SweptControl> SweptControls(const SweepFolders& folders) {
    return {
        {"Twain", "_Twain", [] { return Created(&TwainObject::Create); }, TwainStates(folders)},
        {"MvViewer", "_MvViewer", [] { return Created(&ViewerObject::Create); }, ViewerStates(folders)},
    };
}

std::vector<com::MemberModel> MembersOf(const SweptControl& control) {
    const com::TypeInfoModel* type = com::FindType(typelib::ScanveltTypeLib(), control.interface);
    if (type == nullptr) return {};
    std::vector<com::MemberModel> members = type->members;
    std::stable_sort(members.begin(), members.end(),
                     [](const com::MemberModel& a, const com::MemberModel& b) { return a.id < b.id; });
    return members;
}

const char* SkipReason(const SweptControl& control, const com::MemberModel& member) {
    for (const SkippedMember& s : SkippedMembers())
        if (control.name == s.control && member.name == s.member) return s.reason;
    return nullptr;
}

CallOutcome CallOnce(const SweptControl& control, const SweptControl::State& state, const com::MemberModel& member,
                     const ArgumentClass& argument) {
    CallOutcome outcome;
    com::IDispatch* object = control.create();
    if (object == nullptr) return outcome;
    outcome.stateReady = state.setUp(object);
    {
        com::testing::ByRefStorage storage;
        std::vector<com::VARIANT> arguments;
        for (const com::ParamModel& param : member.params)
            arguments.push_back(com::testing::ArgumentOfClass(param, argument, storage));
        com::Variant result;
        outcome.hr = com::testing::InvokeMember(object, member, std::move(arguments), *result.get());
        outcome.answered = com::testing::IsDispatchAnswer(outcome.hr);
        const bool declaresResult = member.result != com::VT_EMPTY && member.kind != com::INVOKE_PROPERTYPUT &&
                                    member.kind != com::INVOKE_PROPERTYPUTREF;
        outcome.hasResult = !declaresResult || outcome.hr != com::S_OK || member.result == com::VT_VARIANT ||
                            result->vt != com::VT_EMPTY;
        if (outcome.hr == com::S_OK && IsStatusEnumeration(member) && result->vt == com::VT_I4)
            outcome.knownStatus = IsKnownStatus(result->lVal);
    }
    object->Release();
    return outcome;
}

}  // namespace scanvelt::sweep
