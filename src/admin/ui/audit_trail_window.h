#pragma once

#include "common/prompts.h"

#include <QWidget>

class DealDatabase;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Audit Trail": the changes to deals and sheets, newest first, filtered by
// stock number, salesperson and a range of dates. It only reads.
class AuditTrailWindow : public QWidget
{
    Q_OBJECT

public:
    AuditTrailWindow(DealDatabase &database, Prompts &prompts, QWidget *parent = nullptr);

    // Lists the entries meeting the filter as it stands.
    void cmdShow_Click();

private:
    DealDatabase &m_database;
    Prompts &m_prompts;

    QLineEdit *m_txtStockNumber = nullptr;
    QLineEdit *m_txtSalesPerson = nullptr;
    QCheckBox *m_chkDates = nullptr;
    QDateEdit *m_dtpFrom = nullptr;
    QDateEdit *m_dtpTo = nullptr;
    QPushButton *m_cmdShow = nullptr;
    QPushButton *m_cmdClose = nullptr;
    QTableWidget *m_grdAudit = nullptr;
    QLabel *m_lblCount = nullptr;
};
