#include "reports/ui/sheet_history_window.h"

#include "common/money_format.h"
#include "reports/commission_data_file.h"
#include "reports/commission_sheet_report.h"
#include "reports/sheet_data_file.h"
#include "reports/ui/commission_sheet_preview.h"
#include "store/deal_database.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Commission Sheets");

QPushButton *button(QWidget *window, const char *name, const QString &caption)
{
    auto *result = new QPushButton(caption, window);
    result->setObjectName(QString::fromLatin1(name));
    return result;
}

} // namespace

SheetHistoryWindow::SheetHistoryWindow(DealDatabase &database, const ProgramFolder &folder,
                                       Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_folder(folder), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmSheets"));
    setWindowTitle(kTitle);
    m_lblSalesPerson = new QLabel(this);
    m_lblSalesPerson->setObjectName(QStringLiteral("lblSalesPerson"));
    m_grdSheets = new QTableWidget(0, 4, this);
    m_grdSheets->setObjectName(QStringLiteral("grdSheets"));
    m_grdSheets->setHorizontalHeaderLabels(
        {QStringLiteral("Week Ending"), QStringLiteral("Total Commission"),
         QStringLiteral("Printed At"), QStringLiteral("Voided At")});
    m_grdSheets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdSheets->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdSheets->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdSheets->verticalHeader()->hide();
    m_grdSheets->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_cmdReprintSheet = button(this, "cmdReprintSheet", QStringLiteral("Reprint"));
    m_cmdVoidSheet = button(this, "cmdVoidSheet", QStringLiteral("Void Sheet"));
    m_cmdClose = button(this, "cmdClose", QStringLiteral("Close"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdReprintSheet);
    buttons->addWidget(m_cmdVoidSheet);
    buttons->addStretch(1);
    buttons->addWidget(m_cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblSalesPerson);
    layout->addWidget(m_grdSheets, 1);
    layout->addLayout(buttons);
    resize(560, 320);

    connect(m_cmdReprintSheet, &QPushButton::clicked, this,
            &SheetHistoryWindow::cmdReprintSheet_Click);
    connect(m_cmdVoidSheet, &QPushButton::clicked, this, &SheetHistoryWindow::cmdVoidSheet_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

SheetHistoryWindow::~SheetHistoryWindow() = default;

void SheetHistoryWindow::list(const QString &salesPerson)
{
    m_salesPerson = salesPerson;
    m_lblSalesPerson->setText(QStringLiteral("Sales Person: ") + salesPerson);
    m_grdSheets->setRowCount(0);
    QString why;
    const std::optional<QList<RecordedSheet>> sheets =
        SheetRecords(m_database.connection()).ofSalesPerson(salesPerson, &why);
    m_sheets = sheets.value_or(QList<RecordedSheet>());
    if (!sheets)
        tell(QStringLiteral("The recorded sheets could not be listed: ") + why,
             Prompts::Icon::Critical);
    m_grdSheets->setRowCount(int(m_sheets.size()));
    for (int row = 0; row < int(m_sheets.size()); ++row) {
        const RecordedSheet &sheet = m_sheets.at(row);
        const QStringList texts = {sheet.heading.weekEnding,
                                   MoneyFormat::dollars(sheet.totalCommission()), sheet.printedAt,
                                   sheet.voidedAt};
        for (int column = 0; column < int(texts.size()); ++column)
            m_grdSheets->setItem(row, column, new QTableWidgetItem(texts.at(column)));
    }
    if (!m_sheets.isEmpty())
        m_grdSheets->setCurrentCell(0, 0);
}

const RecordedSheet *SheetHistoryWindow::selected() const
{
    const int row = m_grdSheets->currentRow();
    return row >= 0 && row < m_sheets.size() ? &m_sheets.at(row) : nullptr;
}

void SheetHistoryWindow::tell(const QString &text, Prompts::Icon icon)
{
    m_prompts.message(text, kTitle, icon);
}

void SheetHistoryWindow::cmdReprintSheet_Click()
{
    const RecordedSheet *chosen = selected();
    if (!chosen) {
        tell(QStringLiteral("Choose the sheet to print again."), Prompts::Icon::Information);
        return;
    }
    // As it is recorded now: another desk may have voided it since the list
    // was shown.
    QString why;
    const std::optional<RecordedSheet> current =
        SheetRecords(m_database.connection()).find(chosen->id, &why);
    if (!current) {
        tell(QStringLiteral("The sheet could not be read: ") + why, Prompts::Icon::Critical);
        return;
    }
    const RecordedSheet *sheet = &*current;
    if (sheet->isVoided()) {
        tell(QStringLiteral("This sheet was voided on %1 and cannot be printed again.")
                 .arg(sheet->voidedAt),
             Prompts::Icon::Warning);
        return;
    }
    if (!m_report)
        m_report = std::make_unique<CommissionSheetReport>();
    const ReportDocument document = m_report->runRecorded(*sheet);
    if (m_show)
        m_show(document);
    else
        showCommissionSheetPreview(m_preview, this, document, m_report->rows(), m_prompts);
}

void SheetHistoryWindow::cmdVoidSheet_Click()
{
    const RecordedSheet *chosen = selected();
    if (!chosen) {
        tell(QStringLiteral("Choose the sheet to void."), Prompts::Icon::Information);
        return;
    }
    const RecordedSheet sheet = *chosen;
    if (sheet.isVoided()) {
        tell(QStringLiteral("This sheet was already voided on %1.").arg(sheet.voidedAt),
             Prompts::Icon::Information);
        return;
    }
    const QString question =
        QStringLiteral("Void the commission sheet of %1 for the week ending %2, total %3?\n\n"
                       "Its deals become unpaid again and will be listed on the next sheet.")
            .arg(sheet.heading.salesPerson, sheet.heading.weekEnding,
                 MoneyFormat::dollars(sheet.totalCommission()));
    if (m_prompts.message(question, QStringLiteral("Void Sheet"), Prompts::Icon::Question,
                          Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return;
    QString why;
    auto voided = SheetRecords::VoidOutcome::Failed;
    const bool done = m_database.transact(
        [&] {
            voided = SheetRecords(m_database.connection()).voidSheet(sheet.id, &why);
            return voided != SheetRecords::VoidOutcome::Failed;
        },
        &why);
    if (done && voided == SheetRecords::VoidOutcome::Failed)
        voided = SheetRecords::VoidOutcome::Voided; // its commit's lost answer was looked up
    switch (voided) {
    case SheetRecords::VoidOutcome::Voided:
        break;
    case SheetRecords::VoidOutcome::AlreadyVoided:
        tell(QStringLiteral("This sheet was already voided at another desk."),
             Prompts::Icon::Information);
        break;
    case SheetRecords::VoidOutcome::RowsChanged:
        tell(QStringLiteral("This sheet cannot be voided: some of its deals were changed, "
                            "deleted or paid again since it was printed."),
             Prompts::Icon::Warning);
        break;
    case SheetRecords::VoidOutcome::Refused:
        tell(why, Prompts::Icon::Warning);
        break;
    case SheetRecords::VoidOutcome::Missing:
    case SheetRecords::VoidOutcome::Failed:
        tell(QStringLiteral("The sheet could not be voided: ") + why, Prompts::Icon::Critical);
        break;
    }
    // data.txt follows the newest sheet still valid.
    const QString dataFile = m_folder.filePath(QString::fromLatin1(CommissionDataFile::kFileName));
    if (!SheetDataFile::restore(m_database, dataFile, &why))
        tell(SheetDataFile::notRestoredMessage(why), Prompts::Icon::Warning);
    list(m_salesPerson);
}
