#include "store/commission_payments.h"

#include "store/deal_database.h"
#include "store/pg_statement.h"
#include "store/sql_transaction.h"
#include "store/sqlite_statement.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QHash>
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

// A row from `value`, a reader of the columns of a statement's row: the
// rowid, the documented columns, then the deal when the statement gives it
// (markedColumns()).
template <typename Reader>
SummaryRow rowFrom(const Reader &value, bool withDeal)
{
    SummaryRow row;
    row.rowId = value(0).toLongLong();
    const int count = int(summaryColumns().size());
    row.values.reserve(count);
    for (int i = 0; i < count; ++i)
        row.values << value(i + 1);
    if (withDeal)
        row.dealId = value(count + 1);
    return row;
}

// What a marking statement gives back of each row it marked: the row as it
// stands now, and its deal.
QString markedColumns()
{
    return QStringLiteral("rowid, %1, \"DealId\"").arg(StoreSql::columnList(summaryColumns()));
}

// UPDATE ... SET "Paid" = 1 [, "SheetId" = ?] WHERE <rows> AND still unpaid
// and the salesperson's, RETURNING the rows marked. The marking itself
// decides whether a row is still to be paid: a server engine takes the row's
// lock as it updates and tests the condition again once it has it, so of two
// desks paying one row at once exactly one changes it.
QString markStatement(bool onSheet, const QString &rows)
{
    return QStringLiteral("UPDATE \"SalesSummary\" SET \"Paid\" = 1%1 WHERE %2 AND \"Paid\" = 0 "
                          "AND \"Sales_Person\" = ? RETURNING %3")
        .arg(onSheet ? QStringLiteral(", \"SheetId\" = ?") : QString(), rows, markedColumns());
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
                              selectRows(QStringLiteral(
                                  "\"Sales_Person\" = ? AND \"Paid\" = 0 AND NOT EXISTS "
                                  "(SELECT 1 FROM \"Holds\" h WHERE h.\"SummaryRow\" = "
                                  "\"SalesSummary\".rowid) AND NOT EXISTS (SELECT 1 FROM "
                                  "\"Unwinds\" u WHERE u.\"DealId\" = \"SalesSummary\".\"DealId\" "
                                  "AND u.\"Whole\" = 1) ORDER BY \"Date\", rowid")),
                              error);
            // Names are stored in capitals; the column's own case folding knows
            // only the letters A to Z, so "José Peña" is sought as "JOSÉ PEÑA".
            if (!query || !StoreSql::exec(*query, {salesPerson.toUpper()}, error))
                return false;
            const auto value = [&query](int column) { return query->value(column); };
            while (query->next())
                rows << rowFrom(value, false);
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
    return markPaid(rowIds, salesPerson, std::nullopt, error);
}

std::optional<PaidMarking> CommissionPayments::markPaid(const QList<qint64> &rowIds,
                                                        const QString &salesPerson,
                                                        std::optional<qint64> sheetId,
                                                        QString *error)
{
    if (notOpen(m_database, error))
        return std::nullopt;
    const QString owner = salesPerson.toUpper();
    QVariantList sheet;
    if (sheetId)
        sheet << *sheetId;
    PaidMarking marking;
    // Read inside the transaction, as the marking leaves them: the values the
    // sheet pays are those of the rows this desk now holds.
    if (m_database.engine() == StoreEngine::Engine::PostgreSQL) {
        // One statement for the whole list, however long (each row a
        // statement would cost a trip to the server), its values sent as
        // parameters on the connection's own handle.
        PgStatement mark(m_database.connection());
        std::vector<PgStatement::Value> values;
        if (sheetId)
            values.push_back(QByteArray::number(*sheetId));
        values.push_back(PgStatement::arrayOf(rowIds));
        values.push_back(owner.toUtf8());
        if (!mark.run(markStatement(sheetId.has_value(), QStringLiteral("rowid = ANY(?)")),
                      values, error))
            return std::nullopt;
        QHash<qint64, SummaryRow> marked;
        for (int at = 0; at < mark.rows(); ++at) {
            SummaryRow row = rowFrom([&](int column) { return mark.value(at, column); }, true);
            marked.insert(row.rowId, std::move(row));
        }
        // In the order given; a row listed twice is paid once.
        for (const qint64 rowId : rowIds) {
            const auto found = marked.find(rowId);
            if (found == marked.end()) {
                marking.paidElsewhere << rowId;
                continue;
            }
            marking.paid << *found;
            marked.erase(found);
        }
        return marking;
    }
    // Prepared once on the connection and bound on its own handle: paying a
    // long list runs it for every row.
    SqliteStatement *mark = m_database.sqlitePrepared(
        markStatement(sheetId.has_value(), QStringLiteral("rowid = ?")), error);
    if (!mark)
        return std::nullopt;
    marking.paid.reserve(rowIds.size());
    QVariantList values = sheet;
    values << QVariant() << owner;
    const qsizetype rowIdAt = sheet.size();
    for (const qint64 rowId : rowIds) {
        values[rowIdAt] = rowId;
        if (!mark->start(values, error))
            return std::nullopt;
        if (!mark->hasRow()) {
            mark->finish();
            marking.paidElsewhere << rowId;
            continue;
        }
        SummaryRow row = rowFrom([mark](int column) { return mark->value(column); }, true);
        mark->finish();
        marking.paid << std::move(row);
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
