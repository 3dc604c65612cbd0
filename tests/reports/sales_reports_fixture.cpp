#include "sales_reports_fixture.h"

#include "common/money.h"
#include "common/money_format.h"
#include "worksheet/deal.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

Deal dealOf(const SoldDeal &sold)
{
    const QString gross = QString::fromLatin1(sold.payableGross);
    Deal deal;
    deal.date = sold.date;
    deal.salesPerson = QString::fromLatin1(sold.salesPerson);
    deal.customer = QStringLiteral("Customer of ") + QString::fromLatin1(sold.stockNumber);
    deal.stockNumber = QString::fromLatin1(sold.stockNumber);
    deal.year = QStringLiteral("2007");
    deal.unit = QStringLiteral("Pickup");
    deal.unitClass = QString::fromLatin1(sold.unitClass);
    deal.saleType = QStringLiteral("R");
    deal.pack = QStringLiteral("$300.00");
    deal.payableGross = gross;
    deal.commission = MoneyFormat::dollars(MoneyText::readAmount(gross).dividedBy(4));
    deal.warranty = deal.spiff = QStringLiteral("$.00");
    deal.totalCommission = deal.commission;
    deal.splitPartner = QString::fromLatin1(sold.splitPartner);
    deal.split = !deal.splitPartner.isEmpty();
    return deal;
}

} // namespace

SalesReportsTest::SalesReportsTest() : m_database(std::make_unique<DealDatabase>(m_dir.folder()))
{
    QString error;
    EXPECT_TRUE(m_database->open(&error)) << error.toStdString();
    m_store = std::make_unique<DealStore>(*m_database);
}

void SalesReportsTest::save(const SoldDeal &sold)
{
    QString error;
    EXPECT_TRUE(m_store->save(dealOf(sold), &error).has_value()) << error.toStdString();
}

void SalesReportsTest::addSalesPerson(const QString &name)
{
    QSqlQuery query(m_database->connection());
    query.prepare(QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES (?)"));
    query.addBindValue(name);
    EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
}
