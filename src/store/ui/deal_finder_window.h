#pragma once

#include "common/ui/record_bar.h"
#include "store/deal_id.h"
#include "worksheet/deal.h"

#include <QList>
#include <QWidget>

#include <array>
#include <optional>

class DealStore;
class Prompts;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The deal finder "Recall Deal" (frmSaleData): searches stored deals by
// stock number or part of the customer name, steps through the deals found
// and hands the chosen one to the worksheet. It opens on every stored deal,
// counted but not read: each deal is read when the user steps to it.
// Its fields only show the current deal: the finder never changes a stored
// deal.
class DealFinderWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kShownFields = 6;

    DealFinderWindow(DealStore &store, Prompts &prompts, QWidget *parent = nullptr);

    // Back to the state the window opens in: every stored deal, on the first
    // one, stock number search, empty search text, "Recall Deal" disabled.
    void openOnWholeTable();

signals:
    // The user chose a deal with "Recall Deal"; the window then closes.
    void dealChosen(qint64 dealId, const Deal &deal);
    // The window closed without a deal being chosen.
    void finderClosed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void searchKindChosen(bool checked);
    void search();
    void loadChosenDeal();
    void moveTo(RecordBar::Step step);
    void showRow(int position, std::optional<DealId> id);
    void setRows(const QList<DealId> &rows);

    DealStore &m_store;
    Prompts &m_prompts;

    QLabel *m_heading;
    QRadioButton *m_optStock;
    QRadioButton *m_optName;
    QLabel *m_lblSearch;
    QLineEdit *m_txtSearchString;
    QPushButton *m_cmdFind;
    QPushButton *m_cmdLoad;
    QPushButton *m_cmdExit;
    std::array<QLabel *, kShownFields> m_lblLabels{};
    std::array<QLineEdit *, kShownFields> m_txtFields{};
    RecordBar *m_data1;

    // The deals found by a search; with m_wholeTable, every stored deal
    // instead, m_rowCount of them, read one at a time.
    QList<DealId> m_rows;
    bool m_wholeTable = false;
    int m_rowCount = 0;
    std::optional<DealId> m_shown;
    bool m_searched = false;
    bool m_dealChosen = false;
};
