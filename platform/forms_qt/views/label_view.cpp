#include "platform/forms_qt/views/label_view.h"

#include <QLabel>

#include "platform/forms_qt/form_view.h"

namespace forms_qt {

LabelView::LabelView(forms::Label& label, FormView& owner)
    : ControlView(label, owner), label_(label), text_(new QLabel(&owner)) {
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWidget(text_);
    routeMouseClicks(text_);
}

bool LabelView::wraps() const { return text_->height() >= 2 * text_->fontMetrics().lineSpacing(); }

int LabelView::textWidthNeeded() const {
    if (wraps() || label_.caption().empty()) return 0;
    return text_->fontMetrics().horizontalAdvance(text_->text()) + 1;
}

QString LabelView::fittedText() const { return text_->text(); }

QStringList LabelView::cutTexts() const {
    if (!wraps()) return ControlView::cutTexts();
    const QRect needed =
        text_->fontMetrics().boundingRect(QRect(0, 0, text_->width(), 100000), Qt::TextWordWrap, text_->text());
    if (needed.height() <= text_->height() && needed.width() <= text_->width()) return {};
    return {QStringLiteral("\"%1\" needs %2 by %3 pixels, has %4 by %5")
                .arg(text_->text())
                .arg(needed.width())
                .arg(needed.height())
                .arg(text_->width())
                .arg(text_->height())};
}

void LabelView::changed(forms::Property p) {
    if (p == forms::Property::Caption) text_->setText(QString::fromStdString(label_.caption()));
    else ControlView::changed(p);
}

}  // namespace forms_qt
