#include "common/ui/bring_up.h"

#include <QWidget>

void bringUp(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}
