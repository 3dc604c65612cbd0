// Times "Try on Past Deals…" on a year of 1,000,000 generated deals among 50
// salespeople (made once and kept in the build folder): the window's own
// trial of a draft plan with volume tiers for all 50 over the twelve months,
// progress bar and all, beside a floor doing the same work in the same run:
// the same statements through the SQLite C API (the rows' count, the rows
// with the later half of the days in a second thread as the program reads
// them, the earlier months' unwinds and the volume bonus paid), each deal
// worked out again in plain 64-bit integers, and the tiers on each
// salesperson's months.
#include "bench_deals.h"

#include "admin/ui/plan_trial_window.h"
#include "common/prompts.h"
#include "store/deal_database.h"
#include "store/plan_trial.h"
#include "raw_sqlite.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kSalesPeople = 50;
const BenchDeals::Shape kYear{.firstDay = QDate(2025, 1, 1), .perDay = 2740, .salesPeople = kSalesPeople};
constexpr int kRepetitions = 5;

// Every prompt is a fault here: the trial asks nothing when all is well.
class NoPrompts : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }
    Answer showMessage(const Message &message) override
    {
        qFatal("unexpected message: %s", qPrintable(message.text));
    }
    std::optional<QString> showInput(const Input &) override { return std::nullopt; }
};

// New cars 30%, new trucks 28%, used cars $400.00 flat, used trucks 27.5%;
// a $200.00 mini, a $250.00 pack, a $3,000.00 cap, $40.00 a warranty; 32%
// from the 10th unit of a month, 35% from the 20th, on every unit.
PayPlanVersion draft()
{
    PayPlanVersion plan;
    plan.effectiveFrom = QDate(2025, 1, 1);
    const qint64 percents[] = {300000, 280000, 0, 275000};
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        PlanTerms &terms = plan.terms.at(i);
        terms.percent = Money::fromUnits(percents[i]);
        terms.mini = Money::dollars(200);
        terms.pack = Money::dollars(250);
    }
    plan.terms[2].kind = PlanTerms::Kind::Flat;
    plan.terms[2].flat = Money::dollars(400);
    plan.cap = Money::dollars(3000);
    plan.warrantySpiff = Money::dollars(40);
    plan.tiers = {{.unitsFrom = Money::dollars(10), .percent = Money::dollars(32)},
                  {.unitsFrom = Money::dollars(20), .percent = Money::dollars(35)}};
    return plan;
}

QStringList roster()
{
    QStringList names;
    for (int i = 0; i < kSalesPeople; ++i)
        names << kYear.salesPerson(i);
    return names;
}

double programRun(DealDatabase &database, NoPrompts &prompts, Money &difference)
{
    PlanTrialWindow window(database, prompts, draft(), QStringLiteral("the draft"), roster(),
                           roster().first());
    auto *people = window.findChild<QListWidget *>(QStringLiteral("lstSalesPersons"));
    for (int row = 0; row < people->count(); ++row)
        people->item(row)->setCheckState(Qt::Checked);
    window.findChild<QLineEdit *>(QStringLiteral("txtFrom"))->setText(QStringLiteral("01/2025"));
    window.findChild<QLineEdit *>(QStringLiteral("txtTo"))->setText(QStringLiteral("12/2025"));
    QElapsedTimer timer;
    timer.start();
    window.tryPlan();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (window.lines().size() != kSalesPeople)
        qFatal("the trial gave %d lines", int(window.lines().size()));
    difference = Money();
    for (const PlanTrial::Line &line : window.lines())
        difference += line.difference();
    return seconds;
}

// The floor's arithmetic: amounts in ten-thousandths of a dollar, rounded
// half away from zero.
using i64 = long long;
using i128 = __int128;

i64 roundTo(i128 value, i128 step)
{
    const i128 half = step / 2;
    return i64((value >= 0 ? (value + half) / step : -((-value + half) / step)) * step);
}

i64 percentToCent(i64 amount, i64 percent)
{
    // amount x percent / 100, both in ten-thousandths: a cent is 10^8 of the
    // product, a ten-thousandth of a dollar 10^6.
    return roundTo(i128(amount) * percent, i128(100'000'000)) / 1'000'000;
}

i64 column(sqlite3_stmt *statement, int at)
{
    return sqlite3_column_int64(statement, at);
}

