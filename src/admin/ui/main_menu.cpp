#include "admin/ui/main_menu.h"

#include "admin/help_file.h"
#include "admin/ui/about_window.h"
#include "admin/ui/manual_window.h"
#include "common/ui/bring_up.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

// Menu items that run the same command as a toolbar button or a Setup
// drop-down entry. The command is registered once, under the toolbar key, and
// both routes call it.
struct SharedCommand
{
    const char *menuKey;
    const char *commandKey;
};

constexpr SharedCommand kSharedCommands[] = {
    {"mnuprint", "tbrPrint"},   {"mnuclose", "tbrExit"},      {"mnuAdd", "tbrAdd"},
    {"mnupack", "tbrPack"},     {"mnucomm", "tbrComm"},       {"mnuWarranty", "tbrWarranty"},
    {"mnuMini", "tbrMini"},     {"mnuAddUnit", "tbrAddUnit"}, {"mnuDeleteUnit", "tbrDeleteUnit"},
    {"mnuContents", "tbrHelp"},
};

// Entries that never carry a command: the hidden File > Save item and the
// face of the Setup button (only its drop-down entries do something).
bool carriesCommand(const QString &key)
{
    return key != u"mnuSave" && key != u"tbrSetup";
}

struct MenuEntry
{
    const char *parent; // nullptr: on the menu bar
    const char *key;
    const char *caption;
    bool isMenu;
};

// The menu tree, each menu before its items, items in order.
constexpr MenuEntry kMenuTree[] = {
    {nullptr, "mnufile", "&File", true},
    {"mnufile", "mnuSave", "&Save", false},
    {"mnufile", "mnuprint", "&Print", false},
    {"mnufile", "mnuExportPayroll", "Export for Payroll…", false},
    {"mnufile", "mnuclose", "&Exit", false},
    {nullptr, "mnuEdit", "&Edit", true},
    {"mnuEdit", "mnuSalesLog", "SalesLog Database", false},
    {"mnuEdit", "mnuSalesSummary", "SalesSummary Database", false},
    {"mnuEdit", "mnuAuditTrail", "Audit Trail", false},
    {nullptr, "mnuDeal", "&Deal", true},
    {"mnuDeal", "mnuUnwind", "Unwind Deal…", false},
    {nullptr, "mnuReports", "&Reports", true},
    {"mnuReports", "mnuDashboard", "Dashboard", false},
    {nullptr, "mnusetup", "&Setup", true},
    {"mnusetup", "mnuAdd", "Add/Delete Salesperson", false},
    {"mnusetup", "mnupack", "Default Pack", false},
    {"mnusetup", "mnucomm", "Default Commmission", false},
    {"mnusetup", "mnuWarranty", "Default Warranty Spiff", false},
    {"mnusetup", "mnuMini", "Default Mini Deal", false},
    {"mnusetup", "mnuUnit", "Unit Discription", true},
    {"mnuUnit", "mnuAddUnit", "Add Unit", false},
    {"mnuUnit", "mnuDeleteUnit", "Delete Unit", false},
    {"mnusetup", "mnuPayPlans", "Pay Plans…", false},
    {nullptr, "mnuHelp", "&Help", true},
    {"mnuHelp", "mnuContents", "Contents....", false},
    {"mnuHelp", "mnuAbout", "About Tarvex", false},
};

struct ToolButton
{
    const char *key;
    const char *caption;
    const char *toolTip; // empty: none of its own
    QStyle::StandardPixmap icon;
};

// Left to right.
constexpr ToolButton kToolButtons[] = {
    {"tbrSave", "&Save", "Save customer data", QStyle::SP_DialogSaveButton},
    {"tbrCalculate", "&Calculate", "Calculate Commission", QStyle::SP_DialogApplyButton},
    {"tbrSalesLog", "&Reports", "Report Menu", QStyle::SP_FileDialogContentsView},
    {"tbrPrint", "&Print Commision", "Print commision slip", QStyle::SP_FileIcon},
    {"tbrClear", "&Clear Form", "Clear/Reset form", QStyle::SP_DialogResetButton},
    {"tbrRecall", "Recall &Deal", "Recall previous deal", QStyle::SP_DialogOpenButton},
    {"tbrSetup", "Setup", "Set-Up Options", QStyle::SP_ComputerIcon},
    {"tbrExit", "E&xit", "Exit Program", QStyle::SP_DialogCloseButton},
    {"tbrHelp", "Help", "", QStyle::SP_DialogHelpButton},
};

struct Entry
{
    const char *key;
    const char *text;
};

// The drop-down menu of tbrSetup, in order.
constexpr Entry kSetupEntries[] = {
    {"tbrAdd", "Add/Delete SalesPerson"},
    {"tbrPack", "Default Pack"},
    {"tbrComm", "Default Commission"},
    {"tbrWarranty", "Default Warranty Spiff"},
    {"tbrMini", "Default Mini Deal"},
    {"tbrAddUnit", "Add Unit Discription"},
    {"tbrDeleteUnit", "Delete Unit Description"},
};

