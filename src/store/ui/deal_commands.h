#pragma once

#include "common/permissions.h"
#include "store/deal_fingerprint.h"
#include "store/deal_id.h"
#include "worksheet/deal.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class DealFinderWindow;
class DealStore;
class DealWorksheet;
class Prompts;

// The worksheet's deal commands that reach the database: saving the deal on
// screen (new, or replacing the recalled one), opening the finder and
// showing the deal chosen there, selecting the recalled deal each time the
// worksheet is activated, and deleting it.
//
// The recalled deal is held by its identity from the moment it is chosen
// until the worksheet is cleared, so a correction or a delete acts on exactly
// that deal even when another deal shares its stock number. A paid deal is
// never saved again by any route. The deal is also kept as it was stored when
// it was recalled: a correction or a delete of a deal that another desk has
// changed, paid or deleted since is refused, and the worksheet left as it is.
class DealCommands : public QObject
{
    Q_OBJECT

public:
    DealCommands(DealWorksheet &form, DealStore &store, Prompts &prompts, QObject *parent = nullptr);
    ~DealCommands() override;

    // Who works on the worksheet: a role that may not enter deals is refused
    // a save or a delete, and a salesperson is shown only their own deals.
    void setAccess(const Access &access) { m_access = access; }

    // Fills the worksheet's salesperson lists from the roster.
    void loadSalesPersons();

    // SaveDeal: asks, then writes the deal's rows in one transaction.
    void saveDeal();
    // After the commission slip has been printed: a deal not saved yet is
    // saved (asking first); a saved or paid deal is left as it is, silently.
    void saveAfterPrint();
    // Recall Deal: clears the worksheet and shows the finder.
    void openFinder();
    // The worksheet was activated with a recalled deal flagged.
    void selectRecalledDeal();
    // DeleteRecord: asks, then removes the recalled deal's rows.
    void deleteRecord();

    // The identity of the deal recalled onto the worksheet, if any.
    std::optional<DealId> recalledDeal() const { return m_recalled; }
    // The recalled deal as it was stored when it was recalled.
    const std::optional<DealFingerprint> &asRecalled() const { return m_asRecalled; }
    // The finder, once it has been opened.
    DealFinderWindow *finder() const { return m_finder.get(); }

private:
    void showChosenDeal(qint64 dealId, const Deal &deal);
    void forgetRecalledDeal();
    // The save's error message: the data's, or what the store said.
    QString saveFailureMessage(const QString &storeError) const;
    void errorPath(const QString &message);

    DealWorksheet &m_form;
    DealStore &m_store;
    Prompts &m_prompts;
    Access m_access;
    std::unique_ptr<DealFinderWindow> m_finder;
    std::optional<DealId> m_recalled;
    // The recalled deal as it was stored when it was recalled.
    std::optional<DealFingerprint> m_asRecalled;
    QString m_lastCustomerName; // of the recalled deal's last SalesSummary row
};
