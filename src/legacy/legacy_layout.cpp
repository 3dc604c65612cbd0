#include "legacy_layout.h"

#include "store/store_schema.h"

namespace LegacyLayout {

QStringList tables()
{
    using namespace StoreSchema;
    return {QString::fromLatin1(kSalesSummary), QString::fromLatin1(kSalesLog),
            QString::fromLatin1(kRecallDeal), QString::fromLatin1(kSalesPersons)};
}

AccessType expectedType(const QString &table, const QString &column)
{
    static const QStringList summaryMoney = {
        QStringLiteral("Payable_Gross"), QStringLiteral("Commission"), QStringLiteral("Spiff"),
        QStringLiteral("Warranty"), QStringLiteral("TotalCommission")};
    static const QStringList recallMoney = {
        QStringLiteral("Price"), QStringLiteral("Cost"),    QStringLiteral("RTCP1"),
        QStringLiteral("RTCP2"), QStringLiteral("RTCP3"),   QStringLiteral("RTCP4"),
        QStringLiteral("RTCP5"), QStringLiteral("ATCP1"),   QStringLiteral("ATCP2"),
        QStringLiteral("ATCP3"), QStringLiteral("ATCP4"),   QStringLiteral("ATCP5"),
        QStringLiteral("Allow"), QStringLiteral("OVAllow"), QStringLiteral("Pack"),
        QStringLiteral("Gross"), QStringLiteral("Comm"),    QStringLiteral("Warranty"),
        QStringLiteral("Spiff"), QStringLiteral("TtlComm")};
    static const QStringList recallYesNo = {QStringLiteral("OA"), QStringLiteral("UA"),
                                            QStringLiteral("ChkWarranty"), QStringLiteral("Split")};

    if (column == QLatin1String("Date") && table != QLatin1String(StoreSchema::kSalesPersons))
        return AccessType::DateTime;
    if (table == QLatin1String(StoreSchema::kSalesSummary)) {
        if (summaryMoney.contains(column))
            return AccessType::Currency;
        if (column == QLatin1String("UnitCount"))
            return AccessType::Single;
        if (column == QLatin1String("Paid"))
            return AccessType::YesNo;
    } else if (table == QLatin1String(StoreSchema::kSalesLog)) {
        if (column == QLatin1String("Gross"))
            return AccessType::Currency;
    } else if (table == QLatin1String(StoreSchema::kRecallDeal)) {
        if (recallMoney.contains(column))
            return AccessType::Currency;
        if (recallYesNo.contains(column))
            return AccessType::YesNo;
        if (column == QLatin1String("Year"))
            return AccessType::Long;
    }
    return AccessType::Text;
}

bool accepts(AccessType expected, AccessType actual)
{
    if (expected == actual)
        return true;
    if (expected == AccessType::Long)
        return actual == AccessType::Byte || actual == AccessType::Integer;
    if (expected == AccessType::Single)
        return actual == AccessType::Double;
    return false;
}

} // namespace LegacyLayout
