#pragma once

#include "common/money.h"
#include "reports/report_rows.h"
#include "reports/statement_period.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// A salesperson's statement of a period, line by line, as the salesperson
// can check it against the deals and the sheets handed out:
//
// - Deals: every deal row of the salesperson dated in the period, and every
//   row paid on a sheet printed in it, with its status;
// - Ledger: the chargebacks, volume bonuses and draws (recorded, recovered,
//   written off) dated in the period or deducted on its sheets;
// - Sheets: each sheet printed in the period with its net pay (a voided one
//   shown as voided), then its bonus and the earlier negative net it
//   deducted, each on a line of its own;
// - Totals: the net paid in the period, the sheets' net pay beside it, and
//   the month-to-date and year-to-date units and pay as of the period's end.
//
// Only lines that moved money on a valid sheet of the period carry an
// amount in "In Net": the deals paid on it (their total to the cent, as the
// sheet pays it), its volume bonus, its chargebacks and the draws it
// recovered (negative), its bonus and the earlier negative net it deducted
// (negative). Those amounts add up to the net the period's sheets paid.
// A draw is paid outside the sheets and a draw written off is not deducted:
// both are listed without an amount in "In Net".
namespace SalespersonStatement {

// What the statement is made from, as the database holds it.
struct DealRow
{
    qint64 rowId = 0;
    QDate date = {};
    QString stockNumber = {};
    QString customer = {};
    QString unitClass = {};
    Money units = {};
    Money gross = {};
    Money commission = {};
    Money spiff = {};
    Money warranty = {};
    Money total = {};
    bool paid = false;
    std::optional<qint64> sheetId = {}; // none when unpaid or paid before sheets were recorded
    bool held = false;
    bool unwound = false; // the deal was taken back whole
};

struct LedgerEntry
{
    qint64 id = 0;
    QString kind = {}; // "Chargeback", "Volume bonus", "Draw", "Draw recovered", "Draw written off"
    QDate date = {};
    QString stockNumber = {};
    QString text = {}; // the chargeback's customer, the volume bonus line
    Money amount = {}; // as stored: never negative
    bool recoverable = true;
    std::optional<qint64> sheetId = {};
};

struct Sheet
{
    qint64 id = 0;
    QDate printedOn = {};
    QString weekEnding = {};
    QString bonusDescription = {};
    Money bonus = {};
    Money carriedIn = {};
    Money net = {};
    bool voided = false;
};

struct Records
{
    QList<DealRow> deals = {};       // in date order
    QList<LedgerEntry> entries = {}; // in date order
    // Every sheet of the salesperson printed from the first of the period's
    // year (or the period's start, when earlier) through its end.
    QList<Sheet> sheets = {};
    Money monthUnits = {}; // deals sold from the first of the end's month to the end, not taken back
    Money yearUnits = {};  // the same from January 1
};

// One printed line. Amounts are absent where the line has none.
struct Line
{
    QString part = {}; // "Deals", "Chargebacks, Bonuses and Draws", "Sheets", "Totals"
    QDate date = {};
    QString reference = {};
    QString description = {};
    QString unitClass = {};
    std::optional<Money> units = {};
    std::optional<Money> gross = {};
    std::optional<Money> commission = {};
    std::optional<Money> spiff = {};
    std::optional<Money> warranty = {};
    std::optional<Money> total = {};
    QString status = {};
    std::optional<Money> inNet = {};
};

struct Statement
{
    QString salesPerson = {};
    StatementPeriod period = {};
    QList<Line> lines = {};
    Money netPaid = {};   // the lines' "In Net" added up
    Money sheetsNet = {}; // what the period's valid sheets paid, as recorded
};

Statement assemble(const QString &salesPerson, const StatementPeriod &period,
                   const Records &records);

// The data fields of a statement's rows, in print order.
QStringList fields();
// The statement's lines as a report's rows.
ReportRows rows(const Statement &statement);

} // namespace SalespersonStatement
