#include "desk_load.h"

#include "bench_deals.h"

#include "reports/sheet_data_file.h"
#include "reports/sheet_payment.h"
#include "store/column_value.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/sheet_records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>

namespace DeskLoad {

namespace {

// Mostly saves; every desk also pays and voids the shared salespeople's sheets.
constexpr int kWeights[kKinds] = {50, 15, 10, 15, 10};

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A refusal the program words as another desk having been first (or still
// busy), as against a failure.
bool anotherDeskFirst(const QString &message)
{
    static const QString kWords[] = {
        QStringLiteral("has been paid and cannot be"),
        QStringLiteral("another desk"),
    };
    return std::any_of(std::begin(kWords), std::end(kWords),
                       [&](const QString &words) { return message.contains(words); });
}

class Work
{
public:
    Work(Desk &desk, DealDatabase &database)
        : m_desk(desk), m_tally(desk.tally), m_database(database), m_store(database),
          m_random(std::uint32_t(20261208 + desk.number))
    {
    }

    void once()
    {
        int pick = int(m_random() % 100);
        int kind = 0;
        while (pick >= kWeights[kind])
            pick -= kWeights[kind++];
        // Nothing of its own to correct or delete yet: a save instead.
        if ((kind == Correction || kind == Delete) && m_own.empty())
            kind = Save;
        const Clock::time_point start = Clock::now();
        switch (kind) {
        case Save:
            save();
            break;
        case Correction:
            correct();
            break;
        case Delete:
            remove();
            break;
        case Sheet:
            sheet();
            break;
        default:
            voidOne();
            break;
        }
        ++m_tally.picked[kind];
        m_tally.busyMs[kind] += msSince(start);
    }

private:
    QString salesPerson() { return sharedSalesPeople()[int(m_random() % 3)]; }

    void answered(int kind, bool done, const QString &error)
    {
        ++m_tally.answered[kind];
        if (done) {
            ++m_tally.confirmed[kind];
            m_tally.successes.push_back(Clock::now());
        } else if (anotherDeskFirst(error)) {
            ++m_tally.refused[kind];
        } else {
            ++m_tally.failed[kind];
            m_tally.failures << error;
        }
    }

    void save()
    {
        Deal deal = BenchDeals::generatedDeal(m_made, m_random);
        deal.stockNumber = QStringLiteral("D%1-%2").arg(m_desk.number).arg(m_made++);
        const int first = int(m_random() % 3);
        deal.salesPerson = sharedSalesPeople()[first];
        // One deal in five is split with another of the shared salespeople.
        deal.split = m_random() % 5 == 0;
        deal.splitPartner =
            deal.split ? sharedSalesPeople()[(first + 1 + int(m_random() % 2)) % 3] : QString();
        QString error;
        const std::optional<DealId> id = m_store.save(deal, &error);
        if (id) {
            m_own.push_back({*id, deal});
            m_tally.liveDeals.push_back(*id);
        }
        answered(Save, id.has_value(), error);
    }

    // One of the desk's own deals, recalled as the worksheet does.
    size_t recalled() { return size_t(m_random() % m_own.size()); }

    // A deal paid at a desk is no longer the desk's to change.
    void forgetIfPaid(size_t at, const QString &error)
    {
        if (error.contains(QStringLiteral("has been paid")))
            m_own.erase(m_own.begin() + qsizetype(at));
    }

    void correct()
    {
        const size_t at = recalled();
        auto &[id, deal] = m_own[at];
        QString error;
        const std::optional<DealFingerprint> asRecalled = m_store.fingerprint(id, &error);
        deal.customer = QStringLiteral("CORRECTED %1").arg(m_random() % 1000);
        const bool done = m_store.replace(id, asRecalled, deal, &error).has_value();
        answered(Correction, done, error);
        if (!done)
            forgetIfPaid(at, error);
    }

    void remove()
    {
        const size_t at = recalled();
        const DealId id = m_own[at].first;
        QString error;
        const std::optional<DealFingerprint> asRecalled = m_store.fingerprint(id, &error);
        const bool done = m_store.remove(id, asRecalled, &error);
        answered(Delete, done, error);
        if (done) {
            m_own.erase(m_own.begin() + qsizetype(at));
            std::erase(m_tally.liveDeals, id);
            m_tally.deletedDeals.push_back(id);
        } else {
            forgetIfPaid(at, error);
        }
    }

    QString dataFile() const { return m_desk.dataFolder + QStringLiteral("/data.txt"); }

    // Lists a salesperson's unpaid deals and pays them all on one sheet.
    void sheet()
    {
        const QString name = salesPerson();
        QString error;
        const std::optional<QList<SummaryRow>> listed =
            CommissionPayments(m_database).unpaid(name, &error);
        if (listed && listed->isEmpty()) {
            ++m_tally.emptyListings;
            return;
        }
        if (!listed) {
            answered(Sheet, false, error);
            return;
        }
        SheetPayment::Sheet listing{.salesPerson = name,
                                    .rowIds = {},
                                    .bonus = std::nullopt,
                                    .weekEnding = QStringLiteral("12/05/2026"),
                                    .bonusDescription = {}};
        for (const SummaryRow &row : *listed)
            listing.rowIds << row.rowId;
        // When each step of the paying was reached (the last attempt's,
        // when the transaction ran again), to tell where a sheet's time goes.
        const Clock::time_point start = Clock::now();
        std::array<Clock::time_point, SheetPayment::kStepCount + 1> reached;
        reached.fill(start);
        const SheetPayment::Hooks hooks{
            [&](SheetPayment::Step step) { reached[size_t(step)] = Clock::now(); }};
        const SheetPayment::Outcome outcome =
            SheetPayment::pay(m_database, dataFile(), listing, hooks);
        const Clock::time_point finished = Clock::now();
        const double ms = std::chrono::duration<double, std::milli>(finished - start).count();
        m_tally.sheetMs.push_back(ms);
        if (outcome.paid) {
            SheetSteps steps;
            for (size_t step = 0; step < steps.size(); ++step) {
                const Clock::time_point end =
                    step + 1 < reached.size() ? reached[step + 1] : finished;
                steps[step] =
                    std::chrono::duration<double, std::milli>(end - reached[step]).count();
            }
            m_tally.paidSheetSteps.push_back(steps);
        }
        // Refused as the sheet window refuses it, the rows named as paid
        // elsewhere, or told that another desk was changing them.
        const QString told =
            outcome.paidElsewhere.isEmpty() ? outcome.error : QStringLiteral("another desk");
        answered(Sheet, outcome.paid, told);
        if (!outcome.paid && anotherDeskFirst(told))
            m_tally.refusedSheetMs.push_back(ms);
        if (!outcome.paid)
            return;
        m_tally.rowsPaid += int(listed->size());
        Money sum;
        for (const SummaryRow &row : *listed)
            sum += ColumnValue::moneyFrom(row.value(QStringLiteral("TotalCommission")))
                       .value_or(Money());
        if (sum != outcome.tally)
            ++m_tally.tallyMismatches;
    }

    // Voids one of the newest valid sheets of a salesperson, as the sheet
    // history window does, data.txt following the newest sheet still valid.
    void voidOne()
    {
        QString error;
        const auto sheets =
            SheetRecords(m_database.connection()).ofSalesPerson(salesPerson(), &error);
        if (!sheets) {
            answered(Void, false, error);
            return;
        }
        QList<qint64> valid;
        for (const RecordedSheet &sheet : *sheets) {
            if (!sheet.isVoided() && valid.size() < 3)
                valid << sheet.id;
        }
        if (valid.isEmpty()) {
            save(); // nothing to void: the desk goes on with its deals
            return;
        }
        const qint64 sheetId = valid[qsizetype(m_random() % valid.size())];
        auto voided = SheetRecords::VoidOutcome::Failed;
        const bool done = m_database.transact(
            [&] {
                voided = SheetRecords(m_database.connection()).voidSheet(sheetId, &error);
                return voided != SheetRecords::VoidOutcome::Failed;
            },
            &error);
        if (done && voided == SheetRecords::VoidOutcome::Failed)
            voided = SheetRecords::VoidOutcome::Voided; // its commit's lost answer was looked up
        using Outcome = SheetRecords::VoidOutcome;
        if (voided == Outcome::AlreadyVoided || voided == Outcome::RowsChanged)
            error = QStringLiteral("another desk");
        answered(Void, voided == Outcome::Voided, error);
        QString why;
        if (!SheetDataFile::restore(m_database, dataFile(), &why))
            m_tally.failures << SheetDataFile::notRestoredMessage(why);
    }

    Desk &m_desk;
    Tally &m_tally;
    DealDatabase &m_database;
    DealStore m_store;
    std::mt19937 m_random;
    int m_made = 0;
    std::vector<std::pair<DealId, Deal>> m_own; // saved here, unpaid as far as the desk knows
};

} // namespace

const QStringList &sharedSalesPeople()
{
    static const QStringList names = {QStringLiteral("Zoë Ávila"), QStringLiteral("Al Baker"),
                                      QStringLiteral("Cy Dunn")};
    return names;
}

const char *sheetStepName(int step)
{
    static const char *const names[kSheetSteps] = {"begin",       "rows locked, sheet recorded",
                                                   "rows marked", "sheet completed",
                                                   "commit",      "data.txt written"};
    return names[step];
}

const char *kindName(int kind)
{
    static const char *const names[kKinds] = {"save", "correction", "delete", "sheet", "void"};
    return names[kind];
}

int Tally::totalAnswered() const
{
    int total = 0;
    for (const int count : answered)
        total += count;
    return total;
}

void Tally::add(const Tally &other)
{
    for (int kind = 0; kind < kKinds; ++kind) {
        answered[kind] += other.answered[kind];
        picked[kind] += other.picked[kind];
        busyMs[kind] += other.busyMs[kind];
        confirmed[kind] += other.confirmed[kind];
        refused[kind] += other.refused[kind];
        failed[kind] += other.failed[kind];
    }
    emptyListings += other.emptyListings;
    rowsPaid += other.rowsPaid;
    tallyMismatches += other.tallyMismatches;
    sheetMs.insert(sheetMs.end(), other.sheetMs.begin(), other.sheetMs.end());
    paidSheetSteps.insert(paidSheetSteps.end(), other.paidSheetSteps.begin(),
                          other.paidSheetSteps.end());
    refusedSheetMs.insert(refusedSheetMs.end(), other.refusedSheetMs.begin(),
                          other.refusedSheetMs.end());
    liveDeals.insert(liveDeals.end(), other.liveDeals.begin(), other.liveDeals.end());
    deletedDeals.insert(deletedDeals.end(), other.deletedDeals.begin(), other.deletedDeals.end());
    failures << other.failures;
    connectionNotices += other.connectionNotices;
    successes.insert(successes.end(), other.successes.begin(), other.successes.end());
}

void run(Desk &desk)
{
    DealDatabase database(desk.server);
    const bool open = database.open(&desk.openError);
    database.setConnectionNotice([&](const QString &) { ++desk.tally.connectionNotices; });
    desk.ready->arrive_and_wait();
    if (!open)
        return;
    Work work(desk, database);
    while (!desk.stop->load(std::memory_order_relaxed))
        work.once();
}

} // namespace DeskLoad
