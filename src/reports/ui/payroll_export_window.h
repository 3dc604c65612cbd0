#pragma once

#include "common/prompts.h"

#include <QWidget>

class DealDatabase;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// "Export for Payroll" (frmPayrollExport): the commission sheets printed
// between two dates, voided sheets left out, written as a file payroll
// loads, in the layout chosen. Every salesperson of the period must have a
// payroll ID: one without stops the export, named in the message, and no
// file is written or changed.
class PayrollExportWindow : public QWidget
{
    Q_OBJECT

public:
    PayrollExportWindow(DealDatabase &database, Prompts &prompts, QWidget *parent = nullptr);

    // Export…: reads the sheets, asks where to save and writes the file.
    void cmdExport_Click();

private:
    void tell(const QString &text, Prompts::Icon icon);

    DealDatabase &m_database;
    Prompts &m_prompts;

    QDateEdit *m_dtpFrom = nullptr;
    QDateEdit *m_dtpTo = nullptr;
    QComboBox *m_cboLayout = nullptr;
    QLineEdit *m_txtCompanyCode = nullptr;
    QPushButton *m_cmdExport = nullptr;
    QPushButton *m_cmdClose = nullptr;
};
