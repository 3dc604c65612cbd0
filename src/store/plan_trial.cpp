#include "plan_trial.h"

#include "column_value.h"
#include "deal_database.h"
#include "statement_rows.h"
#include "volume_ledger.h"

#include "common/exact_amount.h"
#include "pay/rate_text.h"
#include "pay/split_share.h"
#include "pay/volume_bonus.h"
#include "worksheet/commission_calculation.h"

#include <QHash>

namespace PlanTrial {

namespace {

Money moneyOf(const QVariant &value)
{
    return Money::fromUnits(value.toLongLong());
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), count);
    return marks.join(QStringLiteral(", "));
}

int monthKey(const QDate &date)
{
    return date.year() * 12 + date.month() - 1;
}

// The columns of the rows read, in their order.
enum Column {
    RowId,
    Date,
    SalesPerson,
    RowClass,
    UnitCount,
    RowGross,
    RowCommission,
    RowTotal,
    FirstSalesPerson,
    Split,
    DealClass,
    Price,
    Cost,
    Reductions,
    Additions,
    Allowance,
    UnderAllow,
    Pack,
    Rate,
    WarrantySold,
    Spiff,
    Share,
    PlanPack,
    PlanRate,
    UnwoundOn,
};

const QString kRowsStatement = QStringLiteral(
    "SELECT s.rowid, s.\"Date\", s.\"Sales_Person\", s.\"TCU\", s.\"UnitCount\", "
    "s.\"Payable_Gross\", s.\"Commission\", s.\"TotalCommission\", r.\"SalesPerson\", "
    "r.\"Split\", r.\"TCU\", r.\"Price\", r.\"Cost\", "
    "COALESCE(r.\"RTCP1\", 0) + COALESCE(r.\"RTCP2\", 0) + COALESCE(r.\"RTCP3\", 0) + "
    "COALESCE(r.\"RTCP4\", 0) + COALESCE(r.\"RTCP5\", 0), "
    "COALESCE(r.\"ATCP1\", 0) + COALESCE(r.\"ATCP2\", 0) + COALESCE(r.\"ATCP3\", 0) + "
    "COALESCE(r.\"ATCP4\", 0) + COALESCE(r.\"ATCP5\", 0), "
    "r.\"OVAllow\", r.\"UA\", r.\"Pack\", r.\"CommRate\", r.\"ChkWarranty\", r.\"Spiff\", "
    "p.\"SplitShare\", p.\"PlanPack\", p.\"PlanRate\", "
    "(SELECT MIN(u.\"UnwoundOn\") FROM \"Unwinds\" u WHERE u.\"DealId\" = s.\"DealId\" AND "
    "u.\"Whole\" = 1) "
    "FROM \"SalesSummary\" s JOIN \"RecallDeal\" r ON r.\"DealId\" = s.\"DealId\" "
    "LEFT JOIN \"DealPlans\" p ON p.\"DealId\" = s.\"DealId\" "
    "WHERE s.\"Sales_Person\" IN (%1) AND s.\"Date\" >= ? AND s.\"Date\" < ?");

// Rows sold before the months whose deals were unwound whole in one of them:
// their units come off that month's count.
const QString kEarlierStatement = QStringLiteral(
    "SELECT s.\"Sales_Person\", s.rowid, s.\"Date\", s.\"TCU\", s.\"UnitCount\", "
    "MIN(u.\"UnwoundOn\") FROM \"Unwinds\" u JOIN \"SalesSummary\" s ON s.\"DealId\" = "
    "u.\"DealId\" WHERE u.\"Whole\" = 1 AND u.\"UnwoundOn\" >= ? AND u.\"UnwoundOn\" < ? AND "
    "s.\"Date\" < ? AND s.\"Sales_Person\" IN (%1) GROUP BY s.\"Sales_Person\", s.rowid, "
    "s.\"Date\", s.\"TCU\", s.\"UnitCount\"");

const QString kVolumePaidStatement = QStringLiteral(
    "SELECT l.\"SalesPerson\", SUM(l.\"Amount\") FROM \"Ledger\" l JOIN \"Sheets\" h ON "
    "h.\"SheetId\" = l.\"SheetId\" WHERE l.\"Kind\" = 'Volume bonus' AND h.\"VoidedAt\" IS NULL "
    "AND l.\"EntryDate\" >= ? AND l.\"EntryDate\" < ? AND l.\"SalesPerson\" IN (%1) "
    "GROUP BY l.\"SalesPerson\"");

// The salesperson's share of a deal worked out: the whole deal's figure, or
// for a split deal the part of the row's salesperson.
Money shareOf(Money amount, bool split, int share, bool first)
{
    if (!split)
        return amount;
    const auto [firstPart, partnerPart] = SplitShare::divide(amount, share);
    return first ? firstPart : partnerPart;
}

