#include "platform/report/formula.h"

#include <cctype>
#include <optional>

#include "platform/report/report_error.h"
#include "platform/vb/text_compare.h"

namespace report {

namespace {

enum class Token { Field, Number, Text, Word, Compare, Open, Close, Comma, End };

struct Lexeme {
    Token kind = Token::End;
    std::string text;  // field name, number digits, unquoted text, lower-case word, operator
    size_t at = 0;     // 1-based position in the formula
};

[[noreturn]] void refuse(const std::string& why, size_t at) {
    throw ReportError(ReportErrorCode::Formula,
                      "Formula error at position " + std::to_string(at) + ": " + why);
}

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}

    Lexeme next() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
        Lexeme l;
        l.at = i_ + 1;
        if (i_ >= s_.size()) return l;
        const char c = s_[i_];
        if (c == '{') {
            const size_t close = s_.find('}', i_);
            if (close == std::string_view::npos) refuse("a field is closed with \"}\"", l.at);
            l.kind = Token::Field;
            l.text = std::string(s_.substr(i_ + 1, close - i_ - 1));
            i_ = close + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            l.kind = Token::Number;
            bool point = false;
            while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || (s_[i_] == '.' && !point))) {
                point = point || s_[i_] == '.';
                l.text += s_[i_++];
            }
            if (l.text.back() == '.') refuse("a number ends in a digit", l.at);
        } else if (c == '\'' || c == '"') {
            l.kind = Token::Text;
            ++i_;
            while (true) {
                if (i_ >= s_.size()) refuse("a text is closed with its quote", l.at);
                if (s_[i_] == c) {
                    if (i_ + 1 < s_.size() && s_[i_ + 1] == c) {
                        l.text += c;
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                l.text += s_[i_++];
            }
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            l.kind = Token::Word;
            while (i_ < s_.size() && isNameChar(s_[i_]))
                l.text += static_cast<char>(std::tolower(static_cast<unsigned char>(s_[i_++])));
        } else if (c == '=' || c == '>' || c == '<') {
            l.kind = Token::Compare;
            l.text = c;
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '=' || (c == '<' && s_[i_] == '>'))) l.text += s_[i_++];
            if (l.text == "<") refuse("the comparison \"<\" is not supported", l.at);
            if (l.text == "==" || l.text == "=>" || l.text == "=<") refuse("unknown comparison", l.at);
        } else if (c == '(') {
            l.kind = Token::Open;
            ++i_;
        } else if (c == ')') {
            l.kind = Token::Close;
            ++i_;
        } else if (c == ',') {
            l.kind = Token::Comma;
            ++i_;
        } else {
            refuse(std::string("unexpected character \"") + c + "\"", l.at);
        }
        return l;
    }

private:
    std::string_view s_;
    size_t i_ = 0;
};

// Recursive descent over: or := and {"or" and}; and := not {"and" not};
// not := "not" not | compare; compare := operand [op operand].
class Translator {
public:
    Translator(std::string_view formula, std::string_view table) : lexer_(formula), table_(table) { advance(); }

    SqlCondition run() {
        SqlCondition out;
        if (current_.kind == Token::End) return out;
        out.sql = orExpression();
        if (current_.kind != Token::End) refuse("unexpected \"" + describe(current_) + "\"", current_.at);
        out.params = std::move(params_);
        out.fields = std::move(fields_);
        return out;
    }

private:
    static constexpr int kMaxDepth = 64;

    void advance() { current_ = lexer_.next(); }
    bool word(const char* w) const { return current_.kind == Token::Word && current_.text == w; }
    void expect(Token kind, const char* what) {
        if (current_.kind != kind) refuse(std::string(what) + " expected", current_.at);
        advance();
    }
    static std::string describe(const Lexeme& l) {
        switch (l.kind) {
            case Token::Field: return "{" + l.text + "}";
            case Token::Text: return "'" + l.text + "'";
            case Token::Open: return "(";
            case Token::Close: return ")";
            case Token::Comma: return ",";
            case Token::End: return "end of formula";
            default: return l.text;
        }
    }

    struct Depth {
        explicit Depth(Translator& t) : t_(t) {
            if (++t_.depth_ > kMaxDepth) refuse("the formula is nested too deeply", t_.current_.at);
        }
        ~Depth() { --t_.depth_; }
        Translator& t_;
    };

