#include "pay/plan_form.h"

#include "common/money_format.h"

#include <QRegularExpression>

namespace {

// An amount typed in the form: a number, not negative. Empty counts as 0.
std::optional<Money> amount(const QString &text, const QString &what, QString *problem)
{
    if (text.trimmed().isEmpty())
        return Money();
    const std::optional<Money> value = MoneyText::parse(text);
    if (!value) {
        *problem = QStringLiteral("The %1 \"%2\" is not an amount.").arg(what, text);
        return std::nullopt;
    }
    if (value->isNegative()) {
        *problem = QStringLiteral("The %1 must not be negative.").arg(what);
        return std::nullopt;
    }
    return value;
}

// A percent of the gross: 0 to 100, at most four decimals, "%" allowed after it.
std::optional<Money> percent(const QString &text, const QString &what, QString *problem)
{
    QString number = text.trimmed();
    if (number.endsWith(u'%'))
        number.chop(1);
    static const QRegularExpression form(QStringLiteral("^[-+]?\\d*(\\.\\d{0,4})?$"));
    const std::optional<Money> value =
        form.match(number.trimmed()).hasMatch() ? MoneyText::parse(number) : std::nullopt;
    if (!value) {
        *problem = QStringLiteral("The %1 \"%2\" is not a percent: type a number from 0 to 100 "
                                  "with at most four decimals.")
                       .arg(what, text);
        return std::nullopt;
    }
    if (value->isNegative() || *value > Money::dollars(100)) {
        *problem = QStringLiteral("The %1 must be a percent from 0 to 100.").arg(what);
        return std::nullopt;
    }
    return value;
}

// The units a tier starts from: 1 to 999, counted to the half.
std::optional<Money> tierUnits(const QString &text, const QString &tier, QString *problem)
{
    const QString number = text.trimmed();
    static const QRegularExpression form(QStringLiteral("^(\\d+\\.?\\d*|\\.\\d+)$"));
    const std::optional<Money> value =
        form.match(number).hasMatch() ? MoneyText::parse(number) : std::nullopt;
    if (!value) {
        *problem =
            QStringLiteral("%1 starts from \"%2\": that is not a number of units.").arg(tier, text);
        return std::nullopt;
    }
    if (*value < Money::dollars(1) || *value > Money::dollars(999)) {
        *problem = QStringLiteral("%1 must start from 1 to 999 units.").arg(tier);
        return std::nullopt;
    }
    // Read from the text itself, so that no rounding of long decimals
    // passes 12.50001 for a half.
    QString decimals = number.section(u'.', 1);
    while (decimals.endsWith(u'0'))
        decimals.chop(1);
    if (!decimals.isEmpty() && decimals != QStringLiteral("5")) {
        *problem = QStringLiteral("%1 starts from \"%2\" units: count whole or half units.")
                       .arg(tier, text);
        return std::nullopt;
    }
    return value;
}

// One tier row, not blank, named `tier` ("Tier 2") in what it refuses.
std::optional<VolumeTier> tierOf(const PlanForm::TierRow &row, const QString &tier,
                                 QString *problem)
{
    VolumeTier result;
    const std::optional<Money> units = tierUnits(row.unitsFrom, tier, problem);
    if (!units)
        return std::nullopt;
    result.unitsFrom = *units;
    const bool hasPercent = !row.percent.trimmed().isEmpty();
    const bool hasPerUnit = !row.perUnit.trimmed().isEmpty();
    if (hasPercent == hasPerUnit) {
        *problem = (hasPercent ? QStringLiteral("%1 has both a commission percent and a bonus a "
                                                "unit: give one of them.")
                               : QStringLiteral("%1 has neither a commission percent nor a bonus "
                                                "a unit: give one of them."))
                       .arg(tier);
        return std::nullopt;
    }
    const QString lower = tier.toLower();
    if (hasPercent) {
        result.percent = percent(row.percent, lower + QStringLiteral(" commission"), problem);
        if (!result.percent)
            return std::nullopt;
    } else {
        result.perUnit = amount(row.perUnit, lower + QStringLiteral(" bonus a unit"), problem);
        if (!result.perUnit)
            return std::nullopt;
    }
    if (!row.mini.trimmed().isEmpty()) {
        result.mini = amount(row.mini, lower + QStringLiteral(" mini deal"), problem);
        if (!result.mini)
            return std::nullopt;
    }
    return result;
}

} // namespace

bool PlanForm::TierRow::isBlank() const
{
    return unitsFrom.trimmed().isEmpty() && percent.trimmed().isEmpty() &&
           perUnit.trimmed().isEmpty() && mini.trimmed().isEmpty();
}

std::optional<QList<VolumeTier>> PlanForm::readTiers(QString *problem) const
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    QList<VolumeTier> result;
    qsizetype previousRow = -1;
    for (qsizetype i = 0; i < tiers.size(); ++i) {
        if (tiers.at(i).isBlank())
            continue;
        const QString tier = QStringLiteral("Tier %1").arg(i + 1);
        const std::optional<VolumeTier> read = tierOf(tiers.at(i), tier, problem);
        if (!read)
            return std::nullopt;
        if (!result.isEmpty() && read->unitsFrom <= result.last().unitsFrom) {
            *problem =
                QStringLiteral("%1 starts from %2 units, not above tier %3 (%4 units): list "
                               "the tiers from the fewest units up, each from a count of its "
                               "own.")
                    .arg(tier, MoneyFormat::plain(read->unitsFrom))
                    .arg(previousRow + 1)
                    .arg(MoneyFormat::plain(result.last().unitsFrom));
            return std::nullopt;
        }
        result << *read;
        previousRow = i;
    }
    return result;
}

