#pragma once

#include "common/permissions.h"
#include "common/program_folder.h"
#include "common/prompts.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class AboutWindow;
class ManualWindow;
class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's menu bar and its toolbar tbrMain. Every menu item,
// toolbar button and Setup drop-down entry is a QAction whose objectName is
// its documented key. Commands are attached by key; a menu item and a
// toolbar route that run the same command share one registration (see
// commandKey()), so each command exists once. An entry without a command is
// disabled until one is attached.
class MainMenu : public QObject
{
    Q_OBJECT

public:
    // Builds the menus and the toolbar on `window`; the object is a child of
    // the window.
    explicit MainMenu(QMainWindow *window);
    ~MainMenu() override;

    // Attaches `command` to the entry `key` and every entry sharing its
    // command (registering "tbrPrint" also serves "mnuprint" and the other way
    // round). An empty command detaches it. Returns false for a key that
    // cannot carry a command (a menu title, tbrSetup, mnuSave, an unknown key).
    bool setCommand(const QString &key, std::function<void()> command);
    bool hasCommand(const QString &key) const;

    // The key whose registration serves `key`: the toolbar or drop-down key
    // for a menu item that has one, otherwise `key` itself.
    static QString commandKey(const QString &key);

    // Adds an item at the end of the Setup menu, to carry a command like
    // any other entry.
    QAction *addSetupItem(const QString &key, const QString &caption);

    // From now on the entries `access` may not use are hidden (a menu or the
    // Setup button left with nothing to offer as well), and running one, by
    // whatever route, is refused with a message.
    void setAccess(const Access &access, Prompts &prompts);
    // What an entry's command needs; nullopt for what everyone may do
    // (Clear, Help, About, Exit).
    static std::optional<Permissions::Command> permissionOf(const QString &key);

    // Any entry by key, menus included ("mnufile", "mnuUnit"); nullptr when
    // there is none.
    QAction *action(const QString &key) const;
    QToolBar *toolBar() const { return m_toolBar; }

    // Attaches the Help commands: tbrHelp / mnuContents open the help file
    // "Tarvex5Help.chm" when the folder holds one, otherwise the manual
    // window; mnuAbout shows the About window, which names the folder. Each
    // window is one instance, created on first use.
    void installHelpCommands(const ProgramFolder &folder, Prompts &prompts);
    // The windows once they have been shown; nullptr before.
    AboutWindow *aboutWindow() const { return m_about.get(); }
    ManualWindow *manualWindow() const { return m_manual.get(); }
    void showAboutWindow();
    // A line About shows under the data folder: where the deals are kept
    // when that is a server, and whether the connection is encrypted.
    void setDatabaseNote(const QString &note) { m_databaseNote = note; }
    void showManualWindow();

public slots:
    // Follows the worksheet's state: caption "Save" shows "&Save", any other
    // caption ("Update") shows as given. The button is enabled only when
    // `enabled` and a save command is attached.
    void setSaveCommand(const QString &caption, bool enabled);

private:
    QMenu *addMenu(QMenu *parent, const QString &key, const QString &caption);
    QAction *addItem(QMenu *menu, const QString &key, const QString &caption);
    QAction *registerAction(QAction *action, const QString &key);
    void buildMenus();
    void buildToolBar();
    QMenu *buildSetupMenu();
    void refreshEnabled(const QString &command);
    void run(const QString &command) const;

    QMainWindow *m_window;
    QToolBar *m_toolBar = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, std::function<void()>> m_commands; // by commandKey()
    bool m_saveWanted = true;
    std::optional<Access> m_access;
    Prompts *m_accessPrompts = nullptr;
    QString m_dataFolder; // shown in the About window
    QString m_databaseNote;
    std::unique_ptr<AboutWindow> m_about;
    std::unique_ptr<ManualWindow> m_manual;
};
