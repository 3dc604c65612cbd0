#include "reports/report_text_fit.h"

#include <QFontMetricsF>

#include <algorithm>
#include <array>

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

namespace {

// A font as measured: its metrics and the advance of each Latin character,
// kept for the program's life (a report uses a handful of fonts).
struct MeasuredFont
{
    explicit MeasuredFont(const QFont &font) : metrics(font) { advances.fill(-1); }

    // A text of Latin letters, digits and signs is measured as its
    // characters' advances together, each measured once (kerning, which
    // these faces use to narrow pairs, is left to the slack); other texts
    // are measured whole.
    qreal widthOf(const QString &text)
    {
        qreal sum = 0;
        for (const QChar c : text) {
            const char16_t code = c.unicode();
            if (code >= advances.size())
                return metrics.horizontalAdvance(text);
            if (advances[code] < 0)
                advances[code] = metrics.horizontalAdvance(c);
            sum += advances[code];
        }
        return sum;
    }

    QFontMetricsF metrics;
    std::array<qreal, 0x100> advances;
};

std::shared_ptr<MeasuredFont> measuredFont(const QString &key, const QFont &font)
{
    static QHash<QString, std::shared_ptr<MeasuredFont>> fonts;
    std::shared_ptr<MeasuredFont> &slot = fonts[key];
    if (!slot)
        slot = std::make_shared<MeasuredFont>(font);
    return slot;
}

} // namespace

// A font of one report run: the widths of the texts measured in it.
struct ReportTextFit::Face
{
    explicit Face(std::shared_ptr<MeasuredFont> measuredFont) : font(std::move(measuredFont)) {}

    std::shared_ptr<MeasuredFont> font;
    QHash<QString, qreal> widths;
};

ReportTextFit::ReportTextFit() = default;
ReportTextFit::~ReportTextFit() = default;

ReportTextFit::Face &ReportTextFit::face(const ReportStyle &style, qreal pointSize)
{
    // Texts come in runs of one font: a column after a column.
    if (m_last && m_lastSize == pointSize && m_lastBold == style.bold &&
        m_lastFamily == style.fontFamily)
        return *m_last;
    const QString key = QStringLiteral("%1|%2|%3")
                            .arg(style.fontFamily)
                            .arg(pointSize, 0, 'f', 3)
                            .arg(style.bold ? 1 : 0);
    std::shared_ptr<Face> &slot = m_faces[key];
    if (!slot) {
        QFont font = reportFont(style, pointSize);
        font.setPixelSize(qMax(1, qRound(pointSize * kMeasureDpi / 72)));
        font.setHintingPreference(QFont::PreferNoHinting);
        slot = std::make_shared<Face>(measuredFont(key, font));
    }
    m_last = slot.get();
    m_lastSize = pointSize;
    m_lastBold = style.bold;
    m_lastFamily = style.fontFamily;
    return *slot;
}

std::pair<QString, qreal> ReportTextFit::measure(const QString &text, const ReportStyle &style,
                                                  qreal pointSize)
{
    Face &measured = face(style, pointSize);
    auto known = measured.widths.constFind(text);
    if (known == measured.widths.constEnd())
        known = measured.widths.insert(text, measured.font->widthOf(text) / kMeasureDpi);
    // The text measured before is handed back, so that the many placings of
    // one text share its characters.
    return {known.key(), *known};
}

qreal ReportTextFit::width(const QString &text, const ReportStyle &style, qreal pointSize)
{
    return measure(text, style, pointSize).second;
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
    if (style.wordWrap) {
        qreal needed = 0;
        for (const QString &word : text.split(u' ', Qt::SkipEmptyParts))
            needed = std::max(needed, width(word, style, size));
        return {text, needed <= room ? size : size * room / needed};
    }
    const auto [shared, needed] = measure(text, style, size);
    if (needed <= room)
        return {shared, size};
    const qreal share = room / needed;
    if (share >= kSmallest || isFigure(text))
        return {shared, size * share};
    // Shortened at the smallest size, the mark counted in.
    const qreal smallest = size * kSmallest;
    Face &measured = face(style, smallest);
    const QString shortened =
        measured.font->metrics.elidedText(text, Qt::ElideRight, room * kMeasureDpi);
    return {shortened, smallest};
}
