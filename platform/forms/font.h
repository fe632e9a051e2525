#pragma once
// The font of a control or a form: FontName, FontSize (points), FontBold,
// FontItalic and FontUnderline. Every one starts as the font the windows
// were laid out with, 8 point "MS Sans Serif"; the front end shows a name it
// lacks in the nearest face it has. Kinds of control that show no text keep
// a font all the same, so code may set it on any control.
#include <string>

namespace forms {

struct Font {
    std::string name = "MS Sans Serif";
    double size = 8;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

// The font properties, shared by controls and forms: a change tells the
// object's observers (Property::Font) through fontChanged().
class FontProperties {
public:
    const Font& font() const { return font_; }
    // Error 380 for a size that is not above 0 and at most 2160 points.
    void setFont(Font font);
    void setFontName(std::string name);
    void setFontSize(double points);
    void setFontBold(bool on);
    void setFontItalic(bool on);
    void setFontUnderline(bool on);

protected:
    FontProperties() = default;
    ~FontProperties() = default;
    virtual void fontChanged() = 0;

private:
    Font font_;
};

}  // namespace forms
