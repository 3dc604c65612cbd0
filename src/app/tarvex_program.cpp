#include "app/tarvex_program.h"

#include "admin/exit_sequence.h"
#include "admin/first_password.h"
#include "admin/password_file.h"
#include "admin/ui/audit_trail_window.h"
#include "admin/ui/main_menu.h"
#include "admin/ui/pay_plan_window.h"
#include "admin/ui/program_icon.h"
#include "admin/ui/run_login.h"
#include "admin/ui/setup_commands.h"
#include "admin/ui/table_commands.h"
#include "admin/ui/users_window.h"
#include "admin/user_move_in.h"
#include "common/durable_file.h"
#include "common/prompts.h"
#include "common/money_format.h"
#include "common/ui/bring_up.h"
#include "common/ui/progress_dialog.h"
#include "legacy/legacy_import.h"
#include "legacy/ui/legacy_import_offer.h"
#include "reports/commission_data_file.h"
#include "reports/sheet_data_file.h"
#include "reports/ui/commission_sheet_opener.h"
#include "reports/ui/payroll_export_window.h"
#include "reports/ui/dashboard_window.h"
#include "reports/ui/print_command.h"
#include "reports/ui/report_chooser_command.h"
#include "store/audit_trail.h"
#include "store/database_backup.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/pay_plan_store.h"
#include "store/store_location.h"
#include "store/user_accounts.h"
#include "store/ui/deal_commands.h"
#include "store/ui/unwind_window.h"
#include "store/volume_ledger.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressDialog>
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
    m_users.reset();
    m_database.reset();
}

