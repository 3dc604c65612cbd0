#pragma once

#include "access_file.h"

#include <QList>

#include <optional>

// The rows of one deal in the older database, by their row numbers (from 0)
// in each table.
struct LegacyDealRows
{
    int recall = -1;
    QList<int> summaries; // the salesperson's row, then the split partner's
    std::optional<int> log;
};

// How the rows of the older database make up deals. The old file has no deal
// identity: its save wrote a deal's SalesSummary row (two for a split deal),
// its SalesLog row and its RecallDeal row with the same stock number and date.
//
// Each RecallDeal row is a deal. Its SalesLog and SalesSummary rows are those
// with the same stock number (in any letter case) and date whose salesperson
// is the deal's: the SalesLog row names the salesperson, or both joined by
// " / " for a split deal; the SalesSummary rows name the salesperson and, for
// a split deal, the partner. Where several rows would do, a row with figures
// goes to a deal with figures (a save made before Calculate leaves a
// SalesSummary row without them), then row order decides, deals taken in
// their row order. Rows left over where a deal still lacks exactly as many
// rows of that table with its stock number and date are tied in row order.
// Every other row is not tied.
struct LegacyTies
{
    // A row tied where its names differ from the deal's, because it was the
    // only one left for the deal.
    struct ByElimination
    {
        bool log = false; // a SalesLog row; else a SalesSummary row
        int row = -1;
        int deal = -1; // its index in `deals`
    };

    QList<LegacyDealRows> deals; // one for each RecallDeal row, in row order
    QList<int> untiedSummaries;
    QList<int> untiedLogs;
    QList<ByElimination> byElimination; // in the order they were tied
};

LegacyTies tieLegacyDeals(const AccessTable &recalls, const AccessTable &summaries,
                          const AccessTable &logs);
