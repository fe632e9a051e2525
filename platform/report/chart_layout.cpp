// The chart layouts: bars side by side, stacked bars and a pie, each followed
// by the table of the amounts it draws.
#include <algorithm>
#include <cmath>

#include "platform/report/section_layouts.h"

namespace report {

namespace {

struct ChartData {
    std::vector<std::string> categories;  // in the order of the rows
    std::vector<std::string> series;      // in order of first appearance
    std::vector<std::vector<vb::Currency>> amounts;  // [category][series]

    vb::Currency categoryTotal(size_t c) const {
        vb::Currency sum;
        for (vb::Currency a : amounts[c]) sum += a;
        return sum;
    }
};

std::string labelOf(const jet::Value& v) {
    const std::string text = cellText(v);
    return text.empty() ? "(none)" : text;
}

size_t indexIn(std::vector<std::string>& names, const std::string& name) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) return static_cast<size_t>(it - names.begin());
    names.push_back(name);
    return names.size() - 1;
}

ChartData collect(const Section& section, const ReportRows& rows) {
    ChartData data;
    const size_t category = rows.indexOf(section.category);
    const size_t value = rows.indexOf(section.value);
    const size_t series = section.series.empty() ? category : rows.indexOf(section.series);
    for (const auto& row : rows.rows) {
        const size_t c = indexIn(data.categories, labelOf(row[category]));
        const size_t s = section.series.empty() ? 0 : indexIn(data.series, labelOf(row[series]));
        if (data.amounts.size() <= c) data.amounts.resize(c + 1);
        if (data.amounts[c].size() <= s) data.amounts[c].resize(s + 1);
        data.amounts[c][s] += amountOf(row[value]);
    }
    const size_t seriesCount = std::max<size_t>(1, data.series.size());
    for (auto& a : data.amounts) a.resize(seriesCount);
    return data;
}

void legend(PageWriter& out, double x, double y, const std::vector<std::string>& names) {
    for (size_t i = 0; i < names.size(); ++i) {
        out.box({x, y + i * 12 + 2, 8, 8}, chartColour(i));
        out.text({x + 12, y + i * 12, 120, 11}, names[i], 7);
    }
}

void bars(PageWriter& out, const Section& section, const ChartData& data) {
    constexpr double kChartHeight = 230;
    constexpr size_t kPerPage = 14;
    const bool stacked = section.layout == Layout::Stacked;
    double top = 0;
    for (size_t c = 0; c < data.categories.size(); ++c) {
        const double extent = stacked ? data.categoryTotal(c).toDouble()
                                      : std::max_element(data.amounts[c].begin(), data.amounts[c].end())->toDouble();
        top = std::max(top, extent);
    }
    if (top <= 0) top = 1;
    const double legendWidth = 140;
    for (size_t first = 0; first < data.categories.size(); first += kPerPage) {
        const size_t count = std::min(kPerPage, data.categories.size() - first);
        out.need(kChartHeight + 40);
        const double x0 = out.left() + 40, y0 = out.y() + 8, w = out.width() - 40 - legendWidth, h = kChartHeight;
        out.line(x0, y0, x0, y0 + h, 0.8);
        out.line(x0, y0 + h, x0 + w, y0 + h, 0.8);
        for (int tick = 0; tick <= 4; ++tick) {
            const double ty = y0 + h - h * tick / 4;
            out.line(x0 - 3, ty, x0, ty);
            out.text({out.left(), ty - 5, 36, 10}, moneyText(*vb::Currency::fromDouble(top * tick / 4)), 6, false,
                     Align::Right);
        }
        const double slot = w / count;
        for (size_t k = 0; k < count; ++k) {
            const size_t c = first + k;
            const double sx = x0 + slot * k + slot * 0.15, sw = slot * 0.7;
            double base = y0 + h;
            const size_t n = data.amounts[c].size();
            for (size_t s = 0; s < n; ++s) {
                const double v = std::max(0.0, data.amounts[c][s].toDouble());
                const double bh = h * v / top;
                if (stacked) {
                    if (bh > 0) out.box({sx, base - bh, sw, bh}, chartColour(s));
                    base -= bh;
                } else if (bh > 0) {
                    out.box({sx + sw * s / n, y0 + h - bh, sw / n, bh}, chartColour(s));
                }
            }
            out.text({x0 + slot * k, y0 + h + 3, slot, 9}, data.categories[c], 6, false, Align::Center);
        }
        legend(out, x0 + w + 16, y0, data.series);
        out.moveDown(kChartHeight + 28);
    }
}

