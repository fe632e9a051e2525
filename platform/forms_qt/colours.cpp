#include "platform/forms_qt/colours.h"

#include <QWidget>

namespace forms_qt {

namespace {

// The palette role that stands for a system colour index, where there is one.
bool roleOfSystemColour(int index, QPalette::ColorRole& role) {
    switch (index) {
        case 1: role = QPalette::Dark; return true;               // desktop
        case 2: role = QPalette::Highlight; return true;          // active caption
        case 5: role = QPalette::Base; return true;               // window background
        case 6: role = QPalette::Shadow; return true;             // window frame
        case 8: role = QPalette::Text; return true;               // window text
        case 9: role = QPalette::HighlightedText; return true;    // caption text
        case 13: role = QPalette::Highlight; return true;         // highlight
        case 14: role = QPalette::HighlightedText; return true;   // highlight text
        case 15: role = QPalette::Button; return true;            // button face
        case 16: role = QPalette::Mid; return true;               // button shadow
        case 17: role = QPalette::PlaceholderText; return true;   // grey text
        case 18: role = QPalette::ButtonText; return true;        // button text
        case 20: role = QPalette::Light; return true;             // button highlight
        case 23: role = QPalette::ToolTipText; return true;       // tool-tip text
        case 24: role = QPalette::ToolTipBase; return true;       // tool-tip background
        default: return false;
    }
}

}  // namespace

QColor toQColor(forms::Color color, const QPalette& scheme) {
    if (forms::isSystemColor(color)) {
        QPalette::ColorRole role;
        if (roleOfSystemColour(forms::systemColorIndex(color), role)) return scheme.color(QPalette::Active, role);
        color = forms::resolveColor(color);
    }
    return QColor(forms::redOf(color), forms::greenOf(color), forms::blueOf(color));
}

void applyColours(QWidget& widget, forms::Color back, forms::Color fore, bool fill) {
    const QPalette scheme = QPalette();  // the application's palette, not the widget's altered one
    QPalette palette = widget.palette();
    const QColor background = toQColor(back, scheme);
    const QColor text = toQColor(fore, scheme);
    for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, background);
    // A disabled control shows the scheme's greyed text, so the user sees it takes no input.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) palette.setColor(group, role, text);
    widget.setPalette(palette);
    widget.setAutoFillBackground(fill);
}

void applyEnabledLook(QWidget& widget, bool enabledItself) {
    const QPalette scheme = QPalette();
    QPalette palette = widget.palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role,
                         enabledItself ? palette.color(QPalette::Active, role) : scheme.color(QPalette::Disabled, role));
    widget.setPalette(palette);
}

}  // namespace forms_qt
