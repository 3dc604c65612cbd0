#include "store_test_support.h"

#include <QSqlError>
#include <QSqlQuery>

Deal plainExampleDeal()
{
    Deal deal;
    deal.date = QDate(2005, 3, 7);
    deal.salesPerson = QStringLiteral("John Smith");
    deal.customer = QStringLiteral("Bob Brown");
    deal.stockNumber = QStringLiteral("a1234");
    deal.year = QStringLiteral("2004");
    deal.unit = QStringLiteral("Explorer Spt");
    deal.unitClass = QStringLiteral("NT");
    deal.saleType = QStringLiteral("0");
    deal.sellingPrice = QStringLiteral("25000");
    deal.cost = QStringLiteral("20500");
    deal.pack = QStringLiteral("$300.00");
    deal.commissionRate = QStringLiteral("30%");
    deal.warrantySold = true;
    deal.payableGross = QStringLiteral("$3900.00");
    deal.commission = QStringLiteral("$1170.00");
    deal.warranty = QStringLiteral("30");
    deal.spiff = QStringLiteral("50");
    deal.totalCommission = QStringLiteral("$1250.00");
    return deal;
}

Deal splitExampleDeal()
{
    Deal deal = plainExampleDeal();
    deal.split = true;
    deal.splitPartner = QStringLiteral("Mary Jones");
    return deal;
}

Deal dealFor(const QString &stockNumber, const QString &customer)
{
    Deal deal = plainExampleDeal();
    deal.stockNumber = stockNumber;
    deal.customer = customer;
    return deal;
}

QList<QSqlRecord> tableRows(const DealDatabase &database, const QString &table)
{
    QSqlQuery query(database.connection());
    QList<QSqlRecord> rows;
    if (!query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table))) {
        ADD_FAILURE() << query.lastError().text().toStdString();
        return rows;
    }
    while (query.next())
        rows << query.record();
    return rows;
}

int rowCount(const DealDatabase &database, const QString &table)
{
    return int(tableRows(database, table).size());
}

void execute(const DealDatabase &database, const QString &statement)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(statement))
        << statement.toStdString() << ": " << query.lastError().text().toStdString();
}

StoreTest::StoreTest() : m_database(std::make_unique<DealDatabase>(m_dir.folder()))
{
    QString error;
    EXPECT_TRUE(m_database->open(&error)) << error.toStdString();
    m_store = std::make_unique<DealStore>(*m_database);
}

DealId StoreTest::saved(const Deal &deal)
{
    QString error;
    const std::optional<DealId> id = m_store->save(deal, &error);
    EXPECT_TRUE(id.has_value()) << error.toStdString();
    return id.value_or(-1);
}

std::array<int, 3> StoreTest::dealTableCounts() const
{
    return {rowCount(*m_database, QStringLiteral("SalesSummary")),
            rowCount(*m_database, QStringLiteral("SalesLog")),
            rowCount(*m_database, QStringLiteral("RecallDeal"))};
}

QVariant single(const DealDatabase &database, const QString &statement)
{
    QSqlQuery query(database.connection());
    EXPECT_TRUE(query.exec(statement) && query.next()) << statement.toStdString();
    return query.value(0);
}

QStringList columnsOf(const DealDatabase &database, const QString &table)
{
    QSqlQuery query(database.connection());
    query.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
    query.addBindValue(table);
    EXPECT_TRUE(query.exec());
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}
