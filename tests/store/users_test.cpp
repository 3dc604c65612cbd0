#include "common/password_hash.h"
#include "store/audit_trail.h"
#include "store/deal_database.h"
#include "store/user_accounts.h"
#include "store_test_support.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

using Outcome = UserAccounts::Attempt::Outcome;

class UsersTest : public EngineStoreTest
{
protected:
    UserAccounts accounts()
    {
        return UserAccounts(m_database->connection(), [this] { return m_now; });
    }
    void add(const QString &name, Role role, const QString &password,
             const QString &salesPerson = {})
    {
        UserAccounts::User user;
        user.userName = name;
        user.role = role;
        user.salesPerson = salesPerson;
        QString error;
        ASSERT_TRUE(accounts().add(user, password, &error)) << error.toStdString();
    }
    Outcome attempt(const QString &name, const QString &password, qint64 *wait = nullptr)
    {
        const UserAccounts::Attempt result = accounts().signIn(name, password);
        if (wait)
            *wait = result.wait;
        return result.outcome;
    }

    QDateTime m_now = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
};

INSTANTIATE_ON_BOTH_ENGINES(UsersTest);

// A database of the version before users is upgraded: it gets the users
// table, and its older audit entries name nobody.
TEST_P(UsersTest, ADatabaseOfTheVersionBeforeGetsTheUsersAndItsOldEntriesNameNoUser)
{
    saved(dealFor(QStringLiteral("4410"), QStringLiteral("ANN LEE")));
    for (const char *statement : {"DROP TABLE \"Users\"", "DROP INDEX \"Audit_UserName\"",
                                  "ALTER TABLE \"Audit\" DROP COLUMN \"UserName\""})
        execute(*m_database, QString::fromLatin1(statement));
    dropStepsFrom(*m_database, 7);
    if (GetParam() == StoreEngine::Engine::SQLite)
        execute(*m_database, QStringLiteral("PRAGMA user_version = 5"));
    else
        execute(*m_database, QStringLiteral("UPDATE \"SchemaVersion\" SET \"Version\" = 5"));
    m_store.reset();
    m_database = GetParam() == StoreEngine::Engine::SQLite
                     ? std::make_unique<DealDatabase>(m_dir.folder())
                     : std::make_unique<DealDatabase>(m_server->settings());
    QString error;
    ASSERT_TRUE(m_database->open(&error)) << error.toStdString();

    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Users")),
              (QStringList{"UserId", "UserName", "Role", "SalesPerson", "PasswordHash",
                           "Disabled", "FailedAttempts", "LastFailedAt"}));
    EXPECT_EQ(columnsOf(*m_database, QStringLiteral("Audit")).last(), QStringLiteral("UserName"));
    EXPECT_EQ(single(*m_database, QStringLiteral("SELECT count(*) FROM \"Users\"")).toInt(), 0);
    const auto records = AuditTrail::read(m_database->connection(), {}, &error);
    ASSERT_TRUE(records) << error.toStdString();
    ASSERT_EQ(records->size(), 1);
    EXPECT_EQ(records->first().entry.stockNumber, QStringLiteral("4410"));
    EXPECT_EQ(records->first().entry.userName, QString());
}

TEST_P(UsersTest, APasswordIsKeptAsAHashThatOnlyItMatches)
{
    add(QStringLiteral("manager"), Role::Manager, QStringLiteral("Crème brûlée 7"));
    const QString hash =
        single(*m_database, QStringLiteral("SELECT \"PasswordHash\" FROM \"Users\"")).toString();
    EXPECT_TRUE(hash.startsWith(QStringLiteral("$argon2id$"))) << hash.toStdString();
    EXPECT_FALSE(hash.contains(QStringLiteral("Crème"))) << hash.toStdString();
    EXPECT_NE(PasswordHash::make(QStringLiteral("Crème brûlée 7")), hash); // salted
    EXPECT_EQ(attempt(QStringLiteral("MANAGER"), QStringLiteral("crème brûlée 7")), Outcome::Wrong);
    EXPECT_EQ(attempt(QStringLiteral("nobody"), QStringLiteral("Crème brûlée 7")), Outcome::Wrong);
    const UserAccounts::Attempt right =
        accounts().signIn(QStringLiteral("MANAGER"), QStringLiteral("Crème brûlée 7"));
    ASSERT_EQ(right.outcome, Outcome::SignedIn);
    EXPECT_EQ(right.user.userName, QStringLiteral("manager"));
    EXPECT_EQ(right.user.role, Role::Manager);

    QString error;
    UserAccounts::User twin;
    twin.userName = QStringLiteral("Manager");
    EXPECT_FALSE(accounts().add(twin, QStringLiteral("x"), &error));
    EXPECT_EQ(error, QStringLiteral("There is already a user named \"Manager\"."));
}

