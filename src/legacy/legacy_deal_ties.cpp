#include "legacy_deal_ties.h"

#include <QHash>

namespace {

QString textAt(const AccessTable &table, int row, int column)
{
    if (column < 0)
        return {};
    const AccessValue &value = table.rows.at(row).at(column);
    return value.kind == AccessValue::Kind::Text ? value.text.trimmed().toUpper() : QString();
}

bool isSet(const AccessTable &table, int row, int column)
{
    return column >= 0 && !table.rows.at(row).at(column).isNull();
}

// Stock number and date: the rows of one save share them.
QString keyOf(const AccessTable &table, int row, const QString &stockColumn)
{
    const int date = table.columnIndex(QStringLiteral("Date"));
    const AccessValue &day = table.rows.at(row).at(date);
    const QString dayText =
        day.kind == AccessValue::Kind::DateTime ? day.date.toString(Qt::ISODate) : QString();
    return textAt(table, row, table.columnIndex(stockColumn)) + u'\n' + dayText;
}

// The rows of one table grouped by key, each group in row order, with a mark
// for the rows already tied.
struct Pool
{
    QHash<QString, QList<int>> byKey;
    QList<bool> taken;

    Pool(const AccessTable &table, const QString &stockColumn)
    {
        taken.fill(false, table.rows.size());
        for (int row = 0; row < table.rows.size(); ++row)
            byKey[keyOf(table, row, stockColumn)] << row;
    }

    QList<int> free(const QString &key) const
    {
        QList<int> rows;
        for (int row : byKey.value(key)) {
            if (!taken.at(row))
                rows << row;
        }
        return rows;
    }

    QList<int> untied() const
    {
        QList<int> rows;
        for (int row = 0; row < taken.size(); ++row) {
            if (!taken.at(row))
                rows << row;
        }
        return rows;
    }
};

struct Wanted
{
    QString key;
    QList<QString> summaryNames; // one per SalesSummary row the deal needs
    QString logName;
    bool hasFigures = false;
};

std::optional<int> pickSummary(const AccessTable &summaries, Pool &pool, const Wanted &deal,
                               const QString &name)
{
    const int person = summaries.columnIndex(QStringLiteral("Sales_Person"));
    const int gross = summaries.columnIndex(QStringLiteral("Payable_Gross"));
    std::optional<int> first;
    for (int row : pool.free(deal.key)) {
        if (textAt(summaries, row, person) != name)
            continue;
        if (isSet(summaries, row, gross) == deal.hasFigures)
            return row;
        if (!first)
            first = row;
    }
    return first;
}

} // namespace

LegacyTies tieLegacyDeals(const AccessTable &recalls, const AccessTable &summaries,
                          const AccessTable &logs)
{
    Pool summaryPool(summaries, QStringLiteral("Stock_Number"));
    Pool logPool(logs, QStringLiteral("StockNumber"));
    const int person = recalls.columnIndex(QStringLiteral("SalesPerson"));
    const int partner = recalls.columnIndex(QStringLiteral("Salesman2"));
    const int split = recalls.columnIndex(QStringLiteral("Split"));
    const int gross = recalls.columnIndex(QStringLiteral("Gross"));
    const int logPerson = logs.columnIndex(QStringLiteral("SalesPerson"));

    LegacyTies ties;
    QList<Wanted> wanted;
    for (int row = 0; row < recalls.rows.size(); ++row) {
        Wanted deal;
        deal.key = keyOf(recalls, row, QStringLiteral("StockNo"));
        deal.hasFigures = isSet(recalls, row, gross);
        const QString name = textAt(recalls, row, person);
        deal.summaryNames << name;
        deal.logName = name;
        const bool isSplit = split >= 0 && recalls.rows.at(row).at(split).yes;
        if (isSplit) {
            const QString second = textAt(recalls, row, partner);
            deal.summaryNames << second;
            deal.logName = name + QStringLiteral(" / ") + second;
        }
        wanted << deal;
        LegacyDealRows rows;
        rows.recall = row;
        ties.deals << rows;
    }

    // First every row that names the deal's salespeople.
    for (int i = 0; i < wanted.size(); ++i) {
        const Wanted &deal = wanted.at(i);
        LegacyDealRows &rows = ties.deals[i];
        for (const QString &name : deal.summaryNames) {
            const std::optional<int> row = pickSummary(summaries, summaryPool, deal, name);
            if (row) {
                summaryPool.taken[*row] = true;
                rows.summaries << *row;
            }
        }
        for (int row : logPool.free(deal.key)) {
            if (textAt(logs, row, logPerson) == deal.logName) {
                logPool.taken[row] = true;
                rows.log = row;
                break;
            }
        }
    }

    // Then rows whose names were changed by hand, where nothing else could
    // claim them: the deals of a key lack exactly as many rows as are left.
    QHash<QString, QList<int>> dealsByKey;
    for (int i = 0; i < wanted.size(); ++i)
        dealsByKey[wanted.at(i).key] << i;
    for (auto it = dealsByKey.cbegin(); it != dealsByKey.cend(); ++it) {
        int missingSummaries = 0;
        int missingLogs = 0;
        for (int i : it.value()) {
            missingSummaries +=
                int(wanted.at(i).summaryNames.size() - ties.deals.at(i).summaries.size());
            missingLogs += ties.deals.at(i).log ? 0 : 1;
        }
        const QList<int> freeSummaries = summaryPool.free(it.key());
        if (missingSummaries > 0 && freeSummaries.size() == missingSummaries) {
            int next = 0;
            for (int i : it.value()) {
                LegacyDealRows &rows = ties.deals[i];
                while (rows.summaries.size() < wanted.at(i).summaryNames.size()) {
                    summaryPool.taken[freeSummaries.at(next)] = true;
                    ties.byElimination << LegacyTies::ByElimination{false, freeSummaries.at(next), i};
                    rows.summaries << freeSummaries.at(next++);
                }
            }
        }
        const QList<int> freeLogs = logPool.free(it.key());
        if (missingLogs > 0 && freeLogs.size() == missingLogs) {
            int next = 0;
            for (int i : it.value()) {
                if (!ties.deals.at(i).log) {
                    logPool.taken[freeLogs.at(next)] = true;
                    ties.byElimination << LegacyTies::ByElimination{true, freeLogs.at(next), i};
                    ties.deals[i].log = freeLogs.at(next++);
                }
            }
        }
    }

    ties.untiedSummaries = summaryPool.untied();
    ties.untiedLogs = logPool.untied();
    return ties;
}
