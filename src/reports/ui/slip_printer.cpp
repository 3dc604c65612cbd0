#include "reports/ui/slip_printer.h"

#include "reports/commission_slip_report.h"
#include "reports/ui/report_preview.h"

#include <QWidget>

SlipPrinter::SlipPrinter(QWidget *window) : QObject(window), m_window(window)
{
}

SlipPrinter::~SlipPrinter() = default;

void SlipPrinter::print(const Deal &deal)
{
    if (!m_report)
        m_report = std::make_unique<CommissionSlipReport>();
    m_report->fill(deal);
    m_last = m_report->run();
    if (m_show)
        m_show(m_last);
    else
        showPreview(m_last);
}

void SlipPrinter::showPreview(const ReportDocument &document)
{
    ReportPreview::reused(m_preview, m_window, QStringLiteral("ActiveReport4"), QSize(820, 900))
        ->showDocument(document, QStringLiteral("Commission Slip"));
}
