#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class DealDatabase;
class DealWorksheet;
class Prompts;
class ReportChooserWindow;

// The Reports command: opens the report chooser frmSalesLog, modeless and
// owned by the main window. The chooser is one instance, made on first use;
// choosing the command while it is open brings it to the front, and after it
// was closed opens it afresh.
class ReportChooserCommand : public QObject
{
    Q_OBJECT

public:
    // `openCommissionSheet` opens the commission sheet window; the chooser's
    // "Commission Report" option calls it.
    ReportChooserCommand(DealWorksheet &mainWindow, DealDatabase &database, Prompts &prompts,
                         std::function<void()> openCommissionSheet);
    ~ReportChooserCommand() override;

    void openChooser();

    // The chooser once it has been opened; nullptr before.
    ReportChooserWindow *chooser() const;

private:
    DealWorksheet &m_mainWindow;
    DealDatabase &m_database;
    Prompts &m_prompts;
    std::function<void()> m_openCommissionSheet;
    QPointer<ReportChooserWindow> m_chooser; // owned by the main window
};
