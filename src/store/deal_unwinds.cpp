#include "store/deal_unwinds.h"

#include "common/money_format.h"
#include "pay/split_share.h"
#include "store/audit_trail.h"
#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/sales_ledger.h"
#include "store/sql_transaction.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QHash>
#include <QSqlQuery>

namespace {

// A SalesSummary row of the deal as the unwind read it (rowid first, then
// the documented columns), with what it paid.
struct DealRow
{
    QVariantList values;
    std::optional<qint64> sheetId;

    QVariant value(const char *column) const
    {
        static const QStringList columns =
            StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary));
        return values.value(columns.indexOf(QString::fromLatin1(column)) + 1);
    }
    qint64 rowId() const { return values.value(0).toLongLong(); }
    bool paid() const { return value("Paid").toInt() != 0; }
    // An amount as the sheet paid it: rounded to the cent.
    Money amount(const char *column) const
    {
        return ColumnValue::moneyFrom(value(column)).value_or(Money()).roundedToCent();
    }
};

// What the earlier chargebacks of one row took, figure by figure.
struct Taken
{
    Money gross, commission, spiff, warranty, amount;
};

QString money(Money amount)
{
    return MoneyFormat::dollarsGrouped(amount);
}

std::optional<QList<UnwindRecord>> unwindsIn(QSqlDatabase db, DealId deal, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT \"UnwindId\", \"UnwoundOn\", \"Reason\", \"Part\", "
                                          "\"Amount\", \"Whole\" FROM \"Unwinds\" WHERE "
                                          "\"DealId\" = ? ORDER BY \"UnwindId\""),
                           error) ||
        !StoreSql::exec(query, {deal}, error))
        return std::nullopt;
    QList<UnwindRecord> unwinds;
    while (query.next()) {
        UnwindRecord unwind;
        unwind.id = query.value(0).toLongLong();
        unwind.deal = deal;
        unwind.on = ColumnValue::dateFrom(query.value(1));
        unwind.reason = query.value(2).toString();
        unwind.part = query.value(3).toString();
        unwind.amount = ColumnValue::moneyFrom(query.value(4));
        unwind.whole = ColumnValue::yesNoFrom(query.value(5));
        unwinds << unwind;
    }
    return unwinds;
}

std::optional<std::optional<UnwindRecord>>
wholeOf(const std::optional<QList<UnwindRecord>> &unwinds)
{
    if (!unwinds)
        return std::nullopt;
    for (const UnwindRecord &unwind : *unwinds) {
        if (unwind.whole)
            return std::optional(unwind);
    }
    return std::optional<UnwindRecord>();
}


bool refuse(QString &error, const QString &why)
{
    error = why;
    return false;
}

} // namespace

QString UnwindRequest::partText(Part part)
{
    switch (part) {
    case Part::Whole:
        return QStringLiteral("Whole deal");
    case Part::WarrantySpiff:
        return QStringLiteral("Warranty spiff");
    case Part::Spiff:
        return QStringLiteral("Spiff");
    case Part::Amount:
        return QStringLiteral("Amount");
    }
    return {};
}

DealUnwinds::DealUnwinds(DealDatabase &database) : m_database(database)
{
}

std::optional<QList<UnwindRecord>> DealUnwinds::of(DealId deal, QString *error) const
{
    if (!m_database.usable()) {
        if (error)
            *error = QStringLiteral("The deal database is not open.");
        return std::nullopt;
    }
    std::optional<QList<UnwindRecord>> unwinds;
    m_database.reading(
        [&] {
            unwinds = unwindsIn(m_database.connection(), deal, error);
            return unwinds.has_value();
        },
        error);
    return unwinds;
}

std::optional<std::optional<UnwindRecord>> DealUnwinds::whole(DealId deal, QString *error) const
{
    return wholeOf(of(deal, error));
}

std::optional<std::optional<UnwindRecord>> DealUnwinds::wholeIn(QSqlDatabase db, DealId deal,
                                                                QString *error)
{
    return wholeOf(unwindsIn(db, deal, error));
}



QString DealUnwinds::unwoundMessage(const UnwindRecord &unwind)
{
    return QStringLiteral("This deal was unwound on %1: %2")
        .arg(DateFormat::picture(unwind.on, QStringLiteral("mm/dd/yyyy")), unwind.reason);
}

