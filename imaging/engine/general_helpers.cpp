#include "imaging/engine/general_helpers.h"

#include "imaging/engine/random_numbers.h"
#include "platform/win/text_encoding.h"
#include "platform/win/windows_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

namespace scanvelt {

win::Guid GuidFromString(std::string_view text) { return win::ParseGuid(text).value_or(win::Guid{}); }

std::string StringFromAnsiPtr(const char* text) {
    if (!text) return {};
    return win::AnsiToUtf8(text);
}

std::string StringFromWidePtr(const char16_t* text) {
    if (!text) return {};
    return win::Utf16ToUtf8(text);
}

std::string ExistingFilePath(const std::string& path) {
    if (path.empty()) return {};
    std::string resolved = win::ResolveWindowsPath(path);
    int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    struct stat info;
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    ::close(fd);
    return regular ? path : std::string();
}

std::string_view TrimSpaces(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string LowerCaseAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

namespace {

int32_t CountOf(size_t size) { return size > static_cast<size_t>(INT32_MAX) ? 0 : static_cast<int32_t>(size); }

}  // namespace

int32_t StringArrayCount(std::span<const std::string> array) { return CountOf(array.size()); }
int32_t LongArrayCount(std::span<const int32_t> array) { return CountOf(array.size()); }
int32_t DoubleArrayCount(std::span<const double> array) { return CountOf(array.size()); }
int32_t ByteArrayCount(std::span<const uint8_t> array) { return CountOf(array.size()); }

double MaxDouble(double a, double b) { return a >= b ? a : b; }

double MinDouble(double a, double b) { return a <= b ? a : b; }

int32_t DecimalPlaces(float x) {
    if (!std::isfinite(x)) return 0;
    // Every float becomes whole by about i = 45 (its scaled value reaches 2^24
    // or overflows to infinity), so the loop ends.
    for (int32_t i = 0;; ++i) {
        float scaled = static_cast<float>(static_cast<double>(x) * std::pow(10.0, i));
        if (std::isinf(scaled) || scaled == std::trunc(scaled)) return i;
    }
}

std::string RandomGuidString() {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(36);
    for (int i = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) out += '-';
        out += kDigits[static_cast<int>(RandomUnit() * 16)];
    }
    return out;
}

std::string SafeChrW(int32_t code) {
    if (code < -32768 || code > 65535) return {};
    char16_t unit = static_cast<char16_t>(code < 0 ? code + 65536 : code);
    return win::Utf16ToUtf8(std::u16string_view(&unit, 1));
}

uint16_t HighWord(int32_t value) { return static_cast<uint16_t>(static_cast<uint32_t>(value) >> 16); }

uint16_t LowWord(int32_t value) { return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFF); }

}  // namespace scanvelt
