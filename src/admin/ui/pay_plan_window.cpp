#include "admin/ui/pay_plan_window.h"

#include "admin/ui/plan_trial_window.h"

#include "common/money_format.h"
#include "common/prompts.h"
#include "store/deal_database.h"
#include "store/deal_store.h"
#include "store/pay_plan_store.h"
#include "worksheet/ui/center_form.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Pay Plans");
const std::array<const char *, PayPlanVersion::kClasses> kCodes = {"NC", "NT", "UC", "UT"};

QLineEdit *field(QWidget *parent, const QString &name, int width = 90)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(width * 3 / 4);
    edit->setMaximumWidth(width);
    return edit;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// A version made of the standing figures, for a salesperson with no plan yet.
PayPlanVersion fromStanding(const StandingFigures &standing)
{
    PayPlanVersion version;
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        PlanTerms &terms = version.terms.at(i);
        terms.percent = MoneyText::readPercent(standing.commission);
        terms.mini = MoneyText::readAmount(standing.mini);
        const bool used = i >= 2;
        terms.pack = MoneyText::readAmount(used ? standing.usedPack : standing.newPack);
    }
    version.warrantySpiff = MoneyText::readAmount(standing.warranty);
    return version;
}

} // namespace

PayPlanWindow::PayPlanWindow(DealDatabase &database, Prompts &prompts,
                             std::function<StandingFigures()> standing, QWidget *parent)
    : QWidget(parent, Qt::Window), m_database(database), m_prompts(prompts),
      m_standing(std::move(standing)), m_store(std::make_unique<PayPlanStore>(database))
{
    setObjectName(QStringLiteral("frmPayPlans"));
    setWindowTitle(kTitle);
    buildControls();
    reload();
    resize(sizeHint());
    CenterForm(this);
}

PayPlanWindow::~PayPlanWindow() = default;

