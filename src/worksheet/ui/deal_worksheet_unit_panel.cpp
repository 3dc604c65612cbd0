// The unit-removal panel under the unit list: Delete Unit lists the
// descriptions of unit.txt, Remove takes the chosen one off the list, and
// Command4 closes the panel, writing unit.txt once a description has been
// chosen ("Save"). The worksheet's own unit list is left as it is until the
// next start-up.
#include "worksheet/ui/deal_worksheet.h"

#include "worksheet/setup_files.h"

#include <QFrame>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString kSaveCaption = QStringLiteral("Save");

} // namespace

void DealWorksheet::openUnitPanel()
{
    // The panel cannot be reached before it is first opened, so its controls
    // are wired here; a second opening adds no second connection.
    connect(m_ui.List1, &QListWidget::itemSelectionChanged, this, &DealWorksheet::unitChosen,
            Qt::UniqueConnection);
    connect(m_ui.Command1, &QPushButton::clicked, this, &DealWorksheet::removeChosenUnit,
            Qt::UniqueConnection);
    connect(m_ui.Command4, &QPushButton::clicked, this, &DealWorksheet::closeUnitPanel,
            Qt::UniqueConnection);

    SetupFiles files(m_folder);
    const auto units = files.readUnits();
    if (!units) {
        // Shown with an empty list, the panel's "Save" would wipe a file that
        // is there but could not be read.
        m_prompts.message(files.message(), {}, Prompts::Icon::Warning);
        return;
    }
    m_ui.List1->clear();
    m_ui.List1->addItems(*units);
    // Remove's enabled state and Command4's caption stay as the last use of
    // the panel left them.
    m_ui.Frame1->show();
    m_ui.Frame1->raise();
}

void DealWorksheet::unitChosen()
{
    if (m_ui.List1->selectedItems().isEmpty())
        return;
    m_ui.Command1->setEnabled(true);
    m_ui.Command4->setText(kSaveCaption);
}

void DealWorksheet::removeChosenUnit()
{
    const QList<QListWidgetItem *> chosen = m_ui.List1->selectedItems();
    if (chosen.isEmpty())
        return;
    delete m_ui.List1->takeItem(m_ui.List1->row(chosen.first()));
    // Nothing stays chosen, so a second press does not remove the next one.
    m_ui.List1->clearSelection();
    m_ui.List1->setCurrentRow(-1);
}

void DealWorksheet::closeUnitPanel()
{
    if (m_ui.Command4->text() == kSaveCaption) {
        QStringList units;
        for (int row = 0; row < m_ui.List1->count(); ++row)
            units.append(m_ui.List1->item(row)->text());
        SetupFiles files(m_folder);
        if (files.replaceUnits(units) != SetupFiles::Result::Written)
            m_prompts.message(files.message(), {}, Prompts::Icon::Warning);
    }
    m_ui.Frame1->hide();
}
