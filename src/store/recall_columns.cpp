#include "recall_columns.h"

#include "column_value.h"

#include <array>

namespace RecallColumns {

namespace {

enum class Kind { Date, Text, Capitals, Year, Money, YesNo };

using Rows = std::array<QString, Deal::kRows>;

// Where a column's value lives in the deal.
struct Field
{
    QString Deal::*text = nullptr;
    Rows Deal::*rows = nullptr;
    int index = 0;
    bool Deal::*flag = nullptr;

    QString &textIn(Deal &deal) const { return rows ? (deal.*rows)[index] : deal.*text; }
    const QString &textIn(const Deal &deal) const
    {
        return rows ? (deal.*rows)[index] : deal.*text;
    }
};

struct Column
{
    const char *name;
    Kind kind;
    Field field;
};

Field text(QString Deal::*member)
{
    return Field{member, nullptr, 0, nullptr};
}

Field row(Rows Deal::*member, int index)
{
    return Field{nullptr, member, index, nullptr};
}

Field flag(bool Deal::*member)
{
    return Field{nullptr, nullptr, 0, member};
}

const std::array<Column, 45> &columns()
{
    static const std::array<Column, 45> all = {{
        {"Date", Kind::Date, {}},
        {"SalesPerson", Kind::Text, text(&Deal::salesPerson)},
        {"Customer", Kind::Capitals, text(&Deal::customer)},
        {"StockNo", Kind::Capitals, text(&Deal::stockNumber)},
        {"Year", Kind::Year, text(&Deal::year)},
        {"Unit", Kind::Capitals, text(&Deal::unit)},
        {"TCU", Kind::Capitals, text(&Deal::unitClass)},
        {"SaleType", Kind::Text, text(&Deal::saleType)},
        {"Price", Kind::Money, text(&Deal::sellingPrice)},
        {"Cost", Kind::Money, text(&Deal::cost)},
        {"RTCD1", Kind::Text, row(&Deal::reductionDescriptions, 0)},
        {"RTCD2", Kind::Text, row(&Deal::reductionDescriptions, 1)},
        {"RTCD3", Kind::Text, row(&Deal::reductionDescriptions, 2)},
        {"RTCD4", Kind::Text, row(&Deal::reductionDescriptions, 3)},
        {"RTCD5", Kind::Text, row(&Deal::reductionDescriptions, 4)},
        {"RTCP1", Kind::Money, row(&Deal::reductionAmounts, 0)},
        {"RTCP2", Kind::Money, row(&Deal::reductionAmounts, 1)},
        {"RTCP3", Kind::Money, row(&Deal::reductionAmounts, 2)},
        {"RTCP4", Kind::Money, row(&Deal::reductionAmounts, 3)},
        {"RTCP5", Kind::Money, row(&Deal::reductionAmounts, 4)},
        {"ATCD1", Kind::Text, row(&Deal::additionDescriptions, 0)},
        {"ATCD2", Kind::Text, row(&Deal::additionDescriptions, 1)},
        {"ATCD3", Kind::Text, row(&Deal::additionDescriptions, 2)},
        {"ATCD4", Kind::Text, row(&Deal::additionDescriptions, 3)},
        {"ATCD5", Kind::Text, row(&Deal::additionDescriptions, 4)},
        {"ATCP1", Kind::Money, row(&Deal::additionAmounts, 0)},
        {"ATCP2", Kind::Money, row(&Deal::additionAmounts, 1)},
        {"ATCP3", Kind::Money, row(&Deal::additionAmounts, 2)},
        {"ATCP4", Kind::Money, row(&Deal::additionAmounts, 3)},
        {"ATCP5", Kind::Money, row(&Deal::additionAmounts, 4)},
        {"Allow", Kind::Money, text(&Deal::appraisal)},
        {"OVAllow", Kind::Money, text(&Deal::allowance)},
        {"TrdStock", Kind::Text, text(&Deal::tradeStock)},
        {"OA", Kind::YesNo, flag(&Deal::overAllow)},
        {"UA", Kind::YesNo, flag(&Deal::underAllow)},
        {"Pack", Kind::Money, text(&Deal::pack)},
        {"CommRate", Kind::Text, text(&Deal::commissionRate)},
        {"ChkWarranty", Kind::YesNo, flag(&Deal::warrantySold)},
        {"Gross", Kind::Money, text(&Deal::payableGross)},
        {"Comm", Kind::Money, text(&Deal::commission)},
        {"Warranty", Kind::Money, text(&Deal::warranty)},
        {"Spiff", Kind::Money, text(&Deal::spiff)},
        {"TtlComm", Kind::Money, text(&Deal::totalCommission)},
        {"Split", Kind::YesNo, flag(&Deal::split)},
        {"Salesman2", Kind::Text, text(&Deal::splitPartner)},
    }};
    return all;
}

} // namespace

QStringList names()
{
    QStringList result;
    for (const Column &column : columns())
        result << QString::fromLatin1(column.name);
    return result;
}

std::optional<QVariantList> valuesOf(const Deal &deal, QString *error)
{
    QVariantList values;
    values.reserve(qsizetype(columns().size()));
    for (const Column &column : columns()) {
        switch (column.kind) {
        case Kind::Date:
            values << ColumnValue::date(deal.date);
            break;
        case Kind::Text:
            values << ColumnValue::text(column.field.textIn(deal));
            break;
        case Kind::Capitals:
            values << ColumnValue::text(column.field.textIn(deal).toUpper());
            break;
        case Kind::Year:
            values << ColumnValue::year(column.field.textIn(deal));
            break;
        case Kind::Money: {
            const QString &shown = column.field.textIn(deal);
            const std::optional<QVariant> amount = ColumnValue::money(shown);
            if (!amount) {
                if (error)
                    *error = QStringLiteral("%1: \"%2\" is not an amount")
                                 .arg(QString::fromLatin1(column.name), shown);
                return std::nullopt;
            }
            values << *amount;
            break;
        }
        case Kind::YesNo:
            values << ColumnValue::yesNo(deal.*column.field.flag);
            break;
        }
    }
    return values;
}

Deal dealFrom(const QVariantList &values)
{
    Deal deal;
    for (qsizetype i = 0; i < qsizetype(columns().size()) && i < values.size(); ++i) {
        const Column &column = columns()[size_t(i)];
        const QVariant &value = values.at(i);
        switch (column.kind) {
        case Kind::Date:
            deal.date = ColumnValue::dateFrom(value);
            break;
        case Kind::Text:
        case Kind::Capitals:
            column.field.textIn(deal) = ColumnValue::textFrom(value);
            break;
        case Kind::Year:
            column.field.textIn(deal) = ColumnValue::yearTextFrom(value);
            break;
        case Kind::Money:
            column.field.textIn(deal) = ColumnValue::moneyTextFrom(value);
            break;
        case Kind::YesNo:
            deal.*column.field.flag = ColumnValue::yesNoFrom(value);
            break;
        }
    }
    return deal;
}

} // namespace RecallColumns
