#include "platform/vb/leading_number.h"

namespace vb::detail {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Next position that is not a blank when blanks are skipped inside the number.
size_t nextPos(std::string_view text, size_t pos, const LeadingNumberRules& rules) {
    return rules.skipBlanksInside ? skipBlanks(text, pos) : pos;
}

}  // namespace

bool isVbBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

size_t skipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && isVbBlank(text[pos])) ++pos;
    return pos;
}

LeadingNumber scanLeadingNumber(std::string_view text, size_t pos, const LeadingNumberRules& rules) {
    LeadingNumber n;
    n.end = pos;
    pos = nextPos(text, pos, rules);
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        n.negative = text[pos] == '-';
        pos = nextPos(text, pos + 1, rules);
    }
    for (; pos < text.size() && isDigit(text[pos]); pos = nextPos(text, pos + 1, rules)) {
        n.integerDigits += text[pos];
        n.end = pos + 1;
    }
    if (pos < text.size() && rules.decimalSeparators.find(text[pos]) != std::string_view::npos) {
        // A separator after digits belongs to the number even with nothing after it ("5.").
        if (!n.integerDigits.empty()) n.end = pos + 1;
        pos = nextPos(text, pos + 1, rules);
        for (; pos < text.size() && isDigit(text[pos]); pos = nextPos(text, pos + 1, rules)) {
            n.fractionDigits += text[pos];
            n.end = pos + 1;
        }
    }
    n.anyDigit = !n.integerDigits.empty() || !n.fractionDigits.empty();
    if (!n.anyDigit) {
        n.negative = false;
        return n;
    }
    if (rules.exponent) {
        size_t e = nextPos(text, n.end, rules);
        if (e < text.size() && (text[e] == 'e' || text[e] == 'E' || text[e] == 'd' || text[e] == 'D')) {
            e = nextPos(text, e + 1, rules);
            std::string digits;
            if (e < text.size() && (text[e] == '-' || text[e] == '+')) {
                if (text[e] == '-') digits = "-";
                e = nextPos(text, e + 1, rules);
            }
            size_t last = 0;
            for (; e < text.size() && isDigit(text[e]); e = nextPos(text, e + 1, rules)) {
                digits += text[e];
                last = e + 1;
            }
            if (last != 0) {
                n.exponentDigits = digits;
                n.end = last;
            }
        }
    }
    return n;
}

std::optional<Currency> currencyOf(const LeadingNumber& number) {
    if (!number.anyDigit) return Currency{};
    std::string text = number.negative ? "-" : "";
    text += number.integerDigits.empty() ? "0" : number.integerDigits;
    if (!number.fractionDigits.empty()) text += "." + number.fractionDigits;
    return Currency::fromDecimalText(text);
}

}  // namespace vb::detail
