#pragma once

#include "common/money.h"
#include "commission_payments.h"

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The desk a commission sheet is printed at: the computer and the data
// folder whose data.txt it writes. Several desks may share one database.
struct SheetDesk
{
    QString computer;
    QString folder; // absolute

    // This computer, with the data folder that holds the file at `dataFilePath`.
    static SheetDesk of(const QString &dataFilePath);
};

// What a commission sheet is headed with, as the sheet window asked it.
struct SheetHeading
{
    QString salesPerson;
    QString weekEnding; // as typed
    QString bonusDescription;
    std::optional<Money> bonus; // none when no bonus was given
    SheetDesk desk = {};        // where it is printed
};

// A commission sheet as recorded.
struct RecordedSheet
{
    qint64 id = 0;
    SheetHeading heading;
    std::optional<Money> total; // the total commission of its deals; none when none was listed
    QString printedAt;          // local time, "YYYY-MM-DD HH:MM:SS"
    QString voidedAt;           // empty while valid
    QByteArray lines;           // the text of data.txt it wrote
    // A sheet that deducted chargebacks, a draw or an earlier negative net
    // pays a net of its own; none on the others, whose foot is the total.
    std::optional<Money> recovered = {}; // of draws
    std::optional<Money> carriedIn = {}; // of earlier sheets' negative net
    std::optional<Money> netPay = {};
    // The chargebacks a valid sheet deducted, in the order of its lines
    // after the deals: the sheet that had paid each (none for a deal paid
    // before sheets were recorded). Read by find() alone.
    QList<std::optional<qint64>> chargebacksPaidOn = {};

    bool isVoided() const { return !voidedAt.isEmpty(); }
    // The foot of the sheet: the commission and the bonus together.
    Money totalCommission() const
    {
        return total.value_or(Money()) + heading.bonus.value_or(Money());
    }
    // What the sheet paid: its net where it deducted anything, else its foot.
    Money paid() const { return netPay.value_or(totalCommission()); }
};

// The printed commission sheets: each one a record in the database, written
// in the same transaction as the paid markings of its deals, so that no deal
// is ever paid without a sheet that lists it.
//
// record(), attachRows() and complete() run inside the caller's transaction;
// voidSheet() runs in one of its own. Every sheet paid and voided is entered
// in the audit trail in its transaction.
class SheetRecords
{
public:
    explicit SheetRecords(QSqlDatabase db);

    // A new sheet, stamped with the current time; its identity.
    std::optional<qint64> record(const SheetHeading &heading, QString *error);
    // Ties the SalesSummary rows (just marked paid) to the sheet.
    bool attachRows(qint64 sheetId, const QList<qint64> &rowIds, QString *error);
    // Stores the sheet's data.txt text and total, with its rows as they stand
    // now, and enters the payment in the audit trail.
    bool complete(qint64 sheetId, const QByteArray &lines, std::optional<Money> total,
                  QString *error);
    // The same for a sheet just recorded with `heading` whose rows, as they
    // stand now with their deals (CommissionPayments::markPaid on the sheet),
    // are `rows`, in any order: nothing is read back.
    bool complete(qint64 sheetId, const SheetHeading &heading, QList<SummaryRow> rows,
                  const QByteArray &lines, std::optional<Money> total, QString *error);

    // Inside the sheet's transaction: what a sheet of chargebacks or draws
    // recovered, deducted of earlier sheets, and paid.
    bool recordNet(qint64 sheetId, const QString &salesPerson, Money recovered,
                   Money carriedIn, Money netPay, QString *error);

    std::optional<RecordedSheet> find(qint64 sheetId, QString *error) const;
    // A salesperson's sheets (the name in any letter case), newest first.
    std::optional<QList<RecordedSheet>> ofSalesPerson(const QString &salesPerson,
                                                      QString *error) const;
    // Every sheet printed from `first` through `last` (days), voided or not,
    // in the order they were recorded.
    std::optional<QList<RecordedSheet>> printedBetween(const QDate &first, const QDate &last,
                                                       QString *error) const;
    // The newest sheet not voided printed at `desk` (a sheet recorded before
    // sheets named their desk counts for every desk); an empty list when
    // there is none.
    std::optional<QList<RecordedSheet>> latestValid(const SheetDesk &desk, QString *error) const;
    // Whether any sheet was ever recorded at `desk`, voided or not.
    std::optional<bool> anyRecorded(const SheetDesk &desk, QString *error) const;

    enum class VoidOutcome { Voided, AlreadyVoided, RowsChanged, Missing, Failed, Refused };
    // Voids a sheet: its rows become unpaid again, its chargebacks open again
    // and its draw recoveries count no more; the sheet stays recorded as
    // voided. Refused when any of its rows was changed, deleted or paid again
    // since it was printed; Refused, with the reason in `error`, when a deal
    // it paid was charged back since or a later sheet deducted its negative
    // net.
    VoidOutcome voidSheet(qint64 sheetId, QString *error);

private:
    std::optional<QString> snapshot(qint64 sheetId, QString *error) const;
    // The sheet's rows with their deals, in the order of their rowids.
    std::optional<QList<SummaryRow>> rowsOn(qint64 sheetId, QString *error) const;
    std::optional<QList<RecordedSheet>> select(const QString &where, const QVariantList &values,
                                               QString *error) const;
    bool auditRows(qint64 sheetId, const QString &action, const QString &before,
                   const QString &after, QString *error);

    QSqlDatabase m_db;
};