class Trial
{
public:
    Trial(const Question &question) : m_question(question)
    {
        m_from = VolumeLedger::monthOf(question.firstMonth);
        m_to = VolumeLedger::monthOf(question.lastMonth).addMonths(1);
        for (const QString &name : question.salesPeople) {
            const QString upper = name.toUpper();
            if (m_index.contains(upper))
                continue;
            m_index.insert(upper, int(m_lines.size()));
            Line line;
            line.salesPerson = upper;
            m_lines << line;
            m_names << upper;
        }
        m_months.resize(m_lines.size());
    }

    Result run(DealDatabase &database, const Progress &progress)
    {
        Result result;
        if (m_lines.isEmpty() || m_to <= m_from) {
            result.outcome = Outcome::Done;
            return result;
        }
        bool cancelled = false;
        const bool read = database.reading(
            [&] {
                return readRows(database, progress, cancelled, result.error) &&
                       (cancelled || (readEarlier(database, result.error) &&
                                      readVolumePaid(database, result.error)));
            },
            &result.error);
        if (cancelled) {
            result.outcome = Outcome::Cancelled;
            return result;
        }
        if (!read)
            return result;
        settleVolume();
        result.outcome = Outcome::Done;
        result.lines = m_lines;
        return result;
    }

private:
    QVariantList namesThen(QVariantList values) const
    {
        QVariantList all;
        for (const QString &name : m_names)
            all << name;
        return values + all;
    }

    std::optional<qint64> count(DealDatabase &database, QString &error) const
    {
        StatementRows rows(database.connection());
        QVariantList values;
        for (const QString &name : m_names)
            values << name;
        values << ColumnValue::date(m_from) << ColumnValue::date(m_to);
        if (!rows.run(QStringLiteral("SELECT COUNT(*) FROM \"SalesSummary\" s WHERE "
                                     "s.\"Sales_Person\" IN (%1) AND s.\"Date\" >= ? AND "
                                     "s.\"Date\" < ?")
                          .arg(placeholders(m_names.size())),
                      values, &error) ||
            !rows.next())
            return std::nullopt;
        return rows.value(0).toLongLong();
    }

    bool readRows(DealDatabase &database, const Progress &progress, bool &cancelled,
                  QString &error)
    {
        const std::optional<qint64> total = count(database, error);
        if (!total)
            return false;
        StatementRows rows(database.connection());
        QVariantList values;
        for (const QString &name : m_names)
            values << name;
        values << ColumnValue::date(m_from) << ColumnValue::date(m_to);
        if (!rows.run(kRowsStatement.arg(placeholders(m_names.size())), values, &error))
            return false;
        qint64 done = 0;
        while (rows.next()) {
            take(rows);
            if (++done % 4096 == 0 && progress && !progress(done, *total)) {
                cancelled = true;
                return true;
            }
        }
        if (progress && !progress(done, std::max(done, *total)))
            cancelled = true;
        return true;
    }

