#pragma once

#include "common/money.h"
#include "deal_fingerprint.h"
#include "deal_id.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class DealDatabase;

// A deal taken back after it was sold: the car came back, the finance
// contract was rejected, a product was cancelled. The deal itself is never
// edited; what was paid on it is owed back as chargebacks that the next
// sheets deduct, and a deal not yet paid is taken off every future sheet.
struct UnwindRequest
{
    enum class Part {
        Whole,         // the whole deal
        WarrantySpiff, // what was paid of the warranty spiff
        Spiff,         // what was paid of the spiff
        Amount,        // an amount typed
    };
    DealId deal = 0;
    QDate on;              // the day of the unwind
    QString reason;        // "Returned vehicle", ... or what the user typed
    Part part = Part::Whole;
    Money amount = {};     // Part::Amount: the amount to charge back

    // "Whole deal", "Warranty spiff", "Spiff", "Amount"
    static QString partText(Part part);
};

struct UnwindRecord
{
    qint64 id = 0;
    DealId deal = 0;
    QDate on;
    QString reason;
    QString part;                   // partText()
    std::optional<Money> amount;    // the amount typed, for Part::Amount
    bool whole = false;
};

// A chargeback: what one salesperson's row of an unwound deal owes back,
// in positive amounts, until a sheet deducts it.
struct Chargeback
{
    qint64 id = 0;
    QString salesPerson;
    QDate on;
    qint64 summaryRow = 0;
    DealId deal = 0;
    std::optional<qint64> paidOnSheet; // the sheet that paid the row
    std::optional<qint64> sheetId;     // the sheet that deducted it; none while open
    QString stockNumber;
    QString customer;
    QString unitClass;                 // TCU
    Money gross;
    Money commission;
    Money spiff;
    Money warranty;
    Money amount;                      // the total charged back
};

// Unwinds deals, each in one transaction with its chargebacks and audit
// entries. Of two desks unwinding or paying one deal at once, one wins and
// the other is refused: the unwind locks the deal's rows as it reads them,
// and compares them with the deal as it was recalled.
class DealUnwinds
{
public:
    explicit DealUnwinds(DealDatabase &database);

    // The deal's unwinds, oldest first; empty when it was never unwound.
    std::optional<QList<UnwindRecord>> of(DealId deal, QString *error) const;
    // The unwind that took the whole deal back, when there was one.
    std::optional<std::optional<UnwindRecord>> whole(DealId deal, QString *error) const;
    // The same on a connection, inside the caller's transaction.
    static std::optional<std::optional<UnwindRecord>> wholeIn(QSqlDatabase db, DealId deal,
                                                              QString *error);

    struct Outcome
    {
        bool done = false;
        bool changedElsewhere = false; // the deal changed at another desk since recalled
        QString error;                 // why not done
        QList<Chargeback> chargebacks; // what was charged back, one per paid row
        int rowsTakenOff = 0;          // unpaid rows taken off future sheets
    };
    // Unwinds the deal as `asRecalled` shows it (std::nullopt: do not compare).
    // Refused with the reason in Outcome::error: a deal unwound whole already,
    // a part of a deal not yet paid (it is corrected on the worksheet), a part
    // with nothing left of it to charge back, an amount beyond what is still
    // open of what was paid (the open amount named), a reason left empty.
    Outcome unwind(const UnwindRequest &request,
                   const std::optional<DealFingerprint> &asRecalled = std::nullopt);

    // "This deal was unwound on 03/14/2026: Returned vehicle"
    static QString unwoundMessage(const UnwindRecord &unwind);

private:
    bool unwindOnce(const UnwindRequest &request,
                    const std::optional<DealFingerprint> &asRecalled, Outcome &outcome);

    DealDatabase &m_database;
};
