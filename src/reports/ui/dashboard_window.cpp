#include "reports/ui/dashboard_window.h"

#include "common/durable_file.h"
#include "common/money_format.h"
#include "reports/ui/dashboard_charts.h"

#include <QBuffer>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Dashboard");

QLabel *figureLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QChartView *chartView(const char *name, QWidget *parent)
{
    auto *view = new QChartView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 240);
    return view;
}

QString unitsText(Money units)
{
    return MoneyFormat::plain(units);
}

} // namespace

DashboardWindow::DashboardWindow(DealDatabase &database, Prompts &prompts, const QDate &today,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts), m_today(today)
{
    setObjectName(QStringLiteral("frmDashboard"));
    setWindowTitle(kTitle);

    m_cboPeriod = new QComboBox(this);
    m_cboPeriod->setObjectName(QStringLiteral("cboPeriod"));
    m_cboPeriod->addItems({QStringLiteral("Month"), QStringLiteral("Year")});
    m_dtpPeriod = new QDateEdit(today, this);
    m_dtpPeriod->setObjectName(QStringLiteral("dtpPeriod"));
    m_dtpPeriod->setDisplayFormat(QStringLiteral("MMMM yyyy"));
    m_cmdExportPng = new QPushButton(QStringLiteral("Save as PNG…"), this);
    m_cmdExportPng->setObjectName(QStringLiteral("cmdExportPng"));
    m_cmdExportPdf = new QPushButton(QStringLiteral("Save as PDF…"), this);
    m_cmdExportPdf->setObjectName(QStringLiteral("cmdExportPdf"));
    auto *bar = new QHBoxLayout;
    auto *lblPeriod = new QLabel(QStringLiteral("Show:"), this);
    lblPeriod->setObjectName(QStringLiteral("lblPeriod"));
    bar->addWidget(lblPeriod);
    bar->addWidget(m_cboPeriod);
    bar->addWidget(m_dtpPeriod);
    bar->addStretch();
    bar->addWidget(m_cmdExportPng);
    bar->addWidget(m_cmdExportPdf);

    m_view = new QWidget(this);
    m_view->setObjectName(QStringLiteral("fraDashboard"));
    m_view->setAutoFillBackground(true);
    m_lblUnits = figureLabel("lblUnits", m_view);
    m_lblGross = figureLabel("lblGross", m_view);
    m_lblAverage = figureLabel("lblAverage", m_view);
    m_lblCommissionPaid = figureLabel("lblCommissionPaid", m_view);
    auto *figuresRow = new QHBoxLayout;
    for (QLabel *label : {m_lblUnits, m_lblGross, m_lblAverage, m_lblCommissionPaid})
        figuresRow->addWidget(label);
    m_chtUnits = chartView("chtUnits", m_view);
    m_chtGross = chartView("chtGross", m_view);
    m_chtMonths = chartView("chtMonths", m_view);
    m_grdSalesPeople = new QTableWidget(0, 4, m_view);
    m_grdSalesPeople->setObjectName(QStringLiteral("grdSalesPeople"));
    m_grdSalesPeople->setHorizontalHeaderLabels({QStringLiteral("Salesperson"),
                                                 QStringLiteral("Units"),
                                                 QStringLiteral("Front gross"),
                                                 QStringLiteral("Tier progress")});
    m_grdSalesPeople->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdSalesPeople->verticalHeader()->hide();
    m_grdSalesPeople->horizontalHeader()->setStretchLastSection(true);
    auto *grid = new QGridLayout;
    grid->addWidget(m_chtUnits, 0, 0);
    grid->addWidget(m_chtGross, 0, 1);
    grid->addWidget(m_chtMonths, 1, 0);
    grid->addWidget(m_grdSalesPeople, 1, 1);
    auto *viewLayout = new QVBoxLayout(m_view);
    viewLayout->addLayout(figuresRow);
    viewLayout->addLayout(grid, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_view, 1);
    resize(1000, 720);

    connect(m_cboPeriod, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    connect(m_dtpPeriod, &QDateEdit::dateChanged, this, [this] { refresh(); });
    connect(m_cmdExportPng, &QPushButton::clicked, this, [this] { cmdExportPng_Click(); });
    connect(m_cmdExportPdf, &QPushButton::clicked, this, [this] { cmdExportPdf_Click(); });
    showPeriod(DashboardPeriod::month(today));
}

DashboardWindow::~DashboardWindow() = default;

void DashboardWindow::refresh()
{
    const bool year = m_cboPeriod->currentIndex() == 1;
    m_dtpPeriod->setDisplayFormat(year ? QStringLiteral("yyyy") : QStringLiteral("MMMM yyyy"));
    const QDate day = m_dtpPeriod->date();
    showPeriod(year ? DashboardPeriod::year(day.year()) : DashboardPeriod::month(day));
}

bool DashboardWindow::showPeriod(const DashboardPeriod &period)
{
    {
        const QSignalBlocker blockPeriod(m_cboPeriod);
        const QSignalBlocker blockDate(m_dtpPeriod);
        m_cboPeriod->setCurrentIndex(period.wholeYear ? 1 : 0);
        m_dtpPeriod->setDisplayFormat(period.wholeYear ? QStringLiteral("yyyy")
                                                       : QStringLiteral("MMMM yyyy"));
        m_dtpPeriod->setDate(period.first);
    }
    QString error;
    m_figures = DashboardFigures::read(m_database, period, m_today, &error);
    if (!m_figures)
        m_prompts.message(QStringLiteral("The dashboard's figures could not be read: %1")
                              .arg(error),
                          kTitle, Prompts::Icon::Critical);
    fillFigures();
    fillCharts();
    fillList();
    return m_figures.has_value();
}

void DashboardWindow::fillFigures()
{
    if (!m_figures) {
        for (QLabel *label : {m_lblUnits, m_lblGross, m_lblAverage, m_lblCommissionPaid})
            label->clear();
        return;
    }
    const std::optional<Money> average = m_figures->averageGross();
    m_lblUnits->setText(QStringLiteral("Units: %1").arg(unitsText(m_figures->units)));
    m_lblGross->setText(
        QStringLiteral("Front gross: %1").arg(MoneyFormat::dollarsGrouped(m_figures->gross)));
    m_lblAverage->setText(QStringLiteral("Gross per unit: %1")
                              .arg(average ? MoneyFormat::dollarsGrouped(*average)
                                           : QStringLiteral("-")));
    m_lblCommissionPaid->setText(QStringLiteral("Commission paid: %1")
                                     .arg(MoneyFormat::dollarsGrouped(m_figures->commissionPaid)));
}

void DashboardWindow::fillCharts()
{
    const DashboardFigures none;
    const DashboardFigures &shown = m_figures ? *m_figures : none;
    // Each view owns its chart; the one replaced is deleted by it.
    m_chtUnits->setChart(DashboardCharts::unitsBars(shown));
    m_chtGross->setChart(DashboardCharts::grossBars(shown));
    m_chtMonths->setChart(DashboardCharts::monthLines(shown));
}

void DashboardWindow::fillList()
{
    const QList<DashboardFigures::SalesPerson> people =
        m_figures ? m_figures->salesPeople : QList<DashboardFigures::SalesPerson>();
    m_grdSalesPeople->setRowCount(int(people.size()));
    for (int row = 0; row < people.size(); ++row) {
        const DashboardFigures::SalesPerson &person = people.at(row);
        const QStringList texts = {person.name, unitsText(person.units),
                                   MoneyFormat::dollarsGrouped(person.gross), person.tierProgress};
        for (int column = 0; column < texts.size(); ++column)
            m_grdSalesPeople->setItem(row, column, new QTableWidgetItem(texts.at(column)));
    }
    m_grdSalesPeople->resizeColumnsToContents();
}

QByteArray DashboardWindow::png() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    m_view->grab().toImage().save(&buffer, "PNG");
    return bytes;
}

