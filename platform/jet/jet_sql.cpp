#include "platform/jet/jet_sql.h"

#include <algorithm>
#include <cctype>

#include "platform/jet/error.h"
#include "platform/vb/date_text.h"
#include "platform/vb/text_compare.h"

namespace jet {

namespace {

enum class Tok { Space, Word, Number, String, Bracket, Quoted, Param, Punct };

struct Token {
    Tok kind;
    std::string_view text;
    int depth;  // parenthesis depth at the token
};

bool isWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80); }
bool isWordChar(char c) { return isWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$'; }

// Finds the end of a quoted run starting at `start` (the opening quote);
// `close` doubled inside stands for itself.
size_t quotedEnd(std::string_view sql, size_t start, char close, bool doubling) {
    for (size_t i = start + 1; i < sql.size(); ++i) {
        if (sql[i] != close) continue;
        if (doubling && i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    throw errors::syntax(sql.substr(start));
}

std::vector<Token> tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    int depth = 0;
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        size_t end = i + 1;
        Tok kind = Tok::Punct;
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (end < sql.size() && std::isspace(static_cast<unsigned char>(sql[end]))) ++end;
            kind = Tok::Space;
        } else if (c == '\'') {
            end = quotedEnd(sql, i, '\'', true);
            kind = Tok::String;
        } else if (c == '"') {
            end = quotedEnd(sql, i, '"', true);
            kind = Tok::Quoted;
        } else if (c == '[') {
            end = quotedEnd(sql, i, ']', false);
            kind = Tok::Bracket;
        } else if (c == '?') {
            kind = Tok::Param;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
            while (end < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '.')) ++end;
            kind = Tok::Number;
        } else if (isWordStart(c)) {
            while (end < sql.size() && isWordChar(sql[end])) ++end;
            kind = Tok::Word;
        } else if (i + 1 < sql.size()) {
            const std::string_view two = sql.substr(i, 2);
            if (two == "<=" || two == ">=" || two == "<>" || two == "!=" || two == "||") end = i + 2;
        }
        if (c == ')') --depth;
        tokens.push_back({kind, sql.substr(i, end - i), depth});
        if (c == '(') ++depth;
        i = end;
    }
    return tokens;
}

size_t nextSolid(const std::vector<Token>& tokens, size_t i) {
    ++i;
    while (i < tokens.size() && tokens[i].kind == Tok::Space) ++i;
    return i;
}

bool isWord(const std::vector<Token>& tokens, size_t i, std::string_view word) {
    return i < tokens.size() && tokens[i].kind == Tok::Word && vb::equalIgnoringCase(tokens[i].text, word);
}

bool isPunct(const std::vector<Token>& tokens, size_t i, std::string_view p) {
    return i < tokens.size() && tokens[i].kind == Tok::Punct && tokens[i].text == p;
}

// Text between quotes, in which the quote doubled stands for itself.
std::string quoted(std::string_view text, char quote) {
    std::string s(1, quote);
    for (char c : text) {
        s += c;
        if (c == quote) s += quote;
    }
    return s + quote;
}

std::string unquoted(std::string_view text) {
    const char quote = text.front();
    std::string s;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        s += text[i];
        if (text[i] == quote) ++i;
    }
    return s;
}

std::string sqlString(std::string_view text) { return quoted(text, '\''); }

std::string nameOf(const Token& t) {
    if (t.kind == Tok::Bracket) return std::string(t.text.substr(1, t.text.size() - 2));
    if (t.kind == Tok::Quoted) return unquoted(t.text);
    return std::string(t.text);
}

bool isName(const Token& t) { return t.kind == Tok::Word || t.kind == Tok::Bracket || t.kind == Tok::Quoted; }

constexpr std::string_view kEscape = " ESCAPE '\\'";
constexpr std::string_view kAggregates[] = {"count", "sum", "avg", "min", "max", "first", "last",
                                            "stdev", "stdevp", "var", "varp"};
constexpr std::string_view kSetWords[] = {"distinct", "group", "having", "union", "join", "intersect", "except"};

std::string joined(const std::vector<std::string>& out, size_t from, size_t to) {
    std::string s;
    for (size_t i = from; i < to && i < out.size(); ++i) s += out[i];
    return s;
}

std::string trimmed(std::string s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const size_t last = s.find_last_not_of(" \t\r\n;");
    return s.substr(first, last - first + 1);
}

