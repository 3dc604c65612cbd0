#include "legacy_import_command.h"

#include "legacy_import.h"

#include <QLocale>

int runLegacyImportCommand(const QString &accessPath, const ProgramFolder &folder, QTextStream &out)
{
    const LegacyImportResult result = LegacyImport(folder, accessPath).run();
    if (result.status != LegacyImportResult::Status::Imported) {
        out << "Not imported: " << result.error << '\n' << "Nothing was changed.\n";
        out.flush();
        return 1;
    }
    for (const QString &line : result.summaryLines())
        out << line << '\n';
    out << "The import took " << QLocale::c().toString(double(result.milliseconds) / 1000.0, 'f', 2)
        << " s.\n";
    out.flush();
    return 0;
}