DealUnwinds::Outcome DealUnwinds::unwind(const UnwindRequest &request,
                                         const std::optional<DealFingerprint> &asRecalled)
{
    Outcome outcome;
    if (request.reason.trimmed().isEmpty()) {
        outcome.error = QStringLiteral("Give the reason the deal is unwound.");
        return outcome;
    }
    if (!request.on.isValid()) {
        outcome.error = QStringLiteral("The unwind needs the day it happened.");
        return outcome;
    }
    if (request.part == UnwindRequest::Part::Amount &&
        (request.amount.isNegative() || request.amount.roundedToCent().isZero())) {
        outcome.error = QStringLiteral("Type the amount to charge back, above $0.00.");
        return outcome;
    }
    if (!m_database.usable()) {
        outcome.error = QStringLiteral("The deal database is not open.");
        return outcome;
    }
    QString error;
    outcome.done = m_database.transact(
        [&] {
            outcome = Outcome(); // each attempt from the start
            SqlTransaction transaction(m_database.connection());
            if (!transaction.begin(&error) || !unwindOnce(request, asRecalled, outcome))
                return false;
            return transaction.commit(&error);
        },
        &error);
    if (!outcome.done && outcome.error.isEmpty())
        outcome.error = error;
    if (!outcome.done)
        outcome.chargebacks.clear();
    return outcome;
}

