#pragma once

#include "common/program_folder.h"
#include "common/prompts.h"
#include "reports/report_document.h"
#include "reports/ui/report_preview.h"
#include "store/sheet_records.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class CommissionSheetReport;
class DealDatabase;
class QLabel;
class QPushButton;
class QTableWidget;

// "Commission Sheets": one salesperson's recorded sheets, newest first, each
// with its week ending, the total at its foot and when it was printed. A
// sheet can be printed again exactly as it was (paying nothing), or voided
// when it was printed in error, which makes its deals unpaid again.
class SheetHistoryWindow : public QWidget
{
    Q_OBJECT

public:
    using ShowStep = std::function<void(const ReportDocument &)>;

    SheetHistoryWindow(DealDatabase &database, const ProgramFolder &folder, Prompts &prompts,
                       QWidget *parent = nullptr);
    ~SheetHistoryWindow() override;

    // Lists the sheets of `salesPerson` afresh.
    void list(const QString &salesPerson);
    // Replaces the preview window; an empty step restores it.
    void setShowStep(ShowStep show) { m_show = std::move(show); }
    const QList<RecordedSheet> &sheets() const { return m_sheets; }

private:
    void cmdReprintSheet_Click();
    void cmdVoidSheet_Click();
    // The sheet of the selected line; nullptr when none is selected.
    const RecordedSheet *selected() const;
    void tell(const QString &text, Prompts::Icon icon);

    DealDatabase &m_database;
    ProgramFolder m_folder;
    Prompts &m_prompts;
    QString m_salesPerson;
    QList<RecordedSheet> m_sheets;

    QLabel *m_lblSalesPerson = nullptr;
    QTableWidget *m_grdSheets = nullptr;
    QPushButton *m_cmdReprintSheet = nullptr;
    QPushButton *m_cmdVoidSheet = nullptr;
    QPushButton *m_cmdClose = nullptr;

    std::unique_ptr<CommissionSheetReport> m_report;
    QPointer<ReportPreview> m_preview;
    ShowStep m_show;
};
