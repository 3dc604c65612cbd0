#include "table_commands.h"

#include "common/ui/bring_up.h"

#include "main_menu.h"
#include "roster_window.h"
#include "table_window.h"

TableCommands::TableCommands(DealDatabase &database, Prompts &prompts, QObject *parent)
    : QObject(parent), m_database(database), m_prompts(prompts)
{
}

TableCommands::~TableCommands() = default;

void TableCommands::openRoster()
{
    if (!m_roster)
        m_roster = std::make_unique<RosterWindow>(m_database, m_prompts);
    else if (!m_roster->isVisible())
        m_roster->openOnFirstRecord();
    bringUp(*m_roster);
    m_roster->focusName();
}

void TableCommands::openSalesLog()
{
    openTable(m_salesLog, true);
}

void TableCommands::openSalesSummary()
{
    openTable(m_salesSummary, false);
}

void TableCommands::openTable(std::unique_ptr<TableWindow> &window, bool salesLog)
{
    if (!window)
        window = std::make_unique<TableWindow>(salesLog ? TableWindow::salesLogLayout()
                                                        : TableWindow::salesSummaryLayout(),
                                               m_database, m_prompts);
    else if (!window->isVisible())
        window->openOnFirstRecord();
    bringUp(*window);
}

void TableCommands::closeForExit()
{
    for (RecordWindow *window : std::initializer_list<RecordWindow *>{
             m_roster.get(), m_salesLog.get(), m_salesSummary.get()}) {
        if (window && window->isVisible())
            window->closeForExit();
    }
}

TableCommands *installTableCommands(MainMenu &menu, DealDatabase &database, Prompts &prompts)
{
    auto *commands = new TableCommands(database, prompts, &menu);
    menu.setCommand(QStringLiteral("tbrAdd"), [commands] { commands->openRoster(); });
    menu.setCommand(QStringLiteral("mnuSalesLog"), [commands] { commands->openSalesLog(); });
    menu.setCommand(QStringLiteral("mnuSalesSummary"),
                    [commands] { commands->openSalesSummary(); });
    return commands;
}
