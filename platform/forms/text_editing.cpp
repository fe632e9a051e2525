#include "platform/forms/text_editing.h"

#include <algorithm>

namespace forms {

namespace {

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t characterStartAtOrBefore(std::string_view text, size_t pos) {
    pos = std::min(pos, text.size());
    while (pos > 0 && pos < text.size() && isContinuationByte(text[pos])) --pos;
    return pos;
}

bool lineEndAt(std::string_view text, size_t pos) {
    return pos + 1 < text.size() && text[pos] == '\r' && text[pos + 1] == '\n';
}

}  // namespace

size_t characterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !isContinuationByte(c); }));
}

size_t previousCharacterStart(std::string_view text, size_t pos) {
    pos = characterStartAtOrBefore(text, pos);
    if (pos == 0) return 0;
    if (pos >= 2 && lineEndAt(text, pos - 2)) return pos - 2;
    --pos;
    while (pos > 0 && isContinuationByte(text[pos])) --pos;
    return pos;
}

size_t characterEnd(std::string_view text, size_t pos) {
    if (pos >= text.size()) return text.size();
    ++pos;
    while (pos < text.size() && isContinuationByte(text[pos])) ++pos;
    return pos;
}

size_t nextCharacterEnd(std::string_view text, size_t pos) {
    pos = characterStartAtOrBefore(text, pos);
    return lineEndAt(text, pos) ? pos + 2 : characterEnd(text, pos);
}

TextSelection clampSelection(TextSelection at, std::string_view text) {
    const size_t start = characterStartAtOrBefore(text, at.start);
    const size_t end = at.start >= text.size() || at.length >= text.size() - at.start ? text.size()
                                                                                      : at.start + at.length;
    return {start, std::max(start, characterStartAtOrBefore(text, end)) - start};
}

TextEdit replaceSelection(std::string_view text, TextSelection at, std::string_view inserted, int maxLength) {
    at = clampSelection(at, text);
    const std::string_view head = text.substr(0, at.start);
    const std::string_view tail = text.substr(at.start + at.length);
    if (maxLength > 0) {
        const size_t allowed = std::max(static_cast<size_t>(maxLength), characterCount(text));
        const size_t kept = characterCount(head) + characterCount(tail);
        size_t room = allowed > kept ? allowed - kept : 0;
        size_t end = 0;
        while (end < inserted.size()) {
            const size_t next = nextCharacterEnd(inserted, end);  // a line end goes whole or not at all
            const size_t cost = characterCount(inserted.substr(end, next - end));
            if (cost > room) break;
            room -= cost;
            end = next;
        }
        inserted = inserted.substr(0, end);
    }
    std::string out;
    out.reserve(head.size() + inserted.size() + tail.size());
    out.append(head).append(inserted).append(tail);
    return {std::move(out), head.size() + inserted.size()};
}

TextReplacement replacementBetween(std::string_view before, std::string_view after) {
    const size_t shorter = std::min(before.size(), after.size());
    size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    prefix = characterStartAtOrBefore(after, prefix);
    size_t suffix = 0;
    while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) ++suffix;
    // The kept end starts on a character boundary.
    while (suffix > 0 && isContinuationByte(after[after.size() - suffix])) --suffix;
    return {{prefix, before.size() - prefix - suffix}, after.substr(prefix, after.size() - prefix - suffix)};
}

}  // namespace forms
