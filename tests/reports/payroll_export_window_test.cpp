// Export for Payroll from the windows: the file written as the layout says,
// refused before anything is asked or written when a payroll ID is missing;
// the roster's Payroll… keeps the ID and codes; the sheet window opens the
// export.
#include "admin/ui/payroll_codes_window.h"
#include "admin/ui/roster_window.h"
#include "reports/sheet_payment.h"
#include "reports/ui/commission_sheet_window.h"
#include "reports/ui/payroll_export_window.h"
#include "scripted_prompts.h"
#include "store_test_support.h"

#include "common/ui/record_bar.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("Export for Payroll");

class PayrollWindows : public StoreTest
{
protected:
    ~PayrollWindows() override { m_prompts.verify(); }

    void paySheet(const QString &salesPerson, const QString &stockNumber)
    {
        Deal deal = dealFor(stockNumber, QStringLiteral("Åsa Öberg"));
        deal.salesPerson = salesPerson;
        saved(deal);
        const SheetPayment::Outcome outcome = SheetPayment::pay(
            *m_database, m_dir.filePath(QStringLiteral("data.txt")),
            {.salesPerson = salesPerson,
             .rowIds = unpaidRowIds(*m_database, salesPerson),
             .weekEnding = QStringLiteral("03/27/2026")});
        ASSERT_TRUE(outcome.paid) << outcome.error.toStdString();
    }

    template <typename T> static T *control(QWidget &window, const char *name)
    {
        T *found = window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static void click(QWidget &window, const char *name)
    {
        QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton);
    }

    // The export window set to today, `layout` chosen.
    std::unique_ptr<PayrollExportWindow> exportWindow(int layout)
    {
        auto window = std::make_unique<PayrollExportWindow>(*m_database, m_prompts);
        EXPECT_EQ(window->objectName(), QStringLiteral("frmPayrollExport"));
        control<QDateEdit>(*window, "dtpFrom")->setDate(QDate::currentDate());
        control<QDateEdit>(*window, "dtpTo")->setDate(QDate::currentDate());
        control<QComboBox>(*window, "cboLayout")->setCurrentIndex(layout);
        control<QLineEdit>(*window, "txtCompanyCode")->setText(QStringLiteral(" 7QX "));
        return window;
    }

    ScriptedPrompts m_prompts;
};

TEST_F(PayrollWindows, TheRosterKeepsThePayrollIdAndTheExportWritesTheChosenLayout)
{
    paySheet(QStringLiteral("John Smith"), QStringLiteral("3001"));
    execute(*m_database, QStringLiteral("INSERT INTO \"SalesPersons\" (\"Name\") VALUES ('John Smith')"));
    {
        RosterWindow roster(*m_database, m_prompts);
        // The first salesperson of a new database, then John Smith.
        click(roster, "cmdPayroll");
        PayrollCodesWindow *codes = roster.payrollCodes();
        ASSERT_NE(codes, nullptr);
        EXPECT_EQ(control<QLabel>(*codes, "lblSalesPerson")->text(),
                  QStringLiteral("Sales Person: House"));
        EXPECT_EQ(control<QLineEdit>(*codes, "txtCodeBonus")->placeholderText(),
                  QStringLiteral("BONUS"));
        codes->close();
        emit roster.findChild<RecordBar *>(QStringLiteral("data2"))
            ->stepRequested(RecordBar::Step::Next);
        click(roster, "cmdPayroll");
        control<QLineEdit>(*codes, "txtPayrollId")->setText(QStringLiteral("E-17"));
        control<QLineEdit>(*codes, "txtCodeCommission")->setText(QStringLiteral("CM"));
        control<QLineEdit>(*codes, "txtCodeChargeback")->setText(QStringLiteral("CB"));
        control<QLineEdit>(*codes, "txtCodeDrawRecovery")->setText(QStringLiteral("DR"));
        EXPECT_EQ(control<QLabel>(*codes, "lblSalesPerson")->text(),
                  QStringLiteral("Sales Person: John Smith"));
        click(*codes, "cmdSave");
    }

    const QString path = m_dir.filePath(QStringLiteral("payroll.csv"));
    auto window = exportWindow(1);
    m_prompts.expectSaveFile(path, [](const Prompts::SaveFile &request) {
        EXPECT_EQ(request.title, QStringLiteral("Export for Payroll"));
        EXPECT_EQ(request.defaultSuffix, QStringLiteral("csv"));
    });
    m_prompts.expectMessage(QStringLiteral("The file \"%1\" was saved for payroll: 1 line.").arg(path),
                            kTitle, Prompts::Icon::Information, Prompts::Buttons::Ok);
    click(*window, "cmdExport");
    const QString today = QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("payroll.csv")),
              "Client ID,Worker ID,Org,Job Number,Pay Component,Rate,Rate Number,Hours,Units,"
              "Line Date,Amount,Check Seq Number\r\n"
              "7QX,E-17,,,CM,,,,," + today.toLatin1() + ",1250.00,\r\n");
}

TEST_F(PayrollWindows, AMissingPayrollIdIsNamedAndTheFileLeftAsItWas)
{
    paySheet(QStringLiteral("John Smith"), QStringLiteral("3001"));
    paySheet(QStringLiteral("Zoë Ålund"), QStringLiteral("3002"));
    QString error;
    ASSERT_TRUE(PayrollCodeStore(*m_database)
                    .save({QStringLiteral("John Smith"), QStringLiteral("1001"), {}}, &error))
        << error.toStdString();
    m_dir.writeBytes(QStringLiteral("payroll.csv"), "last month's\r\n");

    auto window = exportWindow(0);
    m_prompts.expectMessage(QStringLiteral("No payroll ID is recorded for Zoë Ålund. Enter it "
                                           "with Payroll… in Setup > Add/Delete Salesperson; "
                                           "nothing was written."),
                            kTitle, Prompts::Icon::Critical, Prompts::Buttons::Ok);
    click(*window, "cmdExport");
    EXPECT_EQ(m_dir.readBytes(QStringLiteral("payroll.csv")), QByteArray("last month's\r\n"));
    // Nothing was put beside it either.
    const QStringList left = QDir(m_dir.folder().path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_FALSE(left.join(u' ').contains(QStringLiteral("payroll.csv.tarvex-tmp")))
        << left.join(u' ').toStdString();
}

TEST_F(PayrollWindows, TheSheetWindowOpensTheExport)
{
    CommissionSheetWindow sheets(*m_database, m_dir.folder(), m_prompts, nullptr);
    click(sheets, "cmdExportPayroll");
    ASSERT_NE(sheets.payrollExport(), nullptr);
    EXPECT_TRUE(sheets.payrollExport()->isVisible());
    EXPECT_EQ(control<QComboBox>(*sheets.payrollExport(), "cboLayout")->count(), 3);
}

} // namespace
