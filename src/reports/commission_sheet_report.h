#pragma once

#include "reports/report_csv.h"
#include "reports/report_document.h"
#include "reports/report_rows.h"
#include "reports/report_layout.h"

#include <QString>
#include <QtGlobal>

#include <optional>

struct RecordedSheet;

// What the sheet window gives its report besides the hand-off file: the
// texts of its salesperson list and of its hidden boxes.
struct CommissionSheetFigures
{
    QString salesPerson = {};      // cboSalesPerson
    QString weekEnd = {};          // txtWeekEnd, as typed
    QString tally = {};            // txtTally: the total commission paid, plain
    QString bonus = {};            // txtBonus, as typed
    QString bonusDescription = {}; // txtBonus2
    // A sheet that deducted a draw or an earlier sheet's negative net: the
    // plain amounts of what it recovered and deducted, and its net pay.
    // Empty on every other sheet, whose foot ends with the total.
    QString recovered = {};
    QString fromEarlier = {};
    QString netPay = {};
};

// The commission sheet: the deals of the hand-off file "data.txt", one line
// each with their amounts formatted, under the salesperson and week-ending
// date, and a footer with the commission, the bonus and their total.
class CommissionSheetReport
{
public:
    CommissionSheetReport();
    Q_DISABLE_COPY_MOVE(CommissionSheetReport)

    // Lays the sheet out from the hand-off file at `dataFilePath`;
    // std::nullopt, with the reason in `error`, when the file cannot be read.
    std::optional<ReportDocument> run(const QString &dataFilePath,
                                      const CommissionSheetFigures &figures, QString *error);

    // Lays out the hand-off file's text `lines`.
    ReportDocument runLines(const QByteArray &lines, const CommissionSheetFigures &figures);

    // Lays a recorded sheet out exactly as it was first printed.
    ReportDocument runRecorded(const RecordedSheet &sheet);

    ReportLayout &layout() { return m_layout; }
    // The deals of the last sheet laid out.
    const ReportRows &rows() const { return m_rows; }
    // The columns of the sheet saved as a spreadsheet file.
    static QList<CsvColumn> csvColumns();

private:
    ReportDocument layOut(ReportRows deals, const CommissionSheetFigures &figures);
    // Names the salesperson and the week at the start of each sheet.
    void setHeading();
    void ReportFooter_BeforePrint(ReportSection &footer);

    ReportLayout m_layout;
    CommissionSheetFigures m_figures;
    ReportRows m_rows;
};
