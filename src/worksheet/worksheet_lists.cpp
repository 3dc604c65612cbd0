#include "worksheet_lists.h"

#include <QCollator>

#include <algorithm>

namespace WorksheetLists {

namespace {

QStringList accessories(const QString &capEntry)
{
    return {QStringLiteral("TST Pkg."),
            QStringLiteral("Bedliner"),
            capEntry,
            QStringLiteral("Running Boards"),
            QStringLiteral("Stripe"),
            QStringLiteral("Certification"),
            QStringLiteral("UCI"),
            QStringLiteral("Service"),
            QStringLiteral("Detail"),
            QStringLiteral("Spoiler"),
            QStringLiteral("Hypertech"),
            QStringLiteral("Bug\\Vent"),
            QStringLiteral("Remote Start"),
            QStringLiteral("Alarm"),
            QStringLiteral("Misc.")};
}

} // namespace

QStringList reductionDescriptions(int row)
{
    switch (row) {
    case 0:
        return {QStringLiteral("A/X/Z Cash"), QStringLiteral("Dealer Cash"), QStringLiteral("FDFA"),
                QStringLiteral("Wholesale Credit"), QStringLiteral("Misc.")};
    case 1:
        return {QStringLiteral("Dealer Cash"), QStringLiteral("FDFA"),
                QStringLiteral("Wholesale Credit"), QStringLiteral("Misc.")};
    default:
        return {QStringLiteral("Misc. Credit")};
    }
}

QStringList additionDescriptions(int row)
{
    switch (row) {
    case 0:
        return {QStringLiteral("Stripe"),        QStringLiteral("UCI"),
                QStringLiteral("Certification"), QStringLiteral("Remote Start"),
                QStringLiteral("Misc."),         QStringLiteral("Detail"),
                QStringLiteral("Bedliner"),      QStringLiteral("TST Pkg."),
                QStringLiteral("Service")};
    case 1:
        return {QStringLiteral("Service"), QStringLiteral("Certification"), QStringLiteral("UCI"),
                QStringLiteral("Detail"),  QStringLiteral("Stripe"),        QStringLiteral("Misc."),
                QStringLiteral("TST Pkg.")};
    case 2:
        return accessories(QStringLiteral("Cap/Cover"));
    default:
        return accessories(QStringLiteral("Cap\\Cover"));
    }
}

QStringList unitClasses()
{
    return {QStringLiteral("NT"), QStringLiteral("NC"), QStringLiteral("UT"), QStringLiteral("UC")};
}

QStringList saleTypes()
{
    return sortedForList({QStringLiteral("0"), QStringLiteral("A"), QStringLiteral("D"),
                          QStringLiteral("E"), QStringLiteral("L"), QStringLiteral("P"),
                          QStringLiteral("R"), QStringLiteral("X")});
}

QStringList modelYears(int currentYear)
{
    QStringList years;
    for (int year = currentYear + 1; year >= currentYear - 9; --year)
        years.append(QString::number(year));
    return years;
}

QStringList sortedForList(QStringList items)
{
    QCollator collator; // the desktop's language: Écru sorts with the E's
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), [&collator](const QString &a, const QString &b) {
        const int order = collator.compare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return items;
}

} // namespace WorksheetLists
