#pragma once
// Message boxes of the libraries (a missing plug-in, a failed start-up). The
// library itself shows no windows: a host that has a user interface installs
// the box it shows; without one, the text goes to the standard error stream
// and the box counts as answered with its first button.
#include <cstdint>
#include <functional>
#include <string>

namespace win {

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr int IDOK = 1;

struct MessageBoxRequest {
    uint32_t ownerWindow = 0;
    std::string text;
    std::string title;
    uint32_t style = MB_OK;  // buttons and icon
};

// Shows the box modally and returns the button chosen (IDOK, ...).
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Installs the host's box (an empty function restores the default).
void SetMessageBoxHandler(MessageBoxHandler handler);

int ShowMessageBox(const MessageBoxRequest& request);

}  // namespace win