QString PlanForm::className(int index)
{
    static const std::array<QString, PayPlanVersion::kClasses> names = {
        QStringLiteral("New Car"), QStringLiteral("New Truck"), QStringLiteral("Used Car"),
        QStringLiteral("Used Truck")};
    return names.at(index);
}

QString PlanForm::dateText(const QDate &date)
{
    return DateFormat::picture(date, QStringLiteral("mm/dd/yyyy"));
}

std::optional<PayPlanVersion> PlanForm::read(const QString &salesPerson,
                                             const QList<PayPlanVersion> &others,
                                             QString *problem) const
{
    QString ignored;
    if (!problem)
        problem = &ignored;
    PayPlanVersion version;
    version.salesPerson = salesPerson;
    version.effectiveFrom = QDate::fromString(effectiveFrom.trimmed(), QStringLiteral("MM/dd/yyyy"));
    if (!version.effectiveFrom.isValid())
        version.effectiveFrom = QDate::fromString(effectiveFrom.trimmed(), QStringLiteral("M/d/yyyy"));
    if (!version.effectiveFrom.isValid()) {
        *problem = QStringLiteral("The effective date \"%1\" is not a date: type it as MM/DD/YYYY.")
                       .arg(effectiveFrom);
        return std::nullopt;
    }
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        const ClassRow &row = classes.at(i);
        const QString name = className(i);
        PlanTerms &terms = version.terms.at(i);
        terms.kind = row.flat ? PlanTerms::Kind::Flat : PlanTerms::Kind::Percent;
        const std::optional<Money> commission =
            row.flat ? amount(row.commission, name + QStringLiteral(" flat commission"), problem)
                     : percent(row.commission, name + QStringLiteral(" commission"), problem);
        if (!commission)
            return std::nullopt;
        (row.flat ? terms.flat : terms.percent) = *commission;
        const std::optional<Money> mini = amount(row.mini, name + QStringLiteral(" mini deal"), problem);
        if (!mini)
            return std::nullopt;
        terms.mini = *mini;
        const std::optional<Money> pack = amount(row.pack, name + QStringLiteral(" pack"), problem);
        if (!pack)
            return std::nullopt;
        terms.pack = *pack;
    }
    if (!cap.trimmed().isEmpty()) {
        const std::optional<Money> capValue = amount(cap, QStringLiteral("cap"), problem);
        if (!capValue)
            return std::nullopt;
        for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
            if (*capValue < version.terms.at(i).mini) {
                *problem = QStringLiteral("The cap %1 is below the %2 mini deal %3: a deal's "
                                          "commission could not be both.")
                               .arg(MoneyFormat::dollarsGrouped(*capValue), className(i),
                                    MoneyFormat::dollarsGrouped(version.terms.at(i).mini));
                return std::nullopt;
            }
        }
        version.cap = capValue;
    }
    const std::optional<Money> warranty =
        amount(warrantySpiff, QStringLiteral("warranty spiff"), problem);
    if (!warranty)
        return std::nullopt;
    version.warrantySpiff = *warranty;
    const std::optional<Money> drawValue = amount(draw, QStringLiteral("draw per month"), problem);
    if (!drawValue)
        return std::nullopt;
    // A draw of nothing is no draw; without one, what it would be is left
    // as a new plan has it.
    if (!drawValue->isZero()) {
        version.drawPerMonth = drawValue;
        version.drawRecoverable = drawRecoverable;
    }
    const std::optional<QList<VolumeTier>> volumeTiers = readTiers(problem);
    if (!volumeTiers)
        return std::nullopt;
    // How tiers pay and what they count means nothing without tiers: left
    // as a new plan has it.
    if (!volumeTiers->isEmpty()) {
        version.tiers = *volumeTiers;
        version.tierMode = tierMode;
        version.tierClasses = tierClasses;
    }
    for (const PayPlanVersion &other : others) {
        if (other.effectiveFrom == version.effectiveFrom) {
            *problem = QStringLiteral("%1 already has a version from %2: choose another date, or "
                                      "change that version.")
                           .arg(salesPerson, dateText(version.effectiveFrom));
            return std::nullopt;
        }
    }
    return version;
}

PlanForm PlanForm::of(const PayPlanVersion &version)
{
    PlanForm form;
    form.effectiveFrom = dateText(version.effectiveFrom);
    for (int i = 0; i < PayPlanVersion::kClasses; ++i) {
        const PlanTerms &terms = version.terms.at(i);
        ClassRow &row = form.classes.at(i);
        row.flat = terms.kind == PlanTerms::Kind::Flat;
        row.commission = row.flat ? MoneyFormat::plain(terms.flat) : MoneyFormat::plain(terms.percent);
        row.mini = MoneyFormat::plain(terms.mini);
        row.pack = MoneyFormat::plain(terms.pack);
    }
    form.cap = version.cap ? MoneyFormat::plain(*version.cap) : QString();
    form.warrantySpiff = MoneyFormat::plain(version.warrantySpiff);
    form.draw = version.drawPerMonth ? MoneyFormat::plain(*version.drawPerMonth) : QString();
    form.drawRecoverable = version.drawRecoverable;
    for (const VolumeTier &tier : version.tiers) {
        const auto text = [](const std::optional<Money> &value) {
            return value ? MoneyFormat::plain(*value) : QString();
        };
        form.tiers << TierRow{MoneyFormat::plain(tier.unitsFrom), text(tier.percent),
                              text(tier.perUnit), text(tier.mini)};
    }
    form.tierMode = version.tierMode;
    form.tierClasses = version.tierClasses;
    return form;
}
