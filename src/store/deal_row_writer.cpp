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
    std::optional<DealId> given = id;
    if (id) {
        if (!StoreSql::exec(m_insertRecall, rows.recall, *id, error))
            return std::nullopt;
    } else {
        given = StoreSql::insertedKey(m_insertNewRecall, rows.recall, error);
        if (!given)
            return std::nullopt;
    }
    const DealId newId = *given;
    for (const QVariantList &summary : rows.summary) {
        if (!StoreSql::exec(m_insertSummary, summary, newId, error))
            return std::nullopt;
    }
    if (!StoreSql::exec(m_insertLog, rows.log, newId, error))
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
