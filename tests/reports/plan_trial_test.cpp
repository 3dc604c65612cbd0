// A plan tried on past deals: what it would have paid is what paying it for
// real gives, in a second database where the same deals were worked out by
// it and paid; and trying it writes nothing.
#include "common/money_format.h"
#include "pay/rate_text.h"
#include "reports/sheet_payment.h"
#include "store/deal_store.h"
#include "store/deal_unwinds.h"
#include "store/pay_plan_store.h"
#include "store/plan_trial.h"
#include "store_test_support.h"
#include "test_server.h"
#include "worksheet/commission_calculation.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

const QString kAke = QStringLiteral("Åke Nyström");
const QString kMary = QStringLiteral("Mary Jones");

// 25% of the gross for every class, a $150.00 mini deal, a $300.00 pack, no tiers.
PayPlanVersion givenPlan(const QString &salesPerson)
{
    PayPlanVersion plan;
    plan.salesPerson = salesPerson;
    plan.effectiveFrom = QDate(2026, 1, 1);
    for (PlanTerms &terms : plan.terms) {
        terms.percent = Money::dollars(25);
        terms.mini = Money::dollars(150);
        terms.pack = Money::dollars(300);
    }
    plan.warrantySpiff = Money::dollars(30);
    return plan;
}

// The draft: new cars 30%, used cars $400.00 flat, trucks 27.5%; a $200.00
// mini, a $250.00 pack, a $1,000.00 cap, $40.00 a warranty; 32% of the gross
// from the 3rd unit of a month, on every unit of it.
PayPlanVersion draftPlan(const QString &salesPerson)
{
    PayPlanVersion plan = givenPlan(salesPerson);
    for (PlanTerms &terms : plan.terms) {
        terms.mini = Money::dollars(200);
        terms.pack = Money::dollars(250);
        terms.percent = Money::fromUnits(275000);
    }
    plan.terms[0].percent = Money::dollars(30); // NC
    plan.terms[2].kind = PlanTerms::Kind::Flat; // UC
    plan.terms[2].flat = Money::dollars(400);
    plan.cap = Money::dollars(1000);
    plan.warrantySpiff = Money::dollars(40);
    plan.tiers = {{.unitsFrom = Money::dollars(3), .percent = Money::dollars(32)}};
    return plan;
}

struct Sale
{
    const char *stockNumber;
    QDate date;
    QString salesPerson;
    const char *unitClass;
    const char *price;
    const char *cost;
    QString partner = {};
    const char *share = "50";
    const char *typedPack = nullptr;
    bool warranty = false;
    bool underAllow = false;
};

// Two months of deals of both salespeople: each class, a split deal either
// way, a pack typed over the plan's, an allowance under and over, a deal
// the cap holds, one unwound.
const QList<Sale> &sales()
{
    static const QList<Sale> all = {
        {"4711", QDate(2026, 3, 2), kAke, "NC", "25000", "20500", {}, "50", nullptr, true},
        {"B204", QDate(2026, 3, 5), kAke, "UC", "9000", "7100", kMary, "60"},
        {"C310", QDate(2026, 3, 9), kMary, "NT", "31000", "26000", kAke, "50", nullptr, true, true},
        {"5512", QDate(2026, 3, 16), kAke, "UT", "14000", "11250", {}, "50", "$200.00"},
        {"D018", QDate(2026, 3, 20), kAke, "NT", "52000", "41000"},
        {"E777", QDate(2026, 3, 23), kAke, "NC", "21000", "19000"},
        {"F100", QDate(2026, 4, 6), kAke, "NC", "23000", "20100", {}, "50", nullptr, true},
        {"6001", QDate(2026, 4, 13), kMary, "UC", "8000", "7300"},
    };
    return all;
}
constexpr int kUnwound = 5; // E777

