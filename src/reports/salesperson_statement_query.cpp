#include "reports/salesperson_statement_query.h"

#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/sheet_records.h"
#include "store/store_engine.h"
#include "store/store_sql.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace SalespersonStatementQuery {

namespace {

using namespace SalespersonStatement;

bool run(QSqlQuery &query, const QString &statement, const QVariantList &values, QString *error)
{
    query.setForwardOnly(true);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

Money moneyOf(const QVariant &value)
{
    return ColumnValue::moneyFrom(value).value_or(Money());
}

std::optional<qint64> keyOf(const QVariant &value)
{
    return value.isNull() ? std::nullopt : std::optional(value.toLongLong());
}

QString marks(qsizetype count)
{
    QStringList all;
    all.fill(QStringLiteral("?"), count);
    return all.join(u',');
}

// A read-only transaction: every statement of the statement sees the same
// moment. It is always rolled back; nothing is written in it.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(QSqlDatabase db) : m_db(db) {}
    ~ReadSnapshot()
    {
        if (m_open)
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    }
    bool begin(StoreEngine::Engine engine, QString *error)
    {
        // Run as they are: a server does not prepare BEGIN.
        QSqlQuery begin(m_db);
        m_open = begin.exec(engine == StoreEngine::Engine::PostgreSQL
                                ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY")
                                : QStringLiteral("BEGIN"));
        if (!m_open && error)
            *error = StoreSql::errorText(begin.lastError());
        return m_open;
    }

private:
    QSqlDatabase m_db;
    bool m_open = false;
};

// A sheet's printing time "YYYY-MM-DD HH:MM:SS" read as its day.
QDate printedDay(const QString &printedAt)
{
    return QDate::fromString(printedAt.left(10), Qt::ISODate);
}

// The sheets of the salesperson printed from `first` through `last`. Names
// are compared in capitals here: a sheet keeps its name as the sheet window
// showed it, and the column's own folding knows only A to Z.
std::optional<QList<Sheet>> sheets(QSqlDatabase db, const QString &name, const QDate &first,
                                   const QDate &last, QString *error)
{
    const std::optional<QList<RecordedSheet>> printed =
        SheetRecords(db).printedBetween(first, last, error);
    if (!printed)
        return std::nullopt;
    QList<Sheet> found;
    for (const RecordedSheet &recorded : *printed) {
        if (recorded.heading.salesPerson.toUpper() != name)
            continue;
        found << Sheet{.id = recorded.id,
                       .printedOn = printedDay(recorded.printedAt),
                       .weekEnding = recorded.heading.weekEnding,
                       .bonusDescription = recorded.heading.bonusDescription,
                       .bonus = recorded.heading.bonus.value_or(Money()),
                       .carriedIn = recorded.carriedIn.value_or(Money()),
                       .net = recorded.paid(),
                       .voided = recorded.isVoided()};
    }
    return found;
}

const QString kDealColumns = QStringLiteral(
    "SELECT s.rowid, s.\"Date\", s.\"Stock_Number\", s.\"Customer_Name\", s.\"TCU\", "
    "s.\"UnitCount\", s.\"Payable_Gross\", s.\"Commission\", s.\"Spiff\", s.\"Warranty\", "
    "s.\"TotalCommission\", s.\"Paid\", s.\"SheetId\", CASE WHEN EXISTS (SELECT 1 FROM \"Holds\" "
    "h WHERE h.\"SummaryRow\" = s.rowid) THEN 1 ELSE 0 END, CASE WHEN EXISTS (SELECT 1 FROM "
    "\"Unwinds\" u WHERE u.\"DealId\" = s.\"DealId\" AND u.\"Whole\" = 1) THEN 1 ELSE 0 END "
    "FROM \"SalesSummary\" s WHERE s.\"Sales_Person\" = ? AND ");

bool readDeals(QSqlDatabase db, const QString &where, const QVariantList &values,
               QList<DealRow> &deals, QString *error)
{
    QSqlQuery query(db);
    if (!run(query, kDealColumns + where, values, error))
        return false;
    while (query.next()) {
        const qint64 rowId = query.value(0).toLongLong();
        if (std::any_of(deals.cbegin(), deals.cend(),
                        [rowId](const DealRow &deal) { return deal.rowId == rowId; }))
            continue;
        deals << DealRow{.rowId = rowId,
                         .date = ColumnValue::dateFrom(query.value(1)),
                         .stockNumber = query.value(2).toString(),
                         .customer = query.value(3).toString(),
                         .unitClass = query.value(4).toString(),
                         .units = moneyOf(query.value(5)),
                         .gross = moneyOf(query.value(6)),
                         .commission = moneyOf(query.value(7)),
                         .spiff = moneyOf(query.value(8)),
                         .warranty = moneyOf(query.value(9)),
                         .total = moneyOf(query.value(10)),
                         .paid = ColumnValue::yesNoFrom(query.value(11)),
                         .sheetId = keyOf(query.value(12)),
                         .held = query.value(13).toInt() != 0,
                         .unwound = query.value(14).toInt() != 0};
    }
    return true;
}

// The deal rows dated in the period, then those paid on its sheets.
std::optional<QList<DealRow>> deals(QSqlDatabase db, const QString &name,
                                    const StatementPeriod &period, const QVariantList &sheetIds,
                                    QString *error)
{
    QList<DealRow> found;
    if (!readDeals(db, QStringLiteral("s.\"Date\" BETWEEN ? AND ?"),
                   {name, ColumnValue::date(period.first), ColumnValue::date(period.last)}, found,
                   error))
        return std::nullopt;
    if (!sheetIds.isEmpty() &&
        !readDeals(db, QStringLiteral("s.\"SheetId\" IN (%1)").arg(marks(sheetIds.size())),
                   QVariantList{name} + sheetIds, found, error))
        return std::nullopt;
    std::stable_sort(found.begin(), found.end(), [](const DealRow &a, const DealRow &b) {
        return a.date != b.date ? a.date < b.date : a.rowId < b.rowId;
    });
    return found;
}

// The ledger entries dated in the period or on its sheets.
std::optional<QList<LedgerEntry>> entries(QSqlDatabase db, const QString &name,
                                          const StatementPeriod &period,
                                          const QVariantList &sheetIds, QString *error)
{
    QString where = QStringLiteral("\"EntryDate\" BETWEEN ? AND ?");
    if (!sheetIds.isEmpty())
        where = QStringLiteral("(%1 OR \"SheetId\" IN (%2))").arg(where, marks(sheetIds.size()));
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral("SELECT \"EntryId\", \"Kind\", \"EntryDate\", \"StockNumber\", "
                            "\"Customer\", \"Amount\", \"Recoverable\", \"SheetId\" FROM "
                            "\"Ledger\" WHERE \"SalesPerson\" = ? AND %1 ORDER BY "
                            "\"EntryDate\", \"EntryId\"")
                 .arg(where),
             QVariantList{name, ColumnValue::date(period.first), ColumnValue::date(period.last)} +
                 sheetIds,
             error))
        return std::nullopt;
    QList<LedgerEntry> found;
    while (query.next())
        found << LedgerEntry{.id = query.value(0).toLongLong(),
                             .kind = query.value(1).toString(),
                             .date = ColumnValue::dateFrom(query.value(2)),
                             .stockNumber = query.value(3).toString(),
                             .text = query.value(4).toString(),
                             .amount = moneyOf(query.value(5)),
                             .recoverable = query.value(6).isNull() ||
                                            ColumnValue::yesNoFrom(query.value(6)),
                             .sheetId = keyOf(query.value(7))};
    return found;
}

