#include "entry_rules.h"

#include "common/exact_amount.h"
#include "common/money_format.h"

namespace EntryRules {

QString validNumberMessage()
{
    return QStringLiteral("You must enter a valid number");
}

QString dollarsMessage()
{
    return QStringLiteral("You must enter an amount in dollars!");
}

QString oneCharacterMessage()
{
    return QStringLiteral("Must be 1 character only");
}

namespace {

// A number the calculation holds exactly: it has a digit ("$." and "-$."
// hold none) and nothing but zeros past the eighteenth decimal, the last
// place a sum or a rate carries.
bool isExactNumber(const QString &text)
{
    if (!MoneyText::isNumber(text))
        return false;
    bool digit = false;
    qsizetype decimals = -1; // -1 before the point
    for (const QChar c : text) {
        if (c == u'.') {
            decimals = 0;
        } else if (c.isDigit()) {
            digit = true;
            if (decimals >= 0 && ++decimals > ExactAmount::kDecimals && c != u'0')
                return false;
        }
    }
    return digit;
}

} // namespace

bool refusesAsNumber(const QString &text)
{
    return !text.isEmpty() && !isExactNumber(text);
}

QString NumberRule::refusedText(const QString &text) const
{
    switch (afterwards) {
    case Afterwards::Emptied:
        return QString();
    case Afterwards::Kept:
        return text;
    case Afterwards::SetToZero:
        return QStringLiteral("0");
    }
    return text;
}

std::optional<NumberRule> numberRule(const QString &field)
{
    using A = NumberRule::Afterwards;
    if (field == u"Text3" || field == u"Text2" || field == u"txtWarranty")
        return NumberRule{validNumberMessage(), Prompts::Icon::None, A::Emptied};
    if (field == u"Text13")
        return NumberRule{validNumberMessage(), Prompts::Icon::None, A::Kept};
    if (field == u"Text6" || field == u"Text8" || field == u"Text10" || field == u"Text12" ||
        field == u"Text5")
        return NumberRule{dollarsMessage(), Prompts::Icon::Warning, A::Emptied};
    if (field == u"txtSpiff")
        return NumberRule{dollarsMessage(), Prompts::Icon::Warning, A::SetToZero};
    return std::nullopt;
}

std::optional<LengthRule> lengthRule(const QString &field)
{
    if (field == u"Text1")
        return LengthRule{8, QStringLiteral("Stock number must be less than 8 digits")};
    if (field == u"txtCustomer")
        return LengthRule{22, QStringLiteral("Customer's name must be 22 characters or less!")};
    if (field == u"cboUnit")
        return LengthRule{20, QStringLiteral("Unit discription must be 20 characters or less")};
    return std::nullopt;
}

bool isUsedUnitClass(const QString &unitClass)
{
    return unitClass == u"UT" || unitClass == u"UC";
}

UnitClassOutcome leaveUnitClass(const QString &unitClass, const QString &newPack,
                                const QString &usedPack)
{
    if (isUsedUnitClass(unitClass))
        return {inForm(usedPack, MoneyFormat::currency), QStringLiteral("0")};
    return {inForm(newPack, MoneyFormat::currency), std::nullopt};
}

SaleTypeOutcome leaveSaleType(const QString &saleType)
{
    static const QStringList cashTypes = {QStringLiteral("A"), QStringLiteral("X"),
                                          QStringLiteral("Z"), QStringLiteral("D"),
                                          QStringLiteral("P")};
    SaleTypeOutcome outcome;
    if (cashTypes.contains(saleType))
        outcome.firstReduction = QStringLiteral("A/X/Z Cash");
    outcome.wrongLength = saleType.size() != 1;
    return outcome;
}

namespace {

// The text's value rounded once to the cent, as the forms show it.
std::optional<Money> centsOf(const QString &text)
{
    const ExactReading reading = MoneyText::readExact(text);
    if (reading.kind != ExactReading::Kind::Amount)
        return std::nullopt;
    return reading.value.toCent();
}

} // namespace

QString inForm(const QString &text, QString (*form)(Money))
{
    const auto value = centsOf(text);
    return value ? form(*value) : text;
}

QString asNumberInForm(const QString &text, QString (*form)(Money))
{
    return form(centsOf(text).value_or(Money()));
}

} // namespace EntryRules
