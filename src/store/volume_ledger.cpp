#include "store/volume_ledger.h"

#include "common/money_format.h"
#include "store/audit_trail.h"
#include "store/column_value.h"
#include "store/store_engine.h"
#include "store/store_sql.h"

#include <QSqlQuery>

namespace VolumeLedger {

namespace {

const QString kVolumeBonus = QStringLiteral("Volume bonus");

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values, QString *error)
{
    query.setForwardOnly(true);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

Money moneyOf(const QVariant &value)
{
    return ColumnValue::moneyFrom(value).value_or(Money());
}

} // namespace

QDate monthOf(const QDate &date)
{
    return QDate(date.year(), date.month(), 1);
}

std::optional<QList<VolumeBonus::MonthRow>> monthRows(QSqlDatabase db, const QString &salesPerson,
                                                      const QDate &month, QString *error)
{
    const QVariant from = ColumnValue::date(monthOf(month));
    const QVariant to = ColumnValue::date(monthOf(month).addMonths(1));
    const QString name = salesPerson.toUpper();
    // The month's rows, each with whether its deal was unwound whole in the
    // month; then the earlier rows whose deals were.
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral(
                 "SELECT s.\"Date\", s.rowid, s.\"TCU\", s.\"UnitCount\", s.\"Payable_Gross\", "
                 "s.\"Commission\", CASE WHEN EXISTS (SELECT 1 FROM \"Unwinds\" u WHERE "
                 "u.\"DealId\" = s.\"DealId\" AND u.\"Whole\" = 1 AND u.\"UnwoundOn\" >= ? AND "
                 "u.\"UnwoundOn\" < ?) THEN 1 ELSE 0 END, 0 FROM \"SalesSummary\" s WHERE s.\"Sales_Person\" = ? AND s.\"Date\" >= ? "
                 "AND s.\"Date\" < ? UNION ALL SELECT s.\"Date\", s.rowid, s.\"TCU\", "
                 "s.\"UnitCount\", s.\"Payable_Gross\", s.\"Commission\", 1, 1 FROM \"Unwinds\" u "
                 "JOIN \"SalesSummary\" s ON s.\"DealId\" = u.\"DealId\" WHERE u.\"Whole\" = 1 AND "
                 "u.\"UnwoundOn\" >= ? AND u.\"UnwoundOn\" < ? AND s.\"Sales_Person\" = ? AND "
                 "s.\"Date\" < ?"),
             {from, to, name, from, to, from, to, name, from}, error))
        return std::nullopt;
    QList<VolumeBonus::MonthRow> rows;
    while (query.next()) {
        rows << VolumeBonus::MonthRow{.date = ColumnValue::dateFrom(query.value(0)),
                                      .order = query.value(1).toLongLong(),
                                      .unitClass = query.value(2).toString(),
                                      .unitCount = moneyOf(query.value(3)),
                                      .payableGross = moneyOf(query.value(4)).roundedToCent(),
                                      .commission = moneyOf(query.value(5)).roundedToCent(),
                                      .unwound = query.value(6).toInt() != 0,
                                      .soldEarlier = query.value(7).toInt() != 0};
    }
    return rows;
}

std::optional<Money> paidFor(QSqlDatabase db, const QString &salesPerson, const QDate &month,
                             QString *error)
{
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral("SELECT COALESCE(SUM(l.\"Amount\"), 0) FROM \"Ledger\" l JOIN "
                            "\"Sheets\" s ON s.\"SheetId\" = l.\"SheetId\" WHERE l.\"Kind\" = ? "
                            "AND l.\"SalesPerson\" = ? AND l.\"EntryDate\" = ? AND "
                            "s.\"VoidedAt\" IS NULL"),
             {kVolumeBonus, salesPerson.toUpper(), ColumnValue::date(monthOf(month))}, error) ||
        !query.next())
        return std::nullopt;
    return Money::fromUnits(query.value(0).toLongLong());
}

bool recordBonus(QSqlDatabase db, qint64 sheetId, const QString &salesPerson, const QDate &month,
                 Money amount, const QString &text, QString *error)
{
    QSqlQuery insert(db);
    if (!StoreSql::prepare(insert,
                           StoreSql::insertReturning(
                               QStringLiteral("Ledger"),
                               {QStringLiteral("Kind"), QStringLiteral("SalesPerson"),
                                QStringLiteral("EntryDate"), QStringLiteral("Amount"),
                                QStringLiteral("SheetId"), QStringLiteral("Customer")},
                               QStringLiteral("EntryId")),
                           error))
        return false;
    const std::optional<qint64> id = StoreSql::insertedKey(
        insert,
        {kVolumeBonus, salesPerson.toUpper(), ColumnValue::date(monthOf(month)),
         ColumnValue::money(amount), sheetId, text},
        error);
    if (!id)
        return false;
    AuditTrail::Entry entry;
    entry.action = kVolumeBonus;
    entry.tableName = QStringLiteral("Ledger");
    entry.rowKey = *id;
    entry.sheetId = sheetId;
    entry.salesPerson = salesPerson.toUpper();
    entry.after = QStringLiteral("Month: %1\nAmount: %2\nLine: %3")
                      .arg(ColumnValue::isoDate(monthOf(month)), MoneyFormat::plain(amount), text);
    return AuditTrail::write(db, entry, error);
}

bool lockSalesPerson(QSqlDatabase db, const QString &salesPerson, QString *error)
{
    if (StoreEngine::engineOf(db) != StoreEngine::Engine::PostgreSQL)
        return true;
    QSqlQuery lock(db);
    return run(lock, QStringLiteral("SELECT pg_advisory_xact_lock(hashtext(?))"),
               {QStringLiteral("volume:") + salesPerson.toUpper()}, error);
}

} // namespace VolumeLedger
