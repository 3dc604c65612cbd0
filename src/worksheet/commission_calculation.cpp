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
    result.costAcv = read.kept(input.cost);
    result.packAmount = read.kept(input.pack);
    result.sellingPrice = read.kept(input.sellingPrice);
    const auto totalReductions = read.keptSum(reductions);
    const auto totalAdditions = read.keptSum(input.additions);
    const Money allowance = read.kept(input.allowance);
    // A plan's flat amount a deal stands in for the percent of the gross.
    const std::optional<Money> flat = RateText::flatAmount(input.commissionRate);
    const ExactAmount rate =
        flat ? ExactAmount() : read.exact(MoneyText::percentNumber(input.commissionRate));
    const ExactAmount mini = read.exact(input.defaultMini);
    const ExactAmount spiff = read.exact(input.spiff);
    const ExactAmount warranty =
        input.warrantySold ? read.exact(input.defaultWarranty) : ExactAmount();
    if (read.tooLarge() || !totalReductions || !totalAdditions) {
        result.outOfRange = true;
        return result;
    }
    result.totalReductions = *totalReductions;
    result.totalAdditions = *totalAdditions;

    // An allowance with neither option selected counts as over the appraisal.
    Sum cost(result.costAcv);
    cost.minus(result.totalReductions).plus(result.totalAdditions).plus(result.packAmount);
    if (input.underAllow)
        cost.minus(allowance);
    else
        cost.plus(allowance);
    const auto gross =
        cost.value() ? Sum(result.sellingPrice).minus(*cost.value()).value() : std::nullopt;
    // The commission is the exact gross x rate / 100 rounded once, to the cent
    // it is shown and counted in; never below the mini deal.
    const auto commission =
        !gross ? std::nullopt : flat ? std::optional(flat->roundedToCent()) : percentToCent(*gross, rate);
    if (!commission) {
        result.outOfRange = true;
        return result;
    }
    result.totalCost = *cost.value();
    result.commissionAmount = *commission;
    if (mini.toMoney().value_or(Money()) > result.commissionAmount)
        result.commissionAmount = mini.toCent().value_or(Money());
    // A plan's cap is the most a deal pays, whatever the gross and the mini.
    if (input.cap && *input.cap < result.commissionAmount)
        result.commissionAmount = input.cap->roundedToCent();

    // The warranty spiff counts as shown; the spiff as typed.
    const Money warrantyShown = warranty.toCent().value_or(Money());
    const auto total = centsOfSum(
        {ExactAmount::fromMoney(result.commissionAmount), spiff, ExactAmount::fromMoney(warrantyShown)});
    if (!total) {
        result.outOfRange = true;
        return result;
    }
    result.payableGross = MoneyFormat::dollars(*gross);
    result.commission = MoneyFormat::dollars(result.commissionAmount);
    result.warranty = MoneyFormat::dollars(warrantyShown);
    result.totalCommission = MoneyFormat::dollars(*total);
    result.spiff = MoneyFormat::dollars(spiff.toCent().value_or(Money()));
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
