#pragma once
// A laid-out report: pages of positioned items in points (1/72 inch) from the
// top left corner. The preview, the PDF writer and the printer all draw this
// one model, so what the user sees is what is printed.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/jet/value.h"

namespace report {

struct Rect {
    double x = 0, y = 0, w = 0, h = 0;
};

enum class Align { Left, Center, Right };

struct TextItem {
    Rect box;
    std::string text;
    double size = 8;
    bool bold = false;
    Align align = Align::Left;
};

struct LineItem {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.5;
};

struct BoxItem {
    Rect box;
    uint32_t fill = 0xFFFFFF;  // 0xRRGGBB
    bool outline = true;
    bool filled = true;
};

struct SliceItem {  // a pie slice inside box; angles counter-clockwise from three o'clock
    Rect box;
    double startDegrees = 0;
    double spanDegrees = 0;
    uint32_t fill = 0;
};

using PageItem = std::variant<TextItem, LineItem, BoxItem, SliceItem>;

struct Page {
    std::vector<PageItem> items;
};

// A group heading and the page it starts on (the preview's group list).
struct GroupMark {
    std::string label;
    int page = 0;
    int level = 0;
};

// The report's rows as a table, for the spreadsheet export.
struct ReportTable {
    std::vector<std::string> headings;
    std::vector<std::vector<jet::Value>> rows;
};

struct Document {
    std::string name;
    double width = 595;   // A4 portrait
    double height = 842;
    std::vector<Page> pages;
    std::vector<GroupMark> groups;
    ReportTable table;
    int64_t recordCount = 0;

    // Every text of every page, a line per item in drawing order (tests, search).
    std::string text() const;
};

}  // namespace report
