#include "platform/vb/text_functions.h"

namespace vb {

namespace {

constexpr char kBlank = ' ';

std::string withLetters(std::string_view text, char from, char to) {
    std::string out(text);
    for (char& c : out)
        if (c >= from && c <= static_cast<char>(from + 25)) c = static_cast<char>(c - from + to);
    return out;
}

}  // namespace

std::string ltrim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlank);
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string rtrim(std::string_view text) {
    const size_t last = text.find_last_not_of(kBlank);
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string trim(std::string_view text) { return ltrim(rtrim(text)); }

std::string ucase(std::string_view text) { return withLetters(text, 'a', 'A'); }

std::string lcase(std::string_view text) { return withLetters(text, 'A', 'a'); }

}  // namespace vb
