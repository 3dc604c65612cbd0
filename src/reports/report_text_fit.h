#pragma once

#include "reports/report_style.h"

#include <QFont>
#include <QHash>
#include <QString>

#include <memory>
#include <utility>

class QFontMetricsF;

// The font a report text prints in: the style's face (or one of the same
// widths where it is missing), size and weight.
QFont reportFont(const ReportStyle &style, qreal pointSize);

// A text as it prints in its box: whole at its own size when it fits; set
// smaller when it does not, down to a limit; beyond that a figure (an amount,
// a count, a date) is set as small as it needs and never shortened, while
// words are shortened with a visible "…". A word-wrapped text fits its
// longest word.
struct FittedText
{
    QString text;
    qreal fontSize = 0;
};

// Measures and fits texts, keeping each width measured per distinct text and
// font, so that the thousands of repeated dates, names and amounts of a long
// report are measured once. Widths are in inches, independent of the device.
class ReportTextFit
{
public:
    // Space kept between a text and the sides of its box, in inches, so that
    // a right-aligned caption does not touch the field beside it.
    static constexpr qreal kInnerMargin = 0.03;
    // The smallest a text of words is set to make it fit, as a share of its
    // size, before it is shortened.
    static constexpr qreal kSmallest = 0.7;

    ReportTextFit();
    ~ReportTextFit();
    ReportTextFit(const ReportTextFit &) = delete;
    ReportTextFit &operator=(const ReportTextFit &) = delete;

    // The width of `text` in the style's font at `pointSize`.
    qreal width(const QString &text, const ReportStyle &style, qreal pointSize);
    FittedText fit(const QString &text, const ReportStyle &style, qreal boxWidth);

    // True for a text that must print whole: it holds a digit and no letter
    // (amounts, counts, dates, percentages), or a dollar sign.
    static bool isFigure(const QString &text);

private:
    struct Face;
    Face &face(const ReportStyle &style, qreal pointSize);
    // The text as first measured, and its width.
    std::pair<QString, qreal> measure(const QString &text, const ReportStyle &style,
                                      qreal pointSize);

    QHash<QString, std::shared_ptr<Face>> m_faces;
    Face *m_last = nullptr;
    qreal m_lastSize = 0;
    bool m_lastBold = false;
    QString m_lastFamily;
};