bool TarvexProgram::start()
{
    // Files this program was writing when it was killed are removed.
    DurableFile::removeStaleTemporaries(m_folder.path());
    // A first start asks for the password before anything else, as it always
    // has; the password is kept once the database is open, and PW.txt only
    // says where.
    std::optional<QString> chosenPassword;
    if (UserMoveIn::asksFirstPassword(m_folder)) {
        chosenPassword = FirstPassword::ask(m_prompts);
        if (!chosenPassword)
            return false;
        PasswordFile(m_folder).writeMovedNote();
    }
    QString error;
    const std::optional<StoreLocation> location = StoreLocation::of(m_folder, &error);
    if (!location) {
        m_prompts.message(QStringLiteral("%1\n\nTarvex will close.").arg(error), {},
                          Prompts::Icon::Critical);
        m_refused = true;
        return false;
    }
    // An older installation's Access database is taken in before anything
    // opens the folder's database (a desk on a server copies its file there
    // with --copy-to-server instead).
    if (location->engine == StoreEngine::Engine::SQLite &&
        LegacyImport::folderHoldsAccessDatabase(m_folder) &&
        !offerLegacyImport(m_folder, m_prompts))
        return false;
    if (!openDatabase(*location) || !signIn(std::move(chosenPassword)))
        return false;

    m_form = std::make_unique<DealWorksheet>(m_folder, m_prompts);
    m_form->setWindowIcon(ProgramIcon::icon());
    m_menu = new MainMenu(m_form.get());
    // About names the server and whether the deals cross the network encrypted.
    if (location->engine == StoreEngine::Engine::PostgreSQL)
        m_menu->setDatabaseNote(location->server.connectionNote());
    m_commands = std::make_unique<DealCommands>(*m_form, *m_store, m_prompts);
    m_commands->setAccess(m_access);
    attachCommands();
    m_menu->setAccess(m_access, m_prompts);

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
        m_refused = true;
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

bool TarvexProgram::signIn(std::optional<QString> chosenPassword)
{
    m_users = std::make_unique<UserAccounts>(m_database->connection());
    const std::optional<Access> access =
        signInUser(m_folder, *m_users, m_prompts, std::move(chosenPassword));
    if (!access)
        return false;
    m_access = *access;
    AuditTrail::setUser(m_database->connection(), m_access.userName());
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

void TarvexProgram::openUnwind()
{
    const std::optional<DealId> recalled = m_commands->recalledDeal();
    if (!recalled) {
        m_prompts.message(QStringLiteral("Recall the deal to unwind first (Recall Deal)."),
                          QStringLiteral("Unwind Deal"), Prompts::Icon::Information);
        return;
    }
    const Deal shown = m_form->deal();
    auto *window = new UnwindWindow(
        *m_database, m_prompts, *recalled, m_commands->asRecalled(),
        QStringLiteral("Stock # %1, %2, sold %3 by %4")
            .arg(shown.stockNumber, shown.customer,
                 DateFormat::picture(shown.date, QStringLiteral("mm/dd/yyyy")), shown.salesPerson),
        m_form.get());
    bringUp(*window);
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
    // The commission sheet window pays the deals it lists: only a role that
    // may pay sheets opens it.
    auto *reports = new ReportChooserCommand(
        *form, *m_database, m_prompts,
        [open = commissionSheetOpener(m_menu->toolBar(), *m_database, m_folder, m_prompts, form),
         access = m_access, &prompts = m_prompts] {
            if (access.check(Permissions::Command::PaySheets, prompts))
                open();
        });
    m_menu->setCommand(QStringLiteral("tbrSalesLog"), [reports] { reports->openChooser(); });
    m_menu->setCommand(QStringLiteral("mnuUnwind"), [this] { openUnwind(); });
    auto auditTrail = std::make_shared<QPointer<AuditTrailWindow>>();
    m_menu->setCommand(QStringLiteral("mnuAuditTrail"),
                       [auditTrail, database = m_database.get(), &prompts = m_prompts, form] {
                           if (!*auditTrail) {
                               *auditTrail = new AuditTrailWindow(*database, prompts, form);
                               closeOnEscape(**auditTrail);
                           } else
                               (*auditTrail)->cmdShow_Click();
                           bringUp(**auditTrail);
                       });
    auto dashboard = std::make_shared<QPointer<DashboardWindow>>();
    m_menu->setCommand(QStringLiteral("mnuDashboard"),
                       [dashboard, database = m_database.get(), &prompts = m_prompts, form] {
                           if (!*dashboard) {
                               *dashboard = new DashboardWindow(*database, prompts,
                                                                QDate::currentDate(), form);
                               closeOnEscape(**dashboard);
                           } else
                               (*dashboard)->refresh();
                           bringUp(**dashboard);
                       });

    auto payrollExport = std::make_shared<QPointer<PayrollExportWindow>>();
    m_menu->setCommand(QStringLiteral("mnuExportPayroll"),
                       [payrollExport, database = m_database.get(), &prompts = m_prompts, form] {
                           if (!*payrollExport) {
                               *payrollExport = new PayrollExportWindow(*database, prompts, form);
                               closeOnEscape(**payrollExport);
                           }
                           bringUp(**payrollExport);
                       });

    attachPayPlans();
    attachUsersCommand();

    QObject::connect(form, &DealWorksheet::saveCommandChanged, m_menu, &MainMenu::setSaveCommand);
    m_menu->setSaveCommand(form->saveCommandCaption(), form->saveCommandEnabled());
    m_form->setCloseGuard([this] { return exitSequence(); });
}

// The worksheet fills and calculates from the salespeople's pay plans;
// Setup > Pay Plans… keeps them.
void TarvexProgram::attachPayPlans()
{
    DealWorksheet *form = m_form.get();
    auto plans = std::make_shared<PayPlanStore>(*m_database);
    // A plan that cannot be read is said so: the standing figures the
    // worksheet then shows may not be the salesperson's.
    form->setPlanLookup({[plans, &prompts = m_prompts](const QString &salesPerson,
                                                       const QDate &date) {
                             QString error;
                             std::optional<PayPlanVersion> version =
                                 plans->inForce(salesPerson, date, &error);
                             if (!version && !error.isEmpty())
                                 prompts.message(
                                     QStringLiteral("The pay plans could not be read (%1). The "
                                                    "worksheet shows the standing figures: check "
                                                    "the pack and the commission rate before "
                                                    "saving.")
                                         .arg(error),
                                     {}, Prompts::Icon::Warning);
                             return version;
                         },
                         [plans](qint64 versionId) { return plans->version(versionId); },
                         [database = m_database.get()](const PayPlanVersion &plan, const QDate &date) {
                             QString error;
                             const auto rows = VolumeLedger::monthRows(
                                 database->connection(), plan.salesPerson, date, &error);
                             return rows ? VolumeBonus::progressText(
                                               plan, VolumeBonus::unitsOf(*rows, plan.tierClasses))
                                         : QString();
                         }});
    auto window = std::make_shared<QPointer<PayPlanWindow>>();
    m_menu->setCommand(QStringLiteral("mnuPayPlans"),
                       [window, database = m_database.get(), &prompts = m_prompts, form,
                        folder = m_folder] {
                           if (!*window)
                               *window = new PayPlanWindow(
                                   *database, prompts,
                                   [folder] { return StandingFigures::load(folder); }, form);
                           else
                               (*window)->reload();
                           bringUp(**window);
                       });
}

void TarvexProgram::attachUsersCommand()
{
    m_menu->addSetupItem(QStringLiteral("mnuUsers"), QStringLiteral("Users…"));
    auto window = std::make_shared<QPointer<UsersWindow>>();
    m_menu->setCommand(QStringLiteral("mnuUsers"), [window, users = m_users.get(),
                                                    &prompts = m_prompts, form = m_form.get(),
                                                    access = m_access] {
        if (!*window)
            *window = new UsersWindow(*users, access, prompts, form);
        else
            (*window)->reload();
        bringUp(**window);
    });
}

bool TarvexProgram::exitSequence()
{
    DealDatabase &database = *m_database;
    ExitSequence::BackUp backUp;
    if (database.engine() == StoreEngine::Engine::SQLite)
        backUp = [&database, form = m_form.get()](const QString &target, QString *error) {
            // A large database takes a while: the pages copied are shown,
            // and Cancel leaves no copy behind.
            QProgressDialog progress(form);
            prepareProgress(progress, QStringLiteral("dlgBackupProgress"),
                            Prompts::applicationTitle(),
                            QStringLiteral("Backing up the database..."));
            return DatabaseBackup::copyTo(database, target, error,
                                          [&progress](qint64 done, qint64 total) {
                                              const int scale = total > 1000000 ? 1000 : 1;
                                              progress.setMaximum(int(total / scale));
                                              progress.setValue(int(done / scale));
                                              return !progress.wasCanceled();
                                          });
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
