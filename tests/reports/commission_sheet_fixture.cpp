#include "commission_sheet_fixture.h"

#include "common/money.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

QVariant units(const QVariant &dollars)
{
    if (dollars.isNull())
        return QVariant();
    return MoneyText::parse(dollars.toString()).value_or(Money()).units();
}

} // namespace

CommissionSheetTest::CommissionSheetTest()
    : m_database(std::make_unique<DealDatabase>(m_dir.folder()))
{
    QString error;
    EXPECT_TRUE(m_database->open(&error)) << error.toStdString();
}

CommissionSheetTest::~CommissionSheetTest() = default;

void CommissionSheetTest::execute(const QString &statement, const QVariantList &values)
{
    QSqlQuery query(m_database->connection());
    ASSERT_TRUE(query.prepare(statement)) << query.lastError().text().toStdString();
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
}

qint64 CommissionSheetTest::summaryRow(const SummaryValues &v)
{
    execute(QStringLiteral("INSERT INTO RecallDeal (StockNo) VALUES (?)"), {v.stockNumber});
    execute(QStringLiteral(
                "INSERT INTO SalesSummary (Date, Unit, Stock_Number, Customer_Name, Sales_Person, "
                "TCU, Payable_Gross, Commission, Spiff, Warranty, UnitCount, TotalCommission, "
                "Paid, DealId) VALUES (?, '2004 EXPLORER', ?, ?, ?, ?, ?, ?, ?, ?, 10000, ?, ?, "
                "(SELECT max(DealId) FROM RecallDeal))"),
            {v.date, v.stockNumber, v.customer, v.salesPerson, v.tcu, units(v.payableGross),
             units(v.commission), units(v.spiff), units(v.warranty), units(v.totalCommission),
             v.paid ? 1 : 0});
    QSqlQuery query(m_database->connection());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT max(rowid) FROM SalesSummary")));
    return query.next() ? query.value(0).toLongLong() : -1;
}

qint64 CommissionSheetTest::unpaid(const char *stockNumber, const char *customer, const char *date,
                                   const char *totalCommission)
{
    SummaryValues values;
    values.stockNumber = QString::fromLatin1(stockNumber);
    values.customer = QString::fromLatin1(customer);
    values.date = QString::fromLatin1(date);
    values.totalCommission = QString::fromLatin1(totalCommission);
    return summaryRow(values);
}

QList<qint64> CommissionSheetTest::paidRows()
{
    QSqlQuery query(m_database->connection());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT rowid FROM SalesSummary WHERE Paid = 1 "
                                          "ORDER BY rowid")));
    QList<qint64> rows;
    while (query.next())
        rows << query.value(0).toLongLong();
    return rows;
}

void CommissionSheetTest::refusePaying(const QString &stockNumber)
{
    // A trigger's text cannot take a bound value; the stock number is the
    // test's own.
    execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF Paid ON SalesSummary "
                           "WHEN OLD.Stock_Number = '%1' BEGIN SELECT RAISE(ABORT, 'disk "
                           "trouble'); END")
                .arg(stockNumber));
}
