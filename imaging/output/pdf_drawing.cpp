// cPDF's drawing members: colours, line state and paths, each call turned
// into content operators of the open page (or of the open template).
#include <cmath>

#include "imaging/output/pdf_document.h"
#include "imaging/output/pdf_syntax.h"

namespace scanvelt {
namespace {

std::string Point(float x, float y) { return FormatNumber(x) + " " + FormatNumber(y); }

}  // namespace

bool cPDF::BeginDrawing() {
    if (templateOpen_) return true;
    if (!pageOpen_) BeginPage();
    return pageOpen_;
}

void cPDF::AddContent(std::string_view text) {
    std::string* target = templateOpen_ ? &templateContent_ : pageOpen_ ? &content_ : nullptr;
    if (target == nullptr) return;
    target->append(text);
    target->append("\r\n");
}

void cPDF::AddPaintOperator(int32_t options) {
    switch (options & 7) {
    case 7: AddContent("b"); break;
    case 5: AddContent("B"); break;
    case 4:
    case 6: AddContent("f"); break;
    case 3:
        AddContent("h");
        AddContent("S");
        break;
    case 2: AddContent("h"); break;
    case 1: AddContent("S"); break;
    default: break;
    }
}

std::string cPDF::ColorOperands(int32_t color) const {
    if (color >= 1) {
        const int32_t red = color % 256, green = (color / 256) % 256, blue = (color / 65536) % 256;
        return FormatNumber(red / 255.0) + " " + FormatNumber(green / 255.0) + " " + FormatNumber(blue / 255.0);
    }
    return FormatNumber(-color / 255.0);
}

void cPDF::SetColorStroke(int32_t color) {
    BeginDrawing();
    // Below -255 a grey level has no meaning: nothing is drawn with it.
    if (color < -255) return;
    AddContent(ColorOperands(color) + (color >= 1 ? " RG" : " G"));
}

void cPDF::SetColorFill(int32_t color) {
    BeginDrawing();
    if (color < -255) return;
    AddContent(ColorOperands(color) + (color >= 1 ? " rg" : " g"));
}

void cPDF::SetDash(float on, float off) {
    BeginDrawing();
    AddContent(on != 0 || off != 0 ? "[" + FormatNumber(on) + " " + FormatNumber(off) + "] 0 d" : "[ ] 0 d");
}

void cPDF::SetLineWidth(float w) {
    BeginDrawing();
    AddContent(FormatNumber(w) + " w");
}

void cPDF::SetLineCap(int16_t cap) {
    BeginDrawing();
    if (cap >= 0 && cap <= 2) AddContent(std::to_string(cap) + " J");
}

void cPDF::SetLineJoin(int16_t join) {
    BeginDrawing();
    if (join >= 0 && join <= 2) AddContent(std::to_string(join) + " j");
}

void cPDF::MoveTo(float x, float y) {
    BeginDrawing();
    AddContent(Point(x, y) + " m");
}

void cPDF::LineTo(float x, float y, int32_t options) {
    BeginDrawing();
    AddContent(Point(x, y) + " l");
    AddPaintOperator(options);
}

void cPDF::Curve(float x1, float y1, float x2, float y2, float x3, float y3, int32_t options) {
    BeginDrawing();
    AddContent(Point(x1, y1) + " " + Point(x2, y2) + " " + Point(x3, y3) + " c");
    AddPaintOperator(options);
}

void cPDF::Rectangle(float x, float y, float width, float height, int32_t options, float& radius) {
    BeginDrawing();
    AddContent("n");
    if (radius <= 0) {
        AddContent(Point(x, y) + " " + Point(width, height) + " re");
    } else {
        if (width / 2 < radius) radius = width / 2;
        if (height / 2 < radius) radius = height / 2;
        const float r = radius, w = width, h = height;
        const float k = r * 0.55f;
        MoveTo(x + r, y);
        LineTo(x + w - r, y, 0);
        Curve(x + w - r + k, y, x + w, y + r - k, x + w, y + r, 0);
        LineTo(x + w, y + h - r, 0);
        Curve(x + w, y + h - r + k, x + w - r + k, y + h, x + w - r, y + h, 0);
        LineTo(x + r, y + h, 0);
        Curve(x + r - k, y + h, x, y + h - r + k, x, y + h - r, 0);
        LineTo(x, y + r, 0);
        Curve(x, y + r - k, x + r - k, y, x + r, y, 0);
    }
    AddPaintOperator(options);
}

void cPDF::DrawCircle(float x, float y, float radius, int32_t options) {
    const float r = radius, k = radius * 0.55f;
    MoveTo(x, y - r);
    Curve(x + k, y - r, x + r, y - k, x + r, y, 0);
    Curve(x + r, y + k, x + k, y + r, x, y + r, 0);
    Curve(x - k, y + r, x - r, y + k, x - r, y, 0);
    Curve(x - r, y - k, x - k, y - r, x, y - r, 0);
    AddPaintOperator(options);
}

void cPDF::Arc(float x, float y, float radius, float startAngle, float endAngle, float ratio, bool pie,
               float rotation, int16_t step, int32_t options) {
    BeginDrawing();
    AddContent("n");
    MoveTo(x, y);
    if (options & kPaintFill) pie = true;
    const auto f = static_cast<float>(3.141592 / 180);
    const float s = std::sin(-f * rotation), c = std::cos(-f * rotation);
    const auto point = [&](float t) {
        const float a = f * t;
        const float px = radius * std::cos(a), py = radius * ratio * std::sin(a);
        const float X = c * px + s * py, Y = -px * s + c * py;
        if (t == startAngle && !pie) MoveTo(x + X, y + Y);
        LineTo(x + X, y + Y, 0);
    };
    if (step == 0) {
        // A step of 0 would never reach the end: the arc is its first point.
        if (startAngle <= endAngle) point(startAngle);
    } else if (step > 0) {
        for (float t = startAngle; t <= endAngle; t += step) point(t);
    } else {
        for (float t = startAngle; t >= endAngle; t += step) point(t);
    }
    if (pie) LineTo(x, y, 0);
    AddPaintOperator(options);
}

}  // namespace scanvelt
