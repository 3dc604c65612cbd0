#pragma once

#include "reports/report_document.h"
#include "reports/ui/report_preview.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class CommissionSlipReport;
class QWidget;
struct Deal;

// Prints the commission slip of a deal: fills the one slip report (made on
// the first print and kept), lays its page out and shows it in the preview
// window, from which the user prints. The show step can be replaced, so the
// slip can be laid out without any window.
class SlipPrinter : public QObject
{
    Q_OBJECT

public:
    using ShowStep = std::function<void(const ReportDocument &)>;

    // The preview window opens over `window`.
    explicit SlipPrinter(QWidget *window);
    ~SlipPrinter() override;

    void print(const Deal &deal);

    // Replaces the preview window; an empty step restores it.
    void setShowStep(ShowStep show) { m_show = std::move(show); }

    // The slip report once a deal has been printed; nullptr before.
    CommissionSlipReport *report() const { return m_report.get(); }
    // The page of the last print.
    const ReportDocument &lastDocument() const { return m_last; }
    // The preview window once it has been opened; nullptr before.
    ReportPreview *preview() const { return m_preview; }

private:
    void showPreview(const ReportDocument &document);

    QWidget *m_window;
    std::unique_ptr<CommissionSlipReport> m_report;
    QPointer<ReportPreview> m_preview; // owned by m_window
    ShowStep m_show;
    ReportDocument m_last;
};