bool DealUnwinds::unwindOnce(const UnwindRequest &request,
                             const std::optional<DealFingerprint> &asRecalled, Outcome &outcome)
{
    QString &error = outcome.error;
    // The deal's rows are locked as they are read: a sheet paying them at
    // another desk either committed first, and the deal is paid now, or waits.
    const std::optional<DealFingerprint> stored =
        DealFingerprint::read(m_database, request.deal, &error);
    if (!stored)
        return false;
    if (stored->recall.isEmpty())
        return refuse(error, QStringLiteral("The deal is no longer stored; it was not unwound."));
    if (asRecalled && *asRecalled != *stored) {
        outcome.changedElsewhere = true;
        return refuse(error, QStringLiteral("This deal was changed, paid or deleted at another "
                                            "desk since it was recalled. It was not unwound. "
                                            "Recall the deal again to see it as it is now."));
    }
    const std::optional<std::optional<UnwindRecord>> earlier =
        wholeIn(m_database.connection(), request.deal, &error);
    if (!earlier)
        return false;
    if (*earlier)
        return refuse(error, unwoundMessage(**earlier) + QStringLiteral(". It cannot be unwound "
                                                                        "again."));

    // Each row with the sheet that paid it.
    QList<DealRow> rows;
    QSqlQuery sheets(m_database.connection());
    if (!StoreSql::prepare(sheets,
                           QStringLiteral("SELECT rowid, \"SheetId\" FROM \"SalesSummary\" WHERE "
                                          "\"DealId\" = ?"),
                           &error) ||
        !StoreSql::exec(sheets, {request.deal}, &error))
        return false;
    QHash<qint64, std::optional<qint64>> sheetOf;
    while (sheets.next())
        sheetOf.insert(sheets.value(0).toLongLong(),
                       sheets.value(1).isNull() ? std::nullopt
                                                : std::optional(sheets.value(1).toLongLong()));
    QList<qint64> paidRows;
    for (const QVariantList &values : stored->summaryRows) {
        DealRow row{values, sheetOf.value(values.value(0).toLongLong())};
        if (row.paid())
            paidRows << row.rowId();
        rows << row;
    }
    const bool wholeDeal = request.part == UnwindRequest::Part::Whole;
    if (!wholeDeal && paidRows.isEmpty())
        return refuse(error, QStringLiteral("This deal is not paid yet: correct it on the "
                                            "worksheet rather than unwind a part of it."));

    SalesLedger ledger(m_database);
    const std::optional<QList<Chargeback>> before = ledger.chargebacksOn(paidRows, &error);
    if (!before)
        return false;
    QHash<qint64, Taken> taken;
    for (const Chargeback &line : *before) {
        Taken &sum = taken[line.summaryRow];
        sum.gross += line.gross;
        sum.commission += line.commission;
        sum.spiff += line.spiff;
        sum.warranty += line.warranty;
        sum.amount += line.amount;
    }

    // A typed amount is shared as the deal's figures are.
    std::pair<Money, Money> shares{request.amount.roundedToCent(), Money()};
    if (rows.size() == 2)
        shares = SplitShare::divide(request.amount.roundedToCent(),
                                    SplitShare::ofUnitCount(ColumnValue::moneyFrom(
                                        rows.first().value("UnitCount")).value_or(Money())));

    Money requested, open, paidTotal;
    bool beyondOpen = false;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const DealRow &row = rows[i];
        if (!row.paid()) {
            if (wholeDeal)
                ++outcome.rowsTakenOff;
            continue;
        }
        const Taken sum = taken.value(row.rowId());
        Chargeback line;
        line.salesPerson = row.value("Sales_Person").toString();
        line.on = request.on;
        line.summaryRow = row.rowId();
        line.deal = request.deal;
        line.paidOnSheet = row.sheetId;
        line.stockNumber = row.value("Stock_Number").toString();
        line.customer = row.value("Customer_Name").toString();
        line.unitClass = row.value("TCU").toString();
        const Money rowOpen = row.amount("TotalCommission") - sum.amount;
        paidTotal += row.amount("TotalCommission");
        open += rowOpen;
        switch (request.part) {
        case UnwindRequest::Part::Whole:
            line.gross = row.amount("Payable_Gross") - sum.gross;
            line.commission = row.amount("Commission") - sum.commission;
            line.spiff = row.amount("Spiff") - sum.spiff;
            line.warranty = row.amount("Warranty") - sum.warranty;
            line.amount = rowOpen;
            break;
        case UnwindRequest::Part::WarrantySpiff:
            line.warranty = row.amount("Warranty") - sum.warranty;
            line.amount = line.warranty;
            break;
        case UnwindRequest::Part::Spiff:
            line.spiff = row.amount("Spiff") - sum.spiff;
            line.amount = line.spiff;
            break;
        case UnwindRequest::Part::Amount:
            line.commission = i == 0 ? shares.first : shares.second;
            line.amount = line.commission;
            break;
        }
        requested += line.amount;
        beyondOpen = beyondOpen || line.amount > rowOpen;
        if (!line.amount.isZero() && !line.amount.isNegative())
            outcome.chargebacks << line;
    }
    if (!wholeDeal && beyondOpen)
        return refuse(error,
                      QStringLiteral("A chargeback of %1 is more than the %2 of this deal's %3 "
                                     "paid that is still open to be charged back.")
                          .arg(money(request.part == UnwindRequest::Part::Amount
                                         ? request.amount.roundedToCent()
                                         : requested),
                               money(open), money(paidTotal)));
    if (!wholeDeal && outcome.chargebacks.isEmpty())
        return refuse(error, QStringLiteral("Nothing of the %1 of this deal is left to charge "
                                            "back.")
                                 .arg(UnwindRequest::partText(request.part).toLower()));

    QSqlQuery insert(m_database.connection());
    if (!StoreSql::prepare(insert,
                           StoreSql::insertReturning(
                               QStringLiteral("Unwinds"),
                               {QStringLiteral("DealId"), QStringLiteral("UnwoundOn"),
                                QStringLiteral("Reason"), QStringLiteral("Part"),
                                QStringLiteral("Amount"), QStringLiteral("Whole")},
                               QStringLiteral("UnwindId")),
                           &error))
        return false;
    const std::optional<qint64> unwindId = StoreSql::insertedKey(
        insert,
        {request.deal, ColumnValue::date(request.on), request.reason,
         UnwindRequest::partText(request.part),
         request.part == UnwindRequest::Part::Amount
             ? ColumnValue::money(request.amount.roundedToCent())
             : QVariant(QMetaType(QMetaType::LongLong)),
         ColumnValue::yesNo(wholeDeal)},
        &error);
    if (!unwindId)
        return false;
    const qint64 unwound = *unwindId;
    for (Chargeback &line : outcome.chargebacks) {
        const std::optional<qint64> id = ledger.recordChargeback(line, unwound, &error);
        if (!id)
            return false;
        line.id = *id;
    }
    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Deal unwound");
    entry.tableName = QStringLiteral("Unwinds");
    entry.rowKey = unwound;
    entry.dealId = request.deal;
    if (!rows.isEmpty()) {
        entry.stockNumber = rows.first().value("Stock_Number").toString();
        entry.salesPerson = rows.first().value("Sales_Person").toString();
    }
    entry.after = QStringLiteral("UnwoundOn: %1\nReason: %2\nPart: %3\nAmount: %4")
                      .arg(ColumnValue::isoDate(request.on), request.reason,
                           UnwindRequest::partText(request.part),
                           request.part == UnwindRequest::Part::Amount
                               ? MoneyFormat::plain(request.amount.roundedToCent())
                               : QString());
    return AuditTrail::write(m_database.connection(), entry, &error);
}
