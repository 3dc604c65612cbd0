#pragma once

#include "admin/ui/record_window.h"
#include "store/record_field.h"

#include <QList>
#include <QString>

class DealDatabase;
class QCloseEvent;
class QLabel;

// A table maintenance window: one deal table shown a record at a time in a
// column of labelled fields (Text1_0.., Label1_0..), with a browse bar Data1
// and buttons to start, edit, save, delete and find records by stock number.
//
// A change typed into the fields is written when the user leaves the record
// (browse bar, Find, New, closing the window) or presses Save. A change that
// cannot be written (a field that is not a value of its column, a new record
// whose stock number belongs to no saved deal) is refused with a message, and
// the window stays on the record so that it can be corrected. A new record
// left with every field empty is dropped.
class TableWindow : public RecordWindow
{
    Q_OBJECT

public:
    struct Layout
    {
        QString objectName;
        QString title;
        QString caption; // of the browse bar
        QString table;
        QString stockColumn; // searched by Find; ties a new row to its deal
        QList<RecordField> fields;
    };

    // frmSalesSummary over SalesSummary and frmfrmSales over SalesLog.
    static Layout salesSummaryLayout();
    static Layout salesLogLayout();

    TableWindow(const Layout &layout, DealDatabase &database, Prompts &prompts,
                QWidget *parent = nullptr);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool leaveRecord() override;
    void dataError(const QString &error) override;

private:
    void buildControls();
    // Writes the fields; a refusal is told, and a row changed at another
    // desk meanwhile is shown as it is stored now.
    bool writeRecord();

    void newRecord();
    void editRecord();
    void saveRecord();
    void deleteRecord();
    void findRecord();

    Layout m_layout;

    QList<QLineEdit *> m_fields;
    RecordBar *m_data1 = nullptr;
    QPushButton *m_cmdNew = nullptr;
    QPushButton *m_cmdEdit = nullptr;
    QPushButton *m_cmdDelete = nullptr;
    QPushButton *m_cmdUpdate = nullptr;
    QPushButton *m_find = nullptr;
    QPushButton *m_cmdExit = nullptr;
};
