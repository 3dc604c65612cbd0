// Two desks paying from one database: a deal is never paid twice, and a
// sheet some of whose deals another desk paid, deleted or moved meanwhile
// pays nothing and names them.
#include "commission_sheet_fixture.h"
#include "reports/sheet_payment.h"
#include "second_desk.h"
#include "store/commission_payments.h"

#include <QSqlQuery>

namespace {

const QString kJohn = QStringLiteral("John Smith");

class SheetTwoDesks : public CommissionSheetTest, public SecondDesk
{
protected:
    // JOHN SMITH's unpaid rows as this desk lists them now.
    QList<SummaryRow> listed()
    {
        QString error;
        const auto rows = CommissionPayments(*m_database).unpaid(kJohn, &error);
        EXPECT_TRUE(rows) << error.toStdString();
        return rows.value_or(QList<SummaryRow>());
    }
    static QList<qint64> idsOf(const QList<SummaryRow> &rows)
    {
        QList<qint64> ids;
        for (const SummaryRow &row : rows)
            ids << row.rowId;
        return ids;
    }
    static QList<SummaryRow> only(const QList<SummaryRow> &rows, const QList<qint64> &ids)
    {
        QList<SummaryRow> kept;
        for (const SummaryRow &row : rows) {
            if (ids.contains(row.rowId))
                kept << row;
        }
        return kept;
    }
    qint64 sheetCount()
    {
        QSqlQuery query(m_database->connection());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT count(*) FROM Sheets")));
        return query.next() ? query.value(0).toLongLong() : -1;
    }

    TempProgramFolder m_otherFolder; // the other desk's own data.txt lies here
};

TEST_F(SheetTwoDesks, ADealPaidAtAnotherDeskMeanwhilePaysNothingHere)
{
    SummaryValues accented;
    accented.stockNumber = QStringLiteral("40177");
    accented.customer = QString::fromUtf8("ZOË ÅBERG");
    accented.date = QStringLiteral("2005-03-02");
    accented.totalCommission = QStringLiteral("350");
    const qint64 first = summaryRow(accented);
    const qint64 second = unpaid("A1234", "BOB BROWN", "2005-03-03", "437.5");
    const qint64 third = unpaid("U5530A", "ANN LEE", "2005-03-04", "100");
    const QList<SummaryRow> onScreen = listed();
    m_dir.writeBytes(QStringLiteral("data.txt"), "last week\r\n");

    // The other desk prints its sheet of one of them first.
    const SheetPayment::Outcome there =
        SheetPayment::pay(otherDesk(*m_database),
                          m_otherFolder.filePath(QStringLiteral("data.txt")), {kJohn, {second}});
    ASSERT_TRUE(there.paid) << there.error.toStdString();

    const SheetPayment::Outcome here =
        SheetPayment::pay(*m_database, dataFilePath(), {kJohn, idsOf(onScreen)});
    EXPECT_FALSE(here.paid);
    EXPECT_EQ(here.sheetId, 0);
    EXPECT_EQ(here.paidElsewhere, QList<qint64>{second});
    EXPECT_EQ(paidRows(), QList<qint64>{second}); // paid once, by the other desk
    EXPECT_EQ(sheetCount(), 1);
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("data.txt")), QByteArray("last week\r\n"));
    EXPECT_EQ(SheetPayment::paidElsewhereMessage(only(onScreen, here.paidElsewhere)),
              QStringLiteral("These deals were paid or removed at another desk since the list "
                             "was shown:\n\nStock # A1234, 03/03/2005, BOB BROWN\n\nNothing has "
                             "been marked paid and no sheet was printed. The list now shows the "
                             "deals still unpaid; print the sheet again from it."));

    EXPECT_EQ(idsOf(listed()), (QList<qint64>{first, third}));
}

TEST_F(SheetTwoDesks, ADealDeletedOrGivenToAnotherSalespersonMeanwhileIsNamed)
{
    const qint64 first = unpaid("40177", "CARL DIAZ", "2005-03-02", "350");
    const qint64 second = unpaid("A1234", "BOB BROWN", "2005-03-03", "437.5");
    const qint64 third = unpaid("U5530A", "ANN LEE", "2005-03-04", "100");
    const QList<SummaryRow> onScreen = listed();

    atOtherDesk(*m_database, QStringLiteral("DELETE FROM SalesSummary WHERE rowid = ?"), {first});
    atOtherDesk(
        *m_database,
        QStringLiteral("UPDATE SalesSummary SET Sales_Person = 'MARY JONES' WHERE rowid = ?"),
        {third});

    const SheetPayment::Outcome here =
        SheetPayment::pay(*m_database, dataFilePath(), {kJohn, idsOf(onScreen)});
    EXPECT_FALSE(here.paid);
    EXPECT_EQ(here.paidElsewhere, (QList<qint64>{first, third}));
    EXPECT_TRUE(paidRows().isEmpty()); // the row still unpaid was not paid either
    EXPECT_EQ(sheetCount(), 0);
    EXPECT_FALSE(m_dir.exists(QStringLiteral("data.txt")));
    EXPECT_EQ(SheetPayment::paidElsewhereMessage(only(onScreen, here.paidElsewhere)),
              QStringLiteral("These deals were paid or removed at another desk since the list "
                             "was shown:\n\nStock # 40177, 03/02/2005, CARL DIAZ\nStock # U5530A, "
                             "03/04/2005, ANN LEE\n\nNothing has been marked paid and no sheet "
                             "was printed. The list now shows the deals still unpaid; print the "
                             "sheet again from it."));
    EXPECT_EQ(idsOf(listed()), QList<qint64>{second});
}

} // namespace