void PayPlanWindow::buildControls()
{
    auto *page = new QHBoxLayout(this);

    auto *left = new QVBoxLayout;
    auto *lblSalesPersons = new QLabel(QStringLiteral("Sales &Person:"), this);
    lblSalesPersons->setObjectName(QStringLiteral("lblSalesPersons"));
    m_lstSalesPersons = new QListWidget(this);
    m_lstSalesPersons->setObjectName(QStringLiteral("lstSalesPersons"));
    lblSalesPersons->setBuddy(m_lstSalesPersons);
    auto *lblVersions = new QLabel(QStringLiteral("&Versions (newest first):"), this);
    lblVersions->setObjectName(QStringLiteral("lblVersions"));
    m_grdVersions = new QTableWidget(0, 2, this);
    m_grdVersions->setObjectName(QStringLiteral("grdVersions"));
    m_grdVersions->setHorizontalHeaderLabels({QStringLiteral("Effective From"),
                                              QStringLiteral("Used by Deals")});
    m_grdVersions->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grdVersions->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grdVersions->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grdVersions->verticalHeader()->hide();
    m_grdVersions->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grdVersions->setMinimumWidth(240);
    m_lstSalesPersons->setMinimumWidth(240);
    lblVersions->setBuddy(m_grdVersions);
    left->addWidget(lblSalesPersons);
    left->addWidget(m_lstSalesPersons, 1);
    left->addWidget(lblVersions);
    left->addWidget(m_grdVersions, 1);
    page->addLayout(left);

    auto *right = new QVBoxLayout;
    auto *top = new QFormLayout;
    m_txtEffectiveFrom = field(this, QStringLiteral("txtEffectiveFrom"), 110);
    m_txtEffectiveFrom->setPlaceholderText(QStringLiteral("MM/DD/YYYY"));
    top->addRow(QStringLiteral("&Effective From:"), m_txtEffectiveFrom);
    right->addLayout(top);

    auto *grid = new QGridLayout;
    const QStringList headings = {QStringLiteral("Unit Class"), QStringLiteral("Commission"),
                                  QStringLiteral("Percent / Amount"), QStringLiteral("Mini Deal"),
                                  QStringLiteral("Pack")};
    for (int column = 0; column < headings.size(); ++column)
        grid->addWidget(new QLabel(headings.at(column), this), 0, column);
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        const QString code = QString::fromLatin1(kCodes.at(i));
        ClassControls &row = m_classes.at(i);
        grid->addWidget(new QLabel(PlanForm::className(i), this), i + 1, 0);
        row.kind = new QComboBox(this);
        row.kind->setObjectName(QStringLiteral("cboKind") + code);
        row.kind->addItems({QStringLiteral("Percent of gross"), QStringLiteral("Flat a deal")});
        row.commission = field(this, QStringLiteral("txtCommission") + code);
        row.mini = field(this, QStringLiteral("txtMini") + code);
        row.pack = field(this, QStringLiteral("txtPack") + code);
        grid->addWidget(row.kind, i + 1, 1);
        grid->addWidget(row.commission, i + 1, 2);
        grid->addWidget(row.mini, i + 1, 3);
        grid->addWidget(row.pack, i + 1, 4);
    }
    right->addLayout(grid);

    auto *bottom = new QFormLayout;
    m_txtCap = field(this, QStringLiteral("txtCap"));
    m_txtCap->setToolTip(QStringLiteral("The most one deal pays in commission; empty: no cap"));
    m_txtWarranty = field(this, QStringLiteral("txtWarranty"));
    bottom->addRow(QStringLiteral("C&ap a deal:"), m_txtCap);
    bottom->addRow(QStringLiteral("&Warranty Spiff:"), m_txtWarranty);
    m_txtDraw = field(this, QStringLiteral("txtDraw"));
    m_txtDraw->setToolTip(QStringLiteral("The draw paid each month against the commissions; "
                                         "empty: no draw"));
    m_chkDrawRecoverable = new QCheckBox(QStringLiteral("Recoverable"), this);
    m_chkDrawRecoverable->setObjectName(QStringLiteral("chkDrawRecoverable"));
    m_chkDrawRecoverable->setToolTip(QStringLiteral("What the commissions do not cover is "
                                                    "carried on to later sheets; unchecked, it "
                                                    "is written off"));
    auto *draw = new QHBoxLayout;
    draw->addWidget(m_txtDraw);
    draw->addWidget(m_chkDrawRecoverable);
    draw->addStretch();
    bottom->addRow(QStringLiteral("D&raw a Month:"), draw);
    qobject_cast<QLabel *>(bottom->labelForField(draw))->setBuddy(m_txtDraw);
    right->addLayout(bottom);
    buildTierControls(right);

    m_lblNote = new QLabel(this);
    m_lblNote->setObjectName(QStringLiteral("lblNote"));
    m_lblNote->setWordWrap(true);
    right->addWidget(m_lblNote);
    right->addStretch();

    auto *buttons = new QHBoxLayout;
    m_cmdAdd = button(this, QStringLiteral("cmdAdd"), QStringLiteral("A&dd"));
    m_cmdSave = button(this, QStringLiteral("cmdSave"), QStringLiteral("&Save"));
    m_cmdDelete = button(this, QStringLiteral("cmdDelete"), QStringLiteral("De&lete"));
    m_cmdClose = button(this, QStringLiteral("cmdClose"), QStringLiteral("&Close"));
    m_cmdTryOnPastDeals = button(this, QStringLiteral("cmdTryOnPastDeals"),
                                 QStringLiteral("Try on Past Deals…"));
    m_cmdTryOnPastDeals->setToolTip(QStringLiteral("What the plan in the form would have paid "
                                                   "on past months' deals; nothing is paid or saved"));
    for (QPushButton *b : {m_cmdAdd, m_cmdSave, m_cmdDelete, m_cmdTryOnPastDeals, m_cmdClose})
        buttons->addWidget(b);
    right->addLayout(buttons);
    page->addLayout(right, 1);

    QList<QWidget *> order{m_lstSalesPersons, m_grdVersions, m_txtEffectiveFrom};
    for (const ClassControls &row : m_classes)
        order << row.kind << row.commission << row.mini << row.pack;
    order << m_txtCap << m_txtWarranty << m_txtDraw << m_chkDrawRecoverable << m_grdTiers
          << m_cmdAddTier << m_cmdRemoveTier << m_cboTierMode << m_cboTierClasses << m_cmdAdd
          << m_cmdSave << m_cmdDelete << m_cmdTryOnPastDeals << m_cmdClose;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));

    connect(m_lstSalesPersons, &QListWidget::currentRowChanged, this,
            &PayPlanWindow::salesPersonChosen);
    connect(m_grdVersions, &QTableWidget::currentCellChanged, this, &PayPlanWindow::versionChosen);
    connect(m_cmdAdd, &QPushButton::clicked, this, &PayPlanWindow::addVersion);
    connect(m_cmdSave, &QPushButton::clicked, this, &PayPlanWindow::saveVersion);
    connect(m_cmdDelete, &QPushButton::clicked, this, &PayPlanWindow::deleteVersion);
    connect(m_cmdTryOnPastDeals, &QPushButton::clicked, this, &PayPlanWindow::tryOnPastDeals);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void PayPlanWindow::reload()
{
    const QString chosen = salesPerson();
    QString error;
    const QStringList names = DealStore(m_database).salesPersons(&error);
    if (!error.isEmpty())
        m_prompts.message(error, kTitle, Prompts::Icon::Warning);
    {
        const QSignalBlocker blocker(m_lstSalesPersons);
        m_lstSalesPersons->clear();
        m_lstSalesPersons->addItems(names);
    }
    const qsizetype at = names.indexOf(chosen);
    m_lstSalesPersons->setCurrentRow(at >= 0 ? int(at) : (names.isEmpty() ? -1 : 0));
    salesPersonChosen();
}

