#include "tables_fixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

TablesTest::TablesTest(StoreEngine::Engine engine)
    : m_database(openTestDatabase(engine, m_dir.folder(), m_server))
{
}

TablesTest::~TablesTest() = default;

void TablesTest::execute(const QString &statement, const QVariantList &values)
{
    QSqlQuery query(m_database->connection());
    ASSERT_TRUE(query.prepare(statement)) << query.lastError().text().toStdString();
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
}

QVariantList TablesTest::column(const QString &statement)
{
    QSqlQuery query(m_database->connection());
    EXPECT_TRUE(query.exec(statement)) << query.lastError().text().toStdString();
    QVariantList values;
    while (query.next())
        values << query.value(0);
    return values;
}

qint64 TablesTest::savedDeal(const QString &stockNumber)
{
    execute(QStringLiteral("INSERT INTO RecallDeal (StockNo) VALUES (?)"), {stockNumber});
    return column(QStringLiteral("SELECT max(DealId) FROM RecallDeal")).value(0).toLongLong();
}

qint64 TablesTest::salesLogRow(const QString &stockNumber, const QString &customer, qint64 gross)
{
    const qint64 deal = savedDeal(stockNumber);
    execute(QStringLiteral("INSERT INTO SalesLog (Date, StockNumber, CustomerName, Gross, DealId) "
                           "VALUES ('2005-03-07', ?, ?, ?, ?)"),
            {stockNumber, customer, gross, deal});
    return deal;
}

void TablesTest::setSalesPersons(const QStringList &names)
{
    // Quoted, as the server keeps the names' capitals only so.
    execute(QStringLiteral("DELETE FROM \"SalesPersons\""));
    for (const QString &name : names)
        execute(QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES (?)"), {name});
}

QLineEdit *TablesTest::edit(QWidget &window, const QString &name)
{
    QLineEdit *result = window.findChild<QLineEdit *>(name);
    EXPECT_NE(result, nullptr) << name.toStdString();
    return result;
}

void TablesTest::click(QWidget &window, const char *name)
{
    auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void TablesTest::comeBackTo(QWidget &window)
{
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}
