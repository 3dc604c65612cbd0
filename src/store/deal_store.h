#pragma once

#include "deal_fingerprint.h"
#include "deal_unwinds.h"
#include "deal_id.h"
#include "store_sql.h"

#include "worksheet/deal.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class DealDatabase;
struct DealRows;

// What the worksheet needs to know about a recalled deal before it shows it.
struct RecalledDealState
{
    bool paid = false;        // a SalesSummary row of the deal is marked paid
    int summaryRowCount = 0;  // 1 for a plain deal, 2 for a split deal
    QString lastCustomerName; // Customer_Name of its last SalesSummary row
};

// Saves, finds, recalls and deletes deals in the deal database.
//
// Every operation that writes runs in one transaction: all of a deal's rows
// are written, replaced or removed together, and a failure leaves the
// database as it was and returns the reason in `error`. A deal with a paid
// SalesSummary row is never replaced or deleted. Given the deal as it was
// recalled, a replace or delete also refuses a deal that another desk has
// changed, paid or deleted since.
//
// Searches take the user's text as data: quotes, %, _ and * in it are
// matched as themselves.
class DealStore
{
public:
    explicit DealStore(DealDatabase &database);

    // Salesperson names in roster order.
    QStringList salesPersons(QString *error = nullptr) const;

    // Saves a new deal; its identity, or std::nullopt with nothing written.
    std::optional<DealId> save(const Deal &deal, QString *error);

    // Replaces a recalled deal by the corrected one, which keeps the identity.
    // Refused when the recalled deal is paid. A recalled deal that is no
    // longer stored is saved anew under its identity.
    std::optional<DealId> replace(DealId recalled, const Deal &deal, QString *error);
    // The same, refused with nothing written when the deal as stored no
    // longer matches `asRecalled` (std::nullopt: it could not be read when it
    // was recalled); changedElsewhere() then tells so.
    std::optional<DealId> replace(DealId recalled, const std::optional<DealFingerprint> &asRecalled,
                                  const Deal &deal, QString *error);

    // Why the last save or replace failed: a fault of the data or of the
    // store (None after a success).
    StoreSql::Fault lastWriteFault() const { return m_lastWriteFault; }

    // Removes the deal's RecallDeal, SalesLog and SalesSummary rows, and no
    // other deal's. Refused when the deal is paid; a deal that is not there
    // any more is no error.
    bool remove(DealId id, QString *error);
    // The same, refused like replace() when the deal no longer matches
    // `asRecalled`.
    bool remove(DealId id, const std::optional<DealFingerprint> &asRecalled, QString *error);

    // Whether the last replace or remove was refused because the deal was
    // changed, paid or deleted at another desk since it was recalled.
    bool changedElsewhere() const { return m_changedElsewhere; }

    // The deal as it is stored now, to compare with when it is written.
    std::optional<DealFingerprint> fingerprint(DealId id, QString *error = nullptr) const;

    // Whether the deal is marked paid (false for an unknown deal or when the
    // database cannot be read; replace and remove check again themselves).
    bool isPaid(DealId id, QString *error = nullptr) const;

    // The unwind that took the deal back whole, when it was unwound.
    std::optional<std::optional<UnwindRecord>> unwindOf(DealId id, QString *error = nullptr) const;

    // A deal without any SalesSummary row is unpaid with a row count of 0.
    std::optional<RecalledDealState> recalledDealState(DealId id, QString *error = nullptr) const;

    // Identities of stored deals, oldest first.
    QList<DealId> allDeals(QString *error = nullptr) const;
    // How many deals are stored, without reading them.
    std::optional<qint64> dealCount(QString *error = nullptr) const;
    // The stored deal next to `from` in the order of allDeals(): the first
    // (Forward) or last (Backward) deal when there is no `from`;
    // std::nullopt when there is none.
    enum class Direction { Forward, Backward };
    std::optional<DealId> neighbour(std::optional<DealId> from, Direction direction,
                                    QString *error = nullptr) const;
    // The whole stock number, in any letter case.
    QList<DealId> findByStockNumber(const QString &stockNumber, QString *error = nullptr) const;
    // Any part of the customer name, in any letter case (É finds é). Parts
    // of three characters or more are looked up in an index; shorter ones
    // look at every name.
    QList<DealId> findByCustomerPart(const QString &part, QString *error = nullptr) const;

    // The worksheet fields of a stored deal, as saved; std::nullopt when the
    // deal is not stored.
    std::optional<Deal> loadDeal(DealId id, QString *error = nullptr) const;

private:
    // `asRecalled` is checked when `check` is set.
    struct Recalled
    {
        DealId id;
        bool check = false;
        std::optional<DealFingerprint> asRecalled = {};
    };
    std::optional<DealId> write(const std::optional<Recalled> &recalled, const Deal &deal,
                                QString *error);
    bool removeDeal(const Recalled &recalled, QString *error);
    // One attempt of the write's or the delete's transaction
    // (DealDatabase::transact runs it again after a conflict).
    // `inserted`: the identity written, before the commit.
    std::optional<DealId> writeOnce(const std::optional<Recalled> &recalled, const DealRows &rows,
                                    QString *why, std::optional<DealId> &inserted);
    bool removeOnce(const Recalled &recalled, QString *why, bool &refused);
    // Inside the write's transaction: false when the deal is not as recalled.
    bool unchangedSinceRecall(const Recalled &recalled, QString *why);
    // Inside the write's transaction: whether the deal was unwound whole
    // (`why` then says so, with `notDone`: "changed", "deleted");
    // std::nullopt, with the reason in `why`, when it cannot be read.
    std::optional<bool> unwound(DealId id, const QString &notDone, QString *why) const;
    StoreSql::Fault noteFault(bool written, const StoreSql::FaultWatch &watch) const;
    QList<DealId> ids(const QString &where, const QVariantList &values, QString *error) const;

    DealDatabase &m_database;
    StoreSql::Fault m_lastWriteFault = StoreSql::Fault::None;
    bool m_changedElsewhere = false;
};
