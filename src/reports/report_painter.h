#pragma once

#include <QtGlobal>

class QPagedPaintDevice;
class QPainter;
class ReportDocument;

// Paints a laid-out report onto a paged device — a PDF writer, a printer, the
// print preview — one document page per device page. The device's page
// layout should be the document's, so that positions measured from the
// margins land where the layout put them.
namespace ReportPainter {

// False when painting could not begin on the device.
bool paint(const ReportDocument &document, QPagedPaintDevice &device);

// One page onto a painter already begun on `device`.
void paintPage(const ReportDocument &document, int index, QPainter &painter,
               const QPagedPaintDevice &device);
// One page onto any painter, at `dpiX` by `dpiY` device units per inch, from
// the painter's origin (the corner of the page's printable area). The
// resolution must be the device's own, for texts are sized in points on it;
// to zoom, scale the painter.
void paintPage(const ReportDocument &document, int index, QPainter &painter, qreal dpiX,
               qreal dpiY);

} // namespace ReportPainter