// Five wrong passwords cost nothing; then each attempt waits 1 s, 2 s, 4 s
// after the last failure, and a right password clears the count.
TEST_P(UsersTest, AfterFiveWrongPasswordsTheNextAttemptWaitsDoublingFromOneSecond)
{
    add(QStringLiteral("Zoë"), Role::Clerk, QStringLiteral("right"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("wrong")), Outcome::Wrong) << i;
        m_now = m_now.addMSecs(100);
    }
    qint64 wait = 0;
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("right"), &wait), Outcome::Wait);
    EXPECT_EQ(wait, 1);
    m_now = m_now.addMSecs(900); // 1 s after the fifth failure
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("wrong")), Outcome::Wrong);
    m_now = m_now.addMSecs(1500);
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("right"), &wait), Outcome::Wait);
    EXPECT_EQ(wait, 1); // 0.5 s of 2 s left, rounded up
    m_now = m_now.addMSecs(500);
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("wrong")), Outcome::Wrong);
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("right"), &wait), Outcome::Wait);
    EXPECT_EQ(wait, 4);
    m_now = m_now.addSecs(4);
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("right")), Outcome::SignedIn);
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("wrong")), Outcome::Wrong);
    EXPECT_EQ(attempt(QStringLiteral("Zoë"), QStringLiteral("right")), Outcome::SignedIn);
}

TEST_P(UsersTest, TheLastActiveManagerCanBeNeitherDisabledNorDemoted)
{
    add(QStringLiteral("manager"), Role::Manager, QStringLiteral("m"));
    add(QStringLiteral("kim"), Role::Clerk, QStringLiteral("k"));
    QString error;
    EXPECT_FALSE(accounts().setDisabled(QStringLiteral("manager"), true, &error));
    EXPECT_EQ(error, QStringLiteral("The last active manager cannot be disabled or given another "
                                    "role."));
    error.clear();
    EXPECT_FALSE(accounts().setRole(QStringLiteral("manager"), Role::Clerk, {}, &error));
    EXPECT_EQ(error, UserAccounts::lastManagerRefusal());

    // With a second manager either may go; the clerk always could.
    ASSERT_TRUE(accounts().setDisabled(QStringLiteral("kim"), true, &error));
    EXPECT_EQ(attempt(QStringLiteral("kim"), QStringLiteral("k")), Outcome::Wrong);
    ASSERT_TRUE(accounts().setDisabled(QStringLiteral("kim"), false, &error));
    ASSERT_TRUE(accounts().setRole(QStringLiteral("kim"), Role::Manager, {}, &error));
    ASSERT_TRUE(accounts().setRole(QStringLiteral("manager"), Role::Salesperson,
                                   QStringLiteral("José Peña"), &error))
        << error.toStdString();
    EXPECT_FALSE(accounts().setDisabled(QStringLiteral("kim"), true, &error));

    const auto users = accounts().list(&error);
    ASSERT_TRUE(users);
    ASSERT_EQ(users->size(), 2);
    EXPECT_EQ(users->at(1).role, Role::Salesperson);
    EXPECT_EQ(users->at(1).salesPerson, QStringLiteral("José Peña"));
    EXPECT_FALSE(accounts().soleActiveUser(&error).has_value());
}

TEST_P(UsersTest, ChangingTheOwnPasswordAsksTheOldOne)
{
    add(QStringLiteral("manager"), Role::Manager, QStringLiteral("old"));
    EXPECT_EQ(accounts()
                  .changeOwnPassword(QStringLiteral("manager"), QStringLiteral("Old"),
                                     QStringLiteral("new"))
                  .outcome,
              Outcome::Wrong);
    EXPECT_EQ(attempt(QStringLiteral("manager"), QStringLiteral("old")), Outcome::SignedIn);
    EXPECT_EQ(accounts()
                  .changeOwnPassword(QStringLiteral("manager"), QStringLiteral("old"),
                                     QStringLiteral("new"))
                  .outcome,
              Outcome::SignedIn);
    EXPECT_EQ(attempt(QStringLiteral("manager"), QStringLiteral("old")), Outcome::Wrong);
    EXPECT_EQ(attempt(QStringLiteral("manager"), QStringLiteral("new")), Outcome::SignedIn);
}

// Every entry names the user signed in on the connection that wrote it.
TEST_P(UsersTest, AnAuditEntryNamesTheUserAndTheTrailFiltersByIt)
{
    saved(dealFor(QStringLiteral("1001"), QStringLiteral("ANN LEE")));
    AuditTrail::setUser(m_database->connection(), QStringLiteral("Zoë"));
    saved(dealFor(QStringLiteral("1002"), QStringLiteral("BOB RAY")));
    AuditTrail::setUser(m_database->connection(), {});
    QString error;
    const auto all = AuditTrail::read(m_database->connection(), {}, &error);
    ASSERT_TRUE(all) << error.toStdString();
    ASSERT_EQ(all->size(), 2);
    EXPECT_EQ(all->at(0).entry.userName, QStringLiteral("Zoë"));
    EXPECT_EQ(all->at(1).entry.userName, QString());
    AuditTrail::Filter byUser;
    byUser.userName = QStringLiteral("zoë");
    const auto hers = AuditTrail::read(m_database->connection(), byUser, &error);
    ASSERT_TRUE(hers) << error.toStdString();
    ASSERT_EQ(hers->size(), 1);
    EXPECT_EQ(hers->first().entry.stockNumber, QStringLiteral("1002"));
}

} // namespace
