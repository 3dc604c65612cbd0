#pragma once

#include "reports/report_control.h"

#include <QPageLayout>

// Shorthand for writing a layout as its table reads: one call per control,
// top and left from the section's corner, width and height, all in inches.
namespace LayoutControls {

inline constexpr qreal kRowHeight = 0.1875;

ReportControl label(const char *name, qreal top, qreal left, qreal width, const char *caption,
                    const ReportStyle &style = {}, qreal height = kRowHeight);
// A field; `dataField` and `format` may be empty.
ReportControl field(const char *name, qreal top, qreal left, qreal width, const char *dataField,
                    const char *format, const ReportStyle &style = {}, qreal height = kRowHeight);
// A horizontal line from `from` to `to` at `top`.
ReportControl line(const char *name, qreal from, qreal to, qreal top);

// Letter paper, portrait, with side margins that leave `printableWidth`
// inches between them and one-inch margins top and bottom.
QPageLayout letterWithWidth(qreal printableWidth);

} // namespace LayoutControls
