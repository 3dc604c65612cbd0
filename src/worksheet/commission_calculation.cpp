#include "commission_calculation.h"

#include "common/money_format.h"
#include "worksheet/entry_rules.h"


namespace {

// A running sum that stops at the first step leaving the range of Money.
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

std::optional<Money> sumOf(const std::array<QString, Deal::kRows> &texts)
{
    Sum sum;
    for (const QString &text : texts)
        sum.plus(MoneyText::readAmount(text));
    return sum.value();
}

QString warrantyText(const CommissionInput &input)
{
    return EntryRules::asNumberInForm(
        input.warrantySold ? input.defaultWarranty : QStringLiteral("0"), MoneyFormat::dollars);
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
        if (EntryRules::refusesAsNumber(reductions[row])) {
            result.refusedReductions[row] = true;
            reductions[row].clear();
        }
    }

    result.costAcv = MoneyText::readAmount(input.cost);
    result.packAmount = MoneyText::readAmount(input.pack);
    result.sellingPrice = MoneyText::readAmount(input.sellingPrice);
    const auto totalReductions = sumOf(reductions);
    const auto totalAdditions = sumOf(input.additions);
    if (!totalReductions || !totalAdditions) {
        result.outOfRange = true;
        return result;
    }
    result.totalReductions = *totalReductions;
    result.totalAdditions = *totalAdditions;
    result.warranty = warrantyText(input);

    // An allowance with neither option selected counts as over the appraisal.
    const Money allowance = MoneyText::readAmount(input.allowance);
    Sum cost(result.costAcv);
    cost.minus(result.totalReductions).plus(result.totalAdditions).plus(result.packAmount);
    if (input.underAllow)
        cost.minus(allowance);
    else
        cost.plus(allowance);
    const auto gross =
        cost.value() ? Sum(result.sellingPrice).minus(*cost.value()).value() : std::nullopt;
    const auto commission =
        gross ? percentOf(*gross, MoneyText::readPercent(input.commissionRate)) : std::nullopt;
    if (!commission) {
        result.outOfRange = true;
        return result;
    }
    result.totalCost = *cost.value();
    result.payableGross = MoneyFormat::dollars(*gross);

    // The commission counts as shown, to the cent; never below the mini deal.
    result.commissionAmount = commission->roundedToCent();
    const Money mini = MoneyText::readAmount(input.defaultMini);
    if (mini > result.commissionAmount)
        result.commissionAmount = mini.roundedToCent();
    result.commission = MoneyFormat::dollars(result.commissionAmount);

    const auto total = Sum(result.commissionAmount)
                           .plus(MoneyText::readAmount(input.spiff))
                           .plus(MoneyText::readAmount(result.warranty))
                           .value();
    if (!total) {
        result.outOfRange = true;
        return result;
    }
    result.totalCommission = MoneyFormat::dollars(*total);
    result.spiff = EntryRules::asNumberInForm(input.spiff, MoneyFormat::dollars);
    return result;
}

CommissionTotal totalCommission(const QString &commission, const QString &spiff,
                                const QString &warranty)
{
    const auto total = Sum(MoneyText::readAmount(commission))
                           .plus(MoneyText::readAmount(spiff))
                           .plus(MoneyText::readAmount(warranty))
                           .value();
    if (!total)
        return CommissionTotal{true, {}, {}, {}};
    return CommissionTotal{false, EntryRules::inForm(commission, MoneyFormat::currency),
                           EntryRules::asNumberInForm(spiff, MoneyFormat::dollars),
                           MoneyFormat::dollars(*total)};
}
