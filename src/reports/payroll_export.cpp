#include "reports/payroll_export.h"

#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/store_sql.h"

#include <QSqlQuery>
#include <QStringList>

#include <array>

namespace PayrollExport {

namespace {

bool failed(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Every valid sheet printed in the period with its salesperson's payroll
// codes (none where the salesperson has none), by salesperson and sheet.
QString sheetsStatement()
{
    const QString ledgerSum = QStringLiteral(
        "CAST(COALESCE((SELECT SUM(l.\"Amount\") FROM \"Ledger\" l WHERE l.\"SheetId\" = "
        "s.\"SheetId\" AND l.\"Kind\" = '%1'), 0) AS BIGINT)");
    return QStringLiteral(
               "SELECT s.\"SheetId\", s.\"SalesPerson\", s.\"Total\", s.\"Bonus\", %1, %2, "
               "s.\"Recovered\", s.\"CarriedIn\", s.\"NetPay\", p.\"SalesPerson\", "
               "p.\"PayrollId\", p.\"CommissionCode\", p.\"BonusCode\", p.\"ChargebackCode\", "
               "p.\"DrawRecoveryCode\" FROM \"Sheets\" s LEFT JOIN \"PayrollCodes\" p ON "
               "p.\"SalesPerson\" = s.\"SalesPerson\" WHERE s.\"VoidedAt\" IS NULL AND "
               "s.\"PrintedAt\" >= ? AND s.\"PrintedAt\" < ? ORDER BY s.\"SalesPerson\", "
               "s.\"SheetId\"")
        .arg(ledgerSum.arg(QStringLiteral("Volume bonus")),
             ledgerSum.arg(QStringLiteral("Chargeback")));
}

Money moneyOf(const QVariant &value)
{
    return value.isNull() ? Money() : Money::fromUnits(value.toLongLong());
}

// A sheet's amount of each kind, before a negative net is carried on.
std::array<Money, kEarningsKinds> amountsOf(const SheetPay &sheet)
{
    return {sheet.total - sheet.volumeBonus + sheet.chargebacks,
            sheet.bonus + sheet.volumeBonus, -sheet.chargebacks - sheet.carriedIn,
            -sheet.recovered};
}

} // namespace

std::optional<QList<Row>> rowsOf(const PayrollCodes &codes, const QList<SheetPay> &sheets,
                                 QString *error)
{
    std::array<Money, kEarningsKinds> sums = {};
    std::array<QList<qint64>, kEarningsKinds> from = {};
    for (const SheetPay &sheet : sheets) {
        std::array<Money, kEarningsKinds> amounts = amountsOf(sheet);
        const Money net = amounts[0] + amounts[1] + amounts[2] + amounts[3];
        if (sheet.netPay && *sheet.netPay != net) {
            failed(error, QStringLiteral("Sheet %1 of %2 does not add up to its net pay; "
                                         "nothing was written.")
                              .arg(sheet.sheetId)
                              .arg(codes.salesPerson));
            return std::nullopt;
        }
        // A negative net pay is paid as nothing: the ledger carries it to a
        // later sheet, which deducts it. (A sheet without a recorded net pay,
        // whose foot alone went below zero, carries nothing.)
        if (sheet.netPay && net < Money())
            amounts[static_cast<int>(EarningsKind::Chargeback)] -= net;
        for (int kind = 0; kind < kEarningsKinds; ++kind) {
            if (amounts[kind].isZero())
                continue;
            sums[kind] += amounts[kind];
            from[kind] << sheet.sheetId;
        }
    }
    QList<Row> rows;
    for (int kind = 0; kind < kEarningsKinds; ++kind) {
        if (sums[kind].isZero())
            continue;
        const auto earnings = static_cast<EarningsKind>(kind);
        rows << Row{codes.salesPerson, codes.payrollId, earnings, codes.codeFor(earnings),
                    sums[kind], from[kind]};
    }
    return rows;
}

std::optional<QList<Row>> read(DealDatabase &database, const Period &period, QString *error)
{
    if (!database.isOpen()) {
        failed(error, QStringLiteral("The deal database is not open."));
        return std::nullopt;
    }
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    QString why;
    if (!StoreSql::prepare(query, sheetsStatement(), &why) ||
        !StoreSql::exec(query,
                        {period.from.toString(Qt::ISODate),
                         period.to.addDays(1).toString(Qt::ISODate)},
                        &why)) {
        failed(error, QStringLiteral("The commission sheets could not be read: %1").arg(why));
        return std::nullopt;
    }
    // Each salesperson's sheets, gathered under the codes the roster keeps
    // (the name in any letter case) and named as on their first sheet.
    struct Person
    {
        QString key;
        PayrollCodes codes;
        QList<SheetPay> sheets;
    };
    QList<Person> people;
    QStringList missing;
    while (query.next()) {
        const QString name = query.value(1).toString();
        PayrollCodes codes{query.value(9).toString(), query.value(10).toString(), {}};
        for (int i = 0; i < kEarningsKinds; ++i)
            codes.codes[i] = query.value(11 + i).toString();
        if (codes.payrollId.isEmpty()) {
            if (!missing.contains(name, Qt::CaseInsensitive))
                missing << name;
            continue;
        }
        SheetPay sheet{.sheetId = query.value(0).toLongLong(),
                       .total = moneyOf(query.value(2)),
                       .bonus = moneyOf(query.value(3)),
                       .volumeBonus = moneyOf(query.value(4)),
                       .chargebacks = moneyOf(query.value(5)),
                       .recovered = moneyOf(query.value(6)),
                       .carriedIn = moneyOf(query.value(7)),
                       .netPay = query.value(8).isNull()
                                     ? std::nullopt
                                     : std::optional(moneyOf(query.value(8)))};
        if (people.isEmpty() || people.last().key != codes.salesPerson) {
            const QString key = codes.salesPerson;
            codes.salesPerson = name;
            people.append({key, codes, {}});
        }
        people.last().sheets << sheet;
    }
    if (!missing.isEmpty()) {
        failed(error, QStringLiteral("No payroll ID is recorded for %1. Enter it with Payroll… "
                                     "in Setup > Add/Delete Salesperson; nothing was written.")
                          .arg(missing.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    QList<Row> rows;
    for (const Person &person : people) {
        const std::optional<QList<Row>> own = rowsOf(person.codes, person.sheets, error);
        if (!own)
            return std::nullopt;
        rows << *own;
    }
    return rows;
}

} // namespace PayrollExport
