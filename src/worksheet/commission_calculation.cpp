#include "commission_calculation.h"

#include "common/exact_amount.h"
#include "common/money_format.h"
#include "pay/rate_text.h"
#include "worksheet/entry_rules.h"


namespace {

// Reads the worksheet's amounts at their value as typed. An amount that is a
// number beyond the range of Money is remembered: the calculation is then
// refused as a whole rather than counting it as 0.
class AmountReader
{
public:
    // The amount as typed; text that is not a number counts as 0.
    ExactAmount exact(const QString &text)
    {
        const ExactReading reading = MoneyText::readExact(text);
        if (reading.kind == ExactReading::Kind::TooLarge)
            m_tooLarge = true;
        return reading.kind == ExactReading::Kind::Amount ? reading.value : ExactAmount();
    }
    // The amount rounded once to four places, as the working values are kept.
    Money kept(const QString &text) { return exact(text).toMoney().value_or(Money()); }
    // The sum of the amounts as typed, rounded once to four places.
    std::optional<Money> keptSum(const std::array<QString, Deal::kRows> &texts)
    {
        std::optional<ExactAmount> sum = ExactAmount();
        for (const QString &text : texts)
            sum = sum ? sum->plus(exact(text)) : std::nullopt;
        return sum ? sum->toMoney() : std::nullopt;
    }
    bool tooLarge() const { return m_tooLarge; }

private:
    bool m_tooLarge = false;
};

// A running sum in Money that stops at the first step leaving its range.
class Sum
{
public:
    explicit Sum(Money start = Money()) : m_value(start) {}

    Sum &plus(Money amount)
    {
        if (m_value)
            m_value = m_value->checkedAdd(amount);
        return *this;
    }
    Sum &minus(Money amount)
    {
        if (m_value)
            m_value = m_value->checkedSubtract(amount);
        return *this;
    }
    const std::optional<Money> &value() const { return m_value; }

private:
    std::optional<Money> m_value;
};

// The sum of exact amounts rounded once to the cent; std::nullopt beyond the
// range of Money.
std::optional<Money> centsOfSum(std::initializer_list<ExactAmount> amounts)
{
    std::optional<ExactAmount> sum = ExactAmount();
    for (const ExactAmount amount : amounts)
        sum = sum ? sum->plus(amount) : std::nullopt;
    return sum ? sum->toCent() : std::nullopt;
}

} // namespace

CommissionInput CommissionInput::fromDeal(const Deal &deal, const QString &defaultWarranty,
                                          const QString &defaultMini)
{
    CommissionInput input;
    input.cost = deal.cost;
    input.pack = deal.pack;
    input.sellingPrice = deal.sellingPrice;
    input.reductions = deal.reductionAmounts;
    input.additions = deal.additionAmounts;
    input.allowance = deal.allowance;
    input.underAllow = deal.underAllow;
    input.commissionRate = deal.commissionRate;
    input.warrantySold = deal.warrantySold;
    input.spiff = deal.spiff;
    input.defaultWarranty = defaultWarranty;
    input.defaultMini = defaultMini;
    return input;
}

std::optional<Money> percentOf(Money amount, Money rate)
{
    return amount.checkedMultiplyDivide(rate, 100);
}

