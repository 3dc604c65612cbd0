// The calculation compared with an exact reckoning of its own on many
// generated deals, and the figures that once came out a cent off.
#include "commission_reference.h"

#include "worksheet/commission_calculation.h"

#include "test_printers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using CommissionReference::Decimal;
using Int = CommissionReference::Int;

Int tenTo(int exponent)
{
    Int result = 1;
    while (exponent-- > 0)
        result *= 10;
    return result;
}

// Writes generated amounts as a user might type them.
class DealGenerator
{
public:
    explicit DealGenerator(std::uint64_t seed) : m_state(seed) {}

    int below(int n) { return int(next() % std::uint64_t(n)); }
    Int between(Int low, Int high) { return low + Int(next() % std::uint64_t(high - low + 1)); }

    Decimal amount()
    {
        const int kind = below(100);
        if (kind < 15)
            return {};
        if (kind < 55)
            return Decimal::of(between(0, 60000) * 100 + between(0, 99), 2);
        if (kind < 65) // many decimals
            return Decimal::of(between(0, 5000) * tenTo(8) + between(0, tenTo(8) - 1), 5 + below(4));
        if (kind < 75) // a few ten-thousandths and less, either side of zero
            return Decimal::of(between(-200, 200), 4 + below(3));
        if (kind < 80) { // near the ends of the range, either side
            const int decimals = below(5);
            const Int digits = between(Int(922337203000000), Int(922337203685478)) * tenTo(decimals) +
                               between(0, tenTo(decimals) - 1);
            return Decimal::of(below(2) ? digits : -digits, decimals);
        }
        return Decimal::of(-(between(0, 30000) * 100 + between(0, 99)), 2);
    }

    Decimal rate()
    {
        static const Decimal usual[] = {Decimal::of(255, 1),     Decimal::of(2775, 2),
                                        Decimal::of(333, 1),     Decimal::of(30, 0),
                                        Decimal::of(33333333, 6), Decimal::of(12125, 3),
                                        Decimal::of(0, 0),       Decimal::of(100, 0)};
        const int kind = below(100);
        if (kind < 50)
            return usual[below(int(std::size(usual)))];
        if (kind < 90)
            return Decimal::of(between(0, 100) * tenTo(6) + between(0, tenTo(6) - 1), 6);
        if (kind < 95)
            return Decimal::of(-between(0, 5000), 2);
        return Decimal::of(between(1, 1000000000000000), 0); // far too large for most deals
    }

    // The text of an amount in one of the forms the worksheet accepts.
    QString text(const Decimal &d)
    {
        if (!d.present)
            return {};
        const bool negative = d.digits < 0;
        const Int magnitude = negative ? -d.digits : d.digits;
        const Int scale = tenTo(d.decimals);
        // The parts of generated amounts stay far within 64 bits.
        const std::string whole = std::to_string(std::uint64_t(magnitude / scale));
        const std::string fraction = std::to_string(std::uint64_t(magnitude % scale));
        const int form = below(negative ? 4 : 3);
        char buffer[80];
        char *out = buffer;
        const auto put = [&out](const char *from) {
            while (*from)
                *out++ = *from++;
        };
        put(form == 3 ? "($" : form == 0 ? (negative ? "-$" : "$") : (negative ? "-" : ""));
        const bool separators = below(5) == 0;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (separators && i > 0 && (whole.size() - i) % 3 == 0)
                *out++ = ',';
            *out++ = whole[i];
        }
        if (d.decimals > 0) {
            *out++ = '.';
            for (std::size_t i = fraction.size(); i < std::size_t(d.decimals); ++i)
                *out++ = '0';
            put(fraction.c_str());
        }
        if (form == 3)
            *out++ = ')';
        return QString::fromLatin1(buffer, out - buffer);
    }

private:
    // SplitMix64: a small, fast generator; the same seed gives the same deals.
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    std::uint64_t m_state;
};

QString q(const std::string &text)
{
    return QString::fromLatin1(text);
}

// A generated deal, both as the reckoning takes it and as the worksheet holds it.
struct GeneratedDeal
{
    CommissionReference::Deal figures;
    CommissionInput input;
};

