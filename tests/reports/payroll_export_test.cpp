// The commission sheets of a period as payroll books them, on either engine:
// one row per salesperson and kind of pay, adding up to what the sheets pay,
// voided sheets left out, a salesperson without a payroll ID refused.
#include "reports/payroll_export.h"
#include "reports/sheet_payment.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"
#include "store/sales_ledger.h"
#include "store/sheet_records.h"
#include "store_test_support.h"
#include "test_printers.h"

#include <QSqlQuery>

namespace {

const QString kJohn = QStringLiteral("John Smith");

struct Expected
{
    QString name;
    QString payrollId;
    QString code;
    Money amount;
    QList<qint64> sheets;
};

class PayrollExportTest : public EngineStoreTest
{
protected:
    void SetUp() override
    {
        EngineStoreTest::SetUp();
        if (IsSkipped())
            return;
        // 30% of the gross, 32% from the first unit of a month: $78.00 a deal more.
        addThirtyPercentPlan(kJohn, {{.unitsFrom = Money::dollars(1), .percent = Money::dollars(32)}},
                             Money());
        QString error;
        ASSERT_TRUE(PayrollCodeStore(*m_database)
                        .save({kJohn, QStringLiteral("1001"), {{{}, QStringLiteral("B2"), {}, {}}}},
                              &error))
            << error.toStdString();
    }

    // A $1,250.00 deal of the salesperson on `on`.
    DealId sell(const QString &stockNumber, const QDate &on, const QString &salesPerson = kJohn)
    {
        Deal deal = dealFor(stockNumber, QStringLiteral("Åke Nyström"));
        deal.date = on;
        deal.salesPerson = salesPerson;
        return saved(deal);
    }

    SheetPayment::Outcome pay(const QDate &on, const QString &salesPerson = kJohn,
                              std::optional<Money> bonus = std::nullopt)
    {
        QString error;
        const auto chargebacks = SalesLedger(*m_database).openChargebacks(salesPerson, &error);
        EXPECT_TRUE(chargebacks) << error.toStdString();
        QList<qint64> ids;
        for (const Chargeback &line : chargebacks.value_or(QList<Chargeback>()))
            ids << line.id;
        const SheetPayment::Outcome outcome = SheetPayment::pay(
            *m_database, m_dir.filePath(QStringLiteral("data.txt")),
            {.salesPerson = salesPerson,
             .rowIds = unpaidRowIds(*m_database, salesPerson),
             .bonus = bonus,
             .weekEnding = on.toString(QStringLiteral("MM/dd/yyyy")),
             .bonusDescription = bonus ? QStringLiteral("Spiff") : QString(),
             .chargebackIds = ids,
             .on = on,
             .volume = salesPerson == kJohn});
        EXPECT_TRUE(outcome.paid) << outcome.error.toStdString();
        return outcome;
    }

    // Moves a sheet's printing to another day.
    void printedOn(qint64 sheetId, const QString &at)
    {
        QSqlQuery query(m_database->connection());
        query.prepare(QStringLiteral("UPDATE \"Sheets\" SET \"PrintedAt\" = ? WHERE \"SheetId\" = ?"));
        query.addBindValue(at);
        query.addBindValue(sheetId);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }

    std::optional<QList<PayrollExport::Row>> exported(const QDate &from, const QDate &to,
                                                      QString *error)
    {
        return PayrollExport::read(*m_database, {from, to}, error);
    }

    static QList<Expected> simplified(const QList<PayrollExport::Row> &rows)
    {
        QList<Expected> all;
        for (const PayrollExport::Row &row : rows)
            all << Expected{row.salesPerson, row.payrollId, row.code, row.amount, row.sheets};
        return all;
    }

    static Money sumOf(const QList<PayrollExport::Row> &rows)
    {
        Money sum;
        for (const PayrollExport::Row &row : rows)
            sum += row.amount;
        return sum;
    }

