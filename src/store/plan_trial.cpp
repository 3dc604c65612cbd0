#include "plan_trial.h"

#include "column_value.h"
#include "deal_database.h"
#include "plan_trial_tally.h"
#include "statement_rows.h"
#include "store_engine.h"
#include "volume_ledger.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace PlanTrial {

namespace {

QString placeholders(qsizetype count)
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), count);
    return marks.join(QStringLiteral(", "));
}

// A few salespeople's rows are found by name; those of many are read in date
// order, as they lie in the file, and the others passed over: found by name,
// each salesperson's rows would be read from all over the file.
constexpr qsizetype kFewSalesPeople = 3;

bool byName(qsizetype names)
{
    return names <= kFewSalesPeople;
}

QString namesCondition(qsizetype names)
{
    return byName(names) ? QStringLiteral("s.\"Sales_Person\" IN (%1) AND ").arg(placeholders(names))
                         : QString();
}

const QString kRowsStatement = QStringLiteral(
    "SELECT s.rowid, s.\"Date\", s.\"Sales_Person\", s.\"TCU\", s.\"UnitCount\", "
    "s.\"Payable_Gross\", s.\"Commission\", s.\"TotalCommission\", r.\"SalesPerson\", "
    "r.\"Split\", r.\"TCU\", r.\"Price\", r.\"Cost\", "
    "COALESCE(r.\"RTCP1\", 0) + COALESCE(r.\"RTCP2\", 0) + COALESCE(r.\"RTCP3\", 0) + "
    "COALESCE(r.\"RTCP4\", 0) + COALESCE(r.\"RTCP5\", 0), "
    "COALESCE(r.\"ATCP1\", 0) + COALESCE(r.\"ATCP2\", 0) + COALESCE(r.\"ATCP3\", 0) + "
    "COALESCE(r.\"ATCP4\", 0) + COALESCE(r.\"ATCP5\", 0), "
    "r.\"OVAllow\", r.\"UA\", r.\"Pack\", r.\"CommRate\", r.\"ChkWarranty\", r.\"Spiff\", "
    "p.\"SplitShare\", p.\"PlanPack\", p.\"PlanRate\", "
    "(SELECT MIN(u.\"UnwoundOn\") FROM \"Unwinds\" u WHERE u.\"DealId\" = s.\"DealId\" AND "
    "u.\"Whole\" = 1) "
    "FROM \"SalesSummary\" s JOIN \"RecallDeal\" r ON r.\"DealId\" = s.\"DealId\" "
    "LEFT JOIN \"DealPlans\" p ON p.\"DealId\" = s.\"DealId\" "
    "WHERE %1s.\"Date\" >= ? AND s.\"Date\" < ?");

// Rows sold before the months whose deals were unwound whole in one of them:
// their units come off that month's count.
const QString kEarlierStatement = QStringLiteral(
    "SELECT s.\"Sales_Person\", s.rowid, s.\"Date\", s.\"TCU\", s.\"UnitCount\", "
    "MIN(u.\"UnwoundOn\") FROM \"Unwinds\" u JOIN \"SalesSummary\" s ON s.\"DealId\" = "
    "u.\"DealId\" WHERE u.\"Whole\" = 1 AND u.\"UnwoundOn\" >= ? AND u.\"UnwoundOn\" < ? AND "
    "s.\"Date\" < ? AND s.\"Sales_Person\" IN (%1) GROUP BY s.\"Sales_Person\", s.rowid, "
    "s.\"Date\", s.\"TCU\", s.\"UnitCount\"");

const QString kVolumePaidStatement = QStringLiteral(
    "SELECT l.\"SalesPerson\", SUM(l.\"Amount\") FROM \"Ledger\" l JOIN \"Sheets\" h ON "
    "h.\"SheetId\" = l.\"SheetId\" WHERE l.\"Kind\" = 'Volume bonus' AND h.\"VoidedAt\" IS NULL "
    "AND l.\"EntryDate\" >= ? AND l.\"EntryDate\" < ? AND l.\"SalesPerson\" IN (%1) "
    "GROUP BY l.\"SalesPerson\"");

