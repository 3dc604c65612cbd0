#include "store/ui/deal_commands.h"

#include "store/deal_unwinds.h"

#include "common/prompts.h"
#include "common/ui/bring_up.h"
#include "store/deal_store.h"
#include "store/recall_columns.h"
#include "store/ui/deal_finder_window.h"
#include "worksheet/ui/center_form.h"
#include "worksheet/ui/deal_worksheet.h"

namespace {

const QString kUpdate = QStringLiteral("Update");
const QString kErrorTitle = QStringLiteral("Error!");

} // namespace

DealCommands::DealCommands(DealWorksheet &form, DealStore &store, Prompts &prompts, QObject *parent)
    : QObject(parent), m_form(form), m_store(store), m_prompts(prompts)
{
    connect(&m_form, &DealWorksheet::recallActivated, this, &DealCommands::selectRecalledDeal);
    connect(&m_form, &DealWorksheet::deleteRecallRequested, this, &DealCommands::deleteRecord);
    connect(&m_form, &DealWorksheet::dealCleared, this, &DealCommands::forgetRecalledDeal);
}

DealCommands::~DealCommands() = default;

void DealCommands::loadSalesPersons()
{
    QString error;
    const QStringList names = m_store.salesPersons(&error);
    if (!error.isEmpty())
        m_prompts.message(QStringLiteral("The salesperson list could not be read.\n\n%1").arg(error),
                          {}, Prompts::Icon::Warning);
    m_form.setSalesPersons(names);
}

void DealCommands::saveDeal()
{
    if (!m_access.check(Permissions::Command::EnterDeal, m_prompts))
        return;
    // A paid deal was paid from its stored rows; writing it again, as a
    // correction or as a new copy, would pay it twice.
    if (m_recalled && (m_form.isDealPaid() || m_store.isPaid(*m_recalled))) {
        m_prompts.message(QStringLiteral("This deal has been \"PAID\" and cannot be saved again."),
                          kErrorTitle, Prompts::Icon::Warning);
        return;
    }
    if (m_form.isDealSaved()) {
        m_prompts.message(QStringLiteral("This record has already been saved!"), kErrorTitle);
        return;
    }

    const auto answer = m_prompts.message(QStringLiteral("Do you want to save this record?"),
                                          QStringLiteral("Save Record"), Prompts::Icon::None,
                                          Prompts::Buttons::YesNoCancel);
    m_form.setMessageResult(answer);
    if (answer != Prompts::Answer::Yes)
        return; // nothing written; a recalled deal stays stored as it was

    // A recalled deal is replaced, old rows and new in one transaction.
    const Deal deal = m_form.deal();
    QString error;
    const auto saved = m_recalled ? m_store.replace(*m_recalled, m_asRecalled, deal, &error)
                                  : m_store.save(deal, &error);
    if (!saved && m_store.changedElsewhere()) {
        // Nothing was written and the worksheet keeps what the user typed.
        m_prompts.message(error, kErrorTitle, Prompts::Icon::Warning);
        return;
    }
    if (!saved) {
        errorPath(saveFailureMessage(error));
        return;
    }

    if (m_recalled) {
        m_form.setCommand2Caption(QStringLiteral("Print"));
        m_form.showDeleteRecall(false); // its rows were just replaced
    }
    m_form.setFlagRecall(false);
    m_form.applyState(WorksheetState::Saved);
    m_prompts.message(QStringLiteral("Data for %1 saved.").arg(deal.customer),
                      QStringLiteral("Save"));
}

void DealCommands::saveAfterPrint()
{
    if (m_form.isDealSaved())
        return;
    if (m_recalled && (m_form.isDealPaid() || m_store.isPaid(*m_recalled)))
        return; // a paid deal may be reprinted, never saved again
    saveDeal();
}

QString DealCommands::saveFailureMessage(const QString &storeError) const
{
    // Retyping the deal helps only when its data was at fault; a failure of
    // the store is named, so the user knows what to mend.
    switch (m_store.lastWriteFault()) {
    case StoreSql::Fault::DiskFull:
        return QStringLiteral("The deal was not saved: the disk is full.");
    case StoreSql::Fault::ReadOnly:
        return QStringLiteral("The deal was not saved: the database cannot be written.");
    case StoreSql::Fault::Store:
    case StoreSql::Fault::Conflict:
    case StoreSql::Fault::LockWait:
    case StoreSql::Fault::Connection:
        return storeError;
    case StoreSql::Fault::None:
    case StoreSql::Fault::Data:
        break;
    }
    return QStringLiteral("There is an error in the data! Make sure you entered all required data.");
}

