#pragma once

#include "store/server_settings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <chrono>
#include <latch>
#include <vector>

// One desk of the desks benchmark: a thread with its own connection that,
// until told to stop, does what a sales office does all day through the
// program's own store classes: saves deals, corrects and deletes its own,
// pays the unpaid deals of one of a few shared salespeople on a commission
// sheet (SheetPayment, as the sheet window does) and voids their sheets (as
// the sheet history window does). Every answer a user would have read is
// kept, so that the run can tell what the desks were shown.
namespace DeskLoad {

using Clock = std::chrono::steady_clock;

// The salespeople every desk pays and voids.
const QStringList &sharedSalesPeople();

enum Kind { Save, Correction, Delete, Sheet, Void, kKinds };
const char *kindName(int kind);

// The parts of a paid sheet's time, in ms: up to its transaction's begin
// (a run again after a conflict included), the wait for its rows' locks with
// the sheet's record, the rows marked, the sheet completed with its audit
// rows, the commit, and data.txt written after it.
inline constexpr int kSheetSteps = 6;
using SheetSteps = std::array<double, kSheetSteps>;
const char *sheetStepName(int step);

struct Tally
{
    int answered[kKinds] = {};          // operations finished, whatever the answer
    int confirmed[kKinds] = {};         // done, as the user was told
    int refused[kKinds] = {};           // refused in the program's words (another desk was first)
    int failed[kKinds] = {};            // failed for another reason
    int picked[kKinds] = {};            // times each kind was chosen
    double busyMs[kKinds] = {};         // time spent in each, listing and reading included
    int emptyListings = 0;              // sheets not printed: nothing unpaid was listed
    int rowsPaid = 0;                   // rows on the confirmed sheets
    int tallyMismatches = 0;            // a paid sheet whose tally is not its rows' sum
    std::vector<double> sheetMs;        // every sheet's paying, paid or refused
    std::vector<double> refusedSheetMs; // the refused ones alone
    std::vector<SheetSteps> paidSheetSteps;
    std::vector<qint64> liveDeals;    // saved and not deleted, as confirmed
    std::vector<qint64> deletedDeals; // deleted, as confirmed
    QStringList failures;             // what the user was told when it failed
    int connectionNotices = 0;        // "the connection was lost" told
    // Finish times of the operations that succeeded, to see when a desk came
    // back after a restart.
    std::vector<Clock::time_point> successes;

    int totalAnswered() const;
    void add(const Tally &other);
};

struct Desk
{
    int number = 0;
    ServerSettings server;
    QString dataFolder;          // where its data.txt is written
    std::latch *ready = nullptr; // all desks connected
    std::atomic<bool> *stop = nullptr;
    Tally tally;
    QString openError;
};

// The desk's work, run on its own thread until *stop.
void run(Desk &desk);

} // namespace DeskLoad
