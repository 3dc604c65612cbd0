// The fields of the two table maintenance windows, top to bottom.
#include "table_window.h"

#include "store/store_schema.h"

using Kind = RecordField::Kind;

TableWindow::Layout TableWindow::salesSummaryLayout()
{
    return {QStringLiteral("frmSalesSummary"),
            QStringLiteral("SalesSummary Database"),
            QStringLiteral("Step through records"),
            QString::fromLatin1(StoreSchema::kSalesSummary),
            QStringLiteral("Stock_Number"),
            {
                {QStringLiteral("Date"), Kind::Date, QStringLiteral("Date")},
                {QStringLiteral("Unit"), Kind::Text, QStringLiteral("Unit")},
                {QStringLiteral("Stock_Number"), Kind::Text, QStringLiteral("Stock #")},
                {QStringLiteral("Customer_Name"), Kind::Text, QStringLiteral("Customer")},
                {QStringLiteral("Sales_Person"), Kind::Text, QStringLiteral("Sales Person")},
                {QStringLiteral("TCU"), Kind::Text, QStringLiteral("TCU")},
                {QStringLiteral("Payable_Gross"), Kind::Money, QStringLiteral("Gross")},
                {QStringLiteral("Commission"), Kind::Money, QStringLiteral("Commisssion")},
                {QStringLiteral("Spiff"), Kind::Money, QStringLiteral("Spiff")},
                {QStringLiteral("Warranty"), Kind::Money, QStringLiteral("Warranty")},
                {QStringLiteral("UnitCount"), Kind::Money, QStringLiteral("Unit Count")},
                {QStringLiteral("TotalCommission"), Kind::Money, QStringLiteral("Ttl Comm")},
                // Paid is set by a commission sheet and cleared by its void only.
                {QStringLiteral("Paid"), Kind::YesNo, QStringLiteral("Paid"), true},
            }};
}

TableWindow::Layout TableWindow::salesLogLayout()
{
    return {QStringLiteral("frmfrmSales"),
            QStringLiteral(" SalesLog DataBase"),
            QStringLiteral(" Step through records"),
            QString::fromLatin1(StoreSchema::kSalesLog),
            QStringLiteral("StockNumber"),
            {
                {QStringLiteral("Date"), Kind::Date, QStringLiteral("Date:")},
                {QStringLiteral("StockNumber"), Kind::Text, QStringLiteral("Stock #")},
                {QStringLiteral("Unit"), Kind::Text, QStringLiteral("Unit Disc.")},
                {QStringLiteral("CustomerName"), Kind::Text, QStringLiteral("Customer")},
                {QStringLiteral("SalesPerson"), Kind::Text, QStringLiteral("Sales Person")},
                {QStringLiteral("Type"), Kind::Text, QStringLiteral("Sale Tyle")},
                {QStringLiteral("Gross"), Kind::Money, QStringLiteral("Gross")},
                {QStringLiteral("TCU"), Kind::Text, QStringLiteral("TCU")},
            }};
}
