#include "record_table.h"

#include "audit_trail.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_schema.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace {

bool failed(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString goneMessage()
{
    return QStringLiteral("The record is no longer in the database; it was deleted elsewhere.");
}

const QStringList kStockColumns = {QStringLiteral("Stock_Number"), QStringLiteral("StockNumber")};
const QStringList kSalesPersonColumns = {QStringLiteral("Sales_Person"),
                                         QStringLiteral("SalesPerson"), QStringLiteral("Name")};

} // namespace

RecordTable::RecordTable(QSqlDatabase db, QString table, QList<RecordField> fields,
                         QString dealStockColumn)
    : m_db(std::move(db)), m_table(std::move(table)), m_fields(std::move(fields)),
      m_dealStockColumn(std::move(dealStockColumn))
{
}

bool RecordTable::reload(QString *error)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(
            query,
            QStringLiteral("SELECT rowid FROM %1 ORDER BY rowid").arg(StoreSql::quoted(m_table)),
            error) ||
        !StoreSql::exec(query, {}, error))
        return false;
    QList<qint64> rowIds;
    while (query.next())
        rowIds.append(query.value(0).toLongLong());
    m_rowIds = rowIds;
    return true;
}

std::optional<QStringList> RecordTable::read(int position, QString *error) const
{
    return readRow(position, false, error);
}

std::optional<QStringList> RecordTable::readRow(int position, bool lock, QString *error) const
{
    QStringList columns;
    for (const RecordField &field : m_fields)
        columns << field.column;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?%3")
                               .arg(StoreSql::columnList(columns), StoreSql::quoted(m_table),
                                    lock ? StoreEngine::lockRows(StoreEngine::engineOf(m_db))
                                         : QString()),
                           error) ||
        !StoreSql::exec(query, {rowIdAt(position)}, error))
        return std::nullopt;
    if (!query.next()) {
        failed(error, goneMessage());
        return std::nullopt;
    }
    QStringList texts;
    for (int i = 0; i < m_fields.size(); ++i)
        texts << m_fields.at(i).display(query.value(i));
    return texts;
}

std::optional<QVariantList> RecordTable::values(const QList<int> &fieldIndexes,
                                                const QStringList &texts, QString *error) const
{
    QVariantList result;
    for (const int i : fieldIndexes) {
        const std::optional<QVariant> value = m_fields.at(i).value(texts.value(i), error);
        if (!value)
            return std::nullopt;
        result << *value;
    }
    return result;
}

QStringList RecordTable::writable(const QStringList &texts) const
{
    QStringList result = texts;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).readOnly)
            result[i] = m_fields.at(i).display(QVariant());
    }
    return result;
}

bool RecordTable::update(int position, const QStringList &shown, const QStringList &texts,
                         QString *error, bool *changedElsewhere)
{
    QList<int> changed;
    QStringList assignments;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (!m_fields.at(i).readOnly && texts.value(i) != shown.value(i)) {
            changed << i;
            assignments << StoreSql::quoted(m_fields.at(i).column) + QStringLiteral(" = ?");
        }
    }
    if (changed.isEmpty())
        return true;
    std::optional<QVariantList> bound = values(changed, texts, error);
    if (!bound)
        return false;
    bound->append(rowIdAt(position));
    SqlTransaction transaction(m_db);
    if (!transaction.begin(error))
        return false;
    const std::optional<QStringList> stored = readRow(position, true, error);
    if (!stored)
        return false;
    QStringList changedThere;
    for (int i = 0; i < m_fields.size(); ++i) {
        if ((changed.contains(i) || m_fields.at(i).readOnly) && stored->value(i) != shown.value(i))
            changedThere << QString(m_fields.at(i).label).remove(u':');
    }
    if (!changedThere.isEmpty()) {
        if (changedElsewhere)
            *changedElsewhere = true;
        return failed(error,
                      QStringLiteral("This record was changed at another desk since it was shown "
                                     "(%1). Your change was not saved: the record now shows as "
                                     "it is stored; make your change again if it is still "
                                     "wanted.")
                          .arg(changedThere.join(QStringLiteral(", "))));
    }
    QSqlQuery query(m_db);
    if (!StoreSql::prepare(query,
                           QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                               .arg(StoreSql::quoted(m_table), assignments.join(u", ")),
                           error) ||
        !StoreSql::exec(query, *bound, error))
        return false;
    if (query.numRowsAffected() == 0)
        return failed(error, goneMessage());
    const std::optional<QStringList> written = read(position, error);
    return written &&
           audit(QStringLiteral("Row changed"), rowIdAt(position), *stored, *written, changed,
                 error) &&
           transaction.commit(error);
}

