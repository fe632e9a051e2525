#include "platform/win/environment.h"

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace win {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::optional<std::string> GetEnvironmentVariableNoCase(std::string_view name) {
    if (name.empty()) return std::nullopt;
    std::string exactName(name);
    if (const char* exact = std::getenv(exactName.c_str())) return std::string(exact);
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (!equals) continue;
        if (EqualsNoCase(std::string_view(*entry, static_cast<size_t>(equals - *entry)), name)) {
            return std::string(equals + 1);
        }
    }
    return std::nullopt;
}

}  // namespace win
