#include "pay/pay_plan.h"

#include <algorithm>

const std::array<QString, PayPlanVersion::kClasses> &PayPlanVersion::classCodes()
{
    static const std::array<QString, kClasses> codes = {
        QStringLiteral("NC"), QStringLiteral("NT"), QStringLiteral("UC"), QStringLiteral("UT")};
    return codes;
}

int PayPlanVersion::classIndex(const QString &unitClass)
{
    const auto &codes = classCodes();
    const auto found = std::find(codes.begin(), codes.end(), unitClass);
    return found == codes.end() ? 0 : int(found - codes.begin());
}

namespace PayPlan {

std::optional<PayPlanVersion> inForce(const QList<PayPlanVersion> &versions, const QDate &date)
{
    std::optional<PayPlanVersion> best;
    for (const PayPlanVersion &version : versions) {
        if (version.effectiveFrom <= date &&
            (!best || version.effectiveFrom > best->effectiveFrom))
            best = version;
    }
    return best;
}

QList<PayPlanVersion> newestFirst(QList<PayPlanVersion> versions)
{
    std::stable_sort(versions.begin(), versions.end(),
                     [](const PayPlanVersion &a, const PayPlanVersion &b) {
                         return a.effectiveFrom > b.effectiveFrom;
                     });
    return versions;
}

} // namespace PayPlan
