#include "reports/ui/payroll_export_window.h"

#include "common/durable_file.h"
#include "reports/payroll_layouts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Export for Payroll");

QDateEdit *dateBox(QWidget *window, const char *name, const QDate &date)
{
    auto *box = new QDateEdit(date, window);
    box->setObjectName(QString::fromLatin1(name));
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    return box;
}

} // namespace

PayrollExportWindow::PayrollExportWindow(DealDatabase &database, Prompts &prompts,
                                         QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmPayrollExport"));
    setWindowTitle(kTitle);
    // The month so far, the usual pay period.
    const QDate today = QDate::currentDate();
    m_dtpFrom = dateBox(this, "dtpFrom", QDate(today.year(), today.month(), 1));
    m_dtpTo = dateBox(this, "dtpTo", today);
    m_cboLayout = new QComboBox(this);
    m_cboLayout->setObjectName(QStringLiteral("cboLayout"));
    for (const PayrollLayouts::Layout &layout : PayrollLayouts::all())
        m_cboLayout->addItem(layout.name);
    m_txtCompanyCode = new QLineEdit(this);
    m_txtCompanyCode->setObjectName(QStringLiteral("txtCompanyCode"));
    m_txtCompanyCode->setPlaceholderText(QStringLiteral("for the Client ID or Co Code column"));
    m_cmdExport = new QPushButton(QStringLiteral("Export\u2026"), this);
    m_cmdExport->setObjectName(QStringLiteral("cmdExport"));
    m_cmdClose = new QPushButton(QStringLiteral("Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Sheets printed from:"), m_dtpFrom);
    form->addRow(QStringLiteral("through:"), m_dtpTo);
    form->addRow(QStringLiteral("Layout:"), m_cboLayout);
    form->addRow(QStringLiteral("Company code:"), m_txtCompanyCode);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdExport);
    buttons->addWidget(m_cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_cmdExport, &QPushButton::clicked, this, &PayrollExportWindow::cmdExport_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void PayrollExportWindow::tell(const QString &text, Prompts::Icon icon)
{
    m_prompts.message(text, kTitle, icon);
}

void PayrollExportWindow::cmdExport_Click()
{
    const PayrollExport::Period period{m_dtpFrom->date(), m_dtpTo->date()};
    const QString dateForm = QStringLiteral("MM/dd/yyyy");
    if (period.to < period.from) {
        tell(QStringLiteral("The first date comes after the last."), Prompts::Icon::Warning);
        return;
    }
    QString error;
    const std::optional<QList<PayrollExport::Row>> rows =
        PayrollExport::read(m_database, period, &error);
    if (!rows) {
        tell(error, Prompts::Icon::Critical);
        return;
    }
    if (rows->isEmpty()) {
        tell(QStringLiteral("No commission sheet printed from %1 through %2 pays anything; "
                            "nothing was written.")
                 .arg(period.from.toString(dateForm), period.to.toString(dateForm)),
             Prompts::Icon::Information);
        return;
    }
    const PayrollLayouts::Layout &layout = PayrollLayouts::all().at(m_cboLayout->currentIndex());
    Prompts::SaveFile request;
    request.title = kTitle;
    request.initialPath = QStringLiteral("payroll %1.csv").arg(period.to.toString(Qt::ISODate));
    request.nameFilters = {QStringLiteral("CSV Files (*.csv)")};
    request.defaultSuffix = QStringLiteral("csv");
    const std::optional<QString> path = m_prompts.saveFile(request);
    if (!path)
        return;
    const QByteArray bytes =
        PayrollLayouts::text(layout, *rows, period, m_txtCompanyCode->text().trimmed());
    if (!DurableFile::replace(*path, bytes, &error)) {
        tell(QStringLiteral("The file \"%1\" could not be saved: %2").arg(*path, error),
             Prompts::Icon::Critical);
        return;
    }
    tell(QStringLiteral("The file \"%1\" was saved for payroll: %2 %3.")
             .arg(*path)
             .arg(rows->size())
             .arg(rows->size() == 1 ? QStringLiteral("line") : QStringLiteral("lines")),
         Prompts::Icon::Information);
}