struct FloorRow
{
    std::string date;
    i64 order;
    i64 units;
    i64 gross;
    i64 commission;
};

struct FloorLine
{
    i64 paid = 0;
    i64 tried = 0;
    std::unordered_map<int, std::vector<FloorRow>> months;
};

std::string upper(const unsigned char *text)
{
    std::string s(reinterpret_cast<const char *>(text));
    for (char &c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

using FloorIndex = std::unordered_map<std::string, int>;

// The rows of the days from `from` up to `to` read and worked out into `lines`.
void floorStretch(RawDatabase &raw, const FloorIndex &index, const char *from, const char *to,
                  std::vector<FloorLine> &lines)
{
    const PayPlanVersion plan = draft();
    RawStatement rows(raw.get(), PlanTrial::rowsStatement(kSalesPeople).toStdString());
    rows.bindText(1, from);
    rows.bindText(2, to);
    sqlite3_stmt *s = rows.get();
    while (rows.step()) {
        const auto found = index.find(reinterpret_cast<const char *>(sqlite3_column_text(s, 2)));
        if (found == index.end())
            continue;
        FloorLine &line = lines[found->second];
        if (sqlite3_column_type(s, 24) != SQLITE_NULL)
            continue; // unwound whole: none in these deals
        const i64 paid = column(s, 7);
        line.paid += paid;
        const std::string first = upper(sqlite3_column_text(s, 8));
        const char *dealClass = reinterpret_cast<const char *>(sqlite3_column_text(s, 10));
        int classAt = 0;
        for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
            if (std::strcmp(dealClass, qPrintable(PayPlanVersion::classCodes().at(i))) == 0)
                classAt = i;
        }
        const PlanTerms &terms = plan.terms.at(classAt);
        const i64 pack = sqlite3_column_type(s, 22) == SQLITE_NULL ? terms.pack.units() : column(s, 17);
        i64 cost = column(s, 12) - column(s, 13) + column(s, 14) + pack;
        cost += column(s, 16) ? -column(s, 15) : column(s, 15);
        const i64 gross = column(s, 11) - cost;
        i64 commission = terms.kind == PlanTerms::Kind::Flat ? terms.flat.units()
                                                             : percentToCent(gross, terms.percent.units());
        commission = std::max(commission, terms.mini.units());
        commission = std::min(commission, plan.cap->units());
        const i64 warranty = column(s, 19) ? plan.warrantySpiff.units() : 0;
        const i64 total = commission + roundTo(column(s, 20), 100) + warranty;
        const bool split = column(s, 9) != 0;
        const int share = sqlite3_column_type(s, 21) == SQLITE_NULL ? 50 : int(column(s, 21));
        const bool isFirst = first == reinterpret_cast<const char *>(sqlite3_column_text(s, 2));
        auto shareOf = [&](i64 amount) {
            if (!split)
                return amount;
            const i64 whole = roundTo(amount, 100);
            const i64 firstPart = roundTo(i128(whole) * share / 100, 100);
            return isFirst ? firstPart : whole - firstPart;
        };
        line.tried += shareOf(total);
        const std::string date(reinterpret_cast<const char *>(sqlite3_column_text(s, 1)));
        const int month = std::stoi(date.substr(5, 2));
        line.months[month].push_back({date, column(s, 0), column(s, 4), shareOf(roundTo(gross, 100)),
                                      shareOf(commission)});
    }
}

// As the program does: the later half of the days read on a connection and
// in a thread of their own.
double floorRun(const std::string &path, i64 &difference)
{
    QElapsedTimer timer;
    timer.start();
    const PayPlanVersion plan = draft();
    FloorIndex index;
    for (int i = 0; i < kSalesPeople; ++i)
        index.emplace(kYear.salesPerson(i).toUpper().toStdString(), i);
    std::vector<FloorLine> lines(kSalesPeople);
    std::vector<FloorLine> later(kSalesPeople);
    RawDatabase raw(path);
    // The rows' count, for the program's progress bar.
    RawStatement count(raw.get(), PlanTrial::countStatement(kSalesPeople).toStdString());
    count.bindText(1, "2025-01-01");
    count.bindText(2, "2026-01-01");
    if (!count.step())
        qFatal("no count");
    benchmark::DoNotOptimize(sqlite3_column_int64(count.get(), 0));
    std::thread reader([&] {
        RawDatabase own(path);
        floorStretch(own, index, "2025-07-02", "2026-01-01", later);
    });
    floorStretch(raw, index, "2025-01-01", "2025-07-02", lines);
    reader.join();
    // Rows of earlier months unwound in these (their units come off the
    // month), and what the sheets paid as the months' volume bonus.
    std::unordered_map<int, std::unordered_map<int, i64>> unitsOff;
    RawStatement earlier(raw.get(), PlanTrial::earlierStatement(kSalesPeople).toStdString());
    earlier.bindText(1, "2025-01-01");
    earlier.bindText(2, "2026-01-01");
    earlier.bindText(3, "2025-01-01");
    RawStatement volume(raw.get(), PlanTrial::volumePaidStatement(kSalesPeople).toStdString());
    volume.bindText(1, "2025-01-01");
    volume.bindText(2, "2026-01-01");
    for (int i = 0; i < kSalesPeople; ++i) {
        const std::string name = kYear.salesPerson(i).toUpper().toStdString();
        earlier.bindText(4 + i, name);
        volume.bindText(3 + i, name);
    }
    while (earlier.step()) {
        const int person = index.at(reinterpret_cast<const char *>(sqlite3_column_text(earlier.get(), 0)));
        const std::string unwound(reinterpret_cast<const char *>(sqlite3_column_text(earlier.get(), 5)));
        unitsOff[person][std::stoi(unwound.substr(5, 2))] += column(earlier.get(), 4);
    }
    while (volume.step())
        lines[index.at(reinterpret_cast<const char *>(sqlite3_column_text(volume.get(), 0)))].paid +=
            column(volume.get(), 1);
    for (int i = 0; i < kSalesPeople; ++i) {
        lines[i].paid += later[i].paid;
        lines[i].tried += later[i].tried;
        for (auto &[month, rows] : later[i].months)
            lines[i].months[month].insert(lines[i].months[month].end(), rows.begin(), rows.end());
    }
    difference = 0;
    for (int person = 0; person < kSalesPeople; ++person) {
        FloorLine &line = lines[person];
        for (auto &[month, monthRows] : line.months) {
            i64 units = -unitsOff[person][month];
            for (const FloorRow &row : monthRows)
                units += row.units;
            int tier = -1;
            for (int i = 0; i < int(plan.tiers.size()); ++i) {
                if (plan.tiers.at(i).unitsFrom.units() <= units)
                    tier = i;
            }
            if (tier < 0)
                continue;
            std::sort(monthRows.begin(), monthRows.end(), [](const FloorRow &a, const FloorRow &b) {
                return a.date != b.date ? a.date < b.date : a.order < b.order;
            });
            for (const FloorRow &row : monthRows) {
                i64 pay = percentToCent(row.gross, plan.tiers.at(tier).percent->units());
                pay = std::min(pay, plan.cap->units());
                line.tried += std::max<i64>(0, pay - row.commission);
            }
        }
        difference += line.tried - line.paid;
    }
    return timer.nsecsElapsed() / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString path = BenchDeals::ensureDatabase(QStringLiteral(TARVEX_BENCH_DATA_FOLDER), kYear);
    DealDatabase database(path);
    QString error;
    if (!database.open(&error))
        qFatal("%s", qPrintable(error));
    const std::string rawPath = QFile::encodeName(path).toStdString();
    NoPrompts prompts;

    std::vector<double> program, floor;
    Money difference;
    i64 floorDifference = 0;
    // Interleaved, so that both meet the machine in the same state.
    for (int run = 0; run < kRepetitions; ++run) {
        program.push_back(programRun(database, prompts, difference));
        floor.push_back(floorRun(rawPath, floorDifference));
    }
    if (difference.units() != floorDifference)
        qFatal("the program's difference %lld is not the floor's %lld", difference.units(),
               floorDifference);
    const double p = median(program), f = median(floor);
    std::printf("trying a draft plan with tiers on %d deals of a year for %d salespeople "
                "(medians of %d runs)\n",
                BenchDeals::dealCount(), kSalesPeople, kRepetitions);
    std::printf("%-28s %10s %10s %8s\n", "", "program", "floor", "ratio");
    std::printf("%-28s %9.3fs %9.3fs %7.2fx   (goal: program <= 2 s)\n", "Try on Past Deals", p, f,
                p / f);
    std::printf("%s\n", p <= 2.0 ? "goal met" : "GOAL NOT MET");
    return 0;
}
