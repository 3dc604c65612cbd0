#include "store/ui/unwind_window.h"

#include "common/money.h"
#include "common/money_format.h"
#include "store/deal_unwinds.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


namespace {

const QString kTitle = QStringLiteral("Unwind Deal");
const QString kOther = QStringLiteral("Other");

template <typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

UnwindWindow::UnwindWindow(DealDatabase &database, Prompts &prompts, DealId deal,
                           std::optional<DealFingerprint> asRecalled, const QString &description,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts), m_deal(deal),
      m_asRecalled(std::move(asRecalled))
{
    setObjectName(QStringLiteral("frmUnwind"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *deal_ = named(new QLabel(description, this), "lblDeal");
    m_cboReason = named(new QComboBox(this), "cboReason");
    m_cboReason->addItems({QStringLiteral("Returned vehicle"), QStringLiteral("Finance rejected"),
                           QStringLiteral("Product cancelled"), kOther});
    m_txtReason = named(new QLineEdit(this), "txtReason");
    m_optWhole = named(new QRadioButton(QStringLiteral("The whole deal"), this), "optWhole");
    m_optWarranty =
        named(new QRadioButton(QStringLiteral("The warranty spiff"), this), "optWarranty");
    m_optSpiff = named(new QRadioButton(QStringLiteral("The spiff"), this), "optSpiff");
    m_optAmount = named(new QRadioButton(QStringLiteral("An amount:"), this), "optAmount");
    m_txtAmount = named(new QLineEdit(this), "txtAmount");
    m_optWhole->setChecked(true);
    m_cmdUnwind = named(new QPushButton(QStringLiteral("Unwind"), this), "cmdUnwind");
    m_cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Reason:"), m_cboReason);
    form->addRow(QStringLiteral("Other reason:"), m_txtReason);
    auto *parts = new QVBoxLayout;
    for (QRadioButton *option : {m_optWhole, m_optWarranty, m_optSpiff})
        parts->addWidget(option);
    auto *amount = new QHBoxLayout;
    amount->addWidget(m_optAmount);
    amount->addWidget(m_txtAmount);
    parts->addLayout(amount);
    form->addRow(QStringLiteral("What comes back:"), parts);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdUnwind);
    buttons->addWidget(m_cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(deal_);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_cboReason, &QComboBox::currentTextChanged, this, &UnwindWindow::updateFields);
    connect(m_optAmount, &QRadioButton::toggled, this, &UnwindWindow::updateFields);
    connect(m_cmdUnwind, &QPushButton::clicked, this, &UnwindWindow::cmdUnwind_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    updateFields();
}

void UnwindWindow::updateFields()
{
    m_txtReason->setEnabled(m_cboReason->currentText() == kOther);
    m_txtAmount->setEnabled(m_optAmount->isChecked());
}

void UnwindWindow::cmdUnwind_Click()
{
    UnwindRequest request{.deal = m_deal, .on = m_today, .reason = m_cboReason->currentText()};
    if (request.reason == kOther)
        request.reason = m_txtReason->text().trimmed().isEmpty()
                             ? QString()
                             : kOther + QStringLiteral(": ") + m_txtReason->text().trimmed();
    if (m_optWarranty->isChecked())
        request.part = UnwindRequest::Part::WarrantySpiff;
    else if (m_optSpiff->isChecked())
        request.part = UnwindRequest::Part::Spiff;
    else if (m_optAmount->isChecked()) {
        request.part = UnwindRequest::Part::Amount;
        const std::optional<Money> amount = MoneyText::parse(m_txtAmount->text());
        if (!amount) {
            m_prompts.message(QStringLiteral("Type the amount to charge back as a number, such "
                                             "as 250 or $1,200.00."),
                              kTitle, Prompts::Icon::Warning);
            return;
        }
        request.amount = *amount;
    }
    const DealUnwinds::Outcome outcome = DealUnwinds(m_database).unwind(request, m_asRecalled);
    if (!outcome.done) {
        m_prompts.message(QStringLiteral("The deal was not unwound.\n\n") + outcome.error, kTitle,
                          Prompts::Icon::Warning);
        return;
    }
    QStringList told{QStringLiteral("The deal was unwound.")};
    for (const Chargeback &line : outcome.chargebacks)
        told << QStringLiteral("%1 is charged back %2 on the next sheet.")
                    .arg(line.salesPerson, MoneyFormat::dollarsGrouped(line.amount));
    if (outcome.rowsTakenOff > 0)
        told << QStringLiteral("What was not paid yet is taken off every future sheet.");
    m_prompts.message(told.join(u'\n'), kTitle, Prompts::Icon::Information);
    close();
}
