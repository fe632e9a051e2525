#include "imaging/twain/mvtwain_calls.h"

#include "imaging/engine/general_helpers.h"
#include "platform/win/text_encoding.h"

namespace scanvelt::mvtwain_call {

std::string Text(const char* name) { return StringFromAnsiPtr(Call<const char*>(name)); }

std::string Text(const char* name, int32_t value) { return StringFromAnsiPtr(Call<const char*>(name, value)); }

std::string ToEngine(std::string_view text) { return win::Utf8ToAnsi(text); }

int32_t WithText(const char* name, std::string_view text) {
    const std::string ansi = ToEngine(text);
    return Call<int32_t>(name, ansi.c_str());
}

}  // namespace scanvelt::mvtwain_call
