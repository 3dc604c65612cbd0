#include "plan_trial_tally.h"

#include "common/exact_amount.h"
#include "pay/rate_text.h"
#include "pay/split_share.h"

#include <algorithm>
#include <array>

namespace PlanTrial {

namespace {

Money moneyOf(const StatementRows &rows, int column)
{
    return Money::fromUnits(rows.integer(column));
}

// A stored date, YYYY-MM-DD.
QDate dateOf(QByteArrayView text)
{
    const auto digits = [&](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i)
            value = value * 10 + (text.at(i) - '0');
        return value;
    };
    if (text.size() >= 10 && text.at(4) == '-' && text.at(7) == '-')
        return QDate(digits(0, 4), digits(5, 2), digits(8, 2));
    return QDate::fromString(QString::fromUtf8(text), Qt::ISODate);
}

// The unit class as a text, the four classes' shared rather than made again.
QString classText(QByteArrayView code)
{
    static const std::array<QString, PayPlanVersion::kClasses> codes = PayPlanVersion::classCodes();
    for (const QString &known : codes) {
        if (code.size() == 2 && known.at(0).unicode() == uchar(code.at(0)) &&
            known.at(1).unicode() == uchar(code.at(1)))
            return known;
    }
    return QString::fromUtf8(code);
}

int monthsBetween(const QDate &from, const QDate &to)
{
    return (to.year() - from.year()) * 12 + to.month() - from.month();
}

// The salesperson's share of a deal worked out: the whole deal's figure, or
// for a split deal the part of the row's salesperson.
Money shareOf(Money amount, bool split, int share, bool first)
{
    if (!split)
        return amount;
    const auto [firstPart, partnerPart] = SplitShare::divide(amount, share);
    return first ? firstPart : partnerPart;
}

} // namespace

TrialNames::TrialNames(const QStringList &salesPeople)
{
    for (const QString &name : salesPeople) {
        const QString upper = name.toUpper();
        if (m_index.contains(upper))
            continue;
        m_index.insert(upper, int(m_names.size()));
        m_utf8.emplace(upper.toUtf8().toStdString(), int(m_names.size()));
        m_names << upper;
    }
}

int TrialNames::placeOf(QByteArrayView name, bool typed) const
{
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) { return uchar(c) < 0x80; });
    if (typed && !plain)
        return placeOf(QString::fromUtf8(name).toUpper());
    std::string key(name.data(), size_t(name.size()));
    if (typed)
        std::transform(key.begin(), key.end(), key.begin(),
                       [](char c) { return char(std::toupper(uchar(c))); });
    const auto at = m_utf8.find(key);
    return at == m_utf8.end() ? -1 : at->second;
}

Tally::Tally(const PayPlanVersion &plan, const TrialNames &names, const QDate &firstMonth,
             int monthCount)
    : m_plan(&plan), m_names(&names), m_firstMonth(firstMonth), m_monthCount(monthCount)
{
    for (const QString &name : names.names()) {
        Line line;
        line.salesPerson = name;
        m_lines << line;
    }
    m_months.resize(size_t(m_lines.size()) * size_t(std::max(0, monthCount)));
}

QList<VolumeBonus::MonthRow> *Tally::monthRows(int person, const QDate &date)
{
    const int month = monthsBetween(m_firstMonth, date);
    if (month < 0 || month >= m_monthCount)
        return nullptr;
    return &m_months[size_t(person) * size_t(m_monthCount) + size_t(month)];
}

