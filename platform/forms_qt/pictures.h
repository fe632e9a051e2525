#pragma once
// The pictures the windows name (a value item's picture, a button's or an
// image's picture), drawn by the renderer itself: no image files ship.
//
// Names, matched without regard to letter case:
//   "tick"       a green tick           "cross"      a red cross
//   "greenmark"  a green round mark     "redmark"    a red round mark
//   "flag"       a red flag             "expand"     arrows pointing up and down
// Any other name is taken as the path of an image file (its last part matched
// without regard to letter case); a name that is neither gives no picture.
#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace forms_qt {

// The picture at `size` pixels square (drawn pictures) or at its own size (files);
// a null pixmap when the name means nothing.
QPixmap picture(std::string_view name, int size = 16);
QIcon pictureIcon(std::string_view name);
bool isDrawnPicture(std::string_view name);

}  // namespace forms_qt