QString PayPlanWindow::salesPerson() const
{
    const QListWidgetItem *item = m_lstSalesPersons->currentItem();
    return item ? item->text() : QString();
}

std::optional<PayPlanVersion> PayPlanWindow::shownVersion() const
{
    const int row = m_grdVersions->currentRow();
    if (m_draft || row < 0 || row >= m_versions.size())
        return std::nullopt;
    return m_versions.at(row);
}

void PayPlanWindow::salesPersonChosen()
{
    m_draft = false;
    m_versions.clear();
    m_used.clear();
    QString error;
    if (!salesPerson().isEmpty()) {
        if (const auto versions = m_store->versionsOf(salesPerson(), &error))
            m_versions = *versions;
        else
            m_prompts.message(error, kTitle, Prompts::Icon::Warning);
    }
    for (const PayPlanVersion &version : std::as_const(m_versions))
        m_used << m_store->isUsed(version.id).value_or(true);
    const QSignalBlocker blocker(m_grdVersions);
    m_grdVersions->setRowCount(int(m_versions.size()));
    for (int row = 0; row < m_versions.size(); ++row) {
        auto *date = new QTableWidgetItem(PlanForm::dateText(m_versions.at(row).effectiveFrom));
        auto *used = new QTableWidgetItem(m_used.at(row) ? QStringLiteral("Yes") : QStringLiteral("No"));
        m_grdVersions->setItem(row, 0, date);
        m_grdVersions->setItem(row, 1, used);
    }
    m_grdVersions->setCurrentCell(m_versions.isEmpty() ? -1 : 0, 0);
    versionChosen();
}

void PayPlanWindow::versionChosen()
{
    m_draft = false;
    const std::optional<PayPlanVersion> version = shownVersion();
    if (!version) {
        showForm(PlanForm{}, true);
        setFormEnabled(false);
        m_lblNote->setText(salesPerson().isEmpty()
                               ? QString()
                               : QStringLiteral("%1 has no pay plan: the standing figures apply. "
                                                "Add gives a plan.")
                                     .arg(salesPerson()));
        m_cmdSave->setEnabled(false);
        m_cmdDelete->setEnabled(false);
        return;
    }
    const bool used = m_used.value(m_grdVersions->currentRow(), true);
    setFormEnabled(true);
    showForm(PlanForm::of(*version), used);
    m_lblNote->setText(used ? QStringLiteral("Saved deals were worked out with this version: it "
                                             "cannot be changed. A change to the plan is a new "
                                             "version from a later date (Add).")
                            : QString());
    m_cmdSave->setEnabled(true);
    m_cmdDelete->setEnabled(true);
}

