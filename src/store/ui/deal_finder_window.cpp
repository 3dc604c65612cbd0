#include "deal_finder_window.h"

#include "common/ui/bring_up.h"
#include "common/ui/record_bar.h"

#include "common/money_format.h"
#include "common/prompts.h"
#include "store/deal_store.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kBlankCaption = QStringLiteral("    ");

template <typename Widget> Widget *named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QString stockPrompt()
{
    return QStringLiteral("Enter Stock Number");
}

QString namePrompt()
{
    return QStringLiteral("Enter any part of customer name");
}

} // namespace

DealFinderWindow::DealFinderWindow(DealStore &store, Prompts &prompts, QWidget *parent)
    : QWidget(parent, Qt::Window), m_store(store), m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmSaleData"));
    setWindowTitle(QStringLiteral("Recall Deal"));
    buildControls();
    closeOnEscape(*this);

    connect(m_optStock, &QRadioButton::toggled, this, &DealFinderWindow::searchKindChosen);
    connect(m_optName, &QRadioButton::toggled, this, &DealFinderWindow::searchKindChosen);
    connect(m_cmdFind, &QPushButton::clicked, this, &DealFinderWindow::search);
    connect(m_txtSearchString, &QLineEdit::returnPressed, this, &DealFinderWindow::search);
    connect(m_cmdLoad, &QPushButton::clicked, this, &DealFinderWindow::loadChosenDeal);
    connect(m_cmdExit, &QPushButton::clicked, this, &DealFinderWindow::close);
    connect(m_data1, &RecordBar::stepRequested, this, &DealFinderWindow::moveTo);

    openOnWholeTable();
}

void DealFinderWindow::buildControls()
{
    m_heading =
        named(new QLabel(QStringLiteral("Search for deal by:"), this), QStringLiteral("Label1"));
    m_optStock =
        named(new QRadioButton(QStringLiteral("Stock Number"), this), QStringLiteral("optStock"));
    m_optName =
        named(new QRadioButton(QStringLiteral("Customer Name"), this), QStringLiteral("optName"));
    m_lblSearch = named(new QLabel(stockPrompt(), this), QStringLiteral("lblSearch"));
    m_txtSearchString = named(new QLineEdit(this), QStringLiteral("txtSearchString"));
    m_lblSearch->setBuddy(m_txtSearchString);
    m_cmdFind = named(new QPushButton(QStringLiteral("Search"), this), QStringLiteral("cmdFind"));
    m_cmdLoad =
        named(new QPushButton(QStringLiteral("Recall Deal"), this), QStringLiteral("cmdLoad"));
    m_cmdExit = named(new QPushButton(QStringLiteral("Exit"), this), QStringLiteral("cmdExit"));
    m_data1 = named(new RecordBar(kBlankCaption, this), QStringLiteral("Data1"));

    auto *options = new QHBoxLayout;
    options->addWidget(m_heading);
    options->addWidget(m_optStock);
    options->addWidget(m_optName);
    options->addStretch();

    auto *searchLine = new QHBoxLayout;
    searchLine->addWidget(m_lblSearch);
    searchLine->addWidget(m_txtSearchString, 1);
    searchLine->addWidget(m_cmdFind);

    const std::array<QString, kShownFields> captions = {
        QStringLiteral("Date:"),    QStringLiteral("SalesPerson:"), QStringLiteral("Customer:"),
        QStringLiteral("StockNo:"), QStringLiteral("Year:"),        QStringLiteral("Unit:")};
    auto *fields = new QGridLayout;
    for (int i = 0; i < kShownFields; ++i) {
        m_lblLabels[i] =
            named(new QLabel(captions[i], this), QStringLiteral("lblLabels_%1").arg(i));
        m_txtFields[i] = named(new QLineEdit(this), QStringLiteral("txtFields_%1").arg(i));
        m_txtFields[i]->setReadOnly(true);
        m_lblLabels[i]->setBuddy(m_txtFields[i]);
        fields->addWidget(m_lblLabels[i], i, 0);
        fields->addWidget(m_txtFields[i], i, 1);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdLoad);
    buttons->addWidget(m_cmdExit);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(searchLine);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(m_data1);
}

