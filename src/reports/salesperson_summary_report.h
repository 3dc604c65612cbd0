#pragma once

#include "reports/report_csv.h"
#include "reports/report_document.h"
#include "reports/report_layout.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

class ReportRows;
class ReportRowSource;

// The salesperson summary: every deal of one salesperson within the chosen
// dates, then the units sold, the total gross and the average gross. Every
// page repeats the title, the salesperson and the period. The chooser sets
// the salesperson and the period, then runs it on the rows of its query.
class SalespersonSummaryReport
{
public:
    SalespersonSummaryReport();
    Q_DISABLE_COPY_MOVE(SalespersonSummaryReport)

    // The name as the user chose or typed it.
    void setSalesPerson(const QString &name);
    // The range the user chose, printed after "Period:".
    void setPeriod(const QDate &start, const QDate &end);

    ReportDocument run(const ReportRows &rows);
    // The rows read one at a time as the pages are laid out.
    ReportDocument run(ReportRowSource &rows);
    // The columns of the summary saved as a spreadsheet file.
    static QList<CsvColumn> csvColumns();

    ReportLayout &layout() { return m_layout; }

private:
    void PageHeader_BeforePrint(ReportSection &header);

    ReportLayout m_layout;
    QString m_salesPerson;
    QDate m_start;
    QDate m_end;
};
