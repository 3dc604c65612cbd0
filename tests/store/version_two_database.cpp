#include "version_two_database.h"

#include "version_one_database.h"

namespace {

// What version 2 added to the first layout: this copy stays as it is when
// the program's own layout moves on. One statement an item (the triggers
// hold semicolons of their own).
const char *const kVersionTwoAdditions[] = {
    R"sql(CREATE VIRTUAL TABLE "CustomerSearch" USING fts5("Customer", content='RecallDeal', content_rowid="DealId", columnsize=0, tokenize='trigram'))sql",
    R"sql(INSERT INTO "CustomerSearch" ("CustomerSearch") VALUES ('rebuild'))sql",
    R"sql(CREATE TRIGGER "RecallDeal_CustomerSearch_Insert" AFTER INSERT ON "RecallDeal" BEGIN INSERT INTO "CustomerSearch" (rowid, "Customer") VALUES (new."DealId", new."Customer"); END)sql",
    R"sql(CREATE TRIGGER "RecallDeal_CustomerSearch_Delete" AFTER DELETE ON "RecallDeal" BEGIN INSERT INTO "CustomerSearch" ("CustomerSearch", rowid, "Customer") VALUES ('delete', old."DealId", old."Customer"); END)sql",
    R"sql(CREATE TRIGGER "RecallDeal_CustomerSearch_Update" AFTER UPDATE OF "Customer", "DealId" ON "RecallDeal" BEGIN INSERT INTO "CustomerSearch" ("CustomerSearch", rowid, "Customer") VALUES ('delete', old."DealId", old."Customer");INSERT INTO "CustomerSearch" (rowid, "Customer") VALUES (new."DealId", new."Customer"); END)sql",
    R"sql(CREATE TABLE "DealCount" ("Deals" INTEGER NOT NULL) STRICT)sql",
    R"sql(INSERT INTO "DealCount" ("Deals") SELECT count(*) FROM "RecallDeal")sql",
    R"sql(CREATE TRIGGER "RecallDeal_DealCount_Insert" AFTER INSERT ON "RecallDeal" BEGIN UPDATE "DealCount" SET "Deals" = "Deals" + (1); END)sql",
    R"sql(CREATE TRIGGER "RecallDeal_DealCount_Delete" AFTER DELETE ON "RecallDeal" BEGIN UPDATE "DealCount" SET "Deals" = "Deals" + (-1); END)sql",
    R"sql(CREATE INDEX "SalesSummary_Unpaid" ON "SalesSummary" ("Sales_Person", "Date") WHERE "Paid" = 0)sql",
    R"sql(PRAGMA user_version = 2)sql",
};

} // namespace

void makeVersionTwoDatabase(const QString &path, const QStringList &statements)
{
    QStringList all;
    for (const char *statement : kVersionTwoAdditions)
        all << QString::fromUtf8(statement);
    makeVersionOneDatabase(path, {}, all + statements);
}
