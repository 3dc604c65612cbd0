// The unit-removal panel under the unit list: Delete Unit lists the
// descriptions of unit.txt, Remove takes the chosen one off the list, and
// Command4 closes the panel; once a description has been chosen ("Save") it
// also takes the removed descriptions out of unit.txt as the file is then,
// so a description added meanwhile stays. The worksheet's own unit list is
// left as it is until the next start-up.
#include "worksheet/ui/deal_worksheet.h"

#include "worksheet/setup_files.h"

#include <QComboBox>
#include <QFrame>
#include <QHash>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {

const QString kSaveCaption = QStringLiteral("Save");
// Each listed item keeps the number of lines before it with the same
// description, so that Save takes out exactly the line removed.
constexpr int kOccurrenceRole = Qt::UserRole;

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
    m_removedUnits.clear();
    QHash<QString, int> seen;
    for (const QString &unit : *units) {
        auto *item = new QListWidgetItem(unit, m_ui.List1);
        item->setData(kOccurrenceRole, seen[unit]++);
    }
    // Remove's enabled state and Command4's caption stay as the last use of
    // the panel left them.
    m_ui.Frame1->show();
    placeUnitPanel();
    m_ui.Frame1->raise();
}

void DealWorksheet::placeUnitPanel()
{
    // Directly under the unit list, as wide as it (or as the buttons need),
    // and kept on the page.
    const QRect unit = m_ui.cboUnit->geometry();
    const QSize wanted = m_ui.Frame1->sizeHint();
    const int width = std::max(unit.width(), m_ui.Frame1->minimumSizeHint().width());
    const int left = std::max(0, std::min(unit.left(), m_ui.content->width() - width));
    const int height = std::max(m_ui.Frame1->minimumSizeHint().height(),
                                std::min(wanted.height(), m_ui.content->height() - unit.bottom() - 1));
    m_ui.Frame1->setGeometry(left, unit.bottom() + 1, width, height);
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
    QListWidgetItem *item = m_ui.List1->takeItem(m_ui.List1->row(chosen.first()));
    m_removedUnits.append({item->text(), item->data(kOccurrenceRole).toInt()});
    delete item;
    // Nothing stays chosen, so a second press does not remove the next one.
    m_ui.List1->clearSelection();
    m_ui.List1->setCurrentRow(-1);
}

void DealWorksheet::closeUnitPanel()
{
    if (m_ui.Command4->text() == kSaveCaption) {
        SetupFiles files(m_folder);
        if (files.removeUnits(m_removedUnits) != SetupFiles::Result::Written)
            m_prompts.message(files.message(), {}, Prompts::Icon::Warning);
    }
    m_removedUnits.clear();
    m_ui.Frame1->hide();
}
