#pragma once
// The common "Open File" dialog. The library itself shows no windows: a host
// that has a user interface installs the dialog it shows; without one, every
// dialog counts as cancelled.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace win {

constexpr uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
constexpr uint32_t OFN_HIDEREADONLY = 0x00000004;

struct OpenFileDialogRequest {
    uint32_t ownerWindow = 0;
    std::string title;
    std::string filter;          // empty: no filter list
    uint32_t flags = 0;
    uint32_t maxPathLength = 0;  // characters the caller's buffer takes, its NUL not counted
};

// Shows the dialog; nullopt when the user cancelled.
using OpenFileDialogHandler = std::function<std::optional<std::string>(const OpenFileDialogRequest&)>;

// Installs the host's dialog (an empty function removes it).
void SetOpenFileDialogHandler(OpenFileDialogHandler handler);

// The chosen path; nullopt when the dialog was cancelled, no dialog is
// installed, or the chosen path is longer than the request allows (the
// caller's buffer could not hold it).
std::optional<std::string> GetOpenFileName(const OpenFileDialogRequest& request);

}  // namespace win
