#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>

class DealDatabase;

// One SalesSummary row as the commission sheet lists and pays it: the row's
// own identity (its rowid, so that two deals sharing a stock number are told
// apart) and its 13 documented columns as stored (money as INTEGER
// ten-thousandths, the date as ISO text, NULL where empty).
struct SummaryRow
{
    qint64 rowId = 0;
    QVariantList values; // in StoreSchema::columns("SalesSummary") order
    QVariant dealId = {}; // the deal the row belongs to, where it was read

    // The stored value of a documented column; a null value for an unknown name.
    QVariant value(const QString &column) const;
};

// What marking a sheet's rows paid found: the rows it marked, and the listed
// rows that were no longer there to pay.
struct PaidMarking
{
    QList<SummaryRow> paid;          // as they stood when marked, in the order given
    QList<qint64> paidElsewhere = {}; // no longer unpaid rows of the salesperson

    // Every listed row was still unpaid and is marked now.
    bool complete() const { return paidElsewhere.isEmpty(); }
};

// The salesperson's unpaid deals and their paying.
//
// markPaid() runs inside the caller's transaction, so that the caller can
// write its hand-off file before the paid markings are committed and drop
// both together when either fails. Several desks may pay from one database:
// a row is marked by one conditional statement (still unpaid, still the
// salesperson's) whose count of changed rows tells whether another desk got
// there first, so no row is paid twice.
class CommissionPayments
{
public:
    explicit CommissionPayments(DealDatabase &database);

    // The unpaid SalesSummary rows of a salesperson (the name in any letter
    // case), oldest first; rows of one date in the order they were saved.
    // Rows held back and the rows of deals unwound whole are not listed.
    std::optional<QList<SummaryRow>> unpaid(const QString &salesPerson, QString *error) const;

    // Marks each row of the salesperson (the name in any letter case) paid,
    // in the order given, and returns the rows it marked as they stood. A row
    // no longer stored, already paid or of another salesperson (paid,
    // deleted or changed at another desk since it was listed) is named in
    // paidElsewhere; the sheet is then not to be paid at all, and the caller
    // rolls its transaction back. Stops at the first failure with the reason
    // in `error`; the caller's transaction then undoes the rows already
    // marked.
    std::optional<PaidMarking> markPaid(const QList<qint64> &rowIds, const QString &salesPerson,
                                        QString *error);
    // The same, the rows put on sheet `sheetId` by the statement that marks
    // them, and read back with their deal. On a server every row is marked
    // by one statement, whatever the length of the list.
    std::optional<PaidMarking> markPaid(const QList<qint64> &rowIds, const QString &salesPerson,
                                        std::optional<qint64> sheetId, QString *error);

    // Takes the paid marking off again, in a transaction of its own.
    bool markUnpaid(const QList<qint64> &rowIds, QString *error);

private:
    DealDatabase &m_database;
};
