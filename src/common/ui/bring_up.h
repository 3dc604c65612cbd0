#pragma once

class QWidget;

// Shows a window that is closed, or brings an open one to the front and
// gives it the keyboard.
void bringUp(QWidget &window);

// Escape, pressed anywhere in the window, closes it.
void closeOnEscape(QWidget &window);
