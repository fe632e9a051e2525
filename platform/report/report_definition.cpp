#include "platform/report/report_definition.h"

#include <fstream>
#include <sstream>

#include "platform/report/report_error.h"
#include "platform/vb/text_compare.h"

namespace report {

namespace {

std::string trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const size_t last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string> split(std::string_view s, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t end = s.find(separator, start);
        parts.push_back(trim(s.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

std::vector<std::string> list(std::string_view s) {
    std::vector<std::string> out;
    for (std::string& item : split(s, ','))
        if (!item.empty()) out.push_back(std::move(item));
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    ReportDefinition parse() {
        std::istringstream lines{std::string(text_)};
        std::string line;
        Section* section = nullptr;
        bool inReport = false;
        while (std::getline(lines, line)) {
            ++lineNumber_;
            const std::string content = trim(line);
            if (content.empty() || content.front() == '#') continue;
            if (content.front() == '[') {
                if (content.back() != ']') fail("a section heading ends in \"]\"");
                const std::string heading = trim(std::string_view(content).substr(1, content.size() - 2));
                if (heading == "report") {
                    if (sawReport_) fail("a second [report] section");
                    sawReport_ = inReport = true;
                    section = &definition_.main;
                } else if (heading.rfind("subreport ", 0) == 0 && !trim(heading.substr(10)).empty()) {
                    inReport = false;
                    definition_.subreports.emplace_back();
                    definition_.subreports.back().name = trim(heading.substr(10));
                    section = &definition_.subreports.back();
                } else {
                    fail("unknown section [" + heading + "]");
                }
                continue;
            }
            if (!section) fail("a setting before the [report] section");
            const size_t equals = content.find('=');
            if (equals == std::string::npos) fail("\"key = value\" expected");
            std::string key = trim(std::string_view(content).substr(0, equals));
            const std::string value = trim(std::string_view(content).substr(equals + 1));
            if (inReport && reportKey(key, value)) continue;
            sectionKey(*section, key, value);
        }
        if (!sawReport_) fail("no [report] section");
        check(definition_.main);
        for (const Section& sub : definition_.subreports) check(sub);
        return std::move(definition_);
    }

private:
    [[noreturn]] void fail(const std::string& why) const {
        throw ReportError(ReportErrorCode::ReportFile,
                          "Report definition, line " + std::to_string(lineNumber_) + ": " + why);
    }

    bool reportKey(const std::string& key, const std::string& value) {
        if (key == "name") {
            definition_.name = value;
        } else if (key == "table") {
            definition_.table = value;
        } else if (key == "orientation") {
            if (value != "portrait" && value != "landscape") fail("orientation is portrait or landscape");
            definition_.landscape = value == "landscape";
        } else if (key == "formulas") {
            definition_.formulas = list(value);
        } else {
            return false;
        }
        return true;
    }

    void sectionKey(Section& s, const std::string& key, const std::string& value) {
        if (key == "layout") {
            static const std::pair<const char*, Layout> kLayouts[] = {
                {"list", Layout::List},       {"grouped", Layout::Grouped},   {"bars", Layout::Bars},
                {"stacked", Layout::Stacked}, {"pie", Layout::Pie},           {"vouchers", Layout::Vouchers},
                {"settlement", Layout::Settlement}};
            for (const auto& [name, layout] : kLayouts)
                if (value == name) {
                    s.layout = layout;
                    return;
                }
            fail("unknown layout \"" + value + "\"");
        } else if (key == "order") {
            s.order = list(value);
        } else if (key == "group") {
            s.group = value;
        } else if (key == "subgroup") {
            s.subgroup = value;
        } else if (key == "details") {
            if (value != "yes" && value != "no") fail("details is yes or no");
            s.details = value == "yes";
        } else if (key == "column") {
            s.columns.push_back(column(value));
        } else if (key == "heading") {
            const std::vector<std::string> parts = split(value, '|');
            if (parts.size() != 2 || parts[0].empty()) fail("\"heading = field | label\" expected");
            s.headingLines.push_back({parts[0], parts[1]});
        } else if (key.rfind("calc ", 0) == 0) {
            const std::string name = trim(key.substr(5));
            if (name.empty() || value.empty()) fail("\"calc NAME = expression\" expected");
            s.calculated.push_back({name, value});
        } else if (key == "category") {
            s.category = value;
        } else if (key == "series") {
            s.series = value;
        } else if (key == "value") {
            s.value = value;
        } else {
            fail("unknown key \"" + key + "\"");
        }
    }

    Column column(const std::string& value) {
        const std::vector<std::string> parts = split(value, '|');
        if (parts.size() < 3 || parts.size() > 4 || parts[0].empty())
            fail("\"column = field | heading | width [| total]\" expected");
        Column c{.field = parts[0], .heading = parts[1]};
        try {
            size_t used = 0;
            c.width = std::stod(parts[2], &used);
            if (used != parts[2].size() || c.width <= 0) throw std::invalid_argument("width");
        } catch (const std::exception&) {
            fail("a column width is a positive number of points");
        }
        if (parts.size() == 4) {
            if (parts[3] != "total") fail("a column's fourth part is \"total\"");
            c.total = true;
        }
        return c;
    }

    void check(const Section& s) const {
        const bool chart = s.layout == Layout::Bars || s.layout == Layout::Stacked || s.layout == Layout::Pie;
        if (chart && (s.category.empty() || s.value.empty())) fail("a chart names its category and value");
        if ((s.layout == Layout::Stacked || s.layout == Layout::Bars) && s.series.empty())
            fail("a bar chart names its series");
        if ((s.layout == Layout::Grouped || s.layout == Layout::Settlement) && s.group.empty())
            fail("a grouped layout names its group");
        if (!chart && s.columns.empty()) fail("a section without columns");
    }

    std::string_view text_;
    int lineNumber_ = 0;
    bool sawReport_ = false;
    ReportDefinition definition_;
};

}  // namespace

bool ReportDefinition::hasFormula(std::string_view name) const {
    for (const std::string& f : formulas)
        if (vb::equalIgnoringCase(f, name)) return true;
    return false;
}

ReportDefinition parseReportDefinition(std::string_view text) { return Parser(text).parse(); }

ReportDefinition loadReportDefinition(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ReportError(ReportErrorCode::ReportFile, "Cannot open the report file " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return parseReportDefinition(text.str());
    } catch (const ReportError& e) {
        throw ReportError(ReportErrorCode::ReportFile, file.filename().string() + ": " + e.what());
    }
}

}  // namespace report
