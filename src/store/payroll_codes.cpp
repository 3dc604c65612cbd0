#include "payroll_codes.h"

#include "audit_trail.h"
#include "deal_database.h"
#include "payroll_schema.h"
#include "sql_transaction.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace {

bool failed(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QVariantList valuesOf(const PayrollCodes &codes)
{
    QVariantList values{codes.salesPerson, codes.payrollId};
    for (const QString &code : codes.codes)
        values << code;
    return values;
}

PayrollCodes trimmed(const PayrollCodes &codes)
{
    PayrollCodes result{codes.salesPerson.trimmed(), codes.payrollId.trimmed(), {}};
    for (int i = 0; i < kEarningsKinds; ++i)
        result.codes[i] = codes.codes[i].trimmed();
    return result;
}

QString selectStatement()
{
    return QStringLiteral("SELECT %1 FROM \"PayrollCodes\" WHERE \"SalesPerson\" = ?")
        .arg(StoreSql::columnList(PayrollSchema::columns()));
}

} // namespace

QString PayrollCodes::codeFor(EarningsKind kind) const
{
    const QString &entered = codes[static_cast<int>(kind)];
    return entered.isEmpty() ? defaultCode(kind) : entered;
}

QString PayrollCodes::defaultCode(EarningsKind kind)
{
    switch (kind) {
    case EarningsKind::Commission:
        return QStringLiteral("COMM");
    case EarningsKind::Bonus:
        return QStringLiteral("BONUS");
    case EarningsKind::Chargeback:
        return QStringLiteral("CHGBK");
    case EarningsKind::DrawRecovery:
        return QStringLiteral("DRAWREC");
    }
    return {};
}

bool PayrollCodes::isEmpty() const
{
    if (!payrollId.isEmpty())
        return false;
    for (const QString &code : codes) {
        if (!code.isEmpty())
            return false;
    }
    return true;
}

PayrollCodeStore::PayrollCodeStore(DealDatabase &database) : m_database(database) {}

std::optional<PayrollCodes> PayrollCodeStore::of(const QString &salesPerson, QString *error) const
{
    if (!m_database.isOpen()) {
        failed(error, QStringLiteral("The deal database is not open."));
        return std::nullopt;
    }
    QSqlQuery query(m_database.connection());
    QString why;
    if (!StoreSql::prepare(query, selectStatement(), &why) ||
        !StoreSql::exec(query, {salesPerson}, &why)) {
        failed(error, QStringLiteral("The payroll codes of %1 could not be read: %2")
                          .arg(salesPerson, why));
        return std::nullopt;
    }
    PayrollCodes codes{salesPerson, {}, {}};
    if (query.next()) {
        codes.salesPerson = query.value(0).toString();
        codes.payrollId = query.value(1).toString();
        for (int i = 0; i < kEarningsKinds; ++i)
            codes.codes[i] = query.value(2 + i).toString();
    }
    return codes;
}

bool PayrollCodeStore::save(const PayrollCodes &entered, QString *error)
{
    const PayrollCodes codes = trimmed(entered);
    const std::optional<PayrollCodes> before = of(codes.salesPerson, error);
    if (!before)
        return false;
    // The name keeps the spelling it was recorded under.
    PayrollCodes named = codes;
    named.salesPerson = before->salesPerson;
    if (named == *before)
        return true;
    QString beforeText;
    QString afterText;
    AuditTrail::describeChanges(PayrollSchema::columns(), valuesOf(*before), valuesOf(named),
                                &beforeText, &afterText);
    AuditTrail::Entry entry;
    entry.action = QStringLiteral("Payroll codes changed");
    entry.tableName = QString::fromLatin1(PayrollSchema::kCodes);
    entry.salesPerson = codes.salesPerson;
    entry.before = beforeText;
    entry.after = afterText;

    QSqlDatabase db = m_database.connection();
    SqlTransaction transaction(db);
    QSqlQuery remove(db);
    QSqlQuery insert(db);
    QString why;
    const bool saved =
        transaction.begin(&why) &&
        StoreSql::prepare(remove,
                          QStringLiteral("DELETE FROM \"PayrollCodes\" WHERE \"SalesPerson\" = ?"),
                          &why) &&
        StoreSql::exec(remove, {codes.salesPerson}, &why) &&
        (codes.isEmpty() ||
         (StoreSql::prepare(insert,
                            StoreSql::insertStatement(QString::fromLatin1(PayrollSchema::kCodes),
                                                      PayrollSchema::columns()),
                            &why) &&
          StoreSql::exec(insert, valuesOf(named), &why))) &&
        AuditTrail::write(db, entry, &why) && transaction.commit(&why);
    if (!saved)
        return failed(error, QStringLiteral("The payroll codes of %1 were not saved: %2")
                                 .arg(codes.salesPerson, why));
    return true;
}
