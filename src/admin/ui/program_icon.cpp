#include "admin/ui/program_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace ProgramIcon {

QPixmap pixmap(int size)
{
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0); // drawn on a 32 x 32 grid

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x4e, 0x8c));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

    QPainterPath car;
    car.moveTo(4, 21);
    car.lineTo(4, 17);
    car.lineTo(9, 16);
    car.lineTo(12, 11);
    car.lineTo(21, 11);
    car.lineTo(25, 16);
    car.lineTo(28, 17);
    car.lineTo(28, 21);
    car.closeSubpath();
    painter.setBrush(Qt::white);
    painter.drawPath(car);

    painter.setBrush(QColor(0x20, 0x20, 0x20));
    painter.drawEllipse(QPointF(10, 21), 3, 3);
    painter.drawEllipse(QPointF(22, 21), 3, 3);

    painter.setBrush(QColor(0xf2, 0xb7, 0x05));
    painter.drawEllipse(QPointF(24, 7), 4.5, 4.5);
    return image;
}

QIcon icon()
{
    QIcon result;
    for (int size : {16, 32, 48, 64})
        result.addPixmap(pixmap(size));
    return result;
}

} // namespace ProgramIcon
