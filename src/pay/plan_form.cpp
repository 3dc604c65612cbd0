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

} // namespace

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
    return form;
}
