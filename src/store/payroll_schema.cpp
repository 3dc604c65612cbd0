#include "payroll_schema.h"

#include "store_layout.h"

namespace PayrollSchema {

const QStringList &columns()
{
    static const QStringList all = {QStringLiteral("SalesPerson"),
                                    QStringLiteral("PayrollId"),
                                    QStringLiteral("CommissionCode"),
                                    QStringLiteral("BonusCode"),
                                    QStringLiteral("ChargebackCode"),
                                    QStringLiteral("DrawRecoveryCode")};
    return all;
}

QStringList statements(StoreEngine::Engine engine)
{
    using StoreEngine::ColumnKind;
    static const StoreLayout::Table codes = {kCodes,
                                             {{"SalesPerson", ColumnKind::RequiredText},
                                              {"PayrollId", ColumnKind::PlainText},
                                              {"CommissionCode", ColumnKind::PlainText},
                                              {"BonusCode", ColumnKind::PlainText},
                                              {"ChargebackCode", ColumnKind::PlainText},
                                              {"DrawRecoveryCode", ColumnKind::PlainText}}};
    return {
        StoreLayout::createStatement(engine, codes),
        // One row per salesperson, names compared as the roster does.
        QStringLiteral("CREATE UNIQUE INDEX \"PayrollCodes_SalesPerson\" ON "
                       "\"PayrollCodes\"(\"SalesPerson\")"),
    };
}

} // namespace PayrollSchema
