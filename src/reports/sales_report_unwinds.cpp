#include "reports/sales_report_unwinds.h"

#include "store/column_value.h"
#include "store/store_schema.h"
#include "store/store_sql.h"

#include <QHash>
#include <QSqlQuery>

namespace SalesReportUnwinds {

namespace {

const QString kChargeback = QStringLiteral("Chargeback");

// An SQL expression and the values its markers take, in order.
struct Expression
{
    QString text;
    QVariantList values;
};

// The customer of an unwind's line, marked as one ("UNWOUND: BOB BROWN",
// "UNWOUND SPIFF: BOB BROWN"); `customer` is the deal row's column.
Expression marked(const QString &customer)
{
    return {QStringLiteral("CASE WHEN u.\"Whole\" = 1 THEN CAST(? AS TEXT) ELSE CAST(? AS TEXT) "
                           "|| upper(u.\"Part\") || CAST(? AS TEXT) END || COALESCE(%1, CAST(? AS "
                           "TEXT))")
                .arg(customer),
            {QStringLiteral("UNWOUND: "), QStringLiteral("UNWOUND "), QStringLiteral(": "),
             QStringLiteral("")}};
}

// A figure charged back, negated; empty where the chargeback took nothing.
QString chargedBack(const QString &figure)
{
    return QStringLiteral("-NULLIF(%1, 0)").arg(figure);
}

// What the chargebacks of earlier partial unwinds took of a figure of the
// SalesSummary row `s`.
Expression takenBefore(const QString &ledgerColumn)
{
    return {QStringLiteral("(SELECT CAST(COALESCE(sum(c.%1), 0) AS BIGINT) FROM \"Ledger\" c "
                           "JOIN \"Unwinds\" e ON e.\"UnwindId\" = c.\"UnwindId\" WHERE "
                           "c.\"SummaryRow\" = s.rowid AND c.\"Kind\" = ? AND e.\"Whole\" = 0)")
                .arg(StoreSql::quoted(ledgerColumn)),
            {kChargeback}};
}

// A SELECT of the table's documented columns, each `alias`'s column unless
// `expressions` gives another, then `tail`; the values in the order written.
Lines select(const QString &table, const QString &alias,
             const QHash<QString, Expression> &expressions, const QString &tail)
{
    Lines lines;
    QStringList list;
    for (const QString &column : StoreSchema::columns(table)) {
        const QString name = StoreSql::quoted(column);
        const auto expression = expressions.constFind(column);
        if (expression == expressions.constEnd()) {
            list << alias + u'.' + name;
            continue;
        }
        list << QStringLiteral("%1 AS %2").arg(expression->text, name);
        lines.values << expression->values;
    }
    lines.statement = QStringLiteral("SELECT %1, %2").arg(list.join(QStringLiteral(", ")), tail);
    return lines;
}

void addPeriod(Lines &lines, const QVariant &key, const QDate &first, const QDate &last)
{
    lines.values << key << ColumnValue::date(first) << ColumnValue::date(last);
}

} // namespace

std::optional<bool> anyIn(const QSqlDatabase &db, const QDate &first, const QDate &last,
                          QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT EXISTS (SELECT 1 FROM \"Unwinds\" WHERE "
                                          "\"UnwoundOn\" BETWEEN ? AND ?)"),
                           error) ||
        !StoreSql::exec(query, {ColumnValue::date(first), ColumnValue::date(last)}, error) ||
        !query.next())
        return std::nullopt;
    return query.value(0).toBool();
}

QString dealOrderKeys()
{
    return QStringLiteral("0 AS \"LineKind\", rowid AS \"LineOrder\", 0 AS \"LineRow\"");
}

QString orderBy()
{
    return QStringLiteral("ORDER BY \"Date\", \"LineKind\", \"LineOrder\", \"LineRow\"");
}

