#pragma once

#include "reports/report_layout.h"

// The layout of the sales log: the title "SalesLog" and the chosen dates in
// the report header; the vehicle type and the column heads in the group
// header "ghTCU" (grouped on TCU); one line per deal in "Detail"; the units,
// the total gross and the gross per unit in the group footer "gfTCU"; an
// empty "ReportFooter". 7.5 inches wide on letter paper.
ReportLayout salesLogLayout();