// The units of the deals the salesperson sold from `first` through `last`,
// less those taken back whole by `last`.
std::optional<Money> units(QSqlDatabase db, const QString &name, const QDate &first,
                           const QDate &last, QString *error)
{
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral("SELECT COALESCE(SUM(CASE WHEN EXISTS (SELECT 1 FROM \"Unwinds\" u "
                            "WHERE u.\"DealId\" = s.\"DealId\" AND u.\"Whole\" = 1 AND "
                            "u.\"UnwoundOn\" <= ?) THEN 0 ELSE s.\"UnitCount\" END), 0) FROM "
                            "\"SalesSummary\" s WHERE s.\"Sales_Person\" = ? AND s.\"Date\" "
                            "BETWEEN ? AND ?"),
             {ColumnValue::date(last), name, ColumnValue::date(first), ColumnValue::date(last)},
             error) ||
        !query.next())
        return std::nullopt;
    return Money::fromUnits(query.value(0).toLongLong());
}

bool readAll(QSqlDatabase db, const QString &name, const StatementPeriod &period,
             Records &records, QString *error)
{
    const std::optional<QList<Sheet>> found =
        sheets(db, name, std::min(period.first, period.yearStart()), period.last, error);
    if (!found)
        return false;
    records.sheets = *found;
    QVariantList periodSheets;
    for (const Sheet &sheet : records.sheets) {
        if (!sheet.voided && period.contains(sheet.printedOn))
            periodSheets << sheet.id;
    }
    const auto dealRows = deals(db, name, period, periodSheets, error);
    const auto ledger = dealRows ? entries(db, name, period, periodSheets, error) : std::nullopt;
    const auto month = ledger ? units(db, name, period.monthStart(), period.last, error)
                              : std::nullopt;
    const auto year = month ? units(db, name, period.yearStart(), period.last, error)
                            : std::nullopt;
    if (!year)
        return false;
    records.deals = *dealRows;
    records.entries = *ledger;
    records.monthUnits = *month;
    records.yearUnits = *year;
    return true;
}

} // namespace

std::optional<Records> read(DealDatabase &database, const QString &salesPerson,
                            const StatementPeriod &period, QString *error)
{
    if (!database.usable()) {
        if (error)
            *error = QStringLiteral("The deal database is not open.");
        return std::nullopt;
    }
    // Deal rows and ledger entries keep names in capitals.
    const QString name = salesPerson.toUpper();
    Records records;
    const bool read = database.reading(
        [&] {
            records = Records();
            ReadSnapshot snapshot(database.connection());
            return snapshot.begin(database.engine(), error) &&
                   readAll(database.connection(), name, period, records, error);
        },
        error);
    return read ? std::optional(records) : std::nullopt;
}

std::optional<Statement> statement(DealDatabase &database, const QString &salesPerson,
                                   const StatementPeriod &period, QString *error)
{
    const std::optional<Records> records = read(database, salesPerson, period, error);
    if (!records)
        return std::nullopt;
    return assemble(salesPerson, period, *records);
}

} // namespace SalespersonStatementQuery
