#include "legacy_import_command.h"

#include "legacy_import.h"

#include <QLocale>

int runLegacyImportCommand(const QString &accessPath, const ProgramFolder &folder, QTextStream &out,
                           QTextStream *errors, const std::function<bool()> &importAnyway)
{
    QTextStream &why = errors ? *errors : out;
    LegacyImportOptions options;
    options.importSuspects = [&why, &importAnyway](const QStringList &suspects) {
        why << "These values of the Access database look damaged:\n";
        for (const QString &suspect : suspects)
            why << "  " << suspect << '\n';
        why.flush();
        return importAnyway && importAnyway();
    };
    const LegacyImportResult result = LegacyImport(folder, accessPath).run(options);
    if (result.status != LegacyImportResult::Status::Imported) {
        why << "Not imported: " << result.error << '\n';
        if (result.reportWritten)
            why << "Nothing was changed but the report \"" << result.reportPath
                << "\", which says why.\n";
        else
            why << "Nothing was changed.\n";
        why.flush();
        return 1;
    }
    for (const QString &line : result.summaryLines())
        out << line << '\n';
    out << "The import took " << QLocale::c().toString(double(result.milliseconds) / 1000.0, 'f', 2)
        << " s.\n";
    out.flush();
    return 0;
}