void pie(PageWriter& out, const ChartData& data) {
    constexpr double kDiameter = 220;
    vb::Currency total;
    for (size_t c = 0; c < data.categories.size(); ++c) total += data.categoryTotal(c);
    out.need(kDiameter + 20);
    const double y0 = out.y() + 8;
    double start = 90;
    for (size_t c = 0; c < data.categories.size() && total.toDouble() > 0; ++c) {
        const double span = -360.0 * data.categoryTotal(c).toDouble() / total.toDouble();
        out.slice({out.left() + 20, y0, kDiameter, kDiameter}, start, span, chartColour(c));
        start += span;
    }
    legend(out, out.left() + kDiameter + 60, y0, data.categories);
    out.moveDown(std::max(kDiameter, 12.0 * data.categories.size()) + 20);
}

void amountsTable(PageWriter& out, const Section& section, const ChartData& data) {
    constexpr double kRow = 11;
    const double x = out.left(), w = std::min(out.width(), 420.0);
    const bool bySeries = !section.series.empty() && section.series != section.category;
    const auto headings = [&] {
        out.text({x, out.y(), 150, kRow}, section.category, 7.5, true);
        if (bySeries) out.text({x + 160, out.y(), 150, kRow}, section.series, 7.5, true);
        out.text({x + w - 100, out.y(), 100, kRow}, "Amount", 7.5, true, Align::Right);
        out.moveDown(kRow);
        out.line(x, out.y(), x + w, out.y());
        out.moveDown(2);
    };
    out.need(kRow * 4);
    out.setRepeat(headings);
    headings();
    vb::Currency grand;
    for (size_t c = 0; c < data.categories.size(); ++c) {
        if (bySeries) {
            for (size_t s = 0; s < data.series.size(); ++s) {
                if (data.amounts[c][s] == vb::Currency()) continue;
                out.need(kRow);
                out.text({x, out.y(), 150, kRow}, data.categories[c], 7.5);
                out.text({x + 160, out.y(), 150, kRow}, data.series[s], 7.5);
                out.text({x + w - 100, out.y(), 100, kRow}, moneyText(data.amounts[c][s]), 7.5, false, Align::Right);
                out.moveDown(kRow);
            }
        }
        out.need(kRow);
        out.text({x, out.y(), 200, kRow}, bySeries ? "Total " + data.categories[c] : data.categories[c], 7.5, bySeries);
        out.text({x + w - 100, out.y(), 100, kRow}, moneyText(data.categoryTotal(c)), 7.5, bySeries, Align::Right);
        out.moveDown(kRow + (bySeries ? 3 : 0));
        grand += data.categoryTotal(c);
    }
    out.need(kRow + 2);
    out.line(x, out.y(), x + w, out.y(), 0.8);
    out.moveDown(1);
    out.text({x, out.y(), 200, kRow}, "Grand total", 7.5, true);
    out.text({x + w - 100, out.y(), 100, kRow}, moneyText(grand), 7.5, true, Align::Right);
    out.moveDown(kRow);
    out.setRepeat(nullptr);
}

}  // namespace

void layoutChart(PageWriter& out, const Section& section, const ReportRows& rows) {
    const ChartData data = collect(section, rows);
    if (section.layout == Layout::Pie)
        pie(out, data);
    else
        bars(out, section, data);
    amountsTable(out, section, data);
}

}  // namespace report