// The deal as the worksheet works it out with `plan` in force.
Deal workedOut(const Sale &sale, const PayPlanVersion &plan, qint64 versionId)
{
    Deal deal;
    deal.date = sale.date;
    deal.salesPerson = sale.salesPerson;
    deal.customer = QStringLiteral("Zoë Ångström");
    deal.stockNumber = QString::fromLatin1(sale.stockNumber);
    deal.year = QStringLiteral("2025");
    deal.unit = QStringLiteral("Ranger");
    deal.unitClass = QString::fromLatin1(sale.unitClass);
    deal.saleType = QStringLiteral("1");
    deal.sellingPrice = QString::fromLatin1(sale.price);
    deal.cost = QString::fromLatin1(sale.cost);
    deal.allowance = QStringLiteral("500");
    deal.underAllow = sale.underAllow;
    deal.warrantySold = sale.warranty;
    deal.spiff = QStringLiteral("25");
    deal.split = !sale.partner.isEmpty();
    deal.splitPartner = sale.partner;
    deal.splitShare = QString::fromLatin1(sale.share);
    const PlanTerms &terms = plan.termsFor(deal.unitClass);
    const QString planPack = MoneyFormat::currency(terms.pack);
    deal.pack = sale.typedPack ? QString::fromLatin1(sale.typedPack) : planPack;
    if (sale.typedPack)
        deal.planPack = planPack;
    deal.commissionRate = terms.kind == PlanTerms::Kind::Flat ? RateText::ofFlat(terms.flat)
                                                              : RateText::ofPercent(terms.percent);
    CommissionInput input = CommissionInput::fromDeal(deal, MoneyFormat::plain(plan.warrantySpiff),
                                                      MoneyFormat::plain(terms.mini));
    input.cap = plan.cap;
    const CommissionResult result = calculateCommission(input);
    EXPECT_FALSE(result.outOfRange);
    deal.payableGross = result.payableGross;
    deal.commission = result.commission;
    deal.warranty = result.warranty;
    deal.spiff = result.spiff;
    deal.totalCommission = result.totalCommission;
    deal.planVersion = versionId;
    return deal;
}

// A database where the deals were worked out by `makePlan`'s plans and paid
// by one sheet each after the months; what each salesperson's sheet paid.
struct PaidDatabase
{
    Money ake;
    Money mary;
};

PaidDatabase payFor(DealDatabase &database, const QString &dataFile,
                    PayPlanVersion (*makePlan)(const QString &))
{
    QString error;
    PayPlanStore plans(database);
    QHash<QString, qint64> versions;
    QHash<QString, PayPlanVersion> byName;
    for (const QString &name : {kAke, kMary}) {
        byName.insert(name, makePlan(name));
        const std::optional<qint64> id = plans.add(byName.value(name), &error);
        EXPECT_TRUE(id) << error.toStdString();
        versions.insert(name, id.value_or(0));
    }
    DealStore store(database);
    QList<DealId> deals;
    for (const Sale &sale : sales()) {
        const std::optional<DealId> id =
            store.save(workedOut(sale, byName.value(sale.salesPerson), versions.value(sale.salesPerson)),
                       &error);
        EXPECT_TRUE(id) << error.toStdString();
        deals << id.value_or(0);
    }
    const DealUnwinds::Outcome unwound =
        DealUnwinds(database).unwind({.deal = deals.at(kUnwound), .on = QDate(2026, 3, 30),
                                      .reason = QStringLiteral("Finance rejected")});
    EXPECT_TRUE(unwound.done) << unwound.error.toStdString();
    PaidDatabase paid;
    for (const QString &name : {kAke, kMary}) {
        const SheetPayment::Outcome outcome =
            SheetPayment::pay(database, dataFile,
                              {.salesPerson = name,
                               .rowIds = unpaidRowIds(database, name),
                               .weekEnding = QStringLiteral("05/08/2026"),
                               .on = QDate(2026, 5, 8),
                               .volume = true});
        EXPECT_TRUE(outcome.paid) << outcome.error.toStdString();
        (name == kAke ? paid.ake : paid.mary) = outcome.tally;
    }
    return paid;
}

// Two salespeople without deals besides, so that the rows are read in date
// order, the later days on a connection of their own.
PlanTrial::Question question()
{
    return {.plan = draftPlan(QStringLiteral("anyone")),
            .salesPeople = {kAke, kMary, QStringLiteral("Ola Berg"), QStringLiteral("Li Wu")},
            .firstMonth = QDate(2026, 3, 1),
            .lastMonth = QDate(2026, 4, 30)};
}

using PlanTrialTest = EngineStoreTest;
INSTANTIATE_ON_BOTH_ENGINES(PlanTrialTest);

