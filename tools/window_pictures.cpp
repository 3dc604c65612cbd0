// Makes the pictures of the manual and the program's icon files from the
// running program: the windows are built offscreen on a temporary data
// folder with one sample deal, shown and grabbed.
//
//   QT_QPA_PLATFORM=offscreen build/tools/tarvex_window_pictures manual/images packaging/icons
//
// Run it again whenever a window changes, and commit the files it writes.
#include "admin/password_file.h"
#include "admin/ui/about_window.h"
#include "admin/ui/login_window.h"
#include "admin/ui/main_menu.h"
#include "admin/ui/manual_window.h"
#include "admin/ui/pay_plan_window.h"
#include "admin/ui/plan_trial_window.h"
#include "admin/ui/program_icon.h"
#include "app/tarvex_program.h"
#include "common/prompts.h"
#include "dashboard_sample.h"
#include "reports/ui/dashboard_window.h"
#include "store/deal_database.h"
#include "store/ui/deal_commands.h"
#include "worksheet/ui/deal_worksheet.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

// Answers every question as a user going along would: the first password is
// "demo", every message is answered Yes/OK, a save dialog is cancelled.
class AgreeingPrompts : public Prompts
{
public:
    std::optional<QString> saveFile(const SaveFile &) override { return std::nullopt; }

protected:
    Answer showMessage(const Message &message) override
    {
        return message.buttons == Buttons::Ok || message.buttons == Buttons::OkCancel ? Answer::Ok
                                                                                       : Answer::Yes;
    }
    std::optional<QString> showInput(const Input &input) override
    {
        return input.defaultText.isEmpty() ? QStringLiteral("demo") : input.defaultText;
    }
};

QWidget *topLevel(const char *name)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String(name) && widget->isVisible())
            return widget;
    std::fprintf(stderr, "window_pictures: no window %s\n", name);
    return nullptr;
}

