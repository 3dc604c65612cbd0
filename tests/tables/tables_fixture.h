#pragma once

#include "scripted_prompts.h"
#include "store/deal_database.h"
#include "store/store_engine.h"
#include "temp_program_folder.h"
#include "test_server.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

// A fresh program folder with an open deal database, scripted prompts and
// helpers to fill the tables and to work a window by its control names. On
// the server, the database is a fresh one of the test server; without a test
// server there is none, and the test is to skip (SKIP_WITHOUT_TEST_SERVER).
class TablesTest : public ::testing::Test
{
protected:
    explicit TablesTest(StoreEngine::Engine engine = StoreEngine::Engine::SQLite);
    ~TablesTest() override;

    // A saved deal of its own, as the worksheet's save leaves it: its
    // RecallDeal row only. Its identity.
    qint64 savedDeal(const QString &stockNumber);
    // A SalesLog row of a new deal: date, stock number, customer, gross in
    // ten-thousandths.
    qint64 salesLogRow(const QString &stockNumber, const QString &customer, qint64 gross = 0);
    void setSalesPersons(const QStringList &names);

    // Runs a statement with bound values; fails the test on error.
    void execute(const QString &statement, const QVariantList &values = {});
    // The first column of every row a query gives.
    QVariantList column(const QString &query);

    static QLineEdit *edit(QWidget &window, const QString &name);
    static void click(QWidget &window, const char *name);
    // Another window takes the activation, then this one gets it back.
    static void comeBackTo(QWidget &window);

    TempProgramFolder m_dir;
    std::unique_ptr<ServerDatabase> m_server; // on the server only
    std::unique_ptr<DealDatabase> m_database;
    ScriptedPrompts m_prompts;
};