// Replaces "datevalue ( <text or ?> )" with a date literal or a date parameter.
size_t translateDateValue(const std::vector<Token>& tokens, size_t i, std::vector<std::string>& out,
                          std::vector<ParamKind>& params, const vb::Locale& locale) {
    const size_t open = nextSolid(tokens, i);
    const size_t arg = nextSolid(tokens, open);
    const size_t close = nextSolid(tokens, arg);
    if (!isPunct(tokens, open, "(") || !isPunct(tokens, close, ")") ||
        (tokens[arg].kind != Tok::String && tokens[arg].kind != Tok::Param))
        throw errors::syntax("datevalue takes one date text");
    if (tokens[arg].kind == Tok::String) {
        const auto date = vb::parseShortDate(unquoted(tokens[arg].text), locale);
        if (!date) throw errors::dataTypeMismatchInCriteria();
        out[i] = sqlString(date->toIsoDate());
    } else {
        out[i] = "?";
        params.push_back(ParamKind::DateValue);
    }
    for (size_t k = i + 1; k <= close; ++k) out[k].clear();
    return close;
}

// Rewrites the pattern operand after LIKE; returns the last token consumed.
size_t translateLike(const std::vector<Token>& tokens, size_t i, std::vector<std::string>& out,
                     std::vector<ParamKind>& params) {
    const size_t operand = nextSolid(tokens, i);
    if (operand >= tokens.size()) return i;
    if (tokens[operand].kind == Tok::String) {
        out[operand] = sqlString(translateLikePattern(unquoted(tokens[operand].text))) + std::string(kEscape);
        return operand;
    }
    if (tokens[operand].kind == Tok::Param) {
        out[operand] = "?" + std::string(kEscape);
        params.push_back(ParamKind::LikePattern);
        return operand;
    }
    return i;
}

}  // namespace

