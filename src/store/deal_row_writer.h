#pragma once

#include "deal_id.h"
#include "deal_rows.h"
#include "sqlite_statement.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>

// Writes and removes the rows of deals on one connection, with statements
// prepared once and reused. It opens no transaction of its own: the caller
// runs it inside one, so that a deal's rows are written or removed together.
class DealRowWriter
{
public:
    explicit DealRowWriter(QSqlDatabase db);

    // Writes the RecallDeal row, then the SalesSummary rows, the SalesLog
    // row and the DealPlans row (when there is one) tied to it. With `id` the deal keeps that identity; without, a new
    // one is given. Returns the identity.
    std::optional<DealId> insert(const DealRows &rows, std::optional<DealId> id, QString *error);

    // Removes the deal's SalesSummary, SalesLog, DealPlans and RecallDeal rows; a deal
    // that is not there is no error.
    bool remove(DealId id, QString *error);

    // Whether any SalesSummary row of the deal is marked paid.
    std::optional<bool> isPaid(DealId id, QString *error);

private:
    bool prepareAll(QString *error);
    bool writePlan(DealId id, const QVariantList &plan, QString *error);

    QSqlDatabase m_db;
    bool m_prepared = false;
    // On a file the inserts, run for every deal saved, are bound on the
    // connection's own handle; on a server they go through the queries.
    bool m_onFile = false;
    SqliteStatement m_fileRecall; // with the identity, or none for a new one
    SqliteStatement m_fileSummary;
    SqliteStatement m_fileLog;
    QSqlQuery m_insertRecall;    // a deal that keeps its identity
    QSqlQuery m_insertNewRecall; // a new deal, given its identity by the engine
    QSqlQuery m_insertSummary;
    QSqlQuery m_insertLog;
    QSqlQuery m_removeSummary;
    QSqlQuery m_removeLog;
    QSqlQuery m_removeRecall;
    QSqlQuery m_paid;
    QSqlQuery m_insertPlan;
    QSqlQuery m_removePlan;
    bool m_insertPlanPrepared = false;
    bool m_removePlanPrepared = false;
};