QByteArray DashboardWindow::pdf() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(kTitle);
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setResolution(96);
        QPainter painter(&writer);
        const QRect page = painter.viewport();
        const QSize size = m_view->size();
        const double scale = std::min(double(page.width()) / size.width(),
                                      double(page.height()) / size.height());
        painter.scale(scale, scale);
        m_view->render(&painter);
    }
    return bytes;
}

void DashboardWindow::cmdExportPng_Click()
{
    save(QStringLiteral("Save the Dashboard as a Picture"), QStringLiteral("PNG Pictures (*.png)"),
         QStringLiteral("png"), png());
}

void DashboardWindow::cmdExportPdf_Click()
{
    save(QStringLiteral("Save the Dashboard as a PDF"), QStringLiteral("PDF Files (*.pdf)"),
         QStringLiteral("pdf"), pdf());
}

void DashboardWindow::save(const QString &title, const QString &filter, const QString &suffix,
                           const QByteArray &bytes)
{
    Prompts::SaveFile request;
    request.title = title;
    request.initialPath = QStringLiteral("Dashboard %1.%2")
                              .arg(m_figures && m_figures->period.wholeYear
                                       ? m_dtpPeriod->date().toString(QStringLiteral("yyyy"))
                                       : m_dtpPeriod->date().toString(QStringLiteral("yyyy-MM")),
                                   suffix);
    request.nameFilters = {filter};
    request.defaultSuffix = suffix;
    const std::optional<QString> path = m_prompts.saveFile(request);
    if (!path)
        return;
    QString error;
    if (!DurableFile::replace(*path, bytes, &error))
        m_prompts.message(QStringLiteral("The file \"%1\" could not be saved: %2").arg(*path, error),
                          title, Prompts::Icon::Critical);
}
