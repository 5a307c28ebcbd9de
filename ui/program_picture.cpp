#include "ui/program_picture.h"

#include <QPainter>
#include <QPainterPath>

namespace velmark::ui {

QPixmap ProgramPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    // The card.
    painter.setPen(QPen(QColor(0x1f, 0x3a, 0x5f), 2));
    painter.setBrush(QColor(0xf5, 0xf0, 0xe1));
    painter.drawRoundedRect(QRectF(4, 12, 56, 40), 4, 4);

    // The globe: an outline, the equator and one meridian.
    painter.setBrush(QColor(0x4a, 0x90, 0xc2));
    painter.drawEllipse(QPointF(22, 32), 12, 12);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0xf5, 0xf0, 0xe1), 1.5));
    painter.drawLine(QPointF(10, 32), QPointF(34, 32));
    painter.drawEllipse(QPointF(22, 32), 5, 12);

    // Radio waves leaving the globe.
    painter.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int wave = 0; wave < 3; ++wave) {
        const double radius = 8 + 6 * wave;
        painter.drawArc(QRectF(36 - radius, 32 - radius, 2 * radius, 2 * radius), -40 * 16,
                        80 * 16);
    }
    return pixmap;
}

}  // namespace velmark::ui
