#pragma once

#include "scripted_prompts.h"
#include "store/deal_database.h"
#include "temp_program_folder.h"

#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

// One SalesSummary row to store: amounts in dollars as text ("437.5"), a null
// QVariant for a missing value.
struct SummaryValues
{
    QString date = QStringLiteral("2005-03-07");
    QString stockNumber = QStringLiteral("A1234");
    QVariant customer = QStringLiteral("BOB BROWN");
    QString salesPerson = QStringLiteral("JOHN SMITH");
    QString tcu = QStringLiteral("NT");
    QString payableGross = QStringLiteral("1500");
    QString commission = QStringLiteral("450");
    QString spiff = QStringLiteral("50");
    QString warranty = QStringLiteral("30");
    QVariant totalCommission = QStringLiteral("530");
    bool paid = false;
};

// A fresh program folder with an open deal database and scripted prompts,
// and the SalesSummary rows of deals to pay.
class CommissionSheetTest : public ::testing::Test
{
protected:
    CommissionSheetTest();
    ~CommissionSheetTest() override;

    // Stores a deal's SalesSummary row (with a RecallDeal row for its
    // identity); its rowid.
    qint64 summaryRow(const SummaryValues &values);
    // A row of JOHN SMITH's with its own stock number, customer, date and
    // total commission.
    qint64 unpaid(const char *stockNumber, const char *customer, const char *date,
                  const char *totalCommission);

    // Makes marking the row of a stock number paid fail with "disk trouble".
    void refusePaying(const QString &stockNumber);

    // Rowids of the rows marked paid, in rowid order.
    QList<qint64> paidRows();
    // Runs a statement; fails the test on error.
    void execute(const QString &statement, const QVariantList &values = {});

    QString dataFilePath() const { return m_dir.filePath(QStringLiteral("data.txt")); }

    TempProgramFolder m_dir;
    std::unique_ptr<DealDatabase> m_database;
    ScriptedPrompts m_prompts;
};
