#include "pay_plan_store.h"

#include "audit_trail.h"
#include "column_value.h"
#include "common/money_format.h"
#include "deal_database.h"
#include "pay_plan_schema.h"
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

QVariant amountOrNull(const std::optional<Money> &amount)
{
    return amount ? ColumnValue::money(*amount) : QVariant(QMetaType(QMetaType::LongLong));
}

// The values of PayPlanSchema::versionColumns() for a version.
QVariantList valuesOf(const PayPlanVersion &version)
{
    QVariantList values{version.salesPerson, ColumnValue::date(version.effectiveFrom)};
    for (const PlanTerms &terms : version.terms) {
        const bool flat = terms.kind == PlanTerms::Kind::Flat;
        values << amountOrNull(flat ? std::nullopt : std::optional(terms.percent))
               << amountOrNull(flat ? std::optional(terms.flat) : std::nullopt)
               << ColumnValue::money(terms.mini) << ColumnValue::money(terms.pack);
    }
    values << amountOrNull(version.cap) << ColumnValue::money(version.warrantySpiff)
           << amountOrNull(version.drawPerMonth) << ColumnValue::yesNo(version.drawRecoverable);
    // How the tiers pay, only beside tiers.
    const bool tiered = !version.tiers.isEmpty();
    values << (tiered ? QVariant(version.tierMode == TierMode::Marginal
                                     ? QStringLiteral("Marginal")
                                     : QStringLiteral("Retroactive"))
                      : QVariant(QMetaType(QMetaType::QString)))
           << (tiered ? QVariant(version.tierClasses == TierClasses::NewOnly    ? QStringLiteral("New")
                                 : version.tierClasses == TierClasses::UsedOnly ? QStringLiteral("Used")
                                                                                 : QStringLiteral("All"))
                      : QVariant(QMetaType(QMetaType::QString)));
    return values;
}

// The tiers as the audit trail shows them: "Tiers: from 12 units 28%; from
// 20 units $25.00 a unit, mini $200.00".
QString tiersText(const PayPlanVersion &version)
{
    if (version.tiers.isEmpty())
        return {};
    QStringList tiers;
    for (const VolumeTier &tier : version.tiers) {
        QString text = QStringLiteral("from %1 units ").arg(MoneyFormat::plain(tier.unitsFrom));
        text += tier.percent ? MoneyFormat::plain(*tier.percent) + u'%'
                             : QStringLiteral("%1 a unit")
                                   .arg(MoneyFormat::dollarsGrouped(tier.perUnit.value_or(Money())));
        if (tier.mini)
            text += QStringLiteral(", mini %1").arg(MoneyFormat::dollarsGrouped(*tier.mini));
        tiers << text;
    }
    return QStringLiteral("\nTiers: ") + tiers.join(QStringLiteral("; "));
}

// Replaces the version's tiers by `version.tiers`, inside the caller's transaction.
bool writeTiers(QSqlDatabase db, qint64 versionId, const PayPlanVersion &version, QString *error)
{
    QSqlQuery erase(db);
    if (!StoreSql::prepare(erase,
                           QStringLiteral("DELETE FROM \"PayPlanTiers\" WHERE \"PlanVersionId\" = ?"),
                           error) ||
        !StoreSql::exec(erase, {versionId}, error))
        return false;
    if (version.tiers.isEmpty())
        return true;
    QSqlQuery insert(db);
    if (!StoreSql::prepare(insert,
                           StoreSql::insertStatement(
                               QStringLiteral("PayPlanTiers"),
                               {QStringLiteral("PlanVersionId"), QStringLiteral("UnitsFrom"),
                                QStringLiteral("Percent"), QStringLiteral("PerUnit"),
                                QStringLiteral("Mini")}),
                           error))
        return false;
    for (const VolumeTier &tier : version.tiers) {
        if (!StoreSql::exec(insert,
                            {versionId, ColumnValue::money(tier.unitsFrom), amountOrNull(tier.percent),
                             amountOrNull(tier.perUnit), amountOrNull(tier.mini)},
                            error))
            return false;
    }
    return true;
}

