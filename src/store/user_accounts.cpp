#include "user_accounts.h"

#include "common/login_backoff.h"
#include "common/password_hash.h"
#include "sql_transaction.h"
#include "store_engine.h"
#include "store_sql.h"

#include <QSqlQuery>

namespace {

const QString kSelect = QStringLiteral(
    "SELECT \"UserId\", \"UserName\", \"Role\", \"SalesPerson\", \"Disabled\", "
    "\"FailedAttempts\", \"LastFailedAt\", \"PasswordHash\" FROM \"Users\"");

UserAccounts::User userFrom(const QSqlQuery &query)
{
    UserAccounts::User user;
    user.id = query.value(0).toLongLong();
    user.userName = query.value(1).toString();
    // A role this version does not know gives the least.
    user.role = Permissions::roleFrom(query.value(2).toString()).value_or(Role::Salesperson);
    user.salesPerson = query.value(3).toString();
    user.disabled = query.value(4).toLongLong() != 0;
    return user;
}

QString stamp(const QDateTime &time)
{
    return time.toString(Qt::ISODateWithMs);
}

bool run(QSqlDatabase db, const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery query(db);
    return StoreSql::prepare(query, statement, error) && StoreSql::exec(query, values, error);
}

UserAccounts::Attempt failed(const QString &error)
{
    UserAccounts::Attempt attempt;
    attempt.outcome = UserAccounts::Attempt::Outcome::Failed;
    attempt.error = error;
    return attempt;
}

// The password's Argon2id hash as it is kept; std::nullopt, with `error`
// set, when it could not be made.
std::optional<QString> hashOf(const QString &password, QString *error)
{
    const QString hash = PasswordHash::make(password);
    if (!hash.isEmpty())
        return hash;
    if (error)
        *error = QStringLiteral("the password could not be hashed");
    return std::nullopt;
}

} // namespace

UserAccounts::UserAccounts(QSqlDatabase db, std::function<QDateTime()> clock)
    : m_db(std::move(db)), m_clock(std::move(clock))
{
}

QString UserAccounts::lastManagerRefusal()
{
    return QStringLiteral("The last active manager cannot be disabled or given another role.");
}

QString UserAccounts::takenNameRefusal(const QString &userName)
{
    return QStringLiteral("There is already a user named \"%1\".").arg(userName);
}

std::optional<QList<UserAccounts::User>> UserAccounts::list(QString *error) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, kSelect + QStringLiteral(" ORDER BY \"UserName\""), error) ||
        !StoreSql::exec(query, {}, error))
        return std::nullopt;
    QList<User> users;
    while (query.next())
        users << userFrom(query);
    return users;
}

std::optional<qint64> UserAccounts::count(QString *error) const
{
    const std::optional<QList<User>> users = list(error);
    if (!users)
        return std::nullopt;
    return users->size();
}

std::optional<UserAccounts::User> UserAccounts::soleActiveUser(QString *error) const
{
    const std::optional<QList<User>> users = list(error);
    if (!users)
        return std::nullopt;
    std::optional<User> sole;
    for (const User &user : *users) {
        if (user.disabled)
            continue;
        if (sole)
            return std::nullopt;
        sole = user;
    }
    return sole;
}