Lines salesLog(const QString &unitClass, const QDate &first, const QDate &last)
{
    const Expression sumGross{
        QStringLiteral("(SELECT CAST(COALESCE(sum(c.\"Gross\"), 0) AS BIGINT) FROM \"Ledger\" c "
                       "WHERE c.\"UnwindId\" = u.\"UnwindId\" AND c.\"Kind\" = ?)"),
        {kChargeback}};
    const QHash<QString, Expression> expressions = {
        {QStringLiteral("Date"), {QStringLiteral("u.\"UnwoundOn\""), {}}},
        {QStringLiteral("CustomerName"), marked(QStringLiteral("l.\"CustomerName\""))},
        {QStringLiteral("Gross"),
         {QStringLiteral("CASE WHEN u.\"Whole\" = 1 THEN -l.\"Gross\" ELSE %1 END")
              .arg(chargedBack(sumGross.text)),
          sumGross.values}},
        {QStringLiteral("TCU"), {QStringLiteral("upper(l.\"TCU\")"), {}}},
    };
    Lines lines = select(
        QStringLiteral("SalesLog"), QStringLiteral("l"), expressions,
        QStringLiteral("CASE WHEN u.\"Whole\" = 1 THEN -1 ELSE 0 END AS \"UnitsCounted\", 1 AS "
                       "\"LineKind\", u.\"UnwindId\" AS \"LineOrder\", l.rowid AS \"LineRow\" "
                       "FROM \"Unwinds\" u JOIN \"SalesLog\" l ON l.\"DealId\" = u.\"DealId\" "
                       "WHERE l.\"TCU\" = ? AND u.\"UnwoundOn\" BETWEEN ? AND ?"));
    addPeriod(lines, unitClass, first, last);
    return lines;
}

Lines salesSummary(const QString &salesPerson, const QDate &first, const QDate &last)
{
    // SalesSummary's figures and the Ledger columns that charge them back.
    const QList<std::pair<QString, QString>> figures = {
        {QStringLiteral("Payable_Gross"), QStringLiteral("Gross")},
        {QStringLiteral("Commission"), QStringLiteral("Commission")},
        {QStringLiteral("Spiff"), QStringLiteral("Spiff")},
        {QStringLiteral("Warranty"), QStringLiteral("Warranty")},
        {QStringLiteral("TotalCommission"), QStringLiteral("Amount")},
    };
    QHash<QString, Expression> whole = {
        {QStringLiteral("Date"), {QStringLiteral("u.\"UnwoundOn\""), {}}},
        {QStringLiteral("Customer_Name"), marked(QStringLiteral("s.\"Customer_Name\""))},
        {QStringLiteral("UnitCount"), {QStringLiteral("-s.\"UnitCount\""), {}}},
    };
    QHash<QString, Expression> part = whole;
    part[QStringLiteral("UnitCount")] = {QStringLiteral("NULL"), {}};
    for (const auto &[column, ledgerColumn] : figures) {
        const Expression taken = takenBefore(ledgerColumn);
        whole.insert(column, {QStringLiteral("-(s.%1 - %2)")
                                  .arg(StoreSql::quoted(column), taken.text),
                              taken.values});
        part.insert(column, {chargedBack(QStringLiteral("c.") + StoreSql::quoted(ledgerColumn)),
                             {}});
    }
    const QString keys = QStringLiteral(
        "1 AS \"LineKind\", u.\"UnwindId\" AS \"LineOrder\", s.rowid AS \"LineRow\" ");
    const QString period = QStringLiteral("AND s.\"Sales_Person\" = ? AND u.\"UnwoundOn\" "
                                          "BETWEEN ? AND ?");
    Lines wholeLines = select(
        QStringLiteral("SalesSummary"), QStringLiteral("s"), whole,
        keys + QStringLiteral("FROM \"Unwinds\" u JOIN \"SalesSummary\" s ON s.\"DealId\" = "
                              "u.\"DealId\" WHERE u.\"Whole\" = 1 ") +
            period);
    addPeriod(wholeLines, salesPerson, first, last);
    Lines partLines = select(
        QStringLiteral("SalesSummary"), QStringLiteral("s"), part,
        keys + QStringLiteral("FROM \"Ledger\" c JOIN \"Unwinds\" u ON u.\"UnwindId\" = "
                              "c.\"UnwindId\" JOIN \"SalesSummary\" s ON s.rowid = "
                              "c.\"SummaryRow\" WHERE c.\"Kind\" = ? AND u.\"Whole\" = 0 ") +
            period);
    partLines.values << kChargeback;
    addPeriod(partLines, salesPerson, first, last);
    return {wholeLines.statement + QStringLiteral(" UNION ALL ") + partLines.statement,
            wholeLines.values + partLines.values};
}

} // namespace SalesReportUnwinds
