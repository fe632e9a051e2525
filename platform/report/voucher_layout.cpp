// The voucher forms: one form per voucher, or one form per settlement group
// (the advance and every row settled against it).
#include "platform/report/section_layouts.h"

namespace report {

namespace {

constexpr double kLine = 13;

struct Fields {
    std::vector<size_t> index;  // per column of the section
};

Fields fieldsOf(const Section& section, const ReportRows& rows) {
    Fields f;
    for (const Column& c : section.columns) f.index.push_back(rows.indexOf(c.field));
    return f;
}

void signatures(PageWriter& out, double x, double w, double y) {
    const char* roles[] = {"Prepared by", "Approved by", "Received by"};
    for (int i = 0; i < 3; ++i) {
        const double sx = x + 10 + i * (w - 20) / 3;
        out.line(sx, y, sx + (w - 20) / 3 - 20, y);
        out.text({sx, y + 2, (w - 20) / 3 - 20, 10}, roles[i], 7);
    }
}

// One voucher: every text column as "heading: value", every amount column on
// its own line when not zero, their sum as the voucher's amount.
void voucherForm(PageWriter& out, const Section& section, const Fields& f, const std::vector<jet::Value>& row) {
    size_t texts = 0, amounts = 0;
    for (const Column& c : section.columns) (c.total ? amounts : texts)++;
    const double height = 40 + kLine * ((texts + 1) / 2 + amounts + 1) + 40;
    out.need(height + 10);
    const double x = out.left(), w = out.width(), top = out.y();
    out.box({x, top, w, height}, 0xFFFFFF, true, false);
    out.text({x, top + 6, w, 14}, "PETTY CASH VOUCHER", 11, true, Align::Center);
    double y = top + 26;
    size_t k = 0;
    for (size_t i = 0; i < section.columns.size(); ++i) {
        if (section.columns[i].total) continue;
        const double cx = x + 10 + (k % 2) * (w / 2);
        out.text({cx, y, w / 2 - 20, kLine}, section.columns[i].heading + ": " + cellText(row[f.index[i]]), 8,
                 false);
        if (k % 2 == 1) y += kLine;
        ++k;
    }
    if (k % 2 == 1) y += kLine;
    y += 4;
    vb::Currency total;
    for (size_t i = 0; i < section.columns.size(); ++i) {
        if (!section.columns[i].total) continue;
        const vb::Currency a = amountOf(row[f.index[i]]);
        total += a;
        out.text({x + 10, y, w / 2, kLine}, section.columns[i].heading, 8);
        out.text({x + w - 130, y, 120, kLine}, moneyText(a), 8, false, Align::Right);
        y += kLine;
    }
    out.line(x + w - 130, y, x + w - 10, y);
    out.text({x + 10, y + 1, w / 2, kLine}, "Amount", 8, true);
    out.text({x + w - 130, y + 1, 120, kLine}, moneyText(total), 8, true, Align::Right);
    signatures(out, x, w, top + height - 16);
    out.moveDown(height + 10);
}

// One settlement group: the advance's number in the heading, its rows as a
// table with the totals of the amount columns.
size_t settlementForm(PageWriter& out, const Section& section, const Fields& f, const ReportRows& rows, size_t first,
                      size_t group) {
    size_t end = first;
    while (end < rows.rows.size() && cellText(rows.rows[end][group]) == cellText(rows.rows[first][group])) ++end;
    const std::string advance = cellText(rows.rows[first][group]);
    const double x = out.left(), w = out.width();
    double totalWidth = 0;
    for (const Column& c : section.columns) totalWidth += c.width;
    const double scale = std::min(1.0, (w - 20) / totalWidth);

    out.need(kLine * 6 + 40);
    out.mark(advance, 0);
    const double top = out.y();
    out.line(x, top, x + w, top, 1);
    out.text({x, top + 6, w, 14}, "PETTY CASH SETTLEMENT VOUCHER", 11, true, Align::Center);
    out.text({x + 10, top + 24, w - 20, kLine}, "Advance voucher no: " + advance, 9, true);
    out.moveDown(42);
    for (const HeadingLine& line : section.headingLines) {
        out.text({x + 10, out.y(), w - 20, kLine},
                 line.label + ": " + cellText(rows.rows[first][rows.indexOf(line.field)]), 9, true);
        out.moveDown(kLine + 2);
    }
    const auto row = [&](const std::vector<std::string>& cells, bool bold) {
        out.need(kLine);
        double cx = x + 10;
        for (size_t i = 0; i < section.columns.size(); ++i) {
            const double cw = section.columns[i].width * scale;
            out.text({cx + 1, out.y(), cw - 2, kLine}, cells[i], 7.5, bold,
                     section.columns[i].total ? Align::Right : Align::Left);
            cx += cw;
        }
        out.moveDown(kLine);
    };
    std::vector<std::string> cells;
    for (const Column& c : section.columns) cells.push_back(c.heading);
    row(cells, true);
    out.line(x + 10, out.y(), x + w - 10, out.y());
    std::vector<vb::Currency> sums(section.columns.size());
    for (size_t r = first; r < end; ++r) {
        for (size_t i = 0; i < section.columns.size(); ++i) {
            cells[i] = columnText(rows.rows[r][f.index[i]], section.columns[i].total);
            if (section.columns[i].total) sums[i] += amountOf(rows.rows[r][f.index[i]]);
        }
        row(cells, false);
    }
    out.line(x + 10, out.y(), x + w - 10, out.y());
    for (size_t i = 0; i < section.columns.size(); ++i)
        cells[i] = section.columns[i].total ? moneyText(sums[i]) : (i == 0 ? "Total" : "");
    row(cells, true);
    out.need(40);
    out.moveDown(24);
    signatures(out, x, w, out.y());
    out.moveDown(14);
    out.line(x, out.y(), x + w, out.y(), 1);
    out.moveDown(10);
    return end;
}

}  // namespace

void layoutVouchers(PageWriter& out, const Section& section, const ReportRows& rows) {
    const Fields f = fieldsOf(section, rows);
    if (section.layout == Layout::Vouchers) {
        for (const auto& row : rows.rows) voucherForm(out, section, f, row);
        return;
    }
    const size_t group = rows.indexOf(section.group);
    for (size_t i = 0; i < rows.rows.size();) i = settlementForm(out, section, f, rows, i, group);
}

}  // namespace report
