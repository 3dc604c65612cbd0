#include "reports/sales_report_query.h"

#include "reports/sales_report_unwinds.h"

#include "store/column_value.h"
#include "store/deal_database.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QSqlQuery>

#include <array>

namespace {

// The documented columns of a table; `upperColumn`, when given, in capitals.
QString selectList(const QString &table, const QString &upperColumn = {})
{
    QStringList list;
    for (const QString &column : StoreSchema::columns(table)) {
        const QString name = StoreSql::quoted(column);
        list << (column == upperColumn ? QStringLiteral("upper(%1) AS %1").arg(name) : name);
    }
    return list.join(QStringLiteral(", "));
}

// The key matches in any letter case; rows of one day keep the order they
// were saved in. With the unwinds, each day's deals are followed by the
// lines of the unwinds of that day.
SalesReportQuery rangeQuery(const QString &table, const QString &columns, const QString &extra,
                            const QString &keyColumn, const QString &key, const QDate &first,
                            const QDate &last, const SalesReportUnwinds::Lines &unwinds,
                            QStringList moneyColumns)
{
    const QString deals = QStringLiteral("FROM %1 WHERE %2 = ? AND \"Date\" BETWEEN ? AND ?")
                              .arg(StoreSql::quoted(table), StoreSql::quoted(keyColumn));
    SalesReportQuery query;
    query.statement =
        QStringLiteral("SELECT %1 %2 ORDER BY \"Date\", rowid").arg(columns, deals);
    query.values = {key, ColumnValue::date(first), ColumnValue::date(last)};
    query.moneyColumns = std::move(moneyColumns);

    QStringList outer = StoreSchema::columns(table);
    if (!extra.isEmpty())
        outer << QStringLiteral("UnitsCounted");
    query.withUnwinds.statement =
        QStringLiteral("SELECT %1 FROM (SELECT %2%3, %4 %5 UNION ALL %6) AS \"Lines\" %7")
            .arg(StoreSql::columnList(outer), columns, extra, SalesReportUnwinds::dealOrderKeys(),
                 deals, unwinds.statement, SalesReportUnwinds::orderBy());
    query.withUnwinds.values = query.values + unwinds.values;
    query.first = first;
    query.last = last;
    return query;
}

struct UnitClass
{
    const char *caption;
    const char *code;
};

constexpr std::array<UnitClass, 4> kUnitClasses = {{
    {"New Truck", "NT"},
    {"New Car", "NC"},
    {"Used Truck", "UT"},
    {"Used Car", "UC"},
}};

} // namespace

SalesReportQuery SalesReportQuery::salesLog(const QString &unitClass, const QDate &first,
                                            const QDate &last)
{
    // A code saved in small letters is the same class, and the report groups
    // on it: one class, one group.
    const QString table = QStringLiteral("SalesLog");
    const QString tcu = QStringLiteral("TCU");
    return rangeQuery(table, selectList(table, tcu), QStringLiteral(", NULL AS \"UnitsCounted\""),
                      tcu, unitClass, first, last,
                      SalesReportUnwinds::salesLog(unitClass, first, last),
                      {QStringLiteral("Gross")});
}

SalesReportQuery SalesReportQuery::salesSummary(const QString &salesPerson, const QDate &first,
                                                const QDate &last)
{
    const QString table = QStringLiteral("SalesSummary");
    // Names are stored in capitals, and the column folds only A to Z.
    const QString name = salesPerson.toUpper();
    return rangeQuery(table, selectList(table), QString(), QStringLiteral("Sales_Person"), name,
                      first, last, SalesReportUnwinds::salesSummary(name, first, last),
                      {QStringLiteral("Payable_Gross"), QStringLiteral("Commission"),
                       QStringLiteral("Spiff"), QStringLiteral("Warranty"),
                       QStringLiteral("UnitCount"), QStringLiteral("TotalCommission")});
}

std::optional<ReportRows> SalesReportQuery::fetch(const DealDatabase &database,
                                                  QString *error) const
{
    const std::unique_ptr<ReportQueryRows> rows = open(database, error);
    if (!rows)
        return std::nullopt;
    return ReportRows::readAll(*rows, rows->columns());
}

std::unique_ptr<ReportQueryRows> SalesReportQuery::open(const DealDatabase &database,
                                                        QString *error) const
{
    const std::optional<bool> unwound =
        withUnwinds.statement.isEmpty()
            ? std::optional(false)
            : SalesReportUnwinds::anyIn(database.connection(), first, last, error);
    if (!unwound)
        return nullptr;
    const SalesReportUnwinds::Lines &run =
        *unwound ? withUnwinds : SalesReportUnwinds::Lines{statement, values};
    QSqlQuery query(database.connection());
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, run.statement, error) ||
        !StoreSql::exec(query, run.values, error))
        return nullptr;
    return std::make_unique<ReportQueryRows>(std::move(query), moneyColumns);
}

namespace UnitClassNames {

QStringList captions()
{
    QStringList list;
    for (const UnitClass &unitClass : kUnitClasses)
        list << QString::fromLatin1(unitClass.caption);
    return list;
}

std::optional<QString> codeOf(const QString &caption)
{
    for (const UnitClass &unitClass : kUnitClasses) {
        if (caption == QLatin1String(unitClass.caption))
            return QString::fromLatin1(unitClass.code);
    }
    return std::nullopt;
}

QString titleOf(const QString &code)
{
    if (code == u"NT")
        return QStringLiteral("New Trucks");
    if (code == u"NC")
        return QStringLiteral("New Cars");
    if (code == u"UC")
        return QStringLiteral("Used Cars");
    return QStringLiteral("Used Trucks");
}

} // namespace UnitClassNames
