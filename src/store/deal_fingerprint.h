#pragma once

#include "deal_id.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

class DealDatabase;

// A deal as it is stored: every value of its RecallDeal row, and each of its
// SalesSummary and SalesLog rows by row key with its values, Paid included.
//
// Several desks may work on one database. The fingerprint is taken when a
// deal is recalled and read again inside the transaction that replaces or
// deletes it; when the two differ, the deal was changed, paid or deleted at
// another desk since the recall, and the write is refused rather than undo
// that desk's work.
struct DealFingerprint
{
    QVariantList recall;             // in RecallColumns order; empty when not stored
    QList<QVariantList> summaryRows; // each: rowid, then the documented columns
    QList<QVariantList> logRows;     // likewise

    bool operator==(const DealFingerprint &) const = default;

    // The deal as stored now, read on the database's connection (inside the
    // caller's transaction when there is one). std::nullopt, with the reason
    // in `error`, when it cannot be read.
    static std::optional<DealFingerprint> read(DealDatabase &database, DealId id, QString *error);

    // What the user is told when a correction or a delete is refused.
    static QString notSavedMessage();
    static QString notDeletedMessage();
};
