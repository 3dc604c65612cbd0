#pragma once

#include "reports/report_csv.h"
#include "reports/report_document.h"
#include "reports/report_layout.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

class ReportRows;
class ReportRowSource;

// The sales log: the deals of one vehicle type sold within the chosen dates,
// one line each in date order, closed by the number of units, the total gross
// and the gross per unit. The chooser sets the dates and the vehicle type
// title, then runs it on the rows of its query.
class SalesLogReport
{
public:
    SalesLogReport();
    Q_DISABLE_COPY_MOVE(SalesLogReport)

    // The range the user chose, printed under "For Dates".
    void setRange(const QDate &start, const QDate &end);
    // The caption of Label1: "New Trucks", "New Cars", "Used Trucks" or
    // "Used Cars".
    void setVehicleTitle(const QString &title);

    ReportDocument run(const ReportRows &rows);
    // The rows read one at a time as the pages are laid out.
    ReportDocument run(ReportRowSource &rows);
    // The columns of the log saved as a spreadsheet file: the deal lines,
    // units and customers whole.
    static QList<CsvColumn> csvColumns();

    ReportLayout &layout() { return m_layout; }

private:
    void ReportHeader_Format(ReportSection &header);
    // The gross per unit, from the printed total gross and unit count.
    void gfTCU_BeforePrint(ReportSection &footer);
    // Names the vehicle type and says that no deal matched, when none did.
    void ReportFooter_BeforePrint(ReportSection &footer);

    ReportLayout m_layout;
    QDate m_start;
    QDate m_end;
    int m_deals = 0; // detail lines printed by the current run
};