Translation translateSql(std::string_view jetSql, const vb::Locale& locale) {
    const std::vector<Token> tokens = tokenize(jetSql);
    std::vector<std::string> out;
    out.reserve(tokens.size());
    for (const Token& t : tokens) out.emplace_back(t.text);

    Translation result;
    const size_t first = nextSolid(tokens, static_cast<size_t>(-1));
    result.isSelect = isWord(tokens, first, "select");

    // TOP n directly after SELECT [DISTINCT] becomes LIMIT n at the end.
    std::string limit;
    size_t listStart = first + 1;
    if (result.isSelect) {
        size_t k = nextSolid(tokens, first);
        if (isWord(tokens, k, "distinct") || isWord(tokens, k, "all")) k = nextSolid(tokens, k);
        if (isWord(tokens, k, "top")) {
            const size_t n = nextSolid(tokens, k);
            if (n >= tokens.size() || tokens[n].kind != Tok::Number || isWord(tokens, nextSolid(tokens, n), "percent"))
                throw errors::syntax("TOP takes a whole number of rows");
            limit = " LIMIT " + std::string(tokens[n].text);
            const size_t last = (n + 1 < tokens.size() && tokens[n + 1].kind == Tok::Space) ? n + 1 : n;
            for (size_t m = k; m <= last; ++m) out[m].clear();
            listStart = last + 1;
        }
    }

    size_t fromIndex = tokens.size();
    size_t groupIndex = tokens.size();  // "group" of a top-level GROUP BY
    size_t groupEnd = tokens.size();    // the end of its list: HAVING, ORDER BY, UNION or ";"
    bool ordered = false;
    bool plainRows = result.isSelect;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == Tok::Bracket) {
            out[i] = quoteIdentifier(nameOf(t));
        } else if (t.kind == Tok::Param) {
            out[i] = "?";
            result.params.push_back(ParamKind::Plain);
        } else if (t.kind == Tok::Word) {
            if (vb::equalIgnoringCase(t.text, "true")) {
                out[i] = "1";
            } else if (vb::equalIgnoringCase(t.text, "false")) {
                out[i] = "0";
            } else if (vb::equalIgnoringCase(t.text, "datevalue")) {
                i = translateDateValue(tokens, i, out, result.params, locale);
                continue;
            } else if (vb::equalIgnoringCase(t.text, "like")) {
                i = translateLike(tokens, i, out, result.params);
                continue;
            }
            if (t.depth == 0) {
                if (vb::equalIgnoringCase(t.text, "from") && fromIndex == tokens.size()) fromIndex = i;
                if (vb::equalIgnoringCase(t.text, "group") && isWord(tokens, nextSolid(tokens, i), "by"))
                    groupIndex = i;
                else if (groupIndex < i && groupEnd == tokens.size() &&
                         (vb::equalIgnoringCase(t.text, "having") || vb::equalIgnoringCase(t.text, "order") ||
                          vb::equalIgnoringCase(t.text, "union")))
                    groupEnd = i;
                if (vb::equalIgnoringCase(t.text, "order") || vb::equalIgnoringCase(t.text, "union")) ordered = true;
                for (std::string_view w : kSetWords)
                    if (vb::equalIgnoringCase(t.text, w)) plainRows = false;
            }
            // An aggregate makes one row of many, also inside an expression of
            // the column list ("(sum(x))", "iif(count(*) > 0, 1, 0)"); past
            // FROM only one at the top level does (one in a subquery does not).
            const bool inColumnList = fromIndex == tokens.size();
            if ((t.depth == 0 || inColumnList) && isPunct(tokens, nextSolid(tokens, i), "("))
                for (std::string_view a : kAggregates)
                    if (vb::equalIgnoringCase(t.text, a)) plainRows = false;
        }
    }

    // Grouped rows come out in the order of their groups, whatever index the
    // engine happens to group by.
    std::string groupOrder;
    size_t insertAt = tokens.size();  // where the order goes: before a closing ";", else at the end
    if (groupIndex < tokens.size() && !ordered) {
        for (size_t k = groupIndex; k < tokens.size(); ++k)
            if (tokens[k].depth == 0 && isPunct(tokens, k, ";")) {
                insertAt = k;
                groupEnd = std::min(groupEnd, k);
                break;
            }
        const size_t list = nextSolid(tokens, nextSolid(tokens, groupIndex));
        const std::string columns = trimmed(joined(out, list, groupEnd));
        if (!columns.empty()) groupOrder = " ORDER BY " + columns;
    }
    if (groupOrder.empty())
        result.sql = trimmed(joined(out, 0, out.size())) + limit;
    else
        result.sql = trimmed(trimmed(joined(out, 0, insertAt)) + groupOrder + joined(out, insertAt, out.size())) + limit;

    // One table after FROM, then nothing but WHERE / ORDER BY; no parameter in
    // the column list, which is evaluated again when a row is fetched anew.
    for (size_t k = listStart; k < fromIndex; ++k)
        if (tokens[k].kind == Tok::Param) plainRows = false;
    if (plainRows && fromIndex < tokens.size()) {
        const size_t table = nextSolid(tokens, fromIndex);
        const size_t after = nextSolid(tokens, table);
        const bool endsWell = after >= tokens.size() || isPunct(tokens, after, ";") || isWord(tokens, after, "where") ||
                              isWord(tokens, after, "order");
        if (table < tokens.size() && isName(tokens[table]) && endsWell) {
            result.baseTable = nameOf(tokens[table]);
            result.selectList = trimmed(joined(out, listStart, fromIndex));
            result.fromClause = trimmed(joined(out, fromIndex, out.size())) + limit;
        }
    }
    return result;
}

Translation translateRecordSource(std::string_view source, const vb::Locale& locale) {
    const std::vector<Token> tokens = tokenize(source);
    const size_t first = nextSolid(tokens, static_cast<size_t>(-1));
    const bool oneName = first < tokens.size() && isName(tokens[first]) && !isWord(tokens, first, "select") &&
                         nextSolid(tokens, first) >= tokens.size();
    if (oneName) return translateSql("select * from " + quoteIdentifier(nameOf(tokens[first])), locale);
    return translateSql(source, locale);
}

std::string translateLikePattern(std::string_view p) {
    std::string s;
    for (size_t i = 0; i < p.size(); ++i) {
        char c = p[i];
        if (c == '*') {
            s += '%';
            continue;
        }
        if (c == '?') {
            s += '_';
            continue;
        }
        if (c == '#') throw errors::syntax(std::string("digit wildcard in pattern ") + std::string(p));
        if (c == '[') {
            if (i + 2 >= p.size() || p[i + 2] != ']' || p[i + 1] == '!')
                throw errors::syntax(std::string("character list in pattern ") + std::string(p));
            c = p[i + 1];
            i += 2;
        }
        if (c == '%' || c == '_' || c == '\\') s += '\\';
        s += c;
    }
    return s;
}

std::string likeLiteral(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c == '*' || c == '?' || c == '#' || c == '[') {
            s += '[';
            s += c;
            s += ']';
        } else {
            s += c;
        }
    }
    return s;
}

std::string quoteIdentifier(std::string_view name) { return quoted(name, '"'); }

}  // namespace jet
