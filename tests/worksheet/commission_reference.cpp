#include "commission_reference.h"

#include <initializer_list>
#include <limits>
#include <optional>

namespace CommissionReference {

namespace {

// A fraction whose denominator is a power of ten.
struct Fraction
{
    Int numerator = 0;
    Int denominator = 1;
};

Int powerOfTen(int exponent)
{
    Int result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

Fraction valueOf(const Decimal &d)
{
    return d.present ? Fraction{d.digits, powerOfTen(d.decimals)} : Fraction{};
}

Fraction operator+(Fraction a, Fraction b)
{
    // Powers of ten: the larger denominator is a multiple of the smaller.
    if (a.denominator < b.denominator)
        std::swap(a, b);
    return {a.numerator + b.numerator * (a.denominator / b.denominator), a.denominator};
}

Fraction operator*(Fraction a, Fraction b)
{
    return {a.numerator * b.numerator, a.denominator * b.denominator};
}

// The fraction as a whole count of 1/steps, rounded half away from zero.
Int roundedTo(Fraction f, Int steps)
{
    const Int scaled = f.numerator * steps;
    Int quotient = scaled / f.denominator;
    const Int remainder = scaled % f.denominator;
    const Int twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice >= f.denominator)
        quotient += scaled < 0 ? -1 : 1;
    return quotient;
}

constexpr Int kKept = 10000; // four places
constexpr Int kCents = 100;

bool fits(Int tenThousandths)
{
    return tenThousandths >= std::numeric_limits<std::int64_t>::min() &&
           tenThousandths <= std::numeric_limits<std::int64_t>::max();
}

Fraction kept(Int tenThousandths)
{
    return {tenThousandths, kKept};
}

// Tracks whether any amount or step leaves the range the program keeps
// amounts in (64-bit ten-thousandths).
class Range
{
public:
    // A single amount, or a sum, kept rounded to four places.
    Int keep(Fraction f)
    {
        const Int value = roundedTo(f, kKept);
        m_out = m_out || !fits(value);
        return value;
    }
    // A step of the cost arithmetic, done in the kept form.
    Int step(Int value)
    {
        m_out = m_out || !fits(value);
        return value;
    }
    // An amount used as typed must still be one the program can hold.
    Fraction check(Fraction f)
    {
        keep(f);
        return f;
    }
    Int cents(Fraction f)
    {
        const Int value = roundedTo(f, kCents);
        m_out = m_out || !fits(value * 100);
        return value;
    }
    bool out() const { return m_out; }

private:
    bool m_out = false;
};

} // namespace

std::string dollarsForm(Int cents)
{
    std::string text = cents < 0 ? "-$" : "$";
    const Int magnitude = cents < 0 ? -cents : cents;
    // Within the range kept, cents fit 64 bits.
    const std::uint64_t whole = std::uint64_t(magnitude / 100);
    const int fraction = int(magnitude % 100);
    if (whole > 0)
        text += std::to_string(whole);
    text += '.';
    text += char('0' + fraction / 10);
    text += char('0' + fraction % 10);
    return text;
}

Figures reckon(const Deal &deal)
{
    Range range;
    const auto sumOf = [](const std::array<Decimal, 5> &amounts) {
        Fraction sum;
        for (const Decimal &amount : amounts)
            sum = sum + valueOf(amount);
        return sum;
    };
    // Each single amount must be one the program can hold.
    for (const std::array<Decimal, 5> *row : {&deal.reductions, &deal.additions})
        for (const Decimal &amount : *row)
            range.keep(valueOf(amount));

    const Int cost = range.keep(valueOf(deal.cost));
    const Int pack = range.keep(valueOf(deal.pack));
    const Int sellingPrice = range.keep(valueOf(deal.sellingPrice));
    const Int reductions = range.keep(sumOf(deal.reductions));
    const Int additions = range.keep(sumOf(deal.additions));
    const Int allowance = range.keep(valueOf(deal.allowance));
    const Fraction rate = range.check(valueOf(deal.rate));
    const Fraction mini = range.check(valueOf(deal.defaultMini));
    const Fraction spiff = range.check(valueOf(deal.spiff));
    const Fraction warranty = deal.warrantySold ? range.check(valueOf(deal.defaultWarranty))
                                                : Fraction{};
    Int totalCost = range.step(cost - reductions);
    totalCost = range.step(totalCost + additions);
    totalCost = range.step(totalCost + pack);
    totalCost = range.step(deal.underAllow ? totalCost - allowance : totalCost + allowance);
    const Int gross = range.step(sellingPrice - totalCost);
    Figures figures;
    figures.outOfRange = range.out();
    if (figures.outOfRange)
        return figures;
    Int commission = range.cents(kept(gross) * rate * Fraction{1, 100});
    if (range.out()) {
        figures.outOfRange = true;
        return figures;
    }
    if (range.keep(mini) > commission * 100)
        commission = range.cents(mini);
    const Int warrantyShown = range.cents(warranty);
    const Int total =
        range.cents(Fraction{commission, kCents} + spiff + Fraction{warrantyShown, kCents});
    const Int spiffShown = range.cents(spiff);

    figures.outOfRange = range.out();
    if (figures.outOfRange)
        return figures;
    figures.payableGross = dollarsForm(roundedTo(kept(gross), kCents));
    figures.commission = dollarsForm(commission);
    figures.warranty = dollarsForm(warrantyShown);
    figures.totalCommission = dollarsForm(total);
    figures.spiff = dollarsForm(spiffShown);
    figures.totalReductions = std::int64_t(reductions);
    figures.totalAdditions = std::int64_t(additions);
    figures.totalCost = std::int64_t(totalCost);
    figures.commissionAmount = std::int64_t(commission * 100);
    return figures;
}

} // namespace CommissionReference
