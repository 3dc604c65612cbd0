#pragma once

#include "common/exact_amount.h"
#include "common/money.h"
#include "worksheet/deal.h"

#include <QString>

#include <array>

// The commission of one deal, worked out from the worksheet's figures as
// typed. Every amount is read by the program's one reading rule (empty is 0,
// the display forms count at their value, text that is not a number counts
// as 0) and all arithmetic is exact, in Money.

// The worksheet's figures and the standing figures the calculation uses.
struct CommissionInput
{
    QString cost;                                // Text13
    QString pack;                                // Text2
    QString sellingPrice;                        // Text3
    std::array<QString, Deal::kRows> reductions; // Text4(0)..Text4(4)
    std::array<QString, Deal::kRows> additions;  // Text6, Text8, Text10, Text12, Text5
    QString allowance;                           // Text20
    bool underAllow = false;                     // Option1 selected
    QString commissionRate;                      // Text22, "30%", "30" or "$250.00 flat"
    bool warrantySold = false;                   // Check1
    QString spiff;                               // txtSpiff
    QString defaultWarranty;                     // war.txt
    QString defaultMini;                         // mini.txt, or the pay plan's mini deal
    std::optional<Money> cap;                    // the pay plan's cap, applied after the mini

    static CommissionInput fromDeal(const Deal &deal, const QString &defaultWarranty,
                                    const QString &defaultMini);
};

// What the calculation writes back: the texts of the output fields and the
// working values.
struct CommissionResult
{
    // Reduction amounts that are not numbers: each is reported, emptied and
    // counted as 0.
    std::array<bool, Deal::kRows> refusedReductions{};
    // The figures leave the range of Money: nothing below is filled and the
    // output fields are to be left as they are.
    bool outOfRange = false;

    Money costAcv;
    Money packAmount;
    Money sellingPrice;
    Money totalReductions;
    Money totalAdditions;
    Money totalCost;
    Money commissionAmount; // the commission shown, read back (never below the mini deal)

    QString payableGross;    // Text21, "$####.00"
    QString commission;      // Text23, "$####.00"
    QString warranty;        // txtWarranty, "$###.00"
    QString totalCommission; // txtTotalComm, "$####.00"
    QString spiff;           // txtSpiff, "$###.00"
};

// The calculation on values already read: every amount as it is kept (the
// stored deal's figures), the rate, the mini deal and the spiffs as typed.
struct CommissionFigures
{
    Money cost;
    Money pack;
    Money sellingPrice;
    Money totalReductions;
    Money totalAdditions;
    Money allowance;
    bool underAllow = false;
    std::optional<Money> flat; // a flat amount a deal, in place of the percent
    ExactAmount rate;          // percent of the payable gross
    ExactAmount mini;
    ExactAmount spiff;
    ExactAmount warranty; // the warranty spiff when a warranty was sold, else 0
    std::optional<Money> cap;
};

struct CommissionAmounts
{
    Money payableGross; // as worked out, before it is shown to the cent
    Money totalCost;
    Money commission; // to the cent, the mini and the cap applied
    Money warranty;
    Money spiff;
    Money total;
};

// std::nullopt when a figure leaves the range of Money.
std::optional<CommissionAmounts> workCommission(const CommissionFigures &figures);

CommissionResult calculateCommission(const CommissionInput &input);

// The total after the commission has been typed over: commission + spiff +
// warranty spiff, without the mini deal.
struct CommissionTotal
{
    bool outOfRange = false; // nothing to write
    QString commission;      // Text23 in the "Currency" form (other text unchanged)
    QString spiff;           // txtSpiff, "$###.00"
    QString totalCommission; // txtTotalComm, "$####.00"
};

CommissionTotal totalCommission(const QString &commission, const QString &spiff,
                                const QString &warranty);

// amount x rate / 100, rounded once to four places (half away from zero);
// std::nullopt when the result leaves the range of Money.
std::optional<Money> percentOf(Money amount, Money rate);
