#include "deal_row_writer.h"

#include "pay_plan_schema.h"
#include "recall_columns.h"
#include "store_schema.h"
#include "store_sql.h"

namespace {

QString insertWithId(const char *table, QStringList columns)
{
    columns << QString::fromLatin1(StoreSchema::kDealId);
    return StoreSql::insertStatement(QString::fromLatin1(table), columns);
}

QString deleteByDeal(const char *table)
{
    return QStringLiteral("DELETE FROM %1 WHERE \"DealId\" = ?")
        .arg(StoreSql::quoted(QString::fromLatin1(table)));
}

const QVariant kNoIdentity;

} // namespace

DealRowWriter::DealRowWriter(QSqlDatabase db)
    : m_db(std::move(db)), m_insertRecall(m_db), m_insertNewRecall(m_db), m_insertSummary(m_db), m_insertLog(m_db),
      m_removeSummary(m_db), m_removeLog(m_db), m_removeRecall(m_db), m_paid(m_db), m_insertPlan(m_db),
      m_removePlan(m_db)
{
}

bool DealRowWriter::prepareAll(QString *error)
{
    using namespace StoreSchema;
    if (m_prepared)
        return true;
    sqlite3 *file = SqliteStatement::handleOf(m_db);
    m_onFile = file != nullptr;
    if (m_onFile) {
        if (!m_fileRecall.prepare(file, insertWithId(kRecallDeal, RecallColumns::names()), error) ||
            !m_fileSummary.prepare(
                file, insertWithId(kSalesSummary, columns(QString::fromLatin1(kSalesSummary))),
                error) ||
            !m_fileLog.prepare(file, insertWithId(kSalesLog, columns(QString::fromLatin1(kSalesLog))),
                               error))
            return false;
    }
    m_prepared =
        StoreSql::prepare(m_insertRecall, insertWithId(kRecallDeal, RecallColumns::names()),
                          error) &&
        StoreSql::prepare(m_insertNewRecall,
                          StoreSql::insertReturning(QString::fromLatin1(kRecallDeal),
                                                    RecallColumns::names(),
                                                    QString::fromLatin1(kDealId)),
                          error) &&
        StoreSql::prepare(m_insertSummary,
                          insertWithId(kSalesSummary, columns(QString::fromLatin1(kSalesSummary))),
                          error) &&
        StoreSql::prepare(
            m_insertLog, insertWithId(kSalesLog, columns(QString::fromLatin1(kSalesLog))), error) &&
        StoreSql::prepare(m_removeSummary, deleteByDeal(kSalesSummary), error) &&
        StoreSql::prepare(m_removeLog, deleteByDeal(kSalesLog), error) &&
        StoreSql::prepare(m_removeRecall, deleteByDeal(kRecallDeal), error) &&
        StoreSql::prepare(m_paid,
                          QStringLiteral("SELECT EXISTS (SELECT 1 FROM \"SalesSummary\" "
                                         "WHERE \"DealId\" = ? AND \"Paid\" <> 0)"),
                          error);
    return m_prepared;
}

std::optional<DealId> DealRowWriter::insert(const DealRows &rows, std::optional<DealId> id,
                                            QString *error)
{
    if (!prepareAll(error))
        return std::nullopt;
    const auto run = [&](QSqlQuery &query, SqliteStatement &onFile, const QVariantList &values,
                         const QVariant &last) {
        return m_onFile ? onFile.exec(values, &last, error)
                        : StoreSql::exec(query, values, last, error);
    };
    std::optional<DealId> given = id;
    if (id) {
        if (!run(m_insertRecall, m_fileRecall, rows.recall, *id))
            return std::nullopt;
    } else if (m_onFile) {
        // Without an identity the file gives the next one, as a server's
        // RETURNING would tell it.
        if (!m_fileRecall.exec(rows.recall, &kNoIdentity, error))
            return std::nullopt;
        given = m_fileRecall.lastInsertedKey();
    } else {
        given = StoreSql::insertedKey(m_insertNewRecall, rows.recall, error);
        if (!given)
            return std::nullopt;
    }
    const DealId newId = *given;
    for (const QVariantList &summary : rows.summary) {
        if (!run(m_insertSummary, m_fileSummary, summary, newId))
            return std::nullopt;
    }
    if (!run(m_insertLog, m_fileLog, rows.log, newId))
        return std::nullopt;
    if (!rows.plan.isEmpty() && !writePlan(newId, rows.plan, error))
        return std::nullopt;
    return newId;
}

// The plan statements are prepared when first needed, so that the rows of a
// deal of the standing figures can be written into a database of any layout.
bool DealRowWriter::writePlan(DealId id, const QVariantList &plan, QString *error)
{
    if (!m_insertPlanPrepared) {
        m_insertPlanPrepared = StoreSql::prepare(
            m_insertPlan,
            StoreSql::insertStatement(QString::fromLatin1(PayPlanSchema::kDealPlans),
                                      PayPlanSchema::dealPlanColumns()),
            error);
        if (!m_insertPlanPrepared)
            return false;
    }
    return StoreSql::exec(m_insertPlan, QVariantList{id} + plan, error);
}

bool DealRowWriter::remove(DealId id, QString *error)
{
    // Children first: the summary and log rows refer to the RecallDeal row.
    if (!m_removePlanPrepared) {
        m_removePlanPrepared =
            StoreSql::prepare(m_removePlan, deleteByDeal(PayPlanSchema::kDealPlans), error);
        if (!m_removePlanPrepared)
            return false;
    }
    return prepareAll(error) && StoreSql::exec(m_removeSummary, {id}, error) &&
           StoreSql::exec(m_removeLog, {id}, error) && StoreSql::exec(m_removePlan, {id}, error) &&
           StoreSql::exec(m_removeRecall, {id}, error);
}

std::optional<bool> DealRowWriter::isPaid(DealId id, QString *error)
{
    if (!prepareAll(error) || !StoreSql::exec(m_paid, {id}, error))
        return std::nullopt;
    const bool paid = m_paid.next() && m_paid.value(0).toBool();
    m_paid.finish();
    return paid;
}
