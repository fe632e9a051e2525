// The list and grouped layouts: a table of the section's columns with totals.
#include <algorithm>
#include <numeric>

#include "platform/report/section_layouts.h"

namespace report {

namespace {

constexpr double kRowHeight = 11;
constexpr double kTextSize = 7.5;

class Table {
public:
    Table(PageWriter& out, const Section& section, const ReportRows& rows) : out_(out), section_(section), rows_(rows) {
        double total = 0;
        for (const Column& c : section.columns) total += c.width;
        const double scale = std::min(1.0, out.width() / total);
        double x = out.left();
        for (const Column& c : section.columns) {
            xs_.push_back(x);
            widths_.push_back(c.width * scale);
            fields_.push_back(rows.indexOf(c.field));
            x += c.width * scale;
        }
        if (!section.group.empty()) group_ = rows.indexOf(section.group);
        if (!section.subgroup.empty()) subgroup_ = rows.indexOf(section.subgroup);
    }

    void run() {
        out_.setRepeat([this] { headings(); });
        headings();
        std::vector<vb::Currency> grand(fields_.size());
        if (section_.layout == Layout::List) {
            for (const auto& row : rows_.rows) detail(row, grand);
        } else {
            size_t i = 0;
            while (i < rows_.rows.size()) i = group(i, grand);
        }
        out_.need(kRowHeight * 2);
        out_.line(out_.left(), out_.y(), out_.right(), out_.y(), 0.8);
        totals("Grand total", rows_.rows.empty() ? nullptr : &rows_.rows.front(), grand, true, false);
        out_.setRepeat(nullptr);
    }

private:
    bool sameKey(const std::vector<jet::Value>& a, const std::vector<jet::Value>& b, size_t column) const {
        return cellText(a[column]) == cellText(b[column]);
    }
    std::string headingOf(const std::string& field) const {
        for (const Column& c : section_.columns)
            if (c.field == field) return c.heading;
        return field;
    }
    static std::string label(const jet::Value& v) {
        const std::string text = cellText(v);
        return text.empty() ? "(none)" : text;
    }

    // One group and its subgroups; returns the index of the next group's first row.
    size_t group(size_t first, std::vector<vb::Currency>& grand) {
        size_t end = first;
        while (end < rows_.rows.size() && sameKey(rows_.rows[end], rows_.rows[first], group_)) ++end;
        const std::string name = label(rows_.rows[first][group_]);
        std::vector<vb::Currency> sums(fields_.size());
        const bool nested = section_.details || subgroup_ != kNone;
        if (nested) {
            out_.need(kRowHeight * 3);
            out_.mark(name, 0);
            out_.text({out_.left(), out_.y(), out_.width(), kRowHeight}, headingOf(section_.group) + ": " + name, 8.5,
                      true);
            out_.moveDown(kRowHeight + 2);
        } else {
            out_.mark(name, 0);
        }
        if (subgroup_ == kNone) {
            if (section_.details)
                for (size_t r = first; r < end; ++r) detail(rows_.rows[r], sums);
            else
                for (size_t r = first; r < end; ++r) add(rows_.rows[r], sums);
        } else {
            for (size_t s = first; s < end;) {
                size_t subEnd = s;
                while (subEnd < end && sameKey(rows_.rows[subEnd], rows_.rows[s], subgroup_)) ++subEnd;
                const std::string subName = label(rows_.rows[s][subgroup_]);
                std::vector<vb::Currency> subSums(fields_.size());
                if (section_.details) {
                    out_.need(kRowHeight * 3);
                    out_.text({out_.left() + 12, out_.y(), out_.width() - 12, kRowHeight},
                              headingOf(section_.subgroup) + ": " + subName, 8, true);
                    out_.moveDown(kRowHeight + 1);
                    for (size_t r = s; r < subEnd; ++r) detail(rows_.rows[r], subSums);
                    totals("Total " + subName, &rows_.rows[s], subSums, false, true);
                } else {
                    for (size_t r = s; r < subEnd; ++r) add(rows_.rows[r], subSums);
                    totals("", &rows_.rows[s], subSums, false, false);
                }
                for (size_t k = 0; k < sums.size(); ++k) sums[k] += subSums[k];
                s = subEnd;
            }
        }
        totals(nested ? "Total " + name : "", &rows_.rows[first], sums, nested, nested);
        if (nested) out_.moveDown(4);
        for (size_t k = 0; k < sums.size(); ++k) grand[k] += sums[k];
        return end;
    }

