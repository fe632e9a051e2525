#pragma once
// Test helpers of the VB values, also used by the tests of the database layer.
#include <locale.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/vb/currency.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace vb::testing {

// A C library locale whose decimal separator is a comma (German), as a
// process has once a toolkit calls setlocale(LC_ALL, ""): printf and strtod
// then write and read "0,5". Built once with localedef in a temporary folder;
// nullptr where that cannot be done.
inline locale_t commaNumericLocale() {
    static const locale_t locale = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "vb-locale-XXXXXX").string();
        if (!mkdtemp(folder.data())) return static_cast<locale_t>(nullptr);
        const std::string command = "localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
        [[maybe_unused]] const int status = std::system(command.c_str());  // warnings still give a locale
        const char* saved = std::getenv("LOCPATH");
        const std::optional<std::string> previous = saved ? std::optional<std::string>(saved) : std::nullopt;
        setenv("LOCPATH", folder.c_str(), 1);
#if defined(__SANITIZE_ADDRESS__)
        __lsan_disable();  // newlocale keeps a copy of LOCPATH it never frees
#endif
        const locale_t made = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
#if defined(__SANITIZE_ADDRESS__)
        __lsan_enable();
#endif
        if (previous) setenv("LOCPATH", previous->c_str(), 1);
        else unsetenv("LOCPATH");
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);  // the locale's data is loaded by now
        return made;
    }();
    return locale;
}

// Puts a C library locale in place for this thread while it lives.
class ScopedThreadLocale {
public:
    explicit ScopedThreadLocale(locale_t locale) : previous_(uselocale(locale)) {}
    ~ScopedThreadLocale() { uselocale(previous_); }
    ScopedThreadLocale(const ScopedThreadLocale&) = delete;
    ScopedThreadLocale& operator=(const ScopedThreadLocale&) = delete;

private:
    locale_t previous_;
};

// An amount written as its decimal text ("12.50"); the text must be valid.
inline Currency cur(std::string_view text) { return *Currency::fromDecimalText(text); }

}  // namespace vb::testing
