#pragma once
// Fills pages from top to bottom: the page heading on every page, a new page
// when the next block does not fit, "Page n of m" at the foot of each.
#include <functional>
#include <map>
#include <string>

#include "platform/report/page_model.h"
#include "platform/vb/currency.h"

namespace report {

inline constexpr double kMargin = 36;

class PageWriter {
public:
    // `heading` texts: the company, the report's name, the title.
    PageWriter(Document& document, std::string company, std::string title, std::string printedOn);

    double left() const { return kMargin; }
    double right() const { return doc_.width - kMargin; }
    double width() const { return right() - left(); }
    double y() const { return y_; }
    void moveDown(double by) { y_ += by; }

    // Starts a new page unless `height` points still fit on this one; then
    // runs `repeat` (column headings) on a new page.
    void need(double height);
    void newPage();
    // What every new page draws under its heading (column headings of a table).
    void setRepeat(std::function<void()> repeat) { repeat_ = std::move(repeat); }

    void text(Rect box, std::string text, double size = 8, bool bold = false, Align align = Align::Left);
    void line(double x1, double y1, double x2, double y2, double width = 0.5);
    void box(Rect box, uint32_t fill, bool outline = true, bool filled = true);
    void slice(Rect box, double start, double span, uint32_t fill);
    void mark(std::string label, int level);
    int pageIndex() const { return static_cast<int>(doc_.pages.size()) - 1; }

    // The page numbers at the foot of every page.
    void finish();

private:
    Document& doc_;
    std::string company_, title_, printedOn_;
    std::function<void()> repeat_;
    double y_ = 0;
};

// Amounts as reports print them: two decimals, a leading minus.
std::string moneyText(vb::Currency amount);
// A field's value as a report line shows it (dates in the short date form).
std::string cellText(const jet::Value& value);
bool isAmount(const jet::Value& value);
// An amount as sums count it: Null and the empty text are zero.
vb::Currency amountOf(const jet::Value& value);
// A cell of a column: totalled columns always show their value as an amount.
std::string columnText(const jet::Value& value, bool totalled);

// A palette of fill colours for chart series and slices.
uint32_t chartColour(size_t index);

}  // namespace report