// Reads each version's tiers.
bool readTiers(QSqlDatabase db, QList<PayPlanVersion> &versions, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT \"UnitsFrom\", \"Percent\", \"PerUnit\", \"Mini\" "
                                          "FROM \"PayPlanTiers\" WHERE \"PlanVersionId\" = ? ORDER "
                                          "BY \"UnitsFrom\""),
                           error))
        return false;
    for (PayPlanVersion &version : versions) {
        version.tiers.clear();
        if (!StoreSql::exec(query, {version.id}, error))
            return false;
        while (query.next())
            version.tiers << VolumeTier{
                .unitsFrom = ColumnValue::moneyFrom(query.value(0)).value_or(Money()),
                .percent = ColumnValue::moneyFrom(query.value(1)),
                .perUnit = ColumnValue::moneyFrom(query.value(2)),
                .mini = ColumnValue::moneyFrom(query.value(3))};
        query.finish();
    }
    return true;
}

// The same as the audit trail describes them: the draw's recoverable flag
// only beside a draw.
QVariantList auditValuesOf(const PayPlanVersion &version)
{
    // Found by its name: the tiers' columns come after it.
    static const qsizetype recoverable =
        PayPlanSchema::versionColumns().indexOf(QStringLiteral("DrawRecoverable"));
    QVariantList values = valuesOf(version);
    if (!version.drawPerMonth)
        values[recoverable] = QVariant();
    return values;
}

// A version's figures as the audit trail shows them.
const AuditTrail::Description &description()
{
    static const AuditTrail::Description columns(PayPlanSchema::versionColumns());
    return columns;
}

// The audit entry of a change to a version, in the change's transaction.
bool audited(QSqlDatabase db, const char *action, const PayPlanVersion &version,
             const QString &before, const QString &after, QString *error)
{
    AuditTrail::Entry entry;
    entry.action = QString::fromLatin1(action);
    entry.tableName = QString::fromLatin1(PayPlanSchema::kVersions);
    entry.rowKey = version.id;
    entry.salesPerson = version.salesPerson;
    entry.before = before;
    entry.after = after;
    return AuditTrail::write(db, entry, error);
}

// A change to a version as the audit trail shows it: the columns changed,
// and the tiers before and after where they changed.
void describeChange(const PayPlanVersion &before, const PayPlanVersion &after,
                    QString *beforeText, QString *afterText)
{
    description().ofChanges(auditValuesOf(before), auditValuesOf(after), beforeText, afterText);
    if (tiersText(before) == tiersText(after))
        return;
    *beforeText += tiersText(before);
    *afterText += tiersText(after);
}

QString selectVersions(const QString &where)
{
    return QStringLiteral("SELECT \"PlanVersionId\", %1 FROM \"PayPlanVersions\" WHERE %2")
        .arg(StoreSql::columnList(PayPlanSchema::versionColumns()), where);
}

// A version from a row of selectVersions().
PayPlanVersion versionFrom(const QSqlQuery &query)
{
    PayPlanVersion version;
    int at = 0;
    version.id = query.value(at++).toLongLong();
    version.salesPerson = query.value(at++).toString();
    version.effectiveFrom = ColumnValue::dateFrom(query.value(at++));
    for (PlanTerms &terms : version.terms) {
        const std::optional<Money> percent = ColumnValue::moneyFrom(query.value(at++));
        const std::optional<Money> flat = ColumnValue::moneyFrom(query.value(at++));
        terms.kind = flat && !percent ? PlanTerms::Kind::Flat : PlanTerms::Kind::Percent;
        terms.percent = percent.value_or(Money());
        terms.flat = flat.value_or(Money());
        terms.mini = ColumnValue::moneyFrom(query.value(at++)).value_or(Money());
        terms.pack = ColumnValue::moneyFrom(query.value(at++)).value_or(Money());
    }
    version.cap = ColumnValue::moneyFrom(query.value(at++));
    version.warrantySpiff = ColumnValue::moneyFrom(query.value(at++)).value_or(Money());
    version.drawPerMonth = ColumnValue::moneyFrom(query.value(at++));
    // Without a draw the flag means nothing, and versions older than draws
    // hold 0: read as a new version has it.
    const bool recoverable = ColumnValue::yesNoFrom(query.value(at++));
    version.drawRecoverable = version.drawPerMonth ? recoverable : true;
    const QString mode = query.value(at++).toString();
    version.tierMode = mode == QLatin1String("Marginal") ? TierMode::Marginal : TierMode::Retroactive;
    const QString classes = query.value(at++).toString();
    version.tierClasses = classes == QLatin1String("New")    ? TierClasses::NewOnly
                          : classes == QLatin1String("Used") ? TierClasses::UsedOnly
                                                             : TierClasses::All;
    return version;
}

