#pragma once
// Scanvelt's type library: the library, its 78 type-information entries in
// order (the controls Twain and MvViewer, the empty class dummy, their
// interfaces and version aliases, 53 enumerations), every member with its
// dispatch ID, and the interface identifiers each control answers to.
#include <string_view>
#include <vector>

#include "platform/com/typelib_model.h"

namespace scanvelt::typelib {

const com::TypeLibModel& ScanveltTypeLib();

const com::GUID& LibraryId();
const com::CLSID& TwainClassId();
const com::CLSID& MvViewerClassId();
const com::CLSID& DummyClassId();
const com::IID& TwainInterfaceId();        // _Twain
const com::IID& TwainEventsId();           // __Twain
const com::IID& MvViewerInterfaceId();     // _MvViewer
const com::IID& MvViewerEventsId();        // __MvViewer
const com::IID& DummyInterfaceId();        // _dummy

// Interface identifiers an instance answers to: earlier versions' first, the
// current interface last.
const std::vector<com::IID>& TwainInterfaceIds();
const std::vector<com::IID>& MvViewerInterfaceIds();
const std::vector<com::IID>& DummyInterfaceIds();
// Event interfaces an instance accepts connections for, the current one last.
const std::vector<com::IID>& TwainSourceInterfaceIds();
const std::vector<com::IID>& MvViewerSourceInterfaceIds();

// A member's dispatch ID by its name, in any case (DISPID_UNKNOWN when the
// interface has no such member).
com::DISPID TwainMemberId(std::string_view name);     // _Twain
com::DISPID MvViewerMemberId(std::string_view name);  // _MvViewer

// The frame's members whose numbers this library fixes itself.
inline constexpr com::DISPID kDispidGetVersion = 0x60030135;
inline constexpr com::DISPID kDispidGetStat = 0x60030136;

// Member tables, in dispatch-ID order.
std::vector<com::MemberModel> TwainMembers();
// Families of _Twain's members in files of their own, joined by TwainMembers.
std::vector<com::MemberModel> TwainColourMembers();
std::vector<com::MemberModel> TwainConversionMembers();
std::vector<com::MemberModel> TwainFileOutputMembers();
std::vector<com::MemberModel> TwainDeskewMembers();
std::vector<com::MemberModel> TwainImageInfoMembers();
std::vector<com::MemberModel> TwainTextMembers();
std::vector<com::MemberModel> TwainFormatsMembers();  // further formats, icon and FTP upload
std::vector<com::MemberModel> TwainAcquisitionMembers();  // twain_members_acquisition.cpp
std::vector<com::MemberModel> TwainCapabilityMembers();  // twain_members_capabilities.cpp
std::vector<com::MemberModel> TwainFeatureMembers();     // twain_members_features.cpp
std::vector<com::MemberModel> MvViewerMembers();
std::vector<com::MemberModel> MvViewerViewMembers();
std::vector<com::MemberModel> MvViewerInternetMembers();  // viewer_members_internet.cpp
std::vector<com::MemberModel> MvViewerPrintingMembers();  // viewer_members_printing.cpp
std::vector<com::MemberModel> MvViewerEvents();

}  // namespace scanvelt::typelib
