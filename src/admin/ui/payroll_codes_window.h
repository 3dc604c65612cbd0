#pragma once

#include "common/prompts.h"
#include "store/payroll_codes.h"

#include <QWidget>

#include <array>

class DealDatabase;
class QLabel;
class QLineEdit;
class QPushButton;

// "Payroll" (frmPayrollCodes), opened from the roster for its salesperson:
// the payroll ID and the earnings code of each kind of pay the payroll
// export writes. An empty code field shows, and exports, its default code.
class PayrollCodesWindow : public QWidget
{
    Q_OBJECT

public:
    PayrollCodesWindow(DealDatabase &database, Prompts &prompts, QWidget *parent = nullptr);

    // Shows the codes recorded for `salesPerson`.
    void showSalesPerson(const QString &salesPerson);
    // Save: records the fields for the salesperson shown.
    void cmdSave_Click();

private:
    DealDatabase &m_database;
    Prompts &m_prompts;
    QString m_salesPerson;

    QLabel *m_lblSalesPerson = nullptr;
    QLineEdit *m_txtPayrollId = nullptr;
    std::array<QLineEdit *, kEarningsKinds> m_txtCodes = {};
    QPushButton *m_cmdSave = nullptr;
    QPushButton *m_cmdClose = nullptr;
};
