#include "ledger_schema.h"

#include "store_layout.h"

namespace LedgerSchema {

QStringList statements(StoreEngine::Engine engine)
{
    using StoreEngine::ColumnKind;
    using StoreLayout::addColumnStatement;
    using StoreLayout::indexStatement;
    static const StoreLayout::Table unwinds = {kUnwinds,
                                               {{"UnwindId", ColumnKind::Key},
                                                {"DealId", ColumnKind::DealRef},
                                                {"UnwoundOn", ColumnKind::Date},
                                                {"Reason", ColumnKind::RequiredPlainText},
                                                {"Part", ColumnKind::RequiredPlainText},
                                                {"Amount", ColumnKind::Integer},
                                                {"Whole", ColumnKind::YesNo}}};
    static const StoreLayout::Table ledger = {kLedger,
                                              {{"EntryId", ColumnKind::Key},
                                               {"Kind", ColumnKind::RequiredPlainText},
                                               {"SalesPerson", ColumnKind::RequiredText},
                                               {"EntryDate", ColumnKind::Date},
                                               {"Amount", ColumnKind::Integer},
                                               {"UnwindId", ColumnKind::Integer},
                                               {"SummaryRow", ColumnKind::Integer},
                                               {"DealId", ColumnKind::Integer},
                                               {"PaidOnSheet", ColumnKind::Integer},
                                               {"DrawId", ColumnKind::Integer},
                                               {"Recoverable", ColumnKind::YesNo},
                                               {"SheetId", ColumnKind::SheetRef},
                                               {"StockNumber", ColumnKind::Text},
                                               {"Customer", ColumnKind::PlainText},
                                               {"TCU", ColumnKind::PlainText},
                                               {"Gross", ColumnKind::Integer},
                                               {"Commission", ColumnKind::Integer},
                                               {"Spiff", ColumnKind::Integer},
                                               {"Warranty", ColumnKind::Integer}}};
    static const StoreLayout::Table holds = {kHolds,
                                             {{"HoldId", ColumnKind::Key},
                                              {"SummaryRow", ColumnKind::Integer},
                                              {"SalesPerson", ColumnKind::RequiredText},
                                              {"Reason", ColumnKind::RequiredPlainText},
                                              {"HeldAt", ColumnKind::RequiredPlainText}}};
    return {
        StoreLayout::createStatement(engine, unwinds),
        StoreLayout::createStatement(engine, ledger),
        StoreLayout::createStatement(engine, holds),
        indexStatement("Unwinds_DealId", kUnwinds, QStringLiteral("\"DealId\"")),
        indexStatement("Ledger_SalesPerson", kLedger, QStringLiteral("\"SalesPerson\"")),
        indexStatement("Ledger_SummaryRow", kLedger, QStringLiteral("\"SummaryRow\"")),
        indexStatement("Ledger_SheetId", kLedger, QStringLiteral("\"SheetId\"")),
        QStringLiteral("CREATE UNIQUE INDEX \"Holds_SummaryRow\" ON \"Holds\"(\"SummaryRow\")"),
        addColumnStatement(engine, "Sheets", {"Recovered", ColumnKind::Integer}),
        addColumnStatement(engine, "Sheets", {"CarriedIn", ColumnKind::Integer}),
        addColumnStatement(engine, "Sheets", {"NetPay", ColumnKind::Integer}),
        // The sheets that carried or deducted a negative net are few: found by it.
        indexStatement("Sheets_NetPay", "Sheets", QStringLiteral("\"NetPay\"")),
        addColumnStatement(engine, "PayPlanVersions", {"DrawPerMonth", ColumnKind::Integer}),
        addColumnStatement(engine, "PayPlanVersions", {"DrawRecoverable", ColumnKind::YesNo}),
    };
}

} // namespace LedgerSchema
