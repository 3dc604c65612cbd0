#include "worksheet/ui/deal_worksheet_controls.h"

#include "worksheet/ui/editable_combo.h"
#include "worksheet/worksheet_lists.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// A small mark under a figure typed over the pay plan's; its tool tip names
// the plan's figure.
QLabel *makeOverrideMark(QWidget *parent, const QString &name)
{
    QLabel *mark = makeLabel(parent, name, QStringLiteral("typed"));
    QFont font = mark->font();
    font.setItalic(true);
    font.setPointSizeF(font.pointSizeF() * 0.85);
    mark->setFont(font);
    QPalette palette = mark->palette();
    palette.setColor(QPalette::WindowText, QColor(0xa0, 0x50, 0x00));
    mark->setPalette(palette);
    mark->hide();
    return mark;
}

QLabel *makeHeading(QWidget *parent, const QString &name, const QString &text)
{
    QLabel *label = makeLabel(parent, name, text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLineEdit *makeField(QWidget *parent, const QString &name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

// An amount field asks for no more width than "$100,000.00" needs, so that
// the worksheet fits small screens; it grows where the window has room.
class AmountField : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

    QSize sizeHint() const override
    {
        return {minimumWidth(), QLineEdit::sizeHint().height()};
    }
};

// Amount fields are right-aligned and wide enough for "$100,000.00".
QLineEdit *makeAmount(QWidget *parent, const QString &name)
{
    QLineEdit *field = new AmountField(parent);
    field->setObjectName(name);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("$000,000.00")) +
                           16);
    return field;
}

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QFrame *makePanel(QWidget *parent, const QString &name)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

// A label above its field, in one column of a two-row grid.
void addColumn(QGridLayout *grid, int column, QWidget *label, QWidget *field)
{
    if (label)
        grid->addWidget(label, 0, column);
    grid->addWidget(field, 1, column);
}

void addMarkedColumn(QGridLayout *grid, int column, QLabel *label, QLabel *mark, QWidget *field)
{
    auto *heading = new QHBoxLayout;
    heading->addWidget(label);
    heading->addStretch();
    heading->addWidget(mark);
    grid->addLayout(heading, 0, column);
    grid->addWidget(field, 1, column);
}

// Five rows of a description combo and an amount under a heading.
void addAmountRows(QFrame *panel, QLabel *heading, const QStringList &comboNames,
                   const QStringList &amountNames, QStringList (*descriptions)(int),
                   std::array<QComboBox *, Deal::kRows> &combos,
                   std::array<QLineEdit *, Deal::kRows> &amounts)
{
    auto *grid = new QGridLayout(panel);
    grid->addWidget(heading, 0, 0, 1, 2);
    for (int row = 0; row < Deal::kRows; ++row) {
        combos[row] = makeEditableCombo(panel, comboNames.at(row), descriptions(row));
        amounts[row] = makeAmount(panel, amountNames.at(row));
        grid->addWidget(combos[row], row + 1, 0);
        grid->addWidget(amounts[row], row + 1, 1);
    }
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(Deal::kRows + 1, 1);
}

// A scroll area that asks for room for the whole worksheet; the window's own
// size, bounded by the screen, decides how much of it shows.
class WorksheetArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

} // namespace

