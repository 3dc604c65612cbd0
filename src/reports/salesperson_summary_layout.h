#pragma once

#include "reports/report_layout.h"

// The layout of the salesperson summary: on every page the title, the
// salesperson, the period and the column heads ("PageHeader"); an empty
// "GroupHeader1" without a group field, so the whole report is one group;
// one line per deal in "Detail"; the units sold, the total gross and the
// average gross in "GroupFooter1"; an empty "PageFooter". 6.75 inches wide
// on letter paper.
ReportLayout salespersonSummaryLayout();
