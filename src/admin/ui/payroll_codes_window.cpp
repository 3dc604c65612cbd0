#include "admin/ui/payroll_codes_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Payroll");

QLineEdit *field(QWidget *window, const char *name)
{
    auto *box = new QLineEdit(window);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

PayrollCodesWindow::PayrollCodesWindow(DealDatabase &database, Prompts &prompts,
                                       QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmPayrollCodes"));
    setWindowTitle(kTitle);
    m_lblSalesPerson = new QLabel(this);
    m_lblSalesPerson->setObjectName(QStringLiteral("lblSalesPerson"));
    m_txtPayrollId = field(this, "txtPayrollId");
    const std::array<std::pair<const char *, EarningsKind>, kEarningsKinds> kinds = {{
        {"txtCodeCommission", EarningsKind::Commission},
        {"txtCodeBonus", EarningsKind::Bonus},
        {"txtCodeChargeback", EarningsKind::Chargeback},
        {"txtCodeDrawRecovery", EarningsKind::DrawRecovery},
    }};
    for (const auto &[name, kind] : kinds) {
        m_txtCodes[static_cast<int>(kind)] = field(this, name);
        m_txtCodes[static_cast<int>(kind)]->setPlaceholderText(PayrollCodes::defaultCode(kind));
    }
    m_cmdSave = new QPushButton(QStringLiteral("Save"), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdClose = new QPushButton(QStringLiteral("Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Payroll ID:"), m_txtPayrollId);
    form->addRow(QStringLiteral("Commission code:"), m_txtCodes[0]);
    form->addRow(QStringLiteral("Bonus code:"), m_txtCodes[1]);
    form->addRow(QStringLiteral("Chargeback code:"), m_txtCodes[2]);
    form->addRow(QStringLiteral("Draw recovery code:"), m_txtCodes[3]);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdSave);
    buttons->addWidget(m_cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblSalesPerson);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_cmdSave, &QPushButton::clicked, this, &PayrollCodesWindow::cmdSave_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void PayrollCodesWindow::showSalesPerson(const QString &salesPerson)
{
    m_salesPerson = salesPerson;
    m_lblSalesPerson->setText(QStringLiteral("Sales Person: ") + salesPerson);
    QString error;
    const std::optional<PayrollCodes> codes = PayrollCodeStore(m_database).of(salesPerson, &error);
    if (!codes)
        m_prompts.message(error, kTitle, Prompts::Icon::Critical);
    const PayrollCodes shown = codes.value_or(PayrollCodes{salesPerson, {}, {}});
    m_txtPayrollId->setText(shown.payrollId);
    for (int i = 0; i < kEarningsKinds; ++i)
        m_txtCodes[i]->setText(shown.codes[i]);
}

void PayrollCodesWindow::cmdSave_Click()
{
    PayrollCodes codes{m_salesPerson, m_txtPayrollId->text(), {}};
    for (int i = 0; i < kEarningsKinds; ++i)
        codes.codes[i] = m_txtCodes[i]->text();
    QString error;
    if (!PayrollCodeStore(m_database).save(codes, &error)) {
        m_prompts.message(error, kTitle, Prompts::Icon::Critical);
        return;
    }
    close();
}
