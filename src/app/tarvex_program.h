#pragma once

#include "common/permissions.h"
#include "common/program_folder.h"

#include <functional>
#include <memory>
#include <optional>

class DealCommands;
class DealDatabase;
struct StoreLocation;
class DealStore;
class DealWorksheet;
class MainMenu;
class Prompts;
class TableCommands;
class UserAccounts;

// The program for one run: the login, the deal database, the worksheet with
// its menus and toolbar, and the way out through the exit sequence.
class TarvexProgram
{
public:
    TarvexProgram(const ProgramFolder &folder, Prompts &prompts);
    ~TarvexProgram();

    // Asks for the password, opens the database and shows the worksheet
    // cleared to a new deal. False when the program is to end at once (login
    // cancelled, database unusable); the reason has been shown.
    bool start();
    // After start() gave false: whether the program was refused (database.conf
    // at fault, a database or server that cannot be opened) rather than
    // closed by the user's own choice.
    bool refused() const { return m_refused; }

    // What ending the program does once the exit sequence agrees and the
    // table windows are closed; by default it ends the application's event
    // loop at once, asking no window again.
    void setEndProgram(std::function<void()> endProgram) { m_endProgram = std::move(endProgram); }

    DealWorksheet *mainWindow() const { return m_form.get(); }
    MainMenu *menu() const { return m_menu; }
    DealCommands *dealCommands() const { return m_commands.get(); }
    // Who signed in.
    const Access &access() const { return m_access; }

private:
    bool openDatabase(const StoreLocation &location);
    bool signIn(std::optional<QString> chosenPassword);
    void attachUsersCommand();
    void restoreDataFile();
    void attachCommands();
    // Deal > Unwind Deal…: the recalled deal in frmUnwind.
    void openUnwind();
    void attachPayPlans();
    bool exitSequence();

    ProgramFolder m_folder;
    Prompts &m_prompts;
    std::unique_ptr<DealDatabase> m_database;
    std::unique_ptr<DealStore> m_store;
    std::unique_ptr<UserAccounts> m_users;
    Access m_access;
    std::unique_ptr<DealWorksheet> m_form;
    MainMenu *m_menu = nullptr; // owned by the window
    TableCommands *m_tables = nullptr; // owned by the menu
    std::unique_ptr<DealCommands> m_commands;
    std::function<void()> m_endProgram;
    bool m_refused = false;
};
