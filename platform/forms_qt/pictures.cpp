#include "platform/forms_qt/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <string>

#include "platform/jet/file_name.h"
#include "platform/vb/text_functions.h"

namespace forms_qt {

namespace {

const QColor kGreen(0, 150, 0);
const QColor kRed(210, 0, 0);

// Each drawer paints on a 16 by 16 grid; the painter is scaled to the size asked.
void drawTick(QPainter& p) {
    p.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{2.5, 8.5}, {6.0, 12.5}, {13.5, 3.5}}));
}

void drawCross(QPainter& p) {
    p.setPen(QPen(kRed, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void drawMark(QPainter& p, const QColor& colour) {
    QRadialGradient shine(QPointF(6, 6), 8);
    shine.setColorAt(0, colour.lighter(170));
    shine.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(shine);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void drawFlag(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawLine(QPointF(3.5, 1.5), QPointF(3.5, 15));
    QPainterPath cloth;
    cloth.moveTo(4, 2);
    cloth.lineTo(14, 5);
    cloth.lineTo(4, 9);
    cloth.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPath(cloth);
}

void drawExpand(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 120));
    p.drawPolygon(QPolygonF({{8, 1}, {13, 6}, {3, 6}}));
    p.drawPolygon(QPolygonF({{8, 15}, {13, 10}, {3, 10}}));
}

using Drawer = void (*)(QPainter&);

Drawer drawerFor(std::string_view name) {
    const std::string key = vb::lcase(name);
    if (key == "tick") return drawTick;
    if (key == "cross") return drawCross;
    if (key == "greenmark") return [](QPainter& p) { drawMark(p, kGreen); };
    if (key == "redmark") return [](QPainter& p) { drawMark(p, kRed); };
    if (key == "flag") return drawFlag;
    if (key == "expand") return drawExpand;
    return nullptr;
}

}  // namespace

bool isDrawnPicture(std::string_view name) { return drawerFor(name) != nullptr; }

QPixmap picture(std::string_view name, int size) {
    if (name.empty()) return {};
    if (Drawer draw = drawerFor(name)) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        return pixmap;
    }
    if (const auto file = jet::findIgnoringCase(std::string(name))) return QPixmap(QString::fromStdString(file->string()));
    return {};
}

QIcon pictureIcon(std::string_view name) {
    const QPixmap pixmap = picture(name);
    return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

}  // namespace forms_qt
