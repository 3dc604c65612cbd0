#include "admin/ui/program_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSizes[] = {16, 32, 48, 64};

// The icon at every size, drawn the first time any of it is asked for: a
// window shown on a desktop that never shows its icon draws none of it.
class DrawnWhenAskedEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().availableSizes(mode, state);
    }
    QIconEngine *clone() const override { return new DrawnWhenAskedEngine(*this); }
    QString key() const override { return QStringLiteral("TarvexProgramIcon"); }

private:
    const QIcon &drawn()
    {
        if (m_drawn.isNull()) {
            for (int size : kSizes)
                m_drawn.addPixmap(ProgramIcon::pixmap(size));
        }
        return m_drawn;
    }

    QIcon m_drawn;
};

} // namespace

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
    return QIcon(new DrawnWhenAskedEngine);
}

} // namespace ProgramIcon
