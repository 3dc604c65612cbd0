#include "store/store_sql.h"
#include "store_test_support.h"

#include <QSqlQuery>

#include <gtest/gtest.h>

namespace {

// A statement run again binds only the values that changed; each row must
// still get exactly its own values, NULL and empty text kept apart and a
// number kept apart from the same digits as text.
class StoreSqlExec : public StoreTest
{
protected:
    StoreSqlExec() { execute(*m_database, QStringLiteral("CREATE TABLE Scratch (a, b, c, d)")); }

    // Each row as "value:type" per column, in the order written.
    QStringList rows()
    {
        QSqlQuery query(m_database->connection());
        EXPECT_TRUE(query.exec(QStringLiteral(
            "SELECT quote(a) || ':' || typeof(a) || ' ' || quote(b) || ':' || typeof(b) || ' ' "
            "|| quote(c) || ':' || typeof(c) || ' ' || quote(d) || ':' || typeof(d) "
            "FROM Scratch ORDER BY rowid")));
        QStringList texts;
        while (query.next())
            texts << query.value(0).toString();
        return texts;
    }

    void run(QSqlQuery &insert, const QVariantList &values)
    {
        QString error;
        EXPECT_TRUE(StoreSql::exec(insert, values, &error)) << error.toStdString();
    }
};

TEST_F(StoreSqlExec, EachRunOfAKeptStatementWritesItsOwnValues)
{
    QSqlQuery insert(m_database->connection());
    QString error;
    ASSERT_TRUE(StoreSql::prepare(
        insert, QStringLiteral("INSERT INTO Scratch (a, b, c, d) VALUES (?, ?, ?, ?)"), &error));
    run(insert, {QStringLiteral("Zoë"), qint64(1), QVariant(), 7});
    run(insert, {QStringLiteral("Zoë"), qint64(1), QStringLiteral(""), 7});
    run(insert, {QString(), QStringLiteral("1"), QStringLiteral(""), qint64(7)});
    run(insert, {QStringLiteral(""), QStringLiteral("1"), QVariant(), true});
    ASSERT_TRUE(StoreSql::exec(insert, {QStringLiteral("ZOË"), qint64(2), QVariant()},
                               QVariant(qint64(8)), &error))
        << error.toStdString();
    EXPECT_EQ(rows(), (QStringList{
                          QStringLiteral("'Zoë':text 1:integer NULL:null 7:integer"),
                          QStringLiteral("'Zoë':text 1:integer '':text 7:integer"),
                          QStringLiteral("NULL:null '1':text '':text 7:integer"),
                          QStringLiteral("'':text '1':text NULL:null 1:integer"),
                          QStringLiteral("'ZOË':text 2:integer NULL:null 8:integer"),
                      }));
}

TEST_F(StoreSqlExec, AStatementPreparedAnewTakesEveryValueAgain)
{
    QSqlQuery query(m_database->connection());
    QString error;
    const QVariantList values = {QStringLiteral("A1"), qint64(5), QVariant(), QStringLiteral("x")};
    ASSERT_TRUE(StoreSql::prepare(
        query, QStringLiteral("INSERT INTO Scratch (a, b, c, d) VALUES (?, ?, ?, ?)"), &error));
    run(query, values);
    ASSERT_TRUE(StoreSql::prepare(
        query, QStringLiteral("INSERT INTO Scratch (d, c, b, a) VALUES (?, ?, ?, ?)"), &error));
    run(query, values);
    EXPECT_EQ(rows(), (QStringList{
                          QStringLiteral("'A1':text 5:integer NULL:null 'x':text"),
                          QStringLiteral("'x':text NULL:null 5:integer 'A1':text"),
                      }));
}

} // namespace
