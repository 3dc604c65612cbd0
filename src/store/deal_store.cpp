#include "deal_store.h"
#include "deal_unwinds.h"

#include "deal_audit.h"
#include "deal_database.h"
#include "column_value.h"
#include "deal_row_writer.h"
#include "deal_rows.h"
#include "recall_columns.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace {

bool failed(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString notOpen()
{
    return QStringLiteral("The deal database is not open.");
}

} // namespace

DealStore::DealStore(DealDatabase &database) : m_database(database)
{
}

QStringList DealStore::salesPersons(QString *error) const
{
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    QStringList names;
    if (!StoreSql::prepare(
            query, QStringLiteral("SELECT \"Name\" FROM \"SalesPersons\" ORDER BY rowid"), error) ||
        !StoreSql::exec(query, {}, error))
        return names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

std::optional<DealId> DealStore::save(const Deal &deal, QString *error)
{
    const StoreSql::FaultWatch watch;
    const std::optional<DealId> id = write(std::nullopt, deal, error);
    m_lastWriteFault = noteFault(id.has_value(), watch);
    return id;
}

std::optional<DealId> DealStore::replace(DealId recalled, const Deal &deal, QString *error)
{
    const StoreSql::FaultWatch watch;
    const std::optional<DealId> id = write(Recalled{.id = recalled}, deal, error);
    m_lastWriteFault = noteFault(id.has_value(), watch);
    return id;
}

std::optional<DealId> DealStore::replace(DealId recalled,
                                         const std::optional<DealFingerprint> &asRecalled,
                                         const Deal &deal, QString *error)
{
    const StoreSql::FaultWatch watch;
    const std::optional<DealId> id =
        write(Recalled{.id = recalled, .check = true, .asRecalled = asRecalled}, deal, error);
    m_lastWriteFault = noteFault(id.has_value(), watch);
    return id;
}

std::optional<DealFingerprint> DealStore::fingerprint(DealId id, QString *error) const
{
    std::optional<DealFingerprint> read;
    m_database.reading(
        [&] { return (read = DealFingerprint::read(m_database, id, error)).has_value(); }, error);
    return read;
}

bool DealStore::unchangedSinceRecall(const Recalled &recalled, QString *why)
{
    if (!recalled.check)
        return true;
    const std::optional<DealFingerprint> now = DealFingerprint::read(m_database, recalled.id, why);
    if (!now)
        return false;
    m_changedElsewhere = !recalled.asRecalled || *now != *recalled.asRecalled;
    return !m_changedElsewhere;
}

StoreSql::Fault DealStore::noteFault(bool written, const StoreSql::FaultWatch &watch) const
{
    if (written)
        return StoreSql::Fault::None;
    if (!m_database.isOpen())
        return StoreSql::Fault::Store;
    // A failure the database did not report is one of the deal's values.
    return watch.fault() == StoreSql::Fault::None ? StoreSql::Fault::Data : watch.fault();
}

std::optional<DealId> DealStore::write(const std::optional<Recalled> &recalled, const Deal &deal,
                                       QString *error)
{
    m_changedElsewhere = false;
    if (!m_database.usable()) {
        failed(error, notOpen());
        return std::nullopt;
    }
    QString why;
    const std::optional<DealRows> rows = DealRows::fromDeal(deal, &why);
    if (!rows) {
        failed(error, QStringLiteral("The deal was not saved: %1").arg(why));
        return std::nullopt;
    }
    std::optional<DealId> id;
    std::optional<DealId> inserted; // also when the commit's answer was lost
    const auto attempt = [&] {
        inserted.reset();
        id = writeOnce(recalled, *rows, &why, inserted);
        return id.has_value();
    };
    if (m_database.transact(attempt, &why))
        return id ? id : inserted;
    // A refusal because of another desk's change is told in its own words.
    failed(error, m_changedElsewhere ? why : QStringLiteral("The deal was not saved: %1").arg(why));
    return std::nullopt;
}

std::optional<DealId> DealStore::writeOnce(const std::optional<Recalled> &recalled,
                                           const DealRows &rows, QString *why,
                                           std::optional<DealId> &inserted)
{
    m_changedElsewhere = false;
    SqlTransaction transaction(m_database);
    DealRowWriter &writer = m_database.rowWriter();
    if (!transaction.begin(why))
        return std::nullopt;
    QVariantList before; // the values replaced, for the audit trail
    if (recalled && !unchangedSinceRecall(*recalled, why)) {
        if (m_changedElsewhere)
            *why = DealFingerprint::notSavedMessage();
        return std::nullopt;
    }
    if (recalled) {
        std::optional<bool> paid = writer.isPaid(recalled->id, why);
        if (paid && *paid)
            *why = QStringLiteral("This deal has been paid and cannot be changed.");
        if (paid && !*paid && unwound(recalled->id, QStringLiteral("changed"), why) != false)
            paid.reset(); // unwound, or not known: `why` says which
        std::optional<QVariantList> stored;
        if (paid && !*paid)
            stored = DealAudit::recallValues(m_database, recalled->id, why);
        if (!stored || !writer.remove(recalled->id, why))
            return std::nullopt;
        before = *stored;
    }
    const std::optional<DealId> id =
        writer.insert(rows, recalled ? std::optional(recalled->id) : std::nullopt, why);
    inserted = id;
    if (!id || !DealAudit::saved(m_database, *id, before, rows.recall, why) ||
        !transaction.commit(why))
        return std::nullopt;
    return id;
}

bool DealStore::remove(DealId id, QString *error)
{
    return removeDeal(Recalled{.id = id}, error);
}

bool DealStore::remove(DealId id, const std::optional<DealFingerprint> &asRecalled, QString *error)
{
    return removeDeal(Recalled{.id = id, .check = true, .asRecalled = asRecalled}, error);
}

std::optional<std::optional<UnwindRecord>> DealStore::unwindOf(DealId id, QString *error) const
{
    return DealUnwinds(m_database).whole(id, error);
}

std::optional<bool> DealStore::unwound(DealId id, const QString &notDone, QString *why) const
{
    const std::optional<std::optional<UnwindRecord>> whole =
        DealUnwinds::wholeIn(m_database.connection(), id, why);
    if (!whole)
        return std::nullopt;
    if (!*whole)
        return false;
    *why = DealUnwinds::unwoundMessage(**whole) +
           QStringLiteral(". It cannot be %1.").arg(notDone);
    return true;
}

bool DealStore::removeDeal(const Recalled &recalled, QString *error)
{
    m_changedElsewhere = false;
    if (!m_database.usable())
        return failed(error, notOpen());
    QString why;
    bool refused = false; // told in its own words
    if (!m_database.transact([&] { return removeOnce(recalled, &why, refused); }, &why))
        return failed(error, refused ? why
                                     : QStringLiteral("The deal was not deleted: %1").arg(why));
    return true;
}

bool DealStore::removeOnce(const Recalled &recalled, QString *why, bool &refused)
{
    m_changedElsewhere = false;
    const DealId id = recalled.id;
    SqlTransaction transaction(m_database.connection());
    DealRowWriter &writer = m_database.rowWriter();
    if (!transaction.begin(why))
        return false;
    if (!unchangedSinceRecall(recalled, why)) {
        if (m_changedElsewhere)
            *why = DealFingerprint::notDeletedMessage();
        refused = m_changedElsewhere;
        return false;
    }
    const std::optional<bool> paid = writer.isPaid(id, why);
    if (paid && *paid) {
        *why = QStringLiteral("This deal has been paid and cannot be deleted.");
        refused = true;
        return false;
    }
    const std::optional<bool> isUnwound =
        paid ? unwound(id, QStringLiteral("deleted"), why) : std::optional(false);
    if (isUnwound != false) {
        refused = isUnwound.has_value();
        return false;
    }
    std::optional<QVariantList> before;
    if (paid)
        before = DealAudit::recallValues(m_database, id, why);
    // A deal that is not there any more leaves no entry: nothing changed.
    return before && writer.remove(id, why) &&
           (before->isEmpty() || DealAudit::deleted(m_database, id, *before, why)) &&
           transaction.commit(why);
}

bool DealStore::isPaid(DealId id, QString *error) const
{
    const std::optional<RecalledDealState> state = recalledDealState(id, error);
    return state && state->paid;
}

std::optional<RecalledDealState> DealStore::recalledDealState(DealId id, QString *error) const
{
    QSqlQuery query(m_database.connection());
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT \"Paid\", \"Customer_Name\" FROM "
                                          "\"SalesSummary\" WHERE \"DealId\" = ? ORDER BY rowid"),
                           error) ||
        !StoreSql::exec(query, {id}, error))
        return std::nullopt;
    RecalledDealState state;
    while (query.next()) {
        state.paid = state.paid || query.value(0).toLongLong() != 0;
        state.lastCustomerName = query.value(1).toString();
        ++state.summaryRowCount;
    }
    return state;
}

