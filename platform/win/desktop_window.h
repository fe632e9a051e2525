#pragma once
// Window handles as the libraries hand them out: 32-bit handles of the
// window kind, never addresses. The desktop has a fixed one.
#include "platform/win/handles.h"

namespace win {

enum class HWND : uint32_t {};

// The desktop window; the same handle on every call.
HWND GetDesktopWindow();

}  // namespace win