// The standard keys of the commands, each on one entry only (two entries
// with one key would leave the key doing nothing).
struct StandardKeys
{
    const char *key;
    QList<QKeySequence::StandardKey> keys;
    const char *also = nullptr; // where the desktop has no such standard key
};

const StandardKeys kStandardKeys[] = {
    {"tbrSave", {QKeySequence::Save}},
    {"mnuprint", {QKeySequence::Print}},
    {"mnuContents", {QKeySequence::HelpContents}},
    {"tbrRecall", {QKeySequence::Find}},
    {"mnuclose", {QKeySequence::Quit, QKeySequence::Close}, "Ctrl+Q"},
};

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

MainMenu::MainMenu(QMainWindow *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("MainMenu"));
    buildMenus();
    buildToolBar();
    for (const StandardKeys &entry : kStandardKeys) {
        QList<QKeySequence> sequences;
        for (const QKeySequence::StandardKey key : entry.keys)
            sequences << QKeySequence::keyBindings(key);
        if (entry.also && !sequences.contains(QKeySequence(text(entry.also))))
            sequences << QKeySequence(text(entry.also));
        m_actions.value(text(entry.key))->setShortcuts(sequences);
    }
}

MainMenu::~MainMenu() = default;

QString MainMenu::commandKey(const QString &key)
{
    for (const SharedCommand &shared : kSharedCommands) {
        if (key == QLatin1String(shared.menuKey))
            return text(shared.commandKey);
    }
    return key;
}

QAction *MainMenu::registerAction(QAction *action, const QString &key)
{
    action->setObjectName(key);
    m_actions.insert(key, action);
    return action;
}

QMenu *MainMenu::addMenu(QMenu *parent, const QString &key, const QString &caption)
{
    QMenu *menu = parent ? parent->addMenu(caption) : m_window->menuBar()->addMenu(caption);
    menu->setObjectName(key);
    registerAction(menu->menuAction(), key);
    return menu;
}

QAction *MainMenu::addItem(QMenu *menu, const QString &key, const QString &caption)
{
    QAction *item = registerAction(menu->addAction(caption), key);
    if (carriesCommand(key)) {
        const QString command = commandKey(key);
        connect(item, &QAction::triggered, this, [this, command] { run(command); });
        item->setEnabled(false);
    }
    return item;
}

void MainMenu::buildMenus()
{
    m_window->menuBar()->setObjectName(QStringLiteral("menuBar"));
    QHash<QString, QMenu *> menus;
    for (const MenuEntry &entry : kMenuTree) {
        const QString key = text(entry.key);
        QMenu *parent = entry.parent ? menus.value(text(entry.parent)) : nullptr;
        if (entry.isMenu)
            menus.insert(key, addMenu(parent, key, text(entry.caption)));
        else
            addItem(parent, key, text(entry.caption));
    }
    // File > Save stays hidden and unused: the toolbar's Save is the save command.
    QAction *save = m_actions.value(QStringLiteral("mnuSave"));
    save->setVisible(false);
    save->setEnabled(false);
}

QMenu *MainMenu::buildSetupMenu()
{
    auto *menu = new QMenu(m_window);
    menu->setObjectName(QStringLiteral("tbrSetupMenu"));
    for (const Entry &entry : kSetupEntries)
        addItem(menu, text(entry.key), text(entry.text));
    return menu;
}

void MainMenu::buildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), m_window);
    m_toolBar->setObjectName(QStringLiteral("tbrMain"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setMovable(false);
    m_window->addToolBar(Qt::TopToolBarArea, m_toolBar);

    QStyle *style = m_window->style();
    for (const ToolButton &button : kToolButtons) {
        const QString key = text(button.key);
        QAction *action =
            m_toolBar->addAction(style->standardIcon(button.icon), text(button.caption));
        registerAction(action, key);
        if (button.toolTip[0] != '\0')
            action->setToolTip(text(button.toolTip));
        if (carriesCommand(key)) {
            connect(action, &QAction::triggered, this, [this, key] { run(key); });
            action->setEnabled(false);
        }
    }

    // The Setup button's face does nothing; its arrow opens the Setup entries.
    QAction *setup = m_actions.value(QStringLiteral("tbrSetup"));
    setup->setMenu(buildSetupMenu());
    if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(setup))) {
        button->setObjectName(QStringLiteral("tbrSetupButton"));
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

QAction *MainMenu::action(const QString &key) const
{
    return m_actions.value(key, nullptr);
}

bool MainMenu::setCommand(const QString &key, std::function<void()> command)
{
    QAction *entry = action(key);
    if (!entry || !carriesCommand(key) || entry->menu())
        return false;
    const QString shared = commandKey(key);
    if (command)
        m_commands.insert(shared, std::move(command));
    else
        m_commands.remove(shared);
    refreshEnabled(shared);
    return true;
}

bool MainMenu::hasCommand(const QString &key) const
{
    return m_commands.contains(commandKey(key));
}

void MainMenu::refreshEnabled(const QString &command)
{
    const bool attached = m_commands.contains(command);
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        if (!carriesCommand(it.key()) || commandKey(it.key()) != command)
            continue;
        const bool wanted = it.key() != u"tbrSave" || m_saveWanted;
        it.value()->setEnabled(attached && wanted);
    }
}