    std::string orExpression() {
        Depth depth(*this);
        std::string sql = andExpression();
        while (word("or")) {
            advance();
            sql = "(" + sql + " OR " + andExpression() + ")";
        }
        return sql;
    }
    std::string andExpression() {
        std::string sql = notExpression();
        while (word("and")) {
            advance();
            sql = "(" + sql + " AND " + notExpression() + ")";
        }
        return sql;
    }
    std::string notExpression() {
        if (word("not")) {
            Depth depth(*this);
            advance();
            return "(NOT " + notExpression() + ")";
        }
        return comparison();
    }
    std::string comparison() {
        std::string sql = operand();
        if (current_.kind == Token::Compare) {
            const std::string op = current_.text;
            advance();
            sql = "(" + sql + " " + op + " " + operand() + ")";
        }
        return sql;
    }

    std::string operand() {
        const Lexeme l = current_;
        switch (l.kind) {
            case Token::Field:
                advance();
                return field(l);
            case Token::Number:
                advance();
                if (l.text.find('.') != std::string::npos)
                    params_.emplace_back(std::stod(l.text));
                else if (l.text.size() > 18)
                    refuse("the number is too large", l.at);
                else
                    params_.emplace_back(static_cast<long long>(std::stoll(l.text)));
                return "?";
            case Token::Text:
                advance();
                params_.emplace_back(l.text);
                return "?";
            case Token::Open: {
                advance();
                std::string inner = orExpression();
                expect(Token::Close, "\")\"");
                return "(" + inner + ")";
            }
            case Token::Word:
                return wordOperand(l);
            default:
                refuse("a value expected, not \"" + describe(l) + "\"", l.at);
        }
    }

    std::string wordOperand(const Lexeme& l) {
        if (l.text == "true" || l.text == "false") {
            advance();
            return l.text == "true" ? "1" : "0";
        }
        if (l.text == "isnull") {
            advance();
            expect(Token::Open, "\"(\" after isnull");
            if (current_.kind != Token::Field) refuse("isnull takes a field", current_.at);
            const std::string f = field(current_);
            advance();
            expect(Token::Close, "\")\"");
            return "(" + f + " IS NULL)";
        }
        if (l.text == "date") {
            advance();
            expect(Token::Open, "\"(\" after date");
            int parts[3] = {};
            for (int k = 0; k < 3; ++k) {
                if (k > 0) expect(Token::Comma, "\",\" between the parts of a date");
                if (current_.kind != Token::Number || current_.text.find('.') != std::string::npos ||
                    current_.text.size() > 4)
                    refuse("a date's year, month and day are whole numbers", current_.at);
                parts[k] = std::stoi(current_.text);
                advance();
            }
            expect(Token::Close, "\")\"");
            const std::optional<vb::DateTime> date = vb::DateTime::fromParts(parts[0], parts[1], parts[2]);
            if (!date) refuse("no such date", l.at);
            params_.emplace_back(*date);
            return "?";
        }
        refuse("unknown word \"" + l.text + "\"", l.at);
    }

    std::string field(const Lexeme& l) {
        const size_t dot = l.text.find('.');
        if (dot == std::string::npos) refuse("a field is written {table.field}", l.at);
        const std::string_view table = std::string_view(l.text).substr(0, dot);
        const std::string_view name = std::string_view(l.text).substr(dot + 1);
        if (!vb::equalIgnoringCase(table, table_))
            refuse("the report reads no table \"" + std::string(table) + "\"", l.at);
        if (name.empty()) refuse("a field without a name", l.at);
        for (char c : name)
            if (!isNameChar(c)) refuse("a field name is letters, digits and \"_\"", l.at);
        fields_.emplace_back(name);
        return "[" + std::string(name) + "]";
    }

    Lexer lexer_;
    std::string_view table_;
    Lexeme current_{};
    std::vector<jet::Value> params_;
    std::vector<std::string> fields_;
    int depth_ = 0;
};

}  // namespace

SqlCondition translateSelectionFormula(std::string_view formula, std::string_view table) {
    return Translator(formula, table).run();
}

FormulaAssignment parseFormulaAssignment(std::string_view formula) {
    Lexer lexer(formula);
    const Lexeme name = lexer.next();
    if (name.kind != Token::Word) refuse("a formula field starts with its name", name.at);
    const Lexeme equals = lexer.next();
    if (equals.kind != Token::Compare || equals.text != "=") refuse("\"=\" after the formula's name", equals.at);
    const Lexeme text = lexer.next();
    if (text.kind != Token::Text) refuse("a formula field takes a quoted text", text.at);
    const Lexeme end = lexer.next();
    if (end.kind != Token::End) refuse("nothing may follow the text", end.at);
    // The name as written; the lexer lower-cases words for the keywords.
    const size_t start = formula.find_first_not_of(" \t");
    return {std::string(formula.substr(start, name.text.size())), text.text};
}

std::string formulaText(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

}  // namespace report
