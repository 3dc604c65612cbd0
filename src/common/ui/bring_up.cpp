#include "common/ui/bring_up.h"

#include <QShortcut>
#include <QWidget>

void bringUp(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

void closeOnEscape(QWidget &window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setObjectName(QStringLiteral("escCloses"));
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
}