// How far a stretch of rows has come; false stops it.
using Step = std::function<bool(qint64 done)>;

class Trial
{
public:
    Trial(const Question &question)
        : m_question(question), m_names(question.salesPeople),
          m_from(VolumeLedger::monthOf(question.firstMonth)),
          m_to(VolumeLedger::monthOf(question.lastMonth).addMonths(1))
    {
    }

    Result run(DealDatabase &database, const Progress &progress)
    {
        Result result;
        if (m_names.size() == 0 || m_to <= m_from) {
            result.outcome = Outcome::Done;
            return result;
        }
        Tally tally = newTally();
        bool cancelled = false;
        const bool read = database.reading(
            [&] {
                tally = newTally();
                return readRows(database, tally, progress, cancelled, result.error) &&
                       (cancelled || (readEarlier(database, tally, result.error) &&
                                      readVolumePaid(database, tally, result.error)));
            },
            &result.error);
        if (cancelled) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
        if (!read)
            return result;
        tally.settleVolume();
        result.outcome = Outcome::Done;
        result.lines = tally.lines();
        return result;
    }

private:
    Tally newTally() const
    {
        return Tally(m_question.plan, m_names, m_from,
                     (m_to.year() - m_from.year()) * 12 + m_to.month() - m_from.month());
    }

    QVariantList namesThen(QVariantList values) const
    {
        for (const QString &name : m_names.names())
            values << name;
        return values;
    }

    // The names bound before the dates when the rows are read by name.
    QVariantList rowValues(const QDate &from, const QDate &to) const
    {
        QVariantList values;
        if (byName(m_names.size()))
            values = namesThen({});
        return values << ColumnValue::date(from) << ColumnValue::date(to);
    }

    std::optional<qint64> count(DealDatabase &database, QString &error) const
    {
        StatementRows rows(database.connection());
        if (!rows.run(countStatement(m_names.size()), rowValues(m_from, m_to), &error) ||
            !rows.next())
            return std::nullopt;
        return rows.integer(0);
    }

    // The rows dated from `from` up to `to` read into `tally`, a month at a
    // time: a server sends a statement's rows all at once.
    bool readStretch(const QSqlDatabase &db, const QDate &from, const QDate &to, Tally &tally,
                     const Step &step, QString &error) const
    {
        qint64 done = 0;
        for (QDate start = from; start < to;) {
            const QDate end = std::min(VolumeLedger::monthOf(start).addMonths(1), to);
            StatementRows rows(db);
            if (!rows.run(rowsStatement(m_names.size()), rowValues(start, end), &error))
                return false;
            while (rows.next()) {
                tally.take(rows);
                if (++done % 4096 == 0 && !step(done))
                    return true;
            }
            error = rows.failure();
            if (!error.isEmpty())
                return false;
            start = end;
        }
        step(done);
        return true;
    }

