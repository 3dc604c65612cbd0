#include "app/tarvex_program.h"

#include "admin/exit_sequence.h"
#include "admin/ui/audit_trail_window.h"
#include "admin/ui/main_menu.h"
#include "admin/ui/program_icon.h"
#include "admin/ui/run_login.h"
#include "admin/ui/setup_commands.h"
#include "admin/ui/table_commands.h"
#include "common/durable_file.h"
#include "common/prompts.h"
#include "common/ui/bring_up.h"
#include "legacy/legacy_import.h"
#include "legacy/ui/legacy_import_offer.h"
#include "reports/commission_data_file.h"
#include "reports/sheet_data_file.h"
#include "reports/ui/commission_sheet_opener.h"
#include "reports/ui/print_command.h"
#include "reports/ui/report_chooser_command.h"
#include "store/database_backup.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/store_location.h"
#include "store/ui/deal_commands.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <memory>

TarvexProgram::TarvexProgram(const ProgramFolder &folder, Prompts &prompts)
    : m_folder(folder), m_prompts(prompts),
      m_endProgram([] { QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); }); })
{
}

TarvexProgram::~TarvexProgram()
{
    // The finder and the worksheet go before the store and database they use.
    m_commands.reset();
    m_form.reset();
    m_store.reset();
    m_database.reset();
}

bool TarvexProgram::start()
{
    // Files this program was writing when it was killed are removed.
    DurableFile::removeStaleTemporaries(m_folder.path());
    if (!runLogin(m_folder, m_prompts))
        return false;
    QString error;
    const std::optional<StoreLocation> location = StoreLocation::of(m_folder, &error);
    if (!location) {
        m_prompts.message(QStringLiteral("%1\n\nTarvex will close.").arg(error), {},
                          Prompts::Icon::Critical);
        return false;
    }
    // An older installation's Access database is taken in before anything
    // opens the folder's database (a desk on a server copies its file there
    // with --copy-to-server instead).
    if (location->engine == StoreEngine::Engine::SQLite &&
        LegacyImport::folderHoldsAccessDatabase(m_folder) &&
        !offerLegacyImport(m_folder, m_prompts))
        return false;
    if (!openDatabase(*location))
        return false;

    m_form = std::make_unique<DealWorksheet>(m_folder, m_prompts);
    m_form->setWindowIcon(ProgramIcon::icon());
    m_menu = new MainMenu(m_form.get());
    // About names the server and whether the deals cross the network encrypted.
    if (location->engine == StoreEngine::Engine::PostgreSQL)
        m_menu->setDatabaseNote(location->server.connectionNote());
    m_commands = std::make_unique<DealCommands>(*m_form, *m_store, m_prompts);
    attachCommands();

    m_form->startUp();
    m_commands->loadSalesPersons();
    m_form->show();
    return true;
}

bool TarvexProgram::openDatabase(const StoreLocation &location)
{
    m_database = location.engine == StoreEngine::Engine::SQLite
                     ? std::make_unique<DealDatabase>(location.filePath)
                     : std::make_unique<DealDatabase>(location.server);
    QString error;
    if (!m_database->open(&error)) {
        m_prompts.message(QStringLiteral("%1\n\nTarvex will close.").arg(error), {},
                          Prompts::Icon::Critical);
        return false;
    }
    if (!m_database->upgradeNote().isEmpty())
        m_prompts.message(m_database->upgradeNote(), {}, Prompts::Icon::Information);
    m_database->setConnectionNotice([&prompts = m_prompts](const QString &notice) {
        prompts.message(notice, {}, Prompts::Icon::Warning);
    });
    m_store = std::make_unique<DealStore>(*m_database);
    restoreDataFile();
    return true;
}

void TarvexProgram::restoreDataFile()
{
    // After a kill or a full disk, data.txt is put back in step with the last
    // recorded commission sheet.
    QString why;
    if (!SheetDataFile::restore(
            *m_database, m_folder.filePath(QString::fromLatin1(CommissionDataFile::kFileName)),
            &why))
        m_prompts.message(SheetDataFile::notRestoredMessage(why), {}, Prompts::Icon::Warning);
}

void TarvexProgram::attachCommands()
{
    DealWorksheet *form = m_form.get();
    DealCommands *commands = m_commands.get();
    m_menu->setCommand(QStringLiteral("tbrSave"), [commands] { commands->saveDeal(); });
    m_menu->setCommand(QStringLiteral("tbrCalculate"), [form] { form->calculateCommission(); });
    m_menu->setCommand(QStringLiteral("tbrClear"), [form] { form->clearDeal(); });
    m_menu->setCommand(QStringLiteral("tbrRecall"), [commands] { commands->openFinder(); });
    m_menu->setCommand(QStringLiteral("tbrExit"), [form] { form->close(); });
    m_menu->installHelpCommands(m_folder, m_prompts);
    installSetupCommands(*m_menu, *form, m_folder, m_prompts);
    m_menu->setCommand(QStringLiteral("tbrPrint"),
                       makePrintCommand(*form, [commands] { commands->saveAfterPrint(); }).run);
    m_tables = installTableCommands(*m_menu, *m_database, m_prompts);
    auto *reports = new ReportChooserCommand(
        *form, *m_database, m_prompts,
        commissionSheetOpener(m_menu->toolBar(), *m_database, m_folder, m_prompts, form));
    m_menu->setCommand(QStringLiteral("tbrSalesLog"), [reports] { reports->openChooser(); });
    auto auditTrail = std::make_shared<QPointer<AuditTrailWindow>>();
    m_menu->setCommand(QStringLiteral("mnuAuditTrail"),
                       [auditTrail, database = m_database.get(), &prompts = m_prompts, form] {
                           if (!*auditTrail)
                               *auditTrail = new AuditTrailWindow(*database, prompts, form);
                           else
                               (*auditTrail)->cmdShow_Click();
                           bringUp(**auditTrail);
                       });

    QObject::connect(form, &DealWorksheet::saveCommandChanged, m_menu, &MainMenu::setSaveCommand);
    m_menu->setSaveCommand(form->saveCommandCaption(), form->saveCommandEnabled());
    m_form->setCloseGuard([this] { return exitSequence(); });
}

bool TarvexProgram::exitSequence()
{
    DealDatabase &database = *m_database;
    ExitSequence::BackUp backUp;
    if (database.engine() == StoreEngine::Engine::SQLite)
        backUp = [&database](const QString &target, QString *error) {
            return DatabaseBackup::copyTo(database, target, error);
        };
    ExitSequence sequence(m_prompts, database.filePath(), backUp);
    if (!sequence.run())
        return false;
    // Once the user has said yes the program ends, whatever a table window
    // holds: what can be stored is written, the rest dropped.
    m_tables->closeForExit();
    m_endProgram();
    return true;
}
