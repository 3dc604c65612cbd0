#include "report_test_support.h"

#include "reports/report_text_fit.h"

#include <algorithm>

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

namespace {

struct Extent
{
    const PlacedItem *item;
    qreal left;
    qreal right;
};

// Where a placed text's ink lies across its box.
Extent extentOf(const PlacedItem &item, const ReportStyle &style, ReportTextFit &fit)
{
    const qreal margin = ReportTextFit::kInnerMargin;
    const qreal inner = item.box.width() - 2 * margin;
    if (style.wordWrap)
        return {&item, item.box.left() + margin, item.box.right() - margin};
    const qreal width = fit.width(item.text, style, item.fontSize);
    const Qt::Alignment alignment = style.alignment & Qt::AlignHorizontal_Mask;
    qreal left = item.box.left() + margin;
    if (alignment & Qt::AlignRight)
        left += inner - width;
    else if (alignment & Qt::AlignHCenter)
        left += (inner - width) / 2;
    return {&item, left, left + width};
}

// Two boxes on one printed line: they share more than half the smaller one's
// height.
bool sameLine(const QRectF &a, const QRectF &b)
{
    const qreal shared = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
    return shared > std::min(a.height(), b.height()) / 2;
}

} // namespace

std::optional<QList<QStringList>> csvRows(const QByteArray &file)
{
    if (!file.startsWith("\xEF\xBB\xBF"))
        return std::nullopt;
    const QString text = QString::fromUtf8(file.mid(3));
    QList<QStringList> rows;
    QStringList row;
    QString value;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                value += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                value += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << value;
            value.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            row << value;
            value.clear();
            rows << row;
            row.clear();
            ++i;
        } else {
            value += c;
        }
    }
    if (!value.isEmpty() || !row.isEmpty())
        rows << (row << value);
    return rows;
}

QStringList printingFaults(const ReportDocument &document)
{
    ReportTextFit fit;
    QStringList faults;
    for (int page = 0; page < document.pageCount(); ++page) {
        QList<Extent> extents;
        for (const PlacedItem &item : document.page(page)) {
            if (item.kind != PlacedItem::Kind::Text || item.text.isEmpty())
                continue;
            const Extent extent = extentOf(item, document.style(item), fit);
            const qreal tolerance = 1e-6;
            if (extent.left < item.box.left() - tolerance ||
                extent.right > item.box.right() + tolerance)
                faults << QStringLiteral("page %1: %2 \"%3\" is cut")
                              .arg(page + 1)
                              .arg(item.control, item.text);
            for (const Extent &other : extents) {
                if (sameLine(item.box, other.item->box) && extent.left < other.right &&
                    other.left < extent.right)
                    faults << QStringLiteral("page %1: %2 \"%3\" runs into %4 \"%5\"")
                                  .arg(page + 1)
                                  .arg(item.control, item.text, other.item->control,
                                       other.item->text);
            }
            extents.append(extent);
        }
    }
    return faults;
}

} // namespace ReportRead
