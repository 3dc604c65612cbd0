#include "deal_rows.h"

#include "column_value.h"
#include "recall_columns.h"

#include "common/money.h"

#include <array>

namespace {

// A figure that must be a number: its value, or std::nullopt with `error` set.
std::optional<Money> requiredAmount(const QString &text, const char *label, QString *error)
{
    const std::optional<Money> amount = MoneyText::parse(text);
    if (!amount && error) {
        *error = text.isEmpty() ? QStringLiteral("The %1 is empty.").arg(QString::fromLatin1(label))
                                : QStringLiteral("The %1 \"%2\" is not an amount.")
                                      .arg(QString::fromLatin1(label), text);
    }
    return amount;
}

// A figure as shown, converted to its money column (empty is NULL).
std::optional<QVariant> shownAmount(const QString &text, const char *label, QString *error)
{
    const std::optional<QVariant> value = ColumnValue::money(text);
    if (!value && error)
        *error =
            QStringLiteral("The %1 \"%2\" is not an amount.").arg(QString::fromLatin1(label), text);
    return value;
}

struct Figure
{
    const QString &text;
    const char *label;
};

// Payable gross, commission, spiff, warranty, total commission and unit count
// in SalesSummary order: as shown, or halved for a split deal.
std::optional<QVariantList> summaryFigures(const Deal &deal, QString *error)
{
    const std::array<Figure, 4> beforeCount = {{
        {deal.payableGross, "payable gross"},
        {deal.commission, "commission"},
        {deal.spiff, "spiff"},
        {deal.warranty, "warranty"},
    }};
    const Figure total{deal.totalCommission, "total commission"};
    QVariantList values;
    values.reserve(qsizetype(beforeCount.size()) + 2);
    const auto add = [&](const Figure &figure) {
        if (deal.split) {
            const std::optional<Money> amount = requiredAmount(figure.text, figure.label, error);
            if (!amount)
                return false;
            values << ColumnValue::money(amount->dividedBy(2));
            return true;
        }
        const std::optional<QVariant> value = shownAmount(figure.text, figure.label, error);
        if (!value)
            return false;
        values << *value;
        return true;
    };
    for (const Figure &figure : beforeCount) {
        if (!add(figure))
            return std::nullopt;
    }
    values << ColumnValue::unitCount(deal.split ? Money::fromUnits(Money::kScale / 2)
                                                : Money::dollars(1));
    if (!add(total))
        return std::nullopt;
    return values;
}

// The values every SalesSummary and SalesLog row of a deal shares, worked out
// once for all of them.
struct SharedValues
{
    QVariant date;
    QVariant unit; // the year, one blank, the unit in capitals
    QVariant stockNumber;
    QVariant customer;

    explicit SharedValues(const Deal &deal)
        : date(ColumnValue::date(deal.date)),
          unit(ColumnValue::text(deal.year + u' ' + deal.unit.toUpper())),
          stockNumber(ColumnValue::text(deal.stockNumber.toUpper())),
          customer(ColumnValue::text(deal.customer.toUpper()))
    {
    }
};

QVariantList summaryRow(const SharedValues &shared, const QString &salesPerson,
                        const QString &unitClass, const QVariantList &figures)
{
    QVariantList row;
    row << shared.date << shared.unit << shared.stockNumber << shared.customer
        << ColumnValue::text(salesPerson.toUpper()) << ColumnValue::text(unitClass);
    row << figures;
    row << ColumnValue::yesNo(false); // Paid
    return row;
}

std::optional<QVariantList> logRow(const Deal &deal, const SharedValues &shared, QString *error)
{
    const std::optional<Money> gross = requiredAmount(deal.payableGross, "payable gross", error);
    if (!gross)
        return std::nullopt;
    const std::optional<Money> pack = requiredAmount(deal.pack, "pack", error);
    if (!pack)
        return std::nullopt;
    const std::optional<Money> logGross = gross->checkedAdd(*pack);
    if (!logGross) {
        if (error)
            *error = QStringLiteral("The payable gross plus the pack is too large.");
        return std::nullopt;
    }
    QString salesPerson = deal.salesPerson.toUpper();
    if (deal.split)
        salesPerson += QStringLiteral(" / ") + deal.splitPartner.toUpper();
    return QVariantList{
        shared.date,
        shared.stockNumber,
        shared.unit,
        shared.customer,
        ColumnValue::text(salesPerson),
        ColumnValue::text(deal.saleType),
        ColumnValue::money(*logGross),
        ColumnValue::text(deal.unitClass),
    };
}

} // namespace

std::optional<DealRows> DealRows::fromDeal(const Deal &deal, QString *error)
{
    const std::optional<QVariantList> figures = summaryFigures(deal, error);
    if (!figures)
        return std::nullopt;
    const SharedValues shared(deal);
    const std::optional<QVariantList> log = logRow(deal, shared, error);
    if (!log)
        return std::nullopt;
    const std::optional<QVariantList> recall = RecallColumns::valuesOf(deal, error);
    if (!recall)
        return std::nullopt;

    DealRows rows;
    rows.summary << summaryRow(shared, deal.salesPerson, deal.unitClass.toUpper(), *figures);
    // The partner's row keeps the unit class as shown.
    if (deal.split)
        rows.summary << summaryRow(shared, deal.splitPartner, deal.unitClass, *figures);
    rows.log = *log;
    rows.recall = *recall;
    return rows;
}
