#include "petty/help/quick_help_layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <sstream>
#include <string>

#include "platform/report/page_writer.h"

namespace petty {

namespace {

constexpr double kBodySize = 10;
constexpr double kHeadingSize = 13;
constexpr double kIndent = 16;

// The words of the text in lines no wider than `width` points at the report font.
std::vector<std::string> wrapped(const std::string& text, double size, bool bold, double width) {
    // The page painter draws a size in points as that many units of the page's
    // scale (an em of `size` points): measured here at ten times that in pixels.
    constexpr double kMeasureScale = 10;
    QFont font("Liberation Sans");
    font.setPixelSize(static_cast<int>(size * kMeasureScale + 0.5));
    font.setBold(bold);
    const QFontMetricsF metrics(font);
    width *= kMeasureScale * 0.97;  // hinting at the printed size may widen a line a little
    std::vector<std::string> lines;
    QString line;
    for (const QString& word : QString::fromStdString(text).split(' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + ' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines.push_back(line.toStdString());
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines.push_back(line.toStdString());
    return lines;
}

class GuideWriter {
public:
    explicit GuideWriter(report::Document& document, const std::string& title)
        : writer_(document, title, "A short guide for the clerk", "") {}

    void heading(const std::string& text) {
        writer_.need(3 * lineHeight(kHeadingSize));
        writer_.moveDown(6);
        block(text, kHeadingSize, true, 0, "");
        writer_.moveDown(2);
    }
    // A paragraph, or a list item when `marker` is given.
    void paragraph(const std::string& text, const std::string& marker) {
        block(text, kBodySize, false, marker.empty() ? 0 : kIndent, marker);
        writer_.moveDown(marker.empty() ? 6 : 2);
    }
    void finish() { writer_.finish(); }

private:
    static double lineHeight(double size) { return size * 1.35; }

    void block(const std::string& text, double size, bool bold, double indent, const std::string& marker) {
        const double left = writer_.left() + indent;
        const double width = writer_.width() - indent;
        bool first = true;
        for (const std::string& line : wrapped(text, size, bold, width)) {
            writer_.need(lineHeight(size));
            if (first && !marker.empty())
                writer_.text({writer_.left(), writer_.y(), indent, lineHeight(size)}, marker, size);
            writer_.text({left, writer_.y(), width, lineHeight(size)}, line, size, bold);
            writer_.moveDown(lineHeight(size));
            first = false;
        }
    }

    report::PageWriter writer_;
};

bool startsWith(const std::string& s, std::string_view prefix) { return s.rfind(prefix, 0) == 0; }

// "1. " and the like: the number and the rest of the line.
bool numbered(const std::string& line, std::string& marker, std::string& rest) {
    const size_t dot = line.find(". ");
    if (dot == std::string::npos || dot == 0 || dot > 3) return false;
    for (size_t i = 0; i < dot; ++i)
        if (line[i] < '0' || line[i] > '9') return false;
    marker = line.substr(0, dot + 1);
    rest = line.substr(dot + 2);
    return true;
}

}  // namespace

report::Document quickHelpDocument(std::string_view guide) {
    std::istringstream lines{std::string(guide)};
    std::string line;
    std::string title = "Quick Help";
    std::vector<std::string> body;
    while (std::getline(lines, line)) {
        if (startsWith(line, "# ")) title = line.substr(2);
        else body.push_back(line);
    }
    report::Document document;
    document.name = "Quick Help";
    GuideWriter writer(document, title);
    for (const std::string& l : body) {
        std::string marker;
        std::string rest;
        if (l.empty()) continue;
        if (startsWith(l, "## ")) writer.heading(l.substr(3));
        else if (startsWith(l, "- ")) writer.paragraph(l.substr(2), "\u2022");
        else if (numbered(l, marker, rest)) writer.paragraph(rest, marker);
        else writer.paragraph(l, "");
    }
    writer.finish();
    return document;
}

}  // namespace petty
