#include "store_migration.h"

#include "ledger_schema.h"
#include "pay_plan_schema.h"
#include "payroll_schema.h"
#include "common/durable_file.h"

#include "sheet_desk_schema.h"
#include "sheet_schema.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_schema.h"
#include "store_sql.h"
#include "users_schema.h"
#include "volume_schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <functional>

namespace StoreMigration {

namespace {

// Version 2: customer names found by part through a trigram index, the deals
// counted as they are written, and the unpaid rows of a salesperson through
// an index of their own.
bool toVersion2(QSqlDatabase &db, QString *error)
{
    const StoreEngine::Engine engine = StoreEngine::engineOf(db);
    return StoreEngine::runAll(db,
                               StoreEngine::customerSearchStatements(engine) +
                                   StoreEngine::dealCountStatements(engine) +
                                   QStringList{StoreEngine::unpaidIndexStatement()},
                               error);
}

// Version 3: the printed commission sheets as records, the sheet that paid
// each SalesSummary row, and the audit trail.
bool toVersion3(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, SheetSchema::statements(StoreEngine::engineOf(db)), error);
}

// Version 4: pay plans by salesperson and date, and the plan each deal was
// worked out by.
bool toVersion4(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, PayPlanSchema::statements(StoreEngine::engineOf(db)), error);
}

// Version 5: the desk that printed each commission sheet.
bool toVersion5(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, SheetDeskSchema::statements(StoreEngine::engineOf(db)), error);
}

// Version 6: the users who sign in, and the user named on each audit entry.
bool toVersion6(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, UsersSchema::statements(StoreEngine::engineOf(db)), error);
}

// Version 7: unwinds, chargebacks, holds and draws, and what each sheet
// recovered, carried and paid.
bool toVersion7(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, LedgerSchema::statements(StoreEngine::engineOf(db)), error);
}

// Version 8: the volume tiers of the pay plans.
bool toVersion8(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, VolumeSchema::statements(StoreEngine::engineOf(db)), error);
}

// Version 9: the payroll ID and earnings codes of each salesperson.
bool toVersion9(QSqlDatabase &db, QString *error)
{
    return StoreEngine::runAll(db, PayrollSchema::statements(StoreEngine::engineOf(db)), error);
}

struct Step
{
    int toVersion;
    std::function<bool(QSqlDatabase &, QString *)> apply;
};

const QList<Step> &steps()
{
    static const QList<Step> all = {{2, toVersion2}, {3, toVersion3}, {4, toVersion4},
                                    {5, toVersion5}, {6, toVersion6}, {7, toVersion7}, {8, toVersion8},
                                    {9, toVersion9}};
    return all;
}

} // namespace

bool applySteps(QSqlDatabase &db, int fromVersion, QString *error)
{
    for (const Step &step : steps()) {
        if (step.toVersion > fromVersion && !step.apply(db, error))
            return false;
    }
    return StoreEngine::setSchemaVersion(db, StoreSchema::kVersion, error);
}

QString safetyCopyPath(const QString &databasePath, int fromVersion)
{
    const QFileInfo info(databasePath);
    const QString stem = info.absolutePath() + u'/' + info.completeBaseName() +
                         QStringLiteral(" (version %1 copy").arg(fromVersion);
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString path = stem + u')' + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral(" %1)").arg(n) + suffix;
    return path;
}

bool upgrade(QSqlDatabase &db, const QString &databasePath, int fromVersion, QString *copyPath,
             QString *error)
{
    const QString copy = safetyCopyPath(databasePath, fromVersion);
    QString why;
    // The copy holds what the database holds: it is the user's alone.
    if (!StoreEngine::copyTo(db, copy, &why) || !DurableFile::makePrivate(copy, &why)) {
        QFile::remove(copy);
        if (error)
            *error = QStringLiteral("the copy \"%1\" to keep before upgrading could not be "
                                    "written (%2)")
                         .arg(QDir::toNativeSeparators(copy), why);
        return false;
    }
    bool upgraded = false;
    {
        SqlTransaction transaction(db);
        upgraded = transaction.begin(&why) && applySteps(db, fromVersion, &why) &&
                   transaction.commit(&why);
    }
    if (!upgraded) {
        // The database itself is as it was, so its copy is not needed.
        QFile::remove(copy);
        if (error)
            *error = why;
        return false;
    }
    if (copyPath)
        *copyPath = copy;
    return true;
}

} // namespace StoreMigration
