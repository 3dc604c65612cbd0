#include "pay_plan_schema.h"

#include "store_layout.h"

#include <array>

namespace PayPlanSchema {

namespace {

using StoreEngine::ColumnKind;
using StoreLayout::Column;

// Column names live as long as the program: the layout keeps char pointers.
const QList<QByteArray> &classColumnNames()
{
    static const QList<QByteArray> names = [] {
        QList<QByteArray> all;
        for (const char *code : {"NC", "NT", "UC", "UT"}) {
            for (const char *figure : {"Percent", "Flat", "Mini", "Pack"})
                all << QByteArray(code) + figure;
        }
        return all;
    }();
    return names;
}

} // namespace

const QStringList &versionColumns()
{
    static const QStringList columns = [] {
        QStringList all{QStringLiteral("SalesPerson"), QStringLiteral("EffectiveFrom")};
        for (const QByteArray &name : classColumnNames())
            all << QString::fromLatin1(name);
        all << QStringLiteral("Cap") << QStringLiteral("WarrantySpiff")
            << QStringLiteral("DrawPerMonth") << QStringLiteral("DrawRecoverable")
            << QStringLiteral("TierMode") << QStringLiteral("TierClasses");
        return all;
    }();
    return columns;
}

const QStringList &dealPlanColumns()
{
    static const QStringList columns = {QStringLiteral("DealId"), QStringLiteral("PlanVersionId"),
                                        QStringLiteral("SplitShare"), QStringLiteral("PlanPack"),
                                        QStringLiteral("PlanRate")};
    return columns;
}

QStringList statements(StoreEngine::Engine engine)
{
    StoreLayout::Table versions{kVersions,
                                {{kVersionId, ColumnKind::Key},
                                 {"SalesPerson", ColumnKind::RequiredText},
                                 {"EffectiveFrom", ColumnKind::Date}}};
    for (const QByteArray &name : classColumnNames())
        versions.columns << Column{name.constData(), ColumnKind::Integer};
    versions.columns << Column{"Cap", ColumnKind::Integer}
                     << Column{"WarrantySpiff", ColumnKind::Integer};
    const StoreLayout::Table dealPlans{kDealPlans,
                                       {{"DealId", ColumnKind::DealRef},
                                        {kVersionId, ColumnKind::PlanRef},
                                        {"SplitShare", ColumnKind::Integer},
                                        {"PlanPack", ColumnKind::Integer},
                                        {"PlanRate", ColumnKind::PlainText}}};
    return {
        StoreLayout::createStatement(engine, versions),
        StoreLayout::createStatement(engine, dealPlans),
        // One version per salesperson and date, names compared as the roster does.
        QStringLiteral("CREATE UNIQUE INDEX \"PayPlanVersions_SalesPerson_Date\" ON "
                       "\"PayPlanVersions\"(\"SalesPerson\", \"EffectiveFrom\")"),
        QStringLiteral("CREATE UNIQUE INDEX \"DealPlans_DealId\" ON \"DealPlans\"(\"DealId\")"),
        StoreLayout::indexStatement("DealPlans_PlanVersionId", kDealPlans,
                                    QStringLiteral("\"PlanVersionId\"")),
    };
}

} // namespace PayPlanSchema
