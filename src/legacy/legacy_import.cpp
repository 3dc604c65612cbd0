#include "legacy_import.h"

#include "access_file.h"
#include "import_report.h"
#include "legacy_deal_ties.h"
#include "legacy_files.h"
#include "legacy_layout.h"
#include "legacy_plausibility.h"
#include "legacy_rows.h"

#include "common/durable_file.h"
#include "store/deal_database.h"
#include "store/sql_transaction.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>

#include <csignal>
#include <unistd.h>

namespace {

using Status = LegacyImportResult::Status;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString insertWithDeal(const QString &table)
{
    return StoreSql::insertStatement(table, StoreSchema::columns(table)
                                                << QString::fromLatin1(StoreSchema::kDealId));
}

std::optional<qint64> number(QSqlDatabase db, const QString &statement, QString *error)
{
    QSqlQuery query(db);
    if (!StoreSql::prepare(query, statement, error) || !StoreSql::exec(query, {}, error) ||
        !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

// One import, step by step; each step says why it failed in m_error.
class ImportRun
{
public:
    ImportRun(const ProgramFolder &folder, const QString &accessPath,
              const LegacyImportOptions &options)
        : m_folder(folder), m_accessPath(QFileInfo(accessPath).absoluteFilePath()),
          m_databasePath(DealDatabase::pathIn(folder)), m_options(options)
    {
    }

    LegacyImportResult run();

private:
    const AccessTable &table(const char *name) const
    {
        return *m_tables.constFind(QString::fromLatin1(name));
    }
    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }
    bool checkTarget();
    bool readAccessFile();
    bool confirmPlausible();
    bool buildDatabase();
    bool writeRows(QSqlDatabase db);
    bool step();
    bool insert(QSqlQuery &query, const QVariantList &values);
    bool checkCounts(QSqlDatabase db);
    bool writeReport();
    bool putInPlace();

    ProgramFolder m_folder;
    QString m_accessPath;
    QString m_databasePath;
    const LegacyImportOptions &m_options;
    QElapsedTimer m_timer;

    bool m_inPlace = false;
    // The file is an Access database with the older program's tables.
    bool m_recognised = false;
    // import.log as it was before this run, if there was one.
    std::optional<QByteArray> m_earlierReport;
    bool m_reportReplaced = false;
    QStringList m_existingRoster;
    QHash<QString, AccessTable> m_tables;
    LegacyTies m_ties;
    ImportFacts m_facts;
    QString m_temporaryPath;
    int m_done = 0;
    int m_total = 0;
    bool m_cancelled = false;
    QString m_error;
};

LegacyImportResult ImportRun::run()
{
    m_timer.start();
    m_facts.started = QDateTime::currentDateTimeUtc();
    m_facts.accessPath = m_accessPath;
    m_facts.bytes = QFileInfo(m_accessPath).size();
    m_facts.databasePath = m_databasePath;
    DurableFile::removeStaleTemporaries(m_folder.path());
    const QString reportPath = m_folder.filePath(QString::fromLatin1(LegacyLayout::kReportFileName));
    if (QFile earlier(reportPath); earlier.open(QIODevice::ReadOnly))
        m_earlierReport = earlier.readAll();

    const bool targetFits = checkTarget();
    const bool ok =
        targetFits && readAccessFile() && confirmPlausible() && buildDatabase() && writeReport() &&
        putInPlace();
    LegacyImportResult result;
    result.databasePath = m_databasePath;
    result.reportPath = reportPath;
    if (!ok && m_reportReplaced && m_earlierReport)
        DurableFile::replace(reportPath, *m_earlierReport); // a failed run's report is not kept
    if (!m_temporaryPath.isEmpty() && !ok)
        LegacyFiles::removeDatabaseFiles(m_temporaryPath);
    if (m_cancelled) {
        result.status = Status::Cancelled;
        return result;
    }
    if (!ok) {
        result.status = Status::Failed;
        result.error = m_error;
        // A report of why an Access file could not be taken in, unless the
        // folder holds the report of an earlier import, which stays. A file
        // refused before it was read leaves no trace.
        m_facts.imported = false;
        m_facts.failure = m_error;
        if (targetFits && m_recognised && !m_earlierReport)
            result.reportWritten =
                DurableFile::replace(result.reportPath, importReportText(m_facts).toUtf8());
        return result;
    }
    result.status = Status::Imported;
    result.deals = m_facts.deals;
    // The names stored on the roster: the file's (a row without one is in
    // the report) and those kept from the empty database that was replaced.
    const AccessTable &roster = table(StoreSchema::kSalesPersons);
    const int name = roster.columnIndex(QStringLiteral("Name"));
    for (const QList<AccessValue> &row : roster.rows)
        result.salesPersons += row.at(name).text.trimmed().isEmpty() ? 0 : 1;
    result.salesPersons += int(m_facts.rosterKept.size());
    result.untiedRows = int(m_facts.untiedRows.size());
    result.unconvertedValues = int(m_facts.notes.size());
    result.suspects = m_facts.suspects;
    result.keptPath = m_facts.keptPath;
    result.milliseconds = m_facts.milliseconds;
    return result;
}

bool ImportRun::checkTarget()
{
    if (!QFileInfo(m_accessPath).isFile())
        return fail(QStringLiteral("There is no file \"%1\".").arg(native(m_accessPath)));
    const QFileInfo database(m_databasePath);
    if (!database.exists())
        return true;
    if (database.canonicalFilePath() == QFileInfo(m_accessPath).canonicalFilePath()) {
        m_inPlace = true;
        return true;
    }
    if (AccessFile::looksLikeAccess(m_databasePath))
        return fail(QStringLiteral("The program folder already holds an Access database, \"%1\"; "
                                   "import that one first.")
                        .arg(native(m_databasePath)));
    // A database of this program with no deals yet may be replaced.
    {
        DealDatabase existing(m_databasePath);
        QString why;
        if (!existing.open(&why))
            return fail(why);
        const std::optional<qint64> deals =
            number(existing.connection(),
                   QStringLiteral("SELECT (SELECT count(*) FROM \"RecallDeal\") + (SELECT count(*) "
                                  "FROM \"SalesSummary\") + (SELECT count(*) FROM \"SalesLog\")"),
                   &why);
        if (!deals)
            return fail(why);
        if (*deals > 0)
            return fail(QStringLiteral("The deal database \"%1\" already holds deals; an Access "
                                       "database is imported only into a database without any.")
                            .arg(native(m_databasePath)));
        QSqlQuery roster(existing.connection());
        if (!StoreSql::prepare(
                roster, QStringLiteral("SELECT \"Name\" FROM \"SalesPersons\" ORDER BY rowid"),
                &why) ||
            !StoreSql::exec(roster, {}, &why))
            return fail(why);
        while (roster.next())
            m_existingRoster << roster.value(0).toString();
    }
    if (QFileInfo::exists(m_databasePath + QStringLiteral("-wal")))
        return fail(QStringLiteral("The deal database \"%1\" is in use by another copy of "
                                   "Tarvex.")
                        .arg(native(m_databasePath)));
    return true;
}

bool ImportRun::readAccessFile()
{
    AccessFile file;
    QString why;
    if (!file.open(m_accessPath, &why))
        return fail(why);
    m_facts.format = file.formatName();
    const QStringList present = file.tableNames();
    for (const QString &name : LegacyLayout::tables()) {
        if (!present.contains(name, Qt::CaseInsensitive))
            return fail(QStringLiteral("\"%1\" has no table %2, so it is not a deal database of "
                                       "the older program.")
                            .arg(native(m_accessPath), name));
    }
    m_recognised = true;
    for (const QString &name : LegacyLayout::tables()) {
        std::optional<AccessTable> read = file.readTable(name, &why);
        if (!read)
            return fail(
                QStringLiteral("\"%1\" could not be read. %2").arg(native(m_accessPath), why));
        read->name = name;
        const QStringList wanted = StoreSchema::columns(name);
        for (const QString &column : wanted) {
            const int index = read->columnIndex(column);
            const AccessType expected = LegacyLayout::expectedType(name, column);
            if (index < 0)
                return fail(QStringLiteral("The table %1 of \"%2\" has no column %3, so it is not "
                                           "a deal database of the older program.")
                                .arg(name, native(m_accessPath), column));
            const AccessType actual = read->columns.at(index).type;
            if (!LegacyLayout::accepts(expected, actual))
                return fail(QStringLiteral("The column %1.%2 of \"%3\" is %4 where %5 belongs, so "
                                           "the file is not a deal database of the older program.")
                                .arg(name, column, native(m_accessPath), accessTypeName(actual),
                                     accessTypeName(expected)));
        }
        for (const AccessColumn &column : read->columns) {
            if (!wanted.contains(column.name, Qt::CaseInsensitive))
                m_facts.columnsLeftOut << QStringLiteral("%1.%2 (%3)")
                                              .arg(name, column.name, accessTypeName(column.type));
        }
        m_facts.tables << ImportFacts::TableCount{name, int(read->rows.size()), -1};
        m_tables.insert(name, *read);
    }
    return true;
}

bool ImportRun::confirmPlausible()
{
    QList<const AccessTable *> tables;
    for (const QString &name : LegacyLayout::tables())
        tables << &*m_tables.constFind(name);
    for (const LegacyPlausibility::Suspect &suspect : LegacyPlausibility::check(tables))
        m_facts.suspects << suspect.describe();
    if (m_facts.suspects.isEmpty() || !m_options.importSuspects ||
        m_options.importSuspects(m_facts.suspects))
        return true;
    const bool one = m_facts.suspects.size() == 1;
    return fail(QStringLiteral("%1 of \"%2\" %3 damaged, and the import was not to be made with "
                               "%4.")
                    .arg(one ? QStringLiteral("1 value")
                             : QStringLiteral("%1 values").arg(m_facts.suspects.size()),
                         native(m_accessPath), one ? QStringLiteral("looks") : QStringLiteral("look"),
                         one ? QStringLiteral("it") : QStringLiteral("them")));
}

bool ImportRun::buildDatabase()
{
    using namespace StoreSchema;
    m_ties = tieLegacyDeals(table(kRecallDeal), table(kSalesSummary), table(kSalesLog));
    const AccessTable &recalls = table(kRecallDeal);
    const int split = recalls.columnIndex(QStringLiteral("Split"));
    m_facts.deals = int(m_ties.deals.size());
    for (const LegacyDealRows &deal : m_ties.deals) {
        const bool isSplit = recalls.rows.at(deal.recall).at(split).yes;
        m_facts.splitDeals += isSplit ? 1 : 0;
        const int wanted = isSplit ? 2 : 1;
        QStringList lacking;
        if (!deal.log)
            lacking << QStringLiteral("no SalesLog row");
        if (deal.summaries.size() < wanted)
            lacking << QStringLiteral("%1 of %2 SalesSummary rows")
                           .arg(deal.summaries.size())
                           .arg(wanted);
        if (!lacking.isEmpty())
            m_facts.incompleteDeals << QStringLiteral("RecallDeal row %1 (%2) has %3.")
                                           .arg(deal.recall + 1)
                                           .arg(LegacyRows::describe(recalls, deal.recall),
                                                lacking.join(QStringLiteral(" and ")));
    }
    const int person = recalls.columnIndex(QStringLiteral("SalesPerson"));
    for (const LegacyTies::ByElimination &tie : m_ties.byElimination) {
        const int recall = m_ties.deals.at(tie.deal).recall;
        const char *tableName = tie.log ? kSalesLog : kSalesSummary;
        m_facts.tiedByElimination << QStringLiteral("%1 row %2 (%3) to the deal of RecallDeal row "
                                                    "%4, salesperson \"%5\".")
                                         .arg(QLatin1String(tableName))
                                         .arg(tie.row + 1)
                                         .arg(LegacyRows::describe(table(tableName), tie.row))
                                         .arg(recall + 1)
                                         .arg(recalls.rows.at(recall).at(person).text);
    }
    for (int row : m_ties.untiedSummaries)
        m_facts.untiedRows << QStringLiteral("SalesSummary row %1: %2")
                                  .arg(row + 1)
                                  .arg(LegacyRows::describe(table(kSalesSummary), row));
    for (int row : m_ties.untiedLogs)
        m_facts.untiedRows << QStringLiteral("SalesLog row %1: %2")
                                  .arg(row + 1)
                                  .arg(LegacyRows::describe(table(kSalesLog), row));

    m_temporaryPath = DurableFile::temporaryPathFor(m_databasePath);
    DealDatabase database(m_temporaryPath);
    QString why;
    if (!database.open(&why))
        return fail(QStringLiteral("The new database could not be made in the program folder. %1")
                        .arg(why));
    {
        SqlTransaction transaction(database.connection());
        if (!transaction.begin(&why))
            return fail(why);
        if (!writeRows(database.connection()) || !checkCounts(database.connection()))
            return false;
        if (!transaction.commit(&why))
            return fail(why);
    }
    m_facts.schemaVersion =
        int(number(database.connection(), QStringLiteral("PRAGMA user_version"), &why).value_or(0));
    return true;
}

bool ImportRun::step()
{
    ++m_done;
    if (m_done == m_options.killAfterRows)
        ::kill(::getpid(), SIGKILL);
    if (m_options.progress && !m_options.progress(m_done, m_total)) {
        m_cancelled = true;
        return fail(QStringLiteral("The import was cancelled."));
    }
    return true;
}

bool ImportRun::insert(QSqlQuery &query, const QVariantList &values)
{
    QString why;
    if (!StoreSql::exec(query, values, &why))
        return fail(QStringLiteral("A row could not be written to the new database: %1").arg(why));
    return step();
}

bool ImportRun::writeRows(QSqlDatabase db)
{
    using namespace StoreSchema;
    const AccessTable &persons = table(kSalesPersons);
    const AccessTable &summaries = table(kSalesSummary);
    const AccessTable &logs = table(kSalesLog);
    const AccessTable &recalls = table(kRecallDeal);

    // Deal identities: the RecallDeal rows in their order, then one for each
    // row not tied. Each table keeps the file's row order.
    QList<qint64> summaryDeal(summaries.rows.size(), 0);
    QList<qint64> logDeal(logs.rows.size(), 0);
    qint64 next = 1;
    for (const LegacyDealRows &deal : m_ties.deals) {
        for (int row : deal.summaries)
            summaryDeal[row] = next;
        if (deal.log)
            logDeal[*deal.log] = next;
        ++next;
    }
    QList<QVariantList> madeRecalls;
    for (int row : m_ties.untiedSummaries) {
        summaryDeal[row] = next++;
        madeRecalls << LegacyRows::recallFor(summaries, row);
    }
    for (int row : m_ties.untiedLogs) {
        logDeal[row] = next++;
        madeRecalls << LegacyRows::recallFor(logs, row);
    }

    QStringList keptNames;
    const int nameColumn = persons.columnIndex(QStringLiteral("Name"));
    for (const QString &name : m_existingRoster) {
        bool known = name.compare(QLatin1String(kFirstSalesPerson), Qt::CaseInsensitive) == 0;
        for (const QList<AccessValue> &row : persons.rows)
            known = known || row.at(nameColumn).text.compare(name, Qt::CaseInsensitive) == 0;
        if (!known)
            keptNames << name;
    }
    m_facts.rosterKept = keptNames;
    m_total = int(persons.rows.size() + keptNames.size() + recalls.rows.size() +
                  madeRecalls.size() + summaries.rows.size() + logs.rows.size());

    QString why;
    QSqlQuery clearRoster(db);
    QSqlQuery roster(db);
    QSqlQuery recall(db);
    QSqlQuery summary(db);
    QSqlQuery log(db);
    if (!StoreSql::prepare(clearRoster, QStringLiteral("DELETE FROM \"SalesPersons\""), &why) ||
        !StoreSql::prepare(roster,
                           StoreSql::insertStatement(QString::fromLatin1(kSalesPersons),
                                                     columns(QString::fromLatin1(kSalesPersons))),
                           &why) ||
        !StoreSql::prepare(recall, insertWithDeal(QString::fromLatin1(kRecallDeal)), &why) ||
        !StoreSql::prepare(summary, insertWithDeal(QString::fromLatin1(kSalesSummary)), &why) ||
        !StoreSql::prepare(log, insertWithDeal(QString::fromLatin1(kSalesLog)), &why))
        return fail(why);
    // A file with an empty roster keeps the new database's first salesperson.
    if (!persons.rows.isEmpty() && !StoreSql::exec(clearRoster, {}, &why))
        return fail(why);

    QList<ConversionNote> &notes = m_facts.notes;
    for (int row = 0; row < persons.rows.size(); ++row) {
        if (!insert(roster, LegacyRows::storeValues(persons, row, &notes)))
            return false;
    }
    for (const QString &name : keptNames) {
        if (!insert(roster, {name}))
            return false;
    }
    for (int i = 0; i < m_ties.deals.size(); ++i) {
        const int row = m_ties.deals.at(i).recall;
        if (!insert(recall, LegacyRows::storeValues(recalls, row, &notes)
                                << QVariant(qint64(i + 1))))
            return false;
    }
    qint64 madeId = m_ties.deals.size() + 1;
    for (const QVariantList &values : madeRecalls) {
        if (!insert(recall, QVariantList(values) << QVariant(madeId++)))
            return false;
    }
    for (int row = 0; row < summaries.rows.size(); ++row) {
        if (!insert(summary, LegacyRows::storeValues(summaries, row, &notes)
                                 << QVariant(summaryDeal.at(row))))
            return false;
    }
    for (int row = 0; row < logs.rows.size(); ++row) {
        if (!insert(log, LegacyRows::storeValues(logs, row, &notes) << QVariant(logDeal.at(row))))
            return false;
    }
    for (ImportFacts::TableCount &count : m_facts.tables) {
        if (count.table == QLatin1String(kRecallDeal))
            count.imported = count.read + int(madeRecalls.size());
        else if (count.table == QLatin1String(kSalesPersons))
            count.imported = count.read + int(keptNames.size()) + (count.read == 0 ? 1 : 0);
        else
            count.imported = count.read;
    }
    return true;
}

bool ImportRun::checkCounts(QSqlDatabase db)
{
    for (const ImportFacts::TableCount &count : m_facts.tables) {
        QString why;
        const std::optional<qint64> rows = number(
            db, QStringLiteral("SELECT count(*) FROM %1").arg(StoreSql::quoted(count.table)), &why);
        if (!rows)
            return fail(why);
        if (*rows != count.imported)
            return fail(QStringLiteral("The new database holds %1 rows in %2 where %3 were "
                                       "expected.")
                            .arg(*rows)
                            .arg(count.table)
                            .arg(count.imported));
    }
    return true;
}

bool ImportRun::writeReport()
{
    // The new database is closed now: its journal must be gone.
    if (QFileInfo::exists(m_temporaryPath + QStringLiteral("-wal")))
        return fail(QStringLiteral("The new database could not be closed cleanly."));
    QFile::remove(m_temporaryPath + QStringLiteral("-shm"));
    if (m_inPlace)
        m_facts.keptPath = LegacyFiles::freeKeptPath(m_folder, m_accessPath);
    m_facts.imported = true;
    m_facts.milliseconds = m_timer.elapsed();
    const QString reportPath = m_folder.filePath(QString::fromLatin1(LegacyLayout::kReportFileName));
    QString why;
    m_reportReplaced = true;
    if (!DurableFile::replace(reportPath, importReportText(m_facts).toUtf8(), &why)) {
        m_facts.imported = false;
        return fail(QStringLiteral("The import report \"%1\" could not be written: %2")
                        .arg(native(reportPath), why));
    }
    return true;
}

bool ImportRun::putInPlace()
{
    QString why;
    if (m_inPlace && !LegacyFiles::keep(m_accessPath, m_facts.keptPath, &why))
        return fail(QStringLiteral("The Access file could not be kept: %1.").arg(why));
    // One rename gives "Sales Log2.mdb" to the new database: before it the
    // name is the Access file's, after it the new database's.
    if (!DurableFile::putInPlace(m_temporaryPath, m_databasePath, &why)) {
        if (m_inPlace)
            QFile::remove(m_facts.keptPath);
        return fail(why);
    }
    m_temporaryPath.clear();
    return true;
}

} // namespace

QStringList LegacyImportResult::summaryLines() const
{
    QStringList lines;
    lines << QStringLiteral("Imported %1 deals and %2 salespeople from the Access database.")
                 .arg(deals)
                 .arg(salesPersons);
    if (untiedRows == 0)
        lines << QStringLiteral("Every row was tied to its deal.");
    else if (untiedRows == 1)
        lines << QStringLiteral("1 row could not be tied to a deal; it was imported as a deal of "
                                "its own.");
    else
        lines << QStringLiteral("%1 rows could not be tied to a deal; each was imported as a deal "
                                "of its own.")
                     .arg(untiedRows);
    if (unconvertedValues == 1)
        lines << QStringLiteral("1 value did not arrive as it was; the report says which.");
    else if (unconvertedValues > 1)
        lines << QStringLiteral("%1 values did not arrive as they were; the report says which.")
                     .arg(unconvertedValues);
    if (!suspects.isEmpty()) {
        lines << QStringLiteral("%1 looked damaged and %2 imported as read:")
                     .arg(suspects.size() == 1 ? QStringLiteral("1 value")
                                               : QStringLiteral("%1 values").arg(suspects.size()),
                          suspects.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"));
        for (const QString &suspect : suspects)
            lines << QStringLiteral("  ") + suspect;
    }
    if (!keptPath.isEmpty())
        lines << QStringLiteral("The Access file is kept unchanged as \"%1\".")
                     .arg(QFileInfo(keptPath).fileName());
    lines << QStringLiteral("The import report is \"%1\".").arg(native(reportPath));
    return lines;
}

LegacyImport::LegacyImport(ProgramFolder folder, QString accessPath)
    : m_folder(std::move(folder)), m_accessPath(std::move(accessPath))
{
}

bool LegacyImport::folderHoldsAccessDatabase(const ProgramFolder &folder)
{
    return AccessFile::looksLikeAccess(DealDatabase::pathIn(folder));
}

QString LegacyImport::keptPathFor(const ProgramFolder &folder)
{
    return LegacyFiles::freeKeptPath(folder, DealDatabase::pathIn(folder));
}

LegacyImportResult LegacyImport::run(const LegacyImportOptions &options)
{
    return ImportRun(m_folder, m_accessPath, options).run();
}
