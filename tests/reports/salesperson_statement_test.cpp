// A salesperson's statement on either engine: every deal, chargeback,
// volume bonus, draw and sheet of a month, line by line, the lines that
// move money adding up to the net the month's sheets paid.
#include "report_test_support.h"
#include "reports/salesperson_statement_query.h"
#include "reports/salesperson_statement_report.h"
#include "reports/sheet_payment.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"
#include "store/sales_ledger.h"
#include "store/sheet_records.h"
#include "store_test_support.h"
#include "test_printers.h"

namespace {

const QString kJohn = QStringLiteral("John Smith");
using Statement = SalespersonStatement::Statement;

// An amount as the test writes it: dollars and cents, "-" before a
// negative one, nothing for no amount.
QString amount(const std::optional<Money> &value)
{
    if (!value)
        return {};
    const qint64 cents = value->roundedToCent().units() / 100;
    const qint64 whole = (cents < 0 ? -cents : cents);
    return QStringLiteral("%1%2.%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(whole % 100, 2, 10, QLatin1Char('0'));
}

// A line as the test reads it, its fields between bars.
QString lineText(const SalespersonStatement::Line &line)
{
    return QStringList{line.date.isValid() ? line.date.toString(Qt::ISODate) : QString(),
                       line.reference,
                       line.description,
                       line.unitClass,
                       line.units ? amount(line.units) : QString(),
                       amount(line.gross),
                       amount(line.commission),
                       amount(line.spiff),
                       amount(line.warranty),
                       amount(line.total),
                       line.status,
                       amount(line.inNet)}
        .join(u'|');
}

QStringList linesOf(const Statement &statement, const QString &part)
{
    QStringList texts;
    for (const SalespersonStatement::Line &line : statement.lines) {
        if (line.part == part)
            texts << lineText(line);
    }
    return texts;
}

// Every placed text of a control of the printed statement, in order.
QStringList printed(const ReportDocument &document, const char *control)
{
    QStringList texts;
    for (const PlacedText &placed :
         ReportRead::placementsOf(document, QString::fromLatin1(control)))
        texts << placed.text;
    return texts;
}

class StatementOfAMonth : public EngineStoreTest
{
protected:
    void SetUp() override
    {
        EngineStoreTest::SetUp();
        if (IsSkipped())
            return;
        // 30% of the gross, 32% from the 12th unit of a month.
        addThirtyPercentPlan(kJohn, {{.unitsFrom = Money::dollars(12), .percent = Money::dollars(32)}});
    }

    DealId sell(const QString &stockNumber, const QString &customer, const QDate &on,
                const char *unitClass = "NT", const char *saleType = "0")
    {
        Deal deal = dealFor(stockNumber, customer);
        deal.date = on;
        deal.unitClass = QString::fromLatin1(unitClass);
        deal.saleType = QString::fromLatin1(saleType);
        return saved(deal);
    }

    // Pays the listed rows on a sheet dated `on`, recorded as printed that
    // day at ten.
    qint64 pay(const QDate &on, const QList<qint64> &rows, const QList<qint64> &chargebacks = {},
               std::optional<Money> bonus = std::nullopt)
    {
        const SheetPayment::Outcome outcome = SheetPayment::pay(
            *m_database, m_dir.filePath(QStringLiteral("data.txt")),
            {.salesPerson = kJohn,
             .rowIds = rows,
             .bonus = bonus,
             .weekEnding = on.toString(QStringLiteral("MM/dd/yyyy")),
             .bonusDescription = bonus ? QStringLiteral("Sales contest") : QString(),
             .chargebackIds = chargebacks,
             .on = on,
             .volume = true});
        EXPECT_TRUE(outcome.paid) << outcome.error.toStdString();
        execute(*m_database, QStringLiteral("UPDATE \"Sheets\" SET \"PrintedAt\" = '%1 10:00:00' "
                                            "WHERE \"SheetId\" = %2")
                                 .arg(on.toString(Qt::ISODate))
                                 .arg(outcome.sheetId));
        return outcome.sheetId;
    }

    QList<qint64> unpaid() { return unpaidRowIds(*m_database, kJohn); }

    Statement statement(const StatementPeriod &period, const QString &name = kJohn)
    {
        QString error;
        const auto made = SalespersonStatementQuery::statement(*m_database, name, period, &error);
        EXPECT_TRUE(made) << error.toStdString();
        return made.value_or(Statement());
    }

    // February: twelve deals, paid on the last day of the month; the
    // volume bonus they earn is paid by the first sheet of March.
    void sellFebruary()
    {
        for (int i = 0; i < 12; ++i)
            sell(QString::number(2600 + i), QStringLiteral("Åke Nyström"), QDate(2026, 2, 10));
        pay(QDate(2026, 2, 27), unpaid());
    }
};

INSTANTIATE_ON_BOTH_ENGINES(StatementOfAMonth);

TEST_P(StatementOfAMonth, EveryLineOfTheMonthAndTheSumEqualToTheSheetsNet)
{
    sellFebruary();
    QString error;
    SalesLedger ledger(*m_database);
    ASSERT_TRUE(ledger.recordDraw(kJohn, QDate(2026, 3, 2), Money::dollars(500), true, &error))
        << error.toStdString();
    sell(QStringLiteral("31001"), QStringLiteral("Zoë Brontë"), QDate(2026, 3, 3), "NC", "0");
    Deal split = splitExampleDeal();
    split.stockNumber = QStringLiteral("a3102");
    split.date = QDate(2026, 3, 5);
    saved(split);
    const DealId returned =
        sell(QStringLiteral("31003"), QStringLiteral("Renée Côté"), QDate(2026, 3, 9), "UC", "1");
    // Week two: the three deals, February's volume bonus, the draw recovered.
    const qint64 first = pay(QDate(2026, 3, 13), unpaid());

    // The used car comes back; its chargeback goes on the next sheet.
    const DealUnwinds::Outcome unwound = DealUnwinds(*m_database).unwind(
        {.deal = returned, .on = QDate(2026, 3, 20), .reason = QStringLiteral("Returned vehicle")});
    ASSERT_TRUE(unwound.done) << unwound.error.toStdString();
    sell(QStringLiteral("31004"), QStringLiteral("Ана Петрова"), QDate(2026, 3, 16), "UT", "2");
    const qint64 second = pay(QDate(2026, 3, 27), unpaid(), {unwound.chargebacks.at(0).id},
                              Money::dollars(100));

    // A deal held, one left for April's first sheet, one paid on a sheet voided.
    sell(QStringLiteral("31005"), QStringLiteral("Held Back"), QDate(2026, 3, 25));
    ASSERT_TRUE(ledger.hold(unpaid().at(0), QStringLiteral("Paperwork"), &error))
        << error.toStdString();
    sell(QStringLiteral("31006"), QStringLiteral("Late Buyer"), QDate(2026, 3, 28));
    // A deal taken back before it was paid: never paid, no unit.
    const DealId cancelled =
        sell(QStringLiteral("31007"), QStringLiteral("Cancelled Order"), QDate(2026, 3, 29));
    ASSERT_TRUE(DealUnwinds(*m_database)
                    .unwind({.deal = cancelled,
                             .on = QDate(2026, 3, 29),
                             .reason = QStringLiteral("Financing fell through")})
                    .done);
    const qint64 voided = pay(QDate(2026, 3, 30), unpaid());
    ASSERT_EQ(SheetRecords(m_database->connection()).voidSheet(voided, &error),
              SheetRecords::VoidOutcome::Voided)
        << error.toStdString();
    const qint64 april = pay(QDate(2026, 4, 3), unpaid());

    ASSERT_EQ((QList<qint64>{first, second, voided, april}), (QList<qint64>{2, 3, 4, 5}));

    const Statement march = statement(StatementPeriod::month(QDate(2026, 3, 17)));
    // Date|Stock #|Customer / Line|Class|Units|Gross|Commission|Spiff|Warranty|Total|Status|In Net
    EXPECT_EQ(linesOf(march, QStringLiteral("Deals")),
              (QStringList{
                  "2026-03-03|31001|ZOË BRONTË|NC|1.00|3900.00|1170.00|50.00|30.00|1250.00|"
                  "Paid on sheet 2|1250.00",
                  "2026-03-05|A3102|BOB BROWN|NT|0.50|1950.00|585.00|25.00|15.00|625.00|"
                  "Paid on sheet 2|625.00",
                  "2026-03-09|31003|RENÉE CÔTÉ|UC|1.00|3900.00|1170.00|50.00|30.00|1250.00|"
                  "Paid on sheet 2, unwound|1250.00",
                  "2026-03-16|31004|АНА ПЕТРОВА|UT|1.00|3900.00|1170.00|50.00|30.00|1250.00|"
                  "Paid on sheet 3|1250.00",
                  "2026-03-25|31005|HELD BACK|NT|1.00|3900.00|1170.00|50.00|30.00|1250.00|Held|",
                  // Paid on April's sheet, after the one voided: not in March's net.
                  "2026-03-28|31006|LATE BUYER|NT|1.00|3900.00|1170.00|50.00|30.00|1250.00|"
                  "Paid on sheet 5|",
                  "2026-03-29|31007|CANCELLED ORDER|NT|1.00|3900.00|1170.00|50.00|30.00|1250.00|"
                  "Unwound|",
              }));
    EXPECT_EQ(linesOf(march, QStringLiteral("Chargebacks, Bonuses and Draws")),
              (QStringList{
                  "2026-02-01||Volume bonus February 2026: 12 units, 32%|||||||936.00|"
                  "Paid on sheet 2|936.00",
                  "2026-03-02||Draw|||||||500.00|Paid|",
                  "2026-03-13||Draw recovered|||||||-500.00|Recovered on sheet 2|-500.00",
                  "2026-03-20|31003|Chargeback: RENÉE CÔTÉ|||||||-1250.00|Deducted on sheet 3|"
                  "-1250.00",
              }));
    EXPECT_EQ(linesOf(march, QStringLiteral("Sheets")),
              (QStringList{
                  "2026-03-13|Sheet 2|Week ending 03/13/2026|||||||3561.00|Net pay|",
                  "2026-03-27|Sheet 3|Week ending 03/27/2026|||||||100.00|Net pay|",
                  "2026-03-27|Sheet 3|Bonus: Sales contest|||||||100.00||100.00",
                  "2026-03-30|Sheet 4|Week ending 03/30/2026|||||||1250.00|Voided|",
              }));
    // 1,250 + 625 + 1,250 + 1,250 + 936 - 500 - 1,250 + 100 = 3,661: sheet 2's
    // 3,561 and sheet 3's 100. The used car unwound whole counts no unit.
    EXPECT_EQ(linesOf(march, QStringLiteral("Totals")),
              (QStringList{
                  "||Net paid in the period|||||||3661.00||",
                  "||Sheets' net pay|||||||3661.00||",
                  "||Month to date, March 2026||4.50|||||3661.00||",
                  "||Year to date, 1/1/2026 to 3/31/2026||16.50|||||18661.00||",
              }));
    EXPECT_EQ(march.netPaid, Money::dollars(3661));
    EXPECT_EQ(march.sheetsNet, Money::dollars(3661));

    // Printed: every line under its part's head, every text whole in its box.
    SalespersonStatementReport report;
    report.setHeading(kJohn, march.period);
    const ReportDocument document = report.run(SalespersonStatement::rows(march));
    EXPECT_EQ(ReportRead::printingFaults(document), QStringList());
    EXPECT_EQ(printed(document, "fldPart"),
              (QStringList{"Deals", "Chargebacks, Bonuses and Draws", "Sheets", "Totals"}));
    EXPECT_EQ(printed(document, "fldPeriod"), QStringList{"March 2026"});
    EXPECT_EQ(printed(document, "txtInNet"),
              (QStringList{"$1,250.00", "$625.00", "$1,250.00", "$1,250.00", "", "", "", "$936.00", "",
                           "-$500.00", "-$1,250.00", "", "", "$100.00", "", "", "", "", ""}));
    EXPECT_EQ(printed(document, "txtTotal").mid(15),
              (QStringList{"$3,661.00", "$3,661.00", "$3,661.00", "$18,661.00"}));
}

TEST_P(StatementOfAMonth, AnAccentedNameInAnyCaseAndTheYearToDateWithoutWritingAnything)
{
    const QString jose = QStringLiteral("José Peña");
    Deal january = dealFor(QStringLiteral("1101"), QStringLiteral("Ñandú Ltda"));
    january.salesPerson = jose;
    january.date = QDate(2026, 1, 15);
    saved(january);
    Deal april = january;
    april.stockNumber = QStringLiteral("4401");
    april.date = QDate(2026, 4, 2);
    april.split = true;
    april.splitPartner = kJohn;
    saved(april);
    const SheetPayment::Outcome paid = SheetPayment::pay(
        *m_database, m_dir.filePath(QStringLiteral("data.txt")),
        {.salesPerson = QStringLiteral("josé peña"),
         .rowIds = unpaidRowIds(*m_database, jose),
         .weekEnding = QStringLiteral("04/10/2026"),
         .on = QDate(2026, 4, 10)});
    ASSERT_TRUE(paid.paid) << paid.error.toStdString();
    execute(*m_database, QStringLiteral("UPDATE \"Sheets\" SET \"PrintedAt\" = "
                                        "'2026-04-10 16:45:00' WHERE \"SheetId\" = %1")
                             .arg(paid.sheetId));

    const auto changes = [this] {
        return single(*m_database, QStringLiteral("SELECT total_changes()")).toLongLong();
    };
    const bool file = GetParam() == StoreEngine::Engine::SQLite;
    const qint64 before = file ? changes() : 0;
    const Statement year =
        statement(StatementPeriod::yearToDate(QDate(2026, 4, 30)), QStringLiteral("JOSÉ PEÑA"));
    if (file) {
        EXPECT_EQ(changes(), before);
    }
    // The April deal was split with John Smith: half of it, and half a unit.
    EXPECT_EQ(linesOf(year, QStringLiteral("Deals")),
              (QStringList{
                  "2026-01-15|1101|ÑANDÚ LTDA|NT|1.00|3900.00|1170.00|50.00|30.00|1250.00|"
                  "Paid on sheet 1|1250.00",
                  "2026-04-02|4401|ÑANDÚ LTDA|NT|0.50|1950.00|585.00|25.00|15.00|625.00|"
                  "Paid on sheet 1|625.00",
              }));
    EXPECT_EQ(linesOf(year, QStringLiteral("Sheets")),
              QStringList{"2026-04-10|Sheet 1|Week ending 04/10/2026|||||||1875.00|Net pay|"});
    EXPECT_EQ(linesOf(year, QStringLiteral("Totals")),
              (QStringList{
                  "||Net paid in the period|||||||1875.00||",
                  "||Sheets' net pay|||||||1875.00||",
                  "||Month to date, April 2026||0.50|||||1875.00||",
                  "||Year to date, 1/1/2026 to 4/30/2026||1.50|||||1875.00||",
              }));

    // The sheet was printed after March: March's statement has neither it nor the deals.
    const Statement march = statement(StatementPeriod::month(QDate(2026, 3, 1)), jose);
    EXPECT_EQ(linesOf(march, QStringLiteral("Deals")), QStringList());
    EXPECT_EQ(linesOf(march, QStringLiteral("Sheets")), QStringList());
    EXPECT_EQ(linesOf(march, QStringLiteral("Totals")),
              (QStringList{
                  "||Net paid in the period|||||||0.00||",
                  "||Sheets' net pay|||||||0.00||",
                  "||Month to date, March 2026||0.00|||||0.00||",
                  "||Year to date, 1/1/2026 to 3/31/2026||1.00|||||0.00||",
              }));
}

TEST(StatementPeriod, AMonthTheYearToADayOrTwoDates)
{
    const StatementPeriod february = StatementPeriod::month(QDate(2024, 2, 17));
    EXPECT_EQ(february, StatementPeriod::between(QDate(2024, 2, 1), QDate(2024, 2, 29)));
    EXPECT_EQ(february.text(), QStringLiteral("February 2024"));
    const StatementPeriod year = StatementPeriod::yearToDate(QDate(2024, 3, 5));
    EXPECT_EQ(year.text(), QStringLiteral("1/1/2024 to 3/5/2024"));
    EXPECT_EQ(year.monthStart(), QDate(2024, 3, 1));
    EXPECT_TRUE(year.contains(QDate(2024, 1, 1)));
    EXPECT_FALSE(year.contains(QDate(2024, 3, 6)));
    // Two dates that happen to make a whole month read as the month.
    EXPECT_EQ(StatementPeriod::between(QDate(2023, 12, 1), QDate(2023, 12, 31)).text(),
              QStringLiteral("December 2023"));
    EXPECT_EQ(StatementPeriod::between(QDate(2023, 12, 2), QDate(2023, 12, 31)).text(),
              QStringLiteral("12/2/2023 to 12/31/2023"));
}

} // namespace
