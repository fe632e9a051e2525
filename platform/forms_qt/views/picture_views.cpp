#include "platform/forms_qt/views/picture_views.h"

#include <QLabel>

#include "platform/forms_qt/form_view.h"

#include "platform/forms_qt/pictures.h"

namespace forms_qt {

PictureView::PictureView(forms::PictureHolder& holder, FormView& owner)
    : ControlView(holder, owner), holder_(holder), canvas_(new QLabel(&owner)) {
    canvas_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(canvas_);
    routeMouseClicks(canvas_);
}

QWidget* PictureView::childArea() const { return holder_.isContainer() ? canvas_ : nullptr; }

// An image is transparent around its picture; a picture box paints its back colour.
bool PictureView::fillsBackground() const { return holder_.kind() == forms::ControlKind::PictureBox; }

void PictureView::changed(forms::Property p) {
    ControlView::changed(p);
    if (p == forms::Property::Picture || p == forms::Property::Geometry) showPicture();
}

void PictureView::showPicture() {
    // The stretch setting has no notice of its own; it is read with the picture and the size.
    const QSize box = canvas_->size();
    QPixmap pixmap = picture(holder_.picture());
    if (holder_.stretch() && !pixmap.isNull() && !box.isEmpty()) {
        pixmap = isDrawnPicture(holder_.picture()) ? picture(holder_.picture(), std::min(box.width(), box.height()))
                                                   : pixmap.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    canvas_->setPixmap(pixmap);
}

}  // namespace forms_qt