std::optional<Permissions::Command> MainMenu::permissionOf(const QString &key)
{
    using Permissions::Command;
    static const QHash<QString, Command> needs = {
        {QStringLiteral("tbrSave"), Command::EnterDeal},
        {QStringLiteral("tbrCalculate"), Command::EnterDeal},
        {QStringLiteral("tbrRecall"), Command::RecallDeal},
        {QStringLiteral("tbrPrint"), Command::PrintSlip},
        {QStringLiteral("tbrSalesLog"), Command::Reports},
        {QStringLiteral("tbrAdd"), Command::Roster},
        {QStringLiteral("tbrPack"), Command::SetupFigures},
        {QStringLiteral("tbrComm"), Command::SetupFigures},
        {QStringLiteral("tbrWarranty"), Command::SetupFigures},
        {QStringLiteral("tbrMini"), Command::SetupFigures},
        {QStringLiteral("tbrAddUnit"), Command::SetupFigures},
        {QStringLiteral("tbrDeleteUnit"), Command::SetupFigures},
        {QStringLiteral("mnuSalesLog"), Command::TableWindows},
        {QStringLiteral("mnuSalesSummary"), Command::TableWindows},
        {QStringLiteral("mnuAuditTrail"), Command::AuditTrail},
        {QStringLiteral("mnuUsers"), Command::Users},
        {QStringLiteral("mnuPayPlans"), Command::PayPlans},
        {QStringLiteral("mnuUnwind"), Command::PaySheets},
        {QStringLiteral("mnuExportPayroll"), Command::PaySheets},
        {QStringLiteral("mnuDashboard"), Command::Reports},
    };
    const auto found = needs.constFind(commandKey(key));
    if (found == needs.cend())
        return std::nullopt;
    return *found;
}

QAction *MainMenu::addSetupItem(const QString &key, const QString &caption)
{
    QAction *setup = m_actions.value(QStringLiteral("mnusetup"));
    return addItem(setup->menu(), key, caption);
}

void MainMenu::setAccess(const Access &access, Prompts &prompts)
{
    m_access = access;
    m_accessPrompts = &prompts;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const std::optional<Permissions::Command> needed = permissionOf(it.key());
        if (needed && !access.allows(*needed))
            it.value()->setVisible(false);
    }
    // A menu, or the Setup button, with nothing left to offer goes as well.
    for (const char *key : {"mnuUnit", "mnuEdit", "mnuDeal", "mnuReports", "mnusetup", "tbrSetup"}) {
        QAction *holder = m_actions.value(QString::fromLatin1(key));
        const QList<QAction *> items = holder->menu()->actions();
        holder->setVisible(std::any_of(items.cbegin(), items.cend(),
                                       [](const QAction *item) { return item->isVisible(); }));
    }
}

void MainMenu::run(const QString &command) const
{
    if (const std::optional<Permissions::Command> needed = permissionOf(command);
        needed && m_access && !m_access->check(*needed, *m_accessPrompts))
        return;
    // A copy: the command may replace its own registration while it runs.
    const std::function<void()> function = m_commands.value(command);
    if (function)
        function();
}

void MainMenu::setSaveCommand(const QString &caption, bool enabled)
{
    action(QStringLiteral("tbrSave"))
        ->setText(caption == u"Save" ? QStringLiteral("&Save") : caption);
    m_saveWanted = enabled;
    refreshEnabled(QStringLiteral("tbrSave"));
}

void MainMenu::installHelpCommands(const ProgramFolder &folder, Prompts &prompts)
{
    m_dataFolder = folder.path();
    setCommand(QStringLiteral("tbrHelp"), [this, folder, &prompts] {
        HelpFile::open(folder, prompts, [this] { showManualWindow(); });
    });
    setCommand(QStringLiteral("mnuAbout"), [this] { showAboutWindow(); });
}

void MainMenu::showAboutWindow()
{
    if (!m_about)
        m_about = std::make_unique<AboutWindow>(m_dataFolder, m_databaseNote);
    bringUp(*m_about);
}

void MainMenu::showManualWindow()
{
    if (!m_manual)
        m_manual = std::make_unique<ManualWindow>();
    bringUp(*m_manual);
}
