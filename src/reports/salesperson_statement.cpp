#include "reports/salesperson_statement.h"

#include <QSet>

namespace SalespersonStatement {

namespace {

const QString kDeals = QStringLiteral("Deals");
const QString kLedger = QStringLiteral("Chargebacks, Bonuses and Draws");
const QString kSheets = QStringLiteral("Sheets");
const QString kTotals = QStringLiteral("Totals");

const QString kChargeback = QStringLiteral("Chargeback");
const QString kVolumeBonus = QStringLiteral("Volume bonus");
const QString kDraw = QStringLiteral("Draw");
const QString kRecovered = QStringLiteral("Draw recovered");
const QString kWrittenOff = QStringLiteral("Draw written off");

QString sheetText(qint64 id)
{
    return QStringLiteral("Sheet %1").arg(id);
}

QString dealStatus(const DealRow &deal)
{
    if (deal.paid) {
        const QString paid = deal.sheetId
                                 ? QStringLiteral("Paid on sheet %1").arg(*deal.sheetId)
                                 : QStringLiteral("Paid");
        return deal.unwound ? paid + QStringLiteral(", unwound") : paid;
    }
    if (deal.unwound)
        return QStringLiteral("Unwound");
    return deal.held ? QStringLiteral("Held") : QStringLiteral("Unpaid");
}

Line dealLine(const DealRow &deal, const QSet<qint64> &counted)
{
    Line line{.part = kDeals,
              .date = deal.date,
              .reference = deal.stockNumber,
              .description = deal.customer,
              .unitClass = deal.unitClass,
              .units = deal.units,
              .gross = deal.gross,
              .commission = deal.commission,
              .spiff = deal.spiff,
              .warranty = deal.warranty,
              .total = deal.total,
              .status = dealStatus(deal)};
    // A sheet pays each row's total rounded to the cent.
    if (deal.paid && deal.sheetId && counted.contains(*deal.sheetId))
        line.inNet = deal.total.roundedToCent();
    return line;
}

// What the entry does to the pay: a chargeback and a recovery take away,
// the rest is shown as recorded.
Money signedAmount(const LedgerEntry &entry)
{
    return entry.kind == kChargeback || entry.kind == kRecovered ? -entry.amount : entry.amount;
}

QString entryDescription(const LedgerEntry &entry)
{
    if (entry.kind == kVolumeBonus && !entry.text.isEmpty())
        return entry.text;
    if (entry.kind == kDraw && !entry.recoverable)
        return QStringLiteral("Draw, not recoverable");
    return entry.text.isEmpty() ? entry.kind : QStringLiteral("%1: %2").arg(entry.kind, entry.text);
}

QString entryStatus(const LedgerEntry &entry, const QSet<qint64> &voided)
{
    if (!entry.sheetId)
        return entry.kind == kChargeback ? QStringLiteral("Open") : QStringLiteral("Paid");
    const qint64 sheet = *entry.sheetId;
    if (voided.contains(sheet))
        return QStringLiteral("Sheet %1 voided").arg(sheet);
    if (entry.kind == kChargeback)
        return QStringLiteral("Deducted on sheet %1").arg(sheet);
    if (entry.kind == kRecovered)
        return QStringLiteral("Recovered on sheet %1").arg(sheet);
    if (entry.kind == kWrittenOff)
        return QStringLiteral("Written off on sheet %1").arg(sheet);
    return QStringLiteral("Paid on sheet %1").arg(sheet);
}

Line entryLine(const LedgerEntry &entry, const QSet<qint64> &counted, const QSet<qint64> &voided)
{
    Line line{.part = kLedger,
              .date = entry.date,
              .reference = entry.stockNumber,
              .description = entryDescription(entry),
              .total = signedAmount(entry),
              .status = entryStatus(entry, voided)};
    const bool movesPay = entry.kind == kChargeback || entry.kind == kVolumeBonus ||
                          entry.kind == kRecovered;
    if (movesPay && entry.sheetId && counted.contains(*entry.sheetId))
        line.inNet = signedAmount(entry);
    return line;
}

void addSheetLines(QList<Line> &lines, const Sheet &sheet)
{
    lines << Line{.part = kSheets,
                  .date = sheet.printedOn,
                  .reference = sheetText(sheet.id),
                  .description = QStringLiteral("Week ending %1").arg(sheet.weekEnding),
                  .total = sheet.net,
                  .status = sheet.voided ? QStringLiteral("Voided") : QStringLiteral("Net pay")};
    if (sheet.voided)
        return;
    if (!sheet.bonus.isZero()) {
        const QString text = sheet.bonusDescription.isEmpty()
                                 ? QStringLiteral("Bonus")
                                 : QStringLiteral("Bonus: %1").arg(sheet.bonusDescription);
        lines << Line{.part = kSheets,
                      .date = sheet.printedOn,
                      .reference = sheetText(sheet.id),
                      .description = text,
                      .total = sheet.bonus,
                      .inNet = sheet.bonus};
    }
    if (!sheet.carriedIn.isZero())
        lines << Line{.part = kSheets,
                      .date = sheet.printedOn,
                      .reference = sheetText(sheet.id),
                      .description = QStringLiteral("Earlier negative net deducted"),
                      .total = -sheet.carriedIn,
                      .inNet = -sheet.carriedIn};
}

Money payFrom(const QList<Sheet> &sheets, const QDate &first, const QDate &last)
{
    Money pay;
    for (const Sheet &sheet : sheets) {
        if (!sheet.voided && sheet.printedOn >= first && sheet.printedOn <= last)
            pay += sheet.net;
    }
    return pay;
}

QString rangeText(const QDate &first, const QDate &last)
{
    return StatementPeriod::between(first, last).text();
}

void addTotals(Statement &statement, const Records &records)
{
    const StatementPeriod &period = statement.period;
    statement.lines << Line{.part = kTotals,
                            .description = QStringLiteral("Net paid in the period"),
                            .total = statement.netPaid};
    statement.lines << Line{
        .part = kTotals,
        .description = QStringLiteral("Sheets' net pay"),
        .total = statement.sheetsNet,
        .status = statement.sheetsNet == statement.netPaid ? QString()
                                                           : QStringLiteral("Does not match")};
    const QDate month = period.monthStart();
    const QDate year = period.yearStart();
    statement.lines << Line{
        .part = kTotals,
        .description = QStringLiteral("Month to date, %1").arg(rangeText(month, period.last)),
        .units = records.monthUnits,
        .total = payFrom(records.sheets, month, period.last)};
    statement.lines << Line{
        .part = kTotals,
        .description = QStringLiteral("Year to date, %1").arg(rangeText(year, period.last)),
        .units = records.yearUnits,
        .total = payFrom(records.sheets, year, period.last)};
}

} // namespace

Statement assemble(const QString &salesPerson, const StatementPeriod &period,
                   const Records &records)
{
    Statement statement{.salesPerson = salesPerson, .period = period, .lines = {}, .netPaid = {},
                        .sheetsNet = {}};
    QSet<qint64> counted;
    QSet<qint64> voided;
    for (const Sheet &sheet : records.sheets) {
        if (sheet.voided)
            voided << sheet.id;
        else if (period.contains(sheet.printedOn))
            counted << sheet.id;
    }
    for (const DealRow &deal : records.deals)
        statement.lines << dealLine(deal, counted);
    for (const LedgerEntry &entry : records.entries)
        statement.lines << entryLine(entry, counted, voided);
    for (const Sheet &sheet : records.sheets) {
        if (!period.contains(sheet.printedOn))
            continue;
        addSheetLines(statement.lines, sheet);
        if (!sheet.voided)
            statement.sheetsNet += sheet.net;
    }
    for (const Line &line : statement.lines)
        statement.netPaid += line.inNet.value_or(Money());
    addTotals(statement, records);
    return statement;
}

QStringList fields()
{
    return {QStringLiteral("Part"),        QStringLiteral("Date"),       QStringLiteral("Reference"),
            QStringLiteral("Description"), QStringLiteral("Class"),      QStringLiteral("Units"),
            QStringLiteral("Gross"),       QStringLiteral("Commission"), QStringLiteral("Spiff"),
            QStringLiteral("Warranty"),    QStringLiteral("Total"),      QStringLiteral("Status"),
            QStringLiteral("InNet")};
}

ReportRows rows(const Statement &statement)
{
    const auto amount = [](const std::optional<Money> &value) {
        return value ? QVariant::fromValue(*value) : QVariant();
    };
    ReportRows rows(fields());
    for (const Line &line : statement.lines) {
        rows.appendValues({line.part, line.date.isValid() ? QVariant(line.date) : QVariant(),
                           line.reference, line.description, line.unitClass, amount(line.units),
                           amount(line.gross), amount(line.commission), amount(line.spiff),
                           amount(line.warranty), amount(line.total), line.status,
                           amount(line.inNet)});
    }
    return rows;
}

} // namespace SalespersonStatement
