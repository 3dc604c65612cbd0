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
