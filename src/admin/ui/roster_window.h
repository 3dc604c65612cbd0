#pragma once

#include "admin/ui/record_window.h"

#include <QPointer>

class DealDatabase;
class PayrollCodesWindow;
class QCloseEvent;
class QLabel;

// The roster window "Add/Delete Salesperson" (frmAdd2): the SalesPersons
// table a name at a time, with Add, Delete, Save, Edit and Close.
//
// A name changed in the field is written when the user moves to another
// record or closes the window; a record started with Add is stored only by
// Save, and dropped when the user moves away or closes first. The last
// salesperson is never deleted. Payroll… opens the payroll ID and earnings
// codes of the salesperson shown.
class RosterWindow : public RecordWindow
{
    Q_OBJECT

public:
    RosterWindow(DealDatabase &database, Prompts &prompts, QWidget *parent = nullptr);

    // The state the window opens in: the first salesperson, Save disabled.
    void openOnFirstRecord() override;
    // Puts the keyboard focus into the name field.
    void focusName();
    // The payroll window once Payroll… has opened it; nullptr before.
    PayrollCodesWindow *payrollCodes() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool leaveRecord() override;
    void dataError(const QString &error) override;
    bool storesNewRecordOnLeave() const override { return false; }

private:
    void buildControls();
    void add();
    void edit();
    void save();
    void deleteCheck();
    void cmdPayroll_Click();

    DealDatabase &m_database;
    QPointer<PayrollCodesWindow> m_payrollCodes; // a child of this window

    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLineEdit *m_txtFields = nullptr;
    RecordBar *m_data2 = nullptr;
    QPushButton *m_cmdAdd = nullptr;
    QPushButton *m_cmdDelete = nullptr;
    QPushButton *m_cmdUpdate = nullptr;
    QPushButton *m_cmdEdit = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QPushButton *m_cmdPayroll = nullptr;
};
