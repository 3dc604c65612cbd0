#pragma once

#include <array>
#include <cstdint>
#include <string>

// The commission of a deal reckoned a second time, in exact fractions and
// without any of the program's own code, for comparing with
// calculateCommission(). Amounts are given as a count of 10^-decimals
// dollars; the reckoning follows the worksheet's steps: the cost, pack,
// selling price and allowance are each kept rounded to four places, the five
// reductions and the five additions are added as typed and their sums kept
// rounded to four places, the commission is gross x rate / 100 rounded once
// to the cent and never below the mini deal, the warranty spiff counts as
// shown (to the cent) and the spiff as typed in the total, and every figure
// shown is its value rounded once, half away from zero, to the cent.
namespace CommissionReference {

using Int = __int128;

struct Decimal
{
    bool present = false; // false: the field is empty (counts as 0)
    Int digits = 0;       // the value times 10^decimals
    int decimals = 0;

    static Decimal of(Int digits, int decimals) { return Decimal{true, digits, decimals}; }
};

struct Deal
{
    Decimal cost, pack, sellingPrice, allowance;
    std::array<Decimal, 5> reductions, additions;
    bool underAllow = false;
    Decimal rate; // percent
    bool warrantySold = false;
    Decimal spiff, defaultWarranty, defaultMini;
};

struct Figures
{
    bool outOfRange = false;
    // Shown, in the "$####.00" form.
    std::string payableGross, commission, warranty, totalCommission, spiff;
    // Kept, in ten-thousandths of a dollar.
    std::int64_t totalReductions = 0, totalAdditions = 0, totalCost = 0, commissionAmount = 0;
};

Figures reckon(const Deal &deal);

// The value in the "$####.00" form, from a count of cents.
std::string dollarsForm(Int cents);

} // namespace CommissionReference