    RecordedSheet sheet(qint64 id)
    {
        QString error;
        const auto found = SheetRecords(m_database->connection()).find(id, &error);
        EXPECT_TRUE(found) << error.toStdString();
        return found.value_or(RecordedSheet());
    }
};

INSTANTIATE_ON_BOTH_ENGINES(PayrollExportTest);

bool operator==(const Expected &a, const Expected &b)
{
    return a.name == b.name && a.payrollId == b.payrollId && a.code == b.code &&
           a.amount == b.amount && a.sheets == b.sheets;
}

void PrintTo(const Expected &row, std::ostream *out)
{
    *out << row.name.toStdString() << " " << row.payrollId.toStdString() << " "
         << row.code.toStdString() << " " << row.amount.units() << " [";
    for (const qint64 sheet : row.sheets)
        *out << sheet << " ";
    *out << "]";
}

// Two deals paid; one unwound; a draw; a sheet of the chargeback and the
// month's volume bonus that ends below zero; a sheet that deducts that
// negative net and recovers the draw.
TEST_P(PayrollExportTest, TheRowsAddUpToWhatTheSheetsPayWithAChargebackADrawAndACarriedNet)
{
    const DealId returned = sell(QStringLiteral("4410"), QDate(2026, 3, 10));
    sell(QStringLiteral("4411"), QDate(2026, 3, 12));
    const SheetPayment::Outcome first = pay(QDate(2026, 3, 27));
    EXPECT_EQ(first.tally, Money::dollars(2500));

    const DealUnwinds::Outcome unwound = DealUnwinds(*m_database).unwind(
        {.deal = returned, .on = QDate(2026, 3, 30), .reason = QStringLiteral("Returned")});
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
    QString error;
    ASSERT_TRUE(SalesLedger(*m_database).recordDraw(kJohn, QDate(2026, 4, 1), Money::dollars(500),
                                                    true, &error))
        << error.toStdString();
    // March's one unit left: $78.00; less the $1,250.00 charged back; $100.00 bonus.
    const SheetPayment::Outcome second = pay(QDate(2026, 4, 3), kJohn, Money::dollars(100));
    EXPECT_EQ(second.tally, Money::dollars(78 - 1250));
    EXPECT_EQ(second.netPay, Money::dollars(-1072));

    sell(QStringLiteral("4420"), QDate(2026, 4, 6));
    sell(QStringLiteral("4421"), QDate(2026, 4, 7));
    const SheetPayment::Outcome third = pay(QDate(2026, 4, 10));
    EXPECT_EQ(third.netPay, Money::dollars(2500 - 1072 - 500));

    const QDate today = QDate::currentDate();
    const std::optional<QList<PayrollExport::Row>> rows = exported(today, today, &error);
    ASSERT_TRUE(rows) << error.toStdString();
    const qint64 s1 = first.sheetId, s2 = second.sheetId, s3 = third.sheetId;
    EXPECT_EQ(simplified(*rows),
              (QList<Expected>{
                  {kJohn, "1001", "COMM", Money::dollars(5000), {s1, s3}},
                  {kJohn, "1001", "B2", Money::dollars(178), {s2}},
                  // -1,250.00 charged back, +1,072.00 carried off the second
                  // sheet, -1,072.00 deducted by the third.
                  {kJohn, "1001", "CHGBK", Money::dollars(-1250), {s2, s3}},
                  {kJohn, "1001", "DRAWREC", Money::dollars(-500), {s3}},
              }));
    // Paid: $2,500.00, nothing, $928.00.
    EXPECT_EQ(sumOf(*rows), Money::dollars(3428));

    // The third sheet alone adds up to its own net pay, the carried net
    // among the chargebacks.
    printedOn(s1, QStringLiteral("2026-03-27 17:00:00"));
    printedOn(s2, QStringLiteral("2026-04-03 17:00:00"));
    const std::optional<QList<PayrollExport::Row>> alone = exported(today, today, &error);
    ASSERT_TRUE(alone) << error.toStdString();
    EXPECT_EQ(simplified(*alone),
              (QList<Expected>{{kJohn, "1001", "COMM", Money::dollars(2500), {s3}},
                               {kJohn, "1001", "CHGBK", Money::dollars(-1072), {s3}},
                               {kJohn, "1001", "DRAWREC", Money::dollars(-500), {s3}}}));
    EXPECT_EQ(sumOf(*alone), *sheet(s3).netPay);

    // The first two days by themselves: both ends of the period count whole.
    const std::optional<QList<PayrollExport::Row>> early =
        exported(QDate(2026, 3, 27), QDate(2026, 4, 3), &error);
    ASSERT_TRUE(early) << error.toStdString();
    EXPECT_EQ(sumOf(*early), Money::dollars(2500));
    EXPECT_EQ(early->size(), 3);
}

TEST_P(PayrollExportTest, AVoidedSheetIsLeftOutAndAMissingPayrollIdStopsTheExport)
{
    const QString mary = QStringLiteral("Mary Jones");
    const QString zoe = QStringLiteral("Zoë Ålund");
    sell(QStringLiteral("5100"), QDate(2026, 5, 4), mary);
    const qint64 voided = pay(QDate(2026, 5, 8), mary).sheetId;
    QString error;
    ASSERT_EQ(SheetRecords(m_database->connection()).voidSheet(voided, &error),
              SheetRecords::VoidOutcome::Voided)
        << error.toStdString();
    const qint64 kept = pay(QDate(2026, 5, 9), mary, Money::dollars(25)).sheetId;
    sell(QStringLiteral("5200"), QDate(2026, 5, 5));
    pay(QDate(2026, 5, 9));
    sell(QStringLiteral("5300"), QDate(2026, 5, 6), zoe);
    pay(QDate(2026, 5, 9), zoe);

    const QDate today = QDate::currentDate();
    EXPECT_FALSE(exported(today, today, &error));
    EXPECT_EQ(error, QStringLiteral("No payroll ID is recorded for Mary Jones, Zoë Ålund. Enter "
                                    "it with Payroll… in Setup > Add/Delete Salesperson; nothing "
                                    "was written."));

    // A code alone is not an ID.
    ASSERT_TRUE(PayrollCodeStore(*m_database)
                    .save({QStringLiteral("MARY JONES"), QStringLiteral("2002"), {}}, &error))
        << error.toStdString();
    ASSERT_TRUE(PayrollCodeStore(*m_database)
                    .save({zoe, {}, {QStringLiteral("Z1"), {}, {}, {}}}, &error))
        << error.toStdString();
    EXPECT_FALSE(exported(today, today, &error));
    EXPECT_EQ(error, QStringLiteral("No payroll ID is recorded for Zoë Ålund. Enter it with "
                                    "Payroll… in Setup > Add/Delete Salesperson; nothing was "
                                    "written."));

    ASSERT_TRUE(PayrollCodeStore(*m_database)
                    .save({zoe, QStringLiteral("Z-3"), {QStringLiteral("Z1"), {}, {}, {}}}, &error))
        << error.toStdString();
    const std::optional<QList<PayrollExport::Row>> rows = exported(today, today, &error);
    ASSERT_TRUE(rows) << error.toStdString();
    // Mary's voided sheet paid nothing: her kept sheet pays the deal and the bonus.
    const QList<Expected> expected = {
        {kJohn, "1001", "COMM", Money::dollars(1250), {}},
        {"Mary Jones", "2002", "COMM", Money::dollars(1250), {kept}},
        {"Mary Jones", "2002", "BONUS", Money::dollars(25), {kept}},
        {zoe, "Z-3", "Z1", Money::dollars(1250), {}},
    };
    ASSERT_EQ(rows->size(), expected.size());
    for (qsizetype i = 0; i < rows->size(); ++i) {
        Expected row = simplified(*rows)[i];
        if (expected[i].sheets.isEmpty())
            row.sheets.clear(); // John's and Zoë's sheets are not the point here
        EXPECT_EQ(row, expected[i]) << "row " << i;
    }
}

} // namespace

