#pragma once

#include <QtGlobal>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class ReportDocument;

// Paints a laid-out report onto a paged device — a PDF writer, a printer, the
// print preview — one document page per device page. The device's page
// layout should be the document's, so that positions measured from the
// margins land where the layout put them.
namespace ReportPainter {

// Told after each page painted: the pages done and the pages in all.
// Returning false stops the painting there.
using Progress = std::function<bool(int done, int total)>;

// False when painting could not begin on the device, or was stopped.
bool paint(const ReportDocument &document, QPagedPaintDevice &device,
           const Progress &progress = {});

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
