#pragma once

#include "pay/pay_plan.h"

#include <QList>
#include <QString>

#include <optional>

class DealDatabase;

// The pay plan versions kept in the deal database. A version that a saved
// deal was worked out by is part of that deal's record: it can be neither
// changed nor deleted, and a change to the plan is a new version from a
// later date. Every write is one transaction, its audit entry in it.
class PayPlanStore
{
public:
    explicit PayPlanStore(DealDatabase &database);

    // A salesperson's versions, newest first.
    std::optional<QList<PayPlanVersion>> versionsOf(const QString &salesPerson,
                                                    QString *error = nullptr) const;
    // The salesperson's version in force on `date`; std::nullopt with an
    // empty `error` when there is none (the standing figures apply), with
    // the reason in `error` when the plans could not be read.
    std::optional<PayPlanVersion> inForce(const QString &salesPerson, const QDate &date,
                                          QString *error = nullptr) const;
    // A version by its identity; std::nullopt when it is not stored.
    std::optional<PayPlanVersion> version(qint64 versionId, QString *error = nullptr) const;
    // Whether a saved deal was worked out by the version.
    std::optional<bool> isUsed(qint64 versionId, QString *error = nullptr) const;

    // Adds a version; its identity.
    std::optional<qint64> add(const PayPlanVersion &version, QString *error);
    // Writes new figures into a version no deal was worked out by.
    bool change(const PayPlanVersion &version, QString *error);
    // Deletes a version no deal was worked out by.
    bool remove(qint64 versionId, QString *error);

    // What the pay plan window tells the user when a used version is to be
    // changed or deleted.
    static QString usedCannotChangeMessage();
    static QString usedCannotDeleteMessage();

private:
    // Inside a write's transaction: the version's row locked; false with
    // `error` set when it is gone or cannot be read, and with `used` set
    // when a saved deal was worked out by it.
    bool lockUnused(qint64 versionId, bool *used, QString *error);

    DealDatabase &m_database;
};