std::optional<qint64> DealStore::dealCount(QString *error) const
{
    CachedQuery query(m_database, StoreEngine::dealCountQuery(), error);
    if (!query || !StoreSql::exec(*query, {}, error) || !query->next())
        return std::nullopt;
    return query->value(0).toLongLong();
}

std::optional<DealId> DealStore::neighbour(std::optional<DealId> from, Direction direction,
                                           QString *error) const
{
    const bool forward = direction == Direction::Forward;
    QString where;
    QVariantList values;
    if (from) {
        where = forward ? QStringLiteral("WHERE \"DealId\" > ?")
                        : QStringLiteral("WHERE \"DealId\" < ?");
        values << *from;
    }
    CachedQuery query(m_database,
                      QStringLiteral("SELECT \"DealId\" FROM \"RecallDeal\" %1 ORDER BY "
                                     "\"DealId\" %2 LIMIT 1")
                          .arg(where, forward ? QStringLiteral("ASC") : QStringLiteral("DESC")),
                      error);
    if (!query || !StoreSql::exec(*query, values, error) || !query->next())
        return std::nullopt;
    return query->value(0).toLongLong();
}

QList<DealId> DealStore::allDeals(QString *error) const
{
    return ids(QString(), {}, error);
}

QList<DealId> DealStore::findByStockNumber(const QString &stockNumber, QString *error) const
{
    // The column compares without regard to letter case, through its index.
    return ids(QStringLiteral("WHERE \"StockNo\" = ?"), {stockNumber.toUpper()}, error);
}