void PayPlanWindow::setFormEnabled(bool enabled)
{
    m_txtEffectiveFrom->setEnabled(enabled);
    for (const ClassControls &row : m_classes) {
        for (QWidget *w : QList<QWidget *>{row.kind, row.commission, row.mini, row.pack})
            w->setEnabled(enabled);
    }
    for (QWidget *w : QList<QWidget *>{m_txtCap, m_txtWarranty, m_txtDraw, m_chkDrawRecoverable})
        w->setEnabled(enabled);
    setTierControlsEnabled(enabled);
}

void PayPlanWindow::showForm(const PlanForm &form, bool readOnly)
{
    m_txtEffectiveFrom->setText(form.effectiveFrom);
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        const PlanForm::ClassRow &figures = form.classes.at(i);
        ClassControls &row = m_classes.at(i);
        row.kind->setCurrentIndex(figures.flat ? 1 : 0);
        row.commission->setText(figures.commission);
        row.mini->setText(figures.mini);
        row.pack->setText(figures.pack);
        row.kind->setEnabled(row.kind->isEnabled() && !readOnly);
        for (QLineEdit *edit : {row.commission, row.mini, row.pack})
            edit->setReadOnly(readOnly);
    }
    m_txtCap->setText(form.cap);
    m_txtWarranty->setText(form.warrantySpiff);
    m_txtDraw->setText(form.draw);
    m_chkDrawRecoverable->setChecked(form.drawRecoverable);
    m_chkDrawRecoverable->setEnabled(m_chkDrawRecoverable->isEnabled() && !readOnly);
    for (QLineEdit *edit : {m_txtEffectiveFrom, m_txtCap, m_txtWarranty, m_txtDraw})
        edit->setReadOnly(readOnly);
    showTiers(form, readOnly);
}

PlanForm PayPlanWindow::readForm() const
{
    PlanForm form;
    form.effectiveFrom = m_txtEffectiveFrom->text();
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        const ClassControls &row = m_classes.at(i);
        form.classes.at(i) = {row.kind->currentIndex() == 1, row.commission->text(),
                              row.mini->text(), row.pack->text()};
    }
    form.cap = m_txtCap->text();
    form.warrantySpiff = m_txtWarranty->text();
    form.draw = m_txtDraw->text();
    form.drawRecoverable = m_chkDrawRecoverable->isChecked();
    readTiers(form);
    return form;
}

void PayPlanWindow::addVersion()
{
    if (salesPerson().isEmpty())
        return;
    if (m_draft && !mayDropDraft())
        return;
    // The copy starts from the version in force today, else the newest, else
    // the standing figures.
    const QDate today = QDate::currentDate();
    std::optional<PayPlanVersion> start = PayPlan::inForce(m_versions, today);
    if (!start && !m_versions.isEmpty())
        start = m_versions.first();
    PayPlanVersion copy = start ? *start : fromStanding(m_standing ? m_standing() : StandingFigures{});
    copy.effectiveFrom = today;
    {
        const QSignalBlocker blocker(m_grdVersions);
        m_grdVersions->clearSelection();
        m_grdVersions->setCurrentCell(-1, -1);
    }
    setFormEnabled(true);
    showForm(PlanForm::of(copy), false);
    m_draft = true;
    m_lblNote->setText(QStringLiteral("A new version for %1: give the date it starts from, change "
                                      "the figures and Save.")
                           .arg(salesPerson()));
    m_cmdSave->setEnabled(true);
    m_cmdDelete->setEnabled(true);
    m_txtEffectiveFrom->setFocus();
    m_txtEffectiveFrom->selectAll();
}