bool RecordTable::audit(const QString &action, qint64 rowId, const QStringList &before,
                        const QStringList &after, const QList<int> &fieldIndexes,
                        QString *error) const
{
    AuditTrail::Entry entry;
    entry.action = action;
    entry.tableName = m_table;
    entry.rowKey = rowId;
    const QStringList &identifying = after.isEmpty() ? before : after;
    QStringList was;
    QStringList is;
    for (int i = 0; i < m_fields.size(); ++i) {
        const QString &column = m_fields.at(i).column;
        if (kStockColumns.contains(column))
            entry.stockNumber = identifying.value(i);
        if (kSalesPersonColumns.contains(column))
            entry.salesPerson = identifying.value(i);
        if (!fieldIndexes.contains(i))
            continue;
        if (!before.isEmpty())
            was << column + QStringLiteral(": ") + before.value(i);
        if (!after.isEmpty())
            is << column + QStringLiteral(": ") + after.value(i);
    }
    entry.before = was.join(u'\n');
    entry.after = is.join(u'\n');
    return AuditTrail::write(m_db, entry, error);
}

std::optional<QVariant> RecordTable::dealOf(const QStringList &texts, QString *error) const
{
    QString stockNumber;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).column == m_dealStockColumn)
            stockNumber = texts.value(i).trimmed();
    }
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(
            query,
            QStringLiteral("SELECT %1 FROM %2 WHERE \"StockNo\" = ? "
                           "ORDER BY %1 DESC LIMIT 1")
                .arg(StoreSql::quoted(QString::fromLatin1(StoreSchema::kDealId)),
                     StoreSql::quoted(QString::fromLatin1(StoreSchema::kRecallDeal))),
            error) ||
        !StoreSql::exec(query, {stockNumber}, error))
        return std::nullopt;
    if (!query.next()) {
        failed(error, QStringLiteral("No saved deal has the stock number \"%1\". Every record "
                                     "here belongs to a deal: save the deal on the worksheet "
                                     "first, or type the stock number of a saved deal.")
                          .arg(stockNumber));
        return std::nullopt;
    }
    return query.value(0);
}

std::optional<int> RecordTable::append(const QStringList &texts, QString *error)
{
    QList<int> all;
    QStringList columns;
    for (int i = 0; i < m_fields.size(); ++i) {
        all << i;
        columns << m_fields.at(i).column;
    }
    const QStringList added = writable(texts);
    std::optional<QVariantList> bound = values(all, added, error);
    if (!bound)
        return std::nullopt;
    if (!m_dealStockColumn.isEmpty()) {
        const std::optional<QVariant> deal = dealOf(texts, error);
        if (!deal)
            return std::nullopt;
        columns << QString::fromLatin1(StoreSchema::kDealId);
        bound->append(*deal);
    }
    SqlTransaction transaction(m_db);
    if (!transaction.begin(error))
        return std::nullopt;
    QSqlQuery query(m_db);
    if (!StoreSql::prepare(query,
                           StoreSql::insertReturning(m_table, columns, QStringLiteral("rowid")),
                           error))
        return std::nullopt;
    const std::optional<qint64> rowId = StoreSql::insertedKey(query, *bound, error);
    if (!rowId || !audit(QStringLiteral("Row added"), *rowId, {}, added, all, error) ||
        !transaction.commit(error))
        return std::nullopt;
    if (!reload(error))
        return std::nullopt;
    return positionOf(*rowId);
}

bool RecordTable::remove(int position, QString *error)
{
    const qint64 rowId = rowIdAt(position);
    SqlTransaction transaction(m_db);
    if (!transaction.begin(error))
        return false;
    QList<int> all;
    for (int i = 0; i < m_fields.size(); ++i)
        all << i;
    QString why;
    // A row already gone elsewhere is no error and leaves no entry.
    const std::optional<QStringList> stored = read(position, &why);
    QSqlQuery query(m_db);
    if (!StoreSql::prepare(
            query, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(StoreSql::quoted(m_table)),
            error) ||
        !StoreSql::exec(query, {rowId}, error))
        return false;
    if (stored && !audit(QStringLiteral("Row deleted"), rowId, *stored, {}, all, error))
        return false;
    if (!transaction.commit(error))
        return false;
    m_rowIds.removeOne(rowId);
    return true;
}

std::optional<int> RecordTable::findFirst(const QString &column, const QString &text,
                                          QString *error)
{
    // Text columns compare without regard to letter case (COLLATE NOCASE).
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ? ORDER BY rowid "
                                          "LIMIT 1")
                               .arg(StoreSql::quoted(m_table), StoreSql::quoted(column)),
                           error) ||
        !StoreSql::exec(query, {text}, error))
        return std::nullopt;
    if (!query.next())
        return -1;
    const qint64 rowId = query.value(0).toLongLong();
    query.finish();
    // A row written since the keys were read is found too.
    if (positionOf(rowId) < 0 && !reload(error))
        return std::nullopt;
    return positionOf(rowId);
}
