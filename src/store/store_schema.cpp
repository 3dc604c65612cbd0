#include "store_schema.h"

#include "pay_plan_schema.h"
#include "payroll_schema.h"
#include "sheet_desk_schema.h"
#include "sheet_schema.h"
#include "ledger_schema.h"
#include "users_schema.h"
#include "volume_schema.h"
#include "store_engine.h"
#include "store_layout.h"
#include "store_migration.h"
#include "store_sql.h"

#include <QSqlQuery>

#include <algorithm>
#include <QVariant>

namespace StoreSchema {

namespace {

using StoreEngine::ColumnKind;
using StoreLayout::Column;
using StoreLayout::Table;

// The documented tables without DealId, which createStatement() adds.
const QList<Table> &tables()
{
    static const QList<Table> all = {
        {kSalesSummary,
         {{"Date", ColumnKind::Date},
          {"Unit", ColumnKind::Text},
          {"Stock_Number", ColumnKind::Text},
          {"Customer_Name", ColumnKind::Text},
          {"Sales_Person", ColumnKind::Text},
          {"TCU", ColumnKind::Text},
          {"Payable_Gross", ColumnKind::Integer},
          {"Commission", ColumnKind::Integer},
          {"Spiff", ColumnKind::Integer},
          {"Warranty", ColumnKind::Integer},
          {"UnitCount", ColumnKind::Integer},
          {"TotalCommission", ColumnKind::Integer},
          {"Paid", ColumnKind::YesNo}}},
        {kSalesLog,
         {{"Date", ColumnKind::Date},
          {"StockNumber", ColumnKind::Text},
          {"Unit", ColumnKind::Text},
          {"CustomerName", ColumnKind::Text},
          {"SalesPerson", ColumnKind::Text},
          {"Type", ColumnKind::Text},
          {"Gross", ColumnKind::Integer},
          {"TCU", ColumnKind::Text}}},
        {kRecallDeal,
         {{"Date", ColumnKind::Date},       {"SalesPerson", ColumnKind::Text},  {"Customer", ColumnKind::Text},
          {"StockNo", ColumnKind::Text},    {"Year", ColumnKind::Integer},      {"Unit", ColumnKind::Text},
          {"TCU", ColumnKind::Text},        {"SaleType", ColumnKind::Text},     {"Price", ColumnKind::Integer},
          {"Cost", ColumnKind::Integer},    {"RTCD1", ColumnKind::Text},        {"RTCD2", ColumnKind::Text},
          {"RTCD3", ColumnKind::Text},      {"RTCD4", ColumnKind::Text},        {"RTCD5", ColumnKind::Text},
          {"RTCP1", ColumnKind::Integer},   {"RTCP2", ColumnKind::Integer},     {"RTCP3", ColumnKind::Integer},
          {"RTCP4", ColumnKind::Integer},   {"RTCP5", ColumnKind::Integer},     {"ATCD1", ColumnKind::Text},
          {"ATCD2", ColumnKind::Text},      {"ATCD3", ColumnKind::Text},        {"ATCD4", ColumnKind::Text},
          {"ATCD5", ColumnKind::Text},      {"ATCP1", ColumnKind::Integer},     {"ATCP2", ColumnKind::Integer},
          {"ATCP3", ColumnKind::Integer},   {"ATCP4", ColumnKind::Integer},     {"ATCP5", ColumnKind::Integer},
          {"Allow", ColumnKind::Integer},   {"OVAllow", ColumnKind::Integer},   {"TrdStock", ColumnKind::Text},
          {"OA", ColumnKind::YesNo},        {"UA", ColumnKind::YesNo},          {"Pack", ColumnKind::Integer},
          {"CommRate", ColumnKind::Text},   {"ChkWarranty", ColumnKind::YesNo}, {"Gross", ColumnKind::Integer},
          {"Comm", ColumnKind::Integer},    {"Warranty", ColumnKind::Integer},  {"Spiff", ColumnKind::Integer},
          {"TtlComm", ColumnKind::Integer}, {"Split", ColumnKind::YesNo},       {"Salesman2", ColumnKind::Text}}},
        {kSalesPersons, {{"Name", ColumnKind::RequiredText}}},
    };
    return all;
}

QString tableStatement(StoreEngine::Engine engine, const Table &table)
{
    Table full = table;
    const QString name = QString::fromLatin1(table.name);
    if (name == QLatin1String(kRecallDeal))
        full.columns << Column{kDealId, ColumnKind::Key};
    else if (name != QLatin1String(kSalesPersons))
        full.columns << Column{kDealId, ColumnKind::DealRef};
    return StoreLayout::createStatement(engine, full);
}

QString index(const char *indexName, const char *table, const QString &columns)
{
    return StoreLayout::indexStatement(indexName, table, columns);
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
    const StoreEngine::Engine engine = StoreEngine::engineOf(db);
    QStringList statements = StoreEngine::preludeStatements(engine);
    // RecallDeal first: the other deal tables refer to it.
    QList<Table> ordered = tables();
    std::stable_partition(ordered.begin(), ordered.end(), [](const Table &table) {
        return QLatin1String(table.name) == QLatin1String(kRecallDeal);
    });
    for (const Table &table : std::as_const(ordered))
        statements << tableStatement(engine, table);
    statements << indexStatements();
    return StoreEngine::runAll(db, statements, error) &&
           exec(db, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES (?)"),
                {QString::fromLatin1(kFirstSalesPerson)}, error) &&
           StoreEngine::runAll(db, StoreEngine::versionMarkStatements(engine, kFirstVersion),
                               error) &&
           StoreMigration::applySteps(db, kFirstVersion, error);
}

Verdict verify(QSqlDatabase &db, QString *detail)
{
    const bool server = StoreEngine::engineOf(db) == StoreEngine::Engine::PostgreSQL;
    QString why;
    // Reading the schema is the first read of the file: a file that is not an
    // SQLite database fails here.
    if (!StoreEngine::tableCount(db, &why)) {
        if (detail)
            *detail = QStringLiteral("it cannot be read as a database (%1)").arg(why);
        return Verdict::NotOurs;
    }
    if (!server) {
        const int applicationId = value(db, QStringLiteral("PRAGMA application_id"), &why).toInt();
        if (applicationId != 0 && applicationId != kApplicationId) {
            if (detail)
                *detail = QStringLiteral("it is a database of another program");
            return Verdict::NotOurs;
        }
    }
    const std::optional<int> stored = StoreEngine::schemaVersion(db, &why);
    if (!stored || (server && *stored == 0)) {
        if (detail)
            *detail = stored ? QStringLiteral("it holds tables of another program")
                             : QStringLiteral("its version cannot be read (%1)").arg(why);
        return Verdict::NotOurs;
    }
    const int version = *stored;
    if (version > kVersion) {
        if (detail)
            *detail = QStringLiteral("database version %1; this version reads up to %2")
                          .arg(version)
                          .arg(kVersion);
        return Verdict::Newer;
    }
    QList<Table> required = tables();
    if (version >= 2)
        required << Table{StoreEngine::kCustomerSearch, {{"Customer", ColumnKind::Text}}};
    if (version >= 2)
        required << Table{StoreEngine::kDealCount,
                          {{StoreEngine::kDealCountColumn, ColumnKind::Integer}}};
    if (version >= 3)
        required << Table{SheetSchema::kSheets,
                          {{"SheetId", ColumnKind::Integer},
                           {"SalesPerson", ColumnKind::Text},
                           {"Lines", ColumnKind::Text}}}
                 << Table{SheetSchema::kAudit, {{"AuditId", ColumnKind::Integer}, {"At", ColumnKind::Text}}};
    if (version >= 4)
        required << Table{PayPlanSchema::kVersions,
                          {{PayPlanSchema::kVersionId, ColumnKind::Integer},
                           {"EffectiveFrom", ColumnKind::Date}}}
                 << Table{PayPlanSchema::kDealPlans,
                          {{PayPlanSchema::kVersionId, ColumnKind::Integer},
                           {"SplitShare", ColumnKind::Integer}}};
    if (version >= 5)
        required << Table{SheetSchema::kSheets,
                          {{SheetDeskSchema::kDeskName, ColumnKind::PlainText},
                           {SheetDeskSchema::kDeskFolder, ColumnKind::PlainText}}};
    if (version >= 6)
        required << Table{UsersSchema::kUsers,
                          {{"UserName", ColumnKind::Text}, {"PasswordHash", ColumnKind::Text}}};
    if (version >= 7)
        required << Table{LedgerSchema::kLedger,
                          {{"EntryId", ColumnKind::Integer}, {"Kind", ColumnKind::Text}}}
                 << Table{LedgerSchema::kUnwinds, {{"UnwindId", ColumnKind::Integer}}}
                 << Table{LedgerSchema::kHolds, {{"HoldId", ColumnKind::Integer}}};
    if (version >= 8)
        required << Table{VolumeSchema::kTiers,
                          {{"TierId", ColumnKind::Integer}, {"UnitsFrom", ColumnKind::Integer}}};
    if (version >= 9)
        required << Table{PayrollSchema::kCodes,
                          {{"SalesPerson", ColumnKind::Text}, {"PayrollId", ColumnKind::Text}}};
    for (const Table &table : required) {
        const std::optional<QStringList> columnsPresent =
            StoreEngine::columnsOf(db, QString::fromLatin1(table.name), detail);
        if (!columnsPresent)
            return Verdict::NotOurs;
        const QStringList &present = *columnsPresent;
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