TEST_P(PlanTrialTest, WhatTheDraftWouldHavePaidIsWhatPayingItForRealPays)
{
    const PaidDatabase given = payFor(*m_database, m_dir.filePath(QStringLiteral("data.txt")), givenPlan);
    TempProgramFolder otherFolder;
    std::unique_ptr<ServerDatabase> otherServer;
    const std::unique_ptr<DealDatabase> other = openTestDatabase(GetParam(), otherFolder.folder(), otherServer);
    ASSERT_TRUE(other);
    const PaidDatabase draft = payFor(*other, otherFolder.filePath(QStringLiteral("data.txt")), draftPlan);

    const PlanTrial::Result result = PlanTrial::run(*m_database, question(), {});
    ASSERT_EQ(result.outcome, PlanTrial::Outcome::Done) << result.error.toStdString();
    ASSERT_EQ(result.lines.size(), 4);
    const PlanTrial::Line &ake = result.lines.at(0);
    const PlanTrial::Line &mary = result.lines.at(1);
    EXPECT_EQ(ake.salesPerson, QStringLiteral("ÅKE NYSTRÖM"));
    EXPECT_EQ(ake.paid(), given.ake);
    EXPECT_EQ(ake.tried(), draft.ake);
    EXPECT_EQ(ake.difference(), draft.ake - given.ake);
    EXPECT_EQ(mary.paid(), given.mary);
    EXPECT_EQ(mary.tried(), draft.mary);
    EXPECT_EQ(mary.difference(), draft.mary - given.mary);
    // Written out: Åke has 0.5 + 0.6 of the splits and four deals alone in
    // the two months (the unwound one left out); March reaches the 3rd unit.
    EXPECT_EQ(ake.deals, 6);
    EXPECT_EQ(ake.units, Money::fromUnits(51000));
    EXPECT_EQ(mary.units, Money::fromUnits(19000));
    EXPECT_EQ(ake.volumePaid, Money());
    // March: C310's half at 32% is $840.00 over its $500.00, 5512 at 32%
    // $656.00 over its $563.75; the cap holds the others at what they had.
    EXPECT_EQ(ake.volumeTried, Money::fromUnits(4322500));
    EXPECT_EQ(mary.volumeTried, Money());
    EXPECT_EQ(result.lines.at(2).salesPerson, QStringLiteral("OLA BERG"));
    EXPECT_EQ(result.lines.at(2).tried(), Money());
}

TEST_P(PlanTrialTest, AStoppedTrialSaysSoAndAnEmptyChoiceGivesNoLines)
{
    payFor(*m_database, m_dir.filePath(QStringLiteral("data.txt")), givenPlan);
    qint64 told = 0;
    const PlanTrial::Result stopped =
        PlanTrial::run(*m_database, question(), [&](qint64 done, qint64 total) {
            told = total;
            return done < total;
        });
    EXPECT_EQ(stopped.outcome, PlanTrial::Outcome::Cancelled);
    EXPECT_TRUE(stopped.lines.isEmpty());
    EXPECT_EQ(told, 10); // the rows of the two months, the unwound deal's among them

    PlanTrial::Question nobody = question();
    nobody.salesPeople.clear();
    const PlanTrial::Result empty = PlanTrial::run(*m_database, nobody, {});
    EXPECT_EQ(empty.outcome, PlanTrial::Outcome::Done);
    EXPECT_TRUE(empty.lines.isEmpty());
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class PlanTrialFile : public StoreTest
{
};

TEST_F(PlanTrialFile, TryingAPlanLeavesTheDatabaseFileByteForByteAsItWas)
{
    payFor(*m_database, m_dir.filePath(QStringLiteral("data.txt")), givenPlan);
    const QString path = m_database->filePath();
    m_store.reset();
    m_database.reset();
    const QByteArray before = fileHash(path);
    ASSERT_FALSE(before.isEmpty());

    {
        DealDatabase database(path);
        QString error;
        ASSERT_TRUE(database.open(&error)) << error.toStdString();
        const PlanTrial::Result result = PlanTrial::run(database, question(), {});
        ASSERT_EQ(result.outcome, PlanTrial::Outcome::Done) << result.error.toStdString();
        EXPECT_NE(result.lines.at(0).difference(), Money());
    }
    EXPECT_EQ(fileHash(path), before);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")) && QFile(path + QStringLiteral("-wal")).size() > 0);
}

} // namespace
