#include "test_printers.h"

#include <QStringList>

namespace {

QString quoted(const QString &text)
{
    return u'"' + text + u'"';
}

template <std::size_t N> QString row(const std::array<QString, N> &texts)
{
    QStringList quotedTexts;
    for (const QString &text : texts)
        quotedTexts << quoted(text);
    return u'[' + quotedTexts.join(QStringLiteral(", ")) + u']';
}

QString flag(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

void PrintTo(const QString &text, std::ostream *out)
{
    *out << quoted(text).toStdString();
}

void PrintTo(const Money &amount, std::ostream *out)
{
    // Ten-thousandths written out as a decimal, without the program's formats.
    const qint64 units = amount.units();
    const quint64 magnitude = units < 0 ? quint64(0) - quint64(units) : quint64(units);
    *out << (units < 0 ? "-" : "") << magnitude / 10000 << '.'
         << QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0')).toStdString();
}

void PrintTo(const Deal &d, std::ostream *out)
{
    const QStringList fields = {
        QStringLiteral("date ") + d.date.toString(Qt::ISODate),
        QStringLiteral("salesPerson ") + quoted(d.salesPerson),
        QStringLiteral("customer ") + quoted(d.customer),
        QStringLiteral("stockNumber ") + quoted(d.stockNumber),
        QStringLiteral("year ") + quoted(d.year),
        QStringLiteral("unit ") + quoted(d.unit),
        QStringLiteral("unitClass ") + quoted(d.unitClass),
        QStringLiteral("saleType ") + quoted(d.saleType),
        QStringLiteral("sellingPrice ") + quoted(d.sellingPrice),
        QStringLiteral("cost ") + quoted(d.cost),
        QStringLiteral("reductionDescriptions ") + row(d.reductionDescriptions),
        QStringLiteral("reductionAmounts ") + row(d.reductionAmounts),
        QStringLiteral("additionDescriptions ") + row(d.additionDescriptions),
        QStringLiteral("additionAmounts ") + row(d.additionAmounts),
        QStringLiteral("appraisal ") + quoted(d.appraisal),
        QStringLiteral("tradeStock ") + quoted(d.tradeStock),
        QStringLiteral("allowance ") + quoted(d.allowance),
        QStringLiteral("overAllow ") + flag(d.overAllow),
        QStringLiteral("underAllow ") + flag(d.underAllow),
        QStringLiteral("pack ") + quoted(d.pack),
        QStringLiteral("commissionRate ") + quoted(d.commissionRate),
        QStringLiteral("warrantySold ") + flag(d.warrantySold),
        QStringLiteral("payableGross ") + quoted(d.payableGross),
        QStringLiteral("commission ") + quoted(d.commission),
        QStringLiteral("warranty ") + quoted(d.warranty),
        QStringLiteral("spiff ") + quoted(d.spiff),
        QStringLiteral("totalCommission ") + quoted(d.totalCommission),
        QStringLiteral("split ") + flag(d.split),
        QStringLiteral("splitPartner ") + quoted(d.splitPartner),
    };
    *out << "Deal{" << fields.join(QStringLiteral(", ")).toStdString() << '}';
}
