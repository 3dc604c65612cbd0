#pragma once

#include "common/ui/record_bar.h"

#include <QList>
#include <QWidget>

#include <memory>

class Prompts;
class QLineEdit;
class QPushButton;
class RecordCursor;
class RecordTable;
class RecordView;

// What the roster and the table maintenance windows share: one table shown a
// record at a time in bound fields, stepped through with a browse bar. Before
// the window leaves a record it asks leaveRecord(), which writes or drops what
// the user changed, or refuses and keeps the window on the record.
//
// Other desks (other Tarvex processes on the same database) and the
// worksheet write the same tables: each time the window is shown or becomes
// active again it reads the table afresh, unless the user is in the middle of
// a change, which is kept as typed.
class RecordWindow : public QWidget
{
    Q_OBJECT

public:
    ~RecordWindow() override;

    // Reads the table as it is now and shows its first record.
    virtual void openOnFirstRecord();
    // Closes the window as the program ends: a change that can be stored is
    // written, one that cannot is dropped; nothing is asked or shown.
    void closeForExit();

protected:
    RecordWindow(std::unique_ptr<RecordTable> table, Prompts &prompts, QWidget *parent);

    // Ties the fields (in field order) and the bar to the table; called once
    // by the derived window when its controls exist.
    void bind(const QList<QLineEdit *> &fields, RecordBar *bar);
    static QPushButton *button(QWidget *parent, const char *name, const char *caption);

    RecordTable &table() const { return *m_table; }
    RecordView &view() const { return *m_view; }
    RecordCursor &cursor() const;
    Prompts &prompts() const { return m_prompts; }
    RecordBar *bar() const { return m_bar; }

    void showRecord();
    void step(RecordBar::Step step);

    bool event(QEvent *event) override;

    virtual bool leaveRecord() = 0;
    virtual void dataError(const QString &error) = 0;
    // What leaving the record writes as the program ends; the texts of a new
    // record are written unless the window keeps new records only on Save.
    virtual bool storesNewRecordOnLeave() const { return true; }
    bool isClosingForExit() const { return m_closingForExit; }

private:
    Prompts &m_prompts;
    std::unique_ptr<RecordTable> m_table;
    std::unique_ptr<RecordView> m_view;
    RecordBar *m_bar = nullptr;
    bool m_closingForExit = false;
};
