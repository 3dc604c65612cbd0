#include "audit_trail_window.h"

#include "admin/audit_changes.h"
#include "store/audit_trail.h"
#include "store/deal_database.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kShownAtMost = 1000;

const QStringList kHeaders = {
    QStringLiteral("When"),         QStringLiteral("Who"),     QStringLiteral("What"),
    QStringLiteral("Stock Number"), QStringLiteral("Sales Person"), QStringLiteral("Changes"),
};

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QDateEdit *dateBox(QWidget *window, const char *name)
{
    auto *box = named(new QDateEdit(QDate::currentDate(), window), name);
    box->setCalendarPopup(true);
    box->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    return box;
}

} // namespace

AuditTrailWindow::AuditTrailWindow(DealDatabase &database, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmAuditTrail"));
    setWindowTitle(QStringLiteral("Audit Trail"));
    m_txtStockNumber = named(new QLineEdit(this), "txtStockNumber");
    m_txtSalesPerson = named(new QLineEdit(this), "txtSalesPerson");
    m_txtUserName = named(new QLineEdit(this), "txtUserName");
    m_cboAction = named(new QComboBox(this), "cboAction");
    m_cboAction->addItem(QStringLiteral("All actions"));
    m_cboAction->addItems(AuditTrail::actions());
    m_chkDates = named(new QCheckBox(QStringLiteral("Dates from"), this), "chkDates");
    m_dtpFrom = dateBox(this, "dtpFrom");
    m_dtpTo = dateBox(this, "dtpTo");
    m_cmdShow = named(new QPushButton(QStringLiteral("Show"), this), "cmdShow");
    m_cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    m_grdAudit = named(new QTableWidget(0, int(kHeaders.size()), this), "grdAudit");
    m_grdAudit->setHorizontalHeaderLabels(kHeaders);
    m_grdAudit->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdAudit->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdAudit->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdAudit->verticalHeader()->hide();
    m_grdAudit->setWordWrap(false);
    m_grdAudit->horizontalHeader()->setStretchLastSection(true);
    m_txtDetails = named(new QPlainTextEdit(this), "txtDetails");
    m_txtDetails->setReadOnly(true);
    m_txtDetails->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_lblCount = named(new QLabel(this), "lblCount");

    auto *dates = new QHBoxLayout;
    dates->addWidget(m_chkDates);
    dates->addWidget(m_dtpFrom);
    dates->addWidget(new QLabel(QStringLiteral("to"), this));
    dates->addWidget(m_dtpTo);
    dates->addStretch(1);
    auto *filter = new QFormLayout;
    filter->addRow(QStringLiteral("Stock Number:"), m_txtStockNumber);
    filter->addRow(QStringLiteral("Sales Person:"), m_txtSalesPerson);
    filter->addRow(QStringLiteral("User:"), m_txtUserName);
    filter->addRow(QStringLiteral("Action:"), m_cboAction);
    filter->addRow(dates);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_lblCount, 1);
    buttons->addWidget(m_cmdShow);
    buttons->addWidget(m_cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    auto *panes = named(new QSplitter(Qt::Vertical, this), "splAudit");
    panes->addWidget(m_grdAudit);
    panes->addWidget(m_txtDetails);
    panes->setStretchFactor(0, 3);
    panes->setStretchFactor(1, 1);
    layout->addWidget(panes, 1);
    layout->addLayout(buttons);
    resize(980, 560);

    m_dtpFrom->setEnabled(false);
    m_dtpTo->setEnabled(false);
    connect(m_chkDates, &QCheckBox::toggled, m_dtpFrom, &QWidget::setEnabled);
    connect(m_chkDates, &QCheckBox::toggled, m_dtpTo, &QWidget::setEnabled);
    connect(m_cmdShow, &QPushButton::clicked, this, &AuditTrailWindow::cmdShow_Click);
    connect(m_cboAction, &QComboBox::currentIndexChanged, this, &AuditTrailWindow::cmdShow_Click);
    connect(m_grdAudit, &QTableWidget::itemSelectionChanged, this,
            &AuditTrailWindow::showDetails);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    m_cmdShow->setDefault(true);
    cmdShow_Click();
}

void AuditTrailWindow::cmdShow_Click()
{
    AuditTrail::Filter filter;
    filter.stockNumber = m_txtStockNumber->text();
    filter.salesPerson = m_txtSalesPerson->text();
    filter.userName = m_txtUserName->text();
    if (m_cboAction->currentIndex() > 0)
        filter.action = m_cboAction->currentText();
    if (m_chkDates->isChecked()) {
        filter.from = m_dtpFrom->date();
        filter.to = m_dtpTo->date();
    }
    filter.limit = kShownAtMost;
    QString why;
    const std::optional<QList<AuditTrail::Record>> records =
        AuditTrail::read(m_database.connection(), filter, &why);
    m_grdAudit->setRowCount(0);
    m_details.clear();
    m_txtDetails->clear();
    if (!records) {
        m_lblCount->clear();
        m_prompts.message(QStringLiteral("The audit trail could not be read: ") + why,
                          QStringLiteral("Audit Trail"), Prompts::Icon::Critical);
        return;
    }
    m_grdAudit->setRowCount(int(records->size()));
    for (int row = 0; row < int(records->size()); ++row) {
        const AuditTrail::Record &record = records->at(row);
        const AuditTrail::Entry &e = record.entry;
        const QList<AuditChanges::Change> changes = AuditChanges::of(e.before, e.after);
        const QStringList texts = {record.at,      e.userName,    e.action,
                                   e.stockNumber,  e.salesPerson, AuditChanges::summary(changes)};
        for (int column = 0; column < int(texts.size()); ++column)
            m_grdAudit->setItem(row, column, new QTableWidgetItem(texts.at(column)));
        m_details << AuditChanges::details(changes);
    }
    m_grdAudit->resizeColumnsToContents();
    m_lblCount->setText(records->size() >= kShownAtMost
                            ? QStringLiteral("The newest %1 entries; narrow the filter to see "
                                             "older ones.")
                                  .arg(kShownAtMost)
                            : QStringLiteral("%1 entries").arg(records->size()));
}

void AuditTrailWindow::showDetails()
{
    const int row = m_grdAudit->currentRow();
    m_txtDetails->setPlainText(row >= 0 && row < int(m_details.size()) ? m_details.at(row)
                                                                       : QString());
}
