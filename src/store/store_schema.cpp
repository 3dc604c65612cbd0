#include "store_schema.h"

#include "sheet_schema.h"
#include "store_engine.h"
#include "store_migration.h"
#include "store_sql.h"

#include <QSqlQuery>
#include <QVariant>

namespace StoreSchema {

namespace {

enum class Kind { Date, Text, RequiredText, Integer, YesNo };

struct Column
{
    const char *name;
    Kind kind;
};

struct Table
{
    const char *name;
    QList<Column> columns;
};

const QList<Table> &tables()
{
    static const QList<Table> all = {
        {kSalesSummary,
         {{"Date", Kind::Date},
          {"Unit", Kind::Text},
          {"Stock_Number", Kind::Text},
          {"Customer_Name", Kind::Text},
          {"Sales_Person", Kind::Text},
          {"TCU", Kind::Text},
          {"Payable_Gross", Kind::Integer},
          {"Commission", Kind::Integer},
          {"Spiff", Kind::Integer},
          {"Warranty", Kind::Integer},
          {"UnitCount", Kind::Integer},
          {"TotalCommission", Kind::Integer},
          {"Paid", Kind::YesNo}}},
        {kSalesLog,
         {{"Date", Kind::Date},
          {"StockNumber", Kind::Text},
          {"Unit", Kind::Text},
          {"CustomerName", Kind::Text},
          {"SalesPerson", Kind::Text},
          {"Type", Kind::Text},
          {"Gross", Kind::Integer},
          {"TCU", Kind::Text}}},
        {kRecallDeal,
         {{"Date", Kind::Date},       {"SalesPerson", Kind::Text},  {"Customer", Kind::Text},
          {"StockNo", Kind::Text},    {"Year", Kind::Integer},      {"Unit", Kind::Text},
          {"TCU", Kind::Text},        {"SaleType", Kind::Text},     {"Price", Kind::Integer},
          {"Cost", Kind::Integer},    {"RTCD1", Kind::Text},        {"RTCD2", Kind::Text},
          {"RTCD3", Kind::Text},      {"RTCD4", Kind::Text},        {"RTCD5", Kind::Text},
          {"RTCP1", Kind::Integer},   {"RTCP2", Kind::Integer},     {"RTCP3", Kind::Integer},
          {"RTCP4", Kind::Integer},   {"RTCP5", Kind::Integer},     {"ATCD1", Kind::Text},
          {"ATCD2", Kind::Text},      {"ATCD3", Kind::Text},        {"ATCD4", Kind::Text},
          {"ATCD5", Kind::Text},      {"ATCP1", Kind::Integer},     {"ATCP2", Kind::Integer},
          {"ATCP3", Kind::Integer},   {"ATCP4", Kind::Integer},     {"ATCP5", Kind::Integer},
          {"Allow", Kind::Integer},   {"OVAllow", Kind::Integer},   {"TrdStock", Kind::Text},
          {"OA", Kind::YesNo},        {"UA", Kind::YesNo},          {"Pack", Kind::Integer},
          {"CommRate", Kind::Text},   {"ChkWarranty", Kind::YesNo}, {"Gross", Kind::Integer},
          {"Comm", Kind::Integer},    {"Warranty", Kind::Integer},  {"Spiff", Kind::Integer},
          {"TtlComm", Kind::Integer}, {"Split", Kind::YesNo},       {"Salesman2", Kind::Text}}},
        {kSalesPersons, {{"Name", Kind::RequiredText}}},
    };
    return all;
}

QString declaration(const Column &column)
{
    const QString name = StoreSql::quoted(QString::fromLatin1(column.name));
    switch (column.kind) {
    case Kind::Date:
        // ISO dates only, so that date ranges compare as text.
        return name + QStringLiteral(" TEXT CHECK (") + name + QStringLiteral(" IS NULL OR ") +
               name + QStringLiteral(" GLOB '[0-9][0-9][0-9][0-9]-[0-1][0-9]-[0-3][0-9]')");
    case Kind::Text:
        return name + QStringLiteral(" TEXT COLLATE NOCASE");
    case Kind::RequiredText:
        return name + QStringLiteral(" TEXT NOT NULL COLLATE NOCASE");
    case Kind::Integer:
        return name + QStringLiteral(" INTEGER");
    case Kind::YesNo:
        return name + QStringLiteral(" INTEGER NOT NULL DEFAULT 0 CHECK (") + name +
               QStringLiteral(" IN (0, 1))");
    }
    return name;
}

QString createStatement(const Table &table)
{
    QStringList parts;
    for (const Column &column : table.columns)
        parts << declaration(column);
    const QString name = QString::fromLatin1(table.name);
    if (name == QLatin1String(kRecallDeal))
        parts << StoreSql::quoted(kDealId) + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    else if (name != QLatin1String(kSalesPersons))
        parts << StoreSql::quoted(kDealId) + QStringLiteral(" INTEGER NOT NULL REFERENCES ") +
                     StoreSql::quoted(kRecallDeal) + u'(' + StoreSql::quoted(kDealId) + u')';
    return QStringLiteral("CREATE TABLE ") + StoreSql::quoted(name) + QStringLiteral(" (\n    ") +
           parts.join(QStringLiteral(",\n    ")) + QStringLiteral("\n) STRICT");
}

QString index(const char *indexName, const char *table, const QString &columns)
{
    return QStringLiteral("CREATE INDEX ") + StoreSql::quoted(QString::fromLatin1(indexName)) +
           QStringLiteral(" ON ") + StoreSql::quoted(QString::fromLatin1(table)) + u'(' + columns +
           u')';
}

QStringList indexStatements()
{
    return {
        index("SalesSummary_Stock_Number", kSalesSummary, QStringLiteral("\"Stock_Number\"")),
        index("SalesSummary_Sales_Person_Date", kSalesSummary,
              QStringLiteral("\"Sales_Person\", \"Date\"")),
        index("SalesSummary_Date", kSalesSummary, QStringLiteral("\"Date\"")),
        index("SalesSummary_DealId", kSalesSummary, QStringLiteral("\"DealId\"")),
        index("SalesLog_StockNumber", kSalesLog, QStringLiteral("\"StockNumber\"")),
        index("SalesLog_Date", kSalesLog, QStringLiteral("\"Date\"")),
        index("SalesLog_DealId", kSalesLog, QStringLiteral("\"DealId\"")),
        index("RecallDeal_StockNo", kRecallDeal, QStringLiteral("\"StockNo\"")),
    };
}

bool exec(QSqlDatabase &db, const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

// The single value of a one-row query, or an invalid QVariant with `error` set.
QVariant value(QSqlDatabase &db, const QString &statement, QString *error)
{
    QSqlQuery query(db);
    if (!StoreSql::prepare(query, statement, error) || !StoreSql::exec(query, {}, error) ||
        !query.next())
        return {};
    return query.value(0);
}

} // namespace

QStringList columns(const QString &table)
{
    for (const Table &t : tables()) {
        if (table == QLatin1String(t.name)) {
            QStringList names;
            for (const Column &column : t.columns)
                names << QString::fromLatin1(column.name);
            return names;
        }
    }
    return {};
}

bool create(QSqlDatabase &db, QString *error)
{
    QStringList statements;
    for (const Table &table : tables())
        statements << createStatement(table);
    statements << indexStatements();
    for (const QString &statement : statements) {
        if (!exec(db, statement, {}, error))
            return false;
    }
    return exec(db, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES (?)"),
                {QString::fromLatin1(kFirstSalesPerson)}, error) &&
           exec(db, QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId), {}, error) &&
           StoreMigration::applySteps(db, kFirstVersion, error);
}

Verdict verify(QSqlDatabase &db, QString *detail)
{
    QString why;
    // Reading the schema is the first read of the file: a file that is not an
    // SQLite database fails here.
    if (!value(db, QStringLiteral("SELECT count(*) FROM sqlite_master"), &why).isValid()) {
        if (detail)
            *detail = QStringLiteral("it cannot be read as a database (%1)").arg(why);
        return Verdict::NotOurs;
    }
    const int applicationId = value(db, QStringLiteral("PRAGMA application_id"), &why).toInt();
    if (applicationId != 0 && applicationId != kApplicationId) {
        if (detail)
            *detail = QStringLiteral("it is a database of another program");
        return Verdict::NotOurs;
    }
    const int version = value(db, QStringLiteral("PRAGMA user_version"), &why).toInt();
    if (version > kVersion) {
        if (detail)
            *detail = QStringLiteral("database version %1; this version reads up to %2")
                          .arg(version)
                          .arg(kVersion);
        return Verdict::Newer;
    }
    QList<Table> required = tables();
    if (version >= 2)
        required << Table{StoreEngine::kCustomerSearch, {{"Customer", Kind::Text}}}
                 << Table{StoreEngine::kDealCount,
                          {{StoreEngine::kDealCountColumn, Kind::Integer}}};
    if (version >= 3)
        required << Table{SheetSchema::kSheets,
                          {{"SheetId", Kind::Integer},
                           {"SalesPerson", Kind::Text},
                           {"Lines", Kind::Text}}}
                 << Table{SheetSchema::kAudit, {{"AuditId", Kind::Integer}, {"At", Kind::Text}}};
    for (const Table &table : required) {
        QSqlQuery query(db);
        if (!StoreSql::prepare(query, QStringLiteral("SELECT name FROM pragma_table_info(?)"),
                               detail) ||
            !StoreSql::exec(query, {QString::fromLatin1(table.name)}, detail))
            return Verdict::NotOurs;
        QStringList present;
        while (query.next())
            present << query.value(0).toString();
        if (present.isEmpty()) {
            if (detail)
                *detail = QStringLiteral("it has no table %1").arg(QString::fromLatin1(table.name));
            return Verdict::NotOurs;
        }
        QStringList names;
        for (const Column &column : table.columns)
            names << QString::fromLatin1(column.name);
        // The deal tables close with DealId; the others do not have it.
        if (columns(QString::fromLatin1(table.name)).size() > 0 &&
            QLatin1String(table.name) != QLatin1String(kSalesPersons))
            names << QString::fromLatin1(kDealId);
        for (const QString &column : names) {
            if (!present.contains(column)) {
                if (detail)
                    *detail = QStringLiteral("its table %1 has no column %2")
                                  .arg(QString::fromLatin1(table.name), column);
                return Verdict::NotOurs;
            }
        }
    }
    return Verdict::Ours;
}

} // namespace StoreSchema
