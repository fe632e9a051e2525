#include "plugins/mvpdfplug/object_numbers.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace mvpdfplug {
namespace {

// Two million objects: a cross-reference table of some tens of megabytes.
constexpr uint64_t kObjectAllowance = 2'000'000;
constexpr uint64_t kCap = uint64_t{1} << 40;  // numbers beyond this count as huge

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0'; }

// The number whose last digit is at `end - 1`, reading backwards; `start` gets its first digit.
uint64_t numberEndingAt(std::string_view text, size_t end, size_t& start) {
    start = end;
    while (start > 0 && isDigit(text[start - 1])) --start;
    uint64_t value = 0;
    for (size_t i = start; i < end; ++i) value = std::min(kCap, value * 10 + static_cast<uint64_t>(text[i] - '0'));
    return value;
}

size_t skipSpaceBackwards(std::string_view text, size_t end) {
    while (end > 0 && isSpace(text[end - 1])) --end;
    return end;
}

}  // namespace

uint64_t LargestObjectNumber(std::string_view pdf) {
    uint64_t largest = 0;
    for (size_t at = pdf.find("obj"); at != std::string_view::npos; at = pdf.find("obj", at + 3)) {
        // "<number> <generation> obj"
        size_t end = skipSpaceBackwards(pdf, at);
        size_t start = 0;
        numberEndingAt(pdf, end, start);
        if (start == end) continue;
        end = skipSpaceBackwards(pdf, start);
        const uint64_t number = numberEndingAt(pdf, end, start);
        if (start != end) largest = std::max(largest, number);
    }
    for (size_t at = pdf.find("/Size"); at != std::string_view::npos; at = pdf.find("/Size", at + 5)) {
        size_t from = at + 5;
        while (from < pdf.size() && isSpace(pdf[from])) ++from;
        size_t to = from;
        while (to < pdf.size() && isDigit(pdf[to])) ++to;
        size_t start = 0;
        if (to > from) largest = std::max(largest, numberEndingAt(pdf, to, start));
    }
    return largest;
}

bool ObjectNumbersWithinReason(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LargestObjectNumber(bytes) <= kObjectAllowance + bytes.size() / 8;
}

}  // namespace mvpdfplug