bool save(QWidget *window, const QString &folder, const char *file)
{
    if (!window)
        return false;
    window->activateWindow();
    QTest::qWait(50);
    const QString path = QDir(folder).filePath(QString::fromLatin1(file));
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "window_pictures: could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

void type(QWidget *form, const char *name, const QString &text)
{
    if (auto *line = form->findChild<QLineEdit *>(QString::fromLatin1(name))) {
        line->setText(text);
        return;
    }
    if (auto *combo = form->findChild<QComboBox *>(QString::fromLatin1(name)))
        combo->setCurrentText(text);
}

// The worked example of the manual: a new car with two reductions, an
// addition, warranty and a spiff.
void enterSampleDeal(DealWorksheet &form)
{
    const std::pair<const char *, const char *> fields[] = {
        {"txtCustomer", "Dana Whitfield"}, {"Text1", "48213"},   {"cboUnit", "Explorer Spt"},
        {"txtTCU", "NC"},                  {"Combo12", "R"},     {"Text3", "23000"},
        {"Text13", "20000"},               {"Combo3", "Dealer Cash"}, {"Text4_0", "1000"},
        {"Combo4", "FDFA"},                {"Text4_1", "500"},   {"Combo8", "Stripe"},
        {"Text6", "300"},                  {"txtSpiff", "50"},
    };
    for (const auto &[name, text] : fields)
        type(&form, name, QString::fromUtf8(text));
    if (auto *salesperson = form.findChild<QComboBox *>(QStringLiteral("DBCombo1")))
        salesperson->setCurrentIndex(0);
    if (auto *warranty = form.findChild<QAbstractButton *>(QStringLiteral("Check1")))
        warranty->setChecked(true);
    form.calculateCommission();
}

// The chooser with the statement chosen for the first salesperson and this
// month, then the statement's preview; the chooser is left on its options.
bool saveStatement(QWidget *chooser, const QString &pictures)
{
    const auto click = [chooser](const char *name) {
        if (auto *button = chooser->findChild<QAbstractButton *>(QString::fromLatin1(name)))
            button->click();
        QTest::qWait(50);
    };
    click("optStatement");
    if (auto *salesperson = chooser->findChild<QComboBox *>(QStringLiteral("cboSalesPerson")))
        salesperson->setCurrentIndex(0);
    bool ok = save(chooser, pictures, "statement-chooser.png");
    click("cmdOK2");
    click("cmdSearch");
    if (QWidget *preview = topLevel("rptStatement")) {
        ok = save(preview, pictures, "statement.png") && ok;
        preview->close();
    } else {
        ok = false;
    }
    click("cmdReset");
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvex"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: tarvex_window_pictures PICTURE-FOLDER ICON-FOLDER\n");
        return 2;
    }
    const QString pictures = QString::fromLocal8Bit(argv[1]);
    const QString icons = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(pictures);
    QDir().mkpath(icons);

    bool ok = true;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = QDir(icons).filePath(QStringLiteral("tarvex-%1.png").arg(size));
        ok = ProgramIcon::pixmap(size).save(path) && ok;
    }

    QTemporaryDir dataFolder;
    AgreeingPrompts prompts;
    TarvexProgram program(ProgramFolder(dataFolder.path()), prompts);
    program.setEndProgram([] {});
    if (!program.start()) {
        std::fprintf(stderr, "window_pictures: the program did not start\n");
        return 1;
    }

    LoginWindow login(QStringLiteral("demo"), PasswordFile(ProgramFolder(dataFolder.path())),
                      prompts);
    login.show();
    ok = save(&login, pictures, "login.png") && ok;
    login.hide();

    DealWorksheet &form = *program.mainWindow();
    enterSampleDeal(form);
    // The offscreen screen is only 800x600: show the worksheet whole, as on a
    // desktop screen, not scrolled as on the smallest ones.
    form.resize(form.sizeHint());
    ok = save(&form, pictures, "worksheet.png") && ok;
    program.dealCommands()->saveDeal();

    MainMenu &menu = *program.menu();
    const auto open = [&menu](const char *key) {
        menu.action(QString::fromLatin1(key))->trigger();
        QTest::qWait(50);
    };

    open("tbrRecall");
    if (QWidget *finder = topLevel("frmSaleData")) {
        type(finder, "txtSearchString", QStringLiteral("48213"));
        ok = save(finder, pictures, "deal-finder.png") && ok;
        finder->close();
    }

    open("tbrSalesLog");
    ok = save(topLevel("frmSalesLog"), pictures, "report-chooser.png") && ok;
    if (QWidget *chooser = topLevel("frmSalesLog"))
        ok = saveStatement(chooser, pictures) && ok;
    if (QWidget *chooser = topLevel("frmSalesLog")) {
        if (auto *option = chooser->findChild<QRadioButton *>(QStringLiteral("optCommision")))
            option->click();
        QTest::qWait(50);
    }
    if (QWidget *sheet = topLevel("Form2")) {
        if (auto *salesperson = sheet->findChild<QComboBox *>(QStringLiteral("cboSalesPerson")))
            salesperson->setCurrentIndex(0);
        if (auto *select = sheet->findChild<QAbstractButton *>(QStringLiteral("cmdSelect")))
            select->click();
        ok = save(sheet, pictures, "commission-sheet.png") && ok;
        sheet->close();
    }

    open("tbrAdd");
    ok = save(topLevel("frmAdd2"), pictures, "roster.png") && ok;
    open("mnuExportPayroll");
    if (QWidget *payroll = topLevel("frmPayrollExport")) {
        if (auto *layout = payroll->findChild<QComboBox *>(QStringLiteral("cboLayout")))
            layout->setCurrentIndex(1);
        type(payroll, "txtCompanyCode", QStringLiteral("7QX4"));
        ok = save(payroll, pictures, "payroll-export.png") && ok;
        payroll->close();
    }
    open("mnuPayPlans");
    if (auto *plans = static_cast<PayPlanWindow *>(topLevel("frmPayPlans"))) {
        // A version from March 15: 27.5% on new units, $250 flat a used car,
        // a $2,500 cap.
        plans->addVersion();
        type(plans, "txtEffectiveFrom", QStringLiteral("03/15/2026"));
        type(plans, "txtCommissionNC", QStringLiteral("27.5"));
        type(plans, "txtCommissionNT", QStringLiteral("27.5"));
        if (auto *kind = plans->findChild<QComboBox *>(QStringLiteral("cboKindUC")))
            kind->setCurrentIndex(1);
        type(plans, "txtCommissionUC", QStringLiteral("250"));
        type(plans, "txtMiniNC", QStringLiteral("150"));
        type(plans, "txtCap", QStringLiteral("2500"));
        // 28% from the 12th unit of the month, 33% from the 20th.
        if (auto *tiers = plans->findChild<QTableWidget *>(QStringLiteral("grdTiers"))) {
            plans->addTier();
            plans->addTier();
            tiers->setCurrentCell(-1, -1); // closes the editor Add Tier opened
            const QStringList texts{QStringLiteral("12"), QStringLiteral("28"),
                                    QStringLiteral("20"), QStringLiteral("33")};
            for (int row = 0; row < 2; ++row) {
                tiers->item(row, 0)->setText(texts.at(row * 2));
                tiers->item(row, 1)->setText(texts.at(row * 2 + 1));
            }
        }
        plans->saveVersion();
        ok = save(plans, pictures, "pay-plans.png") && ok;
        // That version tried on this month's deal.
        plans->tryOnPastDeals();
        if (PlanTrialWindow *trial = plans->trialWindow()) {
            const QString month = QDate::currentDate().toString(QStringLiteral("MM/yyyy"));
            type(trial, "txtFrom", month);
            type(trial, "txtTo", month);
            trial->tryPlan();
            ok = save(trial, pictures, "plan-trial.png") && ok;
            trial->close();
        }
        plans->close();
    }
    open("mnuSalesLog");
    ok = save(topLevel("frmfrmSales"), pictures, "table-window.png") && ok;
    open("mnuAuditTrail");
    if (QWidget *audit = topLevel("frmAuditTrail")) {
        if (auto *entries = audit->findChild<QTableWidget *>(QStringLiteral("grdAudit")))
            entries->selectRow(0);
        ok = save(audit, pictures, "audit-trail.png") && ok;
        audit->close();
    }
    open("mnuUsers");
    if (QWidget *users = topLevel("frmUsers")) {
        const auto addUser = [users](const QString &name, const QString &role,
                                     const QString &salesPerson) {
            type(users, "txtUserName", name);
            if (auto *roles = users->findChild<QComboBox *>(QStringLiteral("cboRole")))
                roles->setCurrentText(role);
            type(users, "txtSalesPerson", salesPerson);
            if (auto *add = users->findChild<QAbstractButton *>(QStringLiteral("cmdAdd")))
                add->click();
        };
        addUser(QStringLiteral("kim"), QStringLiteral("Clerk"), {});
        addUser(QStringLiteral("john"), QStringLiteral("Salesperson"), QStringLiteral("JOHN SMITH"));
        ok = save(users, pictures, "users.png") && ok;
        users->close();
    }
    open("tbrHelp");
    if (QWidget *manual = topLevel("frmManual")) {
        static_cast<ManualWindow *>(manual)->showPage(QStringLiteral("figures.md"));
        ok = save(manual, pictures, "manual-window.png") && ok;
    }

    // The About window of an installed Tarvex, not of this run's temporary folder.
    AboutWindow about(QStringLiteral("/home/sales/.local/share/Tarvex"));
    about.show();
    ok = save(&about, pictures, "about.png") && ok;

    // The dashboard on a sample year of its own, opened late in March 2026.
    QTemporaryDir sampleFolder;
    DealDatabase sample{ProgramFolder(sampleFolder.path())};
    QString error;
    if (!sample.open(&error) || !fillDashboardSample(sample)) {
        std::fprintf(stderr, "window_pictures: no dashboard sample %s\n", qPrintable(error));
        return 1;
    }
    DashboardWindow dashboard(sample, prompts, dashboardSampleToday());
    dashboard.show();
    ok = save(&dashboard, pictures, "dashboard.png") && ok;
    return ok ? 0 : 1;
}
