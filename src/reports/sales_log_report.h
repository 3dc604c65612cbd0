#pragma once

#include "reports/report_document.h"
#include "reports/report_layout.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

class ReportRows;

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

    ReportLayout &layout() { return m_layout; }

private:
    void ReportHeader_Format(ReportSection &header);
    // The gross per unit, from the printed total gross and unit count.
    void gfTCU_BeforePrint(ReportSection &footer);

    ReportLayout m_layout;
    QDate m_start;
    QDate m_end;
};
