#include "reports/ui/commission_sheet_preview.h"

#include "reports/commission_sheet_report.h"
#include "reports/report_csv.h"

void showCommissionSheetPreview(QPointer<ReportPreview> &slot, QWidget *owner,
                                const ReportDocument &document, const ReportRows &rows,
                                Prompts &prompts)
{
    ReportPreview::reused(slot, owner, QStringLiteral("ActiveReport3"), QSize(1100, 850))
        ->showDocument(document, QStringLiteral("Commission Sheet"),
                       {QStringLiteral("Commission Sheet.csv"),
                        [rows](const QString &path, QString *error) {
                            return ReportCsv::save(path, CommissionSheetReport::csvColumns(), rows,
                                                   error);
                        },
                        &prompts});
}
