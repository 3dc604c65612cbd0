#pragma once

#include "reports/report_document.h"
#include "reports/report_layout.h"

#include <QtGlobal>

struct Deal;

// The commission slip: the one-page printout of the deal on the worksheet,
// titled "COMMISSION SHEET". fill() puts the deal into every field of the
// slip, each time all of them, so nothing of an earlier deal carries over;
// run() lays the page out for the preview, a PDF or a test.
class CommissionSlipReport
{
public:
    CommissionSlipReport();
    Q_DISABLE_COPY_MOVE(CommissionSlipReport)

    void fill(const Deal &deal);
    ReportDocument run();

    ReportLayout &layout() { return m_layout; }

private:
    // The allowance caption, as the detail section is about to print.
    void Detail_BeforePrint(ReportSection &detail);
    void setText(const char *field, const QString &text);
    void setSplitShown(bool shown);

    ReportLayout m_layout;
    bool m_underAllow = false; // Option1
    bool m_overAllow = false;  // Option2
};
