#pragma once
// Calls into the TWAIN engine by function name, with the engine's own
// argument types: 32-bit integers, doubles and 8-bit texts. Texts cross in
// the system code page (Windows-1252) both ways; the engine's text is copied
// at once, since it stays valid only until the next call.
#include <cstdint>
#include <string>
#include <string_view>

#include "imaging/twain/twain_engine.h"

namespace scanvelt::mvtwain_call {

// The engine function `name` called with exactly these argument types.
template <class Result, class... Arguments>
Result Call(const char* name, Arguments... arguments) {
    using Function = Result (*)(Arguments...);
    return reinterpret_cast<Function>(TwainEngineFunction(name))(arguments...);
}

inline int32_t Int(const char* name) { return Call<int32_t>(name); }
inline int32_t Int(const char* name, int32_t value) { return Call<int32_t>(name, value); }
inline double Real(const char* name) { return Call<double>(name); }
// 1 or 0, as the engine takes a Boolean.
inline int32_t Flag(bool value) { return value ? 1 : 0; }

// The engine's text answer as UTF-8 ("" for a null pointer).
std::string Text(const char* name);
std::string Text(const char* name, int32_t value);
// UTF-8 text in the engine's code page.
std::string ToEngine(std::string_view text);
// A function taking one text.
int32_t WithText(const char* name, std::string_view text);

}  // namespace scanvelt::mvtwain_call