    bool readRows(DealDatabase &database, Tally &tally, const Progress &progress, bool &cancelled,
                  QString &error) const
    {
        const std::optional<qint64> total = count(database, error);
        if (!total)
            return false;
        std::atomic<qint64> firstDone = 0;
        std::atomic<qint64> secondDone = 0;
        std::atomic<bool> stop = false;
        // Tells the caller how far both stretches have come; false when it stops.
        const auto report = [&] {
            const qint64 done = firstDone + secondDone;
            if (!stop && progress && !progress(done, std::max(done, *total)))
                stop = true;
            return !stop;
        };
        const auto first = [&](qint64 done) {
            firstDone = done;
            return report();
        };
        // A file's rows read in date order are shared out: the later half of
        // the days read on a connection of its own, in a thread of its own.
        const bool shared = database.engine() == StoreEngine::Engine::SQLite &&
                            !database.filePath().isEmpty() && !byName(m_names.size()) &&
                            m_from.daysTo(m_to) > 1;
        if (!shared) {
            const bool read = readStretch(database.connection(), m_from, m_to, tally, first, error);
            cancelled = stop;
            return read;
        }
        const QDate middle = m_from.addDays(m_from.daysTo(m_to) / 2);
        Tally later = newTally();
        std::atomic<bool> laterFinished = false;
        bool laterRead = false;
        QString laterError;
        std::thread reader([&] {
            DealDatabase own(database.filePath());
            if (own.open(&laterError)) {
                laterRead = readStretch(own.connection(), middle, m_to, later,
                                        [&](qint64 done) {
                                            secondDone = done;
                                            return !stop;
                                        },
                                        laterError);
            }
            laterFinished = true;
        });
        const bool read = readStretch(database.connection(), m_from, middle, tally, first, error);
        if (!read)
            stop = true;
        while (!laterFinished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            report();
        }
        reader.join();
        cancelled = read && laterRead && stop;
        if (!read)
            return false;
        if (!laterRead) {
            error = laterError;
            return false;
        }
        if (!cancelled)
            cancelled = !report();
        tally.add(later);
        return true;
    }

    bool readEarlier(DealDatabase &database, Tally &tally, QString &error) const
    {
        StatementRows rows(database.connection());
        if (!rows.run(earlierStatement(m_names.size()),
                      namesThen({ColumnValue::date(m_from), ColumnValue::date(m_to),
                                 ColumnValue::date(m_from)}),
                      &error))
            return false;
        while (rows.next()) {
            const int person = m_names.placeOf(rows.value(0).toString());
            if (person < 0)
                continue;
            tally.takeEarlier(person, ColumnValue::dateFrom(rows.value(5)),
                              {.date = ColumnValue::dateFrom(rows.value(2)),
                               .order = rows.integer(1),
                               .unitClass = rows.value(3).toString(),
                               .unitCount = Money::fromUnits(rows.integer(4)),
                               .payableGross = Money(),
                               .commission = Money()});
        }
        error = rows.failure();
        return error.isEmpty();
    }

    bool readVolumePaid(DealDatabase &database, Tally &tally, QString &error) const
    {
        StatementRows rows(database.connection());
        if (!rows.run(volumePaidStatement(m_names.size()),
                      namesThen({ColumnValue::date(m_from), ColumnValue::date(m_to)}), &error))
            return false;
        while (rows.next()) {
            const int person = m_names.placeOf(rows.value(0).toString());
            if (person >= 0)
                tally.lines()[person].volumePaid += Money::fromUnits(rows.integer(1));
        }
        error = rows.failure();
        return error.isEmpty();
    }

    const Question &m_question;
    TrialNames m_names;
    QDate m_from;
    QDate m_to; // the first day after the last month
};

} // namespace

Line &Line::operator+=(const Line &other)
{
    deals += other.deals;
    units += other.units;
    dealsPaid += other.dealsPaid;
    volumePaid += other.volumePaid;
    dealsTried += other.dealsTried;
    volumeTried += other.volumeTried;
    return *this;
}

QString rowsStatement(qsizetype names)
{
    return kRowsStatement.arg(namesCondition(names));
}

QString countStatement(qsizetype names)
{
    return QStringLiteral("SELECT COUNT(*) FROM \"SalesSummary\" s WHERE %1s.\"Date\" >= ? AND "
                          "s.\"Date\" < ?")
        .arg(namesCondition(names));
}

QString earlierStatement(qsizetype names)
{
    return kEarlierStatement.arg(placeholders(names));
}

QString volumePaidStatement(qsizetype names)
{
    return kVolumePaidStatement.arg(placeholders(names));
}

Result run(DealDatabase &database, const Question &question, const Progress &progress)
{
    return Trial(question).run(database, progress);
}

} // namespace PlanTrial
