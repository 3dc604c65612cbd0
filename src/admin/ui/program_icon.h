#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own icon, painted in code: a car on a blue tile with a gold
// coin. Used as the window icon and in the About window.
namespace ProgramIcon {

QPixmap pixmap(int size);
// At 16, 32, 48 and 64 pixels, drawn when first asked for.
QIcon icon();

} // namespace ProgramIcon
