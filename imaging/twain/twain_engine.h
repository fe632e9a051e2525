#pragma once
// The outside TWAIN engine as the control reaches it: the engine file is
// bound by name at the first call ("mvtwain.dll", found as libmvtwain.so),
// and the engine check that guarded members run first.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace scanvelt {

// The engine file is missing or lacks the function called: raised to the host
// by an unguarded member as its error.
class TwainEngineUnavailable : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The name (or path) of the engine file; "mvtwain.dll" unless changed.
std::string TwainEngineFile();
// Points the control at another engine file (tests); "" restores the default.
void SetTwainEngineFile(std::string nameOrPath);

inline constexpr int32_t kMinimumTwainEngineVersion = 630;

// The engine function of that name, bound at its first call; raises
// TwainEngineUnavailable when the file or the function is missing.
void* TwainEngineFunction(const char* name);

// MVTWAIN_GetVersion, bound at the first call.
int32_t MvTwainGetVersion();

// The engine check: true when the engine file has a version and the engine
// reports version 630 or later; otherwise shows "Can't found MVTWAIN.DLL
// file." or "Bad MVTWAIN.DLL version." (title "Error", error icon, OK) and
// answers false. Every call tests again.
bool TwainEngineReady();

}  // namespace scanvelt
