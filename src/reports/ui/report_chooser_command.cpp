#include "reports/ui/report_chooser_command.h"

#include "common/ui/bring_up.h"
#include "reports/ui/report_chooser_window.h"
#include "worksheet/ui/deal_worksheet.h"

ReportChooserCommand::ReportChooserCommand(DealWorksheet &mainWindow, DealDatabase &database,
                                           Prompts &prompts,
                                           std::function<void()> openCommissionSheet)
    : QObject(&mainWindow), m_mainWindow(mainWindow), m_database(database), m_prompts(prompts),
      m_openCommissionSheet(std::move(openCommissionSheet))
{
}

ReportChooserCommand::~ReportChooserCommand() = default;

ReportChooserWindow *ReportChooserCommand::chooser() const
{
    return m_chooser;
}

void ReportChooserCommand::openChooser()
{
    if (!m_chooser)
        m_chooser =
            new ReportChooserWindow(m_database, m_prompts, m_openCommissionSheet, &m_mainWindow);
    else if (!m_chooser->isVisible())
        m_chooser->openAfresh();
    bringUp(*m_chooser);
}
