#pragma once

class QWidget;

// Centres a window on the available area of its screen. A window larger than
// the screen gets a negative top or left. Nothing happens without a window or
// a screen.
void CenterForm(QWidget *window);
