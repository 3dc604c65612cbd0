#pragma once

#include "common/prompts.h"

#include <QWidget>

class DealDatabase;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// "Audit Trail": the changes to deals and sheets, newest first, one line per
// entry (when, who, action, stock number, salesperson and a short summary of
// what changed), filtered by stock number, salesperson, user, action (at
// once when one is chosen) and a range of dates; the pane below lists every changed column of the selected entry as
// "column: before → after". It only reads.
class AuditTrailWindow : public QWidget
{
    Q_OBJECT

public:
    AuditTrailWindow(DealDatabase &database, Prompts &prompts, QWidget *parent = nullptr);

    // Lists the entries meeting the filter as it stands.
    void cmdShow_Click();

private:
    void showDetails();

    DealDatabase &m_database;
    Prompts &m_prompts;

    QLineEdit *m_txtStockNumber = nullptr;
    QLineEdit *m_txtSalesPerson = nullptr;
    QLineEdit *m_txtUserName = nullptr;
    QComboBox *m_cboAction = nullptr;
    QCheckBox *m_chkDates = nullptr;
    QDateEdit *m_dtpFrom = nullptr;
    QDateEdit *m_dtpTo = nullptr;
    QPushButton *m_cmdShow = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QTableWidget *m_grdAudit = nullptr;
    QPlainTextEdit *m_txtDetails = nullptr;
    QStringList m_details; // of each listed entry
    QLabel *m_lblCount = nullptr;
};