std::optional<CommissionAmounts> workCommission(const CommissionFigures &figures)
{
    // An allowance with neither option selected counts as over the appraisal.
    Sum cost(figures.cost);
    cost.minus(figures.totalReductions).plus(figures.totalAdditions).plus(figures.pack);
    if (figures.underAllow)
        cost.minus(figures.allowance);
    else
        cost.plus(figures.allowance);
    const auto gross =
        cost.value() ? Sum(figures.sellingPrice).minus(*cost.value()).value() : std::nullopt;
    // The commission is the exact gross x rate / 100 rounded once, to the cent
    // it is shown and counted in; never below the mini deal.
    const auto commission = !gross         ? std::nullopt
                            : figures.flat ? std::optional(figures.flat->roundedToCent())
                                           : percentToCent(*gross, figures.rate);
    if (!commission)
        return std::nullopt;
    CommissionAmounts amounts;
    amounts.payableGross = *gross;
    amounts.totalCost = *cost.value();
    amounts.commission = *commission;
    if (figures.mini.toMoney().value_or(Money()) > amounts.commission)
        amounts.commission = figures.mini.toCent().value_or(Money());
    // A plan's cap is the most a deal pays, whatever the gross and the mini.
    if (figures.cap && *figures.cap < amounts.commission)
        amounts.commission = figures.cap->roundedToCent();

    // The warranty spiff counts as shown; the spiff as typed.
    amounts.warranty = figures.warranty.toCent().value_or(Money());
    amounts.spiff = figures.spiff.toCent().value_or(Money());
    const auto total = centsOfSum({ExactAmount::fromMoney(amounts.commission), figures.spiff,
                                   ExactAmount::fromMoney(amounts.warranty)});
    if (!total)
        return std::nullopt;
    amounts.total = *total;
    return amounts;
}

CommissionResult calculateCommission(const CommissionInput &input)
{
    CommissionResult result;
    std::array<QString, Deal::kRows> reductions = input.reductions;
    for (int row = 0; row < Deal::kRows; ++row) {
        if (!reductions[row].isEmpty() && !MoneyText::readExact(reductions[row]).isNumber()) {
            result.refusedReductions[row] = true;
            reductions[row].clear();
        }
    }

    // Single amounts are kept rounded to four places, sums are added as typed
    // and rounded once; the rate, the spiffs and the mini deal count as typed.
    AmountReader read;
    CommissionFigures figures;
    figures.cost = result.costAcv = read.kept(input.cost);
    figures.pack = result.packAmount = read.kept(input.pack);
    figures.sellingPrice = result.sellingPrice = read.kept(input.sellingPrice);
    const auto totalReductions = read.keptSum(reductions);
    const auto totalAdditions = read.keptSum(input.additions);
    figures.allowance = read.kept(input.allowance);
    figures.underAllow = input.underAllow;
    // A plan's flat amount a deal stands in for the percent of the gross.
    figures.flat = RateText::flatAmount(input.commissionRate);
    if (!figures.flat)
        figures.rate = read.exact(MoneyText::percentNumber(input.commissionRate));
    figures.mini = read.exact(input.defaultMini);
    figures.spiff = read.exact(input.spiff);
    if (input.warrantySold)
        figures.warranty = read.exact(input.defaultWarranty);
    figures.cap = input.cap;
    if (read.tooLarge() || !totalReductions || !totalAdditions) {
        result.outOfRange = true;
        return result;
    }
    figures.totalReductions = result.totalReductions = *totalReductions;
    figures.totalAdditions = result.totalAdditions = *totalAdditions;

    const std::optional<CommissionAmounts> amounts = workCommission(figures);
    if (!amounts) {
        result.outOfRange = true;
        return result;
    }
    result.totalCost = amounts->totalCost;
    result.commissionAmount = amounts->commission;
    result.payableGross = MoneyFormat::dollars(amounts->payableGross);
    result.commission = MoneyFormat::dollars(amounts->commission);
    result.warranty = MoneyFormat::dollars(amounts->warranty);
    result.totalCommission = MoneyFormat::dollars(amounts->total);
    result.spiff = MoneyFormat::dollars(amounts->spiff);
    return result;
}

CommissionTotal totalCommission(const QString &commission, const QString &spiff,
                                const QString &warranty)
{
    AmountReader read;
    const auto total = centsOfSum({read.exact(commission), read.exact(spiff), read.exact(warranty)});
    if (!total || read.tooLarge())
        return CommissionTotal{true, {}, {}, {}};
    return CommissionTotal{false, EntryRules::inForm(commission, MoneyFormat::currency),
                           EntryRules::asNumberInForm(spiff, MoneyFormat::dollars),
                           MoneyFormat::dollars(*total)};
}
