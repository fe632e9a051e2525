#include "platform/forms/color.h"

namespace forms {

Color resolveColor(Color c) {
    if (!isSystemColor(c)) return c & 0xFFFFFFu;
    switch (systemColorIndex(c)) {
        case 5: return vbWhite;                 // window background
        case 8: return vbBlack;                 // window text
        case 15: return rgb(240, 240, 240);     // button face
        case 18: return vbBlack;                // button text
        case 24: return rgb(255, 255, 225);     // tool-tip background
        default: return rgb(240, 240, 240);
    }
}

}  // namespace forms