void DealCommands::errorPath(const QString &message)
{
    m_prompts.message(message, kErrorTitle, Prompts::Icon::Warning);
    m_form.showDeleteRecall(false);
    m_form.showPaidWarning(false);
    m_form.setFlagRecall(false);
    m_form.setDealPaid(false);
    m_form.setCommand2Caption(QStringLiteral("Print"));
    m_form.setCommand2Enabled(true);
    // The recalled deal is still stored as it was (nothing of the save was
    // written), so a corrected save still replaces it rather than adding a
    // second copy.
}

void DealCommands::openFinder()
{
    m_form.clearDeal();
    if (!m_finder) {
        m_finder = std::make_unique<DealFinderWindow>(m_store, m_prompts);
        connect(m_finder.get(), &DealFinderWindow::dealChosen, this,
                &DealCommands::showChosenDeal);
        m_finder->adjustSize();
        CenterForm(m_finder.get());
    }
    m_finder->openOnWholeTable();
    m_form.setFlagRecall(false);
    bringUp(*m_finder);
}

void DealCommands::showChosenDeal(qint64 dealId, const Deal &deal)
{
    if (m_access.role() == Role::Salesperson &&
        deal.salesPerson.compare(m_access.salesPerson(), Qt::CaseInsensitive) != 0 &&
        (!deal.split ||
         deal.splitPartner.compare(m_access.salesPerson(), Qt::CaseInsensitive) != 0)) {
        m_prompts.message(QStringLiteral("This deal is not one of yours, %1.")
                              .arg(m_access.salesPerson()),
                          kErrorTitle, Prompts::Icon::Warning);
        return;
    }
    // What a later correction or delete compares with. The worksheet shows
    // the deal as this read found it, so the two agree.
    QString error;
    m_asRecalled = m_store.fingerprint(dealId, &error);
    m_form.setFlagRecall(true);
    m_form.showDeal(m_asRecalled && !m_asRecalled->recall.isEmpty()
                        ? RecallColumns::dealFrom(m_asRecalled->recall)
                        : deal);
    m_recalled = dealId;
    // An unwound deal is shown as it was sold, and says so; the store
    // refuses any save over it.
    const std::optional<std::optional<UnwindRecord>> unwound = m_store.unwindOf(dealId, &error);
    if (unwound && *unwound)
        m_prompts.message(DealUnwinds::unwoundMessage(**unwound), QStringLiteral("Unwound Deal"),
                          Prompts::Icon::Information);
    // The worksheet selects the deal when it is next activated; do it now as
    // well, so the state is right even where the desktop does not hand the
    // activation back to the worksheet.
    m_form.activateWindow();
    m_form.handleActivation();
}

void DealCommands::selectRecalledDeal()
{
    if (!m_recalled)
        return;
    QString error;
    auto state = m_store.recalledDealState(*m_recalled, &error);
    if (!state) {
        m_prompts.message(
            QStringLiteral("The recalled deal could not be read from the database.\n\n%1").arg(error),
            {}, Prompts::Icon::Warning);
        state = RecalledDealState{};
    }
    m_form.setSummaryRows(qint16(state->summaryRowCount));
    m_lastCustomerName = state->lastCustomerName;
    m_form.applyState(state->paid ? WorksheetState::RecalledAndPaid : WorksheetState::Recalled);
}

void DealCommands::deleteRecord()
{
    if (!m_recalled || m_form.command2Caption() != kUpdate)
        return;
    if (!m_access.check(Permissions::Command::EnterDeal, m_prompts))
        return;
    const auto answer = m_prompts.message(
        QStringLiteral("Do you want to Delete %1 from database?").arg(m_lastCustomerName),
        QStringLiteral("Delete Record"), Prompts::Icon::None, Prompts::Buttons::YesNoCancel);
    m_form.setMessageResult(answer);
    if (answer != Prompts::Answer::Yes)
        return;
    QString error;
    if (!m_store.remove(*m_recalled, m_asRecalled, &error)) {
        m_prompts.message(m_store.changedElsewhere()
                              ? error
                              : QStringLiteral("The deal was not deleted.\n\n%1").arg(error),
                          QStringLiteral("Delete Record"), Prompts::Icon::Warning);
        return;
    }
    m_form.clearDeal();
}

void DealCommands::forgetRecalledDeal()
{
    m_recalled.reset();
    m_asRecalled.reset();
    m_lastCustomerName.clear();
}
