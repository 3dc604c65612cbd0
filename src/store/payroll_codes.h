#pragma once

#include <QString>

#include <array>
#include <optional>

class DealDatabase;

// The kinds of pay a commission sheet pays, as payroll books them.
enum class EarningsKind { Commission, Bonus, Chargeback, DrawRecovery };
inline constexpr int kEarningsKinds = 4;

// What payroll knows a salesperson by: the payroll ID and the earnings code
// of each kind, as entered (empty for the default code).
struct PayrollCodes
{
    QString salesPerson;
    QString payrollId;
    std::array<QString, kEarningsKinds> codes = {};

    // The code entered for `kind`, or its default when none was.
    QString codeFor(EarningsKind kind) const;
    // COMM, BONUS, CHGBK and DRAWREC.
    static QString defaultCode(EarningsKind kind);
    // Nothing entered: no payroll ID and no code.
    bool isEmpty() const;

    bool operator==(const PayrollCodes &) const = default;
};

// The payroll IDs and codes of the roster's salespeople ("PayrollCodes"),
// one row per salesperson, the name in any letter case.
class PayrollCodeStore
{
public:
    explicit PayrollCodeStore(DealDatabase &database);

    // The codes recorded for `salesPerson`; empty ones (under that name) when
    // none are. std::nullopt, with the reason, when they cannot be read.
    std::optional<PayrollCodes> of(const QString &salesPerson, QString *error) const;

    // Records `codes`, trimmed, in place of the salesperson's, with an audit
    // entry in the same transaction; codes with nothing entered take the
    // row away. Codes as recorded already write nothing. False, with the
    // reason, when nothing was written.
    bool save(const PayrollCodes &codes, QString *error);

private:
    DealDatabase &m_database;
};
