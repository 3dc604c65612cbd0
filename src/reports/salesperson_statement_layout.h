#pragma once

#include "reports/report_layout.h"

// The layout of a salesperson's statement, letter landscape, 10 inches
// wide: on every page the title, the salesperson, the period and the column
// heads ("PageHeader"); a heading for each part of the statement
// ("ghPart", grouped on "Part"); one line per statement line ("Detail").
ReportLayout salespersonStatementLayout();
