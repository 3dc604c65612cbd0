#pragma once

#include <QColor>
#include <QString>
#include <Qt>

// How a label or field prints: Arial 10 pt, left aligned, black on white
// unless a layout says otherwise. Written with designated initialisers in
// layouts: ReportStyle{.bold = true, .alignment = Qt::AlignHCenter}.
struct ReportStyle
{
    qreal fontSize = 10;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool greyBackground = false;
    QColor color = Qt::black;
    QString fontFamily = QStringLiteral("Arial");
    // A text that breaks between words onto the lines of its box (a two-line
    // column heading).
    bool wordWrap = false;

    bool operator==(const ReportStyle &) const = default;
};
