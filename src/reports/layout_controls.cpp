#include "reports/layout_controls.h"

#include <QPageSize>

namespace LayoutControls {

ReportControl label(const char *name, qreal top, qreal left, qreal width, const char *caption,
                    const ReportStyle &style, qreal height)
{
    return ReportControl::label(QString::fromLatin1(name), QRectF(left, top, width, height),
                                QString::fromLatin1(caption), style);
}

ReportControl field(const char *name, qreal top, qreal left, qreal width, const char *dataField,
                    const char *format, const ReportStyle &style, qreal height)
{
    ReportControl control =
        ReportControl::field(QString::fromLatin1(name), QRectF(left, top, width, height), style);
    control.withDataField(QString::fromLatin1(dataField)).withFormat(QString::fromLatin1(format));
    return control;
}

ReportControl line(const char *name, qreal from, qreal to, qreal top)
{
    return ReportControl::line(QString::fromLatin1(name), QLineF(from, top, to, top));
}

QPageLayout letterWithWidth(qreal printableWidth)
{
    const QPageSize letter(QPageSize::Letter);
    const qreal side = (letter.size(QPageSize::Inch).width() - printableWidth) / 2;
    return QPageLayout(letter, QPageLayout::Portrait, QMarginsF(side, 1, side, 1),
                       QPageLayout::Inch);
}

} // namespace LayoutControls
