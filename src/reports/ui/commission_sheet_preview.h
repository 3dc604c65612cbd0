#pragma once

#include "reports/report_document.h"
#include "reports/report_rows.h"
#include "reports/ui/report_preview.h"

#include <QPointer>

class Prompts;
class QWidget;

// Shows a laid-out commission sheet in the preview kept in `slot` (made over
// `owner` on first use), with its deals `rows` offered under "Save as CSV…".
// The sheet window's prints and its reprints of recorded sheets show alike.
void showCommissionSheetPreview(QPointer<ReportPreview> &slot, QWidget *owner,
                                const ReportDocument &document, const ReportRows &rows,
                                Prompts &prompts);
