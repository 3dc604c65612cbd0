#include "reports/report_text_fit.h"

#include <QFontMetricsF>

#include <algorithm>

namespace {

// Texts are measured at this many dots per inch, without hinting, so that a
// width holds on paper at any resolution.
constexpr qreal kMeasureDpi = 1200;
// Room left for the differences between the measuring and the printing font.
constexpr qreal kSlack = 0.98;

} // namespace

QFont reportFont(const ReportStyle &style, qreal pointSize)
{
    QFont font;
    font.setFamilies({style.fontFamily, QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(style.bold);
    return font;
}

struct ReportTextFit::Face
{
    explicit Face(QFont font) : metrics(font) {}
    QFontMetricsF metrics;
    QHash<QString, qreal> widths;
};

ReportTextFit::ReportTextFit() = default;
ReportTextFit::~ReportTextFit() = default;

ReportTextFit::Face &ReportTextFit::face(const ReportStyle &style, qreal pointSize)
{
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(style.fontFamily)
                            .arg(pointSize, 0, 'f', 3)
                            .arg(style.bold ? 1 : 0);
    std::shared_ptr<Face> &slot = m_faces[key];
    if (!slot) {
        QFont font = reportFont(style, pointSize);
        font.setPixelSize(qMax(1, qRound(pointSize * kMeasureDpi / 72)));
        font.setHintingPreference(QFont::PreferNoHinting);
        slot = std::make_shared<Face>(font);
    }
    return *slot;
}

qreal ReportTextFit::width(const QString &text, const ReportStyle &style, qreal pointSize)
{
    Face &measured = face(style, pointSize);
    const auto known = measured.widths.constFind(text);
    if (known != measured.widths.constEnd())
        return *known;
    const qreal inches = measured.metrics.horizontalAdvance(text) / kMeasureDpi;
    measured.widths.insert(text, inches);
    return inches;
}

bool ReportTextFit::isFigure(const QString &text)
{
    bool digit = false;
    for (const QChar c : text) {
        if (c == u'$')
            return true;
        if (c.isLetter())
            return false;
        digit = digit || c.isDigit();
    }
    return digit;
}

FittedText ReportTextFit::fit(const QString &text, const ReportStyle &style, qreal boxWidth)
{
    const qreal size = style.fontSize;
    const qreal room = std::max<qreal>(0, boxWidth - 2 * kInnerMargin) * kSlack;
    if (text.isEmpty())
        return {text, size};
    qreal needed = 0;
    if (style.wordWrap) {
        for (const QString &word : text.split(u' ', Qt::SkipEmptyParts))
            needed = std::max(needed, width(word, style, size));
    } else {
        needed = width(text, style, size);
    }
    if (needed <= room)
        return {text, size};
    const qreal share = room / needed;
    if (share >= kSmallest || isFigure(text) || style.wordWrap)
        return {text, size * share};
    // Shortened at the smallest size, the mark counted in.
    const qreal smallest = size * kSmallest;
    Face &measured = face(style, smallest);
    const QString shortened =
        measured.metrics.elidedText(text, Qt::ElideRight, room * kMeasureDpi);
    return {shortened, smallest};
}
