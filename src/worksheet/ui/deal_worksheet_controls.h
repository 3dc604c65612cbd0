#pragma once

#include "worksheet/deal.h"

#include <QList>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QWidget;

// The controls of the deal worksheet, each under the name the program's users
// and tools know it by (the same text is its objectName). Control arrays keep
// their index: Text4[2] is the widget "Text4_2".
struct DealWorksheetControls
{
    // The worksheet scrolls inside the window when the screen is too small
    // to show it whole.
    QScrollArea *scrollArea = nullptr;
    QWidget *content = nullptr; // holds every control below

    QLabel *Label1 = nullptr; // "COMMISSION CALCULATOR"

    // Header line.
    QLabel *Label22 = nullptr;
    QDateEdit *dtpDate = nullptr;
    QLabel *Label13 = nullptr;
    QComboBox *DBCombo1 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *txtCustomer = nullptr;

    // Vehicle line.
    QLabel *Label12 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label9 = nullptr;
    QComboBox *cboYear = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *cboUnit = nullptr;
    QLabel *Label23 = nullptr;
    QComboBox *txtTCU = nullptr;
    QLabel *Label11 = nullptr;
    QComboBox *Combo12 = nullptr;
    QLabel *Label8 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *Text13 = nullptr;

    // The unit-removal panel under cboUnit, hidden until it is asked for.
    QFrame *Frame1 = nullptr; // lies over the controls under cboUnit while open
    QListWidget *List1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;

    // Reductions to cost: Combo3..Combo7 with Text4(0)..Text4(4).
    QLabel *Label3 = nullptr;
    std::array<QComboBox *, Deal::kRows> reductionCombos{};
    std::array<QLineEdit *, Deal::kRows> Text4{};

    // Additions to cost: Combo8, Combo9, Combo10, Combo11, Combo1 with Text6,
    // Text8, Text10, Text12, Text5.
    QLabel *Label4 = nullptr;
    std::array<QComboBox *, Deal::kRows> additionCombos{};
    std::array<QLineEdit *, Deal::kRows> additionAmounts{};

    // Trade information.
    QLabel *Label2 = nullptr;
    QLabel *Label14 = nullptr;
    QLineEdit *Text19 = nullptr;
    QLabel *lblStock = nullptr;
    QLineEdit *txtStock = nullptr;
    QLabel *Label15 = nullptr;
    QLineEdit *Text20 = nullptr;
    QRadioButton *Option2 = nullptr; // "Over Allow"
    QRadioButton *Option1 = nullptr; // "Under Allow"

    // Bottom line.
    QLabel *Label21 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label17 = nullptr;
    QLineEdit *Text22 = nullptr;
    // Shown under the pack and the rate when the figure typed there stands
    // in for the salesperson's pay plan's.
    QLabel *lblPackOverride = nullptr;
    QLabel *lblRateOverride = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *Label16 = nullptr;
    QLineEdit *Text21 = nullptr;
    QLabel *Label18 = nullptr;
    QLineEdit *Text23 = nullptr;
    QLabel *Label24 = nullptr;
    QLineEdit *txtWarranty = nullptr;
    QLabel *Label25 = nullptr;
    QLineEdit *txtSpiff = nullptr;
    QLabel *Label26 = nullptr;
    QLineEdit *txtTotalComm = nullptr;

    // Split.
    QLabel *Label19 = nullptr;
    QPushButton *ToggleButton1 = nullptr; // checkable: "No" up, "Yes" down
    QLabel *Label20 = nullptr;
    QComboBox *DBCombo2 = nullptr;
    QLabel *lblShare = nullptr; // "Share %:", the first salesperson's share
    QLineEdit *txtShare = nullptr;

    // Buttons and the paid warning.
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *cmdClear = nullptr;
    QPushButton *cmdDeleteRecall = nullptr;
    QLabel *lblWarn = nullptr;

    // Always hidden: the recall flag.
    QFrame *Frame2 = nullptr;
    QRadioButton *FlagRecall = nullptr;

    // Creates every control as the window's central widget, with its caption,
    // list and the documented tab order.
    void setupUi(QMainWindow *window);

    // The fields in their tab order.
    QList<QWidget *> tabOrder() const;
};