bool UserAccounts::add(const User &user, const QString &password, QString *error)
{
    bool found = false;
    QString why;
    find(user.userName, &found, nullptr, nullptr, nullptr, &why);
    if (!why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    if (found) {
        if (error)
            *error = takenNameRefusal(user.userName);
        return false;
    }
    const std::optional<QString> hash = hashOf(password, error);
    if (!hash)
        return false;
    return run(m_db,
               StoreSql::insertStatement(QStringLiteral("Users"),
                                         {QStringLiteral("UserName"), QStringLiteral("Role"),
                                          QStringLiteral("SalesPerson"),
                                          QStringLiteral("PasswordHash"),
                                          QStringLiteral("Disabled"),
                                          QStringLiteral("FailedAttempts")}),
               {user.userName.trimmed(), Permissions::roleName(user.role),
                user.salesPerson.isEmpty() ? QVariant() : QVariant(user.salesPerson), *hash,
                user.disabled ? 1 : 0, 0},
               error);
}

std::optional<UserAccounts::User> UserAccounts::find(const QString &userName, bool *found,
                                                     int *failures, QDateTime *lastFailure,
                                                     QString *hash, QString *error) const
{
    *found = false;
    if (error)
        error->clear();
    // Names are told apart without regard to letter case, also outside
    // ASCII (Å is å), which a file's NOCASE does not do: the few users are
    // compared here.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query, kSelect, error) || !StoreSql::exec(query, {}, error))
        return std::nullopt;
    const QString wanted = userName.trimmed();
    do {
        if (!query.next())
            return std::nullopt;
    } while (query.value(1).toString().compare(wanted, Qt::CaseInsensitive) != 0);
    *found = true;
    if (failures)
        *failures = int(query.value(5).toLongLong());
    if (lastFailure)
        *lastFailure = QDateTime::fromString(query.value(6).toString(), Qt::ISODateWithMs);
    if (hash)
        *hash = query.value(7).toString();
    return userFrom(query);
}

bool UserAccounts::recordFailure(qint64 id, int failures, QString *error)
{
    return run(m_db,
               QStringLiteral("UPDATE \"Users\" SET \"FailedAttempts\" = ?, \"LastFailedAt\" = ? "
                              "WHERE \"UserId\" = ?"),
               {failures, failures == 0 ? QVariant() : QVariant(stamp(m_clock())), id}, error);
}

UserAccounts::Attempt UserAccounts::signIn(const QString &userName, const QString &password)
{
    Attempt attempt;
    bool found = false;
    int failures = 0;
    QDateTime lastFailure;
    QString hash;
    QString error;
    const std::optional<User> user =
        find(userName, &found, &failures, &lastFailure, &hash, &error);
    if (!error.isEmpty())
        return failed(error);
    if (!user || user->disabled)
        return attempt; // Wrong, told no differently from a wrong password
    attempt.wait = LoginBackoff::secondsToWait(failures, lastFailure, m_clock());
    if (attempt.wait > 0) {
        attempt.outcome = Attempt::Outcome::Wait;
        return attempt;
    }
    const bool right = PasswordHash::matches(hash, password);
    if (!recordFailure(user->id, right ? 0 : failures + 1, &error))
        return failed(error);
    if (right) {
        attempt.outcome = Attempt::Outcome::SignedIn;
        attempt.user = *user;
    }
    return attempt;
}

std::optional<qint64> UserAccounts::idOf(const QString &userName, QString *error) const
{
    bool found = false;
    QString why;
    const std::optional<User> user = find(userName, &found, nullptr, nullptr, nullptr, &why);
    if (user)
        return user->id;
    if (error)
        *error = why.isEmpty() ? QStringLiteral("there is no user named \"%1\"").arg(userName)
                               : why;
    return std::nullopt;
}

bool UserAccounts::setPassword(const QString &userName, const QString &password, QString *error)
{
    const std::optional<qint64> id = idOf(userName, error);
    if (!id)
        return false;
    const std::optional<QString> hash = hashOf(password, error);
    if (!hash)
        return false;
    return run(m_db,
               QStringLiteral("UPDATE \"Users\" SET \"PasswordHash\" = ?, \"FailedAttempts\" = 0, "
                              "\"LastFailedAt\" = NULL WHERE \"UserId\" = ?"),
               {*hash, *id}, error);
}

UserAccounts::Attempt UserAccounts::changeOwnPassword(const QString &userName,
                                                      const QString &oldPassword,
                                                      const QString &newPassword)
{
    Attempt attempt = signIn(userName, oldPassword);
    if (attempt.outcome != Attempt::Outcome::SignedIn)
        return attempt;
    QString error;
    if (!setPassword(attempt.user.userName, newPassword, &error))
        return failed(error);
    return attempt;
}

bool UserAccounts::keepsAManager(qint64 id, QString *error) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!StoreSql::prepare(query,
                           QStringLiteral("SELECT \"UserId\" FROM \"Users\" WHERE \"Role\" = ? "
                                          "AND \"Disabled\" = 0 AND \"UserId\" <> ?") +
                               StoreEngine::lockRows(StoreEngine::engineOf(m_db)),
                           error) ||
        !StoreSql::exec(query, {Permissions::roleName(Role::Manager), id}, error))
        return false;
    if (query.next())
        return true;
    if (error)
        *error = lastManagerRefusal();
    return false;
}

bool UserAccounts::setRole(const QString &userName, Role role, const QString &salesPerson,
                           QString *error)
{
    SqlTransaction transaction(m_db);
    if (!transaction.begin(error))
        return false;
    const std::optional<qint64> id = idOf(userName, error);
    if (!id || (role != Role::Manager && !keepsAManager(*id, error)))
        return false;
    return run(m_db,
               QStringLiteral("UPDATE \"Users\" SET \"Role\" = ?, \"SalesPerson\" = ? "
                              "WHERE \"UserId\" = ?"),
               {Permissions::roleName(role),
                salesPerson.isEmpty() ? QVariant() : QVariant(salesPerson), *id},
               error) &&
           transaction.commit(error);
}

bool UserAccounts::setDisabled(const QString &userName, bool disabled, QString *error)
{
    SqlTransaction transaction(m_db);
    if (!transaction.begin(error))
        return false;
    const std::optional<qint64> id = idOf(userName, error);
    if (!id || (disabled && !keepsAManager(*id, error)))
        return false;
    return run(m_db, QStringLiteral("UPDATE \"Users\" SET \"Disabled\" = ? WHERE \"UserId\" = ?"),
               {disabled ? 1 : 0, *id}, error) &&
           transaction.commit(error);
}