namespace {

// Figures that do not add up to the recorded net pay are never exported.
TEST(PayrollRows, ASheetThatDoesNotAddUpToItsNetPayIsRefused)
{
    const PayrollCodes codes{QStringLiteral("Renée Côté"), QStringLiteral("77"), {}};
    PayrollExport::SheetPay sheet{.sheetId = 41,
                                  .total = Money::dollars(900),
                                  .bonus = Money::dollars(50),
                                  .recovered = Money::dollars(200),
                                  .netPay = Money::dollars(750)};
    QString error;
    const auto rows = PayrollExport::rowsOf(codes, {sheet}, &error);
    ASSERT_TRUE(rows) << error.toStdString();
    ASSERT_EQ(rows->size(), 3);
    EXPECT_EQ((*rows)[2].code, QStringLiteral("DRAWREC"));
    EXPECT_EQ((*rows)[2].amount, Money::dollars(-200));

    // A foot below zero without a recorded net pay is not carried: it is
    // exported as it is.
    const PayrollExport::SheetPay correction{.sheetId = 42,
                                             .total = Money::dollars(-78),
                                             .volumeBonus = Money::dollars(-78)};
    const auto negative = PayrollExport::rowsOf(codes, {correction}, &error);
    ASSERT_TRUE(negative) << error.toStdString();
    ASSERT_EQ(negative->size(), 1);
    EXPECT_EQ((*negative)[0].code, QStringLiteral("BONUS"));
    EXPECT_EQ((*negative)[0].amount, Money::dollars(-78));

    sheet.netPay = Money::dollars(700);
    EXPECT_FALSE(PayrollExport::rowsOf(codes, {sheet}, &error));
    EXPECT_EQ(error, QStringLiteral("Sheet 41 of Renée Côté does not add up to its net pay; "
                                    "nothing was written."));
}

} // namespace
