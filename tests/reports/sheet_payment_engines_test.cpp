// Paying a sheet on either engine: each row is marked and put on the sheet
// by one statement (on a server, one statement for the whole list), the
// sheet's snapshot and audit entries are written from the rows as marked,
// and the file follows the order of the list.
#include "reports/sheet_payment.h"
#include "store/audit_trail.h"
#include "store/commission_payments.h"
#include "store/sheet_records.h"
#include "store_test_support.h"

#include <QFile>

namespace {

const QString kSalesPerson = QStringLiteral("John Smith");

class SheetPaymentOnEngines : public EngineStoreTest
{
protected:
    QString dataFile() const { return m_dir.filePath(QStringLiteral("data.txt")); }

    // John Smith's unpaid rows, oldest first.
    QList<qint64> unpaidRows() { return unpaidRowIds(*m_database, kSalesPerson); }

    int count(const QString &statement) { return single(*m_database, statement).toInt(); }
};

INSTANTIATE_ON_BOTH_ENGINES(SheetPaymentOnEngines);

TEST_P(SheetPaymentOnEngines, RowsListedOutOfOrderArePaidOnTheSheetInTheListedOrderAndCanBeVoided)
{
    const DealId first = saved(dealFor(QStringLiteral("1001"), QStringLiteral("José Peña")));
    const DealId second = saved(dealFor(QStringLiteral("A-77"), QStringLiteral("Ann Lee")));
    const DealId split = saved(splitExampleDeal()); // one row of John Smith's, one of Mary Jones's
    const QList<qint64> oldestFirst = unpaidRows();
    ASSERT_EQ(oldestFirst.size(), 3);
    const QList<qint64> listed = {oldestFirst.at(2), oldestFirst.at(0), oldestFirst.at(1)};

    const SheetPayment::Outcome outcome = SheetPayment::pay(
        *m_database, dataFile(),
        {.salesPerson = QStringLiteral("JOHN smith"), .rowIds = listed,
         .bonus = Money::fromUnits(1000000), .weekEnding = QStringLiteral("12/05/2026"),
         .bonusDescription = QStringLiteral("Plateau Bonus")});
    ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    ASSERT_TRUE(outcome.fileWritten) << outcome.error.toStdString();
    EXPECT_EQ(outcome.tally, Money::fromUnits(3125 * 10000)); // 625 + 1250 + 1250

    QFile file(dataFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4); // three lines, each ending in CR LF
    EXPECT_TRUE(lines.at(0).startsWith("\"BOB BROWN\",")) << lines.at(0).constData();
    EXPECT_TRUE(lines.at(1).startsWith("\"JOSÉ PEÑA\",\"1001\",")) << lines.at(1).constData();
    EXPECT_TRUE(lines.at(2).startsWith("\"ANN LEE\",\"A-77\",")) << lines.at(2).constData();

    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"SalesSummary\" WHERE \"Paid\" = 1 "
                                   "AND \"SheetId\" = %1")
                        .arg(outcome.sheetId)),
              3);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"SalesSummary\" WHERE \"Paid\" = 0")), 1);

    // One entry for the sheet, then one for each row naming its deal.
    QString error;
    const auto records = AuditTrail::read(m_database->connection(), {}, &error);
    ASSERT_TRUE(records) << error.toStdString();
    QList<qint64> dealsPaid;
    int sheetEntries = 0;
    for (const AuditTrail::Record &record : *records) {
        const AuditTrail::Entry &entry = record.entry;
        if (entry.action == QLatin1String("Sheet paid")) {
            ++sheetEntries;
            EXPECT_EQ(entry.after, QStringLiteral("WeekEnding: 12/05/2026\nBonusDescription: "
                                                  "Plateau Bonus\nBonus: 100\nTotal: 3125"));
        }
        if (entry.action != QLatin1String("Paid on sheet"))
            continue;
        dealsPaid << entry.dealId.toLongLong();
        EXPECT_EQ(entry.sheetId.toLongLong(), outcome.sheetId);
        EXPECT_EQ(entry.before, QStringLiteral("Paid: No"));
        EXPECT_EQ(entry.after, QStringLiteral("Paid: Yes\nSheetId: %1").arg(outcome.sheetId));
        EXPECT_EQ(record.at, records->first().at);
    }
    EXPECT_EQ(sheetEntries, 1);
    std::sort(dealsPaid.begin(), dealsPaid.end());
    EXPECT_EQ(dealsPaid, (QList<qint64>{first, second, split}));

    // The snapshot written as the rows were marked is the one a void finds.
    EXPECT_EQ(SheetRecords(m_database->connection()).voidSheet(outcome.sheetId, &error),
              SheetRecords::VoidOutcome::Voided)
        << error.toStdString();
    EXPECT_EQ(unpaidRows().size(), 3);
}

TEST_P(SheetPaymentOnEngines, ARowListedTwiceIsNamedAndNothingIsPaid)
{
    saved(dealFor(QStringLiteral("2002"), QStringLiteral("Ann Lee")));
    saved(dealFor(QStringLiteral("2003"), QStringLiteral("Bo Li")));
    const QList<qint64> rows = unpaidRows();
    ASSERT_EQ(rows.size(), 2);

    const SheetPayment::Outcome outcome = SheetPayment::pay(
        *m_database, dataFile(), {kSalesPerson, {rows.at(1), rows.at(0), rows.at(1)}});
    EXPECT_FALSE(outcome.paid);
    EXPECT_EQ(outcome.paidElsewhere, QList<qint64>{rows.at(1)});
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"SalesSummary\" WHERE \"Paid\" = 1")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"Sheets\"")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"Audit\" WHERE \"SheetId\" IS NOT NULL")),
              0);
    EXPECT_FALSE(QFile::exists(dataFile()));
}

} // namespace
