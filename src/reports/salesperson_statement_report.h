#pragma once

#include "reports/report_csv.h"
#include "reports/report_document.h"
#include "reports/report_layout.h"
#include "reports/statement_period.h"

#include <QString>
#include <QtGlobal>

class ReportRows;

// A salesperson's statement of a period (SalespersonStatement): its lines
// under the heads of their parts, every page headed with the salesperson
// and the period. The chooser sets both, then runs it on the statement's
// rows.
class SalespersonStatementReport
{
public:
    SalespersonStatementReport();
    Q_DISABLE_COPY_MOVE(SalespersonStatementReport)

    void setHeading(const QString &salesPerson, const StatementPeriod &period);

    ReportDocument run(const ReportRows &rows);
    // The columns of the statement saved as a spreadsheet file.
    static QList<CsvColumn> csvColumns();

    ReportLayout &layout() { return m_layout; }

private:
    void PageHeader_BeforePrint(ReportSection &header);

    ReportLayout m_layout;
    QString m_salesPerson;
    StatementPeriod m_period;
};
