#pragma once

#include "common/prompts.h"
#include "store/commission_payments.h"
#include "store/deal_database.h"
#include "store/deal_rows.h"
#include "store/deal_store.h"
#include "store/ui/deal_finder_window.h"

#include <QSqlDatabase>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <random>
#include <string>

// The store benchmark's items done through the program's own store, on
// whichever engine its database lies: the finder's searches and opening, a
// salesperson's unpaid listing and its paying, and saving a deal.
namespace StoreItems {

// The finder asks nothing when all goes well; anything it asks ends the run.
class NoPrompts : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }

protected:
    Answer showMessage(const Message &message) override;
    std::optional<QString> showInput(const Input &) override { return std::nullopt; }
};

// The program's store on one opened database of the generated deals.
struct Store
{
    std::unique_ptr<DealDatabase> database;
    std::unique_ptr<DealStore> deals;
    std::unique_ptr<CommissionPayments> payments;
    NoPrompts prompts;
    std::unique_ptr<DealFinderWindow> finder;
    std::mt19937 random{19950101};
    int next; // the number of the next deal saved
    QTemporaryDir folder; // where paying writes data.txt

    QString dataFilePath() const { return folder.filePath(QStringLiteral("data.txt")); }

    // Opens `database`, ending the program when it cannot.
    explicit Store(std::unique_ptr<DealDatabase> database);
    // The deals saved by this run go again, so that the next run starts alike.
    ~Store();

    QList<qint64> unpaidRowIds();
    // Takes back a sheet paid by a run: its rows unpaid again and off the
    // sheet, the sheet and its audit entries gone, so that the next run
    // starts alike. On `connection`, the store's or a floor's.
    static void unpay(QSqlDatabase connection, qint64 sheetId);
};

// The items, each a benchmark body: done through the program's store, or by
// a floor doing the same work.
struct Items
{
    using Body = std::function<void(benchmark::State &)>;
    Body stockSearch;
    std::function<void(benchmark::State &, const char *part)> customerSearch;
    Body openFinder;
    Body listUnpaid; // the 1,000 unpaid rows of kSalesPerson
    Body payUnpaid;  // the same rows paid on a sheet, with data.txt; taken back untimed
    Body saveDeal;
};
Items itemsOf(Store &store);

// Registers the items that only read or give back what they change as
// "<prefix>/stock search", "<prefix>/customer search smi", ... each three
// times, the median kept.
void registerReads(const std::string &prefix, const Items &items);
// Registers "<prefix>/save deal". Saving adds unpaid rows of the salesperson
// listed, so every saving runs after every listing.
void registerSave(const std::string &prefix, const Items &items);

// The two customer parts searched: a common one and a rare one.
inline constexpr const char *kCustomerParts[] = {"smi", "quint"};

// The next generated deal as a floor writes it: its rows and the values of
// its audit entry, the deal's identity (at 3 and 4) set by the caller once
// the deal row is written.
struct FloorDeal
{
    DealRows rows;
    QVariantList audit;
};
FloorDeal nextFloorDeal(Store &store);

// What the paying item pays: the salesperson's 1,000 unpaid rows, with a
// bonus, on a sheet headed as the sheet window heads it.
inline constexpr const char *kWeekEnding = "12/05/2026";
inline constexpr const char *kBonusDescription = "Plateau Bonus";
inline constexpr qint64 kBonusUnits = 1000000; // $100.00

// The statements the floors share with the program's store.
inline constexpr const char *kUnpaidQuery =
    "SELECT rowid, \"Date\", \"Unit\", \"Stock_Number\", \"Customer_Name\", \"Sales_Person\", "
    "\"TCU\", \"Payable_Gross\", \"Commission\", \"Spiff\", \"Warranty\", \"UnitCount\", "
    "\"TotalCommission\", \"Paid\" FROM \"SalesSummary\" WHERE \"Sales_Person\" = ? AND "
    "\"Paid\" = 0 ORDER BY \"Date\", rowid";
inline constexpr const char *kStockSearchQuery =
    "SELECT \"DealId\" FROM \"RecallDeal\" WHERE \"StockNo\" = ? ORDER BY \"DealId\"";
inline constexpr const char *kFirstDealQuery =
    "SELECT \"DealId\" FROM \"RecallDeal\" ORDER BY \"DealId\" LIMIT 1";
inline constexpr const char *kDealQuery = "SELECT * FROM \"RecallDeal\" WHERE \"DealId\" = ?";

} // namespace StoreItems
