#include "store/commission_payments.h"

#include "store/deal_database.h"
#include "store/sql_transaction.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QSqlQuery>

namespace {

const QStringList &summaryColumns()
{
    static const QStringList columns =
        StoreSchema::columns(QString::fromLatin1(StoreSchema::kSalesSummary));
    return columns;
}

// SELECT rowid, "Date", ... FROM "SalesSummary" WHERE <where>
QString selectRows(const QString &where)
{
    return QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %3")
        .arg(StoreSql::columnList(summaryColumns()),
             StoreSql::quoted(QString::fromLatin1(StoreSchema::kSalesSummary)), where);
}

SummaryRow rowOf(const QSqlQuery &query)
{
    SummaryRow row;
    row.rowId = query.value(0).toLongLong();
    for (qsizetype i = 0; i < summaryColumns().size(); ++i)
        row.values << query.value(int(i) + 1);
    return row;
}

bool notOpen(const DealDatabase &database, QString *error)
{
    if (database.usable())
        return false;
    if (error)
        *error = QStringLiteral("The deal database is not open.");
    return true;
}

} // namespace

QVariant SummaryRow::value(const QString &column) const
{
    const qsizetype index = summaryColumns().indexOf(column);
    return index < 0 ? QVariant() : values.value(index);
}

CommissionPayments::CommissionPayments(DealDatabase &database) : m_database(database)
{
}

std::optional<QList<SummaryRow>> CommissionPayments::unpaid(const QString &salesPerson,
                                                            QString *error) const
{
    if (notOpen(m_database, error))
        return std::nullopt;
    QList<SummaryRow> rows;
    const bool read = m_database.reading(
        [&] {
            rows.clear();
            CachedQuery query(m_database,
                              selectRows(QStringLiteral("\"Sales_Person\" = ? AND \"Paid\" = 0 "
                                                        "ORDER BY \"Date\", rowid")),
                              error);
            // Names are stored in capitals; the column's own case folding knows
            // only the letters A to Z, so "José Peña" is sought as "JOSÉ PEÑA".
            if (!query || !StoreSql::exec(*query, {salesPerson.toUpper()}, error))
                return false;
            while (query->next())
                rows << rowOf(*query);
            return true;
        },
        error);
    if (!read)
        return std::nullopt;
    return rows;
}

std::optional<PaidMarking> CommissionPayments::markPaid(const QList<qint64> &rowIds,
                                                        const QString &salesPerson, QString *error)
{
    if (notOpen(m_database, error))
        return std::nullopt;
    // Prepared once on the connection: paying a long list runs these two
    // statements for every row. The marking itself decides whether the row
    // is still to be paid: a server engine takes the row's lock as it
    // updates and tests the condition again once it has it, so of two desks
    // paying one row at once exactly one changes it.
    QSqlQuery *mark = m_database.prepared(
        QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1 WHERE rowid = ? "
                       "AND \"Paid\" = 0 AND \"Sales_Person\" = ?"),
        error);
    QSqlQuery *read =
        mark ? m_database.prepared(selectRows(QStringLiteral("rowid = ?")), error) : nullptr;
    if (!read)
        return std::nullopt;
    const QString owner = salesPerson.toUpper();
    PaidMarking marking;
    for (const qint64 rowId : rowIds) {
        if (!StoreSql::exec(*mark, {rowId, owner}, error))
            return std::nullopt;
        if (mark->numRowsAffected() != 1) {
            marking.paidElsewhere << rowId;
            continue;
        }
        // Read inside the transaction, after the marking: the values the
        // sheet pays are those of the row this desk now holds.
        if (!StoreSql::exec(*read, {rowId}, error))
            return std::nullopt;
        const bool found = read->next();
        if (found)
            marking.paid << rowOf(*read);
        read->finish();
        if (!found)
            marking.paidElsewhere << rowId;
    }
    return marking;
}

bool CommissionPayments::markUnpaid(const QList<qint64> &rowIds, QString *error)
{
    if (notOpen(m_database, error))
        return false;
    SqlTransaction transaction(m_database.connection());
    if (!transaction.begin(error))
        return false;
    QSqlQuery unmark(m_database.connection());
    if (!StoreSql::prepare(
            unmark, QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 0 WHERE rowid = ?"),
            error))
        return false;
    for (const qint64 rowId : rowIds) {
        if (!StoreSql::exec(unmark, {rowId}, error))
            return false;
    }
    return transaction.commit(error);
}
