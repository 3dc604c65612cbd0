#pragma once

#include "common/prompts.h"
#include "reports/dashboard_figures.h"

#include <QDate>
#include <QWidget>

#include <optional>

class DealDatabase;
class QChartView;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

// "Dashboard": a month or a year at a glance. Units and front gross per
// salesperson (bars), the twelve months up to the period's end (lines),
// the gross per unit, each salesperson's progress toward the next volume
// tier and the commission paid on the period's sheets; the view can be
// saved as a picture (PNG) or a PDF. It reads and never writes the
// database.
class DashboardWindow : public QWidget
{
    Q_OBJECT

public:
    // Opens on the month `today` falls in.
    DashboardWindow(DealDatabase &database, Prompts &prompts, const QDate &today,
                    QWidget *parent = nullptr);
    ~DashboardWindow() override;

    // Reads and shows the period's figures afresh; false when they could
    // not be read (the reason has been shown, the view emptied).
    bool showPeriod(const DashboardPeriod &period);
    // Reads the period the controls show afresh.
    void refresh();
    // The figures on view; none when the last reading failed.
    const std::optional<DashboardFigures> &figures() const { return m_figures; }

    // The view (figures, charts and list) as a PNG picture and as a PDF.
    QByteArray png() const;
    QByteArray pdf() const;

    void cmdExportPng_Click();
    void cmdExportPdf_Click();

private:
    void fillFigures();
    void fillCharts();
    void fillList();
    // Asks where to save and writes `bytes` there; a failure is said.
    void save(const QString &title, const QString &filter, const QString &suffix,
              const QByteArray &bytes);

    DealDatabase &m_database;
    Prompts &m_prompts;
    QDate m_today;
    std::optional<DashboardFigures> m_figures;

    QWidget *m_view = nullptr; // what is exported
    QComboBox *m_cboPeriod = nullptr;
    QDateEdit *m_dtpPeriod = nullptr;
    QPushButton *m_cmdExportPng = nullptr;
    QPushButton *m_cmdExportPdf = nullptr;
    QLabel *m_lblUnits = nullptr;
    QLabel *m_lblGross = nullptr;
    QLabel *m_lblAverage = nullptr;
    QLabel *m_lblCommissionPaid = nullptr;
    QChartView *m_chtUnits = nullptr;
    QChartView *m_chtGross = nullptr;
    QChartView *m_chtMonths = nullptr;
    QTableWidget *m_grdSalesPeople = nullptr;
};