GeneratedDeal generate(DealGenerator &g)
{
    GeneratedDeal deal;
    CommissionReference::Deal &f = deal.figures;
    CommissionInput &in = deal.input;
    const auto field = [&g](Decimal &figure, QString &text, Decimal value) {
        figure = value;
        text = g.text(value);
    };
    field(f.cost, in.cost, g.amount());
    field(f.pack, in.pack, g.amount());
    field(f.sellingPrice, in.sellingPrice, g.amount());
    field(f.allowance, in.allowance, g.amount());
    for (int row = 0; row < 5; ++row) {
        field(f.reductions[row], in.reductions[row], g.amount());
        field(f.additions[row], in.additions[row], g.amount());
    }
    if (g.below(50) == 0) { // refused, and counted as 0
        f.reductions[2] = {};
        in.reductions[2] = QStringLiteral("12a");
    }
    f.underAllow = in.underAllow = g.below(2) == 0;
    field(f.rate, in.commissionRate, g.rate());
    if (g.below(2) == 0)
        in.commissionRate += g.below(2) ? QStringLiteral("%") : QStringLiteral(" %");
    f.warrantySold = in.warrantySold = g.below(2) == 0;
    field(f.defaultWarranty, in.defaultWarranty, g.amount());
    field(f.spiff, in.spiff, g.amount());
    field(f.defaultMini, in.defaultMini, g.amount());
    if (g.below(3) == 0) {
        // A mini deal right at the commission, or a hair either side of it.
        CommissionReference::Deal withoutMini = f;
        withoutMini.defaultMini = {};
        const CommissionReference::Figures plain = CommissionReference::reckon(withoutMini);
        static const Int offsets[] = {0, 1, -1, 50, -50, 100, -100}; // in ten-thousandths
        if (!plain.outOfRange)
            field(f.defaultMini, in.defaultMini,
                  Decimal::of(Int(plain.commissionAmount) + offsets[g.below(7)], 4));
    }
    return deal;
}

std::string describe(const CommissionInput &in)
{
    QStringList parts{in.cost, in.pack, in.sellingPrice, in.allowance};
    parts << QStringList(in.reductions.begin(), in.reductions.end()).join(u'|')
          << QStringList(in.additions.begin(), in.additions.end()).join(u'|')
          << (in.underAllow ? QStringLiteral("under") : QStringLiteral("over")) << in.commissionRate
          << (in.warrantySold ? QStringLiteral("warranty") : QStringLiteral("no warranty"))
          << in.defaultWarranty << in.spiff << in.defaultMini;
    return parts.join(QStringLiteral(" / ")).toStdString();
}

TEST(CommissionReference, AgreesWithTheExactReckoningOnGeneratedDeals)
{
    DealGenerator generator(20261207);
    int disagreements = 0;
    int outOfRange = 0;
    for (int i = 0; i < 100000; ++i) {
        const GeneratedDeal deal = generate(generator);
        const CommissionReference::Figures expected = CommissionReference::reckon(deal.figures);
        const CommissionResult r = calculateCommission(deal.input);
        outOfRange += expected.outOfRange;
        const bool agrees =
            r.outOfRange == expected.outOfRange &&
            (r.outOfRange ||
             (r.payableGross == q(expected.payableGross) &&
              r.commission == q(expected.commission) && r.warranty == q(expected.warranty) &&
              r.totalCommission == q(expected.totalCommission) && r.spiff == q(expected.spiff) &&
              r.totalReductions.units() == expected.totalReductions &&
              r.totalAdditions.units() == expected.totalAdditions &&
              r.totalCost.units() == expected.totalCost &&
              r.commissionAmount.units() == expected.commissionAmount));
        if (!agrees && ++disagreements <= 5)
            ADD_FAILURE() << "deal " << i << ": " << describe(deal.input) << "\n  expected "
                          << (expected.outOfRange ? std::string("out of range")
                                                  : expected.payableGross + ' ' +
                                                        expected.commission + ' ' +
                                                        expected.warranty + ' ' +
                                                        expected.totalCommission + ' ' +
                                                        expected.spiff)
                          << "\n  got      "
                          << (r.outOfRange ? std::string("out of range")
                                           : QStringList{r.payableGross, r.commission,
                                                         r.warranty, r.totalCommission, r.spiff}
                                                 .join(u' ')
                                                 .toStdString());
    }
    EXPECT_EQ(disagreements, 0);
    // The generated deals reach both outcomes.
    EXPECT_GT(outOfRange, 1000);
    EXPECT_LT(outOfRange, 90000);
}

} // namespace
