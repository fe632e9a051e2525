#include "platform/forms_qt/fonts.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/forms_qt/twips.h"
#include "platform/vb/text_functions.h"

namespace forms_qt {

namespace {

constexpr int kTwipsPerPoint = 20;

struct FaceFamily {
    std::string_view windowsName;  // in lower case
    const char* face;
    const char* fallback;
    double scale = 1;  // the stand-in's size for the same average letter width
};

// Liberation Sans, Serif and Mono have the letter widths of Arial, Times New
// Roman and Courier New. The old dialog face MS Sans Serif is narrower: its
// average letter (6 pixels at 8 points, 7 at 10) is Liberation Sans's at nine
// tenths of the size, so it is drawn that much smaller and its texts take the
// room they were laid out in.
constexpr double kDialogFaceScale = 0.9;

constexpr FaceFamily kFaces[] = {
    {"ms sans serif", "Liberation Sans", "DejaVu Sans", kDialogFaceScale},
    {"microsoft sans serif", "Liberation Sans", "DejaVu Sans", kDialogFaceScale},
    {"ms shell dlg", "Liberation Sans", "DejaVu Sans", kDialogFaceScale},
    {"ms shell dlg 2", "Liberation Sans", "DejaVu Sans", kDialogFaceScale},
    {"system", "Liberation Sans", "DejaVu Sans", kDialogFaceScale},
    {"arial", "Liberation Sans", "DejaVu Sans"},
    {"tahoma", "Liberation Sans", "DejaVu Sans"},
    {"verdana", "DejaVu Sans", "Liberation Sans"},
    {"arial narrow", "Liberation Sans Narrow", "DejaVu Sans Condensed"},
    {"ms serif", "Liberation Serif", "DejaVu Serif"},
    {"times new roman", "Liberation Serif", "DejaVu Serif"},
    {"courier new", "Liberation Mono", "DejaVu Sans Mono"},
    {"courier", "Liberation Mono", "DejaVu Sans Mono"},
    {"fixedsys", "Liberation Mono", "DejaVu Sans Mono"},
    {"lucida console", "Liberation Mono", "DejaVu Sans Mono"},
};

const FaceFamily* knownFace(const std::string& name) {
    const std::string key = vb::lcase(name);
    for (const FaceFamily& f : kFaces)
        if (f.windowsName == key) return &f;
    return nullptr;
}

// The faces to look for, best first: a known Windows name by its stand-in;
// any other name as it is, with the sans faces behind it.
QStringList familiesFor(const std::string& name) {
    if (const FaceFamily* f = knownFace(name)) return {QString::fromLatin1(f->face), QString::fromLatin1(f->fallback)};
    return {QString::fromStdString(name), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
}

}  // namespace

QFont toQFont(const forms::Font& font) {
    QFont q;
    q.setFamilies(familiesFor(font.name));
    const FaceFamily* known = knownFace(font.name);
    const double scale = known ? known->scale : 1;
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * scale * kTwipsPerPoint / kTwipsPerPixel))));
    q.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    q.setItalic(font.italic);
    q.setUnderline(font.underline);
    q.setStrikeOut(false);
    return q;
}

QFont windowFont() { return toQFont(forms::Font{}); }

}  // namespace forms_qt