void DealWorksheetControls::setupUi(QMainWindow *window)
{
    scrollArea = new WorksheetArea(window);
    scrollArea->setObjectName(QStringLiteral("worksheetArea"));
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setWidgetResizable(true);
    window->setCentralWidget(scrollArea);
    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("centralWidget"));
    content = central;
    auto *page = new QVBoxLayout(central);

    Label1 = makeLabel(central, QStringLiteral("Label1"), QStringLiteral("COMMISSION CALCULATOR"));
    QFont titleFont(QStringLiteral("Arial"), 16);
    titleFont.setBold(true);
    Label1->setFont(titleFont);
    Label1->setAlignment(Qt::AlignCenter);
    page->addWidget(Label1);

    // Header line: date, salesperson, customer.
    auto *header = new QHBoxLayout;
    Label22 = makeLabel(central, QStringLiteral("Label22"), QStringLiteral("Date:"));
    dtpDate = new QDateEdit(central);
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    dtpDate->setDate(QDate::currentDate());
    Label13 = makeLabel(central, QStringLiteral("Label13"), QStringLiteral("Salesperson:"));
    DBCombo1 = makeEditableCombo(central, QStringLiteral("DBCombo1"), {});
    DBCombo1->setMinimumWidth(180);
    Label5 = makeLabel(central, QStringLiteral("Label5"), QStringLiteral("Customer Name:"));
    txtCustomer = makeField(central, QStringLiteral("txtCustomer"));
    txtCustomer->setMinimumWidth(220);
    for (QWidget *w : QWidgetList{Label22, dtpDate, Label13, DBCombo1, Label5, txtCustomer})
        header->addWidget(w);
    header->addStretch();
    page->addLayout(header);

    // Vehicle line, labels above the fields.
    auto *vehicle = new QGridLayout;
    Label12 = makeLabel(central, QStringLiteral("Label12"), QStringLiteral("Stock#"));
    Text1 = makeField(central, QStringLiteral("Text1"));
    Label9 = makeLabel(central, QStringLiteral("Label9"), QStringLiteral("Year"));
    cboYear = makeEditableCombo(central, QStringLiteral("cboYear"),
                                WorksheetLists::modelYears(QDate::currentDate().year()));
    Label6 = makeLabel(central, QStringLiteral("Label6"), QStringLiteral("Unit:"));
    cboUnit = makeEditableCombo(central, QStringLiteral("cboUnit"), {});
    cboUnit->setMinimumWidth(200);
    Label23 = makeLabel(central, QStringLiteral("Label23"), QStringLiteral("T/C/U:"));
    txtTCU = makeEditableCombo(central, QStringLiteral("txtTCU"), WorksheetLists::unitClasses());
    Label11 = makeLabel(central, QStringLiteral("Label11"), QStringLiteral("Sale Type:"));
    Combo12 = makeEditableCombo(central, QStringLiteral("Combo12"), WorksheetLists::saleTypes());
    Label8 = makeLabel(central, QStringLiteral("Label8"), QStringLiteral("Selling Price:"));
    Text3 = makeAmount(central, QStringLiteral("Text3"));
    Label7 = makeLabel(central, QStringLiteral("Label7"), QStringLiteral("Cost/ACV:"));
    Text13 = makeAmount(central, QStringLiteral("Text13"));
    addColumn(vehicle, 0, Label12, Text1);
    addColumn(vehicle, 1, Label9, cboYear);
    addColumn(vehicle, 2, Label6, cboUnit);
    addColumn(vehicle, 3, Label23, txtTCU);
    addColumn(vehicle, 4, Label11, Combo12);
    addColumn(vehicle, 5, Label8, Text3);
    addColumn(vehicle, 6, Label7, Text13);
    for (int column : {0, 5, 6})
        vehicle->setColumnStretch(column, 1);
    vehicle->setColumnStretch(2, 2);
    for (QComboBox *code : {txtTCU, Combo12})
        code->setMinimumWidth(code->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")) + 40);

    Frame1 = makePanel(central, QStringLiteral("Frame1"));
    Frame1->setAutoFillBackground(true); // it lies over other controls
    auto *removal = new QVBoxLayout(Frame1);
    List1 = new QListWidget(Frame1);
    List1->setObjectName(QStringLiteral("List1"));
    auto *removalButtons = new QHBoxLayout;
    Command1 = makeButton(Frame1, QStringLiteral("Command1"), QStringLiteral("Remove"));
    Command1->setEnabled(false);
    Command4 = makeButton(Frame1, QStringLiteral("Command4"), QStringLiteral("Exit"));
    removalButtons->addWidget(Command1);
    removalButtons->addWidget(Command4);
    removal->addWidget(List1);
    removal->addLayout(removalButtons);
    // The unit-removal panel is placed under the unit description when it
    // opens, over what lies there, so the window does not grow.
    Frame1->hide();
    page->addLayout(vehicle);

    // Reductions, additions and trade information side by side.
    auto *middle = new QHBoxLayout;
    const QStringList reductionNames = {"Combo3", "Combo4", "Combo5", "Combo6", "Combo7"};
    const QStringList reductionAmountNames = {"Text4_0", "Text4_1", "Text4_2", "Text4_3",
                                              "Text4_4"};
    QFrame *reductions = makePanel(central, QStringLiteral("reductionsPanel"));
    Label3 =
        makeHeading(reductions, QStringLiteral("Label3"), QStringLiteral("Reductions to cost:"));
    addAmountRows(reductions, Label3, reductionNames, reductionAmountNames,
                  WorksheetLists::reductionDescriptions, reductionCombos, Text4);

    const QStringList additionNames = {"Combo8", "Combo9", "Combo10", "Combo11", "Combo1"};
    const QStringList additionAmountNames = {"Text6", "Text8", "Text10", "Text12", "Text5"};
    QFrame *additions = makePanel(central, QStringLiteral("additionsPanel"));
    Label4 = makeHeading(additions, QStringLiteral("Label4"), QStringLiteral("Additions to cost:"));
    addAmountRows(additions, Label4, additionNames, additionAmountNames,
                  WorksheetLists::additionDescriptions, additionCombos, additionAmounts);

    QFrame *trade = makePanel(central, QStringLiteral("tradePanel"));
    auto *tradeGrid = new QGridLayout(trade);
    Label2 = makeHeading(trade, QStringLiteral("Label2"), QStringLiteral("Trade Information"));
    Label14 = makeLabel(trade, QStringLiteral("Label14"), QStringLiteral("Appraisal: (ACV)"));
    Text19 = makeAmount(trade, QStringLiteral("Text19"));
    lblStock = makeLabel(trade, QStringLiteral("lblStock"), QStringLiteral("T/I Stock #"));
    txtStock = makeField(trade, QStringLiteral("txtStock"));
    Label15 = makeLabel(trade, QStringLiteral("Label15"), QStringLiteral("Over/Under Allow:"));
    Text20 = makeAmount(trade, QStringLiteral("Text20"));
    Option2 = new QRadioButton(QStringLiteral("Over Allow"), trade);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option1 = new QRadioButton(QStringLiteral("Under Allow"), trade);
    Option1->setObjectName(QStringLiteral("Option1"));
    auto *options = new QHBoxLayout;
    options->addWidget(Option2);
    options->addWidget(Option1);
    options->addStretch();
    tradeGrid->addWidget(Label2, 0, 0, 1, 2);
    tradeGrid->addWidget(Label14, 1, 0);
    tradeGrid->addWidget(Text19, 1, 1);
    tradeGrid->addWidget(lblStock, 2, 0);
    tradeGrid->addWidget(txtStock, 2, 1);
    tradeGrid->addWidget(Label15, 3, 0);
    tradeGrid->addWidget(Text20, 3, 1);
    tradeGrid->addLayout(options, 4, 0, 1, 2);
    tradeGrid->setRowStretch(5, 1);

    middle->addWidget(reductions, 1);
    middle->addWidget(additions, 1);
    middle->addWidget(trade, 1);
    page->addLayout(middle);

    // Bottom line: the inputs of the commission, then its outputs.
    QFrame *figures = makePanel(central, QStringLiteral("figuresPanel"));
    auto *bottom = new QGridLayout(figures);
    Label21 = makeLabel(figures, QStringLiteral("Label21"), QStringLiteral("Pack"));
    Text2 = makeAmount(figures, QStringLiteral("Text2"));
    Text2->setText(QStringLiteral("500.00"));
    Label17 = makeLabel(figures, QStringLiteral("Label17"), QStringLiteral("Commission Rate:"));
    Text22 = makeAmount(figures, QStringLiteral("Text22"));
    Text22->setText(QStringLiteral("30"));
    Check1 = new QCheckBox(QStringLiteral("Warranty"), figures);
    Check1->setObjectName(QStringLiteral("Check1"));
    Label16 = makeLabel(figures, QStringLiteral("Label16"), QStringLiteral("Payable   Gross"));
    Text21 = makeAmount(figures, QStringLiteral("Text21"));
    Label18 = makeLabel(figures, QStringLiteral("Label18"), QStringLiteral("Commission:"));
    Text23 = makeAmount(figures, QStringLiteral("Text23"));
    Label24 = makeLabel(figures, QStringLiteral("Label24"), QStringLiteral("Warranty:"));
    txtWarranty = makeAmount(figures, QStringLiteral("txtWarranty"));
    txtWarranty->setText(QStringLiteral("0"));
    Label25 = makeLabel(figures, QStringLiteral("Label25"), QStringLiteral("Spiff:"));
    Label25->setToolTip(QStringLiteral("Add any spiffs  here"));
    txtSpiff = makeAmount(figures, QStringLiteral("txtSpiff"));
    txtSpiff->setText(QStringLiteral("0"));
    Label26 = makeLabel(figures, QStringLiteral("Label26"), QStringLiteral("Total Comm"));
    txtTotalComm = makeAmount(figures, QStringLiteral("txtTotalComm"));
    QFont resultFont = Text21->font();
    resultFont.setBold(true);
    for (QLineEdit *result : {Text21, Text23, txtTotalComm})
        result->setFont(resultFont);
    // The pack and the rate carry the mark of a figure typed over the pay
    // plan's at the right of their labels.
    lblPackOverride = makeOverrideMark(figures, QStringLiteral("lblPackOverride"));
    lblRateOverride = makeOverrideMark(figures, QStringLiteral("lblRateOverride"));
    addMarkedColumn(bottom, 0, Label21, lblPackOverride, Text2);
    addMarkedColumn(bottom, 1, Label17, lblRateOverride, Text22);
    addColumn(bottom, 2, nullptr, Check1);
    addColumn(bottom, 3, Label16, Text21);
    addColumn(bottom, 4, Label18, Text23);
    addColumn(bottom, 5, Label24, txtWarranty);
    addColumn(bottom, 6, Label25, txtSpiff);
    addColumn(bottom, 7, Label26, txtTotalComm);
    page->addWidget(figures);

    // Split, the paid warning and the buttons.
    auto *actions = new QHBoxLayout;
    Label19 = makeLabel(central, QStringLiteral("Label19"), QStringLiteral("Split?"));
    ToggleButton1 = makeButton(central, QStringLiteral("ToggleButton1"), QStringLiteral("No"));
    ToggleButton1->setCheckable(true);
    Label20 = makeLabel(central, QStringLiteral("Label20"), QStringLiteral("Split with:"));
    DBCombo2 = makeEditableCombo(central, QStringLiteral("DBCombo2"), {});
    DBCombo2->setMinimumWidth(180);
    // "S&hare": Alt+H reaches it; in the tab order it comes last, after the
    // documented fields.
    lblShare = makeLabel(central, QStringLiteral("lblShare"), QStringLiteral("S&hare %:"));
    txtShare = makeField(central, QStringLiteral("txtShare"));
    txtShare->setText(QStringLiteral("50"));
    txtShare->setMaxLength(2);
    txtShare->setMaximumWidth(40);
    txtShare->setToolTip(QStringLiteral("The first salesperson's share of the split, in whole "
                                        "percent; the partner has the rest"));
    lblShare->setBuddy(txtShare);
    lblWarn = makeHeading(central, QStringLiteral("lblWarn"),
                          QStringLiteral("This deal has been \"PAID\" and cannot be changed!"));
    // Dark red through the palette: a style sheet would give the label a
    // style of its own to build and polish.
    QPalette warning = lblWarn->palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0x00, 0x00));
    lblWarn->setPalette(warning);
    Command2 = makeButton(central, QStringLiteral("Command2"), QStringLiteral("PRINT"));
    Command3 = makeButton(central, QStringLiteral("Command3"), QStringLiteral("Calculate"));
    cmdClear = makeButton(central, QStringLiteral("cmdClear"), QStringLiteral("CLEAR"));
    cmdDeleteRecall =
        makeButton(central, QStringLiteral("cmdDeleteRecall"), QStringLiteral("Delete Record"));
    Frame2 = new QFrame(central);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    FlagRecall = new QRadioButton(Frame2);
    FlagRecall->setObjectName(QStringLiteral("FlagRecall"));
    FlagRecall->setAutoExclusive(false);
    Frame2->hide();
    for (QWidget *w : QWidgetList{Label19, ToggleButton1, Label20, DBCombo2, lblShare, txtShare})
        actions->addWidget(w);
    actions->addStretch();
    for (QPushButton *button : {Command2, Command3, cmdClear, cmdDeleteRecall})
        actions->addWidget(button);
    actions->addWidget(Frame2);
    // The paid warning has a line of its own, so the worksheet stays narrow
    // enough for small screens.
    lblWarn->setAlignment(Qt::AlignCenter);
    page->addWidget(lblWarn);
    page->addLayout(actions);
    page->addStretch();

    // Controls that come and go with what is typed keep their place, so the
    // window does not shift under the user's hands.
    for (QWidget *w : QWidgetList{lblStock, txtStock, Option2, Option1, Label20, DBCombo2, lblShare,
                                  txtShare, lblWarn, cmdDeleteRecall, lblPackOverride,
                                  lblRateOverride}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    scrollArea->setWidget(central);

    QList<QWidget *> order = tabOrder();
    order << txtShare;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

QList<QWidget *> DealWorksheetControls::tabOrder() const
{
    return {dtpDate,
            DBCombo1,
            txtCustomer,
            Text1,
            cboYear,
            cboUnit,
            txtTCU,
            Combo12,
            Text3,
            Text13,
            reductionCombos[0],
            Text4[0],
            reductionCombos[1],
            Text4[1],
            reductionCombos[2],
            Text4[2],
            reductionCombos[3],
            Text4[3],
            reductionCombos[4],
            Text4[4],
            additionCombos[0],
            additionAmounts[0],
            additionCombos[1],
            additionAmounts[1],
            additionCombos[2],
            additionAmounts[2],
            additionCombos[3],
            additionCombos[4],
            additionAmounts[4],
            Text19,
            Text20,
            additionAmounts[3],
            Option2,
            Option1,
            Text2,
            Text22,
            Check1,
            ToggleButton1,
            DBCombo2,
            txtSpiff,
            txtTotalComm,
            Command2,
            Command3,
            cmdClear,
            Text23,
            Text21,
            txtWarranty,
            txtStock,
            cmdDeleteRecall};
}
