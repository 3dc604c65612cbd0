#pragma once

#include "store/deal_database.h"
#include "store/deal_store.h"
#include "temp_program_folder.h"

#include <QDate>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

// The figures of a deal that the sales reports print.
struct SoldDeal
{
    QDate date;
    const char *unitClass;
    const char *payableGross;
    const char *salesPerson;
    const char *stockNumber;
    const char *splitPartner = ""; // a split deal when not empty
};

// A fresh program folder with an open deal database, for saving the deals a
// report is to find.
class SalesReportsTest : public ::testing::Test
{
protected:
    SalesReportsTest();

    // Saves a worksheet deal with those figures and a pack of $300.00, so its
    // sales log gross is the payable gross plus 300.
    void save(const SoldDeal &sold);
    void addSalesPerson(const QString &name);

    TempProgramFolder m_dir;
    std::unique_ptr<DealDatabase> m_database;
    std::unique_ptr<DealStore> m_store;
};
