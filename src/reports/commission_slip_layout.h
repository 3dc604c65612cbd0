#pragma once

#include "reports/report_layout.h"

#include <array>

// The layout of the commission slip: "COMMISSION SHEET" in the report header,
// every caption, field and underline of the deal in the detail, an empty
// report footer. The six split controls (Label31, Field35, Line35, Label28,
// Field36, Line37) start hidden. Sections are named "ReportHeader", "Detail"
// and "ReportFooter".
ReportLayout commissionSlipLayout();

// The controls that print only for a split deal.
inline constexpr std::array<const char *, 6> kSlipSplitControls = {"Label31", "Field35", "Line35",
                                                                   "Label28", "Field36", "Line37"};
