#pragma once

#include "common/prompts.h"
#include "store/deal_fingerprint.h"
#include "store/deal_id.h"

#include <QDate>
#include <QWidget>

#include <functional>

class DealDatabase;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Unwind Deal" (frmUnwind): a recalled deal taken back, whole or in part,
// for a reason. A paid deal's pay is charged back on each salesperson's next
// sheet; a deal not yet paid leaves every future sheet. The deal itself is
// never changed.
class UnwindWindow : public QWidget
{
    Q_OBJECT

public:
    // `asRecalled`: the deal as stored when it was recalled; the unwind is
    // refused when another desk changed or paid it since.
    UnwindWindow(DealDatabase &database, Prompts &prompts, DealId deal,
                 std::optional<DealFingerprint> asRecalled, const QString &description,
                 QWidget *parent = nullptr);

    // The day the unwind is recorded on (today unless a test says otherwise).
    void setToday(const QDate &today) { m_today = today; }

private:
    void cmdUnwind_Click();
    void updateFields();

    DealDatabase &m_database;
    Prompts &m_prompts;
    DealId m_deal;
    std::optional<DealFingerprint> m_asRecalled;
    QDate m_today = QDate::currentDate();

    QComboBox *m_cboReason = nullptr;
    QLineEdit *m_txtReason = nullptr;
    QRadioButton *m_optWhole = nullptr;
    QRadioButton *m_optWarranty = nullptr;
    QRadioButton *m_optSpiff = nullptr;
    QRadioButton *m_optAmount = nullptr;
    QLineEdit *m_txtAmount = nullptr;
    QPushButton *m_cmdUnwind = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};
