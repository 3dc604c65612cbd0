#include "admin/ui/program_icon.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// The same pictures in an icon built the ordinary way, all sizes at once.
QIcon builtAtOnce()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(ProgramIcon::pixmap(size));
    return icon;
}

QImage imageOf(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The icon, though drawn only when asked for, answers every question as the
// one built at once: its sizes, each size's picture, scaled and disabled
// forms, and what it paints.
TEST(ProgramIcon, DrawnWhenAskedItAnswersAsOneBuiltAtOnce)
{
    const QIcon icon = ProgramIcon::icon();
    const QIcon reference = builtAtOnce();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes(),
              QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)}));
    for (int size : {16, 24, 32, 48, 64, 128}) {
        EXPECT_EQ(icon.actualSize(QSize(size, size)), reference.actualSize(QSize(size, size)))
            << size;
        EXPECT_EQ(imageOf(icon.pixmap(size)), imageOf(reference.pixmap(size))) << size;
    }
    EXPECT_EQ(imageOf(icon.pixmap(32, QIcon::Disabled)),
              imageOf(reference.pixmap(32, QIcon::Disabled)));
    EXPECT_NE(imageOf(icon.pixmap(32, QIcon::Disabled)), imageOf(icon.pixmap(32)));

    QImage painted(40, 40, QImage::Format_ARGB32_Premultiplied);
    QImage expected = painted;
    painted.fill(Qt::white);
    expected.fill(Qt::white);
    {
        QPainter onPainted(&painted);
        icon.paint(&onPainted, QRect(4, 4, 32, 32));
        QPainter onExpected(&expected);
        reference.paint(&onExpected, QRect(4, 4, 32, 32));
    }
    EXPECT_EQ(painted, expected);
}

// A copy of the icon shows the same pictures.
TEST(ProgramIcon, ACopyShowsTheSamePictures)
{
    QIcon copy;
    {
        const QIcon icon = ProgramIcon::icon();
        (void)icon.pixmap(16);
        copy = icon;
        copy.detach();
    }
    EXPECT_EQ(imageOf(copy.pixmap(48)), imageOf(ProgramIcon::pixmap(48)));
}

} // namespace