// "A version from that date" for a refused write that broke the one-a-date rule.
QString writeFailure(const PayPlanVersion &version, const QString &why)
{
    return QStringLiteral("The pay plan version of %1 from %2 was not saved: %3")
        .arg(version.salesPerson, version.effectiveFrom.toString(QStringLiteral("MM/dd/yyyy")),
             why);
}

} // namespace

PayPlanStore::PayPlanStore(DealDatabase &database) : m_database(database) {}

QString PayPlanStore::usedCannotChangeMessage()
{
    return QStringLiteral("Saved deals were worked out with this version, so it cannot be "
                          "changed any more. To change the plan, add a new version from a "
                          "later date.");
}

QString PayPlanStore::usedCannotDeleteMessage()
{
    return QStringLiteral("Saved deals were worked out with this version, so it cannot be "
                          "deleted.");
}

std::optional<QList<PayPlanVersion>> PayPlanStore::versionsOf(const QString &salesPerson,
                                                              QString *error) const
{
    CachedQuery query(m_database,
                      selectVersions(QStringLiteral("\"SalesPerson\" = ? ORDER BY "
                                                    "\"EffectiveFrom\" DESC")),
                      error);
    if (!query || !StoreSql::exec(*query, {salesPerson}, error))
        return std::nullopt;
    QList<PayPlanVersion> versions;
    while (query->next())
        versions << versionFrom(*query);
    query->finish();
    if (!readTiers(m_database.connection(), versions, error))
        return std::nullopt;
    return versions;
}

std::optional<PayPlanVersion> PayPlanStore::inForce(const QString &salesPerson, const QDate &date,
                                                    QString *error) const
{
    if (error)
        error->clear();
    if (salesPerson.trimmed().isEmpty() || !date.isValid())
        return std::nullopt;
    // Read as the worksheet's other reads are: a lost server connection is
    // opened again first.
    std::optional<PayPlanVersion> found;
    m_database.reading(
        [&] {
            CachedQuery query(m_database,
                              selectVersions(QStringLiteral(
                                  "\"SalesPerson\" = ? AND \"EffectiveFrom\" <= ? ORDER BY "
                                  "\"EffectiveFrom\" DESC LIMIT 1")),
                              error);
            if (!query ||
                !StoreSql::exec(*query, {salesPerson, ColumnValue::date(date)}, error))
                return false;
            if (query->next())
                found = versionFrom(*query);
            query->finish();
            if (!found)
                return true;
            QList<PayPlanVersion> one{*found};
            if (!readTiers(m_database.connection(), one, error))
                return false;
            found = one.first();
            return true;
        },
        error);
    return found;
}

std::optional<PayPlanVersion> PayPlanStore::version(qint64 versionId, QString *error) const
{
    CachedQuery query(m_database, selectVersions(QStringLiteral("\"PlanVersionId\" = ?")), error);
    if (!query || !StoreSql::exec(*query, {versionId}, error) || !query->next())
        return std::nullopt;
    QList<PayPlanVersion> one{versionFrom(*query)};
    query->finish();
    if (!readTiers(m_database.connection(), one, error))
        return std::nullopt;
    return one.first();
}

std::optional<bool> PayPlanStore::isUsed(qint64 versionId, QString *error) const
{
    CachedQuery query(m_database,
                      QStringLiteral("SELECT EXISTS (SELECT 1 FROM \"DealPlans\" WHERE "
                                     "\"PlanVersionId\" = ?)"),
                      error);
    if (!query || !StoreSql::exec(*query, {versionId}, error) || !query->next())
        return std::nullopt;
    const bool used = query->value(0).toBool();
    query->finish();
    return used;
}

