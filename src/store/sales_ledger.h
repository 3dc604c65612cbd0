#pragma once

#include "commission_payments.h"
#include "common/money.h"
#include "deal_unwinds.h"
#include "pay/sheet_statement.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class DealDatabase;

// A SalesSummary row held back from every sheet until it is released.
struct HeldRow
{
    SummaryRow row;
    QString reason;
    QString heldAt; // local time, "YYYY-MM-DD HH:MM:SS"
};

// A draw paid to a salesperson, and what is still open of it.
struct Draw
{
    qint64 id = 0;
    QString salesPerson;
    QDate paidOn;
    Money amount;
    bool recoverable = true;
    Money open;
};

// What a salesperson's sheets settle besides the deals: holds, chargebacks,
// draws and the negative net of earlier sheets. Names are kept in capitals,
// as the SalesSummary rows keep them.
//
// Writes that are the user's own command (hold, release, record a draw) run
// in a transaction of their own with their audit entry; the others run in
// the caller's transaction (the sheet's, the void's).
class SalesLedger
{
public:
    explicit SalesLedger(DealDatabase &database);

    // Holds an unpaid row back from every sheet. Refused when it is paid,
    // held already or no longer stored, or when the reason is empty.
    bool hold(qint64 rowId, const QString &reason, QString *error);
    // Puts a held row back on the salesperson's sheets.
    bool release(qint64 rowId, QString *error);
    // The salesperson's held rows, oldest first (deals unwound whole left out).
    std::optional<QList<HeldRow>> held(const QString &salesPerson, QString *error) const;

    // Records a draw paid; its identity.
    std::optional<qint64> recordDraw(const QString &salesPerson, const QDate &paidOn, Money amount,
                                     bool recoverable, QString *error);
    // The salesperson's draws with something still open, oldest first.
    std::optional<QList<Draw>> openDraws(const QString &salesPerson, QString *error) const;

    // The salesperson's chargebacks no sheet has deducted, oldest first.
    std::optional<QList<Chargeback>> openChargebacks(const QString &salesPerson,
                                                     QString *error) const;
    // What earlier sheets of the salesperson paid below zero and later
    // sheets have not yet deducted.
    std::optional<Money> carried(const QString &salesPerson, QString *error) const;
    // What a sheet of the salesperson earning `earned` (its lines and its
    // bonus) on `on` deducts of that carried net and of the open draws, as
    // they stand now (inside the sheet's transaction when it pays).
    std::optional<SheetStatement::Settlement> settle(const QString &salesPerson, Money earned,
                                                     const QDate &on, QString *error) const;

    // Inside the sheet's transaction: puts the open chargebacks `ids` of the
    // salesperson on the sheet, in the order they were made. Those another sheet took
    // meanwhile (or that are not the salesperson's) are named in `missing`.
    std::optional<QList<Chargeback>> takeChargebacks(const QList<qint64> &ids,
                                                     const QString &salesPerson, qint64 sheetId,
                                                     QList<qint64> &missing, QString *error);
    // Inside the sheet's transaction: records what the sheet recovered and
    // wrote off of each draw, with their audit entries.
    bool recordSettlement(qint64 sheetId, const QString &salesPerson, const QDate &on,
                          const SheetStatement::Settlement &settlement, QString *error);
    // Of the rows a sheet just marked paid, those held or of a deal unwound
    // whole at another desk since they were listed.
    std::optional<QList<qint64>> heldOrUnwound(qint64 sheetId, QString *error) const;

    // Inside a void's transaction: why the sheet may not be voided (a deal
    // it paid was charged back since; its negative net was deducted by a
    // later sheet), or an empty text; then its chargebacks are opened again.
    static std::optional<QString> voidRefusal(QSqlDatabase db, qint64 sheetId, QString *error);
    static bool reopenChargebacks(QSqlDatabase db, qint64 sheetId, QString *error);

    // Chargebacks already made on each of the rows, by row.
    std::optional<QList<Chargeback>> chargebacksOn(const QList<qint64> &rowIds,
                                                   QString *error) const;
    // Inside the unwind's transaction: records a chargeback; its identity.
    std::optional<qint64> recordChargeback(const Chargeback &chargeback, qint64 unwindId,
                                           QString *error);

    // The statements a sheet reads its balances and checks its rows with,
    // for the benchmarks' floors to run the same: the rows of sheet ? held
    // or unwound whole; the sheets carrying or deducting a negative net; the
    // draws of salesperson ? (in capitals) with what valid sheets took.
    static QString heldOrUnwoundStatement();
    static QString carriedStatement();
    static QString openDrawsStatement();

private:
    std::optional<QList<Chargeback>> chargebacks(const QString &where, const QVariantList &values,
                                                 QString *error) const;

    DealDatabase &m_database;
};
