#include "reports/report_document.h"

QList<PlacedText> ReportDocument::placedTexts() const
{
    QList<PlacedText> texts;
    for (int index = 0; index < m_pages.size(); ++index) {
        for (const PlacedItem &item : m_pages.at(index)) {
            if (item.kind == PlacedItem::Kind::Text)
                texts.append({index + 1, item.box.x(), item.box.y(), item.text, item.control});
        }
    }
    return texts;
}

void ReportDocument::place(PlacedItem item, const ReportStyle &style)
{
    if (item.kind == PlacedItem::Kind::Text) {
        // Most texts share the style of the text before them.
        if (!(m_styles.at(m_lastStyle) == style)) {
            m_lastStyle = int(m_styles.indexOf(style));
            if (m_lastStyle < 0) {
                m_styles.append(style);
                m_lastStyle = int(m_styles.size()) - 1;
            }
        }
        item.styleIndex = quint16(m_lastStyle);
    }
    m_pages.last().append(std::move(item));
}
