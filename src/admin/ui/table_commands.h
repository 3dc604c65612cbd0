#pragma once

#include <QObject>

#include <memory>

class DealDatabase;
class MainMenu;
class Prompts;
class RosterWindow;
class TableWindow;

// The Setup and Edit commands that open the roster and the two table
// maintenance windows. Each window is one instance, made on first use and
// kept; choosing its command again brings it up again, or opens it afresh
// when it was closed.
class TableCommands : public QObject
{
    Q_OBJECT

public:
    TableCommands(DealDatabase &database, Prompts &prompts, QObject *parent = nullptr);
    ~TableCommands() override;

    // Add/Delete Salesperson: shows frmAdd2 and puts the focus in its name.
    void openRoster();
    // Edit > SalesLog Database: frmfrmSales.
    void openSalesLog();
    // Edit > SalesSummary Database: frmSalesSummary.
    void openSalesSummary();

    // Closes the open windows as the program ends: what can be stored is
    // written, what cannot is dropped, and nothing is asked.
    void closeForExit();

    // The windows once they have been opened; nullptr before.
    RosterWindow *roster() const { return m_roster.get(); }
    TableWindow *salesLog() const { return m_salesLog.get(); }
    TableWindow *salesSummary() const { return m_salesSummary.get(); }

private:
    void openTable(std::unique_ptr<TableWindow> &window, bool salesLog);

    DealDatabase &m_database;
    Prompts &m_prompts;
    std::unique_ptr<RosterWindow> m_roster;
    std::unique_ptr<TableWindow> m_salesLog;
    std::unique_ptr<TableWindow> m_salesSummary;
};

// Attaches "tbrAdd" (also serving "mnuAdd"), "mnuSalesLog" and
// "mnuSalesSummary" to the menu. The commands object is a child of the menu,
// so its windows go when the main window goes.
TableCommands *installTableCommands(MainMenu &menu, DealDatabase &database, Prompts &prompts);