std::optional<qint64> PayPlanStore::add(const PayPlanVersion &version, QString *error)
{
    if (!m_database.isOpen()) {
        failed(error, QStringLiteral("The deal database is not open."));
        return std::nullopt;
    }
    QString why;
    SqlTransaction transaction(m_database.connection());
    QSqlQuery insert(m_database.connection());
    std::optional<qint64> id;
    if (transaction.begin(&why) &&
        StoreSql::prepare(insert,
                          StoreSql::insertReturning(QString::fromLatin1(PayPlanSchema::kVersions),
                                                    PayPlanSchema::versionColumns(),
                                                    QString::fromLatin1(PayPlanSchema::kVersionId)),
                          &why))
        id = StoreSql::insertedKey(insert, valuesOf(version), &why);
    PayPlanVersion added = version;
    added.id = id.value_or(0);
    if (!id || !writeTiers(m_database.connection(), *id, version, &why) ||
        !audited(m_database.connection(), "Pay plan version added", added, {},
                 description().of(auditValuesOf(added)) + tiersText(added), &why) ||
        !transaction.commit(&why)) {
        failed(error, writeFailure(version, why));
        return std::nullopt;
    }
    return id;
}

bool PayPlanStore::lockUnused(qint64 versionId, bool *used, QString *error)
{
    QSqlQuery lock(m_database.connection());
    const QString engineLock = StoreEngine::lockRows(StoreEngine::engineOf(m_database.connection()));
    if (!StoreSql::prepare(lock,
                           QStringLiteral("SELECT \"PlanVersionId\" FROM \"PayPlanVersions\" "
                                          "WHERE \"PlanVersionId\" = ?") +
                               engineLock,
                           error) ||
        !StoreSql::exec(lock, {versionId}, error))
        return false;
    if (!lock.next())
        return failed(error, QStringLiteral("The version is no longer in the database."));
    const std::optional<bool> isUsedNow = isUsed(versionId, error);
    if (!isUsedNow)
        return false;
    *used = *isUsedNow;
    return !*used;
}

bool PayPlanStore::change(const PayPlanVersion &version, QString *error)
{
    if (!m_database.isOpen())
        return failed(error, QStringLiteral("The deal database is not open."));
    QString why;
    SqlTransaction transaction(m_database.connection());
    QStringList assignments;
    for (const QString &column : PayPlanSchema::versionColumns())
        assignments << StoreSql::quoted(column) + QStringLiteral(" = ?");
    QSqlQuery update(m_database.connection());
    std::optional<PayPlanVersion> before;
    QString beforeText, afterText;
    bool used = false;
    const bool changed =
        transaction.begin(&why) && lockUnused(version.id, &used, &why) &&
        (before = this->version(version.id, &why)).has_value() &&
        StoreSql::prepare(update,
                          QStringLiteral("UPDATE \"PayPlanVersions\" SET %1 WHERE "
                                         "\"PlanVersionId\" = ?")
                              .arg(assignments.join(QStringLiteral(", "))),
                          &why) &&
        StoreSql::exec(update, valuesOf(version), version.id, &why) &&
        writeTiers(m_database.connection(), version.id, version, &why) &&
        (describeChange(*before, version, &beforeText, &afterText),
         audited(m_database.connection(), "Pay plan version changed", version, beforeText,
                 afterText, &why)) &&
        transaction.commit(&why);
    if (!changed)
        return failed(error, used ? usedCannotChangeMessage() : writeFailure(version, why));
    return true;
}

bool PayPlanStore::remove(qint64 versionId, QString *error)
{
    if (!m_database.isOpen())
        return failed(error, QStringLiteral("The deal database is not open."));
    QString why;
    SqlTransaction transaction(m_database.connection());
    QSqlQuery erase(m_database.connection());
    std::optional<PayPlanVersion> before;
    bool used = false;
    const bool removed =
        transaction.begin(&why) && lockUnused(versionId, &used, &why) &&
        (before = version(versionId, &why)).has_value() &&
        writeTiers(m_database.connection(), versionId, PayPlanVersion(), &why) &&
        StoreSql::prepare(erase,
                          QStringLiteral("DELETE FROM \"PayPlanVersions\" WHERE "
                                         "\"PlanVersionId\" = ?"),
                          &why) &&
        StoreSql::exec(erase, {versionId}, &why) &&
        audited(m_database.connection(), "Pay plan version deleted", *before,
                description().of(auditValuesOf(*before)) + tiersText(*before), {}, &why) &&
        transaction.commit(&why);
    if (!removed)
        return failed(error, used ? usedCannotDeleteMessage()
                                  : QStringLiteral("The pay plan version was not deleted: %1")
                                        .arg(why));
    return true;
}