    // The deal worked out again by the plan tried; std::nullopt when its
    // figures leave the range of Money (the row then keeps what it paid).
    std::optional<CommissionAmounts> workedOut(const StatementRows &rows) const
    {
        const PayPlanVersion &plan = m_question.plan;
        const PlanTerms &terms = plan.termsFor(rows.value(DealClass).toString());
        CommissionFigures figures;
        figures.cost = moneyOf(rows.value(Cost));
        figures.sellingPrice = moneyOf(rows.value(Price));
        figures.totalReductions = moneyOf(rows.value(Reductions));
        figures.totalAdditions = moneyOf(rows.value(Additions));
        figures.allowance = moneyOf(rows.value(Allowance));
        figures.underAllow = rows.value(UnderAllow).toInt() != 0;
        // A pack or a rate typed over the plan's for this deal stays the deal's.
        figures.pack = rows.value(PlanPack).isNull() ? terms.pack : moneyOf(rows.value(Pack));
        const QString typedRate = rows.value(PlanRate).toString();
        if (!typedRate.isEmpty()) {
            const QString rate = rows.value(Rate).toString();
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
        figures.cap = plan.cap;
        figures.spiff = ExactAmount::fromMoney(moneyOf(rows.value(Spiff)));
        if (rows.value(WarrantySold).toInt() != 0)
            figures.warranty = ExactAmount::fromMoney(plan.warrantySpiff);
        return workCommission(figures);
    }

    void take(const StatementRows &rows)
    {
        const auto at = m_index.constFind(rows.value(SalesPerson).toString());
        if (at == m_index.constEnd())
            return;
        Line &line = m_lines[*at];
        const QDate date = ColumnValue::dateFrom(rows.value(Date));
        const QDate unwoundOn = ColumnValue::dateFrom(rows.value(UnwoundOn));
        const Money units = moneyOf(rows.value(UnitCount));
        VolumeBonus::MonthRow monthRow{.date = date,
                                       .order = rows.value(RowId).toLongLong(),
                                       .unitClass = rows.value(RowClass).toString(),
                                       .unitCount = units,
                                       .payableGross = moneyOf(rows.value(RowGross)).roundedToCent(),
                                       .commission = moneyOf(rows.value(RowCommission)).roundedToCent()};
        const int month = monthKey(date);
        if (unwoundOn.isValid()) {
            // Unwound whole: it pays nothing on either side; its units come off
            // the month it was unwound in.
            monthRow.unwound = monthKey(unwoundOn) == month;
            m_months[*at][month] << monthRow;
            if (!monthRow.unwound && unwoundOn < m_to) {
                monthRow.unwound = monthRow.soldEarlier = true;
                m_months[*at][monthKey(unwoundOn)] << monthRow;
            }
            return;
        }
        ++line.deals;
        line.units += units;
        const Money paid = moneyOf(rows.value(RowTotal));
        line.dealsPaid += paid;
        const QString first = rows.value(FirstSalesPerson).toString().toUpper();
        const std::optional<CommissionAmounts> tried =
            m_index.contains(first) ? workedOut(rows) : std::nullopt;
        if (!tried) {
            line.dealsTried += paid;
            m_months[*at][month] << monthRow;
            return;
        }
        const bool split = rows.value(Split).toInt() != 0;
        const int share = rows.value(Share).isNull() ? SplitShare::kEven : rows.value(Share).toInt();
        const bool isFirst = first == rows.value(SalesPerson).toString();
        line.dealsTried += shareOf(tried->total, split, share, isFirst);
        monthRow.payableGross = shareOf(tried->payableGross.roundedToCent(), split, share, isFirst);
        monthRow.commission = shareOf(tried->commission, split, share, isFirst);
        m_months[*at][month] << monthRow;
    }

    bool readEarlier(DealDatabase &database, QString &error)
    {
        StatementRows rows(database.connection());
        if (!rows.run(kEarlierStatement.arg(placeholders(m_names.size())),
                      namesThen({ColumnValue::date(m_from), ColumnValue::date(m_to),
                                 ColumnValue::date(m_from)}),
                      &error))
            return false;
        while (rows.next()) {
            const int at = m_index.value(rows.value(0).toString(), -1);
            if (at < 0)
                continue;
            m_months[at][monthKey(ColumnValue::dateFrom(rows.value(5)))]
                << VolumeBonus::MonthRow{.date = ColumnValue::dateFrom(rows.value(2)),
                                         .order = rows.value(1).toLongLong(),
                                         .unitClass = rows.value(3).toString(),
                                         .unitCount = moneyOf(rows.value(4)),
                                         .payableGross = Money(),
                                         .commission = Money(),
                                         .unwound = true,
                                         .soldEarlier = true};
        }
        return true;
    }

    bool readVolumePaid(DealDatabase &database, QString &error)
    {
        StatementRows rows(database.connection());
        if (!rows.run(kVolumePaidStatement.arg(placeholders(m_names.size())),
                      namesThen({ColumnValue::date(m_from), ColumnValue::date(m_to)}), &error))
            return false;
        while (rows.next()) {
            const int at = m_index.value(rows.value(0).toString(), -1);
            if (at >= 0)
                m_lines[at].volumePaid += moneyOf(rows.value(1));
        }
        return true;
    }

    // The plan's tiers on each month as the deals were worked out again.
    void settleVolume()
    {
        if (m_question.plan.tiers.isEmpty())
            return;
        for (qsizetype at = 0; at < m_lines.size(); ++at) {
            for (auto month = m_months[at].cbegin(); month != m_months[at].cend(); ++month) {
                if (month.key() < monthKey(m_from) || month.key() >= monthKey(m_to))
                    continue;
                m_lines[at].volumeTried += VolumeBonus::owed(m_question.plan, month.value()).owed;
            }
        }
    }

    const Question &m_question;
    QDate m_from;
    QDate m_to; // the first day after the last month
    QList<Line> m_lines;
    QStringList m_names;
    QHash<QString, int> m_index;
    QList<QHash<int, QList<VolumeBonus::MonthRow>>> m_months;
};

} // namespace

Result run(DealDatabase &database, const Question &question, const Progress &progress)
{
    return Trial(question).run(database, progress);
}

} // namespace PlanTrial