void PayPlanWindow::refusal(const QString &message)
{
    m_prompts.message(message, kTitle, Prompts::Icon::Warning);
}

void PayPlanWindow::saveVersion()
{
    const std::optional<PayPlanVersion> shown = shownVersion();
    if (!m_draft && !shown)
        return;
    if (shown && m_used.value(m_grdVersions->currentRow(), true)) {
        refusal(PayPlanStore::usedCannotChangeMessage());
        return;
    }
    QList<PayPlanVersion> others;
    for (const PayPlanVersion &version : std::as_const(m_versions)) {
        if (!shown || version.id != shown->id)
            others << version;
    }
    finishTierEdit();
    QString problem;
    std::optional<PayPlanVersion> version = readForm().read(salesPerson(), others, &problem);
    if (!version) {
        refusal(problem);
        return;
    }
    QString error;
    std::optional<qint64> savedId;
    if (m_draft) {
        savedId = m_store->add(*version, &error);
    } else {
        version->id = shown->id;
        if (m_store->change(*version, &error))
            savedId = version->id;
    }
    if (!savedId) {
        refusal(error);
        return;
    }
    salesPersonChosen();
    for (int row = 0; row < m_versions.size(); ++row) {
        if (m_versions.at(row).id == *savedId)
            m_grdVersions->setCurrentCell(row, 0);
    }
}

void PayPlanWindow::deleteVersion()
{
    if (m_draft) {
        salesPersonChosen();
        return;
    }
    const std::optional<PayPlanVersion> shown = shownVersion();
    if (!shown)
        return;
    if (m_used.value(m_grdVersions->currentRow(), true)) {
        refusal(PayPlanStore::usedCannotDeleteMessage());
        return;
    }
    const QString question = QStringLiteral("Do you want to delete the pay plan version of %1 "
                                            "from %2?")
                                 .arg(salesPerson(), PlanForm::dateText(shown->effectiveFrom));
    if (m_prompts.message(question, kTitle, Prompts::Icon::Question, Prompts::Buttons::YesNo) !=
        Prompts::Answer::Yes)
        return;
    QString error;
    if (!m_store->remove(shown->id, &error))
        refusal(error);
    salesPersonChosen();
}

PlanTrialWindow *PayPlanWindow::trialWindow() const
{
    return m_trial;
}

void PayPlanWindow::tryOnPastDeals()
{
    const std::optional<PayPlanVersion> shown = shownVersion();
    if (!m_draft && !shown)
        return;
    finishTierEdit();
    QString problem;
    const std::optional<PayPlanVersion> plan = readForm().read(salesPerson(), {}, &problem);
    if (!plan) {
        refusal(problem);
        return;
    }
    QString name = m_draft ? QStringLiteral("the new version of %1, not saved").arg(salesPerson())
                           : QStringLiteral("the version of %1 from %2")
                                 .arg(salesPerson(), PlanForm::dateText(shown->effectiveFrom));
    if (shown) {
        PayPlanVersion asShown = *plan;
        asShown.id = shown->id;
        asShown.salesPerson = shown->salesPerson;
        if (asShown != *shown)
            name += QStringLiteral(", as changed in the form");
    }
    QStringList roster;
    for (int row = 0; row < m_lstSalesPersons->count(); ++row)
        roster << m_lstSalesPersons->item(row)->text();
    if (m_trial)
        m_trial->close();
    m_trial = new PlanTrialWindow(m_database, m_prompts, *plan, name, roster, salesPerson(), this);
    m_trial->show();
}

bool PayPlanWindow::mayDropDraft()
{
    return m_prompts.message(QStringLiteral("The new version of %1 is not saved. Drop it?")
                                 .arg(salesPerson()),
                             kTitle, Prompts::Icon::Question, Prompts::Buttons::YesNo) ==
           Prompts::Answer::Yes;
}

void PayPlanWindow::closeEvent(QCloseEvent *event)
{
    if (m_draft && !mayDropDraft()) {
        event->ignore();
        return;
    }
    m_draft = false;
    event->accept();
}
