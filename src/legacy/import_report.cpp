#include "import_report.h"

#include <QDir>
#include <QLocale>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString rows(int count)
{
    return count == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(count);
}

} // namespace

QString importReportText(const ImportFacts &facts)
{
    QStringList lines;
    lines << QStringLiteral("Tarvex: import of an Access database")
          << QStringLiteral("Started %1").arg(facts.started.toString(Qt::ISODate))
          << QStringLiteral("File: \"%1\", %2, %3 bytes")
                 .arg(native(facts.accessPath), facts.format)
                 .arg(facts.bytes)
          << QString() << QStringLiteral("What was read");
    for (const ImportFacts::TableCount &table : facts.tables)
        lines << QStringLiteral("  %1: %2").arg(table.table, rows(table.read));
    for (const QString &column : facts.columnsLeftOut)
        lines << QStringLiteral("  Column %1 is not one of this program's and was left out.")
                     .arg(column);

    lines << QString() << QStringLiteral("What was tied");
    lines << QStringLiteral("  %1 deals: each RecallDeal row with the SalesLog row and the "
                            "SalesSummary rows of the same stock number, date and "
                            "salespeople (%2 split deals with two SalesSummary rows).")
                 .arg(facts.deals)
                 .arg(facts.splitDeals);
    for (const QString &deal : facts.incompleteDeals)
        lines << QStringLiteral("  ") + deal;
    if (!facts.tiedByElimination.isEmpty())
        lines << QStringLiteral("  Rows tied although their salesperson differs from the deal's "
                                "(names changed by hand): each was the only row of its table "
                                "left for a deal of that stock number and date.");
    for (const QString &tie : facts.tiedByElimination)
        lines << QStringLiteral("    ") + tie;

    lines << QString()
          << QStringLiteral("Rows not tied to a deal: %1 (each imported as a deal of its own, "
                            "with a RecallDeal row holding its date, stock number, customer, "
                            "salesperson and unit class)")
                 .arg(facts.untiedRows.size());
    for (const QString &row : facts.untiedRows)
        lines << QStringLiteral("  ") + row;

    lines << QString()
          << QStringLiteral("Values that did not arrive as they were: %1").arg(facts.notes.size());
    for (const ConversionNote &note : facts.notes)
        lines << QStringLiteral("  %1 row %2, %3: %4: %5; stored: %6")
                     .arg(note.table)
                     .arg(note.row)
                     .arg(note.column, note.value, note.reason, note.stored);
    if (!facts.suspects.isEmpty()) {
        lines << QString()
              << QStringLiteral("Values that look damaged: %1 (an amount beyond ±$10,000,000, a "
                                "date outside 1980 to 2100, a unit count other than 0.5 or 1, "
                                "text with a control character)")
                     .arg(facts.suspects.size());
        for (const QString &suspect : facts.suspects)
            lines << QStringLiteral("  ") + suspect;
    }
    if (!facts.rosterKept.isEmpty())
        lines << QStringLiteral("  Salespeople of the empty database that was replaced, kept on "
                                "the roster: %1")
                     .arg(facts.rosterKept.join(QStringLiteral(", ")));

    lines << QString() << QStringLiteral("Result");
    if (facts.imported) {
        lines << QStringLiteral("  Imported into \"%1\" (database version %2) in %3 s.")
                     .arg(native(facts.databasePath))
                     .arg(facts.schemaVersion)
                     .arg(QLocale::c().toString(double(facts.milliseconds) / 1000.0, 'f', 2));
        for (const ImportFacts::TableCount &table : facts.tables) {
            QString line = QStringLiteral("  %1: %2 in the file, %3 in the new database")
                               .arg(table.table)
                               .arg(table.read)
                               .arg(table.imported);
            if (table.imported > table.read)
                line += QStringLiteral(" (%1 added)").arg(table.imported - table.read);
            lines << line;
        }
        lines << (facts.keptPath.isEmpty()
                      ? QStringLiteral("  The Access file was left where it is, unchanged.")
                      : QStringLiteral("  The Access file is kept unchanged as \"%1\".")
                            .arg(native(facts.keptPath)));
    } else {
        lines << QStringLiteral("  Not imported: %1").arg(facts.failure)
              << QStringLiteral("  Nothing was changed: the Access file is as it was.");
    }
    return lines.join(u'\n') + u'\n';
}
