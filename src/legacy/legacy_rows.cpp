#include "legacy_rows.h"

#include "legacy_layout.h"
#include "store/column_value.h"
#include "store/store_schema.h"

namespace LegacyRows {

namespace {

QVariant converted(const AccessTable &table, int row, const QString &column,
                   QList<ConversionNote> *notes)
{
    const AccessType expected = LegacyLayout::expectedType(table.name, column);
    const int index = table.columnIndex(column);
    const AccessValue value = index >= 0 ? table.rows.at(row).at(index) : AccessValue::null();
    const auto note = [&](const QString &reason, const QString &stored) {
        if (notes)
            notes->append({table.name, row + 1, column, value.display(), reason, stored});
    };

    switch (value.kind) {
    case AccessValue::Kind::Null:
        if (table.name == QLatin1String(StoreSchema::kSalesPersons)) {
            // The roster holds a name in every row.
            note(QStringLiteral("the roster keeps a name in every row"),
                 QStringLiteral("empty text"));
            return QString::fromLatin1(""); // empty, not NULL
        }
        return {};
    case AccessValue::Kind::Unreadable:
        note(value.problem, QStringLiteral("NULL"));
        return {};
    case AccessValue::Kind::YesNo:
        return ColumnValue::yesNo(value.yes);
    case AccessValue::Kind::Currency:
        return ColumnValue::money(Money::fromUnits(value.integer));
    case AccessValue::Kind::DateTime:
        if (value.time != QTime(0, 0))
            note(QStringLiteral("a date column here holds the day only"),
                 value.date.toString(Qt::ISODate));
        return ColumnValue::date(value.date);
    case AccessValue::Kind::Text:
        return ColumnValue::text(value.text);
    case AccessValue::Kind::Integer:
    case AccessValue::Kind::Number:
        break;
    }
    if (expected == AccessType::Single) {
        if (const std::optional<qint64> units = AccessBytes::tenThousandths(value))
            return ColumnValue::unitCount(Money::fromUnits(*units));
        note(QStringLiteral("not a number with at most four decimals"), QStringLiteral("NULL"));
        return {};
    }
    if (value.kind == AccessValue::Kind::Integer)
        return QVariant(value.integer);
    note(QStringLiteral("a fraction where a whole number belongs"), QStringLiteral("NULL"));
    return {};
}

} // namespace

QVariantList storeValues(const AccessTable &table, int row, QList<ConversionNote> *notes)
{
    QVariantList values;
    for (const QString &column : StoreSchema::columns(table.name))
        values << converted(table, row, column, notes);
    return values;
}

QVariantList recallFor(const AccessTable &table, int row)
{
    using namespace StoreSchema;
    const bool isSummary = table.name == QLatin1String(kSalesSummary);
    // RecallDeal column <- column of the untied row
    const QList<std::pair<QString, QString>> taken = {
        {QStringLiteral("Date"), QStringLiteral("Date")},
        {QStringLiteral("SalesPerson"),
         isSummary ? QStringLiteral("Sales_Person") : QStringLiteral("SalesPerson")},
        {QStringLiteral("Customer"),
         isSummary ? QStringLiteral("Customer_Name") : QStringLiteral("CustomerName")},
        {QStringLiteral("StockNo"),
         isSummary ? QStringLiteral("Stock_Number") : QStringLiteral("StockNumber")},
        {QStringLiteral("TCU"), QStringLiteral("TCU")},
        {QStringLiteral("SaleType"), isSummary ? QString() : QStringLiteral("Type")},
    };
    const QStringList own = columns(table.name);
    const QVariantList values = storeValues(table, row, nullptr);
    QVariantList recall;
    for (const QString &column : columns(QString::fromLatin1(kRecallDeal))) {
        QVariant value;
        if (LegacyLayout::expectedType(QString::fromLatin1(kRecallDeal), column) ==
            AccessType::YesNo)
            value = ColumnValue::yesNo(false);
        for (const auto &[recallColumn, from] : taken) {
            if (recallColumn == column && !from.isEmpty())
                value = values.value(int(own.indexOf(from)));
        }
        recall << value;
    }
    return recall;
}

QString describe(const AccessTable &table, int row)
{
    QStringList parts;
    for (int column = 0; column < table.columns.size(); ++column)
        parts << table.columns.at(column).name + QStringLiteral(" = ") +
                     table.rows.at(row).at(column).display();
    return parts.join(QStringLiteral(", "));
}

} // namespace LegacyRows