// The deal worked out again by the plan tried; std::nullopt when its
// figures leave the range of Money (the row then keeps what it paid).
std::optional<CommissionAmounts> Tally::workedOut(StatementRows &rows) const
{
    const PlanTerms &terms = m_plan->termsFor(classText(rows.utf8(DealClass)));
    CommissionFigures figures;
    figures.cost = moneyOf(rows, Cost);
    figures.sellingPrice = moneyOf(rows, Price);
    figures.totalReductions = moneyOf(rows, Reductions);
    figures.totalAdditions = moneyOf(rows, Additions);
    figures.allowance = moneyOf(rows, Allowance);
    figures.underAllow = rows.integer(UnderAllow) != 0;
    // A pack or a rate typed over the plan's for this deal stays the deal's.
    figures.pack = rows.isNull(PlanPack) ? terms.pack : moneyOf(rows, Pack);
    if (!rows.isNull(PlanRate) && !rows.utf8(PlanRate).isEmpty()) {
        const QString rate = QString::fromUtf8(rows.utf8(Rate));
        figures.flat = RateText::flatAmount(rate);
        if (!figures.flat) {
            const ExactReading reading = MoneyText::readExact(MoneyText::percentNumber(rate));
            if (reading.kind == ExactReading::Kind::Amount)
                figures.rate = reading.value;
        }
    } else if (terms.kind == PlanTerms::Kind::Flat) {
        figures.flat = terms.flat;
    } else {
        figures.rate = ExactAmount::fromMoney(terms.percent);
    }
    figures.mini = ExactAmount::fromMoney(terms.mini);
    figures.cap = m_plan->cap;
    figures.spiff = ExactAmount::fromMoney(moneyOf(rows, Spiff));
    if (rows.integer(WarrantySold) != 0)
        figures.warranty = ExactAmount::fromMoney(m_plan->warrantySpiff);
    return workCommission(figures);
}

void Tally::take(StatementRows &rows)
{
    const int person = m_names->placeOf(rows.utf8(SalesPerson), false);
    if (person < 0)
        return;
    Line &line = m_lines[person];
    const QDate date = dateOf(rows.utf8(Date));
    const Money units = moneyOf(rows, UnitCount);
    VolumeBonus::MonthRow monthRow{.date = date,
                                   .order = rows.integer(RowId),
                                   .unitClass = classText(rows.utf8(RowClass)),
                                   .unitCount = units,
                                   .payableGross = moneyOf(rows, RowGross).roundedToCent(),
                                   .commission = moneyOf(rows, RowCommission).roundedToCent()};
    QList<VolumeBonus::MonthRow> *month = monthRows(person, date);
    if (!month)
        return;
    if (!rows.isNull(UnwoundOn)) {
        // Unwound whole: it pays nothing on either side; its units come off
        // the month it was unwound in.
        const QDate unwoundOn = dateOf(rows.utf8(UnwoundOn));
        monthRow.unwound = monthsBetween(date, unwoundOn) == 0;
        *month << monthRow;
        if (!monthRow.unwound)
            takeEarlier(person, unwoundOn, monthRow);
        return;
    }
    ++line.deals;
    line.units += units;
    const Money paid = moneyOf(rows, RowTotal);
    line.dealsPaid += paid;
    const int first = m_names->placeOf(rows.utf8(FirstSalesPerson), true);
    const std::optional<CommissionAmounts> tried = first >= 0 ? workedOut(rows) : std::nullopt;
    if (!tried) {
        line.dealsTried += paid;
        *month << monthRow;
        return;
    }
    const bool split = rows.integer(Split) != 0;
    const int share = rows.isNull(Share) ? SplitShare::kEven : int(rows.integer(Share));
    const bool isFirst = first == person;
    line.dealsTried += shareOf(tried->total, split, share, isFirst);
    monthRow.payableGross = shareOf(tried->payableGross.roundedToCent(), split, share, isFirst);
    monthRow.commission = shareOf(tried->commission, split, share, isFirst);
    *month << monthRow;
}

void Tally::takeEarlier(int person, const QDate &month, const VolumeBonus::MonthRow &row)
{
    if (QList<VolumeBonus::MonthRow> *rows = monthRows(person, month)) {
        VolumeBonus::MonthRow earlier = row;
        earlier.unwound = earlier.soldEarlier = true;
        *rows << earlier;
    }
}

void Tally::add(const Tally &other)
{
    for (qsizetype at = 0; at < m_lines.size(); ++at)
        m_lines[at] += other.m_lines.at(at);
    for (size_t at = 0; at < m_months.size(); ++at)
        m_months[at] << other.m_months.at(at);
}

void Tally::settleVolume()
{
    if (m_plan->tiers.isEmpty())
        return;
    for (qsizetype person = 0; person < m_lines.size(); ++person) {
        for (int month = 0; month < m_monthCount; ++month) {
            m_lines[person].volumeTried +=
                VolumeBonus::owed(*m_plan, m_months[size_t(person) * size_t(m_monthCount) + size_t(month)])
                    .owed;
        }
    }
}

} // namespace PlanTrial
