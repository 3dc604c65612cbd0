#include "legacy_import_offer.h"

#include "common/prompts.h"
#include "common/ui/progress_dialog.h"
#include "legacy/legacy_import.h"
#include "store/deal_database.h"

#include <QFileInfo>
#include <QProgressDialog>

namespace {

using Icon = Prompts::Icon;

QString question(const ProgramFolder &folder)
{
    return QStringLiteral("\"%1\" in this folder is an Access database, left by an older "
                          "installation. Import its deals into Tarvex now?\n\nThe Access file is "
                          "kept unchanged as \"%2\".")
        .arg(QString::fromLatin1(DealDatabase::kFileName),
             QFileInfo(LegacyImport::keptPathFor(folder)).fileName());
}

// Whether to import values that look damaged: each is named (the first
// twenty here, all of them in import.log).
bool importSuspects(const QStringList &suspects, Prompts &prompts)
{
    constexpr qsizetype kShown = 20;
    QStringList shown = suspects.mid(0, kShown);
    if (suspects.size() > kShown)
        shown << QStringLiteral("… and %1 more, listed in import.log")
                     .arg(suspects.size() - kShown);
    return prompts.message(QStringLiteral("These values of the Access database look damaged "
                                          "(the file may have been harmed):\n\n%1\n\nImport "
                                          "them anyway, as they were read?")
                               .arg(shown.join(u'\n')),
                           {}, Icon::Warning, Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

} // namespace

bool offerLegacyImport(const ProgramFolder &folder, Prompts &prompts, QWidget *parent)
{
    if (prompts.message(question(folder), {}, Icon::Question, Prompts::Buttons::YesNo) !=
        Prompts::Answer::Yes)
        return false;

    QProgressDialog progress(parent);
    prepareProgress(progress, QStringLiteral("frmLegacyImport"), Prompts::applicationTitle(),
                    QStringLiteral("Importing the Access database..."), Qt::ApplicationModal, 0);
    progress.setAutoClose(false);
    progress.setValue(0);

    LegacyImportOptions options;
    options.progress = [&progress](int done, int total) {
        if (progress.maximum() != total)
            progress.setMaximum(total);
        progress.setLabelText(
            QStringLiteral("Importing the Access database: %1 of %2 rows").arg(done).arg(total));
        progress.setValue(done); // lets the dialog see its Cancel button
        return !progress.wasCanceled();
    };
    options.importSuspects = [&prompts](const QStringList &suspects) {
        return importSuspects(suspects, prompts);
    };
    const LegacyImportResult result =
        LegacyImport(folder, DealDatabase::pathIn(folder)).run(options);
    progress.hide();

    switch (result.status) {
    case LegacyImportResult::Status::Imported:
        prompts.message(result.summaryLines().join(u'\n'), {}, Icon::Information);
        return true;
    case LegacyImportResult::Status::Cancelled:
        prompts.message(QStringLiteral("The import was cancelled. Nothing was changed: \"%1\" is "
                                       "still the Access database.\n\nTarvex will close.")
                            .arg(QString::fromLatin1(DealDatabase::kFileName)),
                        {}, Icon::Information);
        return false;
    case LegacyImportResult::Status::Failed:
        break;
    }
    prompts.message(
        QStringLiteral("%1\n\nNothing was changed.\n\nTarvex will close.").arg(result.error), {},
        Icon::Critical);
    return false;
}
