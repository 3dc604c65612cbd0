#pragma once

#include "reports/report_layout.h"

// The layout of the commission sheet: "Commission Sheet" with the salesperson
// and the week-ending date in the report header, the column captions under a
// rule in the page header, one line per paid deal in the detail (its values
// formatted as amounts), a page footer holding one hidden field, and the
// commission, bonus and total lines in the report footer. Sections are named
// "ReportHeader", "PageHeader", "Detail", "PageFooter" and "ReportFooter".
//
// The sheet is 9.5208 in wide, so it is laid out on letter paper in
// landscape with half-inch side margins.
ReportLayout commissionSheetLayout();
