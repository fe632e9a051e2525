#include "platform/report/page_writer.h"

#include <cstdlib>

#include "platform/vb/date_text.h"

namespace report {

namespace {
constexpr double kHeadingHeight = 64;
constexpr double kFooterHeight = 24;
}  // namespace

PageWriter::PageWriter(Document& document, std::string company, std::string title, std::string printedOn)
    : doc_(document), company_(std::move(company)), title_(std::move(title)), printedOn_(std::move(printedOn)) {
    newPage();
}

void PageWriter::newPage() {
    doc_.pages.emplace_back();
    const double top = kMargin - 12;
    text({left(), top, width(), 18}, company_, 14, true, Align::Center);
    text({left(), top + 19, width(), 14}, doc_.name, 11, true, Align::Center);
    text({left(), top + 34, width(), 12}, title_, 9, false, Align::Center);
    if (!printedOn_.empty()) text({right() - 160, top, 160, 10}, "Printed on " + printedOn_, 7, false, Align::Right);
    line(left(), top + kHeadingHeight - 14, right(), top + kHeadingHeight - 14, 1);
    y_ = top + kHeadingHeight - 6;
    if (repeat_) repeat_();
}

void PageWriter::need(double height) {
    if (y_ + height > doc_.height - kMargin - kFooterHeight) newPage();
}

void PageWriter::text(Rect b, std::string t, double size, bool bold, Align align) {
    doc_.pages.back().items.push_back(TextItem{b, std::move(t), size, bold, align});
}
void PageWriter::line(double x1, double y1, double x2, double y2, double w) {
    doc_.pages.back().items.push_back(LineItem{x1, y1, x2, y2, w});
}
void PageWriter::box(Rect b, uint32_t fill, bool outline, bool filled) {
    doc_.pages.back().items.push_back(BoxItem{b, fill, outline, filled});
}
void PageWriter::slice(Rect b, double start, double span, uint32_t fill) {
    doc_.pages.back().items.push_back(SliceItem{b, start, span, fill});
}
void PageWriter::mark(std::string label, int level) { doc_.groups.push_back({std::move(label), pageIndex(), level}); }

void PageWriter::finish() {
    const size_t count = doc_.pages.size();
    for (size_t i = 0; i < count; ++i)
        doc_.pages[i].items.push_back(TextItem{{left(), doc_.height - kMargin - 10, width(), 10},
                                               "Page " + std::to_string(i + 1) + " of " + std::to_string(count), 7,
                                               false, Align::Center});
}

std::string moneyText(vb::Currency amount) {
    // Four decimals held; shown to two, halves away from zero as a printed report rounds.
    int64_t units = amount.units();
    const bool negative = units < 0;
    const int64_t magnitude = std::llabs(units);
    const int64_t cents = (magnitude + 50) / 100;
    std::string out = std::to_string(cents / 100) + ".";
    const int64_t fraction = cents % 100;
    out += (fraction < 10 ? "0" : "") + std::to_string(fraction);
    return (negative && cents != 0 ? "-" : "") + out;
}

bool isAmount(const jet::Value& value) { return value.isCurrency() || value.isDouble(); }

vb::Currency amountOf(const jet::Value& value) {
    if (value.isNull()) return {};
    if (value.isText() && value.asText().empty()) return {};
    return value.asCurrency();
}

std::string columnText(const jet::Value& value, bool totalled) {
    if (totalled && !value.isNull()) return moneyText(amountOf(value));
    return cellText(value);
}

std::string cellText(const jet::Value& value) {
    if (isAmount(value)) return moneyText(value.asCurrency());
    if (value.isDate()) {
        const vb::DateTime d = value.asDate();
        if (d.hour() == 0 && d.toHms() == "00:00:00") return vb::formatShortDate(d);
    }
    return value.asText();
}

uint32_t chartColour(size_t index) {
    static const uint32_t kColours[] = {0x4E79A7, 0xF28E2B, 0xE15759, 0x76B7B2, 0x59A14F, 0xEDC948,
                                        0xB07AA1, 0xFF9DA7, 0x9C755F, 0xBAB0AC, 0x2F4B7C, 0xA05195};
    return kColours[index % (sizeof kColours / sizeof kColours[0])];
}

}  // namespace report
