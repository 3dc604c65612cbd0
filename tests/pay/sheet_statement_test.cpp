#include "pay/sheet_statement.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

using SheetStatement::DrawLine;
using SheetStatement::OpenDraw;
using SheetStatement::settle;

Money dollars(qint64 d)
{
    return Money::dollars(d);
}

// $2,000 advanced in March against $1,500 earned in March: the sheet takes
// the $1,500, and $500 stays open whichever kind the draw is.
TEST(SheetStatement, ADrawIsRecoveredFromWhatTheSheetEarnsNeverTakingThePayBelowZero)
{
    for (const bool recoverable : {true, false}) {
        const auto march = settle({.earned = dollars(1500),
                                   .carried = Money(),
                                   .draws = {{7, QDate(2026, 3, 2), dollars(2000), recoverable}},
                                   .on = QDate(2026, 3, 27)});
        EXPECT_EQ(march.recovered, (QList<DrawLine>{{7, dollars(1500)}}));
        EXPECT_TRUE(march.writtenOff.isEmpty());
        EXPECT_EQ(march.net, Money());
        EXPECT_TRUE(march.touchesBalances());
    }
}

// The $500 left of March: April's first sheet deducts it when the draw is
// recoverable, writes it off when it is not (and deducts nothing).
TEST(SheetStatement, WhatAMonthLeavesIsCarriedWhenRecoverableAndWrittenOffWhenNot)
{
    const OpenDraw left{7, QDate(2026, 3, 2), dollars(500), true};
    const auto carried = settle({.earned = Money::fromCents(90025),
                                 .carried = Money(),
                                 .draws = {left},
                                 .on = QDate(2026, 4, 3)});
    EXPECT_EQ(carried.recovered, (QList<DrawLine>{{7, dollars(500)}}));
    EXPECT_EQ(carried.net, Money::fromCents(40025));

    OpenDraw guarantee = left;
    guarantee.recoverable = false;
    const auto writtenOff = settle({.earned = Money::fromCents(90025),
                                    .carried = Money(),
                                    .draws = {guarantee},
                                    .on = QDate(2026, 4, 3)});
    EXPECT_TRUE(writtenOff.recovered.isEmpty());
    EXPECT_EQ(writtenOff.writtenOff, (QList<DrawLine>{{7, dollars(500)}}));
    EXPECT_EQ(writtenOff.recoveredTotal, Money());
    EXPECT_EQ(writtenOff.net, Money::fromCents(90025));
}

// Older draws first; a draw dated after the sheet waits; the negative net
// of an earlier sheet comes off before any draw.
TEST(SheetStatement, TheCarriedNetComesOffFirstThenTheOldestDraws)
{
    const auto settled = settle({.earned = dollars(1000),
                                 .carried = Money::fromCents(25050),
                                 .draws = {{12, QDate(2026, 5, 20), dollars(300), true},
                                           {11, QDate(2026, 5, 1), dollars(600), true},
                                           {13, QDate(2026, 6, 2), dollars(900), true}},
                                 .on = QDate(2026, 5, 29)});
    EXPECT_EQ(settled.carriedIn, Money::fromCents(25050));
    EXPECT_EQ(settled.recovered,
              (QList<DrawLine>{{11, dollars(600)}, {12, Money::fromCents(14950)}}));
    EXPECT_EQ(settled.net, Money());
}

// A sheet of chargebacks only earns less than nothing: nothing is
// recovered, and the net is negative, to be carried.
TEST(SheetStatement, ANegativeSheetRecoversNothingAndIsCarried)
{
    const auto settled = settle({.earned = -Money::fromCents(117000),
                                 .carried = dollars(20),
                                 .draws = {{3, QDate(2026, 2, 2), dollars(400), true}},
                                 .on = QDate(2026, 2, 20)});
    EXPECT_TRUE(settled.recovered.isEmpty());
    EXPECT_EQ(settled.net, -Money::fromCents(119000));

    const auto plain = settle({.earned = dollars(350), .carried = {}, .draws = {}, .on = {}});
    EXPECT_FALSE(plain.touchesBalances());
    EXPECT_EQ(plain.net, dollars(350));
}

} // namespace
