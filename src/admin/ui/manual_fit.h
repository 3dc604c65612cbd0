#pragma once

class QListWidget;
class QTextBrowser;

// Keeps the manual readable in a window of any width.
namespace ManualFit {

// Scales each picture of the page shown down to the width of the page's
// view (never up), keeping its proportions.
void fitPictures(QTextBrowser &browser);

// Shows each page title whole when it fits the list's width and cut short
// with "…" when it does not; the whole title is the item's tool tip. The
// title itself is kept in the item's Qt::UserRole + 1.
void elideTitles(QListWidget &list);

} // namespace ManualFit
