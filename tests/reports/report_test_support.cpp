#include "report_test_support.h"

namespace ReportRead {

std::optional<QString> textOf(const ReportDocument &document, const QString &control)
{
    const QList<PlacedText> found = placementsOf(document, control);
    if (found.isEmpty())
        return std::nullopt;
    return found.first().text;
}

QList<PlacedText> placementsOf(const ReportDocument &document, const QString &control)
{
    QList<PlacedText> found;
    for (const PlacedText &placed : document.placedTexts()) {
        if (placed.control == control)
            found.append(placed);
    }
    return found;
}

QStringList linesOn(const ReportDocument &document, int index)
{
    QStringList names;
    for (const PlacedItem &item : document.page(index)) {
        if (item.kind == PlacedItem::Kind::Line)
            names.append(item.control);
    }
    return names;
}

} // namespace ReportRead
