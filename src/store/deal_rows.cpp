#include "deal_rows.h"

#include "column_value.h"
#include "recall_columns.h"

#include "common/money.h"
#include "pay/split_share.h"

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
// in SalesSummary order, for each row of the deal: as shown, or for a split
// deal each salesperson's share in whole cents (the two rows adding up to the
// deal's figure exactly).
std::optional<QList<QVariantList>> summaryFigures(const Deal &deal, QString *error)
{
    const std::array<Figure, 5> figures = {{
        {deal.payableGross, "payable gross"},
        {deal.commission, "commission"},
        {deal.spiff, "spiff"},
        {deal.warranty, "warranty"},
        {deal.totalCommission, "total commission"},
    }};
    constexpr int kUnitCountAt = 4; // UnitCount stands before the total
    if (!deal.split) {
        QVariantList values;
        for (const Figure &figure : figures) {
            if (values.size() == kUnitCountAt)
                values << ColumnValue::unitCount(Money::dollars(1));
            const std::optional<QVariant> value = shownAmount(figure.text, figure.label, error);
            if (!value)
                return std::nullopt;
            values << *value;
        }
        return QList<QVariantList>{values};
    }
    const std::optional<int> share = SplitShare::parse(deal.splitShare);
    if (!share) {
        if (error)
            *error = SplitShare::refusedMessage(deal.splitShare);
        return std::nullopt;
    }
    QVariantList first, second;
    for (const Figure &figure : figures) {
        if (first.size() == kUnitCountAt) {
            const auto [firstCount, secondCount] = SplitShare::unitCounts(*share);
            first << ColumnValue::unitCount(firstCount);
            second << ColumnValue::unitCount(secondCount);
        }
        const std::optional<Money> amount = requiredAmount(figure.text, figure.label, error);
        if (!amount)
            return std::nullopt;
        const auto [firstPart, secondPart] = SplitShare::divide(*amount, *share);
        first << ColumnValue::money(firstPart);
        second << ColumnValue::money(secondPart);
    }
    return QList<QVariantList>{first, second};
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

// The pay plan the deal was worked out by, its split share and the plan's
// figures it typed over; empty when there is nothing to keep beyond what
// every deal keeps.
std::optional<QVariantList> planRow(const Deal &deal, QString *error)
{
    const int share = deal.split ? SplitShare::parse(deal.splitShare).value_or(SplitShare::kEven)
                                 : SplitShare::kEven;
    if (!deal.planVersion && share == SplitShare::kEven && deal.planPack.isEmpty() &&
        deal.planRate.isEmpty())
        return QVariantList{};
    const std::optional<QVariant> planPack = shownAmount(deal.planPack, "plan's pack", error);
    if (!planPack)
        return std::nullopt;
    return QVariantList{
        deal.planVersion ? QVariant(*deal.planVersion) : QVariant(QMetaType(QMetaType::LongLong)),
        QVariant(qint64(share)), *planPack, ColumnValue::text(deal.planRate)};
}

} // namespace

std::optional<DealRows> DealRows::fromDeal(const Deal &deal, QString *error)
{
    const std::optional<QList<QVariantList>> figures = summaryFigures(deal, error);
    if (!figures)
        return std::nullopt;
    const SharedValues shared(deal);
    const std::optional<QVariantList> log = logRow(deal, shared, error);
    if (!log)
        return std::nullopt;
    const std::optional<QVariantList> recall = RecallColumns::valuesOf(deal, error);
    if (!recall)
        return std::nullopt;

    const std::optional<QVariantList> plan = planRow(deal, error);
    if (!plan)
        return std::nullopt;

    DealRows rows;
    rows.plan = *plan;
    rows.summary << summaryRow(shared, deal.salesPerson, deal.unitClass.toUpper(), figures->first());
    // The partner's row keeps the unit class as shown.
    if (deal.split)
        rows.summary << summaryRow(shared, deal.splitPartner, deal.unitClass, figures->last());
    rows.log = *log;
    rows.recall = *recall;
    return rows;
}
