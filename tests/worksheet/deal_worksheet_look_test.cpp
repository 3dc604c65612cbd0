// What the worksheet shows, looked at in its painted pixels.
#include "deal_worksheet_fixture.h"

#include "worksheet/worksheet_state.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace {

// Counts the pixels of one colour in a widget as painted.
int pixelsOf(QWidget *widget, QColor colour)
{
    const QImage image = widget->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb();
    return count;
}

// The paid warning is written in dark red; the other captions are not.
TEST_F(DealWorksheetTest, ThePaidWarningIsWrittenInDarkRed)
{
    start();
    showActive();
    form->applyState(WorksheetState::RecalledAndPaid);
    QTest::qWait(0);
    const QColor darkRed(0xb0, 0x00, 0x00);
    EXPECT_GT(pixelsOf(control(QStringLiteral("lblWarn")), darkRed), 20);
    EXPECT_EQ(pixelsOf(control(QStringLiteral("Label3")), darkRed), 0);
}

} // namespace