    void headings() {
        for (size_t k = 0; k < fields_.size(); ++k)
            out_.text(cell(k), section_.columns[k].heading, kTextSize, true,
                      section_.columns[k].total ? Align::Right : Align::Left);
        out_.moveDown(kRowHeight);
        out_.line(out_.left(), out_.y(), out_.right(), out_.y());
        out_.moveDown(2);
    }

    void add(const std::vector<jet::Value>& row, std::vector<vb::Currency>& sums) const {
        for (size_t k = 0; k < fields_.size(); ++k)
            if (section_.columns[k].total) sums[k] += amountOf(row[fields_[k]]);
    }

    void detail(const std::vector<jet::Value>& row, std::vector<vb::Currency>& sums) {
        out_.need(kRowHeight);
        for (size_t k = 0; k < fields_.size(); ++k) {
            const jet::Value& v = row[fields_[k]];
            const bool amount = section_.columns[k].total || isAmount(v);
            out_.text(cell(k), columnText(v, section_.columns[k].total),
                      kTextSize, false,
                      amount ? Align::Right : Align::Left);
        }
        out_.moveDown(kRowHeight);
        add(row, sums);
    }

    // A totals line: `label` over the columns before the first total (or, with
    // an empty label, the text columns of `sample`, as a summary line shows them).
    void totals(const std::string& text, const std::vector<jet::Value>* sample, const std::vector<vb::Currency>& sums,
                bool bold, bool ruled) {
        out_.need(kRowHeight + 3);
        if (ruled) {
            for (size_t k = 0; k < fields_.size(); ++k)
                if (section_.columns[k].total)
                    out_.line(xs_[k] + 4, out_.y(), xs_[k] + widths_[k], out_.y(), 0.4);
            out_.moveDown(1);
        }
        size_t firstTotal = fields_.size();
        for (size_t k = 0; k < fields_.size(); ++k)
            if (section_.columns[k].total) {
                firstTotal = std::min(firstTotal, k);
                out_.text(cell(k), moneyText(sums[k]), kTextSize, bold,
                          Align::Right);
            }
        if (!text.empty()) {
            const double labelWidth = (firstTotal < xs_.size() ? xs_[firstTotal] : out_.right()) - out_.left();
            out_.text({out_.left() + 1, out_.y(), labelWidth - 2, kRowHeight}, text, kTextSize, bold, Align::Left);
        } else if (sample) {
            for (size_t k = 0; k < fields_.size(); ++k) {
                if (section_.columns[k].total) continue;
                // A group of rows without a value is named, as its heading would name it.
                const bool grouping = fields_[k] == group_ || fields_[k] == subgroup_;
                const jet::Value& v = (*sample)[fields_[k]];
                out_.text(cell(k), grouping ? label(v) : cellText(v),
                          kTextSize, bold, Align::Left);
            }
        }
        out_.moveDown(kRowHeight + 1);
    }

    // Column k's box on the current line, inset so that a right-aligned amount
    // and the text of the next column never run together.
    Rect cell(size_t k) const {
        return {xs_[k] + kCellInset, out_.y(), widths_[k] - 2 * kCellInset, kRowHeight};
    }

    static constexpr double kCellInset = 2;
    static constexpr size_t kNone = static_cast<size_t>(-1);
    PageWriter& out_;
    const Section& section_;
    const ReportRows& rows_;
    std::vector<double> xs_, widths_;
    std::vector<size_t> fields_;
    size_t group_ = kNone;
    size_t subgroup_ = kNone;
};

}  // namespace

void layoutTable(PageWriter& out, const Section& section, const ReportRows& rows) { Table(out, section, rows).run(); }

}  // namespace report