QList<DealId> DealStore::findByCustomerPart(const QString &part, QString *error) const
{
    QList<DealId> found;
    const StoreEngine::Engine engine = m_database.engine();
    if (!StoreEngine::searchesByIndex(engine, part)) {
        // Too short for the index: every name is looked at, compared in
        // folded letter case like the index compares.
        QSqlQuery query(m_database.connection());
        query.setForwardOnly(true);
        if (!StoreSql::prepare(query,
                               QStringLiteral("SELECT \"DealId\", \"Customer\" FROM "
                                              "\"RecallDeal\" ORDER BY \"DealId\""),
                               error) ||
            !StoreSql::exec(query, {}, error))
            return found;
        while (query.next()) {
            if (query.value(1).toString().contains(part, Qt::CaseInsensitive))
                found << query.value(0).toLongLong();
        }
        return found;
    }
    CachedQuery query(m_database, StoreEngine::customerSearchQuery(engine), error);
    if (!query || !StoreSql::exec(*query, {StoreEngine::searchValueOf(engine, part)}, error))
        return found;
    while (query->next())
        found << query->value(0).toLongLong();
    return found;
}

QList<DealId> DealStore::ids(const QString &where, const QVariantList &values, QString *error) const
{
    QList<DealId> found;
    m_database.reading(
        [&] {
            found.clear();
            CachedQuery query(m_database,
                              QStringLiteral("SELECT \"DealId\" FROM \"RecallDeal\" %1 "
                                             "ORDER BY \"DealId\"")
                                  .arg(where),
                              error);
            if (!query || !StoreSql::exec(*query, values, error))
                return false;
            while (query->next())
                found << query->value(0).toLongLong();
            return true;
        },
        error);
    return found;
}

std::optional<Deal> DealStore::loadDeal(DealId id, QString *error) const
{
    const QStringList columns = RecallColumns::names();
    // The plan the deal was worked out by, when it keeps one, comes with it.
    constexpr int kPlanColumns = 4;
    std::optional<QVariantList> values;
    const bool read = m_database.reading(
        [&] {
            CachedQuery query(m_database,
                              QStringLiteral("SELECT %1, p.\"PlanVersionId\", p.\"SplitShare\", "
                                             "p.\"PlanPack\", p.\"PlanRate\" FROM \"RecallDeal\" r "
                                             "LEFT JOIN \"DealPlans\" p ON p.\"DealId\" = r.\"DealId\" "
                                             "WHERE r.\"DealId\" = ?")
                                  .arg(StoreSql::columnList(columns)),
                              error);
            if (!query || !StoreSql::exec(*query, {id}, error))
                return false;
            if (query->next()) {
                values.emplace();
                for (int i = 0; i < columns.size() + kPlanColumns; ++i)
                    *values << query->value(i);
            }
            return true;
        },
        error);
    if (!read)
        return std::nullopt;
    if (!values) {
        failed(error, QStringLiteral("The deal is no longer in the database."));
        return std::nullopt;
    }
    Deal deal = RecallColumns::dealFrom(values->mid(0, columns.size()));
    qsizetype at = columns.size();
    if (const QVariant version = values->at(at++); !version.isNull())
        deal.planVersion = version.toLongLong();
    if (const QVariant share = values->at(at++); deal.split && !share.isNull())
        deal.splitShare = QString::number(share.toLongLong());
    deal.planPack = ColumnValue::moneyTextFrom(values->at(at++));
    deal.planRate = ColumnValue::textFrom(values->at(at++));
    return deal;
}
