#include "desk_checks.h"

#include "raw_postgres.h"

#include <QRegularExpression>

#include <cstdlib>
#include <set>

namespace DeskChecks {

namespace {

// The one number a statement without values gives.
long long scalar(RawPostgres::Connection &db, const std::string &sql)
{
    const RawPostgres::Result result(PQexec(db.get(), sql.c_str()));
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK || result.rows() != 1)
        qFatal("%s: %s", sql.c_str(), PQerrorMessage(db.get()));
    return std::atoll(PQgetvalue(result.get(), 0, 0));
}

long long audited(RawPostgres::Connection &db, const char *action)
{
    return scalar(db, std::string("SELECT count(*) FROM \"Audit\" WHERE \"Action\" = '") + action +
                          "'");
}

Check counted(const std::string &name, long long found)
{
    return {name, found == 0, std::to_string(found) + " found"};
}

Check sameCount(const char *action, long long audit, long long confirmed)
{
    return {std::string("one \"") + action + "\" audit row per confirmed one", audit == confirmed,
            std::to_string(audit) + " audit rows, " + std::to_string(confirmed) + " confirmed"};
}

// Raw server text a user must never read: the server's deadlock report, its
// ERROR/DETAIL/CONTEXT lines, or a message of several lines.
bool rawServerText(const QString &message)
{
    static const QRegularExpression raw(
        QStringLiteral("deadlock|could not serialize|ERROR:|DETAIL:|CONTEXT:|ShareLock|\\n"),
        QRegularExpression::CaseInsensitiveOption);
    return message.trimmed().isEmpty() || raw.match(message).hasMatch();
}

} // namespace

std::vector<Check> run(const std::string &options, const DeskLoad::Tally &tally)
{
    using namespace DeskLoad;
    RawPostgres::Connection db(options);
    std::vector<Check> checks;
    // Each row is on at most one sheet still valid, and is marked paid
    // exactly when it is on one.
    checks.push_back(counted(
        "no row paid twice (rows on two valid sheets)",
        scalar(db, "SELECT count(*) FROM (SELECT a.\"RowKey\" FROM \"Audit\" a JOIN \"Sheets\" s "
                   "ON s.\"SheetId\" = a.\"SheetId\" WHERE a.\"Action\" = 'Paid on sheet' AND "
                   "s.\"VoidedAt\" IS NULL GROUP BY a.\"RowKey\" HAVING count(*) > 1) twice")));
    checks.push_back(counted(
        "paid marking matches a valid sheet (rows that differ)",
        scalar(db, "SELECT count(*) FROM \"SalesSummary\" r WHERE (r.\"Paid\" <> 0) <> EXISTS "
                   "(SELECT 1 FROM \"Sheets\" s WHERE s.\"SheetId\" = r.\"SheetId\" AND "
                   "s.\"VoidedAt\" IS NULL)")));
    checks.push_back(counted(
        "every valid sheet's total equal to its rows (sheets that differ)",
        scalar(db, "SELECT count(*) FROM \"Sheets\" s WHERE s.\"VoidedAt\" IS NULL AND "
                   "s.\"Total\" IS DISTINCT FROM (SELECT sum(coalesce(r.\"TotalCommission\", 0)) "
                   "FROM \"SalesSummary\" r WHERE r.\"SheetId\" = s.\"SheetId\")")));
    checks.push_back(
        counted("every paid sheet's tally equal to its listed rows (sheets that differ)",
                tally.tallyMismatches));
    checks.push_back(counted(
        "a voided sheet unpaid all its rows once (sheets that differ)",
        scalar(db, "SELECT count(*) FROM \"Sheets\" s WHERE s.\"VoidedAt\" IS NOT NULL AND "
                   "((SELECT count(*) FROM \"Audit\" a WHERE a.\"SheetId\" = s.\"SheetId\" AND "
                   "a.\"Action\" = 'Paid on sheet') <> (SELECT count(*) FROM \"Audit\" a WHERE "
                   "a.\"SheetId\" = s.\"SheetId\" AND a.\"Action\" = 'Unpaid by void') OR "
                   "(SELECT count(*) FROM \"Audit\" a WHERE a.\"SheetId\" = s.\"SheetId\" AND "
                   "a.\"Action\" = 'Sheet voided') <> 1)")));

    checks.push_back(sameCount("Deal saved", audited(db, "Deal saved"), tally.confirmed[Save]));
    checks.push_back(
        sameCount("Deal replaced", audited(db, "Deal replaced"), tally.confirmed[Correction]));
    checks.push_back(
        sameCount("Deal deleted", audited(db, "Deal deleted"), tally.confirmed[Delete]));
    checks.push_back(sameCount("Sheet paid", audited(db, "Sheet paid"), tally.confirmed[Sheet]));
    checks.push_back(sameCount("Paid on sheet", audited(db, "Paid on sheet"), tally.rowsPaid));
    checks.push_back(sameCount("Sheet voided", audited(db, "Sheet voided"), tally.confirmed[Void]));

    // Every deal a desk was told was saved is there, every deleted one gone.
    std::set<long long> stored;
    {
        const RawPostgres::Result ids(PQexec(db.get(), "SELECT \"DealId\" FROM \"RecallDeal\""));
        for (int row = 0; row < ids.rows(); ++row)
            stored.insert(std::atoll(PQgetvalue(ids.get(), row, 0)));
    }
    long long lost = 0;
    long long left = 0;
    for (const qint64 id : tally.liveDeals)
        lost += stored.count(id) ? 0 : 1;
    for (const qint64 id : tally.deletedDeals)
        left += stored.count(id);
    checks.push_back(counted("no confirmed deal lost (deals missing)", lost));
    checks.push_back(counted("no confirmed delete undone (deals still there)", left));
    checks.push_back({"stored deals = confirmed saves - deletes",
                      stored.size() == tally.liveDeals.size(),
                      std::to_string(stored.size()) + " stored, " +
                          std::to_string(tally.liveDeals.size()) + " confirmed"});

    long long raw = 0;
    for (const QString &message : tally.failures)
        raw += rawServerText(message) ? 1 : 0;
    checks.push_back(
        counted("no deadlock or raw server text shown, no empty reason (messages)", raw));
    return checks;
}

} // namespace DeskChecks
