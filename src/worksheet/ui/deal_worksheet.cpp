#include "worksheet/ui/deal_worksheet.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

DealWorksheet::DealWorksheet(const ProgramFolder &folder, Prompts &prompts, QWidget *parent)
    : QMainWindow(parent), m_folder(folder), m_prompts(prompts)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvex"));
    m_ui.setupUi(this);

    connectChecks();
    connectPlan();
    appraisalChanged(m_ui.Text19->text());
    allowanceChanged(m_ui.Text20->text());
    splitToggled(m_ui.ToggleButton1->isChecked());
    m_ui.cmdDeleteRecall->hide();
    m_ui.lblWarn->hide();

    connect(m_ui.Command2, &QPushButton::clicked, this, &DealWorksheet::printRequested);
    connect(m_ui.Command3, &QPushButton::clicked, this, &DealWorksheet::calculateCommission);
    connect(m_ui.cmdClear, &QPushButton::clicked, this, &DealWorksheet::clearDeal);
    connect(m_ui.cmdDeleteRecall, &QPushButton::clicked, this, &DealWorksheet::deleteRecallRequested);
    // The open removal panel follows the unit list when the page changes size.
    m_ui.content->installEventFilter(this);
}

DealWorksheet::~DealWorksheet() = default;

void DealWorksheet::applyState(WorksheetState state)
{
    m_state = state;
    switch (state) {
    case WorksheetState::NewDeal:
        dealSaved = false;
        dealPaid = false;
        break;
    case WorksheetState::Saved:
        dealSaved = true;
        break;
    case WorksheetState::Recalled:
        dealPaid = false;
        break;
    case WorksheetState::RecalledAndPaid:
        dealPaid = true;
        break;
    }
    const auto controls = controlsForState(state);
    if (!controls)
        return;
    setCommand2Caption(controls->printCaption);
    setCommand2Enabled(controls->printEnabled);
    showDeleteRecall(controls->deleteVisible);
    showPaidWarning(controls->warningVisible);
    setSaveCommand(controls->saveCaption, controls->saveEnabled);
}

void DealWorksheet::setSaveCommand(const QString &caption, bool enabled)
{
    if (caption == m_saveCaption && enabled == m_saveEnabled)
        return;
    m_saveCaption = caption;
    m_saveEnabled = enabled;
    emit saveCommandChanged(caption, enabled);
}

bool DealWorksheet::isFlagRecall() const
{
    return m_ui.FlagRecall->isChecked();
}

void DealWorksheet::setFlagRecall(bool flagged)
{
    m_ui.FlagRecall->setChecked(flagged);
}

QString DealWorksheet::command2Caption() const
{
    return m_ui.Command2->text();
}

void DealWorksheet::setCommand2Caption(const QString &caption)
{
    m_ui.Command2->setText(caption);
}

bool DealWorksheet::isCommand2Enabled() const
{
    return m_ui.Command2->isEnabled();
}

void DealWorksheet::setCommand2Enabled(bool enabled)
{
    m_ui.Command2->setEnabled(enabled);
}

void DealWorksheet::showDeleteRecall(bool visible)
{
    m_ui.cmdDeleteRecall->setVisible(visible);
}

void DealWorksheet::showPaidWarning(bool visible)
{
    m_ui.lblWarn->setVisible(visible);
}

void DealWorksheet::handleActivation()
{
    if (isFlagRecall())
        emit recallActivated();
}

bool DealWorksheet::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate)
        handleActivation();
    return handled;
}

bool DealWorksheet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.content && event->type() == QEvent::Resize && m_ui.Frame1->isVisible())
        placeUnitPanel();
    return QMainWindow::eventFilter(watched, event);
}

void DealWorksheet::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