void DealFinderWindow::openOnWholeTable()
{
    m_dealChosen = false;
    m_searched = false;
    m_optStock->setChecked(true);
    m_lblSearch->setText(stockPrompt());
    m_txtSearchString->clear();
    m_cmdLoad->setEnabled(false);
    // Only the count and the first deal are read; the rest as the user steps.
    QString error;
    const std::optional<qint64> count = m_store.dealCount(&error);
    const std::optional<DealId> first =
        count ? m_store.neighbour(std::nullopt, DealStore::Direction::Forward, &error)
              : std::nullopt;
    if (!error.isEmpty())
        m_prompts.message(error, QStringLiteral("Recall Deal"), Prompts::Icon::Warning);
    m_rows.clear();
    m_wholeTable = true;
    m_rowCount = first ? int(qMax<qint64>(count.value_or(1), 1)) : 0;
    showRow(first ? 0 : -1, first);
    m_data1->setCaption(kBlankCaption);
}

void DealFinderWindow::searchKindChosen(bool checked)
{
    // Each option button reports its own change; act once, for the one chosen.
    if (!checked)
        return;
    m_lblSearch->setText(m_optStock->isChecked() ? stockPrompt() : namePrompt());
    m_txtSearchString->clear();
    m_txtSearchString->setFocus();
}

void DealFinderWindow::search()
{
    const QString text = m_txtSearchString->text().trimmed();
    if (text.isEmpty()) {
        m_prompts.message(
            QStringLiteral("You must enter a stock number or part of customer name!"));
        return;
    }
    QString error;
    const QList<DealId> rows = m_optStock->isChecked() ? m_store.findByStockNumber(text, &error)
                                                       : m_store.findByCustomerPart(text, &error);
    if (!error.isEmpty()) {
        m_prompts.message(error, QStringLiteral("Find"), Prompts::Icon::Warning);
        return;
    }
    m_searched = true;
    setRows(rows);
    m_cmdLoad->setEnabled(!rows.isEmpty());
    if (rows.isEmpty())
        m_prompts.message(QStringLiteral("No records matches your search"), QStringLiteral("Find"));
}

void DealFinderWindow::setRows(const QList<DealId> &rows)
{
    m_rows = rows;
    m_wholeTable = false;
    m_rowCount = int(rows.size());
    showRow(rows.isEmpty() ? -1 : 0, rows.isEmpty() ? std::nullopt : std::optional(rows.first()));
}

void DealFinderWindow::moveTo(RecordBar::Step step)
{
    const int position = m_data1->target(step);
    if (position < 0 || position >= m_rowCount)
        return;
    if (!m_wholeTable) {
        showRow(position, m_rows.at(position));
        return;
    }
    using Direction = DealStore::Direction;
    std::optional<DealId> id;
    switch (step) {
    case RecordBar::Step::First:
        id = m_store.neighbour(std::nullopt, Direction::Forward);
        break;
    case RecordBar::Step::Last:
        id = m_store.neighbour(std::nullopt, Direction::Backward);
        break;
    case RecordBar::Step::Next:
        id = m_store.neighbour(m_shown, Direction::Forward);
        break;
    case RecordBar::Step::Previous:
        id = m_store.neighbour(m_shown, Direction::Backward);
        break;
    }
    // A deal deleted since the count leaves the place shown as it was.
    if (id)
        showRow(position, id);
}

void DealFinderWindow::showRow(int position, std::optional<DealId> id)
{
    m_shown = id;
    m_data1->setPlace(position, m_rowCount);
    if (m_searched)
        m_data1->setCaption(QStringLiteral("Record: %1 of %2").arg(position + 1).arg(m_rowCount));
    std::optional<Deal> deal;
    if (id)
        deal = m_store.loadDeal(*id);
    const Deal shown = deal.value_or(Deal{});
    const std::array<QString, kShownFields> values = {
        shown.date.isValid() ? DateFormat::picture(shown.date, QStringLiteral("mm/dd/yyyy"))
                             : QString(),
        shown.salesPerson,
        shown.customer,
        shown.stockNumber,
        shown.year,
        shown.unit};
    for (int i = 0; i < kShownFields; ++i) {
        m_txtFields[i]->setText(values[i]);
        m_txtFields[i]->setCursorPosition(0);
    }
}

void DealFinderWindow::loadChosenDeal()
{
    if (!m_shown)
        return;
    const DealId id = *m_shown;
    QString error;
    const std::optional<Deal> deal = m_store.loadDeal(id, &error);
    if (!deal) {
        m_prompts.message(error, QStringLiteral("Recall Deal"), Prompts::Icon::Warning);
        return;
    }
    m_dealChosen = true;
    emit dealChosen(id, *deal);
    close();
}

void DealFinderWindow::closeEvent(QCloseEvent *event)
{
    if (!m_dealChosen)
        emit finderClosed();
    QWidget::closeEvent(event);
}
